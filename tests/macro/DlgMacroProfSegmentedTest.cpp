// The segmented profile dialog: the profile shown is stored before another is shown and by OK,
// into its own entry; rows are added and deleted only where one is chosen.
#include "macro/ui/DlgMacroProfSegmented.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using D = DlgMacroProfSegmented;
std::string id(int n) {
    return std::to_string(n);
}
const std::string GRID = id(D::IDC_GRID);

Vor_Array<MacroSegmentData> twoProfiles() {
    Vor_Array<MacroSegmentData> s;
    s.append({"Rail", "HEA-200", "10", false, {"2", "4"}});
    s.append({"Purlin", "IPE-300", "5", true, {}});
    return s;
}

class DlgMacroProfSegmentedTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
    }
    void TearDown() override { ui::setAgent(nullptr); }
    bool run(Vor_Array<MacroSegmentData>& segments, const std::string& script) {
        agent.setScript("expect-dialog " + id(D::IDD) + "\n" + script, "t.vsc");
        D dlg;
        dlg.segments = segments;
        const bool ok = dlg.doModal() == ui::IDOK;
        EXPECT_FALSE(agent.failed()) << agent.failure();
        if (ok) segments = dlg.segments;
        return ok;
    }
    ui::ScriptedAgent agent;
};

TEST_F(DlgMacroProfSegmentedTest, okStoresTheShownProfileIntoItsOwnEntry) {
    Vor_Array<MacroSegmentData> s = twoProfiles();
    ASSERT_TRUE(run(s, "expect-items " + id(D::IDC_PROFILES) +
                           " \"Rail - HEA-200|Purlin - IPE-300\"\nselect " + id(D::IDC_PROFILES) +
                           " 1\nexpect-text " + id(D::IDC_NAME) + " \"Purlin\"\ntype " +
                           id(D::IDC_CLEARANCE) + " \"7,5\"\nclick " + id(D::IDC_BREAK_ALL) + "\nclick 1\n"));
    EXPECT_EQ(s[1].clearance, Vor_String("7.5")) << "the shown profile, stored by OK";
    EXPECT_FALSE(s[1].breakAtEveryPoint);
    EXPECT_EQ(s[0], twoProfiles()[0]) << "the other profile is untouched";
}

TEST_F(DlgMacroProfSegmentedTest, choosingAnotherProfileStoresTheShownOneFirst) {
    Vor_Array<MacroSegmentData> s = twoProfiles();
    ASSERT_FALSE(run(s, "type " + id(D::IDC_NAME) + " \"Rail 2\"\ncell " + GRID + " 1 2 \"5\"\nselect " +
                            id(D::IDC_PROFILES) + " 1\nexpect-text " + id(D::IDC_NAME) +
                            " \"Purlin\"\nselect " + id(D::IDC_PROFILES) + " 0\nexpect-text " +
                            id(D::IDC_NAME) + " \"Rail 2\"\nexpect-cell " + GRID + " 1 2 \"5\"\nclick 2\n"));
    ASSERT_TRUE(
        run(s, "type " + id(D::IDC_NAME) + " \"Rail 2\"\nselect " + id(D::IDC_PROFILES) + " 1\nclick 1\n"));
    EXPECT_EQ(s[0].name, Vor_String("Rail 2"));
    EXPECT_EQ(s[1].name, Vor_String("Purlin"));
}

TEST_F(DlgMacroProfSegmentedTest, rowsAreAddedAfterTheChosenOneAndDeletedOnlyWhenChosen) {
    Vor_Array<MacroSegmentData> s = twoProfiles();
    ASSERT_TRUE(run(s, "select-cells " + GRID + " 1 1 1 1\nclick " + id(D::IDC_ADD_ROW) + "\ncell " + GRID +
                           " 1 2 \"3\"\nselect-cells " + GRID + " 1 3 1 3\nclick " + id(D::IDC_DELETE_ROW) +
                           "\nselect " + id(D::IDC_PROFILES) + " 1\nclick " + id(D::IDC_DELETE_ROW) +
                           "\nclick 1\n"));
    EXPECT_EQ(s[0].breakPoints, (Vor_StringArray{"2", "3"})) << "3 added after 2, then 4 deleted";
    EXPECT_TRUE(s[1].breakPoints.isEmpty()) << "no rows: delete does nothing";
}

TEST_F(DlgMacroProfSegmentedTest, withoutProfilesNothingIsShownAndOkKeepsNothing) {
    Vor_Array<MacroSegmentData> s;
    ASSERT_TRUE(run(s, "expect-state " + id(D::IDC_NAME) + " disabled\nclick 1\n"));
    EXPECT_TRUE(s.isEmpty());
}

} // namespace
