// The levels dialog driven as a person would: one level at a time, values stored when another is
// chosen, new levels named (taken names refused and asked again) and measured from a reference.
#include "DecimalCommaLocale.h"

#include "production/ui/DlgLevels.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

namespace {

const std::string D = std::to_string(DlgLevels::IDD);
const std::string LEVELS = std::to_string(DlgLevels::IDC_LEVELS);
const std::string REF = std::to_string(DlgLevels::IDC_REFERENCE);
const std::string VALUE = std::to_string(DlgLevels::IDC_VALUE);
const std::string ABS = std::to_string(DlgLevels::IDC_ABSOLUTE);
const std::string ADD = std::to_string(DlgLevels::IDC_ADD);
const std::string DEL = std::to_string(DlgLevels::IDC_DELETE);

KrLevelsDlgData building() {
    KrLevelsDlgData d;
    EXPECT_TRUE(d.setLevels(
        {{"wcs", "", 0}, {"Peil 0", "wcs", 250}, {"+3600", "Peil 0", 3600}, {"+7200", "+3600", 3600}}));
    return d;
}

/// The text-input dialog answered with `name`.
std::string nameAnswer(const std::string& name) {
    return "expect-dialog 8069\ntype 8003 \"" + name + "\"\nclick 1\n";
}

class DlgLevelsTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
    }
    void TearDown() override { ui::setAgent(nullptr); }
    ui::ScriptedAgent agent;
};

TEST_F(DlgLevelsTest, theChosenLevelIsShownAndItsTypedValueKeptWhenAnotherIsChosen) {
    DecimalCommaLocale comma; // what is shown and read must not follow the process locale
    KrLevelsDlgData d = building();
    agent.setScript(
        "expect-dialog " + D + "\nexpect-items " + LEVELS + " \"wcs|Peil 0|+3600|+7200\"\nexpect-sel " +
            LEVELS + " 0\nexpect-text 1000 \"wcs\"\nexpect-state 1000 disabled\nexpect-state " + REF +
            " disabled\nexpect-state " + ABS + " disabled\nexpect-text " + VALUE +
            " \"0.000\"\n"
            "select " +
            LEVELS + " 2\nexpect-text 1000 \"+3600\"\nexpect-items " + REF +
            " \"wcs|Peil 0|+7200\"\nexpect-sel " + REF + " 1\nexpect-text " + VALUE +
            " \"3600.000\"\nexpect-text " + ABS + " \"3850.000\"\ntype " + VALUE +
            " \"3,25\"\n"
            "select " +
            LEVELS + " 3\nexpect-text " + ABS + " \"3853.250\"\ntype " + VALUE + " \"4000\"\nclick 1\n",
        "t.vsc");
    ASSERT_TRUE(StartDlgLevels(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.levels()[2].value, 3.25) << "stored when the next level was chosen";
    EXPECT_EQ(d.levels()[3].value, 4000) << "stored by OK";
    EXPECT_EQ(d.levels()[3].reference, Vor_String("+3600")) << "an old level keeps its reference";
}

TEST_F(DlgLevelsTest, takenNamesAreRefusedAndAskedAgainThenTheNewLevelTakesAReference) {
    KrLevelsDlgData d = building();
    agent.setScript("expect-dialog " + D + "\nclick " + ADD +
                        "\n"
                        "expect-dialog 8069\nexpect-caption \"" +
                        dialString(87).str() + "\"\nexpect-text 8600 \"" + dialString(1475).str() +
                        "\"\nexpect-text 8003 \"" + dialString(171).str() +
                        "\"\ntype 8003 \"wcs\"\nanswer ok\nclick 1\n"
                        "expect-dialog 8069\nexpect-message \"This name is already in use.\\nChoose another "
                        "name.\"\ntype 8003 \"PEIL 0\"\nanswer ok\nclick 1\n" +
                        nameAnswer("+10800") + "expect-items " + LEVELS +
                        " \"wcs|Peil 0|+3600|+7200|+10800\"\nexpect-sel " + LEVELS + " 4\nexpect-state " +
                        REF + " enabled\nexpect-items " + REF + " \"wcs|Peil 0|+3600|+7200\"\nselect " + REF +
                        " 3\nexpect-text " + ABS + " \"7450.000\"\ntype " + VALUE + " \"3600\"\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgLevels(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    ASSERT_EQ(agent.messages().size(), 2u) << "both taken names were refused";
    EXPECT_EQ(agent.messages()[0].caption, dialString(856).str());
    EXPECT_EQ(agent.messages()[0].icon(), int(ui::MB_ICONEXCLAMATION));
    ASSERT_EQ(d.count(), 5);
    EXPECT_EQ(d.levels()[4].reference, Vor_String("+7200")) << "the reference chosen for the new level";
    EXPECT_EQ(d.absoluteValue(4), 11050);
}

TEST_F(DlgLevelsTest, theNameIsAskedTwentyTimesAtMostAndCancelEndsTheAction) {
    KrLevelsDlgData d = building();
    std::string script = "expect-dialog " + D + "\nclick " + ADD + "\n";
    for (int i = 0; i < 20; ++i)
        script += "expect-dialog 8069\ntype 8003 \"wcs\"\nanswer ok\nclick 1\n";
    // no 21st question: the scripted agent fails at once on a dialog it did not expect
    script += "expect-items " + LEVELS + " \"wcs|Peil 0|+3600|+7200\"\nexpect-state " + REF +
              " disabled\nclick " + ADD + "\nexpect-dialog 8069\nclick 2\nexpect-items " + LEVELS +
              " \"wcs|Peil 0|+3600|+7200\"\nclick 1\n";
    agent.setScript(script, "t.vsc");
    ASSERT_TRUE(StartDlgLevels(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(agent.messages().size(), 20u);
    EXPECT_EQ(d.count(), 4);
}

TEST_F(DlgLevelsTest, deletingShowsTheLevelBeforeAndTheWorldLevelStays) {
    KrLevelsDlgData d = building();
    agent.setScript("expect-dialog " + D + "\nselect " + LEVELS + " 2\nclick " + DEL + "\nexpect-items " +
                        LEVELS + " \"wcs|Peil 0|+7200\"\nexpect-sel " + LEVELS +
                        " 1\nexpect-text 1000 \"Peil 0\"\nselect " + LEVELS + " 0\nclick " + DEL +
                        "\nexpect-items " + LEVELS +
                        " \"wcs|Peil 0|+7200\"\nexpect-text 1000 \"wcs\"\nselect " + LEVELS +
                        " 2\nexpect-text " + ABS + " \"7450.000\"\nclick 1\n",
                    "t.vsc");
    ASSERT_TRUE(StartDlgLevels(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(d.count(), 3);
    EXPECT_EQ(d.levels()[2].reference, Vor_String("Peil 0")) << "+7200 now stands on what +3600 stood on";
}

TEST_F(DlgLevelsTest, cancelLeavesTheCallersLevelsAsTheyWere) {
    KrLevelsDlgData d = building();
    const KrLevelsDlgData before = d;
    agent.setScript("expect-dialog " + D + "\nselect " + LEVELS + " 1\ntype " + VALUE + " \"99\"\nclick " +
                        ADD + "\n" + nameAnswer("Dak") + "click " + DEL + "\nclick 2\n",
                    "t.vsc");
    EXPECT_FALSE(StartDlgLevels(d));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_TRUE(d == before);
}

} // namespace
