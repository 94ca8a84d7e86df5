// Editing the section library as it is used: derived values of new sizes follow from their
// dimensions, a save writes untouched cells as they were read, column names survive the size dialog
// and a change of type, a key is never written twice, a renamed table takes its types along, and a
// profile combo names its sizes as the host does.

#include "LibraryTestSupport.h"

#include "library/NamePattern.h"
#include "library/SectionLists.h"
#include "library/SectionProperties.h"
#include "library/SectionTypeCodes.h"
#include "library/Vor_ProfValuesTable.h"
#include "library/ui/DlgEditLibSections.h"
#include "library/ui/DlgEditLibSimple.h"

#include <host/DlgSelectProfData.h>
#include <host/FileUtils.h>
#include <host/SectionTables.h>
#include <host/VorUtils.h>
#include <ui/Script.h>

#include <cmath>
#include <filesystem>

namespace {

const char* const kBundled[] = {"IPE", "IPEA", "IPEO", "HEAA", "HEA", "HEB", "HEM", "IPN", "UPE",
                                "UPN", "L",    "LU",   "SHS",  "RHS", "CHS", "FL",  "RD"};

class LibraryEditing : public LibraryFolder {
protected:
    void SetUp() override {
        LibraryFolder::SetUp();
        ui::setAgent(&agent);
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        LibraryFolder::TearDown();
    }
    void copyBundled(const std::string& name) {
        std::filesystem::copy_file(defaultLibDir().str() + "prof/" + name + ".pr",
                                   lib.file("prof/" + name + ".pr"));
    }
    Vor_ProfValuesTable read(const std::string& name) {
        Vor_ProfValuesTable t;
        EXPECT_TRUE(t.readFromFile(Vor_String(name) + ".pr")) << name;
        return t;
    }
    ui::ScriptedAgent agent;
};

TEST_F(LibraryEditing, everyDerivedValueOfTheBundledTablesFollowsFromTheDimensions) {
    // The library's formulas give every derived cell of the bundled tables as the data script
    // wrote it, to the last figure.
    for (const char* name : kBundled) {
        copyBundled(name);
        const Vor_ProfValuesTable t = read(name);
        int derivedColumns = 0;
        for (const Vor_String& h : t.columnNames)
            derivedColumns += isDerivedColumn(t.typeCode.toInt(), h) ? 1 : 0;
        EXPECT_GE(derivedColumns, 2) << name << ": area and mass at least";
        for (const Vor_StringArray& stored : t.rows) {
            Vor_StringArray row = stored;
            for (int c = firstValueColumn(); c < row.length(); ++c)
                if (isDerivedColumn(t.typeCode.toInt(), t.columnNames[c])) row[c] = "";
            Vor_StringArray leftEmpty;
            fillDerivedColumns(t, firstValueColumn(), {}, row, leftEmpty);
            EXPECT_TRUE(leftEmpty.isEmpty()) << name << " " << stored[0].str();
            for (int c = firstValueColumn(); c < row.length(); ++c)
                EXPECT_EQ(row[c], stored[c])
                    << name << " " << stored[0].str() << " " << t.columnNames[c].str();
        }
    }
}

TEST_F(LibraryEditing, dimensionsThatMakeNoSectionDeriveNothing) {
    DerivedValues v;
    struct Case {
        const char* why;
        int type;
        std::vector<double> dimensions;
        bool derived;
    };
    const Case cases[] = {
        {"an I-section", 1, {200, 100, 5.6, 8.5, 12}, true},
        {"a sharp I-section", 1, {200, 100, 5.6, 8.5, 0}, true},
        {"a dimension missing", 1, {200, 100, 5.6, 8.5}, false},
        {"a dimension that is no number", 1, {200, NAN, 5.6, 8.5, 12}, false},
        {"a zero width", 1, {200, 0, 5.6, 8.5, 12}, false},
        {"flanges thicker than the height", 1, {20, 100, 5.6, 10, 12}, false},
        {"a tube wall of half the diameter", 11, {60, 30}, false},
        {"a negative radius", 10, {100, 100, 5, -1}, false},
        {"a type without formulas", 5, {100, 100, 10, 10}, false},
        {"a round bar", 9, {10}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(deriveSectionValues(c.type, c.dimensions, v), c.derived) << c.why;
        EXPECT_EQ(v.empty(), !c.derived) << c.why;
    }
    ASSERT_TRUE(deriveSectionValues(9, {10}, v));
    EXPECT_EQ(v[0].first, "A [cm2]");
    EXPECT_NEAR(v[0].second, M_PI * 25 / 100, 1e-12) << "a round bar of 10 mm is pi 5^2 mm2";
    EXPECT_NEAR(v[1].second, M_PI * 25 * 1e-6 * 7850, 1e-12) << "at 7850 kg/m3";
    EXPECT_EQ(derivedValueText("Iy [cm4]", 1943.04), "1943");
    EXPECT_EQ(derivedValueText("iy [cm]", 8.2649), "8.26");
    EXPECT_EQ(derivedValueText("Wel.y [cm3]", 194.26), "194.3");
    EXPECT_EQ(derivedValueText("A [cm2]", 1943.041), "1943.04");
}

TEST_F(LibraryEditing, aNewSizeTypedWithTheDimensionsOfABundledSizeGetsThatSizesRow) {
    // The bundled size is taken out first; typed anew after the example of its neighbour, it comes
    // back cell for cell: its area, mass and properties are its own, none is copied.
    struct Case {
        const char* table;
        const char* example;
        const char* size; // taken out, then typed anew
        const char* typing;
    };
    const Case cases[] = {
        // the derived fields follow the dimensions as they are typed
        {"IPE", "200", "220",
         "type 1300 \"220\"\ntype 1302 \"110\"\ntype 1304 \"5.9\"\ntype 1306 \"9.2\"\n"
         "expect-text 1310 \"33.37\"\nexpect-text 1312 \"26.20\"\nexpect-text 1314 \"2772\"\n"},
        {"RD", "6", "8", "type 1300 \"8\"\n"},
        {"CHS", "60.3x3.2", "60.3x4", "type 1302 \"4\"\n"},
        {"L", "50x5", "60x6",
         "type 1300 \"60\"\ntype 1302 \"60\"\ntype 1304 \"6\"\ntype 1306 \"6\"\ntype 1308 \"8\"\ntype 1310 "
         "\"4\"\n"},
        {"SHS", "100x100x5", "100x100x6", "type 1304 \"6\"\ntype 1306 \"9\"\n"},
        {"IPN", "200", "220",
         "type 1300 \"220\"\ntype 1302 \"98\"\ntype 1304 \"8.1\"\ntype 1306 \"12.2\"\ntype 1308 \"8.1\"\n"
         "type 1310 \"4.9\"\n"},
        {"UPN", "200", "220",
         "type 1300 \"220\"\ntype 1302 \"80\"\ntype 1304 \"9\"\ntype 1306 \"12.5\"\ntype 1308 \"12.5\"\n"
         "type 1310 \"6.5\"\n"},
    };
    for (const Case& c : cases) {
        copyBundled(c.table);
        Vor_ProfValuesTable t = read(c.table);
        int at = -1;
        ASSERT_TRUE(t.findSysName(c.size, at)) << c.table << " " << c.size;
        const Vor_StringArray bundled = t.rows[at];
        t.deleteRow(at);
        agent.setScript(std::string("expect-dialog 226\n") + c.typing + "click 1\n", "t.vsc");
        int index = -1;
        ASSERT_TRUE(StartDlgEditLibSimple(c.example, t, index)) << c.table;
        EXPECT_FALSE(agent.failed()) << c.table << ": " << agent.failure();
        ASSERT_TRUE(t.findSysName(c.size, at)) << c.table << " " << c.size;
        EXPECT_EQ(arrToStr(t.rows[at], ';').str(), arrToStr(bundled, ';').str()) << c.table;
    }
}

TEST_F(LibraryEditing, derivedValuesATypeHasNoFormulaForAreLeftEmptyAndSaid) {
    writeTable("T.pr", "5\nSysName;I/O;Nederlands;English;Deutsch;Fran\xC3\xA7"
                       "ais;Height;Width;A [cm2]\n"
                       "100;1;T 100;T 100;;;100;100;19.00\n");
    Vor_ProfValuesTable t = read("T");
    agent.setScript("expect-dialog 226\n"
                    "type 1300 \"120\"\n"
                    "answer ok\n"
                    "click 1\n"
                    "expect-message \"left empty: A [cm2]\"\n",
                    "t.vsc");
    int index = -1;
    ASSERT_TRUE(StartDlgEditLibSimple("100", t, index));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    int row = -1;
    ASSERT_TRUE(t.findSysName("120", row));
    EXPECT_EQ(t.rows[row][8], Vor_String("")) << "not the example's 19.00";

    // a derived value the person types stays as typed
    agent.setScript("expect-dialog 226\n"
                    "type 1300 \"140\"\n"
                    "type 1304 \"25.5\"\n"
                    "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgEditLibSimple("100", t, index));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    ASSERT_TRUE(t.findSysName("140", row));
    EXPECT_EQ(t.rows[row][8], Vor_String("25.5"));
}

TEST_F(LibraryEditing, theSimpleEditorNeverWritesAKeyTwice) {
    copyBundled("IPE");
    copyBundled("HEAA");
    struct Case {
        const char* table;
        const char* key;
        const char* typing;
    };
    const Case cases[] = {
        {"IPE", "200", ""},                                // OK on the example itself
        {"HEAA", "200", "type 1300 \"190\"\n"},            // a new height: the key is the width
        {"IPE", "200", "click 1359\ntype 1000 \"220\"\n"}, // a typed name another size has
    };
    for (const Case& c : cases) {
        Vor_ProfValuesTable t = read(c.table);
        const Vor_ProfValuesTable before = t;
        agent.setScript(std::string("expect-dialog 226\n") + c.typing +
                            "answer ok\n"
                            "click 1\n"
                            "expect-message \"already has a size\"\n"
                            "click 2\n",
                        "t.vsc");
        int index = -1;
        EXPECT_FALSE(StartDlgEditLibSimple(c.key, t, index)) << c.table << " " << c.typing;
        EXPECT_FALSE(agent.failed()) << c.table << ": " << agent.failure();
        EXPECT_EQ(t.rows.length(), before.rows.length()) << c.table;
    }
    // a new width makes a new key, and the description keeps what follows the key
    Vor_ProfValuesTable t = read("HEAA");
    agent.setScript("expect-dialog 226\n"
                    "type 1302 \"210\"\n"
                    "expect-text 1000 \"HE 210 AA\"\n"
                    "click 1\n",
                    "t.vsc");
    int index = -1;
    ASSERT_TRUE(StartDlgEditLibSimple("200", t, index));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    int row = -1;
    ASSERT_TRUE(t.findSysName("210", row));
    EXPECT_EQ(t.rows[row][2], Vor_String("HE 210 AA"));
    EXPECT_EQ(t.rows[row][3], Vor_String("HE 210 AA"));
}

class LibraryTablesEditing : public LibraryEditing {
protected:
    std::string run(const std::string& script, const std::string& sysName, bool expectOk) {
        agent.setScript(script, "t.vsc");
        const bool ok = StartDlgEditLibSections(data, sysName);
        EXPECT_EQ(ok, expectOk);
        return agent.failed() ? agent.failure() : "";
    }
    DlgEditLibData data;
};

TEST_F(LibraryTablesEditing, columnNamesSurviveTheSizeDialogAndAChangeOfType) {
    copyBundled("IPE");
    const Vor_StringArray names = read("IPE").columnNames;
    ASSERT_EQ(names.length(), 21);
    // the size dialog, unchanged, and a save
    std::string script = "expect-dialog 209\n"
                         "expect-dialog 8716\n"
                         "click 1200\n"
                         "expect-dialog 176\n"
                         "click 1\n"
                         "expect-dialog 8716\n"
                         "expect-cell 1196 12 0 \"A [cm2]\"\n"
                         "answer yes\n"
                         "expect-dialog 209\n"
                         "click 1\n";
    EXPECT_EQ(run(script, "IPE-200", true), "");
    EXPECT_EQ(read("IPE").columnNames, names) << "all 21 names";

    // a type of fewer columns, keeping the columns: the type names its own, the others keep theirs
    script = "expect-dialog 209\n"
             "expect-dialog 8716\n"
             "answer no\n"
             "select 1202 \"" +
             sectionTypeDisplay(9).str() +
             "\"\n"
             "expect-message \"fewer columns\"\n"
             "expect-cell 1196 7 0 \"Diameter\"\n"
             "expect-cell 1196 8 0 \"Width\"\n"
             "answer yes\n"
             "expect-dialog 209\n"
             "click 1\n";
    EXPECT_EQ(run(script, "IPE-200", true), "");
    const Vor_ProfValuesTable t = read("IPE");
    ASSERT_EQ(t.columnNames.length(), 21);
    EXPECT_EQ(t.columnNames[6], Vor_String("Diameter"));
    for (int c = 7; c < 21; ++c)
        EXPECT_EQ(t.columnNames[c], names[c]) << c;
}

TEST_F(LibraryTablesEditing, aSaveWritesUntouchedCellsAsTheyWereRead) {
    const std::string untouched = "007;1;ZZ 007;ZZ 007;;;1.50;12%;123456789012345678901234;0.10;1e3\n";
    writeTable("ZZ.pr", "1\nSysName;I/O;Nederlands;English;Deutsch;Fran\xC3\xA7"
                        "ais;a;b;c;d;e\n" +
                            untouched + "8;1;ZZ 8;ZZ 8;;;1;2;3;4;5\n");
    const std::string script = "expect-dialog 209\n"
                               "expect-dialog 8716\n"
                               "cell 1196 7 2 \"1.0\"\n" // one edit in the other row
                               "answer yes\n"
                               "expect-dialog 209\n"
                               "click 1\n";
    EXPECT_EQ(run(script, "ZZ-8", true), "");
    const std::string text = lib.read("prof/ZZ.pr");
    EXPECT_NE(text.find(untouched), std::string::npos) << text;
    EXPECT_NE(text.find("8;1;ZZ 8;ZZ 8;;;1.0;2;3;4;5\n"), std::string::npos) << "the edit as typed: " << text;
}

TEST_F(LibraryTablesEditing, aRenamedTableTakesItsTypesAlongAlsoOnCancel) {
    copyBundled("IPE");
    data.m_types.append(SectionType{true, "ProfSectionI", 1, "IPE", {"IPE", "IPE", "IPE", "IPE"}});
    data.m_types.append(SectionType{true, "ProfSectionI", 1, "HEA", {"HEA", "HEA", "HEA", "HEA"}});
    const std::string rename = "expect-dialog 209\n"
                               "expect-dialog 8716\n"
                               "click 1201\n"
                               "expect-dialog 8069\n"
                               "type 8003 \"IPE2\"\n"
                               "click 1\n"
                               "expect-dialog 209\n"
                               "select 8097 1\n" // the types page shows the new name
                               "expect-dialog 8139\n"
                               "expect-text 1198 \"IPE2\"\n"
                               "expect-dialog 209\n";
    EXPECT_EQ(run(rename + "click 1\n", "IPE-200", true), "");
    EXPECT_EQ(data.m_types[0].m_table, Vor_String("IPE2"));
    EXPECT_EQ(data.m_types[1].m_table, Vor_String("HEA"));
    Vor_StringArray sysNames, names;
    EXPECT_TRUE(listProfSizes(data.m_types[0].m_table, "", sysNames, names)) << "the selection lists it";
    EXPECT_EQ(sysNames.length(), 18);

    // Cancel: the file is renamed already, so the caller's types follow it
    const std::string back = "expect-dialog 209\n"
                             "expect-dialog 8716\n"
                             "click 1201\n"
                             "expect-dialog 8069\n"
                             "type 8003 \"IPE\"\n"
                             "click 1\n"
                             "expect-dialog 209\n"
                             "click 2\n";
    EXPECT_EQ(run(back, "IPE2-200", false), "");
    EXPECT_EQ(data.m_types[0].m_table, Vor_String("IPE"));
    EXPECT_TRUE(fileExists(lib.file("prof/IPE.pr")));
}

TEST_F(LibraryEditing, aProfileComboNamesItsSizesAsTheHostDoes) {
    writeTable("K.pr", "1\nSysName;I/O;Nederlands;English;Deutsch;Fran\xC3\xA7"
                       "ais;h\n"
                       "1;1;K een;K one;;;1\n"
                       "2;1;K twee;;;;2\n" // no English name: the system name
                       "3;0;K drie;K three;;;3\n"
                       "1;1;K again;K again;;;4\n" // a repeated key: the first row's name
                       "4;1;K vier;K four\n");
    Vor_StringArray sysNames, names;
    ASSERT_TRUE(sectionsOfSameTable("K-1", sysNames, names));
    ASSERT_EQ(sysNames.length(), 4);
    ASSERT_EQ(names.length(), 5) << "and the special entry";
    gSectionTables.reset();
    for (int i = 0; i < sysNames.length(); ++i)
        EXPECT_EQ(names[i], sectionDisplayName(sysNames[i])) << sysNames[i].str();
    EXPECT_EQ(names[1], Vor_String("K-2"));
    EXPECT_EQ(names[2], Vor_String("K one"));
}

} // namespace
