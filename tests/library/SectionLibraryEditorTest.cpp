// The section library editor as a person uses it: the tables page opening on a section, editing and
// saving a table, the section type with its columns, new, renamed and deleted tables, and the
// groups and types pages.

#include "LibraryTestSupport.h"

#include "frame/ModuleResourceScope.h"
#include "library/SectionTypeCodes.h"
#include "library/Vor_ProfValuesTable.h"
#include "library/ui/DlgEditLibSections.h"

#include <host/FileUtils.h>
#include <host/VorUtils.h>
#include <ui/Application.h>
#include <ui/Control.h>
#include <ui/Script.h>

#include <filesystem>

namespace {

const char* kHea = "1\n"
                   "SysName;I/O;Nederlands;English;Deutsch;Fran\xC3\xA7"
                   "ais;Height;Width;Web thickness;Flange thickness\n"
                   "100;1;HEA 100;HEA 100;HEA 100;HEA 100;96;100;5;8\n"
                   "120;0;HEA 120;HEA 120;HEA 120;HEA 120;114;120;5;8\n"
                   "140;1;HEA 140;HEA 140;HEA 140;HEA 140;133;140;5.5;8.5\n";
const char* kIpe = "1\nSysName;I/O;Nederlands;English;Deutsch;Fran\xC3\xA7"
                   "ais;Height\n200;1;IPE 200;IPE 200;;;200\n";

class SectionLibraryEditor : public LibraryFolder {
protected:
    void SetUp() override {
        LibraryFolder::SetUp();
        ui::setAgent(&agent);
        writeTable("HEA.pr", kHea);
        writeTable("IPE.pr", kIpe);
        data.m_groups.append(SectionGroup{4, true, "ProfSectionI", {"I nl", "I-sections", "", ""}});
        data.m_types.append(SectionType{true, "ProfSectionI", 4, "HEA", {"HEA", "HEA", "HEA", "HEA"}});
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        LibraryFolder::TearDown();
    }
    std::string run(const std::string& script, const std::string& sysName, bool expectOk) {
        agent.setScript(script, "t.vsc");
        const bool ok = StartDlgEditLibSections(data, sysName);
        EXPECT_EQ(ok, expectOk);
        return agent.failed() ? agent.failure() : "";
    }
    Vor_ProfValuesTable table(const std::string& name) {
        Vor_ProfValuesTable t;
        EXPECT_TRUE(t.readFromFile(Vor_String(name) + ".pr")) << name;
        return t;
    }
    ui::ScriptedAgent agent;
    DlgEditLibData data;
};

TEST_F(SectionLibraryEditor, opensOnTheSectionAndSavesAnEditedTableThatReopensIdentical) {
    const std::string script = "expect-dialog 209\n"
                               "expect-sel 8097 2\n"
                               "expect-dialog 8716\n"
                               "expect-items 1248 \"HEA|IPE\"\n"
                               "expect-sel 1248 0\n"
                               "expect-text 1202 \"<I-section>\"\n"
                               "expect-cell 1196 1 3 \"140\"\n"
                               "expect-cell 1196 0 3 \"HEA\"\n"
                               "cell 1196 7 1 \"97\"\n"
                               "answer yes\n"
                               "select 1248 1\n" // another table: the change is saved first
                               "expect-message \"<HEA>\"\n"
                               "expect-cell 1196 1 1 \"200\"\n"
                               "select 1248 0\n"
                               "expect-no-message\n" // nothing changed since
                               "expect-cell 1196 7 1 \"97\"\n"
                               "expect-dialog 209\n"
                               "click 1\n";
    EXPECT_EQ(run(script, "HEA-140", true), "");
    Vor_ProfValuesTable before;
    writeTable("Before.pr", kHea);
    ASSERT_TRUE(before.readFromFile("Before.pr"));
    before.rows[0][6] = "97"; // sheet column 7 holds cell 6
    const Vor_ProfValuesTable after = table("HEA");
    EXPECT_EQ(after.typeCode, before.typeCode);
    EXPECT_EQ(after.columnNames, before.columnNames);
    ASSERT_EQ(after.rows.length(), 3);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(arrToStr(after.rows[r], '|').str(), arrToStr(before.rows[r], '|').str())
            << "row " << r << ": only the edited cell differs";
}

TEST_F(SectionLibraryEditor, aSectionOfAnUnknownTableOpensTheFirstAndCancelAsksForChanges) {
    const std::string script = "expect-dialog 209\n"
                               "expect-dialog 8716\n"
                               "expect-sel 1248 0\n"
                               "cell 1196 3 1 \"changed\"\n"
                               "expect-dialog 209\n"
                               "answer cancel\n"
                               "click 2\n" // the question's Cancel keeps the dialog
                               "expect-message \"save the changes\"\n"
                               "answer no\n"
                               "click 2\n";
    EXPECT_EQ(run(script, "UPE-200", false), "");
    EXPECT_EQ(table("HEA").rows[0][2], Vor_String("HEA 100")) << "No drops the change";
}

TEST_F(SectionLibraryEditor, aTypeWithFewerColumnsAsksBeforeCuttingThem) {
    const std::string round = sectionTypeDisplay(9).str();
    const std::string script = "expect-dialog 209\n"
                               "expect-dialog 8716\n"
                               "answer no\n"
                               "select 1202 \"" +
                               round +
                               "\"\n"
                               "expect-message \"fewer columns\"\n"
                               "expect-cell 1196 7 0 \"Diameter\"\n"
                               "expect-cell 1196 10 0 \"Flange thickness\"\n" // the columns stay, named
                               "expect-cell 1196 10 3 \"8.5\"\n"
                               "answer yes\n"
                               "select 1202 \"" +
                               sectionTypeDisplay(1).str() +
                               "\"\n"
                               "expect-no-message\n"                // the I-section needs them all again
                               "expect-cell 1196 11 0 \"Radius\"\n" // and one more
                               "answer yes\n"
                               "select 1202 \"" +
                               round +
                               "\"\n"
                               "expect-message \"fewer columns\"\n"
                               "answer yes\n"
                               "expect-dialog 209\n"
                               "click 1\n";
    EXPECT_EQ(run(script, "HEA-100", true), "");
    const Vor_ProfValuesTable t = table("HEA");
    EXPECT_EQ(t.typeCode, Vor_String("9"));
    EXPECT_EQ(t.columnNames.length(), 7) << "key, flag, four languages, diameter";
    EXPECT_EQ(t.columnNames[6], Vor_String("Diameter"));
    EXPECT_EQ(t.rows[0].length(), 7);
}

TEST_F(SectionLibraryEditor, newRenamedAndDeletedTables) {
    const std::string script = "expect-dialog 209\n"
                               "expect-dialog 8716\n"
                               "click 1189\n"
                               "expect-items 1248 \"HEA|IPE|New table\"\n"
                               "expect-text 1202 \"<>\"\n"
                               "expect-cell 1196 7 0 \"Value1\"\n"
                               "answer no\n"
                               "click 1189\n" // the first new table is not kept
                               "expect-message \"<New table>\"\n"
                               "expect-items 1248 \"HEA|IPE|New table|New table_1\"\n"
                               "answer no\n"
                               "select 1248 0\n"
                               "expect-message \"<New table_1>\"\n"
                               // renaming to its own name does nothing, to a name with "-" is refused
                               "click 1201\n"
                               "expect-dialog 8069\n"
                               "click 1\n"
                               "expect-dialog 8716\n"
                               "expect-no-message\n"
                               "click 1201\n"
                               "expect-dialog 8069\n"
                               "type 8003 \"HE-A\"\n"
                               "answer ok\n"
                               "click 1\n"
                               "expect-dialog 8716\n"
                               "expect-message \"may not\"\n"
                               "click 1201\n"
                               "expect-dialog 8069\n"
                               "type 8003 \"HEAA\"\n"
                               "click 1\n"
                               "expect-dialog 8716\n"
                               "expect-sel 1248 0\n"
                               "expect-items 1248 \"HEAA|IPE|New table|New table_1\"\n"
                               "select 1248 1\n"
                               "answer yes\n"
                               "click 1190\n"
                               "expect-message \"<IPE>\"\n"
                               "expect-items 1248 \"HEAA|New table|New table_1\"\n"
                               "expect-sel 1248 0\n"
                               "expect-cell 1196 1 1 \"100\"\n"
                               "expect-dialog 209\n"
                               "click 1\n";
    EXPECT_EQ(run(script, "HEA-100", true), "");
    EXPECT_FALSE(fileExists(lib.file("prof/HEA.pr")));
    EXPECT_TRUE(fileExists(lib.file("prof/HEAA.pr")));
    EXPECT_FALSE(fileExists(lib.file("prof/IPE.pr")));
    EXPECT_FALSE(fileExists(lib.file("prof/New table.pr"))) << "nothing is written until saved";
    EXPECT_EQ(table("HEAA").rows.length(), 3);
}

TEST_F(SectionLibraryEditor, rowsAreInsertedMovedAndDeletedAndTheSizeDialogRenewsTheTable) {
    const std::string script = "expect-dialog 209\n"
                               "expect-dialog 8716\n"
                               "select-cells 1196 1 1 1 1\n"
                               "click 1204\n" // a row below the first
                               "expect-cell 1196 0 2 \"HEA\"\n"
                               "cell 1196 1 2 \"110\"\n"
                               "cell 1196 2 2 \"1\"\n"
                               "click 1206\n" // up above 100
                               "select-cells 1196 1 3 1 3\n"
                               "click 1205\n" // 120 goes
                               "click 1200\n"
                               "expect-dialog 176\n"
                               "type 1019 \"4\"\n"
                               "click 1\n"
                               "expect-dialog 8716\n"
                               "expect-cell 1196 0 4 \"HEA\"\n" // the new row is named after the table
                               "expect-cell 1196 7 0 \"Height\"\n"
                               "expect-cell 1196 11 0 \"Radius\"\n" // the I-section's columns, without asking
                               "expect-no-message\n"
                               "answer yes\n"
                               "expect-dialog 209\n"
                               "click 1\n";
    EXPECT_EQ(run(script, "HEA-100", true), "");
    const Vor_ProfValuesTable t = table("HEA");
    ASSERT_EQ(t.rows.length(), 3) << "the fourth row was left empty: it holds no size";
    EXPECT_EQ(t.rows[0][0], Vor_String("110"));
    EXPECT_EQ(t.rows[1][0], Vor_String("100"));
    EXPECT_EQ(t.rows[2][0], Vor_String("140"));
    EXPECT_EQ(t.columnNames.length(), 11);
}

TEST_F(SectionLibraryEditor, groupsAndTypesAreEditedOnTheCopyAndComeBackOnOk) {
    const std::string script = "expect-dialog 209\n"
                               "expect-sel 8097 0\n"
                               "expect-dialog 8138\n"
                               "expect-items 1194 \"I-sections\"\n"
                               "click 1189\n"
                               "expect-items 1194 \"I-sections|New group\"\n"
                               "expect-sel 1194 1\n"
                               "cell 1193 1 2 \"Plates\"\n"
                               "check 1185 off\n"
                               "type 1195 \"ProfSectionRect\"\n"
                               "pick 1194 0\n"
                               "expect-items 1194 \"I-sections|Plates\"\n"
                               "expect-state 1185 checked\n"
                               "expect-dialog 209\n"
                               "select 8097 1\n"
                               "expect-dialog 8139\n"
                               "expect-items 1196 \"I-sections|Plates\"\n"
                               "expect-sel 1196 0\n"
                               "expect-text 1198 \"HEA\"\n"
                               "click 1189\n"
                               "expect-items 1199 \"HEA|New type\"\n"
                               "select 1196 1\n"
                               "type 1198 \"FL\"\n"
                               "expect-dialog 209\n"
                               "click 1\n";
    EXPECT_EQ(run(script, "", true), "");
    ASSERT_EQ(data.m_groups.length(), 2);
    EXPECT_EQ(data.m_groups.getName(1), Vor_String("Plates"));
    EXPECT_FALSE(data.m_groups.getEnabled(1));
    EXPECT_EQ(data.m_groups.getImage(1), Vor_String("ProfSectionRect"));
    ASSERT_EQ(data.m_types.length(), 2);
    EXPECT_EQ(data.m_types[1].m_group, data.m_groups.getId(1)) << "the group is kept by its number";
    EXPECT_EQ(data.m_types[1].m_table, Vor_String("FL"));
    EXPECT_EQ(data.m_types[1].m_names[0], Vor_String("Nieuw type"));

    DlgEditLibData copy = data;
    const std::string cancel = "expect-dialog 209\n"
                               "expect-dialog 8138\n"
                               "click 1190\n" // the first group goes
                               "expect-items 1194 \"Plates\"\n"
                               "expect-dialog 209\n"
                               "click 2\n";
    EXPECT_EQ(run(cancel, "", false), "");
    EXPECT_EQ(data, copy) << "Cancel leaves the caller's data";
}

TEST_F(SectionLibraryEditor, theCheckMarksOfTheGroupAndTypeListsAreTheEnabledFlags) {
    // The lists are check combos: a mark toggled in the list is the item's enabled flag (and the
    // check box's, when that item is the one shown), a click on an item's text shows that item,
    // and the check box below puts its flag back into the list.
    const std::string script = "expect-dialog 209\n"
                               "expect-dialog 8138\n"
                               "expect-text 1194 \"I-sections\"\n" // the edit part lists the marked
                               "click 1189\n"
                               "expect-sel 1194 1\n"
                               "expect-text 1194 \"I-sections, New group\"\n"
                               "select 1194 0\n" // unmarks I-sections, which is not the one shown
                               "expect-sel 1194 1\n"
                               "expect-state 1185 checked\n"
                               "expect-text 1194 \"New group\"\n"
                               "check 1185 off\n" // the shown group's flag goes into the list
                               "expect-text 1194 \"\"\n"
                               "pick 1194 0\n"
                               "expect-sel 1194 0\n"
                               "expect-state 1185 unchecked\n"
                               "select 1194 0\n" // marks the shown group again
                               "expect-state 1185 checked\n"
                               "expect-dialog 209\n"
                               "select 8097 1\n"
                               "expect-dialog 8139\n"
                               "expect-text 1199 \"HEA\"\n"
                               "select 1199 0\n"
                               "expect-state 1185 unchecked\n"
                               "expect-text 1199 \"\"\n"
                               "expect-dialog 209\n"
                               "click 1\n";
    EXPECT_EQ(run(script, "", true), "");
    ASSERT_EQ(data.m_groups.length(), 2);
    EXPECT_TRUE(data.m_groups.getEnabled(0)) << "marked again while shown";
    EXPECT_FALSE(data.m_groups.getEnabled(1)) << "unmarked through the check box";
    ASSERT_EQ(data.m_types.length(), 1);
    EXPECT_FALSE(data.m_types[0].m_enabled) << "unmarked in the list";
}

TEST_F(SectionLibraryEditor, theTextsFollowTheInterfaceLanguage) {
    ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "nl"));
    const std::string script = "expect-dialog 209\n"
                               "expect-caption \"" +
                               dialString(754).str() +
                               "\"\n"
                               "expect-items 8097 \"Groepen|Typen|Tabellen\"\n"
                               "expect-dialog 8716\n"
                               "expect-text 1189 \"" +
                               dialString(779).str() +
                               "\"\n"
                               "expect-text 1202 \"<" +
                               dialString(719).str() +
                               ">\"\n"
                               "expect-dialog 209\n"
                               "click 2\n";
    EXPECT_EQ(run(script, "HEA-100", false), "");
    EXPECT_NE(dialString(779), Vor_String("New table")) << "the Dutch catalogue was read";
}

TEST_F(SectionLibraryEditor, theTablesGridGrowsWithTheDialog) {
    ModuleResourceScope scope;
    DlgEditLibSections dlg(data, "HEA-100");
    ASSERT_TRUE(dlg.create());
    ui::Control* grid = dlg.tablesPage()->item(LibTablesPage::IDC_GRID);
    const ui::Rect before = grid->windowRect(), outer = dlg.windowRect();
    dlg.moveWindow(outer.left, outer.top, outer.width() + 200, outer.height() + 100);
    ui::processEvents();
    const ui::Rect after = grid->windowRect();
    EXPECT_EQ(after.width(), before.width() + 200);
    EXPECT_EQ(after.height(), before.height() + 100);
    const ui::Rect cancel = dlg.item(ui::IDCANCEL)->windowRect(), all = dlg.windowRect();
    EXPECT_LT(all.right - cancel.right, 30) << "Cancel keeps to the lower right corner";
    EXPECT_LT(all.bottom - cancel.bottom, 30);
    dlg.destroyWindow();
}

TEST_F(SectionLibraryEditor, groupsAndTypesFilesRoundTripAndSurviveDamage) {
    data.m_groups.appendNewGrp();
    ASSERT_TRUE(data.save());
    DlgEditLibData back;
    ASSERT_TRUE(back.load());
    EXPECT_EQ(back.m_groups, data.m_groups);
    EXPECT_EQ(back.m_types, data.m_types);
    writeTable("groups.grp", "Id;Enabled;Image;English\nx;1;;Bad\n4;1;;Kept\n4;1;;Twice\n\n");
    writeTable("types.typ", "Enabled;Image;Group;Table;English\n1;;4\n1;;4;HEA;Kept\n");
    std::string error;
    ASSERT_TRUE(back.load(&error));
    EXPECT_EQ(back.m_groups.length(), 1);
    EXPECT_EQ(back.m_types.length(), 1);
    EXPECT_NE(error.find("no group number"), std::string::npos) << error;
    EXPECT_NE(error.find("is taken"), std::string::npos) << error;
    EXPECT_NE(error.find("too few fields"), std::string::npos) << error;
    EXPECT_EQ(back.m_groups.getLangs(0)[1], Vor_String("Kept")) << "names are found by their language";
}

} // namespace
