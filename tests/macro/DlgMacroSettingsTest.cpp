// The general macro settings dialog, driven as a person would: values show with two decimals and
// are kept as typed, every selector stores the entry it leaves, disabled filters lock their values,
// value pairs drop empty rows, template texts follow their template by name, and Cancel or Escape
// on any page leave the caller's record alone.
#include "macro/ui/DlgMacroSettings.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string id(int n) {
    return std::to_string(n);
}
using Angle = DlgSettingsAnglePage;
using Size = DlgSettingsSizePage;
using Tmpl = DlgSettingsTemplatePage;
const std::string DLG = "expect-dialog " + id(DlgMacroSettings::IDD) + "\n";
std::string tab(int index) {
    return "select " + id(DlgMacroSettings::IDC_TABS) + " " + id(index) + "\n";
}

MacroSettingsData filters() {
    MacroSettingsData s;
    s.angleFiltersOn = true;
    s.axisAngles.append({"Column", true, 0, 1, 2});
    s.axisAngles.append({"Rafter", false, 1, 3, 4});
    s.sectionAngles.append({"Flange", true, {}});
    s.sectionAngles[0].pairs.append({10, 20});
    s.pathDistances.append({"Beam", true, 0, 6000});
    s.sectionSizes.append({"I", true, {100, 600, 50, 300}});
    return s;
}

class DlgMacroSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
    }
    void TearDown() override { ui::setAgent(nullptr); }
    bool run(MacroSettingsData& data, const std::string& script,
             const Vor_StringArray& templates = {"None"}) {
        agent.setScript(DLG + script, "t.vsc");
        const bool ok = StartDlgMacroSettings(data, templates);
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return ok;
    }
    ui::ScriptedAgent agent;
};

TEST(SettingsNumberTest, valuesShowWithTwoDecimalsAndReadTheirLeadingNumber) {
    const struct {
        double value;
        const char* shown;
    } shown[] = {{12.345, "12.35"}, {0, "0.00"}, {-1.5, "-1.50"}, {1e9, "1000000000.00"}};
    for (const auto& c : shown)
        EXPECT_EQ(settingsNumberText(c.value), Vor_String(c.shown)) << c.value;
    const struct {
        const char* typed;
        double read;
        const char* why;
    } typed[] = {{"12.345", 12.345, "kept as typed, not rounded"},
                 {"7.5 deg", 7.5, "the leading number"},
                 {"abc", 0, "no number"},
                 {"", 0, "nothing"},
                 {"1e300", kMaxSettingsNumber, "kept within the record's range, which a reader accepts"},
                 {"-1e300", -kMaxSettingsNumber, "either sign"}};
    for (const auto& c : typed)
        EXPECT_EQ(settingsNumberOf(c.typed), c.read) << c.why;
}

TEST_F(DlgMacroSettingsTest, aValueIsKeptAsTypedAndShownWithTwoDecimals) {
    MacroSettingsData s = filters();
    ASSERT_TRUE(run(s, "expect-caption \"General macro settings\"\nexpect-text " + id(Angle::IDC_AXIS_LIST) +
                           " \"Column\"\nexpect-text " + id(Angle::IDC_FIRST) + " \"1.00\"\ntype " +
                           id(Angle::IDC_FIRST) + " \"12.345\"\nclick 1\n"));
    EXPECT_EQ(s.axisAngles[0].first, 12.345);
    ASSERT_TRUE(run(s, "expect-text " + id(Angle::IDC_FIRST) + " \"12.35\"\nclick 1\n"));
    EXPECT_EQ(s.axisAngles[0].first, 12.35) << "stored again as the dialog shows it";
}

TEST_F(DlgMacroSettingsTest, cancelAndEscapeOnAnyPageKeepTheOldRecord) {
    const std::string edits = "type " + id(Angle::IDC_FIRST) + " \"99\"\ncheck " + id(Angle::IDC_ON) +
                              " off\n" + tab(1) + "type " + id(Size::IDC_PATH_SECOND) + " \"5\"\n";
    const struct {
        std::string ending;
        const char* why;
    } cases[] = {{"click 2\n", "Cancel"},
                 {"focus " + id(Size::IDC_PATH_SECOND) + "\nkey Escape\n", "Escape in a page's edit"},
                 {tab(3) + "focus " + id(DlgSettingsChoicesPage::IDC_NUMBER) + "\nkey Escape\n",
                  "Escape on another page"},
                 {"close\n", "the close box"}};
    for (const auto& c : cases) {
        MacroSettingsData s = filters();
        EXPECT_FALSE(run(s, edits + c.ending + "expect-no-dialog\n")) << c.why;
        EXPECT_EQ(s, filters()) << c.why;
    }
}

TEST_F(DlgMacroSettingsTest, theSelectorStoresTheEntryItLeavesBeforeShowingTheNext) {
    MacroSettingsData s = filters();
    const std::string axis = id(Angle::IDC_AXIS_LIST);
    ASSERT_TRUE(run(s, "type " + id(Angle::IDC_SECOND) + " \"45\"\ncheck " + id(Angle::IDC_MODE1) +
                           " on\npick " + axis + " 1\nexpect-text " + id(Angle::IDC_FIRST) +
                           " \"3.00\"\nexpect-state " + id(Angle::IDC_AXIS_ENABLED) +
                           " unchecked\nexpect-state " + id(Angle::IDC_FIRST) + " disabled\npick " + axis +
                           " 0\nexpect-text " + id(Angle::IDC_SECOND) + " \"45.00\"\nexpect-state " +
                           id(Angle::IDC_MODE1) + " checked\nclick 1\n"));
    EXPECT_EQ(s.axisAngles[0].second, 45) << "stored when entry 1 was chosen";
    EXPECT_EQ(s.axisAngles[0].mode, 1);
    EXPECT_EQ(s.axisAngles[1].first, 3) << "entry 1 untouched";
    EXPECT_FALSE(s.axisAngles[1].enabled);
}

TEST_F(DlgMacroSettingsTest, theEnabledFlagLocksTheValuesAndFollowsTheListsCheckMarks) {
    MacroSettingsData s = filters();
    const std::string locked = id(Angle::IDC_FIRST) + "|" + id(Angle::IDC_SECOND) + "|" +
                               id(Angle::IDC_MODE0) + "|" + id(Angle::IDC_MODE1);
    std::string script = "check " + id(Angle::IDC_AXIS_ENABLED) + " off\n";
    for (int c : {Angle::IDC_FIRST, Angle::IDC_SECOND, Angle::IDC_MODE0, Angle::IDC_MODE1})
        script += "expect-state " + id(c) + " disabled\n";
    script +=
        "check " + id(Angle::IDC_AXIS_ENABLED) + " on\nexpect-state " + id(Angle::IDC_FIRST) + " enabled\n";
    // a check mark set in the list enables that entry
    script += "select " + id(Angle::IDC_AXIS_LIST) + " 1\n" + tab(1) + "check " + id(Size::IDC_SIZE_ENABLED) +
              " off\nexpect-state " + id(Size::IDC_SIZE4) + " disabled\nclick 1\n";
    ASSERT_TRUE(run(s, script)) << locked;
    EXPECT_TRUE(s.axisAngles[0].enabled);
    EXPECT_TRUE(s.axisAngles[1].enabled) << "checked in the list";
    EXPECT_FALSE(s.sectionSizes[0].enabled);
    EXPECT_EQ(s.sectionSizes[0].values[3], 300) << "a locked value keeps its number";
}

TEST_F(DlgMacroSettingsTest, aFilterListWithoutNamesLeavesItsGroupDisabled) {
    MacroSettingsData s = filters();
    s.axisAngles = {};
    std::string script;
    for (int c : {Angle::IDC_AXIS_LIST, Angle::IDC_AXIS_ENABLED, Angle::IDC_AXIS_GROUP, Angle::IDC_FIRST,
                  Angle::IDC_SECOND, Angle::IDC_MODE0, Angle::IDC_MODE1})
        script += "expect-state " + id(c) + " disabled\n";
    script += "expect-state " + id(Angle::IDC_SECTION_ENABLED) + " enabled\nclick 1\n";
    ASSERT_TRUE(run(s, script));
    EXPECT_TRUE(s.axisAngles.isEmpty());
}

TEST_F(DlgMacroSettingsTest, valuePairsKeepTheirOrderAndLeaveEmptyRowsOut) {
    MacroSettingsData s = filters();
    const std::string grid = id(Angle::IDC_GRID);
    ASSERT_TRUE(run(s, "expect-cell " + grid + " 1 1 \"10.00\"\nclick " + id(Angle::IDC_ADD) + "\nclick " +
                           id(Angle::IDC_ADD) + "\ncell " + grid + " 1 1 \"0\"\ncell " + grid +
                           " 2 1 \"0\"\ncell " + grid + " 1 2 \"10\"\ncell " + grid + " 2 2 \"20\"\ncell " +
                           grid + " 1 3 \"0\"\ncell " + grid + " 2 3 \"5\"\nclick 1\n"));
    ASSERT_EQ(s.sectionAngles[0].pairs.length(), 2);
    EXPECT_EQ(s.sectionAngles[0].pairs[0], (MacroValuePair{10, 20}));
    EXPECT_EQ(s.sectionAngles[0].pairs[1], (MacroValuePair{0, 5})) << "one zero is a value";
}

TEST_F(DlgMacroSettingsTest, templateTextsFollowTheirTemplateByName) {
    MacroSettingsData s;
    s.templateTexts = {"Standard", "Heavy"};
    s.templates.append({"BasePlate", {"B1", "B2"}, "Heavy"});
    s.templates.append({"Gone", {"G"}, "Standard"}); // no longer in the designer folder
    s.templates.append({"EndPlate", {"E1"}, "Standard"});
    const std::string list = id(Tmpl::IDC_TEMPLATES), grid = id(Tmpl::IDC_GRID), text = id(Tmpl::IDC_TEXT);
    ASSERT_TRUE(run(s,
                    tab(2) + "expect-items " + list + " \"EndPlate|BasePlate|Cleat\"\nexpect-cell " + grid +
                        " 1 1 \"E1\"\nexpect-text " + text + " \"Standard\"\ncell " + grid +
                        " 1 1 \"E9\"\nselect " + list + " 1\nexpect-cell " + grid +
                        " 1 2 \"B2\"\nexpect-text " + text + " \"Heavy\"\nselect " + list +
                        " 2\nexpect-text " + text + " \"\"\ntype " + text + " \"Heavy\"\nselect " + list +
                        " 0\nclick 1\n",
                    {"EndPlate", "BasePlate", "Cleat"}));
    ASSERT_NE(s.findTemplate("EndPlate"), nullptr);
    EXPECT_EQ(s.findTemplate("EndPlate")->texts, (Vor_StringArray{"E9"})) << "edited under its own name";
    EXPECT_EQ(*s.findTemplate("BasePlate"), (MacroTemplateTexts{"BasePlate", {"B1", "B2"}, "Heavy"}))
        << "the second template shows and keeps its own entry, not the second one of the record";
    EXPECT_EQ(*s.findTemplate("Gone"), (MacroTemplateTexts{"Gone", {"G"}, "Standard"})) << "kept";
    ASSERT_NE(s.findTemplate("Cleat"), nullptr) << "a new template's entry is made when it gets a text";
    EXPECT_EQ(s.findTemplate("Cleat")->text, Vor_String("Heavy"));
    EXPECT_EQ(s.templateTexts, (Vor_StringArray{"Standard", "Heavy"}));
}

TEST_F(DlgMacroSettingsTest, choicesAndTextsPagesShowAndStoreTheirParts) {
    MacroSettingsData s;
    s.firstChoice = 1;
    s.secondChoice = 2;
    s.number = 3;
    s.choiceRows.append({"Gap", 10.5});
    s.text1 = "Before";
    s.textRows.append({"PL", "Plate", 0});
    s.textRows.append({"B", "Bolt", 1});
    using C = DlgSettingsChoicesPage;
    using T = DlgSettingsTextsPage;
    ASSERT_TRUE(run(s, tab(3) + "expect-sel " + id(C::IDC_FIRST) + " 1\nexpect-sel " + id(C::IDC_SECOND) +
                           " 2\nexpect-text " + id(C::IDC_NUMBER) + " \"3\"\nexpect-cell " + id(C::IDC_GRID) +
                           " 2 1 \"10.50\"\nselect " + id(C::IDC_FIRST) + " 2\ntype " + id(C::IDC_NUMBER) +
                           " \"4 decimals\"\nclick " + id(C::IDC_ADD) + "\ncell " + id(C::IDC_GRID) +
                           " 1 2 \"Edge\"\ncell " + id(C::IDC_GRID) + " 2 2 \"7.125\"\n" + tab(4) +
                           "expect-text " + id(T::IDC_TEXT1) + " \"Before\"\nexpect-cell " + id(T::IDC_GRID) +
                           " 3 1 \"None\"\nexpect-cell " + id(T::IDC_GRID) + " 3 2 \"1\"\ntype " +
                           id(T::IDC_TEXT2) + " \"After\"\ncell " + id(T::IDC_GRID) +
                           " 1 1 \"P\"\nclick 1\n"));
    EXPECT_EQ(s.firstChoice, 2);
    EXPECT_EQ(s.secondChoice, 2);
    EXPECT_EQ(s.number, 4) << "the integer the text begins with";
    ASSERT_EQ(s.choiceRows.length(), 2);
    EXPECT_EQ(s.choiceRows[1], (MacroChoiceRow{"Edge", 7.125}));
    EXPECT_EQ(s.text2, Vor_String("After"));
    ASSERT_EQ(s.textRows.length(), 2);
    EXPECT_EQ(s.textRows[0], (MacroTextRow{"P", "Plate", 0}));
    EXPECT_EQ(s.textRows[1], (MacroTextRow{"B", "Bolt", 1}));
}

} // namespace
