// The profile features dialog driven as a person would: rows shown by their labels, row 3's two
// pairs switched by the check box, and the profile chosen in its combo or the selection dialog.
#include "LibraryTestSupport.h"

#include "production/ui/DlgProfFeatures.h"

#include <host/SectionTables.h>
#include <host/ui/DlgSelectProf.h>
#include <ui/Script.h>

namespace {

const std::string D = std::to_string(DlgProfFeatures::IDD);

std::string id(int n) {
    return std::to_string(n);
}

DlgProfFeaturesData sample() {
    DlgProfFeaturesData d;
    d.caption = "Column features";
    d.profName = "HEA-200";
    d.row1 = {"Material:", "S355"};
    d.items1 = Vor_StringArray{"S235", "S355"};
    d.row2 = {"Mark:", "K1"};
    d.row3 = {"Length:", "3600"};
    d.row3Alt = {"Top level:", "+3600"};
    d.row4 = {"", "unused"};
    d.checkLabel = "Length up to a level";
    return d;
}

class DlgProfFeaturesTest : public LibraryFolder {
protected:
    void SetUp() override {
        LibraryFolder::SetUp();
        gSectionTables.reset();
        ui::setAgent(&agent);
        writeTable("HEA.pr",
                   "1\nSysName;I/O;Nederlands;English\n180;1;HEA 180;HEA 180\n200;1;HEA 200;HEA 200\n");
        writeTable("IPE.pr",
                   "1\nSysName;I/O;Nederlands;English\n200;1;IPE 200;IPE 200\n240;1;IPE 240;IPE 240\n");
        writeTable("groups.grp", "Id;Enabled;Image;Nederlands;English\n1;1;;I-profielen;I-sections\n");
        writeTable("types.typ",
                   "Enabled;Image;Group;Table;Nederlands;English\n1;;1;HEA;HEA;HEA\n1;;1;IPE;IPE;IPE\n");
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        gSectionTables.reset();
        LibraryFolder::TearDown();
    }
    ui::ScriptedAgent agent;
};

TEST_F(DlgProfFeaturesTest, rowsWithoutLabelAreHiddenAndRowThreeSwitchesPairsWithTheCheckBox) {
    DlgProfFeaturesData d = sample();
    const std::string row3 = id(DlgProfFeatures::IDC_ROW3_EDIT);
    agent.setScript(
        "expect-dialog " + D + "\nexpect-caption \"Column features\"\nexpect-items " +
            id(DlgProfFeatures::IDC_PROFILE) + " \"HEA 180|HEA 200|*VARIES*\"\nexpect-sel " +
            id(DlgProfFeatures::IDC_PROFILE) + " 1\nexpect-text " + id(DlgProfFeatures::IDC_ROW1) +
            " \"S355\"\nexpect-text " + id(DlgProfFeatures::IDC_ROW2_LABEL) + " \"Mark:\"\nexpect-state " +
            id(DlgProfFeatures::IDC_ROW3_COMBO) + " hidden\nexpect-state " + id(DlgProfFeatures::IDC_ROW4) +
            " hidden\nexpect-state " + id(DlgProfFeatures::IDC_ROW4_LABEL) + " hidden\nexpect-text " +
            id(DlgProfFeatures::IDC_ROW3_LABEL) + " \"Length:\"\ntype " + row3 + " \"4200\"\ncheck " +
            id(DlgProfFeatures::IDC_CHECK) + " on\nexpect-text " + id(DlgProfFeatures::IDC_ROW3_LABEL) +
            " \"Top level:\"\nexpect-text " + row3 + " \"+3600\"\ntype " + row3 + " \"+7200\"\ncheck " +
            id(DlgProfFeatures::IDC_CHECK) + " off\nexpect-text " + row3 + " \"4200\"\ncheck " +
            id(DlgProfFeatures::IDC_CHECK) + " on\ntype " + id(DlgProfFeatures::IDC_ROW2) +
            " \"K2\"\nclick 1\n",
        "t.vsc");
    ASSERT_TRUE(StartDlgProfFeatures(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.row3.value, Vor_String("4200")) << "the value typed for the first pair stays with it";
    EXPECT_EQ(d.row3Alt.value, Vor_String("+7200"));
    EXPECT_TRUE(d.checked);
    EXPECT_EQ(d.row2.value, Vor_String("K2"));
    EXPECT_EQ(d.row4.value, Vor_String("unused")) << "a hidden row keeps its value";
    EXPECT_EQ(d.profName, Vor_String("HEA-200"));
}

TEST_F(DlgProfFeaturesTest, rowThreeAsAChoiceAndNoCheckBoxWithoutItsLabel) {
    DlgProfFeaturesData d = sample();
    d.row3Combo = true;
    d.items3 = Vor_StringArray{"3000", "3600"};
    d.checkLabel = "";
    d.checked = true; // without a check box the first pair is the one shown
    agent.setScript("expect-dialog " + D + "\nexpect-state " + id(DlgProfFeatures::IDC_CHECK) +
                        " hidden\nexpect-state " + id(DlgProfFeatures::IDC_ROW3_EDIT) +
                        " hidden\nexpect-items " + id(DlgProfFeatures::IDC_ROW3_COMBO) +
                        " \"3000|3600\"\nexpect-text " + id(DlgProfFeatures::IDC_ROW3_COMBO) +
                        " \"3600\"\nselect " + id(DlgProfFeatures::IDC_ROW3_COMBO) + " 0\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgProfFeatures(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.row3.value, Vor_String("3000"));
    EXPECT_EQ(d.row3Alt.value, Vor_String("+3600"));
    EXPECT_TRUE(d.checked) << "the state of a check box not in use is not touched";
}

TEST_F(DlgProfFeaturesTest, theProfileIsChosenInTheComboOrTheSelectionDialog) {
    DlgProfFeaturesData d = sample();
    const std::string profile = id(DlgProfFeatures::IDC_PROFILE);
    agent.setScript("expect-dialog " + D + "\nselect " + profile + " 0\nselect " + profile +
                        " 2\n"
                        "click " +
                        id(DlgProfFeatures::IDC_OTHER_PROFILE) + "\nexpect-dialog " +
                        std::to_string(DlgSelectProf::IDD) +
                        "\nselect 1004 \"IPE\"\nselect 1006 \"IPE 240\"\nclick 1\n" + "expect-items " +
                        profile + " \"IPE 200|IPE 240|*VARIES*\"\nexpect-sel " + profile + " 1\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgProfFeatures(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.profName, Vor_String("IPE-240"));

    d = sample();
    agent.setScript("expect-dialog " + D + "\nselect " + profile + " 0\nselect " + profile + " 2\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgProfFeatures(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.profName, Vor_String("HEA-180"))
        << "the special entry names no section: the last choice stays";
}

TEST_F(DlgProfFeaturesTest, aUserSectionIsShownWithoutItsFolderAndCancelChangesNothing) {
    DlgProfFeaturesData d = sample();
    d.profName = "User Sections\\Console 2.dwg";
    const DlgProfFeaturesData before = d;
    agent.setScript("expect-dialog " + D + "\nexpect-items " + id(DlgProfFeatures::IDC_PROFILE) +
                        " \"Console 2|*VARIES*\"\nexpect-sel " + id(DlgProfFeatures::IDC_PROFILE) +
                        " 0\ntype " + id(DlgProfFeatures::IDC_ROW2) + " \"K9\"\nclick 2\n",
                    "t.vsc");
    EXPECT_FALSE(StartDlgProfFeatures(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_TRUE(d == before);
}

} // namespace
