#pragma once
// UTF-8 helpers shared by the host's text classes; not part of the public interface.

#include <cstddef>
#include <string>
#include <string_view>

namespace vor::utf8 {

/// Length (2 to 4) of the valid multi-byte sequence that starts at i, 1 for an ASCII byte, 0 when the
/// byte at i does not start a valid sequence (a stray byte of another code page, a lone separator).
int sequenceLength(std::string_view s, std::size_t i);

/// Code point of the valid sequence of length len at i.
char32_t decode(std::string_view s, std::size_t i, int len);

/// Appends the UTF-8 form of cp.
void append(std::string& out, char32_t cp);

/// Simple case mappings for Latin, Greek and Cyrillic letters. Only pairs whose UTF-8 forms have the
/// same length are mapped, so byte positions found in a mapped text hold in the original too.
char32_t toLower(char32_t cp);
char32_t toUpper(char32_t cp);
/// The form two letters share when they differ only in case.
char32_t fold(char32_t cp);

/// Maps every valid character of s through f; stray bytes are kept as they are.
std::string mapChars(std::string_view s, char32_t (*f)(char32_t));

} // namespace vor::utf8
