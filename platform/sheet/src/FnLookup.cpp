// Look-up and reference functions. CHOOSE is compiled into jumps (only the chosen argument runs).
#include "FnUtil_p.h"
#include "LookupCache_p.h"

namespace sheet {

namespace {
using namespace fn;

bool sameClass(const Value& a, const Value& b) {
    auto cls = [](const Value& v) { return v.isNumber() ? 0 : v.isText() ? 1 : v.isBool() ? 2 : 3; };
    return cls(a) == cls(b);
}

// Position (0-based) in a vector of cells: exact match, or the last value not above the key
// (the data is taken as sorted ascending, as the spreadsheets assume). An empty key finds nothing,
// not an empty cell. `vec` names the vector in the sheet, so that an exact match of a plain key
// is one probe of the vector's index.
template <class Get>
int findInVector(const Value& key, int n, Get get, bool exact, EvalContext& ctx,
                 const LookupCache::Vector& vec) {
    if (key.isEmpty()) return -1;
    if (exact) {
        if (n >= kIndexedLength && !(key.isText() && LookupIndex::isPattern(key.text)))
            if (const LookupIndex* index = lookupIndexOf(ctx, vec)) {
                int pos = index->find(key);
                return pos < n ? pos : -1;
            }
        for (int i = 0; i < n; ++i) {
            Value v = get(i);
            if (!sameClass(v, key)) continue;
            if (key.isText() ? wildcardMatch(v.text, key.text) : compareValues(v, key) == 0) return i;
        }
        return -1;
    }
    // Binary search over the cells of the key's kind, as sorted data is assumed.
    int lo = 0, hi = n - 1, best = -1;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int probe = mid;
        while (probe <= hi && !sameClass(get(probe), key))
            ++probe;
        if (probe > hi) {
            hi = mid - 1;
            continue;
        }
        int c = compareValues(get(probe), key);
        if (c <= 0) {
            best = probe;
            lo = probe + 1;
        } else {
            hi = mid - 1;
        }
    }
    return best;
}

Value tableLookup(CallArgs& a, bool vertical) {
    Value key = a.scalar(0);
    if (key.isError()) return key;
    CellRange r;
    if (!blockOf(a.ops[1], r)) return err(ErrorCode::Value);
    ErrorCode e = ErrorCode::None;
    int idx = toInt(a.number(2, e));
    bool approx = a.missing(3) ? true : a.boolean(3, e);
    if (e != ErrorCode::None) return err(e);
    int span = vertical ? r.col2 - r.col1 + 1 : r.row2 - r.row1 + 1;
    if (idx < 1) return err(ErrorCode::Value);
    if (idx > span) return err(ErrorCode::Ref);
    int n = vertical ? r.row2 - r.row1 + 1 : r.col2 - r.col1 + 1;
    auto get = [&](int i) {
        return vertical ? a.ctx.cellValue(r.col1, r.row1 + i) : a.ctx.cellValue(r.col1 + i, r.row1);
    };
    LookupCache::Vector vec = vertical ? LookupCache::Vector{true, r.col1, r.row1, r.row2}
                                       : LookupCache::Vector{false, r.row1, r.col1, r.col2};
    int pos = findInVector(key, n, get, !approx, a.ctx, vec);
    if (pos < 0) return err(ErrorCode::NA);
    Value v = vertical ? a.ctx.cellValue(r.col1 + idx - 1, r.row1 + pos)
                       : a.ctx.cellValue(r.col1 + pos, r.row1 + idx - 1);
    return v;
}

Value vlookup(CallArgs& a) {
    return tableLookup(a, true);
}
Value hlookup(CallArgs& a) {
    return tableLookup(a, false);
}

Value lookup(CallArgs& a) {
    Value key = a.scalar(0);
    if (key.isError()) return key;
    CellRange r;
    if (!blockOf(a.ops[1], r)) return err(ErrorCode::Value);
    int w = r.col2 - r.col1 + 1, h = r.row2 - r.row1 + 1;
    bool byRows = h >= w; // search the longer side
    int n = byRows ? h : w;
    auto get = [&](int i) {
        return byRows ? a.ctx.cellValue(r.col1, r.row1 + i) : a.ctx.cellValue(r.col1 + i, r.row1);
    };
    LookupCache::Vector vec = byRows ? LookupCache::Vector{true, r.col1, r.row1, r.row2}
                                     : LookupCache::Vector{false, r.row1, r.col1, r.col2};
    int pos = findInVector(key, n, get, false, a.ctx, vec);
    if (pos < 0) return err(ErrorCode::NA);
    if (a.size() > 2) {
        CellRange res;
        if (!blockOf(a.ops[2], res)) return err(ErrorCode::Value);
        bool resRows = res.row2 - res.row1 >= res.col2 - res.col1;
        return resRows ? a.ctx.cellValue(res.col1, res.row1 + pos)
                       : a.ctx.cellValue(res.col1 + pos, res.row1);
    }
    return byRows ? a.ctx.cellValue(r.col2, r.row1 + pos) : a.ctx.cellValue(r.col1 + pos, r.row2);
}

Value index(CallArgs& a) {
    CellRange r;
    if (!blockOf(a.ops[0], r)) {
        Value v = a.scalar(0);
        return v;
    }
    ErrorCode e = ErrorCode::None;
    int row = a.missing(1) ? 0 : toInt(a.number(1, e));
    int col = a.missing(2) ? 0 : toInt(a.number(2, e));
    if (e != ErrorCode::None) return err(e);
    int w = r.col2 - r.col1 + 1, h = r.row2 - r.row1 + 1;
    if (a.size() < 3 && h == 1 && w > 1) std::swap(row, col); // INDEX(row range, n) counts along the row
    if (row < 0 || col < 0 || row > h || col > w) return err(ErrorCode::Ref);
    if (row == 0 && h > 1) return err(ErrorCode::Value);
    if (col == 0 && w > 1) return err(ErrorCode::Value);
    return a.ctx.cellValue(r.col1 + std::max(col, 1) - 1, r.row1 + std::max(row, 1) - 1);
}

Value match(CallArgs& a) {
    Value key = a.scalar(0);
    if (key.isError()) return key;
    CellRange r;
    if (!blockOf(a.ops[1], r)) return err(ErrorCode::NA);
    ErrorCode e = ErrorCode::None;
    int type = a.missing(2) ? 1 : toInt(a.number(2, e));
    if (e != ErrorCode::None) return err(e);
    int w = r.col2 - r.col1 + 1, h = r.row2 - r.row1 + 1;
    if (w > 1 && h > 1) return err(ErrorCode::NA);
    int n = std::max(w, h);
    auto get = [&](int i) {
        return h > 1 ? a.ctx.cellValue(r.col1, r.row1 + i) : a.ctx.cellValue(r.col1 + i, r.row1);
    };
    LookupCache::Vector vec = h > 1 ? LookupCache::Vector{true, r.col1, r.row1, r.row2}
                                    : LookupCache::Vector{false, r.row1, r.col1, r.col2};
    int pos = -1;
    if (type == 0)
        pos = findInVector(key, n, get, true, a.ctx, vec);
    else if (type > 0)
        pos = findInVector(key, n, get, false, a.ctx, vec);
    else if (!key.isEmpty()) {
        // Descending data: the smallest value that is not below the key.
        for (int i = 0; i < n; ++i) {
            Value v = get(i);
            if (!sameClass(v, key)) continue;
            if (compareValues(v, key) >= 0)
                pos = i;
            else
                break;
        }
    }
    return pos < 0 ? err(ErrorCode::NA) : Value::num(pos + 1);
}

Value row(CallArgs& a) {
    if (a.size() == 0 || a.missing(0)) return Value::num(a.host.row);
    CellRange r;
    if (!blockOf(a.ops[0], r)) return err(ErrorCode::Value);
    return Value::num(r.row1);
}

Value column(CallArgs& a) {
    if (a.size() == 0 || a.missing(0)) return Value::num(a.host.col);
    CellRange r;
    if (!blockOf(a.ops[0], r)) return err(ErrorCode::Value);
    return Value::num(r.col1);
}
} // namespace

void addLookupFunctions(std::vector<FunctionDef>& t) {
    t.insert(t.end(), {
                          {"CHOOSE", 2, kManyArgs, nullptr, FnKind::Choose},
                          {"VLOOKUP", 3, 4, vlookup},
                          {"HLOOKUP", 3, 4, hlookup},
                          {"LOOKUP", 2, 3, lookup},
                          {"INDEX", 1, 3, index},
                          {"MATCH", 2, 3, match},
                          {"ROW", 0, 1, row},
                          {"COLUMN", 0, 1, column},
                      });
}

} // namespace sheet
