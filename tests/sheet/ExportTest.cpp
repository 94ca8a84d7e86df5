// Text, HTML and clipboard exports, and the .xls file read back by an independent reader (libfreexl).
#include <sheet/Export.h>
#include <sheet/Sheet.h>
#include <sheet/XlsWriter.h>

#include <freexl.h>
#include <gtest/gtest.h>

using namespace sheet;

namespace {
void fill(Sheet& s) {
    s.setMaxCols(3);
    s.setMaxRows(3);
    s.setData(1, 0, "Name");
    s.setData(1, 1, "a|b");
    s.setData(2, 1, "1.5");
    s.setFormula(3, 1, "B1*2");
    s.setData(1, 2, "x\ty");
    s.setData(2, 2, "<b>&");
}
} // namespace

TEST(SheetExport, textWithBarsAndCrLf) {
    Sheet s;
    fill(s);
    EXPECT_EQ(exportText(s, 0x19), "a|b|1.5|3\r\nx\ty|<b>&|\r\n||\r\n");
    EXPECT_EQ(exportText(s, kTextColHeaders), "Name\tB\tC\na|b\t1.5\t3\nx\ty\t<b>&\t\n\t\t\n");
}

TEST(SheetExport, htmlShowsStylesAndSpans) {
    Sheet s;
    fill(s);
    s.setColors({1, 1, 1, 1}, rgb(255, 0, 0), kDefaultColor);
    s.setBorder({2, 1, 2, 1}, kBorderTop, 1, rgb(0, 0, 255));
    s.addSpan(1, 3, 2, 1);
    Font f;
    f.weight = 700;
    s.setFont({3, 1, 3, 1}, f);
    std::string h = exportHtml(s, "T");
    EXPECT_NE(h.find("background:#ff0000"), std::string::npos);
    EXPECT_NE(h.find("border-top:1px solid #0000ff"), std::string::npos);
    EXPECT_NE(h.find("colspan=\"2\""), std::string::npos);
    EXPECT_NE(h.find("font-weight:bold"), std::string::npos);
    EXPECT_NE(h.find("&lt;b&gt;&amp;"), std::string::npos) << "cell text escaped";
    EXPECT_EQ(h.find("<b>&"), std::string::npos);
}

TEST(SheetExport, clipboardRoundTripWithQuoting) {
    Sheet s;
    fill(s);
    std::string t = clipboardCopy(s, {1, 1, 2, 2});
    EXPECT_EQ(t, "a|b\t1.5\r\n\"x\ty\"\t<b>&\r\n");
    Sheet d;
    d.setMaxCols(3);
    d.setMaxRows(3);
    CellRange w = clipboardPaste(d, {2, 2}, t);
    EXPECT_EQ(w, (CellRange{2, 2, 3, 3}));
    EXPECT_EQ(d.data(2, 3), "x\ty");
    EXPECT_EQ(d.data(3, 2), "1.5");
    EXPECT_EQ(d.value(3, 2), Value::num(1.5));
    w = clipboardPaste(d, {3, 3}, "1\t2\t3\n4\t5\t6\n");
    EXPECT_EQ(w, (CellRange{3, 3, 3, 3})) << "clipped to the grid";
}

TEST(SheetExport, xlsIsReadableByAnIndependentReader) {
    Sheet s;
    s.setMaxCols(5);
    s.setMaxRows(3000);
    for (int r = 1; r <= 3000; ++r) {
        s.setNumber(1, r, r * 0.25);
        s.setData(2, r, "text " + std::to_string(r % 700)); // many strings: the SST needs CONTINUE records
    }
    s.setData(3, 1, "héllo wörld");
    s.setFormula(4, 1, "1/0");
    s.setValue(5, 1, Value::boolean(true));
    s.addSpan(3, 2, 2, 2);
    s.setColWidthPixels(2, 150);
    s.setColors({1, 1, 1, 1}, rgb(200, 10, 10), rgb(0, 0, 255));
    std::string path = ::testing::TempDir() + "/export.xls";
    FileResult r = exportXlsFile(s, path);
    ASSERT_TRUE(r) << r.error;

    const void* h = nullptr;
    ASSERT_EQ(freexl_open(path.c_str(), &h), FREEXL_OK);
    unsigned int sheets = 0;
    ASSERT_EQ(freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &sheets), FREEXL_OK);
    EXPECT_EQ(sheets, 1u);
    ASSERT_EQ(freexl_select_active_worksheet(h, 0), FREEXL_OK);
    unsigned int rows = 0;
    unsigned short cols = 0;
    ASSERT_EQ(freexl_worksheet_dimensions(h, &rows, &cols), FREEXL_OK);
    EXPECT_EQ(rows, 3000u);
    EXPECT_EQ(cols, 5);
    FreeXL_CellValue v;
    ASSERT_EQ(freexl_get_cell_value(h, 2999, 0, &v), FREEXL_OK);
    EXPECT_EQ(v.type, FREEXL_CELL_DOUBLE);
    EXPECT_DOUBLE_EQ(v.value.double_value, 750.0);
    ASSERT_EQ(freexl_get_cell_value(h, 2998, 1, &v), FREEXL_OK);
    ASSERT_EQ(v.type, FREEXL_CELL_SST_TEXT);
    EXPECT_STREQ(v.value.text_value, "text 199") << "row 2999";
    ASSERT_EQ(freexl_get_cell_value(h, 0, 2, &v), FREEXL_OK);
    ASSERT_EQ(v.type, FREEXL_CELL_SST_TEXT);
    EXPECT_STREQ(v.value.text_value, "héllo wörld");
    freexl_close(h);
}

TEST(SheetExport, xlsRefusesTablesBeyondTheFormat) {
    Sheet s;
    s.setMaxCols(300);
    s.setMaxRows(2);
    s.setData(300, 1, "far");
    std::string bytes;
    EXPECT_FALSE(exportXls(s, bytes));
}
