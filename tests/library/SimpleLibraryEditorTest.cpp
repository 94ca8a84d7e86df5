// The simple library editor: the naming pattern learned from the rows, the new row and where it
// goes, the check of hollow sections, and the dialog on the bundled IPE, HEA and angle tables.

#include "LibraryTestSupport.h"

#include "library/NamePattern.h"
#include "library/ui/DlgEditLibSimple.h"

#include <host/FileUtils.h>
#include <host/SortedTexts.h>
#include <ui/Script.h>

#include <filesystem>

namespace {

Vor_ProfValuesTable tableOf(const char* type, std::initializer_list<Vor_StringArray> rows) {
    Vor_ProfValuesTable t;
    t.tableName = "T";
    t.typeCode = type;
    t.columnNames = Vor_StringArray{"SysName",
                                    "I/O",
                                    "Nederlands",
                                    "English",
                                    "Deutsch",
                                    "Fran\xC3\xA7"
                                    "ais",
                                    "h",
                                    "b",
                                    "t",
                                    "r"};
    for (const Vor_StringArray& r : rows)
        t.rows.append(r);
    return t;
}

using NamePatterns = LibraryFolder;

TEST_F(NamePatterns, keyPartsMapToTheirOwnValueFields) {
    // key = first, second and fourth value
    Vor_ProfValuesTable t = tableOf(
        "10", {{"200x100x8", "1", "Koker 200x100x8", "RHS 200x100x8", "", "", "200", "100", "5", "8"}});
    NamePattern p = learnNamePattern(t, 0);
    ASSERT_TRUE(p.found);
    EXPECT_EQ(p.keyPositions, (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(p.prefixes, (Vor_StringArray{"Koker ", "RHS ", "", ""}));
    EXPECT_EQ(p.languageSlot, 1) << "English is the second language";
    EXPECT_EQ(composeKey(p, Vor_StringArray{"300", "150", "10", "12"}), Vor_String("300x150x12"));
    EXPECT_EQ(composeName(p, Vor_StringArray{"300", "150", "10", "12"}), Vor_String("RHS 300x150x12"));
    EXPECT_EQ(composeKey(p, Vor_StringArray{"300", "150"}), Vor_String("300x150"))
        << "hidden fields are skipped";

    // two equal dimensions go to two fields; numbers compare as numbers
    Vor_ProfValuesTable sq =
        tableOf("10", {{"100x100x5", "1", "", "SHS 100x100x5", "", "", "100.0", "100", "5", "7.5"}});
    p = learnNamePattern(sq, 0);
    ASSERT_TRUE(p.found);
    EXPECT_EQ(p.keyPositions, (std::vector<int>{0, 1, 2}));

    // a row that does not match hands on to the next one
    Vor_ProfValuesTable odd = tableOf("1", {{"special", "1", "", "X special", "", "", "1", "2"},
                                            {"2x1", "1", "", "Y 2x1", "", "", "1", "2"}});
    p = learnNamePattern(odd, 0);
    ASSERT_TRUE(p.found);
    EXPECT_EQ(p.keyPositions, (std::vector<int>{1, 0}));
    EXPECT_EQ(p.prefixes[1], Vor_String("Y "));
    EXPECT_FALSE(learnNamePattern(odd, 5).found) << "past the end: no pattern";
}

TEST_F(NamePatterns, newRowsAreCheckedAndGoToTheirSortedPlace) {
    NamePattern p;
    p.prefixes = Vor_StringArray{"K ", "R ", "", ""};
    p.languageSlot = 1;
    p.keyPositions = {0, 1, 2};
    p.found = true;
    const Vor_StringArray current{"100x50x5", "0",  "K 100x50x5", "R 100x50x5", "x",    "y",
                                  "100",      "50", "5",          "7.5",        "extra"};
    Vor_StringArray row;
    ASSERT_TRUE(buildNewRow(current, p, true, "", {"120", "60", "5", "7.5"}, row));
    EXPECT_EQ(row, (Vor_StringArray{"120x60x5", "1", "K 120x60x5", "R 120x60x5", "120x60x5", "120x60x5",
                                    "120", "60", "5", "7.5", ""}))
        << "in use, every description follows the key, a column without a field is emptied";
    ASSERT_TRUE(buildNewRow(current, p, false, "own", {"120"}, row));
    EXPECT_EQ(row[0], Vor_String("own"));
    EXPECT_EQ(row[2], Vor_String("own")) << "a typed name gets no prefix";
    EXPECT_FALSE(buildNewRow({"a"}, p, true, "", {}, row)) << "a row too short makes nothing";

    struct Case {
        const char* why;
        const char* type;
        const char* t;
        const char* r;
        bool valid;
    };
    const Case cases[] = {{"radius equal to the wall", "10", "5", "5", false},
                          {"no radius", "10", "5", "0", true},
                          {"radius above the wall, typed with a comma", "10", "5", "7,5", true},
                          {"radius below the wall", "10", "6", "3", false},
                          {"another section type is not checked", "1", "6", "3", true}};
    for (const Case& c : cases)
        EXPECT_EQ(isValidNewRow(c.type, {"k", "1", "", "", "", "", "100", "50", c.t, c.r}), c.valid) << c.why;
    EXPECT_TRUE(isValidNewRow("10", {"k", "1", "", "", "", "", "100", "50", "5"})) << "no radius column";

    Vor_ProfValuesTable shs =
        tableOf("10", {{"80x40x4"}, {"40x40x4"}, {"60x60x5"}, {"100x100x5"}, {"120x60x5"}});
    EXPECT_EQ(sortedInsertIndex(shs, "80x80x5"), 3) << "after the square size just below it";
    EXPECT_EQ(sortedInsertIndex(shs, "30x30x3"), 1) << "before the smallest square size, not after it";
    EXPECT_EQ(sortedInsertIndex(shs, "200x200x10"), 4);
    Vor_ProfValuesTable ipe = tableOf("1", {{"80"}, {"100"}, {"200"}, {"1000"}});
    EXPECT_EQ(sortedInsertIndex(ipe, "150"), 2) << "numbers sort as numbers";
    EXPECT_EQ(sortedInsertIndex(ipe, "2000"), 4);
    EXPECT_LT(compareNatural("168.3x6.3", "168.3x8"), 0);
    EXPECT_LT(compareNatural("L 50", "l 60"), 0) << "letters without regard to case";
}

class SimpleLibraryEditor : public LibraryFolder {
protected:
    void SetUp() override {
        LibraryFolder::SetUp();
        ui::setAgent(&agent);
        for (const char* name : {"IPE.pr", "HEA.pr", "L.pr", "SHS.pr"})
            std::filesystem::copy_file(defaultLibDir().str() + "prof/" + name,
                                       lib.file(std::string("prof/") + name));
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        LibraryFolder::TearDown();
    }
    Vor_ProfValuesTable read(const char* name) {
        Vor_ProfValuesTable t;
        EXPECT_TRUE(t.readFromFile(name));
        return t;
    }
    ui::ScriptedAgent agent;
};

TEST_F(SimpleLibraryEditor, newSizesFollowTheSeriesAndLandAtTheirPlace) {
    struct Case {
        const char* table;
        const char* start;
        const char* typing; // script lines that type the new values
        const char* name;   // shown before OK
        const char* key;
        const char* description; // English
        const char* before;      // the key of the row before the new one
    };
    const Case cases[] = {
        {"IPE.pr", "200", "type 1300 \"210\"\ntype 1302 \"105\"\n", "IPE 210", "210", "IPE 210", "200"},
        // an HEA key up to 300 is the width of the size: the pattern takes the width
        {"HEA.pr", "200", "type 1300 \"200\"\ntype 1302 \"210\"\n", "HEA 210", "210", "HEA 210", "200"},
        {"L.pr", "50x5", "type 1300 \"55\"\ntype 1302 \"55\"\ntype 1304 \"6\"\ntype 1306 \"6\"\n",
         "Angle 55x6", "55x6", "Angle 55x6", "50x6"},
    };
    for (const Case& c : cases) {
        Vor_ProfValuesTable t = read(c.table);
        const int before = t.rows.length();
        agent.setScript(std::string("expect-dialog 226\nexpect-state 1000 disabled\n") + c.typing +
                            "expect-text 1000 \"" + c.name + "\"\nclick 1\n",
                        "t.vsc");
        int index = -1;
        ASSERT_TRUE(StartDlgEditLibSimple(c.start, t, index)) << c.table;
        EXPECT_FALSE(agent.failed()) << c.table << ": " << agent.failure();
        ASSERT_EQ(t.rows.length(), before + 1) << c.table;
        int row = -1;
        ASSERT_TRUE(t.findSysName(c.key, row)) << c.table << " " << c.key;
        EXPECT_EQ(t.rows[row][3], Vor_String(c.description)) << c.table;
        EXPECT_EQ(t.rows[row - 1][0], Vor_String(c.before))
            << c.table << ": the new size at its sorted place";
        EXPECT_EQ(index, row) << c.table << ": every row is in use, so the index is the row";
    }
}

TEST_F(SimpleLibraryEditor, aTypedNameAndAnHeaTableWhoseKeyIsNoDimension) {
    // HEA keys are the series number, which is no dimension of the size (HEA 300 is 290 high): the
    // name is typed
    Vor_ProfValuesTable t = read("HEA.pr");
    agent.setScript("expect-dialog 226\n"
                    "expect-text 1299 \"A. Height:\"\n"
                    "expect-text 1312 \"42.26\"\n" // the mass is field G
                    "expect-state 1314 visible\n"  // eight values: Iy follows the mass
                    "click 1359\n"
                    "expect-state 1000 enabled\n"
                    "type 1000 \"210\"\n"
                    "type 1300 \"200\"\n"
                    "expect-text 1000 \"210\"\n" // typing values leaves a typed name alone
                    "click 1\n",
                    "t.vsc");
    int index = -1;
    ASSERT_TRUE(StartDlgEditLibSimple("200", t, index));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    int row = -1;
    ASSERT_TRUE(t.findSysName("210", row));
    EXPECT_EQ(t.rows[row - 1][0], Vor_String("200"));
    EXPECT_EQ(t.rows[row][6], Vor_String("200"));
    EXPECT_EQ(t.rows[row][3], Vor_String("210")) << "a typed name is the description as it stands";
}

TEST_F(SimpleLibraryEditor, aUserSectionTableNamesItsFieldsByItsOwnTranslatedColumns) {
    lib.write("translations.txt", "Prof;hp;en;Plate height\n");
    gMacroLangs.reset();
    writeTable("Console.pr", "Console.dwg\nSysName;I/O;Nederlands;English;Deutsch;Fran\xC3\xA7"
                             "ais;hp;tp\n"
                             "200x10;1;C 200x10;Console 200x10;;;200;10\n");
    Vor_ProfValuesTable t = read("Console.pr");
    agent.setScript("expect-dialog 226\n"
                    "expect-state 1294 hidden\n" // no picture of that drawing
                    "expect-text 1299 \"A. Plate height:\"\n"
                    "expect-text 1301 \"B. tp:\"\n"
                    "expect-state 1303 hidden\n"
                    "type 1300 \"150\"\n"
                    "expect-text 1000 \"Console 150x10\"\n"
                    "click 1\n",
                    "t.vsc");
    int index = -1;
    ASSERT_TRUE(StartDlgEditLibSimple("200x10", t, index));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(index, 0) << "150 sorts before 200";
    EXPECT_EQ(t.rows[0][0], Vor_String("150x10"));
}

TEST_F(SimpleLibraryEditor, aHollowSectionWithABadRadiusIsRefusedAndCancelKeepsTheTable) {
    Vor_ProfValuesTable t = read("SHS.pr");
    const Vor_ProfValuesTable before = t;
    agent.setScript("expect-dialog 226\n"
                    "expect-text 1000 \"SHS 100x100x5\"\n"
                    "type 1300 \"110\"\ntype 1302 \"110\"\ntype 1304 \"6\"\ntype 1306 \"6\"\n"
                    "expect-text 1000 \"SHS 110x110x6\"\n"
                    "answer ok\n"
                    "click 1\n"
                    "expect-message \"corner radius\"\n"
                    "type 1306 \"9\"\n"
                    "click 2\n",
                    "t.vsc");
    int index = 7;
    EXPECT_FALSE(StartDlgEditLibSimple("100x100x5", t, index));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(index, 7);
    EXPECT_EQ(t.rows.length(), before.rows.length());
    agent.setScript("expect-dialog 226\n"
                    "type 1300 \"110\"\ntype 1302 \"110\"\ntype 1304 \"6\"\ntype 1306 \"9\"\n"
                    "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgEditLibSimple("100x100x5", t, index));
    int row = -1;
    ASSERT_TRUE(t.findSysName("110x110x6", row));
    EXPECT_EQ(t.rows[row - 1][0], Vor_String("100x100x10")) << "after the largest 100 size";
}

} // namespace
