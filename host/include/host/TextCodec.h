#pragma once
// Text decoding for files: UTF-8 as written today, Windows-1252 as written by older versions.
//
// The encoding is decided once for a whole file, never per line or per byte sequence: in an old file
// a letter such as "ß" (0xDF) directly before a separator byte 0xA4 forms a valid two-byte UTF-8
// sequence, so a decision taken piece by piece would swallow the separator.

#include <string>
#include <string_view>
#include <vector>

/// How the bytes of a whole file are read.
enum class TextEncoding {
    Utf8,        ///< written by this system: valid UTF-8, apart from lone separator bytes
    Windows1252, ///< written by the old single-byte versions
};

/// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or stray bytes).
bool isValidUtf8(std::string_view bytes);

/// Windows-1252 bytes to UTF-8; the five bytes without a character there map to U+0081 and so on.
std::string cp1252ToUtf8(std::string_view bytes);

/// The encoding of a whole file: UTF-8 when every byte belongs to a valid UTF-8 character or is one
/// of `separators` standing alone (not inside a character), otherwise Windows-1252.
TextEncoding detectEncoding(std::string_view bytes, std::string_view separators = {});

/// The bytes read in `encoding`, as UTF-8. Bytes listed in `separators` stay single bytes where they
/// stand alone (in Windows-1252 every such byte stands alone), so that strToArr can split at them.
std::string decodeAs(std::string_view bytes, TextEncoding encoding, std::string_view separators = {});

/// Text of a whole file as UTF-8: decodeAs with the encoding detectEncoding decides, which is stored
/// in *used. Give it the whole file, never a line of it.
std::string decodeText(std::string_view bytes, std::string_view keepBytes = {}, TextEncoding* used = nullptr);

/// Splits bytes at `separator` as read in `encoding` and decodes each piece to UTF-8: n separators
/// give n + 1 pieces. In UTF-8 only a separator byte standing alone splits (the byte inside "ä" does
/// not); false, with `pieces` unchanged, when the bytes are not UTF-8 apart from such separators.
bool splitDecoded(std::string_view bytes, char separator, TextEncoding encoding,
                  std::vector<std::string>& pieces);

/// The text without a leading UTF-8 byte order mark.
std::string_view stripUtf8Bom(std::string_view bytes);
