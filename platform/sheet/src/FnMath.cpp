// Arithmetic functions.
#include "FnUtil_p.h"

namespace sheet {

namespace {
using namespace fn;

// One-argument function over a number, with a domain check.
template <double (*F)(double), bool (*Ok)(double)> Value unary(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    double x = a.number(0, e);
    if (e != ErrorCode::None) return err(e);
    if (!Ok(x)) return err(ErrorCode::Num);
    return Value::num(F(x));
}
bool any(double) {
    return true;
}
bool positive(double x) {
    return x > 0;
}
bool nonNegative(double x) {
    return x >= 0;
}
double sign(double x) {
    return x > 0 ? 1 : (x < 0 ? -1 : 0);
}
double intPart(double x) {
    return std::floor(approx15(x));
}

Value sum(CallArgs& a) {
    double s = 0;
    ErrorCode e = forEachNumber(a, 0, [&](double v) { s += v; });
    return e != ErrorCode::None ? err(e) : Value::num(s);
}

Value product(CallArgs& a) {
    double p = 1;
    bool any = false;
    ErrorCode e = forEachNumber(a, 0, [&](double v) { p *= v, any = true; });
    return e != ErrorCode::None ? err(e) : Value::num(any ? p : 0);
}

Value sumproduct(CallArgs& a) {
    std::vector<CellRange> blocks;
    std::vector<Value> scalars;
    int w = -1, h = -1;
    for (std::size_t i = 0; i < a.size(); ++i) {
        CellRange r;
        if (!blockOf(a.ops[i], r)) {
            Value v = a.scalar(i);
            if (v.isError()) return v;
            r = {0, 0, 0, 0}; // a single value is a 1x1 array
            scalars.push_back(v);
        }
        int rw = r.col2 - r.col1 + 1, rh = r.row2 - r.row1 + 1;
        if (w < 0)
            w = rw, h = rh;
        else if (rw != w || rh != h)
            return err(ErrorCode::Value);
        blocks.push_back(r);
    }
    double total = 0;
    std::size_t nScalar = 0;
    std::vector<double> acc(std::size_t(w) * std::size_t(h), 1.0);
    for (const CellRange& r : blocks) {
        if (r.col1 == 0) {
            const Value& v = scalars[nScalar++];
            acc[0] *= v.isNumber() ? v.number : 0;
            continue;
        }
        std::vector<double> cur(acc.size(), 0.0);
        ErrorCode found = ErrorCode::None;
        a.ctx.forEachCell(r, [&](int c, int row, const Value& v) {
            if (v.isError() && found == ErrorCode::None) found = v.error;
            if (v.isNumber())
                cur[std::size_t(row - r.row1) * std::size_t(w) + std::size_t(c - r.col1)] = v.number;
        });
        if (found != ErrorCode::None) return err(found);
        for (std::size_t i = 0; i < acc.size(); ++i)
            acc[i] *= cur[i];
    }
    for (double v : acc)
        total += v;
    return Value::num(total);
}

Value sumif(CallArgs& a) {
    CellRange r, s;
    if (!blockOf(a.ops[0], r)) return err(ErrorCode::Value);
    s = r;
    if (a.size() > 2 && !a.missing(2)) {
        CellRange given;
        if (!blockOf(a.ops[2], given)) return err(ErrorCode::Value);
        // The sum range takes the size of the criteria range from its own top-left cell.
        s = {given.col1, given.row1, given.col1 + (r.col2 - r.col1), given.row1 + (r.row2 - r.row1)};
    }
    Value cv = a.scalar(1);
    if (cv.isError()) return cv;
    Criteria crit(cv);
    double total = 0;
    ErrorCode found = ErrorCode::None;
    if (const MatchIndex::Positions* hits = nullptr; equalCells(a.ctx, r, crit, hits)) {
        const bool down = r.col1 == r.col2;
        for (int i : hits ? *hits : MatchIndex::Positions{}) {
            Value v = down ? a.ctx.cellValue(s.col1, s.row1 + i) : a.ctx.cellValue(s.col1 + i, s.row1);
            if (v.isError()) return v;
            if (v.isNumber()) total += v.number;
        }
        return Value::num(total);
    }
    // Empty cells can match ("" criteria), so visit every cell of the block.
    for (int row = r.row1; row <= r.row2 && found == ErrorCode::None; ++row)
        for (int c = r.col1; c <= r.col2; ++c) {
            if (!crit.matches(a.ctx.cellValue(c, row))) continue;
            Value v = a.ctx.cellValue(s.col1 + (c - r.col1), s.row1 + (row - r.row1));
            if (v.isError()) {
                found = v.error;
                break;
            }
            if (v.isNumber()) total += v.number;
        }
    return found != ErrorCode::None ? err(found) : Value::num(total);
}

Value power(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    double x = a.number(0, e), y = a.number(1, e);
    if (e != ErrorCode::None) return err(e);
    return binaryOp(Op::Pow, Value::num(x), Value::num(y));
}

Value logFn(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    double x = a.number(0, e);
    double b = a.missing(1) ? 10 : a.number(1, e);
    if (e != ErrorCode::None) return err(e);
    if (x <= 0 || b <= 0) return err(ErrorCode::Num);
    if (b == 1) return err(ErrorCode::Div0);
    return Value::num(std::log(x) / std::log(b));
}

Value mod(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    double x = a.number(0, e), y = a.number(1, e);
    if (e != ErrorCode::None) return err(e);
    if (y == 0) return err(ErrorCode::Div0);
    double r = x - y * std::floor(approx15(x / y));
    if (r != 0 && (r < 0) != (y < 0)) r += y;
    return Value::num(approx15(r));
}

// ROUND, ROUNDUP, ROUNDDOWN and TRUNC share one shape: number and optional digits.
template <int Mode, bool DigitsOptional> Value roundFn(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    double x = a.number(0, e);
    double d = (DigitsOptional && a.missing(1)) ? 0 : a.number(1, e);
    if (e != ErrorCode::None) return err(e);
    return Value::num(roundDigits(x, toInt(d), Mode));
}

Value mround(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    double x = a.number(0, e), m = a.number(1, e);
    if (e != ErrorCode::None) return err(e);
    if (m == 0 || x == 0) return Value::num(0);
    return Value::num(roundDigits(x / m, 0, 0) * m);
}

template <bool Up> Value ceilFloor(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    double x = a.number(0, e);
    double s = a.missing(1) ? (x < 0 ? -1 : 1) : a.number(1, e);
    if (e != ErrorCode::None) return err(e);
    if (x == 0 || s == 0) return Value::num(0);
    if (x > 0 && s < 0) return err(ErrorCode::Num);
    // Multiples of |s|: CEILING goes toward +infinity, FLOOR toward -infinity (as LibreOffice does).
    double m = std::fabs(s);
    double q = approx15(x / m);
    double r = (Up ? std::ceil(q) : std::floor(q)) * m;
    return Value::num(r);
}

Value pi(CallArgs&) {
    return Value::num(3.14159265358979323846);
}

Value fact(CallArgs& a) {
    ErrorCode e = ErrorCode::None;
    double x = a.number(0, e);
    if (e != ErrorCode::None) return err(e);
    if (x < 0) return err(ErrorCode::Num);
    double n = std::floor(x), r = 1;
    if (n > 170) return err(ErrorCode::Num);
    for (int i = 2; i <= int(n); ++i)
        r *= i;
    return Value::num(r);
}

} // namespace

void addMathFunctions(std::vector<FunctionDef>& t) {
    t.insert(t.end(), {
                          {"SUM", 1, kManyArgs, sum},
                          {"PRODUCT", 1, kManyArgs, product},
                          {"SUMPRODUCT", 1, kManyArgs, sumproduct},
                          {"SUMIF", 2, 3, sumif},
                          {"ABS", 1, 1, unary<std::fabs, any>},
                          {"SIGN", 1, 1, unary<sign, any>},
                          {"SQRT", 1, 1, unary<std::sqrt, nonNegative>},
                          {"POWER", 2, 2, power},
                          {"EXP", 1, 1, unary<std::exp, any>},
                          {"LN", 1, 1, unary<std::log, positive>},
                          {"LOG", 1, 2, logFn},
                          {"LOG10", 1, 1, unary<std::log10, positive>},
                          {"MOD", 2, 2, mod},
                          {"INT", 1, 1, unary<intPart, any>},
                          {"TRUNC", 1, 2, roundFn<-1, true>},
                          {"ROUND", 2, 2, roundFn<0, false>},
                          {"ROUNDUP", 2, 2, roundFn<1, false>},
                          {"ROUNDDOWN", 2, 2, roundFn<-1, false>},
                          {"MROUND", 2, 2, mround},
                          {"CEILING", 1, 2, ceilFloor<true>},
                          {"FLOOR", 1, 2, ceilFloor<false>},
                          {"PI", 0, 0, pi},
                          {"FACT", 1, 1, fact},
                      });
}

} // namespace sheet
