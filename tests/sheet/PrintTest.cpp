// Print pagination: page bands, smart print and the per-page callback.
#include "SheetTestUtil.h"

#include <gtest/gtest.h>

using namespace sheet;
using namespace sheet::test;

TEST(PrintLayout, splitsDownThenAcrossAndCallsBackPerPage) {
    Sheet s;
    namedGrid(s, 20, 100); // 20 x 64 px = 960 pt wide, 100 x 20 px = 1500 pt high
    PrintOptions o;
    std::vector<int> called;
    o.headerHeight = o.footerHeight = 30;
    o.pageCallback = [&](Painter&, const PageInfo& p) { called.push_back(p.number); };
    PrintLayout l(s, o);
    ASSERT_EQ(l.pageCount(), 6) << "2 column bands x 3 row bands on A4 portrait";
    EXPECT_EQ(l.page(1).cells.col1, 1);
    EXPECT_EQ(l.page(2).cells.col1, 1) << "down first";
    EXPECT_GT(l.page(2).cells.row1, l.page(1).cells.row2 - 1);
    EXPECT_EQ(l.page(3).cells.col1, 1);
    EXPECT_EQ(l.page(3).cells.row2, 100);
    EXPECT_EQ(l.page(4).cells.col1, l.page(1).cells.col2 + 1) << "then across";
    PageRecorder r;
    l.render(2, r);
    EXPECT_EQ(called, std::vector<int>{2});
    EXPECT_NE(std::find(r.texts.begin(), r.texts.end(), cellName(1, l.page(2).cells.row1)), r.texts.end());
    EXPECT_EQ(l.page(6).total, 6);
}

TEST(PrintLayout, smartPrintFitsTheWidthAndPicksTheOrientation) {
    Sheet s;
    namedGrid(s, 12, 10); // 768 px = 576 pt + row headers: wider than portrait A4 (523 pt usable)
    PrintOptions o;
    o.smartPrint = true;
    PrintLayout l(s, o);
    EXPECT_TRUE(l.landscape()) << "landscape fits without shrinking";
    EXPECT_DOUBLE_EQ(l.scale(), 1.0);
    EXPECT_EQ(l.pageCount(), 1);
    Sheet wide;
    namedGrid(wide, 30, 5);
    PrintLayout w(wide, o);
    EXPECT_LT(w.scale(), 1.0);
    EXPECT_EQ(w.pageCount(), 1) << "all columns on one page width";
}
