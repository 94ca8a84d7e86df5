// Print pagination at its edges: oversized rows and columns, spans across page breaks, page
// ranges, headers switched off and smart print at exact fits. A4 portrait with 36 pt margins
// holds 50 rows of 20 px under the header row and 10 columns of 64 px beside the row headers.
#include "SheetTestUtil.h"

#include <gtest/gtest.h>

using namespace sheet;
using namespace sheet::test;

TEST(PrintPages, oversizedRowsAndColumnsGetPagesOfTheirOwn) {
    Sheet s;
    namedGrid(s, 12, 60);
    s.setColWidthPixels(5, 1000); // 750 pt: wider than the 523 pt of the page
    s.setRowHeightPixels(20, 1200);
    PrintLayout l(s, PrintOptions{});
    ASSERT_EQ(l.pageCount(), 9) << "columns 1-4, 5, 6-12 by rows 1-19, 20, 21-60";
    const CellRange expected[] = {{1, 1, 4, 19},  {1, 20, 4, 20},  {1, 21, 4, 60},
                                  {5, 1, 5, 19},  {5, 20, 5, 20},  {5, 21, 5, 60},
                                  {6, 1, 12, 19}, {6, 20, 12, 20}, {6, 21, 12, 60}};
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(l.page(n).cells, expected[n - 1]) << "page " << n;
        EXPECT_EQ(l.page(n).number, n);
        EXPECT_EQ(l.page(n).total, 9);
    }
}

TEST(PrintPages, aSpanAcrossAPageBreakIsDrawnOnBothPages) {
    Sheet s;
    namedGrid(s, 3, 120);
    s.setData(1, 45, "SPAN");
    ASSERT_TRUE(s.addSpan(1, 45, 2, 11)); // A45:B55 across the break after row 50
    const std::uint32_t color = rgb(10, 200, 30);
    s.setColors({1, 45, 2, 55}, color, kDefaultColor);
    PrintLayout l(s, PrintOptions{});
    ASSERT_EQ(l.pageCount(), 3);
    ASSERT_EQ(l.page(1).cells.row2, 50);
    auto spanFill = [&](int page) {
        PageRecorder r;
        l.render(page, r);
        for (const auto& f : r.fills)
            if (f.color == color) return std::make_pair(f.r, r.drew("SPAN"));
        return std::make_pair(PageRect{-1, -1, -1, -1}, r.drew("SPAN"));
    };
    auto [first, textOnFirst] = spanFill(1);
    EXPECT_TRUE(textOnFirst);
    EXPECT_DOUBLE_EQ(first.h, 6 * 15.0) << "rows 45-50 on page 1";
    EXPECT_DOUBLE_EQ(first.w, 2 * 48.0) << "both columns";
    auto [second, textOnSecond] = spanFill(2);
    EXPECT_DOUBLE_EQ(second.h, 5 * 15.0) << "rows 51-55 continue on page 2";
    EXPECT_DOUBLE_EQ(second.y, l.page(2).body.y + 15.0) << "right under the column headers";
    EXPECT_FALSE(textOnSecond) << "the text stays with the span's first cell";
    EXPECT_DOUBLE_EQ(spanFill(3).first.h, -1) << "nothing of the span on page 3";
}

TEST(PrintPages, pageRangesKeepNumbersAndTotal) {
    Sheet s;
    namedGrid(s, 12, 160); // 2 column bands x 4 row bands
    PrintOptions o;
    o.firstPage = 3;
    o.lastPage = 6;
    std::vector<std::pair<int, int>> called;
    o.pageCallback = [&](Painter&, const PageInfo& p) { called.push_back({p.number, p.total}); };
    PrintLayout l(s, o);
    ASSERT_EQ(l.pageCount(), 4);
    PageRecorder r;
    for (int i = 1; i <= l.pageCount(); ++i)
        l.render(i, r);
    EXPECT_EQ(called, (std::vector<std::pair<int, int>>{{3, 8}, {4, 8}, {5, 8}, {6, 8}}));
    EXPECT_EQ(l.page(3).cells, (CellRange{11, 1, 12, 50})) << "page 5 is the first of the second band";
    o.firstPage = 9;
    o.lastPage = 0;
    EXPECT_EQ(PrintLayout(s, o).pageCount(), 0) << "a range past the end prints nothing";
    l.render(0, r);
    l.render(5, r);
    EXPECT_EQ(called.size(), 4u) << "pages outside the layout are not drawn";
}

TEST(PrintPages, headersAndBlocksChangeWhatFitsOnAPage) {
    struct Case {
        const char* why;
        bool colHeaders, rowHeaders;
        CellRange block;
        int pages;
        CellRange firstPage;
    } cases[] = {
        {"headers take a row and a column", true, true, {}, 3 * 2, {1, 1, 10, 50}},
        {"without column headers 51 rows fit", false, true, {}, 2 * 2, {1, 1, 10, 51}},
        {"without row headers 10 columns still fit", true, false, {}, 3 * 2, {1, 1, 10, 50}},
        {"a block prints alone", true, true, {3, 5, 4, 12}, 1, {3, 5, 4, 12}},
        {"a block beyond the grid is clipped", true, true, {11, 90, 40, 400}, 1, {11, 90, 11, 102}},
    };
    Sheet s;
    namedGrid(s, 11, 102);
    for (const auto& c : cases) {
        PrintOptions o;
        o.colHeaders = c.colHeaders;
        o.rowHeaders = c.rowHeaders;
        o.block = c.block;
        PrintLayout l(s, o);
        ASSERT_EQ(l.pageCount(), c.pages) << c.why;
        EXPECT_EQ(l.page(1).cells, c.firstPage) << c.why;
    }
}

TEST(PrintPages, smartPrintPutsEveryColumnOnOnePageWidth) {
    // Widths around the exact fits of both orientations: rounding must never push the last column
    // onto a page of its own.
    for (int cols = 8; cols <= 60; ++cols)
        for (int px : {64, 50, 77}) {
            Sheet s;
            sized(s, cols, 5);
            for (int c = 1; c <= cols; ++c) {
                s.setColWidthPixels(c, px);
                s.setData(c, 5, "x");
            }
            PrintOptions o;
            o.smartPrint = true;
            PrintLayout l(s, o);
            ASSERT_EQ(l.pageCount(), 1) << cols << " columns of " << px << " px";
            EXPECT_EQ(l.page(1).cells.col2, cols);
            EXPECT_LE(l.scale(), 1.0);
        }
}

TEST(PrintPages, cellsAlignAndWrapAsOnScreen) {
    // Wrapped text printed as one clipped line, and digits typed in a text cell printed on the right
    // while the screen shows them on the left.
    Sheet s;
    sized(s, 4, 4);
    CellType wrapped;
    wrapped.kind = CellKind::Edit;
    wrapped.multiLine = true;
    s.setCellType({1, 1, 1, 1}, wrapped);
    s.setData(1, 1, "een lange tekst die over meerdere regels loopt");
    CellType text;
    text.kind = CellKind::Edit;
    s.setCellType({2, 1, 2, 1}, text);
    s.setData(2, 1, "1234");
    s.setData(3, 1, "5678"); // a general cell: a number
    CellType wrapStyle;
    wrapStyle.style = kWordWrap;
    s.setCellType({4, 1, 4, 1}, wrapStyle);
    s.setData(4, 1, "tekst met terugloop");
    PrintLayout l(s, PrintOptions{});
    PageRecorder r;
    l.render(1, r);
    struct Case {
        const char* text;
        bool right, wrap;
        const char* why;
    } cases[] = {
        {"een lange tekst die over meerdere regels loopt", false, true, "a multi-line edit cell wraps"},
        {"1234", false, false, "digits in a text cell stay on the left, as on screen"},
        {"5678", true, false, "a number in a general cell goes right"},
        {"tekst met terugloop", false, true, "the word-wrap style wraps"},
    };
    for (const Case& k : cases) {
        ASSERT_TRUE(r.drew(k.text)) << k.why;
        const std::uint32_t a = r.alignOf(k.text);
        EXPECT_EQ((a & kAlignHMask) == kAlignRight, k.right) << k.why;
        EXPECT_EQ((a & kWordWrap) != 0, k.wrap) << k.why;
    }
}
