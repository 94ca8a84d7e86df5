// Formulas reading large ranges: an edit recalculates exactly the formulas whose ranges hold the
// edited cell, replaced and removed formulas stop listening, and references to cells far from the
// data cost no storage.
#include "SheetTestUtil.h"

#include <gtest/gtest.h>

#include <string>

using namespace sheet;
using namespace sheet::test;

namespace {
std::string a1(int c, int r) {
    return cellName(c, r);
}
std::string range(int c1, int r1, int c2, int r2) {
    return a1(c1, r1) + ":" + a1(c2, r2);
}
} // namespace

TEST(RangeListeners, anEditRecalculatesTheFormulasWhoseRangesHoldIt) {
    // Ranges of many shapes and sizes, all above the size that registers cell by cell.
    Sheet s;
    sized(s, 300, 5000);
    struct Reader {
        CellRange r;
        const char* what;
    } readers[] = {
        {{1, 1, 1, 1000}, "a long column part"},     {{1, 1, 200, 1}, "a long row part"},
        {{3, 10, 12, 19}, "a 10 x 10 block"},        {{2, 1, 3, 4000}, "two whole-ish columns"},
        {{5, 100, 40, 140}, "a wide block"},         {{1, 65, 1, 129}, "just above the cell-by-cell size"},
        {{150, 2000, 250, 4500}, "a block far out"},
    };
    int col = 280;
    for (const Reader& rd : readers)
        ASSERT_TRUE(
            s.setFormula(col++, 4990, "COUNT(" + range(rd.r.col1, rd.r.row1, rd.r.col2, rd.r.row2) + ")"))
            << rd.what;
    const CellPos edits[] = {{1, 1},      {1, 1000},   {1, 1001},   {200, 1},    {201, 1},
                             {3, 10},     {12, 19},    {13, 19},    {2, 4000},   {3, 4001},
                             {40, 140},   {4, 100},    {1, 64},     {1, 65},     {1, 129},
                             {150, 2000}, {250, 4500}, {251, 4500}, {149, 3000}, {200, 3000}};
    const std::size_t n = std::size(edits);
    for (std::size_t i = 0; i < n; ++i) {
        const CellPos e = edits[i];
        int expected = 0;
        for (const Reader& rd : readers)
            expected += rd.r.contains(e.col, e.row);
        s.resetEvaluations();
        s.setNumber(e.col, e.row, double(i + 1));
        EXPECT_EQ(int(s.evaluations()), expected)
            << a1(e.col, e.row) << " is read by " << expected << " ranges";
        col = 280;
        for (const Reader& rd : readers) {
            int count = 0; // numbers written so far inside the range
            for (std::size_t k = 0; k <= i; ++k)
                count += rd.r.contains(edits[k].col, edits[k].row);
            EXPECT_EQ(s.value(col++, 4990).number, count) << rd.what << " after editing " << a1(e.col, e.row);
        }
    }
}

TEST(RangeListeners, overlappingWindowsAreEachMarkedOnce) {
    // 2,000 moving windows of 100 rows: an edit marks the 100 that hold it, whatever their number.
    Sheet s;
    sized(s, 5, 3000);
    s.setOption(Sheet::kOptAutoRecalc, false);
    for (int r = 1; r <= 2000; ++r)
        s.setFormula(2, r, "SUM(" + range(1, r, 1, r + 99) + ")");
    s.setOption(Sheet::kOptAutoRecalc, true);
    s.resetEvaluations();
    s.setNumber(1, 1500, 2);
    EXPECT_EQ(s.evaluations(), 100u) << "windows starting at rows 1401..1500";
    EXPECT_EQ(s.value(2, 1401).number, 2);
    EXPECT_EQ(s.value(2, 1400).number, 0);
    s.resetEvaluations();
    s.setNumber(1, 2050, 1); // below every window but the last 50
    EXPECT_EQ(s.evaluations(), 50u);
}

TEST(RangeListeners, replacedAndRemovedFormulasStopListening) {
    Sheet s;
    sized(s, 10, 500);
    s.setFormula(5, 1, "SUM(A1:A100)");
    struct Step {
        const char* formula; // new formula of E1; "" removes it
        int editCol, editRow;
        unsigned evaluations;
        const char* why;
    } steps[] = {
        {nullptr, 1, 50, 1, "the first formula listens to column A"},
        {"SUM(B1:B100)", 1, 50, 0, "replaced: column A no longer counts"},
        {nullptr, 2, 50, 1, "the new range does"},
        {"SUM(B1:B100)+SUM(B50:B200)", 2, 60, 1, "two ranges holding the cell recalculate the formula once"},
        {"", 2, 60, 0, "removed: nothing listens"},
        {"SUM(A1:A100)", 1, 50, 1, "entered again, it listens again"},
    };
    double v = 0;
    for (const Step& st : steps) {
        if (st.formula) s.setFormula(5, 1, st.formula);
        s.resetEvaluations();
        s.setNumber(st.editCol, st.editRow, ++v);
        EXPECT_EQ(s.evaluations(), st.evaluations) << st.why;
    }
}

TEST(RangeListeners, manyReplacementsDoNotPileUpListeners) {
    // A column of 1,000 formulas over one table, replaced eight times: stale listeners are swept,
    // so the memory stays what one set of formulas needs (16 KB more would be 2,000 listeners).
    Sheet s;
    sized(s, 10, 3000);
    s.setOption(Sheet::kOptAutoRecalc, false);
    auto fill = [&](int round) {
        for (int r = 1; r <= 1000; ++r)
            s.setFormula(3, r, "COUNTIF($A$1:$B$500," + std::to_string(round) + ")");
    };
    fill(0);
    fill(1); // the listener list reaches its working size
    const std::size_t settled = s.memoryUse();
    for (int round = 2; round <= 8; ++round)
        fill(round);
    EXPECT_LT(s.memoryUse(), settled + 16 * 1024);
    s.setOption(Sheet::kOptAutoRecalc, true);
    s.resetEvaluations();
    s.setNumber(1, 5, 8);
    EXPECT_EQ(s.evaluations(), 1000u) << "each formula once, not once per replacement";
    EXPECT_EQ(s.value(3, 1).number, 1);
}

TEST(RangeListeners, farReferencesCostNoStorage) {
    // 2,000 formulas each reading a different cell far below the data: a chunk per reference
    // would take 4 MB.
    Sheet s;
    sized(s, 5, 1'000'000);
    s.setNumber(1, 1, 1);
    const std::size_t before = s.memoryUse();
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE(s.setFormula(2, i + 1, a1(3, 100'000 + 256 * i) + "+1"));
    EXPECT_LT(s.memoryUse() - before, std::size_t(1) << 20);
    // The far cells are still listened to, and removing a reader ends that.
    s.resetEvaluations();
    s.setNumber(3, 100'000 + 256 * 7, 41);
    EXPECT_EQ(s.value(2, 8).number, 42);
    EXPECT_EQ(s.evaluations(), 1u);
    s.setFormula(2, 8, "");
    s.resetEvaluations();
    s.setNumber(3, 100'000 + 256 * 7, 1);
    EXPECT_EQ(s.evaluations(), 0u) << "the removed formula listened on";
    EXPECT_EQ(s.value(2, 9).number, 1);
}

TEST(RangeListeners, listenersFollowInsertedRows) {
    Sheet s;
    sized(s, 10, 500);
    s.setFormula(5, 1, "SUM(A10:A200)");
    s.insertRows(5, 10); // the range becomes A20:A210
    s.resetEvaluations();
    s.setNumber(1, 15, 3);
    EXPECT_EQ(s.evaluations(), 0u) << "row 15 now lies above the range";
    s.setNumber(1, 205, 4);
    EXPECT_EQ(s.data(5, 1), "4");
}
