// Text functions. Texts are UTF-8; positions and lengths count characters, not bytes.
#include "FnUtil_p.h"

#include <algorithm>
#include <optional>

namespace sheet {

namespace {
using namespace fn;

constexpr std::size_t kMaxText = 32767;

Value concatenate(CallArgs& a) {
    std::string r;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ErrorCode e = ErrorCode::None;
        r += a.text(i, e);
        if (e != ErrorCode::None) return err(e);
    }
    return Value::str(std::move(r));
}

// LEFT, RIGHT: text and optional count.
template <bool Left> Value leftRight(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    std::string s = a.text(0, e);
    double n = a.missing(1) ? 1 : a.number(1, e);
    if (e != ErrorCode::None) return err(e);
    if (n < 0) return err(ErrorCode::Value);
    auto off = charOffsets(s);
    std::size_t chars = off.size() - 1;
    std::size_t k = std::size_t(std::min<double>(std::trunc(n), double(chars)));
    return Value::str(Left ? s.substr(0, off[k]) : s.substr(off[chars - k]));
}

Value mid(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    std::string s = a.text(0, e);
    double start = a.number(1, e), n = a.number(2, e);
    if (e != ErrorCode::None) return err(e);
    if (start < 1 || n < 0) return err(ErrorCode::Value);
    auto off = charOffsets(s);
    std::size_t chars = off.size() - 1;
    std::size_t b = std::size_t(std::min<double>(std::trunc(start) - 1, double(chars)));
    std::size_t k = std::size_t(std::min<double>(std::trunc(n), double(chars - b)));
    return Value::str(s.substr(off[b], off[b + k] - off[b]));
}

Value len(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    std::string s = a.text(0, e);
    if (e != ErrorCode::None) return err(e);
    return Value::num(double(charOffsets(s).size() - 1));
}

Value trim(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    std::string s = a.text(0, e);
    if (e != ErrorCode::None) return err(e);
    std::string r;
    for (char c : s) {
        if (c == ' ' && (r.empty() || r.back() == ' ')) continue;
        r += c;
    }
    if (!r.empty() && r.back() == ' ') r.pop_back();
    return Value::str(std::move(r));
}

template <bool Up> Value changeCase(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    std::string s = a.text(0, e);
    if (e != ErrorCode::None) return err(e);
    for (char& c : s) {
        if (Up && c >= 'a' && c <= 'z') c = char(c - 32);
        if (!Up && c >= 'A' && c <= 'Z') c = char(c + 32);
    }
    return Value::str(std::move(s));
}

// FIND (case-sensitive) and SEARCH (any case, with * and ? wildcards).
template <bool Search> Value findFn(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    std::string what = a.text(0, e), in = a.text(1, e);
    double start = a.missing(2) ? 1 : a.number(2, e);
    if (e != ErrorCode::None) return err(e);
    auto off = charOffsets(in);
    std::size_t chars = off.size() - 1;
    if (start < 1 || std::trunc(start) > double(chars) + (what.empty() ? 1 : 0)) return err(ErrorCode::Value);
    std::size_t from = std::size_t(std::trunc(start)) - 1;
    if (what.empty()) return err(ErrorCode::Value); // LibreOffice finds nothing in an empty search text
    for (std::size_t i = from; i < chars; ++i) {
        std::string_view rest = std::string_view(in).substr(off[i]);
        bool hit;
        if (Search) {
            // The pattern may match any prefix of the rest of the text, hence the trailing '*'.
            hit = wildcardMatch(rest, what + "*");
            if (!hit && what[0] == '*') break; // a leading '*' already tried every later start
        } else {
            hit = rest.substr(0, what.size()) == what;
        }
        if (hit) return Value::num(double(i + 1));
    }
    return err(ErrorCode::Value);
}

Value substitute(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    std::string s = a.text(0, e), from = a.text(1, e), to = a.text(2, e);
    double inst = a.missing(3) ? 0 : a.number(3, e);
    if (e != ErrorCode::None) return err(e);
    if (!a.missing(3) && inst < 1) return err(ErrorCode::Value);
    if (from.empty()) return Value::str(s);
    std::string r;
    std::size_t pos = 0, n = 0;
    while (true) {
        std::size_t hit = s.find(from, pos);
        if (hit == std::string::npos) break;
        ++n;
        if (inst == 0 || double(n) == std::trunc(inst)) {
            r += s.substr(pos, hit - pos) + to;
        } else {
            r += s.substr(pos, hit - pos + from.size());
        }
        pos = hit + from.size();
    }
    r += s.substr(pos);
    return Value::str(std::move(r));
}

Value rept(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    std::string s = a.text(0, e);
    double n = a.number(1, e);
    if (e != ErrorCode::None) return err(e);
    if (n < 0 || s.size() * std::trunc(n) > double(kMaxText)) return err(ErrorCode::Value);
    if (s.empty()) return Value::str({}); // any count of nothing, without counting to it
    std::string r;
    for (int i = 0; i < int(n); ++i)
        r += s;
    return Value::str(std::move(r));
}

Value exact(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    std::string x = a.text(0, e), y = a.text(1, e);
    if (e != ErrorCode::None) return err(e);
    return Value::boolean(x == y);
}

// One section of a number format: placeholders, separators and literal text; nothing when the
// number cannot be shown (scaled beyond the range of a double by a long run of '%').
std::optional<std::string> formatSection(double v, std::string_view f) {
    std::string prefix, suffix;
    int intZeros = 0, decZeros = 0, decHashes = 0, expDigits = 0, percent = 0, scaleK = 0;
    bool seenDigit = false, seenDot = false, grouping = false, sci = false, expPlus = false;
    bool afterNumber = false;
    for (std::size_t i = 0; i < f.size(); ++i) {
        char c = f[i];
        std::string lit;
        if (c == '"') {
            std::size_t j = f.find('"', i + 1);
            if (j == std::string_view::npos) j = f.size();
            lit = std::string(f.substr(i + 1, j - i - 1));
            i = j;
        } else if (c == '\\' && i + 1 < f.size()) {
            lit = std::string(1, f[++i]);
        } else if (c == '0' || c == '#' || c == '?') {
            if (sci) {
                ++expDigits;
            } else if (seenDot) {
                (c == '0' ? decZeros : decHashes)++;
                if (c != '0') decHashes += 0;
            } else {
                if (c == '0') ++intZeros;
                if (scaleK > 0) grouping = true, scaleK = 0; // "#,##0": the comma groups
            }
            seenDigit = true;
            afterNumber = false;
            continue;
        } else if (c == '.' && !sci) {
            seenDot = true;
            seenDigit = true;
            continue;
        } else if (c == ',' && seenDigit && !seenDot) {
            ++scaleK; // becomes grouping when a digit follows, a /1000 scale otherwise
            continue;
        } else if ((c == 'E' || c == 'e') && seenDigit && i + 1 < f.size() &&
                   (f[i + 1] == '+' || f[i + 1] == '-')) {
            sci = true;
            expPlus = f[i + 1] == '+';
            ++i;
            continue;
        } else if (c == '%') {
            ++percent;
            lit = "%";
        } else if (c == '_' && i + 1 < f.size()) {
            ++i;
            lit = " ";
        } else if (c == '*') {
            ++i;
            continue;
        } else {
            lit = std::string(1, c);
        }
        if (seenDigit) afterNumber = true;
        (afterNumber || seenDigit ? suffix : prefix) += lit;
    }
    for (int i = 0; i < percent; ++i)
        v *= 100;
    for (int i = 0; i < scaleK; ++i)
        v /= 1000;
    if (!std::isfinite(v)) return std::nullopt;
    if (!seenDigit) return prefix + suffix;
    int decimals = decZeros + decHashes;
    std::string num;
    if (sci) {
        int exp = 0;
        if (v != 0) {
            exp = int(std::floor(std::log10(std::fabs(v))));
            int lead = std::max(1, intZeros);
            exp -= lead - 1;
        }
        double m = v / std::pow(10.0, exp);
        if (!std::isfinite(m)) return std::nullopt; // many leading zeros on a tiny number
        m = roundDigits(m, decimals, 0);
        num = formatFixed(m, decimals, false);
        std::string es = std::to_string(std::abs(exp));
        while (int(es.size()) < expDigits)
            es = "0" + es;
        num += std::string("E") + (exp < 0 ? "-" : (expPlus ? "+" : "")) + es;
        return prefix + num + suffix;
    }
    double r = roundDigits(v, decimals, 0);
    num = formatFixed(std::fabs(r), decimals, grouping);
    std::string intPart = num.substr(0, num.find('.'));
    std::string decPart = num.find('.') == std::string::npos ? "" : num.substr(num.find('.') + 1);
    while (int(decPart.size()) > decZeros && !decPart.empty() && decPart.back() == '0')
        decPart.pop_back();
    if (intPart == "0" && intZeros == 0) intPart.clear();
    int digits =
        int(std::count_if(intPart.begin(), intPart.end(), [](char ch) { return ch >= '0' && ch <= '9'; }));
    while (digits < intZeros)
        intPart = "0" + intPart, ++digits;
    std::string out = intPart;
    if (seenDot && (decimals > 0 || f.find('.') != std::string_view::npos)) out += "." + decPart;
    return prefix + (r < 0 ? "-" : "") + out + suffix;
}

Value textFn(CallArgs& a) {
    Value v = a.scalar(0);
    if (v.isError()) return v;
    ErrorCode e = ErrorCode::None;
    std::string f = a.text(1, e);
    if (e != ErrorCode::None) return err(e);
    std::vector<std::string> sec;
    {
        std::string cur;
        bool q = false;
        for (char c : f) {
            if (c == '"') q = !q;
            if (c == ';' && !q) {
                sec.push_back(cur);
                cur.clear();
            } else {
                cur += c;
            }
        }
        sec.push_back(cur);
    }
    if (v.isText()) {
        auto n = parseNumber(v.text);
        if (!n) {
            std::string t = sec.size() >= 4 ? sec[3] : "@";
            std::size_t at = t.find('@');
            if (at == std::string::npos) return v;
            return Value::str(t.substr(0, at) + v.text + t.substr(at + 1));
        }
        v = Value::num(*n);
    }
    double x = v.isEmpty() ? 0 : v.number;
    if (equalsNoCase(f, "General") || f.empty()) return Value::str(formatGeneral(x));
    std::optional<std::string> shown = sec.size() == 1             ? formatSection(x, sec[0])
                                       : x < 0                     ? formatSection(-x, sec[1])
                                       : x == 0 && sec.size() >= 3 ? formatSection(x, sec[2])
                                                                   : formatSection(x, sec[0]);
    return shown ? Value::str(std::move(*shown)) : err(ErrorCode::Num);
}

Value valueFn(CallArgs& a) {
    Value v = a.scalar(0);
    if (v.isError()) return v;
    if (v.isNumber()) return v;
    if (v.isEmpty()) return Value::num(0);
    if (v.isBool()) return err(ErrorCode::Value);
    if (auto n = parseNumber(v.text)) return Value::num(*n);
    std::string s = v.text;
    s.erase(std::remove(s.begin(), s.end(), ','), s.end());
    if (auto n = parseNumber(s)) return Value::num(*n);
    return err(ErrorCode::Value);
}

Value fixed(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    double x = a.number(0, e);
    double d = a.missing(1) ? 2 : a.number(1, e);
    bool noCommas = a.missing(2) ? false : a.boolean(2, e);
    if (e != ErrorCode::None) return err(e);
    int digits = toInt(d);
    if (digits > 127) return err(ErrorCode::Value);
    double r = roundDigits(x, digits, 0);
    return Value::str(formatFixed(r, std::max(0, digits), !noCommas));
}
} // namespace

void addTextFunctions(std::vector<FunctionDef>& t) {
    t.insert(t.end(), {
                          {"CONCATENATE", 1, kManyArgs, concatenate},
                          {"LEFT", 1, 2, leftRight<true>},
                          {"RIGHT", 1, 2, leftRight<false>},
                          {"MID", 3, 3, mid},
                          {"LEN", 1, 1, len},
                          {"TRIM", 1, 1, trim},
                          {"UPPER", 1, 1, changeCase<true>},
                          {"LOWER", 1, 1, changeCase<false>},
                          {"FIND", 2, 3, findFn<false>},
                          {"SEARCH", 2, 3, findFn<true>},
                          {"SUBSTITUTE", 3, 4, substitute},
                          {"REPT", 2, 2, rept},
                          {"EXACT", 2, 2, exact},
                          {"TEXT", 2, 2, textFn},
                          {"VALUE", 1, 1, valueFn},
                          {"FIXED", 1, 3, fixed},
                      });
}

} // namespace sheet
