#include <host/SortedTexts.h>

#include <base/NumberText.h>

#include <cctype>
#include <string_view>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

/// The number at the start of `s` (digits, at most one '.' followed by a digit); its length.
std::size_t numberAt(std::string_view s, double& value) {
    std::size_t n = 0;
    while (n < s.size() && isDigit(s[n]))
        ++n;
    if (n + 1 < s.size() && s[n] == '.' && isDigit(s[n + 1])) {
        ++n;
        while (n < s.size() && isDigit(s[n]))
            ++n;
    }
    value = 0;
    base::parseNumber(std::string(s.substr(0, n)), value);
    return n;
}

} // namespace

int compareNatural(const Vor_String& a, const Vor_String& b) {
    std::string_view x = a.view(), y = b.view();
    while (!x.empty() && !y.empty()) {
        if (isDigit(x[0]) && isDigit(y[0])) {
            double u = 0, v = 0;
            x.remove_prefix(numberAt(x, u));
            y.remove_prefix(numberAt(y, v));
            if (u != v) return u < v ? -1 : 1;
            continue;
        }
        const int cx = std::tolower(static_cast<unsigned char>(x[0]));
        const int cy = std::tolower(static_cast<unsigned char>(y[0]));
        if (cx != cy) return cx < cy ? -1 : 1;
        x.remove_prefix(1);
        y.remove_prefix(1);
    }
    if (x.empty() && y.empty()) return 0;
    return x.empty() ? -1 : 1;
}

int ObjectExportAddToSorted(Vor_StringArray& sorted, const Vor_String& text) {
    int at = 0;
    while (at < sorted.length() && compareNatural(sorted[at], text) <= 0)
        ++at;
    sorted.insertAt(at, text);
    return at;
}
