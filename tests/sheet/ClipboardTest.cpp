// Clipboard paste of tab-separated text as other spreadsheets produce it: ragged rows, quoting,
// line ends of every kind, and clipping at the edge of the grid.
#include "SheetTestUtil.h"

#include <sheet/Export.h>

#include <gtest/gtest.h>

using namespace sheet;
using namespace sheet::test;

TEST(Clipboard, raggedTabSeparatedTextPastesCellByCell) {
    struct Case {
        const char* why;
        std::string text;
        CellPos at;
        CellRange written;
        std::vector<std::pair<const char*, const char*>> cells; // cell, shown text after the paste
    } cases[] = {
        {"rows of different length",
         "1\t2\t3\r\n4\r\n5\t6\r\n",
         {2, 2},
         {2, 2, 4, 4},
         {{"B2", "1"}, {"D2", "3"}, {"B3", "4"}, {"C3", "old"}, {"D3", "old"}, {"C4", "6"}}},
        {"no line end after the last row", "a\tb\nc", {1, 1}, {1, 1, 2, 2}, {{"A2", "c"}, {"B2", "old"}}},
        {"an empty line clears one cell",
         "x\n\ny\n",
         {1, 1},
         {1, 1, 1, 3},
         {{"A2", ""}, {"B2", "old"}, {"A3", "y"}}},
        {"empty fields clear their cells",
         "\t\tz",
         {1, 1},
         {1, 1, 3, 1},
         {{"A1", ""}, {"B1", ""}, {"C1", "z"}}},
        {"a lone CR ends a row", "1\r2\r3", {1, 1}, {1, 1, 1, 3}, {{"A3", "3"}}},
        {"quoted fields keep tabs, line breaks and quotes",
         "\"a\tb\"\t\"l1\r\nl2\"\t\"say \"\"hi\"\"\"\n",
         {1, 1},
         {1, 1, 3, 1},
         {{"A1", "a\tb"}, {"B1", "l1\r\nl2"}, {"C1", "say \"hi\""}, {"A2", "old"}}},
        {"a quote inside a field is text",
         "5\"\t\"x\"y",
         {1, 1},
         {1, 1, 2, 1},
         {{"A1", "5\""}, {"B1", "xy"}}},
        {"an unterminated quote runs to the end",
         "\"open\tstill\nopen",
         {1, 1},
         {1, 1, 1, 1},
         {{"A1", "open\tstill\nopen"}, {"B1", "old"}}},
        {"clipped at the right and bottom edges",
         "1\t2\t3\n4\t5\t6\n7\t8\t9",
         {4, 5},
         {4, 5, 5, 6},
         {{"D5", "1"}, {"E5", "2"}, {"E6", "5"}}},
        {"nothing to paste", "", {1, 1}, {0, 0, 0, 0}, {{"A1", "old"}}},
        {"pasting at the header column writes nothing", "1", {0, 1}, {0, 0, 0, 0}, {{"A1", "old"}}},
    };
    for (const auto& c : cases) {
        Sheet s;
        sized(s, 5, 6);
        for (int col = 1; col <= 5; ++col)
            for (int row = 1; row <= 6; ++row)
                s.setData(col, row, "old");
        EXPECT_EQ(clipboardPaste(s, c.at, c.text), c.written) << c.why;
        for (auto [cell, shown] : c.cells)
            EXPECT_EQ(s.data(at(cell).col, at(cell).row), shown) << c.why << ": " << cell;
    }
}

TEST(Clipboard, copiedBlocksPasteBackUnchanged) {
    Sheet s;
    sized(s, 4, 4);
    const char* texts[] = {"plain", "tab\there", "line\r\nbreak", "\"quoted\"", "", "12.50", "-3", "a\"b"};
    for (int i = 0; i < 8; ++i)
        s.setData(1 + i % 2, 1 + i / 2, texts[i]);
    std::string copied = clipboardCopy(s, {1, 1, 2, 4});
    Sheet t;
    sized(t, 4, 4);
    EXPECT_EQ(clipboardPaste(t, {3, 1}, copied), (CellRange{3, 1, 4, 4}));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(t.data(3 + i % 2, 1 + i / 2), texts[i]) << i;
    EXPECT_EQ(t.value(4, 3), Value::num(12.5)) << "numbers arrive as numbers";
}
