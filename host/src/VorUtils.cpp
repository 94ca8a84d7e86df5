#include <host/VorUtils.h>

#include "Utf8_p.h"
#include <host/TextCodec.h>

#include <cctype>
#include <cmath>

namespace {

// Readers decode a whole file before its lines are split, so a byte that is still not part of a
// UTF-8 character here is a separator byte of an old file standing inside a field (0xA4 in a field
// split at 0xBF is the old code page's currency sign): that byte is read as Windows-1252, and the
// characters around it, already decoded, stay as they are.
Vor_String field(std::string_view bytes) {
    if (isValidUtf8(bytes)) return Vor_String(std::string(bytes));
    std::string out;
    out.reserve(bytes.size() + 4);
    for (std::size_t i = 0; i < bytes.size();) {
        const int len = vor::utf8::sequenceLength(bytes, i);
        if (len == 0) {
            out += cp1252ToUtf8(bytes.substr(i, 1));
            ++i;
        } else {
            out.append(bytes.substr(i, static_cast<std::size_t>(len)));
            i += static_cast<std::size_t>(len);
        }
    }
    return Vor_String(std::move(out));
}

} // namespace

Vor_StringArray strToArr(const Vor_String& text, char separator) {
    Vor_StringArray out;
    const std::string_view s = text.view();
    if (s.empty()) return out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size();) {
        // Skip whole UTF-8 characters, so that a separator byte inside one is never taken.
        const int len = vor::utf8::sequenceLength(s, i);
        if (len > 1) {
            i += static_cast<std::size_t>(len);
            continue;
        }
        if (s[i] == separator) {
            out.append(field(s.substr(start, i - start)));
            start = i + 1;
        }
        ++i;
    }
    out.append(field(s.substr(start)));
    return out;
}

Vor_String arrToStr(const Vor_StringArray& fields, char separator) {
    std::string out;
    for (int i = 0; i < fields.length(); ++i) {
        if (i > 0) out += separator;
        out += fields[i].str();
    }
    return Vor_String(std::move(out));
}

Vor_Array<Vor_StringArray> arrToArrArr(const Vor_StringArray& lines, char separator) {
    Vor_Array<Vor_StringArray> rows;
    for (const Vor_String& line : lines)
        rows.append(strToArr(line, separator));
    return rows;
}

Vor_StringArray arrArrToArr(const Vor_Array<Vor_StringArray>& rows, char separator) {
    Vor_StringArray lines;
    for (const Vor_StringArray& row : rows)
        lines.append(arrToStr(row, separator));
    return lines;
}

bool isNumber(const Vor_String& text) {
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

Vor_String stripNumbersAtEnd(const Vor_String& text) {
    int end = text.length();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(text.at(end - 1))))
        --end;
    return text.left(end);
}

int findFirstNumbers(const Vor_String& text) {
    for (int i = 0; i < text.length(); ++i)
        if (std::isdigit(static_cast<unsigned char>(text.at(i)))) return i;
    return -1;
}

Vor_String findNonExistingString(const Vor_StringArray& existing, const Vor_String& base) {
    if (!base.isEmpty() && !existing.contains(base, false)) return base;
    const Vor_String stem = base.isEmpty() ? Vor_String() : base + "_";
    // Of existing.length() + 1 numbers at least one is free.
    for (int n = 1;; ++n) {
        Vor_String candidate = stem;
        candidate.append(n);
        if (!existing.contains(candidate, false)) return candidate;
    }
}

bool hasDuplicates(const Vor_StringArray& texts, bool caseSensitive) {
    for (int i = 0; i < texts.length(); ++i) {
        int other = 0;
        if (texts.find(texts[i], other, caseSensitive, i + 1)) return true;
    }
    return false;
}

double ObjectExportRoundTo(double value, double step) {
    if (step == 0.0 || !std::isfinite(step)) return value;
    return std::round(value / step) * step;
}
