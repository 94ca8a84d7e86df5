// What a printout covers: the stored cells, or the chosen block, never the declared size of the
// sheet; page numbers and totals of a range; every column hidden.
#include "SheetTestUtil.h"

#include <sheet/SpreadControl.h>

#include <gtest/gtest.h>

#include <chrono>

using namespace sheet;
using namespace sheet::test;

namespace {

/// A sheet declared at the largest size, holding cells up to D90.
void hugeWithFewCells(Sheet& s) {
    ASSERT_TRUE(s.setMaxCols(475254));
    ASSERT_TRUE(s.setMaxRows(16000000));
    s.setData(1, 1, "a");
    s.setData(1, 3, "c");
    s.setData(4, 90, "42");
}

TEST(PrintExtent, blocksEndWhereTheStoredCellsEnd) {
    Sheet s;
    hugeWithFewCells(s);
    struct Case {
        CellRange block, printed;
        int pages;
        const char* why;
    } cases[] = {
        {{}, {1, 1, 4, 90}, 2, "no block: the used part"},
        {{4, kAll, 4, kAll}, {4, 1, 4, 90}, 2, "a whole column"},
        {{kAll, 2, kAll, 3}, {1, 2, 4, 3}, 1, "whole rows"},
        {{2, 10, 475254, 16000000}, {2, 10, 4, 90}, 2, "a block selected to the grid's end"},
        {{3, 5, 3, 6}, {3, 5, 3, 6}, 1, "a block inside keeps its empty cells"},
        {{6, 200, 9, 300}, {6, 200, 6, 200}, 1, "a block beyond the cells keeps its first cell"},
    };
    for (const Case& c : cases) {
        PrintOptions o;
        o.block = c.block;
        EXPECT_EQ(printedBlock(s, o), c.printed) << c.why;
        const auto start = std::chrono::steady_clock::now();
        PrintLayout l(s, o);
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        EXPECT_EQ(l.pageCount(), c.pages) << c.why;
        // A guard, not a measure (the benchmarks measure): paginating the declared grid took minutes
        // and gigabytes, so even a busy machine under the sanitizers stays far below this.
        EXPECT_LT(ms, 5000) << c.why << ": pagination costs what the sheet holds";
    }
}

TEST(PrintExtent, theControlTellsWhatPrints) {
    SpreadControl c;
    hugeWithFewCells(c.sheet());
    CellRange b{};
    ASSERT_TRUE(SSGetPrintBlock(&c, b));
    EXPECT_EQ(b, (CellRange{1, 1, 4, 90}));
    EXPECT_EQ(SSGetPrintPageCount(&c), 2);
    EXPECT_FALSE(SSGetPrintBlock(nullptr, b));
}

TEST(PrintExtent, pagesOfARangeKeepTheirNumbersAndTheWholeTotal) {
    Sheet s;
    namedGrid(s, 12, 160); // 2 column bands x 4 row bands
    PrintOptions o;
    o.firstPage = 6;
    o.lastPage = 20; // past the end
    PrintLayout l(s, o);
    ASSERT_EQ(l.pageCount(), 3);
    EXPECT_EQ(l.totalPages(), 8);
    EXPECT_EQ(l.page(1).number, 6);
    EXPECT_EQ(l.page(3).number, 8);
    EXPECT_EQ(l.page(3).total, 8);
    EXPECT_EQ(l.page(3).cells, (CellRange{11, 151, 12, 160}));
    EXPECT_EQ(l.page(0).number, 0) << "outside the range: an empty page";
    EXPECT_EQ(l.page(4).number, 0);
}

TEST(PrintExtent, everyColumnHiddenPrintsWithoutShrinking) {
    Sheet s;
    namedGrid(s, 4, 10);
    for (int c = 1; c <= 4; ++c)
        s.setColWidthPixels(c, 0);
    for (bool rowHeaders : {true, false}) {
        PrintOptions o;
        o.smartPrint = true;
        o.rowHeaders = rowHeaders;
        PrintLayout l(s, o);
        EXPECT_EQ(l.pageCount(), 1) << rowHeaders;
        EXPECT_DOUBLE_EQ(l.scale(), 1.0) << "nothing to shrink, and no division by a width of 0";
        PageRecorder r;
        l.render(1, r);
    }
}

} // namespace
