// Statistical functions.
#include "FnUtil_p.h"

#include <algorithm>

namespace sheet {

namespace {
using namespace fn;

Value average(CallArgs& a) {
    double s = 0;
    std::size_t n = 0;
    ErrorCode e = forEachNumber(a, 0, [&](double v) { s += v, ++n; });
    if (e != ErrorCode::None) return err(e);
    if (n == 0) return err(ErrorCode::Div0);
    return Value::num(s / double(n));
}

template <bool Max> Value minMax(CallArgs& a) {
    double best = 0;
    bool any = false;
    ErrorCode e = forEachNumber(a, 0, [&](double v) {
        if (!any || (Max ? v > best : v < best)) best = v;
        any = true;
    });
    if (e != ErrorCode::None) return err(e);
    return Value::num(any ? best : 0);
}

Value count(CallArgs& a) {
    double n = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const Operand& o = a.ops[i];
        if (o.kind == Operand::Kind::Value) {
            const Value& v = o.value;
            if (v.isNumber() || v.isBool() || (v.isText() && parseNumber(v.text))) ++n;
        } else if (o.kind != Operand::Kind::Missing) {
            a.ctx.forEachCell(o.range, [&](int, int, const Value& v) {
                if (v.isNumber()) ++n;
            });
        }
    }
    return Value::num(n);
}

Value counta(CallArgs& a) {
    double n = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const Operand& o = a.ops[i];
        if (o.kind == Operand::Kind::Value)
            ++n;
        else if (o.kind != Operand::Kind::Missing)
            a.ctx.forEachCell(o.range, [&](int, int, const Value& v) {
                if (!v.isEmpty()) ++n;
            });
    }
    return Value::num(n);
}

Value countif(CallArgs& a) {
    CellRange r;
    if (!blockOf(a.ops[0], r)) return err(ErrorCode::Value);
    Value cv = a.scalar(1);
    if (cv.isError()) return cv;
    Criteria crit(cv);
    if (const MatchIndex::Positions* hits = nullptr; equalCells(a.ctx, r, crit, hits))
        return Value::num(hits ? double(hits->size()) : 0.0);
    double n = 0;
    if (crit.matches(Value::empty())) {
        // Empty cells match: every cell of the block has to be looked at.
        for (int row = r.row1; row <= r.row2; ++row)
            for (int c = r.col1; c <= r.col2; ++c)
                if (crit.matches(a.ctx.cellValue(c, row))) ++n;
    } else {
        a.ctx.forEachCell(r, [&](int, int, const Value& v) {
            if (crit.matches(v)) ++n;
        });
    }
    return Value::num(n);
}

Value median(CallArgs& a) {
    std::vector<double> v;
    ErrorCode e = forEachNumber(a, 0, [&](double x) { v.push_back(x); });
    if (e != ErrorCode::None) return err(e);
    if (v.empty()) return err(ErrorCode::Num);
    std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(mid), v.end());
    double m = v[mid];
    if (v.size() % 2 == 0) {
        double lower = *std::max_element(v.begin(), v.begin() + std::ptrdiff_t(mid));
        m = (m + lower) / 2;
    }
    return Value::num(m);
}
} // namespace

void addStatisticsFunctions(std::vector<FunctionDef>& t) {
    t.insert(t.end(), {
                          {"AVERAGE", 1, kManyArgs, average},
                          {"MIN", 1, kManyArgs, minMax<false>},
                          {"MAX", 1, kManyArgs, minMax<true>},
                          {"COUNT", 1, kManyArgs, count},
                          {"COUNTA", 1, kManyArgs, counta},
                          {"COUNTIF", 2, 2, countif},
                          {"MEDIAN", 1, kManyArgs, median},
                      });
}

} // namespace sheet
