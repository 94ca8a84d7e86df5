// The profile cuts dialog: which previews reach the drawing and when they go again, with the
// preview flag on and off; removing cuts, picking another profile, and the flag kept between
// openings only when the dialog closes with OK.
#include "production/ui/DlgProfCuts.h"
#include "production/ProfCutsPreviews.h"

#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

namespace {

const std::string D = std::to_string(DlgProfCuts::IDD);
const std::string CUTS = std::to_string(DlgProfCuts::IDC_CUTS);
const std::string NOPREVIEW = std::to_string(DlgProfCuts::IDC_NO_PREVIEW);
const std::string REMOVE = std::to_string(DlgProfCuts::IDC_REMOVE);
const std::string OTHER = std::to_string(DlgProfCuts::IDC_OTHER_PROFILE);

DlgProfCutsData sample() {
    DlgProfCutsData d;
    d.profiles.append({"HEA 200 (K1)", Vor_StringArray{"Mitre", "Notch", "Cope"}});
    d.profiles.append({"IPE 300 (B4)", Vor_StringArray{"Square", "Bevel"}});
    return d;
}

TEST(ProfCutsPreviews, previewsGoAgainOnlyWhileTheFlagIsOn) {
    struct Case {
        bool flag;
        Vor_Array<int> whileOpen;
        Vor_Array<int> afterClose;
        const char* why;
    } cases[] = {
        {true, {2}, {}, "each new choice takes the last preview away; closing takes the rest"},
        {false,
         {0, 1, 2},
         {0, 1, 2},
         "without the flag every chosen cut stays previewed, also after closing"},
    };
    for (const Case& c : cases) {
        DlgProfCutsData d = sample();
        ProfCutsPreviews p(d, c.flag);
        p.select(0);
        p.selectionChanged(1);
        p.selectionChanged(2);
        EXPECT_EQ(d.drawnPreviews(), c.whileOpen) << c.why;
        EXPECT_EQ(p.current(), 2);
        p.close();
        EXPECT_EQ(d.drawnPreviews(), c.afterClose) << c.why;
    }
}

TEST(ProfCutsPreviews, removingAndPickingKeepTheCurrentIndexWhereItIsValid) {
    DlgProfCutsData d = sample();
    ProfCutsPreviews p(d, true);
    p.select(2);
    p.removeCut(2);
    EXPECT_EQ(p.current(), -1) << "the last cut went: the same index names no cut";
    EXPECT_TRUE(d.drawnPreviews().isEmpty());
    p.select(7);
    EXPECT_EQ(p.current(), -1) << "an invalid index leaves no current cut";
    p.select(1);
    EXPECT_TRUE(p.otherProfile([&] { return d.selectOtherProf(); }));
    EXPECT_EQ(d.current, 1);
    EXPECT_EQ(p.current(), 1) << "the same index in the other profile's cuts";
    EXPECT_EQ(d.drawnPreviews(), Vor_Array<int>{1});
    EXPECT_EQ(d.drawnPreviewCount(), 1) << "the flag took the first profile's preview away";
    EXPECT_FALSE(p.otherProfile([] { return false; })) << "nothing picked";
    EXPECT_EQ(p.current(), 1);
}

TEST(DlgProfCutsData, previewsFollowTheirCutsAndTheJsonFormRoundTrips) {
    DlgProfCutsData d = sample();
    ASSERT_TRUE(d.drawCutPreview(0));
    ASSERT_TRUE(d.drawCutPreview(2));
    EXPECT_FALSE(d.drawCutPreview(3)) << "no such cut";
    ASSERT_TRUE(d.removeCut(1));
    EXPECT_EQ(d.drawnPreviews(), (Vor_Array<int>{0, 1})) << "the preview of the cope moved up with it";
    EXPECT_FALSE(d.removeCutPreview(2));
    const nlohmann::json j = d;
    const DlgProfCutsData back = j.get<DlgProfCutsData>();
    EXPECT_EQ(back.profiles, d.profiles);
    EXPECT_EQ(back.drawnPreviews(), d.drawnPreviews());
    for (const char* bad : {R"({"profiles": [{"cuts": ["a"]}], "previews": [1]})", R"({"current": 1})"})
        EXPECT_THROW(nlohmann::json::parse(bad).get<DlgProfCutsData>(), nlohmann::json::exception) << bad;
}

class DlgProfCutsTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        profCutsPreviewFlag() = true;
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        profCutsPreviewFlag() = true;
    }
    ui::ScriptedAgent agent;
};

TEST_F(DlgProfCutsTest, withTheFlagOffEveryChosenCutStaysPreviewedAndTheChoiceIsKeptOnOk) {
    DlgProfCutsData d = sample();
    agent.setScript("expect-dialog " + D + "\nexpect-caption \"" + dialString(1123).str() +
                        "\"\nexpect-items " + CUTS + " \"Mitre|Notch|Cope\"\nexpect-sel " + CUTS +
                        " 0\nexpect-state " + NOPREVIEW + " unchecked\ncheck " + NOPREVIEW + " on\nselect " +
                        CUTS + " 1\nselect " + CUTS + " 2\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartEditProfCutsDlg(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.drawnPreviews(), (Vor_Array<int>{0, 1, 2})) << "closing left them drawn";
    EXPECT_EQ(d.previewRemoveCount(), 0);
    EXPECT_FALSE(profCutsPreviewFlag()) << "kept for the next opening";

    // The next opening starts with the box ticked; turning the flag on and cancelling keeps it off.
    agent.setScript("expect-dialog " + D + "\nexpect-state " + NOPREVIEW + " checked\ncheck " + NOPREVIEW +
                        " off\nclose\n",
                    "t.vsc");
    EXPECT_FALSE(StartEditProfCutsDlg(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_FALSE(profCutsPreviewFlag()) << "written back only on OK";
}

TEST_F(DlgProfCutsTest, withTheFlagOnClosingTakesThePreviewsAwayAndRemovingSelectsTheSameIndex) {
    DlgProfCutsData d = sample();
    agent.setScript("expect-dialog " + D + "\nselect " + CUTS + " 1\nclick " + REMOVE + "\nexpect-items " +
                        CUTS + " \"Mitre|Cope\"\nexpect-sel " + CUTS + " 1\nclick " + REMOVE +
                        "\nexpect-items " + CUTS + " \"Mitre\"\nexpect-sel " + CUTS + " -1\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartEditProfCutsDlg(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.profiles[0].cuts, Vor_StringArray{"Mitre"});
    EXPECT_TRUE(d.drawnPreviews().isEmpty());
    EXPECT_EQ(d.previewDrawCount(), 3) << "Mitre on opening, Notch when chosen, Cope after the removal";
    EXPECT_TRUE(profCutsPreviewFlag());
}

TEST_F(DlgProfCutsTest, anotherProfileShowsItsCutsAndCancelLeavesTheCallersData) {
    DlgProfCutsData d = sample();
    const DlgProfCutsData before = d;
    agent.setScript("expect-dialog " + D + "\nselect " + CUTS + " 1\nclick " + OTHER + "\nexpect-items " +
                        CUTS + " \"Square|Bevel\"\nexpect-sel " + CUTS + " 1\nclick " + REMOVE + "\nclose\n",
                    "t.vsc");
    EXPECT_FALSE(StartEditProfCutsDlg(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_TRUE(d == before);

    DlgProfCutsData one;
    one.profiles.append({"HEA 200 (K1)", Vor_StringArray{"Mitre"}});
    agent.setScript("expect-dialog " + D + "\nclick " + OTHER + "\nexpect-items " + CUTS +
                        " \"Mitre\"\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartEditProfCutsDlg(one));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(one.current, 0) << "no other profile to pick";
}

} // namespace
