#include <base/NumberText.h>

#include <charconv>
#include <cmath>
#include <system_error>

namespace base {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Digits, an optional point with digits, an optional exponent; at least one digit in the mantissa.
bool isPlainNumber(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

bool fromPlain(std::string_view s, double& out) {
    if (!isPlainNumber(s)) return false;
    if (s.front() == '+') s.remove_prefix(1);
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// True when `groups` (the parts between grouping separators) read as grouped digits: the first of
// one to three digits, every other of exactly three.
bool validGroups(std::string_view digits, char sep) {
    std::size_t start = 0;
    bool first = true;
    while (true) {
        const std::size_t next = digits.find(sep, start);
        const std::string_view group =
            digits.substr(start, next == std::string_view::npos ? next : next - start);
        if (first ? (group.empty() || group.size() > 3) : group.size() != 3) return false;
        first = false;
        if (next == std::string_view::npos) return true;
        start = next + 1;
    }
}

} // namespace

bool formatShortest(double value, std::string& out) {
    if (!std::isfinite(value)) return false;
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    if (r.ec != std::errc()) return false;
    out.assign(buf, r.ptr);
    return true;
}

bool formatFixed(double value, int decimals, std::string& out) {
    if (!std::isfinite(value) || decimals < 0 || decimals > 340) return false;
    // The largest double has 309 digits before the point.
    std::string buf(320 + static_cast<std::size_t>(decimals), '\0');
    const auto r =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return false;
    buf.resize(static_cast<std::size_t>(r.ptr - buf.data()));
    if (buf == "-0" || (buf.size() > 1 && buf[0] == '-' && buf.find_first_not_of("-0.") == std::string::npos))
        buf.erase(0, 1); // a negative value that rounds to zero shows as zero
    out = std::move(buf);
    return true;
}

bool formatGeneral(double value, int digits, std::string& out) {
    if (!std::isfinite(value)) return false;
    if (digits < 1) digits = 1;
    if (digits > 17) digits = 17;
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    if (r.ec != std::errc()) return false;
    out.assign(buf, r.ptr);
    return true;
}

bool parseNumber(std::string_view text, double& out) {
    return fromPlain(trimmed(text), out);
}

double parseLeadingNumber(std::string_view s, std::size_t* used) {
    if (used) *used = 0;
    std::size_t i = 0;
    while (i < s.size() &&
           (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == '\v' || s[i] == '\f'))
        ++i;
    std::size_t end = i;
    if (end < s.size() && (s[end] == '+' || s[end] == '-')) ++end;
    std::size_t digits = 0;
    while (end < s.size() && isDigit(s[end]))
        ++end, ++digits;
    if (end < s.size() && s[end] == '.') {
        ++end;
        while (end < s.size() && isDigit(s[end]))
            ++end, ++digits;
    }
    if (digits == 0) return 0;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
        if (e < s.size() && isDigit(s[e])) {
            while (e < s.size() && isDigit(s[e]))
                ++e;
            end = e;
        }
    }
    double v = 0;
    if (!fromPlain(s.substr(i, end - i), v)) return 0;
    if (used) *used = end;
    return v;
}

long long parseLeadingInteger(std::string_view s, std::size_t* used) {
    if (used) *used = 0;
    std::size_t i = 0;
    while (i < s.size() &&
           (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == '\v' || s[i] == '\f'))
        ++i;
    if (i < s.size() && s[i] == '+' && i + 1 < s.size() && isDigit(s[i + 1])) ++i;
    long long v = 0;
    const auto r = std::from_chars(s.data() + i, s.data() + s.size(), v);
    if (r.ec != std::errc()) return 0;
    if (used) *used = static_cast<std::size_t>(r.ptr - s.data());
    return v;
}

TypedNumber readTypedNumber(std::string_view text, double& out) {
    std::string_view s = trimmed(text);
    if (s.empty()) return TypedNumber::Empty;
    std::string sign;
    if (s.front() == '+' || s.front() == '-') {
        if (s.front() == '-') sign = "-";
        s.remove_prefix(1);
    }
    // Split off an exponent; it never holds separators.
    std::string_view exponent;
    if (const std::size_t e = s.find_first_of("eE"); e != std::string_view::npos) {
        exponent = s.substr(e);
        s = s.substr(0, e);
    }
    std::size_t commas = 0, points = 0;
    for (char c : s) {
        if (c == ',')
            ++commas;
        else if (c == '.')
            ++points;
        else if (!isDigit(c))
            return TypedNumber::NotNumber;
    }
    if (s.find_first_of("0123456789") == std::string_view::npos) return TypedNumber::NotNumber;

    std::string plain = sign;
    if (commas + points == 0) {
        plain += s;
    } else if (commas == 0 || points == 0) {
        const char sep = commas ? ',' : '.';
        if (commas + points == 1) {
            // One separator: the decimal separator, either kind.
            const std::size_t at = s.find(sep);
            plain += s.substr(0, at);
            plain += '.';
            plain += s.substr(at + 1);
        } else {
            // The same separator more than once can only be grouping.
            if (!validGroups(s, sep)) return TypedNumber::Ambiguous;
            for (char c : s)
                if (c != sep) plain += c;
        }
    } else {
        // Both kinds: the last one is the decimal separator, occurs once, and the other groups.
        const char dec = s[s.find_last_of(",.")];
        const char group = dec == ',' ? '.' : ',';
        const std::size_t at = s.find(dec);
        if (s.find(dec, at + 1) != std::string_view::npos) return TypedNumber::Ambiguous;
        const std::string_view whole = s.substr(0, at);
        if (whole.find(group) == std::string_view::npos || !validGroups(whole, group))
            return TypedNumber::Ambiguous;
        for (char c : whole)
            if (c != group) plain += c;
        plain += '.';
        plain += s.substr(at + 1);
    }
    if (plain.empty() || plain == "-" || plain.back() == '.') plain += '0';
    if (plain.size() > 1 && (plain[0] == '.' || (plain[0] == '-' && plain[1] == '.')))
        plain.insert(plain[0] == '-' ? 1 : 0, "0");
    plain += exponent;
    double v = 0;
    if (!fromPlain(plain, v)) return TypedNumber::NotNumber;
    out = v;
    return TypedNumber::Number;
}

} // namespace base
