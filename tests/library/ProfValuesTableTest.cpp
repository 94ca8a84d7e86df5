// The profile values table: reading and writing its file, columns and rows, system names, derived
// rows, and showing it in a sheet and reading it back.

#include "LibraryTestSupport.h"

#include "calc/Vor_Spread.h"
#include "frame/ModuleResourceScope.h"
#include "library/Vor_ProfValuesTable.h"

#include <ui/Dialog.h>
#include <ui/Script.h>

namespace {

const char* kHea = "1\n"
                   "SysName;I/O;Nederlands;English;Deutsch;Fran\xC3\xA7"
                   "ais;h;b\n"
                   "100;1;HEA 100;HEA 100;HEA 100;HEA 100;96;100\n"
                   "120;0;HEA 120;HEA 120;HEA 120;HEA 120;114;120\n"
                   "140;;HEA 140;HEA 140;HEA 140;HEA 140;133;140\n";

Vor_ProfValuesTable tableOf(const Vor_StringArray& header, std::initializer_list<Vor_StringArray> rows) {
    Vor_ProfValuesTable t;
    t.tableName = "T";
    t.typeCode = "1";
    t.columnNames = header;
    for (const Vor_StringArray& r : rows)
        t.rows.append(r);
    return t;
}

using ProfValuesTable = LibraryFolder;

TEST_F(ProfValuesTable, readsTypeHeaderAndRowsAndNamesTheTableAfterItsFile) {
    writeTable("HEA.pr", kHea);
    Vor_ProfValuesTable t;
    ASSERT_TRUE(t.readFromFile("HEA.pr"));
    EXPECT_EQ(t.tableName, Vor_String("HEA"));
    EXPECT_EQ(t.typeCode, Vor_String("1"));
    EXPECT_EQ(t.columnNames.length(), 8);
    ASSERT_EQ(t.rows.length(), 3);
    EXPECT_EQ(t.rows[2][6], Vor_String("133"));
    EXPECT_TRUE(t.problems().isEmpty()) << t.problems()[0].str();
}

TEST_F(ProfValuesTable, writeThenReadGivesTheSameTable) {
    Vor_ProfValuesTable t =
        tableOf({"SysName", "I/O", "English", "h"},
                {{"a;b", "1", "He said \"hi\"", "1.5"}, {"two\nlines", "0"}, {"x", "1", "", "", "extra"}});
    t.typeCode = "Profile 7.dwg";
    ASSERT_TRUE(t.writeToFile("Round.pr"));
    Vor_ProfValuesTable back;
    ASSERT_TRUE(back.readFromFile("Round.pr"));
    EXPECT_EQ(back.typeCode, t.typeCode);
    EXPECT_EQ(back.columnNames, t.columnNames);
    ASSERT_EQ(back.rows.length(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(back.rows[i], t.rows[i]) << "row " << i << " keeps its cells, separators and quotes";
    EXPECT_EQ(back.tableName, Vor_String("Round")) << "the name comes from the file, not from the table";
}

TEST_F(ProfValuesTable, oddFilesLoadAsFarAsTheyGoAndSayWhat) {
    struct Case {
        const char* why;
        const char* text;
        const char* type;
        int columns, rows;
        const char* problem; // part of a note, or "" for a clean read
    };
    const Case cases[] = {
        {"a single line stays the only row", "1\n", "", 0, 1, ""},
        {"a header only gives no rows", "1\nSysName;I/O;English\n", "1", 3, 0, ""},
        {"empty lines are left out", "\n1\n\nSysName;I/O\n\n10;1\n\n", "1", 2, 1, "empty lines"},
        {"a header after an empty type line is a header, not a row", "\nSysName;I/O\n", "", 2, 0,
         "no section type line"},
        {"a missing type line leaves the type open", "SysName;I/O;English\n10;1;A 10\n", "", 3, 1,
         "no section type line"},
        {"an open quote is read line by line", "1\nSysName;I/O\n\"10;1\n20;1\n", "1", 2, 2,
         "read line by line"},
        {"a duplicate key is kept and named", "1\nSysName;I/O\n10;1\n10;0\n", "1", 2, 2, "is also on line 3"},
        {"a long row is kept and named", "1\nSysName;I/O\n10;1;x;y\n", "1", 2, 1, "2 cells more"},
        {"a value that is no number is named", "1\nSysName;I/O;English;h\n10;1;A;abc\n", "1", 4, 1,
         "h \"abc\" is no number"},
        {"old code page text becomes UTF-8",
         "1\nSysName;I/O;English\n10;1;Stra\xDF"
         "e\n",
         "1", 3, 1, ""},
    };
    for (const Case& c : cases) {
        writeTable("X.pr", c.text);
        Vor_ProfValuesTable t;
        ASSERT_TRUE(t.readFromFile("X.pr")) << c.why;
        EXPECT_EQ(t.typeCode, Vor_String(c.type)) << c.why;
        EXPECT_EQ(t.columnNames.length(), c.columns) << c.why;
        EXPECT_EQ(t.rows.length(), c.rows) << c.why;
        bool found = std::string(c.problem).empty() ? t.problems().isEmpty() : false;
        for (const Vor_String& p : t.problems())
            found = found || p.contains(c.problem);
        EXPECT_TRUE(found) << c.why << (t.problems().isEmpty() ? "" : ": " + t.problems()[0].str());
    }
    writeTable("X.pr", "1\nSysName;I/O;English\n10;1;Stra\xDF"
                       "e\n");
    Vor_ProfValuesTable t;
    ASSERT_TRUE(t.readFromFile("X.pr"));
    EXPECT_EQ(t.rows[0][2], Vor_String("Stra\xC3\x9F"
                                       "e"));
    EXPECT_FALSE(t.readFromFile("Missing.pr")) << "no file, no table";
    EXPECT_FALSE(t.problems().isEmpty()) << "and it says why";
}

TEST_F(ProfValuesTable, aLongTableWithAFewBadRowsLoadsWholeAndNamesOnlyTheFirstFaults) {
    std::string text = "1\nSysName;I/O;English;h\n";
    for (int r = 1; r <= 20000; ++r)
        text += std::to_string(r) + ";1;A " + std::to_string(r) + ";" +
                (r % 500 == 0 ? "x" : std::to_string(r)) + "\n";
    writeTable("Long.pr", text);
    Vor_ProfValuesTable t;
    ASSERT_TRUE(t.readFromFile("Long.pr"));
    EXPECT_EQ(t.rows.length(), 20000);
    ASSERT_EQ(t.problems().length(), 21) << "twenty notes and a count of the rest";
    EXPECT_TRUE(t.problems()[0].contains("Long.pr:502:"))
        << t.problems()[0].str() << ": file line of row 500";
    EXPECT_TRUE(t.problems()[20].contains("20 more notes")) << t.problems()[20].str();
    ASSERT_TRUE(t.writeToFile("Long.pr"));
    EXPECT_EQ(lib.read("prof/Long.pr"), text) << "written back byte for byte";
}

TEST_F(ProfValuesTable, columnsByIndexAndHeader) {
    Vor_ProfValuesTable t = tableOf({"SysName", "I/O", "h"}, {{"a", "1"}, {"b", "1", "5", "extra"}});
    Vor_StringArray out{"kept"};
    EXPECT_FALSE(t.getColumn(out, 2)) << "the first row decides the width, even when later rows are longer";
    EXPECT_FALSE(t.getColumn(out, -1));
    EXPECT_EQ(out, Vor_StringArray{"kept"}) << "a failed read leaves the list alone";
    t.rows[0].append("7");
    ASSERT_TRUE(t.getColumn(out, "h"));
    EXPECT_EQ(out, (Vor_StringArray{"7", "5"}));
    t.rows[1].setLogicalLength(1);
    ASSERT_TRUE(t.getColumn(out, 2));
    EXPECT_EQ(out, (Vor_StringArray{"7", ""})) << "a short row gives an empty cell";
    EXPECT_FALSE(t.getColumn(out, "nothing"));
    EXPECT_FALSE(Vor_ProfValuesTable().getColumn(out, 0)) << "no rows, no column";
}

TEST_F(ProfValuesTable, systemNamesFilteringAndPositions) {
    Vor_ProfValuesTable t =
        tableOf({"SysName", "I/O"}, {{"100", "1"}, {"120", "0"}, {"140", ""}, {"160", "1"}});
    Vor_StringArray names;
    t.getSysNames(names);
    EXPECT_EQ(names, (Vor_StringArray{"T-100", "T-120", "T-140", "T-160"}));
    t.getFilteredSysNames(names);
    EXPECT_EQ(names, (Vor_StringArray{"T-100", "T-160"})) << "only the flag \"1\" counts as in use";
    EXPECT_EQ(t.getfilteredIdx(0), 0);
    EXPECT_EQ(t.getfilteredIdx(3), 1) << "two rows before it are not in use";
    EXPECT_EQ(t.getfilteredIdx(4), -1);
    EXPECT_EQ(t.getfilteredIdx(-1), -1);
    int row = -1;
    EXPECT_TRUE(t.findSysName("140", row));
    EXPECT_EQ(row, 2);
    EXPECT_FALSE(t.findSysName("T-140", row)) << "the key, not the system name";
    t.removeInactiveEntries();
    t.getSysNames(names);
    EXPECT_EQ(names, (Vor_StringArray{"T-100", "T-140", "T-160"})) << "only the row flagged 0 goes";
    Vor_ProfValuesTable narrow = tableOf({"SysName", "I/O"}, {{"100"}, {"120", "1"}});
    narrow.getSysNames(names);
    EXPECT_TRUE(names.isEmpty()) << "a first row without a flag gives no names";
}

TEST_F(ProfValuesTable, insertRowDerivesKeyAndDescriptionOfTheCurrentLanguage) {
    writeTable("IPE.pr",
               "1\nSysName;I/O;Nederlands;English;h\n200;1;IPE 200;IPE 200 en;200\n220;1;IPE 220;x;220\n");
    Vor_ProfValuesTable t;
    ASSERT_TRUE(t.readFromFile("IPE.pr"));
    ASSERT_TRUE(t.insertRow(0));
    ASSERT_EQ(t.rows.length(), 3);
    EXPECT_EQ(t.rows[1], (Vor_StringArray{"200_1", "1", "IPE 200", "IPE 200_1", "200"}))
        << "a copy of row 0 with a fresh key; only the English description follows it";
    ASSERT_TRUE(t.insertRow(-1));
    EXPECT_EQ(t.rows[0], (Vor_StringArray{"1", "", "", "IPE1", ""})) << "at the top, from nothing";
    ASSERT_TRUE(t.insertRow(0));
    EXPECT_EQ(t.rows[1][0], Vor_String("1_1")) << "the key is fresh again";

    Vor_ProfValuesTable noLanguage = tableOf({"SysName", "I/O", "h"}, {{"5", "1", "5"}});
    ASSERT_TRUE(noLanguage.insertRow(0));
    EXPECT_EQ(noLanguage.rows[1], (Vor_StringArray{"5_1", "1", "5"})) << "only the key changes";
}

class ProfValuesSheet : public ProfValuesTable {
protected:
    void SetUp() override {
        ProfValuesTable::SetUp();
        ui::setAgent(&agent);
        ModuleResourceScope scope;
        ASSERT_TRUE(dlg.create());
        ASSERT_TRUE(grid.attach(&dlg, 1196));
    }
    void TearDown() override {
        dlg.destroyWindow();
        ui::setAgent(nullptr);
        ProfValuesTable::TearDown();
    }
    ui::ScriptedAgent agent;
    ui::Dialog dlg{208};
    Vor_Spread grid;
};

TEST_F(ProfValuesSheet, showAndReadBackKeepsEveryCell) {
    Vor_ProfValuesTable t = tableOf({"SysName", "I/O", "English", "h"}, {{"10", "1", "A 10", "10"},
                                                                         {"12", "0", "A 12"},
                                                                         {"14", "1", "A 14", "14", "note"},
                                                                         {"16", "", "A 16"}});
    ASSERT_TRUE(t.setToSS(grid));
    EXPECT_EQ(grid.maxRows(), 4);
    EXPECT_EQ(grid.maxCols(), 5) << "a cell beyond the header gets a column of its own";
    EXPECT_FALSE(grid.changed());
    Vor_String s;
    grid.getText(0, 2, kTextValue, s);
    EXPECT_EQ(s, Vor_String("T")) << "every row header is the table name";
    grid.getText(4, 0, kTextValue, s);
    EXPECT_EQ(s, Vor_String("h"));
    sheet::CellType type;
    grid.GetCellType(2, 1, type);
    EXPECT_EQ(type.kind, sheet::CellKind::CheckBox) << "the flag is a check box";

    Vor_ProfValuesTable back;
    ASSERT_TRUE(back.getFromSS(grid));
    EXPECT_EQ(back.tableName, Vor_String("T"));
    EXPECT_EQ(back.columnNames, t.columnNames) << "no empty header is added";
    EXPECT_EQ(back.rows[1], (Vor_StringArray{"12", "0", "A 12", ""})) << "short rows fill up to the header";
    EXPECT_EQ(back.rows[2], t.rows[2]) << "the cell beyond the header survives";
    EXPECT_EQ(back.rows[3][1], Vor_String("")) << "a flag that is neither 1 nor 0 stays as it was";
    EXPECT_TRUE(back.typeCode.isEmpty()) << "the type is not in the sheet";
}

TEST_F(ProfValuesSheet, anEmptyTableEmptiesTheSheet) {
    grid.setMaxCols(3);
    grid.setMaxRows(3);
    Vor_ProfValuesTable empty = tableOf({"SysName", "I/O"}, {});
    EXPECT_FALSE(empty.setToSS(grid));
    EXPECT_EQ(grid.maxRows(), 0);
    EXPECT_EQ(grid.maxCols(), 0);
    Vor_ProfValuesTable t = tableOf({"SysName"}, {{"x"}});
    EXPECT_FALSE(t.getFromSS(grid)) << "nothing to read";
    EXPECT_EQ(t.rows.length(), 1) << "and nothing changed";
}

} // namespace
