#pragma once
// Text decoding for files: UTF-8 as written today, Windows-1252 as written by older versions.

#include <string>
#include <string_view>

/// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or stray bytes).
bool isValidUtf8(std::string_view bytes);

/// Windows-1252 bytes to UTF-8; the five bytes without a character there map to U+0081 and so on.
std::string cp1252ToUtf8(std::string_view bytes);

/// Text of a file line as UTF-8: valid UTF-8 is kept as it is, anything else is read as Windows-1252.
/// Bytes listed in keepBytes stay as they are where they stand alone (not inside a UTF-8 character),
/// because the add-on's files use the single bytes 0xA4 and 0xBF as field separators; split such a
/// line with strToArr, which turns what is left of the old code page in each field into UTF-8.
std::string decodeText(std::string_view bytes, std::string_view keepBytes = {});

/// The text without a leading UTF-8 byte order mark.
std::string_view stripUtf8Bom(std::string_view bytes);
