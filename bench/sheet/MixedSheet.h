#pragma once
// The mixed sheet the engine is measured on, beside LibreOffice (scripts/compare-with-libreoffice.sh):
// per row five inputs (A:E) and five formulas (F:J) - a moving SUM, an IF, an exact VLOOKUP into a
// 1,000-row table (L:M), a ROUND and a text join. One generator gives the cells to both.

#include <cstdio>
#include <string>

namespace mixed {

constexpr int kTableRows = 1000;
constexpr int kTableCol = 12; // L: keys, M: values

/// Calls put(col, row, text) for every cell of an n-row sheet (or of its rows firstRow..lastRow),
/// row by row, as a person (or a caller of the API) would fill it; text is a number or a formula
/// starting with '='.
template <class Put> void generate(int n, Put&& put, int firstRow = 1, int lastRow = -1) {
    auto num = [](double v) {
        char b[32];
        std::snprintf(b, sizeof b, "%.17g", v);
        return std::string(b);
    };
    if (lastRow < 0) lastRow = n;
    for (int r = firstRow; r <= lastRow; ++r) {
        const std::string R = std::to_string(r);
        put(1, r, num(r % 97));
        put(2, r, num(r % 101));
        put(3, r, num(r * 0.5));
        put(4, r, num((long(r) * 7919) % kTableRows + 1));
        put(5, r, num((r % 1000) / 8.0));
        put(6, r, "=SUM(A" + std::to_string(r > 9 ? r - 9 : 1) + ":A" + R + ")");
        put(7, r, "=IF(B" + R + ">50,C" + R + "*2,C" + R + "/2)");
        put(8, r, "=VLOOKUP(D" + R + ",$L$1:$M$" + std::to_string(kTableRows) + ",2,FALSE())");
        put(9, r, "=ROUND(E" + R + "*1.2345,2)");
        put(10, r, "=\"r\"&A" + R + "&\"/\"&H" + R);
        if (r <= kTableRows) {
            // Keys in a shuffled order: an exact match cannot lean on sorting.
            put(kTableCol, r, num((long(r) * 389) % kTableRows + 1));
            put(kTableCol + 1, r, num(r * 1.5));
        }
    }
}

} // namespace mixed
