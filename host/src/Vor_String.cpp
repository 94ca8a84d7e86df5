#include <host/Vor_String.h>

#include "Utf8_p.h"

#include <base/NumberText.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <locale.h>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmedView(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Case folding keeps every byte position (see Utf8_p.h), so a match found in the folded texts is a
// match at the same byte position in the originals.
std::string folded(std::string_view s) {
    return vor::utf8::mapChars(s, vor::utf8::fold);
}

} // namespace

Vor_String::Vor_String(int value)
    : m_s(std::to_string(value)) {}
Vor_String::Vor_String(long value)
    : m_s(std::to_string(value)) {}
Vor_String::Vor_String(short value)
    : m_s(std::to_string(value)) {}

Vor_String::Vor_String(double value, int precision) {
    // No text for NaN and infinities: the empty text is refused by every reader of numbers.
    base::formatFixed(value, std::clamp(precision, 0, 340), m_s);
}

namespace {

// printf writes numbers after the process locale, which the windowing layer sets from the desktop;
// a "%.2f" that gives "2,25" on a Dutch desktop would not read back. The C locale is taken for this
// thread only while formatting.
class CNumericScope {
public:
    CNumericScope() {
        static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        m_old = cLocale ? ::uselocale(cLocale) : static_cast<locale_t>(nullptr);
    }
    ~CNumericScope() {
        if (m_old) ::uselocale(m_old);
    }
    CNumericScope(const CNumericScope&) = delete;
    CNumericScope& operator=(const CNumericScope&) = delete;

private:
    locale_t m_old = nullptr;
};

} // namespace

Vor_String Vor_String::format(const char* fmt, ...) {
    const CNumericScope cNumbers;
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    Vor_String result;
    if (n > 0) {
        result.m_s.resize(static_cast<std::size_t>(n));
        std::vsnprintf(result.m_s.data(), result.m_s.size() + 1, fmt, args);
    }
    va_end(args);
    return result;
}

char Vor_String::at(int index) const {
    return index >= 0 && index < length() ? m_s[static_cast<std::size_t>(index)] : '\0';
}

Vor_String& Vor_String::append(const Vor_String& text) {
    m_s += text.m_s;
    return *this;
}

Vor_String& Vor_String::append(const char* text) {
    if (text) m_s += text;
    return *this;
}

Vor_String& Vor_String::append(char c) {
    m_s += c;
    return *this;
}

Vor_String& Vor_String::append(int number) {
    m_s += std::to_string(number);
    return *this;
}

Vor_String& Vor_String::insertAt(int index, const Vor_String& text) {
    m_s.insert(static_cast<std::size_t>(std::clamp(index, 0, length())), text.m_s);
    return *this;
}

Vor_String& Vor_String::removeAt(int index, int count) {
    if (index < 0 || index >= length() || count <= 0) return *this;
    m_s.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(count));
    return *this;
}

Vor_String& Vor_String::trim() {
    m_s = std::string(trimmedView(m_s));
    return *this;
}

int Vor_String::replace(const Vor_String& what, const Vor_String& with, bool caseSensitive) {
    if (what.isEmpty()) return 0;
    const std::string hay = caseSensitive ? m_s : folded(m_s);
    const std::string needle = caseSensitive ? what.m_s : folded(what.m_s);
    std::string out;
    int count = 0;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = hay.find(needle, pos)) != std::string::npos; pos = hit + needle.size()) {
        out.append(m_s, pos, hit - pos);
        out += with.m_s;
        ++count;
    }
    out.append(m_s, pos);
    m_s = std::move(out);
    return count;
}

bool Vor_String::equal(const Vor_String& other, bool caseSensitive) const {
    if (caseSensitive) return m_s == other.m_s;
    return m_s.size() == other.m_s.size() && folded(m_s) == folded(other.m_s);
}

std::string Vor_String::caseFolded() const {
    return folded(m_s);
}

int Vor_String::compare(const Vor_String& other, bool caseSensitive) const {
    const int c = caseSensitive ? m_s.compare(other.m_s) : folded(m_s).compare(folded(other.m_s));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool Vor_String::startsWith(const Vor_String& text, bool caseSensitive) const {
    return text.m_s.size() <= m_s.size() && left(text.length()).equal(text, caseSensitive);
}

bool Vor_String::endsWith(const Vor_String& text, bool caseSensitive) const {
    return text.m_s.size() <= m_s.size() && right(text.length()).equal(text, caseSensitive);
}

int Vor_String::find(const Vor_String& text, int from, bool caseSensitive) const {
    if (from < 0) from = 0;
    if (from > length()) return -1;
    const std::size_t hit = caseSensitive
                                ? m_s.find(text.m_s, static_cast<std::size_t>(from))
                                : folded(m_s).find(folded(text.m_s), static_cast<std::size_t>(from));
    return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

int Vor_String::reverseFind(const Vor_String& text, bool caseSensitive) const {
    const std::size_t hit = caseSensitive ? m_s.rfind(text.m_s) : folded(m_s).rfind(folded(text.m_s));
    return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

Vor_String Vor_String::mid(int start, int count) const {
    if (start < 0) {
        if (count >= 0) count = std::max(0, count + start);
        start = 0;
    }
    if (start >= length() || count == 0) return {};
    const std::size_t n = count < 0 ? std::string::npos : static_cast<std::size_t>(count);
    return Vor_String(m_s.substr(static_cast<std::size_t>(start), n));
}

Vor_String Vor_String::left(int count) const {
    return count <= 0 ? Vor_String() : mid(0, count);
}

Vor_String Vor_String::right(int count) const {
    if (count <= 0) return {};
    return count >= length() ? *this : mid(length() - count);
}

Vor_String Vor_String::toUpper() const {
    return Vor_String(vor::utf8::mapChars(m_s, vor::utf8::toUpper));
}

Vor_String Vor_String::toLower() const {
    return Vor_String(vor::utf8::mapChars(m_s, vor::utf8::toLower));
}

int Vor_String::toInt(bool* ok) const {
    std::string_view s = trimmedView(m_s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    const bool good = !s.empty() && ec == std::errc() && end == s.data() + s.size();
    if (ok) *ok = good;
    return good ? value : 0;
}

double Vor_String::toDouble(bool* ok) const {
    double value = 0.0;
    const bool good = base::parseNumber(trimmedView(m_s), value);
    if (ok) *ok = good;
    return good ? value : 0.0;
}
