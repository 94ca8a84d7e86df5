// The table file: every cell property survives save and load, and damaged files of every kind are
// refused with the open sheet left exactly as it was.
#include "SheetTestUtil.h"

#include <sheet/SssFile.h>

#include <gtest/gtest.h>

using namespace sheet;
using namespace sheet::test;

namespace {
// One cell for every kind of type and every style aspect, with values of every kind.
void everything(Sheet& s) {
    sized(s, 8, 9);
    const char* pictures[] = {"off.bmp", "on.bmp"};
    CellType types[8];
    for (int k = 0; k < 8; ++k)
        types[k].kind = CellKind(k);
    types[1].maxLength = 12, types[1].multiLine = true, types[1].style = kWordWrap | kAlignCenter;
    types[2].decimals = 4, types[2].minimum = -3.5, types[2].maximum = 1e6, types[2].thousands = true;
    types[2].style = kNegativeRed | kAlignRight | kAlignTop;
    types[3].picture = "beam.png", types[3].style = kPictureStretch | kPictureKeepRatio;
    types[4].items = "S235\tS355\tS460", types[4].editable = true;
    types[5].picture = pictures[0], types[5].picture2 = pictures[1], types[5].framed = true,
    types[5].text = "use";
    types[6].text = "Go";
    types[7].text = "fixed", types[7].style = 0x3000000; // rotated
    for (int k = 0; k < 8; ++k)
        s.setCellType({k + 1, 1, k + 1, 9}, types[k]);
    for (int c = 1; c <= 8; ++c) {
        CellStyle st;
        st.font.face = c % 2 ? "Tahoma" : "Courier New";
        st.font.height = 8 + c;
        st.font.weight = c % 3 ? 400 : 700;
        st.font.italic = c & 1, st.font.underline = c & 2, st.font.strikeOut = c & 4, st.font.charset = c;
        st.textColor = rgb(c * 20, 0, 255 - c);
        st.backColor = c == 8 ? kDefaultColor : rgb(255, c * 10, 0);
        for (int side = 0; side < 4; ++side)
            st.border[side] = {std::uint8_t((c + side) % 16), rgb(side * 50, c, 7)};
        st.locked = c % 2 == 0;
        s.setStyle({c, 2, c, 2}, st);
    }
    s.setData(1, 3, "text with \"quotes\" and ünïcödé");
    s.setData(2, 3, "0012.50");
    s.setNumber(3, 3, -1.25e-7);
    s.setValue(4, 3, Value::boolean(false));
    s.setValue(5, 3, Value::err(ErrorCode::NA));
    s.setFormula(6, 3, "IF(A3=\"\",1,C3*2)");
    s.setFormula(7, 3, "SUM(#1:#2)");
    s.setData(8, 3, "line1\nline2\ttab");
    s.setTag(1, 3, std::string("\xff\x00\xa4 raw", 7));
    s.setNote(2, 3, "a note\r\nwith lines");
    s.setData(0, 0, "corner");
    for (int c = 1; c <= 8; ++c)
        s.setData(c, 0, "Col " + std::to_string(c));
    for (int r = 1; r <= 9; ++r)
        s.setData(0, r, "Row " + std::to_string(r));
    s.addSpan(1, 5, 2, 3);
    s.addSpan(4, 8, 3, 1);
    for (int c = 0; c <= 8; ++c)
        s.setColWidthPixels(c, c == 3 ? 0 : 30 + 7 * c);
    for (int r = 0; r <= 9; r += 2)
        s.setRowHeightPixels(r, r == 4 ? 0 : 12 + r);
    for (int o : {1, 7, 8, 30, 77, 127})
        s.setOption(o, true);
    s.setOption(Sheet::kOptAutoRecalc, false);
    s.setUnitType(UnitType::Twips);
    s.setRefStyle(RefStyle::A1);
    s.setActiveCell(3, 4);
    s.setSelection({2, 3, 5, 7});
}

// Everything a user could see of a sheet, as one comparable text.
std::string snapshot(const Sheet& s) {
    return sheetToJson(s);
}
} // namespace

TEST(SheetFile, everyCellPropertySurvivesSaveAndLoad) {
    Sheet a;
    everything(a);
    std::string path = ::testing::TempDir() + "/everything.sss";
    ASSERT_TRUE(saveSheet(a, path));
    Sheet b;
    FileResult r = loadSheet(b, path);
    ASSERT_TRUE(r) << r.error;
    expectSameCells(a, b);
    for (int c = 0; c <= 8; ++c)
        EXPECT_EQ(b.colWidthPixels(c), a.colWidthPixels(c)) << "column " << c;
    for (int row = 0; row <= 9; ++row)
        EXPECT_EQ(b.rowHeightPixels(row), a.rowHeightPixels(row)) << "row " << row;
    for (int o = 0; o < Sheet::kOptionCount; ++o)
        EXPECT_EQ(b.option(o), a.option(o) && o != Sheet::kOptChangeMade) << "option " << o;
    EXPECT_EQ(b.spans(), a.spans());
    EXPECT_EQ(b.unitType(), UnitType::Twips);
    EXPECT_EQ(b.refStyle(), RefStyle::A1);
    EXPECT_EQ(b.activeCell(), a.activeCell());
    EXPECT_EQ(b.selection(), a.selection());
    EXPECT_TRUE(snapshot(b) == snapshot(a)) << "saving the loaded table gives the same file";
    EXPECT_EQ(b.data(2, 3), "0012.50") << "typed text kept";
    EXPECT_EQ(b.value(2, 3), Value::num(12.5));
}

TEST(SheetFile, damagedFilesAreRefusedAndTheSheetStaysAsItWas) {
    Sheet good;
    everything(good);
    const std::string json = sheetToJson(good);
    auto replaced = [&](const std::string& what, const std::string& with) {
        std::size_t at = json.find(what);
        EXPECT_NE(at, std::string::npos) << what;
        return at == std::string::npos ? json : std::string(json).replace(at, what.size(), with);
    };
    struct Case {
        std::string text;
        std::string why;
    };
    // Keys are written in alphabetical order, so "formulas", "styles" and "types" of the columns come
    // before the top-level lists of the same name: the patterns below pick the top-level ones.
    std::vector<Case> cases = {
        {replaced("\"version\":1", "\"version\":2"), "newer version"},
        {replaced("\"version\":1", "\"version\":\"1\""), "version as text"},
        {replaced("\"version\":1", "\"version\":0"), "version 0"},
        {replaced("\"format\":\"vorlane-sheet\"", "\"format\":\"vorlane-sheets\""), "foreign format"},
        {replaced("\"maxCols\":8", "\"maxCols\":\"8\""), "size as text"},
        {replaced("\"maxCols\":8", "\"maxCols\":8.5"), "size with a fraction"},
        {replaced("\"maxRows\":9", "\"maxRows\":16000001"), "more rows than the engine allows"},
        {replaced("\"maxCols\":8", "\"maxCols\":1e300"), "huge size"},
        {replaced("\"maxRows\":9", "\"maxRows\":99999999999999999999"), "size beyond 64 bits"},
        {replaced("\"maxRows\":9", "\"maxRows\":2"), "cells beyond the grid"},
        {replaced("\"options\":[", "\"options\":[100000,"), "option number out of range"},
        {replaced("\"options\":[", "\"options\":[\"x\","), "option as text"},
        {replaced("\"refStyle\":1", "\"refStyle\":9"), "unknown reference style"},
        {replaced("\"unitType\":1", "\"unitType\":-1"), "unknown unit type"},
        {replaced("\"activeCell\":[3,4]", "\"activeCell\":[3]"), "short active cell"},
        {replaced("\"selection\":[2,3,5,7]", "\"selection\":{}"), "selection of the wrong type"},
        {replaced("\"spans\":[", "\"spans\":[[1,1,9,9],"), "span beyond the grid"},
        {replaced("\"spans\":[", "\"spans\":[[2,2,1,1],"), "span with swapped corners"},
        {replaced("\"formulas\":[\"", "\"formulas\":[\"1+\",\""), "formula with a syntax error"},
        {replaced("\"columns\":[", "\"columns\":[{\"col\":1,\"rows\":[1,3],\"values\":[1]},"),
         "fewer values than rows"},
        {replaced("\"columns\":[", "\"columns\":[{\"col\":-1,\"rows\":[1,1],\"values\":[1]},"),
         "negative column"},
        {replaced("\"columns\":[", "\"columns\":[{\"col\":1,\"rows\":[1,2147483647],\"values\":[1]},"),
         "huge run of rows"},
        {replaced("\"columns\":[", "\"columns\":[{\"col\":1,\"rows\":[1,1],\"values\":[{\"error\":99}]},"),
         "unknown error code"},
        {replaced("\"columns\":[",
                  "\"columns\":[{\"col\":1,\"rows\":[1,1],\"values\":[1],\"formulas\":[999]},"),
         "formula index out of range"},
        {replaced("\"columns\":[",
                  "\"columns\":[{\"col\":1,\"rows\":[1,1],\"values\":[1],\"styles\":[999]},"),
         "style index out of range"},
        {replaced("\"columns\":[", "\"columns\":[{\"col\":1,\"rows\":[1,1],\"values\":[1],\"types\":[-2]},"),
         "type index out of range"},
        {replaced("\"tags\":[", "\"tags\":[[1,99,\"x\"],"), "tag outside the grid"},
        {replaced("\"notes\":[", "\"notes\":[[1,1],"), "note without text"},
        {replaced("\"styles\":[{", "\"styles\":[7,{"), "style that is no object"},
        {replaced("\"types\":[{", "\"types\":[{\"kind\":42},{"), "unknown cell kind"},
        {"[]", "a list instead of a table"},
        {"null", "null"},
        {std::string("\xEF\xBB\xBF") + "{", "byte order mark and nothing"},
        {std::string(3, '\0'), "zero bytes"},
    };
    // Cut at many places, including inside strings, numbers and escapes.
    for (std::size_t cut = 0; cut < json.size(); cut += json.size() / 97 + 1)
        cases.push_back({json.substr(0, cut), "cut after " + std::to_string(cut) + " bytes"});
    cases.push_back({json.substr(0, json.size() - 1), "last byte missing"});

    for (const Case& c : cases) {
        Sheet s;
        sized(s, 3, 3);
        s.setData(1, 1, "open table");
        s.setFormula(2, 2, "A1&\"!\"");
        const std::string before = snapshot(s);
        FileResult r = sheetFromJson(s, c.text);
        EXPECT_FALSE(r) << c.why;
        EXPECT_FALSE(r.error.empty()) << c.why;
        EXPECT_TRUE(snapshot(s) == before) << c.why << ": the open sheet changed";
        EXPECT_EQ(s.data(2, 2), "open table!") << c.why;
    }
    Sheet s;
    EXPECT_TRUE(sheetFromJson(s, json)) << "the undamaged text loads";
}
