#include <host/TextCodec.h>

#include "Utf8_p.h"

namespace vor::utf8 {

int sequenceLength(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) return 1;
    int len = 0;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0)
            lo = 0xA0; // overlong
        else if (c == 0xED)
            hi = 0x9F; // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0)
            lo = 0x90; // overlong
        else if (c == 0xF4)
            hi = 0x8F; // beyond U+10FFFF
    } else {
        return 0;
    }
    if (i + static_cast<std::size_t>(len) > s.size()) return 0;
    if (b(i + 1) < lo || b(i + 1) > hi) return 0;
    for (int k = 2; k < len; ++k)
        if ((b(i + static_cast<std::size_t>(k)) & 0xC0) != 0x80) return 0;
    return len;
}

char32_t decode(std::string_view s, std::size_t i, int len) {
    const auto b = [&](int k) { return static_cast<char32_t>(static_cast<unsigned char>(s[i + k])); };
    switch (len) {
    case 1:
        return b(0);
    case 2:
        return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
        return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    default:
        return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    }
}

void append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Dotted capital I (U+0130), dotless i (U+0131) and long s (U+017F) are left alone: their partners
// have UTF-8 forms of another length.
char32_t toLower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c < 0xC0) return c;
    if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return (c % 2 == 0) ? c + 1 : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 1) ? c + 1 : c;
    if (c == 0x178) return 0xFF;
    if (c >= 0x391 && c <= 0x3A9) return c == 0x3A2 ? c : c + 0x20;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

char32_t toUpper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c < 0xE0) return c;
    if (c <= 0xFE) return c == 0xF7 ? c : c - 0x20;
    if (c == 0xFF) return 0x178;
    if ((c >= 0x101 && c <= 0x12F) || (c >= 0x133 && c <= 0x137) || (c >= 0x14B && c <= 0x177))
        return (c % 2 == 1) ? c - 1 : c;
    if ((c >= 0x13A && c <= 0x148) || (c >= 0x17A && c <= 0x17E)) return (c % 2 == 0) ? c - 1 : c;
    if (c == 0x3C2) return 0x3A3;
    if (c >= 0x3B1 && c <= 0x3C9) return c - 0x20;
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

char32_t fold(char32_t c) {
    if (c == 0x3C2) return 0x3C3; // final sigma
    return toLower(c);
}

std::string mapChars(std::string_view s, char32_t (*f)(char32_t)) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const int len = sequenceLength(s, i);
        if (len == 0) {
            out += s[i++];
            continue;
        }
        append(out, f(decode(s, i, len)));
        i += static_cast<std::size_t>(len);
    }
    return out;
}

} // namespace vor::utf8

namespace {

// Windows-1252 0x80..0x9F; the rest of the upper half is Latin-1 and maps to itself.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendCp1252(std::string& out, unsigned char b) {
    if (b < 0x80)
        out += static_cast<char>(b);
    else if (b < 0xA0)
        vor::utf8::append(out, kCp1252High[b - 0x80]);
    else
        vor::utf8::append(out, b);
}

bool isKept(unsigned char b, std::string_view keepBytes) {
    return keepBytes.find(static_cast<char>(b)) != std::string_view::npos;
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const int len = vor::utf8::sequenceLength(bytes, i);
        if (len == 0) return false;
        i += static_cast<std::size_t>(len);
    }
    return true;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes)
        appendCp1252(out, static_cast<unsigned char>(c));
    return out;
}

TextEncoding detectEncoding(std::string_view bytes, std::string_view separators) {
    for (std::size_t i = 0; i < bytes.size();) {
        const int len = vor::utf8::sequenceLength(bytes, i);
        if (len == 0 && !isKept(static_cast<unsigned char>(bytes[i]), separators))
            return TextEncoding::Windows1252;
        i += static_cast<std::size_t>(len == 0 ? 1 : len);
    }
    return TextEncoding::Utf8;
}

std::string decodeAs(std::string_view bytes, TextEncoding encoding, std::string_view separators) {
    if (encoding == TextEncoding::Utf8) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (isKept(b, separators))
            out += c;
        else
            appendCp1252(out, b);
    }
    return out;
}

std::string decodeText(std::string_view bytes, std::string_view keepBytes, TextEncoding* used) {
    const TextEncoding encoding = detectEncoding(bytes, keepBytes);
    if (used) *used = encoding;
    return decodeAs(bytes, encoding, keepBytes);
}

bool splitDecoded(std::string_view bytes, char separator, TextEncoding encoding,
                  std::vector<std::string>& pieces) {
    std::vector<std::string> out;
    std::size_t start = 0;
    if (encoding == TextEncoding::Windows1252) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == separator) {
                out.push_back(cp1252ToUtf8(bytes.substr(start, i - start)));
                start = i + 1;
            }
        out.push_back(cp1252ToUtf8(bytes.substr(start)));
        pieces = std::move(out);
        return true;
    }
    for (std::size_t i = 0; i < bytes.size();) {
        const int len = vor::utf8::sequenceLength(bytes, i);
        if (len <= 1 && bytes[i] == separator) {
            out.emplace_back(bytes.substr(start, i - start));
            start = i + 1;
        } else if (len == 0) {
            return false;
        }
        i += static_cast<std::size_t>(len == 0 ? 1 : len);
    }
    out.emplace_back(bytes.substr(start));
    pieces = std::move(out);
    return true;
}

std::string_view stripUtf8Bom(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return bytes;
}
