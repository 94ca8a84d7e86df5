// Section lists: the sizes of a section's table in a profile combo, display names from the host,
// and choosing another section in the profile selection dialog.

#include "LibraryTestSupport.h"

#include "frame/ModuleResourceScope.h"
#include "library/SectionLists.h"

#include <host/SectionTables.h>
#include <host/ui/DlgSelectProf.h>
#include <ui/Control.h>
#include <ui/Dialog.h>
#include <ui/Script.h>

namespace {

const char* kHea = "1\n"
                   "SysName;I/O;Nederlands;English;h\n"
                   "100;1;HEA 100 nl;HEA 100;96\n"
                   "120;0;HEA 120 nl;HEA 120;114\n"
                   "140;1;;;133\n";

class SectionLists : public LibraryFolder {
protected:
    void SetUp() override {
        LibraryFolder::SetUp();
        gSectionTables.reset();
        writeTable("HEA.pr", kHea);
    }
    void TearDown() override {
        gSectionTables.reset();
        LibraryFolder::TearDown();
    }
};

TEST_F(SectionLists, sectionsOfTheSameTableAreTheInUseRowsThenTheSpecialEntry) {
    Vor_StringArray names, shown;
    ASSERT_TRUE(sectionsOfSameTable("HEA-120", names, shown));
    EXPECT_EQ(names, (Vor_StringArray{"HEA-100", "HEA-140"}));
    EXPECT_EQ(shown, (Vor_StringArray{"HEA 100", "HEA-140", "*VARIES*"}))
        << "English descriptions; a size without one shows its system name";
    struct Case {
        const char* why;
        const char* sysName;
    };
    const Case empty[] = {{"no table of that name", "IPE-200"},
                          {"no \"-\": no table, even when a file of the whole name exists", "HEA"},
                          {"an empty name", ""}};
    for (const Case& c : empty) {
        EXPECT_FALSE(sectionsOfSameTable(c.sysName, names, shown)) << c.why;
        EXPECT_TRUE(names.isEmpty()) << c.why;
        EXPECT_EQ(shown, Vor_StringArray{"*VARIES*"}) << c.why;
    }
    ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "nl"));
    EXPECT_EQ(sectionDisplayName("HEA-100"), Vor_String("HEA 100 nl")) << "the names follow the language";
    EXPECT_EQ(sectionDisplayName("HEA-999"), Vor_String("HEA-999"));
}

TEST_F(SectionLists, comboItemsOfTableSectionsAndUserSections) {
    Vor_StringArray names, shown;
    Vor_String select;
    profileComboItems("HEA-140", names, shown, select);
    EXPECT_EQ(select, Vor_String("HEA-140"));
    EXPECT_EQ(names.length(), 2);
    profileComboItems("User Sections\\Console 2.dwg", names, shown, select);
    EXPECT_EQ(names, Vor_StringArray{"User Sections\\Console 2.dwg"}) << "the user section alone";
    EXPECT_EQ(shown, (Vor_StringArray{"Console 2", "*VARIES*"}));
    EXPECT_EQ(select, Vor_String("Console 2"));
}

class ProfileSelection : public SectionLists {
protected:
    void SetUp() override {
        SectionLists::SetUp();
        ui::setAgent(&agent);
        writeTable("IPE.pr",
                   "1\nSysName;I/O;Nederlands;English\n200;1;IPE 200;IPE 200\n220;1;IPE 220;IPE 220\n");
        writeTable("groups.grp",
                   "Id;Enabled;Image;Nederlands;English\n1;1;;I-profielen;I-sections\n2;0;;Uit;Off\n");
        writeTable("types.typ", "Enabled;Image;Group;Table;Nederlands;English\n1;;1;IPE;IPE;IPE\n"
                                "1;;1;HEA;HEA;HEA\n1;;2;HEB;HEB;HEB\n");
        lib.write("User Sections/Console.dwg", "x");
        icons.write("icons/ProfSectionI-big.bmp", "BM");
        ModuleResourceScope scope;
        ASSERT_TRUE(dlg.create());
    }
    void TearDown() override {
        dlg.destroyWindow();
        ui::setAgent(nullptr);
        SectionLists::TearDown();
    }
    ui::ScriptedAgent agent;
    ui::Dialog dlg{175}; // its combo 1005 stands for a profile combo
};

TEST_F(ProfileSelection, aChosenSizeFillsTheComboAnew) {
    const std::string dd = std::to_string(DlgSelectProf::IDD);
    agent.setScript("expect-dialog " + dd +
                        "\n"
                        "expect-items 1002 \"I-sections|User sections\"\n" // the disabled group is left out
                        "expect-sel 1002 0\n"
                        "expect-items 1004 \"IPE|HEA\"\n"
                        "expect-sel 1004 1\n"
                        "expect-items 1006 \"HEA 100|140\"\n" // the key where no name is given
                        "expect-sel 1006 0\n"
                        "select 1004 0\n"
                        "expect-items 1006 \"IPE 200|IPE 220\"\n"
                        "type 1008 \"22\"\n"
                        "expect-items 1006 \"IPE 220\"\n"
                        "answer ok\n"
                        "click 1\n" // nothing chosen yet
                        "expect-message \"Choose a size first.\"\n"
                        "select 1006 0\n"
                        "expect-text 1010 \"IPE-220\"\n"
                        "click 1\n",
                    "t.vsc");
    Vor_StringArray names;
    Vor_String current = "HEA-100";
    ui::Control* combo = dlg.item(1005);
    fillProfileCombo(combo, names, current);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->curSel(), 0);
    ASSERT_TRUE(chooseOtherSection(combo, names, current));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(current, Vor_String("IPE-220"));
    EXPECT_EQ(names, (Vor_StringArray{"IPE-200", "IPE-220"})) << "the list is that of the new table";
    EXPECT_EQ(combo->itemText(2), "*VARIES*");
    EXPECT_EQ(combo->curSel(), 1) << "the chosen size is selected";
    fillProfileCombo(combo, names, "IPE-999");
    EXPECT_EQ(combo->curSel(), -1) << "a size that is not listed selects nothing";
}

TEST_F(ProfileSelection, aUserSectionComesBackWithoutTheLibraryFolderAndCancelChangesNothing) {
    const std::string dd = std::to_string(DlgSelectProf::IDD);
    agent.setScript("expect-dialog " + dd +
                        "\n"
                        "select 1002 1\n"
                        "expect-items 1006 \"Console\"\n"
                        "select 1006 0\n"
                        "click 1\n"
                        "expect-dialog " +
                        dd +
                        "\n"
                        "expect-sel 1002 1\n"
                        "expect-sel 1006 0\n"
                        "click 2\n",
                    "t.vsc");
    Vor_StringArray names;
    Vor_String current = "HEA-100";
    ASSERT_TRUE(chooseOtherSection(nullptr, names, current));
    EXPECT_EQ(current, Vor_String("User Sections/Console.dwg"));
    EXPECT_EQ(names, Vor_StringArray{"User Sections/Console.dwg"});
    EXPECT_FALSE(chooseOtherSection(nullptr, names, current));
    EXPECT_EQ(current, Vor_String("User Sections/Console.dwg")) << "cancel keeps the section";
    EXPECT_FALSE(agent.failed()) << agent.failure();
}

} // namespace
