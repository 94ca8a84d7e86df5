// Text, HTML and clipboard exports, and the .xls file read back by an independent reader (libfreexl).
#include <sheet/Export.h>
#include <sheet/Sheet.h>
#include <sheet/XlsWriter.h>

#include "XlsRecords.h"

#include <cstdio>
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
    EXPECT_EQ(exportText(s, 0x19), "\"a|b\"|1.5|3\r\nx\ty|<b>&|\r\n")
        << "the cell holding the bar is quoted, the tab is no separator here; the empty third row "
           "lies beyond the cells in use";
    EXPECT_EQ(exportText(s, kTextColHeaders), "Name\tB\tC\na|b\t1.5\t3\n\"x\ty\"\t<b>&\t\n")
        << "with tabs between cells the cell holding a tab is quoted";
}

// Splits one exported line at the separator, honouring quotes as the export writes them.
std::vector<std::string> splitExportLine(const std::string& line, char sep) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char ch = line[i];
        if (quoted && ch == '"' && i + 1 < line.size() && line[i + 1] == '"')
            out.back() += '"', ++i;
        else if (ch == '"' && (quoted || out.back().empty()))
            quoted = !quoted;
        else if (ch == sep && !quoted)
            out.emplace_back();
        else
            out.back() += ch;
    }
    return out;
}

TEST(SheetExport, textCellsReadBackUnambiguously) {
    const struct {
        const char* cell;
        const char* written; // as it stands in a "|" separated line
        const char* why;
    } cases[] = {
        {"plain", "plain", "an ordinary text is written as it is"},
        {"a|b", "\"a|b\"", "the separator inside a cell would split it in two"},
        {"say \"hi\"", "\"say \"\"hi\"\"\"", "quotes are doubled inside quotes"},
        {"\"", "\"\"\"\"", "a lone quote would open a quoted field"},
        {"two\nlines", "\"two\nlines\"", "a line break would end the row"},
        {"cr\rhere", "\"cr\rhere\"", "a carriage return would end the row too"},
        {"tab\there", "tab\there", "a tab is no separator in a bar-separated file"},
    };
    for (const auto& c : cases) {
        Sheet s;
        s.setMaxCols(3);
        s.setMaxRows(1);
        s.setData(1, 1, "left");
        s.setData(2, 1, c.cell);
        s.setData(3, 1, "right");
        const std::string line = exportText(s, kTextBar);
        EXPECT_EQ(line, std::string("left|") + c.written + "|right\n") << c.why;
        std::vector<std::string> back = splitExportLine(line.substr(0, line.size() - 1), '|');
        ASSERT_EQ(back.size(), 3u) << c.why;
        EXPECT_EQ(back[1], c.cell) << c.why;
    }
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

TEST(SheetExport, htmlLeavesNoWayOutOfTextsAttributesAndStyles) {
    Sheet s;
    s.setMaxCols(3);
    s.setMaxRows(2);
    Font f;
    f.face = "Arial'; } body{background:url(http://x/)} td{x:'\\\n";
    s.setFont({1, 1, 1, 1}, f);
    s.setData(1, 1, "</td><script>alert(1)</script>");
    s.setNote(2, 1, "first \"line\"\nsecond <line>");
    CellType pic;
    pic.kind = CellKind::Picture;
    pic.picture = "javascript:alert(1)";
    s.setCellType({3, 1, 3, 1}, pic);
    CellType drive = pic;
    drive.picture = "C:\\pics\\beam.bmp";
    s.setCellType({3, 2, 3, 2}, drive);
    const std::string h = exportHtml(s, "a\"b</title><script>");

    EXPECT_EQ(h.find("<script"), std::string::npos) << "no text becomes markup: " << h;
    EXPECT_EQ(h.find("body{"), std::string::npos) << "the font name cannot end its CSS string";
    EXPECT_NE(h.find("font-family:&#39;Arial\\27 \\3b  \\7d  body\\7b background\\3a url"), std::string::npos)
        << "quote, semicolon, braces and colon of the name are CSS escapes: " << h;
    EXPECT_NE(h.find("title=\"first &quot;line&quot;&#10;second &lt;line&gt;\""), std::string::npos)
        << "a note's quotes are entities and its line break stays a break of the tool tip";
    EXPECT_NE(h.find("src=\"./javascript:alert(1)\""), std::string::npos)
        << "a picture path cannot be a script URL";
    EXPECT_NE(h.find("src=\"C:\\pics\\beam.bmp\""), std::string::npos) << "a drive letter is no URL scheme";
}

TEST(SheetExport, exportsCostTheCellsInUseNotTheDeclaredGrid) {
    // A table that declares the largest grid the format allows for three cells, as a 411-byte file
    // can: the exports must write the cells in use and no more.
    Sheet s;
    ASSERT_TRUE(s.setMaxCols(kMaxColLimit));
    ASSERT_TRUE(s.setMaxRows(kMaxRowLimit));
    s.setData(1, 1, "a");
    s.setData(3, 2, "c");
    s.setData(5, 0, "Head"); // a header text widens the export to its column
    s.addSpan(1, 3, 2, 2);   // a span reaches below the last value

    EXPECT_EQ(exportText(s, kTextBar), "a||||\n||c||\n||||\n||||\n");
    const std::string h = exportHtml(s);
    EXPECT_LT(h.size(), 4000u);
    EXPECT_NE(h.find("<th>Head</th>"), std::string::npos);
    EXPECT_EQ(h.find("<th>F</th>"), std::string::npos) << "no column beyond the header text";

    const std::string all = clipboardCopy(s, {1, 1, kMaxColLimit, kMaxRowLimit});
    EXPECT_EQ(all, "a\t\t\t\t\r\n\t\tc\t\t\r\n\t\t\t\t\r\n\t\t\t\t\r\n")
        << "copying the whole grid copies the cells in use";
    EXPECT_EQ(clipboardCopy(s, {2, 1, 3, 3}), "\t\r\n\tc\r\n\t\r\n")
        << "a small selection keeps its empty cells, so that pasting it clears them";

    // One more value in the far corner makes the used block the whole grid: a text or web page of
    // 7.6e12 cells cannot be written, so both are refused at once and the old file stays.
    s.setData(kMaxColLimit, kMaxRowLimit, "far");
    EXPECT_EQ(exportText(s, 0), "");
    EXPECT_EQ(exportHtml(s), "");
    const std::string path = ::testing::TempDir() + "export_far.txt";
    ASSERT_TRUE(writeFileSafely(path, "old"));
    FileResult r = exportTextFile(s, path, 0);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("475254 columns by 16000000 rows"), std::string::npos) << r.error;
    EXPECT_FALSE(exportHtmlFile(s, path).ok);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buf[8] = {};
    EXPECT_EQ(std::fread(buf, 1, sizeof buf, f), 3u) << "the refused exports left the old file";
    std::fclose(f);
    std::remove(path.c_str());
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

TEST(SheetExport, xlsNumberCellsCarryTheFormatTheGridShows) {
    Sheet s;
    s.setMaxCols(4);
    s.setMaxRows(8);
    auto numberType = [&](int row, int decimals, bool thousands) {
        CellType t;
        t.kind = CellKind::Number;
        t.decimals = decimals;
        t.thousands = thousands;
        s.setCellType({1, row, 1, row}, t);
    };
    numberType(1, 2, false);
    s.setNumber(1, 1, 3.14159);
    numberType(2, 3, true);
    s.setNumber(1, 2, 1234.5);
    numberType(3, 0, false);
    s.setNumber(1, 3, 2.5);
    numberType(4, 0, true);
    s.setNumber(1, 4, 1234567);
    numberType(5, 2, false);
    s.setFormula(1, 5, "PI()");
    s.setData(1, 6, "12.50"); // general cell, typed with two decimals
    s.setData(1, 7, "-0.50"); // typed with decimals and a sign
    s.setData(1, 8, "007");   // no number format shows this: it stays text
    s.setNumber(2, 1, 0.1);   // general number: general format

    const struct {
        int col, row;
        const char* code;
        unsigned record;
        const char* why;
    } cases[] = {
        {1, 1, "0.00", 0x0203, "two decimals: 3.14159 shows as 3.14"},
        {1, 2, "#,##0.000", 0x0203, "three decimals with thousands separator"},
        {1, 3, "0", 0x0203, "no decimals"},
        {1, 4, "#,##0", 0x0203, "no decimals, grouped"},
        {1, 5, "0.00", 0x0203, "a formula's value in a number cell is formatted alike"},
        {1, 6, "0.00", 0x0203, "a number typed as 12.50 stays a number shown with two decimals"},
        {1, 7, "0.00", 0x0203, "a negative typed number keeps its decimals too"},
        {1, 8, "General", 0x00FD, "a typed text no format reproduces is kept as text"},
        {2, 1, "General", 0x0203, "a plain general number"},
    };
    const std::string path = ::testing::TempDir() + "/formats.xls";
    ASSERT_TRUE(exportXlsFile(s, path));
    xlstest::XlsRecords x;
    ASSERT_TRUE(x.read(path));
    for (const auto& c : cases) {
        xlstest::CellFormat f;
        ASSERT_TRUE(x.cellFormat(unsigned(c.row - 1), unsigned(c.col - 1), f)) << c.why;
        EXPECT_EQ(f.code, c.code) << c.why;
        EXPECT_EQ(f.record, c.record) << c.why;
        if (f.format != 0) {
            EXPECT_GE(f.format, 164u) << c.why << ": every format is written out";
        }
    }

    // The independent reader sees the numbers themselves.
    const void* h = nullptr;
    ASSERT_EQ(freexl_open(path.c_str(), &h), FREEXL_OK);
    ASSERT_EQ(freexl_select_active_worksheet(h, 0), FREEXL_OK);
    FreeXL_CellValue v;
    ASSERT_EQ(freexl_get_cell_value(h, 0, 0, &v), FREEXL_OK);
    ASSERT_EQ(v.type, FREEXL_CELL_DOUBLE);
    EXPECT_DOUBLE_EQ(v.value.double_value, 3.14159) << "the value is kept whole";
    ASSERT_EQ(freexl_get_cell_value(h, 5, 0, &v), FREEXL_OK);
    ASSERT_EQ(v.type, FREEXL_CELL_DOUBLE);
    EXPECT_DOUBLE_EQ(v.value.double_value, 12.5);
    freexl_close(h);
}
