#include <sheet/Value.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace sheet {

namespace {
struct ErrorName {
    ErrorCode code;
    std::string_view text;
};
// Longer literals first so that "#N/A" never shadows a longer one starting alike.
constexpr std::array<ErrorName, 8> kErrorNames{{{ErrorCode::Div0, "#DIV/0!"},
                                                {ErrorCode::Value, "#VALUE!"},
                                                {ErrorCode::Name, "#NAME?"},
                                                {ErrorCode::Null, "#NULL!"},
                                                {ErrorCode::Circular, "#CIRC!"},
                                                {ErrorCode::Ref, "#REF!"},
                                                {ErrorCode::Num, "#NUM!"},
                                                {ErrorCode::NA, "#N/A"}}};

char upperChar(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 32) : c;
}
} // namespace

bool Value::operator==(const Value& o) const {
    if (kind != o.kind) return false;
    switch (kind) {
    case ValueKind::Empty:
        return true;
    case ValueKind::Number:
    case ValueKind::Bool:
        return number == o.number;
    case ValueKind::Text:
        return text == o.text;
    case ValueKind::Error:
        return error == o.error;
    }
    return false;
}

std::string_view errorText(ErrorCode e) {
    for (const auto& n : kErrorNames)
        if (n.code == e) return n.text;
    return {};
}

std::size_t matchErrorLiteral(std::string_view s, ErrorCode& out) {
    for (const auto& n : kErrorNames) {
        if (s.size() >= n.text.size() && equalsNoCase(s.substr(0, n.text.size()), n.text)) {
            out = n.code;
            return n.text.size();
        }
    }
    return 0;
}

std::string formatGeneral(double v) {
    if (v == 0) return "0"; // also turns -0 into 0
    std::string s;
    if (!base::formatGeneral(v, 15, s)) return std::string(errorText(ErrorCode::Num));
    for (auto& c : s)
        if (c == 'e') c = 'E';
    return s;
}

std::optional<double> parseNumber(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    if (s.empty()) return std::nullopt;
    double scale = 1.0;
    if (s.back() == '%') {
        scale = 0.01;
        s.remove_suffix(1);
    }
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s.front())) || s.front() == '.'))
        return std::nullopt;
    double v = 0;
    if (!base::parseNumber(s, v)) return std::nullopt;
    return (negative ? -v : v) * scale;
}

base::TypedNumber readTypedNumber(std::string_view s, double& out) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    const bool percent = !s.empty() && s.back() == '%';
    if (percent) s.remove_suffix(1);
    double v = 0;
    const base::TypedNumber r = base::readTypedNumber(s, v);
    if (r == base::TypedNumber::Empty && percent) return base::TypedNumber::NotNumber;
    if (r == base::TypedNumber::Number) out = percent ? v / 100 : v;
    return r;
}

std::string formatFixed(double v, int decimals, bool thousands, char decimalPoint, char thousandsSep) {
    // Shown values round as spreadsheets show them: to 15 significant digits first, then to the
    // decimals, half away from zero (7.25 with one decimal is 7.3, 1.005 with two is 1.01). Both
    // steps work on decimal digits, so no binary noise shows (1E+23 is 1 and 23 zeros) and the
    // process locale plays no part.
    std::string g;
    if (!base::formatGeneral(v, 15, g)) return std::string(errorText(ErrorCode::Num));
    decimals = std::clamp(decimals, 0, 15);
    bool negative = g[0] == '-';
    if (negative) g.erase(0, 1);
    int exponent = 0;
    if (const std::size_t e = g.find_first_of("eE"); e != std::string::npos) {
        std::size_t i = e + 1;
        const bool down = g[i] == '-';
        if (g[i] == '+' || g[i] == '-') ++i;
        for (; i < g.size(); ++i)
            exponent = exponent * 10 + (g[i] - '0');
        if (down) exponent = -exponent;
        g.resize(e);
    }
    // value = 0.<digits> x 10^intLen: the first intLen digits are the whole part.
    const std::size_t point = g.find('.');
    int intLen = int(point == std::string::npos ? g.size() : point) + exponent;
    std::string digits;
    for (char c : g)
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits[0] == '0')
        digits.erase(0, 1), --intLen;
    const int keep = intLen + decimals; // digits that stay
    std::string kept;
    if (keep < 0) {
        intLen = -decimals; // far below the last decimal: zero
    } else {
        if (int(digits.size()) < keep + 1) digits.append(std::size_t(keep + 1) - digits.size(), '0');
        kept = digits.substr(0, std::size_t(keep));
        if (digits[std::size_t(keep)] >= '5') {
            int i = int(kept.size()) - 1;
            for (; i >= 0 && kept[std::size_t(i)] == '9'; --i)
                kept[std::size_t(i)] = '0';
            if (i >= 0)
                ++kept[std::size_t(i)];
            else
                kept.insert(kept.begin(), '1'), ++intLen;
        }
    }
    if (intLen < 1) {
        kept.insert(0, std::size_t(1 - intLen), '0');
        intLen = 1;
    }
    if (kept.find_first_not_of('0') == std::string::npos) negative = false; // no "-0.00"
    std::string whole = kept.substr(0, std::size_t(intLen));
    std::string s = negative ? "-" : "";
    for (std::size_t i = 0; i < whole.size(); ++i) {
        s += whole[i];
        const std::size_t left = whole.size() - i - 1;
        if (thousands && left > 0 && left % 3 == 0) s += thousandsSep;
    }
    if (decimals > 0) s += decimalPoint + kept.substr(std::size_t(intLen));
    return s;
}

std::string toText(const Value& v) {
    switch (v.kind) {
    case ValueKind::Empty:
        return {};
    case ValueKind::Number:
        return formatGeneral(v.number);
    case ValueKind::Text:
        return v.text;
    case ValueKind::Bool:
        return v.number != 0 ? "TRUE" : "FALSE";
    case ValueKind::Error:
        return std::string(errorText(v.error));
    }
    return {};
}

double toNumber(const Value& v, ErrorCode& err) {
    switch (v.kind) {
    case ValueKind::Empty:
        return 0;
    case ValueKind::Number:
    case ValueKind::Bool:
        return v.number;
    case ValueKind::Text: {
        if (auto n = parseNumber(v.text)) return *n;
        err = ErrorCode::Value;
        return 0;
    }
    case ValueKind::Error:
        err = v.error;
        return 0;
    }
    return 0;
}

bool toBool(const Value& v, ErrorCode& err) {
    switch (v.kind) {
    case ValueKind::Empty:
        return false;
    case ValueKind::Number:
    case ValueKind::Bool:
        return v.number != 0;
    case ValueKind::Text:
        if (equalsNoCase(v.text, "TRUE")) return true;
        if (equalsNoCase(v.text, "FALSE")) return false;
        err = ErrorCode::Value;
        return false;
    case ValueKind::Error:
        err = v.error;
        return false;
    }
    return false;
}

int compareValues(const Value& a, const Value& b) {
    auto rank = [](const Value& v, const Value& other) {
        switch (v.kind) {
        case ValueKind::Number:
            return 0;
        case ValueKind::Text:
            return 1;
        case ValueKind::Bool:
            return 2;
        case ValueKind::Empty:
            return other.kind == ValueKind::Text ? 1 : (other.kind == ValueKind::Bool ? 2 : 0);
        default:
            return 3;
        }
    };
    int ra = rank(a, b), rb = rank(b, a);
    if (ra != rb) return ra < rb ? -1 : 1;
    if (ra == 1) {
        const std::string& x = a.isText() ? a.text : std::string();
        const std::string& y = b.isText() ? b.text : std::string();
        std::size_t n = std::min(x.size(), y.size());
        for (std::size_t i = 0; i < n; ++i) {
            char cx = upperChar(x[i]), cy = upperChar(y[i]);
            if (cx != cy) return (unsigned char)cx < (unsigned char)cy ? -1 : 1;
        }
        return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
    }
    double x = a.isEmpty() ? 0 : a.number, y = b.isEmpty() ? 0 : b.number;
    return x < y ? -1 : (x > y ? 1 : 0);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperChar(a[i]) != upperChar(b[i])) return false;
    return true;
}

std::string upper(std::string_view s) {
    std::string r(s);
    for (auto& c : r)
        c = upperChar(c);
    return r;
}

} // namespace sheet
