#pragma once
// Helpers shared by the function category files.

#include <sheet/Functions.h>

#include "LookupCache_p.h"

#include <cmath>
#include <string>
#include <vector>

namespace sheet::fn {

inline Value err(ErrorCode e) {
    return Value::err(e);
}

/// x rounded to `digits` decimals, halves away from zero, after trimming binary noise beyond 15 digits
/// (so that 2.675 rounds to 2.68 as a person reading it expects).
double roundDigits(double x, int digits, int mode /*0 nearest, 1 up, -1 down*/);
/// A count or index argument as int, truncated toward zero; far-off values (and NaN) are clamped to
/// +-1e9 so that the caller's range checks refuse them instead of the conversion overflowing.
inline int toInt(double d) {
    if (!(d > -1e9)) return d != d ? 0 : -1'000'000'000;
    if (d > 1e9) return 1'000'000'000;
    return int(std::trunc(d));
}
/// x trimmed to 15 significant digits.
double approx15(double x);

/// Calls f(double) for every number the arguments from `first` on contribute, with the rules of SUM:
/// numbers, booleans and numeric texts given directly count; in ranges only numbers count.
/// Returns the first error met (direct argument that is not a number, or an error in a range).
template <class F>
ErrorCode forEachNumber(CallArgs& a, std::size_t first, F&& f, bool countDirectText = true) {
    ErrorCode found = ErrorCode::None;
    for (std::size_t i = first; i < a.size(); ++i) {
        const Operand& o = a.ops[i];
        if (o.kind == Operand::Kind::Missing) continue;
        if (o.kind == Operand::Kind::Value) {
            const Value& v = o.value;
            if (v.isError()) return v.error;
            if (v.isNumber() || v.isBool())
                f(v.number);
            else if (v.isText()) {
                if (auto n = parseNumber(v.text))
                    f(*n);
                else if (countDirectText)
                    return ErrorCode::Value;
            }
            continue;
        }
        a.ctx.forEachCell(o.range, [&](int, int, const Value& v) {
            if (found != ErrorCode::None) return;
            if (v.isError())
                found = v.error;
            else if (v.isNumber())
                f(v.number);
        });
        if (found != ErrorCode::None) return found;
    }
    return ErrorCode::None;
}

/// A range or single-cell argument as a block; false for plain values.
inline bool blockOf(const Operand& o, CellRange& r) {
    if (o.kind != Operand::Kind::Ref && o.kind != Operand::Kind::Range) return false;
    r = o.range;
    return true;
}

/// Criteria of COUNTIF/SUMIF ("<5", "abc*", 3).
class Criteria {
public:
    explicit Criteria(const Value& c);
    bool matches(const Value& v) const;
    /// How an equality index can answer this criterion: by the number `key()`, by the plain text
    /// `keyText()`, or not at all (comparisons, patterns, empty texts, booleans).
    enum class Key { None, Number, Text };
    Key indexKey() const;
    double key() const { return m_operand.number; }
    const std::string& keyText() const { return m_operand.text; }

private:
    enum class Cmp { Eq, Ne, Lt, Le, Gt, Ge } m_cmp = Cmp::Eq;
    Value m_operand;
    bool m_numeric = false;
};

/// The cells of a block equal to an equality criterion, from the sheet's index of that row or
/// column: true with `hits` set (null when no cell matches) for a row or column of 32 cells or
/// more; false when the criterion or the block does not suit an index, or the context keeps none,
/// and the caller looks at the cells itself.
bool equalCells(EvalContext& ctx, const CellRange& r, const Criteria& crit,
                const MatchIndex::Positions*& hits);

/// Matches text against a pattern with * and ? (and ~ as escape), ignoring letter case.
bool wildcardMatch(std::string_view text, std::string_view pattern);

/// UTF-8 code point boundaries of a text (size = characters + 1).
std::vector<std::size_t> charOffsets(std::string_view s);

} // namespace sheet::fn
