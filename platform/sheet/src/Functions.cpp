#include <sheet/Functions.h>

#include "FnUtil_p.h"

#include <base/NumberText.h>

#include <string>
#include <unordered_map>

namespace sheet {

namespace {

struct Table {
    std::vector<FunctionDef> defs;
    std::unordered_map<std::string_view, int> byName;
    Table() {
        addMathFunctions(defs);
        addTrigFunctions(defs);
        addStatisticsFunctions(defs);
        addLogicFunctions(defs);
        addLookupFunctions(defs);
        addTextFunctions(defs);
        for (std::size_t i = 0; i < defs.size(); ++i)
            byName.emplace(defs[i].name, int(i));
    }
};

const Table& table() {
    static const Table t;
    return t;
}

} // namespace

int findBuiltin(std::string_view upperName) {
    const auto& t = table();
    auto it = t.byName.find(upperName);
    return it == t.byName.end() ? -1 : it->second;
}

const FunctionDef& builtin(int id) {
    return table().defs[std::size_t(id)];
}
int builtinCount() {
    return int(table().defs.size());
}

namespace fn {

double approx15(double x) {
    if (x == 0 || !std::isfinite(x)) return x;
    // Through 15-digit text and back, independent of the process locale.
    std::string text;
    double y = x;
    if (base::formatGeneral(x, 15, text)) base::parseNumber(text, y);
    return y;
}

double roundDigits(double x, int digits, int mode) {
    if (!std::isfinite(x)) return x;
    digits = std::max(-308, std::min(digits, 308));
    double f = std::pow(10.0, std::abs(digits));
    double y = digits >= 0 ? approx15(x * f) : approx15(x / f);
    if (!std::isfinite(y)) return x; // so many decimals that x has none left to round
    double a = std::fabs(y);
    double r = mode == 0 ? std::floor(a + 0.5) : mode > 0 ? std::ceil(a) : std::floor(a);
    r = std::copysign(r, y);
    return digits >= 0 ? r / f : r * f;
}

Criteria::Criteria(const Value& c) {
    if (!c.isText()) {
        m_operand = c.isEmpty() ? Value::str("") : c;
        m_numeric = c.isNumber() || c.isBool();
        return;
    }
    std::string_view s = c.text;
    if (s.rfind("<>", 0) == 0)
        m_cmp = Cmp::Ne, s.remove_prefix(2);
    else if (s.rfind("<=", 0) == 0)
        m_cmp = Cmp::Le, s.remove_prefix(2);
    else if (s.rfind(">=", 0) == 0)
        m_cmp = Cmp::Ge, s.remove_prefix(2);
    else if (s.rfind("<", 0) == 0)
        m_cmp = Cmp::Lt, s.remove_prefix(1);
    else if (s.rfind(">", 0) == 0)
        m_cmp = Cmp::Gt, s.remove_prefix(1);
    else if (s.rfind("=", 0) == 0)
        m_cmp = Cmp::Eq, s.remove_prefix(1);
    if (auto n = parseNumber(s)) {
        m_operand = Value::num(*n);
        m_numeric = true;
    } else if (equalsNoCase(s, "TRUE") || equalsNoCase(s, "FALSE")) {
        m_operand = Value::boolean(equalsNoCase(s, "TRUE"));
    } else {
        m_operand = Value::str(std::string(s));
    }
}

Criteria::Key Criteria::indexKey() const {
    if (m_cmp != Cmp::Eq) return Key::None;
    if (m_numeric) return Key::Number;
    if (m_operand.isText() && !m_operand.text.empty() &&
        m_operand.text.find_first_of("*?~") == std::string::npos)
        return Key::Text;
    return Key::None;
}

bool equalCells(EvalContext& ctx, const CellRange& r, const Criteria& crit,
                const MatchIndex::Positions*& hits) {
    const Criteria::Key key = crit.indexKey();
    if (key == Criteria::Key::None) return false;
    const bool down = r.col1 == r.col2, across = r.row1 == r.row2;
    if (!down && !across) return false;
    const CellVector v =
        down ? CellVector{true, r.col1, r.row1, r.row2} : CellVector{false, r.row1, r.col1, r.col2};
    if (v.last - v.first + 1 < kIndexedLength) return false;
    const MatchIndex* index = matchIndexOf(ctx, v);
    if (!index) return false;
    hits = key == Criteria::Key::Number ? index->number(crit.key()) : index->text(crit.keyText());
    return true;
}

bool Criteria::matches(const Value& v) const {
    if (m_operand.isText() && m_operand.text.empty()) {
        // "" or "=" match empty cells, "<>" matches every cell that holds something.
        bool empty = v.isEmpty() || (v.isText() && v.text.empty());
        return m_cmp == Cmp::Ne ? !empty : (m_cmp == Cmp::Eq ? empty : false);
    }
    if (v.isError()) return m_cmp == Cmp::Ne;
    int c;
    if (m_numeric) {
        Value x = v;
        if (x.isText()) {
            auto n = parseNumber(x.text);
            if (!n) return m_cmp == Cmp::Ne;
            x = Value::num(*n);
        }
        if (!x.isNumber()) return m_cmp == Cmp::Ne;
        c = x.number < m_operand.number ? -1 : (x.number > m_operand.number ? 1 : 0);
    } else if (m_operand.isBool()) {
        if (!v.isBool()) return m_cmp == Cmp::Ne;
        c = compareValues(v, m_operand);
    } else {
        if (!v.isText()) return m_cmp == Cmp::Ne;
        if (m_cmp == Cmp::Eq || m_cmp == Cmp::Ne) {
            bool m = wildcardMatch(v.text, m_operand.text);
            return m_cmp == Cmp::Eq ? m : !m;
        }
        c = compareValues(v, m_operand);
    }
    switch (m_cmp) {
    case Cmp::Eq:
        return c == 0;
    case Cmp::Ne:
        return c != 0;
    case Cmp::Lt:
        return c < 0;
    case Cmp::Le:
        return c <= 0;
    case Cmp::Gt:
        return c > 0;
    case Cmp::Ge:
        return c >= 0;
    }
    return false;
}

bool wildcardMatch(std::string_view t, std::string_view p) {
    auto up = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; };
    // Iterative matcher with one backtrack point for '*'.
    std::size_t ti = 0, pi = 0, starP = std::string_view::npos, starT = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] == '~' && pi + 1 < p.size() && up(p[pi + 1]) == up(t[ti])) {
            pi += 2, ++ti;
        } else if (pi < p.size() && p[pi] == '*') {
            starP = pi++, starT = ti;
        } else if (pi < p.size() && (p[pi] == '?' || (p[pi] != '~' && up(p[pi]) == up(t[ti])))) {
            ++pi, ++ti;
        } else if (starP != std::string_view::npos) {
            pi = starP + 1, ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*')
        ++pi;
    return pi == p.size();
}

std::vector<std::size_t> charOffsets(std::string_view s) {
    std::vector<std::size_t> o;
    o.reserve(s.size() + 1);
    for (std::size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) o.push_back(i);
    o.push_back(s.size());
    return o;
}

} // namespace fn

} // namespace sheet
