#pragma once
// The host's text type: 8-bit, holding UTF-8, with value semantics.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

/// A text of bytes holding UTF-8. Indexes and lengths count bytes; case-insensitive operations fold
/// ASCII, Latin, Greek and Cyrillic letters (é equals É), other characters compare as they are.
class Vor_String {
public:
    Vor_String() = default;
    Vor_String(const char* text)
        : m_s(text ? text : "") {}
    Vor_String(std::string text)
        : m_s(std::move(text)) {}
    explicit Vor_String(std::string_view text)
        : m_s(text) {}
    /// Decimal form of a number ("42", "-7").
    explicit Vor_String(int value);
    explicit Vor_String(long value);
    explicit Vor_String(short value);
    /// Fixed-point form with `precision` decimals (0 to 340) and a decimal point whatever the locale
    /// ("2.25"); a result that rounds to zero has no sign. Empty for NaN and infinities.
    Vor_String(double value, int precision);
    // A char would silently become its number; say Vor_String(std::string(1, c)) instead.
    Vor_String(char) = delete;

    /// printf-style formatting into a new text; numbers are written as in the C locale ("%.1f" gives
    /// "2.5" on a decimal-comma desktop too).
    static Vor_String format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

    const char* c_str() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }
    std::string_view view() const { return m_s; }
    /// Length in bytes.
    int length() const { return static_cast<int>(m_s.size()); }
    bool isEmpty() const { return m_s.empty(); }
    /// Byte at index; '\0' outside the text.
    char at(int index) const;

    Vor_String& append(const Vor_String& text);
    Vor_String& append(const char* text);
    Vor_String& append(char c);
    /// Appends the decimal form of a number ("Width" + 1 gives "Width1").
    Vor_String& append(int number);
    /// Inserts text before byte `index` (clamped to the text).
    Vor_String& insertAt(int index, const Vor_String& text);
    /// Removes `count` bytes from `index`; parts outside the text are ignored.
    Vor_String& removeAt(int index, int count = 1);
    /// Removes blanks (space, tab, line breaks) at both ends.
    Vor_String& trim();
    /// Replaces every occurrence of `what` by `with`; returns the number of replacements.
    int replace(const Vor_String& what, const Vor_String& with, bool caseSensitive = true);

    bool equal(const Vor_String& other, bool caseSensitive = true) const;
    /// The text as equal(..., false) compares it: two texts are equal without regard to case exactly
    /// when their folded forms are equal, so the folded form can key a hash index.
    std::string caseFolded() const;
    /// Ordering: negative, 0 or positive; without regard to case when caseSensitive is false.
    int compare(const Vor_String& other, bool caseSensitive = true) const;
    bool startsWith(const Vor_String& text, bool caseSensitive = true) const;
    bool endsWith(const Vor_String& text, bool caseSensitive = true) const;
    /// Byte index of the first occurrence of text at or after `from`, or -1.
    int find(const Vor_String& text, int from = 0, bool caseSensitive = true) const;
    /// True when the text holds `text` anywhere.
    bool hasSubString(const Vor_String& text, bool caseSensitive = true) const {
        return find(text, 0, caseSensitive) >= 0;
    }
    /// Byte position of the first `text`, -1 when there is none.
    int findFirst(const Vor_String& text, bool caseSensitive = true) const {
        return find(text, 0, caseSensitive);
    }
    /// Replaces every `what` by `with`; the number of replacements.
    int replaceSubString(const Vor_String& what, const Vor_String& with, bool caseSensitive = true) {
        return replace(what, with, caseSensitive);
    }
    /// Byte index of the last occurrence of text, or -1.
    int reverseFind(const Vor_String& text, bool caseSensitive = true) const;
    bool contains(const Vor_String& text, bool caseSensitive = true) const {
        return find(text, 0, caseSensitive) >= 0;
    }

    /// `count` bytes from `start` (all the rest when count < 0), clipped to the text.
    Vor_String mid(int start, int count = -1) const;
    Vor_String left(int count) const;
    Vor_String right(int count) const;
    Vor_String toUpper() const;
    Vor_String toLower() const;

    /// The whole text (blanks around it allowed) as a decimal int; 0 and *ok false when it is not one.
    int toInt(bool* ok = nullptr) const;
    /// The whole text (blanks around it allowed) as a finite decimal number with '.' as decimal mark.
    double toDouble(bool* ok = nullptr) const;

    Vor_String& operator+=(const Vor_String& text) { return append(text); }
    Vor_String& operator+=(const char* text) { return append(text); }
    Vor_String& operator+=(char c) { return append(c); }
    friend Vor_String operator+(Vor_String a, const Vor_String& b) { return a.append(b); }
    friend Vor_String operator+(Vor_String a, const char* b) { return a.append(b); }
    friend Vor_String operator+(const char* a, const Vor_String& b) { return Vor_String(a).append(b); }
    friend Vor_String operator+(Vor_String a, char c) { return a.append(c); }
    bool operator==(const Vor_String& other) const = default;
    friend bool operator<(const Vor_String& a, const Vor_String& b) { return a.m_s < b.m_s; }
    friend bool operator>(const Vor_String& a, const Vor_String& b) { return b.m_s < a.m_s; }

private:
    std::string m_s;
};

template <> struct std::hash<Vor_String> {
    std::size_t operator()(const Vor_String& s) const noexcept { return std::hash<std::string>{}(s.str()); }
};
