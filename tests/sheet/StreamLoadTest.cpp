// Loading table files as a stream: members in any order give the same table, nesting beyond the
// limit is refused at once, and what a cell points to is checked once the whole file is read.
#include "SheetTestUtil.h"

#include <sheet/SssFile.h>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace sheet;
using namespace sheet::test;
using nlohmann::json;

namespace {
// A table with every kind of cell content the file holds.
void fill(Sheet& s) {
    sized(s, 8, 300);
    s.setNumber(1, 1, 1.5);
    s.setData(1, 2, "text");
    s.setValue(1, 3, Value::boolean(true));
    s.setData(2, 3, "0012.50"); // kept as typed
    s.setFormula(3, 1, "A1*2");
    s.setFormula(3, 2, "1/0");
    s.setFormula(3, 200, "SUM(A1:A3)+C1");
    CellStyle bold;
    bold.font.weight = 700;
    s.setStyle({4, 4, 5, 6}, bold);
    CellType check;
    check.kind = CellKind::CheckBox;
    s.setCellType({6, 10, 6, 12}, check);
    s.setData(6, 0, "Header");
    s.setTag(7, 7, "tag");
    s.setNote(7, 8, "note");
    s.addSpan(2, 20, 2, 2);
}

FileResult load(Sheet& s, const std::string& text) {
    return sheetFromJson(s, text);
}

std::string replaced(std::string s, const std::string& from, const std::string& to) {
    auto at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}
} // namespace

TEST(StreamLoad, membersInAnyOrderGiveTheSameTable) {
    Sheet a;
    fill(a);
    const std::string written = sheetToJson(a);
    json doc = json::parse(written);
    // Reordered columns: the lists before the column number and the rows, values last.
    json reordered = doc;
    for (json& col : reordered["columns"]) {
        json moved = json::object();
        for (const char* k : {"types", "styles", "formulas", "typed"})
            if (col.contains(k)) moved[k] = col[k];
        std::string text = "{";
        for (auto& [k, v] : moved.items())
            text += "\"" + k + "\":" + v.dump() + ",";
        text += "\"values\":" + col["values"].dump() + ",\"rows\":" + col["rows"].dump() +
                ",\"col\":" + col["col"].dump() + "}";
        col = json::parse(text);
    }
    json rest = doc;
    rest.erase("columns");
    struct Case {
        std::string text;
        const char* why;
    } cases[] = {
        {written, "as the writer puts them: sizes and lists before the cells"},
        {doc.dump(), "keys sorted, as files of earlier versions have them: cells before sizes and formulas"},
        {"{\"columns\":" + reordered["columns"].dump() + "," + rest.dump().substr(1),
         "a column's lists before its rows and number"},
    };
    for (const Case& c : cases) {
        Sheet b;
        FileResult r = load(b, c.text);
        ASSERT_TRUE(r) << c.why << ": " << r.error;
        expectSameCells(a, b);
        EXPECT_EQ(sheetToJson(b), written) << c.why;
        EXPECT_EQ(b.data(3, 200), "4.5") << c.why << ": the formula still computes";
        b.setNumber(1, 1, 2);
        EXPECT_EQ(b.data(3, 200), "6") << c.why << ": and follows its inputs (2 + 2 x 2)";
    }
}

TEST(StreamLoad, deepNestingIsRefusedAtOnce) {
    struct Case {
        std::string text;
        const char* expected;
        const char* why;
    } cases[] = {
        {std::string(1'000'000, '['), "not a table file", "a million unclosed lists"},
        {"{\"x\":" + std::string(1'000'000, '['), "nested deeper", "a million unclosed lists in a member"},
        {"{\"format\":\"vorlane-sheet\",\"x\":" + std::string(100'000, '[') + std::string(100'000, ']') + "}",
         "nested deeper", "a deep member this version does not know"},
        {"{\"columns\":[{\"col\":1,\"rows\":[1,1],\"values\":[" + std::string(5000, '[') + "]}]}",
         "nested deeper", "deep inside a column's values"},
    };
    for (const Case& c : cases) {
        Sheet s;
        sized(s);
        s.setData(1, 1, "kept");
        auto t0 = std::chrono::steady_clock::now();
        FileResult r = load(s, c.text);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        EXPECT_FALSE(r) << c.why;
        EXPECT_NE(r.error.find(c.expected), std::string::npos) << c.why << ": " << r.error;
        EXPECT_LT(seconds, 0.5) << c.why << ": refused as soon as the limit is passed";
        EXPECT_EQ(s.data(1, 1), "kept") << c.why;
    }
}

TEST(StreamLoad, whatCellsPointToIsCheckedWhenTheFileIsComplete) {
    Sheet a;
    fill(a);
    const std::string good = sheetToJson(a);
    json doc = json::parse(good);
    const std::string sorted = doc.dump(); // cells come before the lists they point into
    struct Case {
        std::string text;
        const char* expected;
        const char* why;
    } cases[] = {
        {replaced(sorted, "\"maxRows\":300", "\"maxRows\":100"), "row: 200", "a cell below the grid"},
        {replaced(sorted, "\"maxCols\":8", "\"maxCols\":5"), "column number: 6", "a cell right of the grid"},
        {replaced(sorted, "\"formulas\":[\"", "\"formulas\":[\"1+*"), "formula 0",
         "a formula that cannot be read"},
        {replaced(sorted, "\"formulas\":[0,", "\"formulas\":[7,"), "formula index: 7",
         "past the formula list"},
        {replaced(sorted, "\"styles\":[1,", "\"styles\":[9,"), "style index: 9", "past the style list"},
        {replaced(good, "\"rows\":[1,3]", "\"rows\":[1,3,5]"), "pairs", "rows that do not come in pairs"},
        {replaced(good, "\"values\":[1.5", "\"values\":[[1]"), "cell value", "a list where a value belongs"},
        {replaced(good, "\"values\":[1.5,", "\"values\":["), "fewer values than rows", "a value missing"},
        {replaced(good, "\"col\":1,", ""), "'col' missing", "a column without its number"},
    };
    for (const Case& c : cases) {
        Sheet s;
        sized(s);
        s.setData(2, 2, "open table!");
        FileResult r = load(s, c.text);
        EXPECT_FALSE(r) << c.why;
        EXPECT_NE(r.error.find(c.expected), std::string::npos) << c.why << ": " << r.error;
        EXPECT_EQ(s.data(2, 2), "open table!") << c.why << ": the open sheet changed";
    }
}

TEST(StreamLoad, aFileIsReadFromDiskAsItWasWritten) {
    Sheet a;
    fill(a);
    const std::string path = ::testing::TempDir() + "stream_load.sss";
    ASSERT_TRUE(saveSheet(a, path));
    Sheet b;
    FileResult r = loadSheet(b, path);
    ASSERT_TRUE(r) << r.error;
    expectSameCells(a, b);
    std::remove(path.c_str());
}
