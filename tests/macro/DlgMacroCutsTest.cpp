// The macro cuts dialog and its host records: the rules of a cut's names and variables, the layout
// of each cut kind, the variables handed back by their own names, the OK checks in their order, and
// Cancel or Escape leaving the caller's cut alone.
#include "macro/ui/DlgMacroCuts.h"

#include <host/MacroCuts.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace {

std::string id(int n) {
    return std::to_string(n);
}
const std::string DLG = "expect-dialog " + id(DlgMacroCuts::IDD) + "\n";
const std::string GRID = id(DlgMacroCuts::IDC_GRID);
const std::string KIND = id(DlgMacroCuts::IDC_KIND);

Vor_StringArray texts(std::initializer_list<const char*> items) {
    Vor_StringArray a;
    for (const char* s : items)
        a.append(s);
    return a;
}

DlgMacroCutsData plateCut() {
    DlgMacroCutsData d;
    d.cutKind = 0;
    d.cutName = "Cut1";
    d.varNames = texts({"Offset", "PolyOffset"});
    d.values = texts({"0", "5"});
    d.macroName = "Endplate";
    d.macros.modules = texts({"Endplate", "Bolts"});
    d.otherCutNames = texts({"Cut2"});
    return d;
}

class DlgMacroCutsTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
    }
    void TearDown() override { ui::setAgent(nullptr); }
    bool run(DlgMacroCutsData& data, const std::string& script, bool* escaped = nullptr) {
        agent.setScript(DLG + script, "t.vsc");
        bool esc = true; // the dialog must set it either way
        const bool ok = StartDlgMacroCuts(data, esc);
        if (escaped) *escaped = esc;
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return ok;
    }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> out;
        for (const ui::MessageRequest& m : agent.messages())
            out.push_back(m.caption + ": " + m.text);
        return out;
    }
    ui::ScriptedAgent agent;
};

// ---- the host records

TEST(MacroCutsDataTest, namesAndVariablesAreCheckedAsTheDialogNeeds) {
    struct Case {
        const char* why;
        int mode;
        const char* name;
        Vor_StringArray varNames, values;
        bool nameInUse, varsValid;
    };
    const Case cases[] = {
        {"a new cut with a free name", 2, "Cut1", texts({"Offset"}), texts({"0"}), false, true},
        {"a new cut named as another, in another case", 2, "cut2", texts({"Offset"}), texts({"0"}), true,
         true},
        {"an edited cut keeps its name unchecked", 1, "Cut2", texts({"Offset"}), texts({"0"}), false, true},
        {"a generated name", 1, "Cut1", texts({"Offset", "gen_1"}), texts({"0", "0"}), false, false},
        {"the prefix in capitals is generated too", 1, "Cut1", texts({"GEN_x"}), texts({"0"}), false, false},
        {"gen without its underscore is a name", 1, "Cut1", texts({"general"}), texts({"0"}), false, true},
        {"twice the same name", 1, "Cut1", texts({"Offset", "offset"}), texts({"0", "1"}), false, false},
        {"an empty name", 1, "Cut1", texts({" "}), texts({"0"}), false, false},
        {"a name without a value", 1, "Cut1", texts({"Offset", "Radius"}), texts({"0"}), false, false},
        {"no variables at all", 1, "Cut1", Vor_StringArray(), Vor_StringArray(), false, true},
    };
    for (const Case& c : cases) {
        DlgMacroCutsData d;
        d.mode = c.mode;
        d.cutName = c.name;
        d.otherCutNames = texts({"Cut2", "Cut3"});
        d.varNames = c.varNames;
        d.values = c.values;
        EXPECT_EQ(d.CutNameInUse(), c.nameInUse) << c.why;
        EXPECT_EQ(d.AreVarNamesValid(), c.varsValid) << c.why;
    }
}

TEST(MacroCutsDataTest, everyKindStartsWithValidVariablesAndOthersWithNone) {
    for (int kind = 0; kind < kCutKinds; ++kind) {
        DlgMacroCutsData d;
        DlgMacroCutsData::GetDefaultValues(kind, d.varNames, d.values);
        EXPECT_FALSE(d.varNames.isEmpty()) << "kind " << kind;
        EXPECT_EQ(d.values.length(), d.varNames.length()) << "kind " << kind;
        EXPECT_TRUE(d.AreVarNamesValid()) << "kind " << kind << ": a new cut must pass OK";
    }
    Vor_StringArray names = texts({"old"}), values = texts({"1"});
    DlgMacroCutsData::GetDefaultValues(kCutKinds, names, values);
    EXPECT_TRUE(names.isEmpty() && values.isEmpty()) << "a kind out of range leaves nothing behind";
}

TEST(MacroCutsDataTest, aCutFromOutsideIsReadWholeOrRefused) {
    const DlgMacroCutsData d = plateCut();
    EXPECT_EQ(nlohmann::json(d).get<DlgMacroCutsData>(), d) << "written and read back";
    struct Case {
        const char* why;
        const char* json;
    };
    const Case refused[] = {
        {"a kind past the pictures", R"({"kind": 6})"},
        {"a negative kind", R"({"kind": -1})"},
        {"option 4", R"({"option": 4})"},
        {"the method past the empty entry", R"({"method": 5})"},
        {"a third macro choice", R"({"macroChoice": 3})"},
        {"a mode of its own", R"({"mode": 7})"},
        {"names without values", R"({"varNames": ["a", "b"], "values": ["1"]})"},
        {"two checks", R"({"checks": [true, false]})"},
        {"no object", R"([1, 2])"},
    };
    for (const Case& c : refused)
        EXPECT_ANY_THROW(nlohmann::json::parse(c.json).get<DlgMacroCutsData>()) << c.why;
    nlohmann::json many = {{"varNames", nlohmann::json::array()}, {"values", nlohmann::json::array()}};
    for (int i = 0; i <= kMaxCutVariables; ++i) {
        many["varNames"].push_back("v" + std::to_string(i));
        many["values"].push_back("0");
    }
    EXPECT_ANY_THROW(many.get<DlgMacroCutsData>()) << "more variables than the budget";
}

TEST(MacroCutsDataTest, anEditedCutGoesBackIntoItsMacro) {
    MacroData data;
    data.tabs.append(MacroTabData());
    data.tabs[0].moduleName = "Endplate";
    data.tabs[0].cuts.append({"1", 0, texts({"gap"}), texts({"0"})});
    data.tabs.append(MacroTabData());
    data.tabs[1].moduleName = "Bolts";

    DlgMacroCutsData cut;
    ASSERT_TRUE(macroCutDlgDataOf(data, 0, "1", cut));
    EXPECT_EQ(cut.mode, DlgMacroCutsData::kModeEdit);
    EXPECT_EQ(cut.macroName, Vor_String("Endplate"));
    EXPECT_EQ(cut.macros.modules, texts({"Endplate", "Bolts"}));
    EXPECT_FALSE(macroCutDlgDataOf(data, 0, "none", cut)) << "a cut the tab lacks";
    EXPECT_FALSE(macroCutDlgDataOf(data, 2, "", cut)) << "a tab out of range";

    ASSERT_TRUE(macroCutDlgDataOf(data, 0, "", cut));
    EXPECT_EQ(cut.mode, DlgMacroCutsData::kModeNew);
    EXPECT_EQ(cut.otherCutNames, texts({"1"}));
    EXPECT_FALSE(cut.CutNameInUse()) << "a new cut is offered a free name: " << cut.cutName.str();

    MacroData edited = data;
    cut.cutName = "2";
    ASSERT_TRUE(applyMacroCutDlgData(edited, 0, "", cut));
    EXPECT_EQ(edited.tabs[0].cuts.length(), 2) << "a new cut is added";

    edited = data;
    ASSERT_TRUE(macroCutDlgDataOf(data, 0, "1", cut));
    cut.values = texts({"4"});
    ASSERT_TRUE(applyMacroCutDlgData(edited, 0, "1", cut));
    ASSERT_EQ(edited.tabs[0].cuts.length(), 1) << "an edited cut replaces its record";
    EXPECT_EQ(edited.tabs[0].cuts[0].values, texts({"4"}));

    edited = data;
    cut.macroName = "Bolts";
    ASSERT_TRUE(applyMacroCutDlgData(edited, 0, "1", cut));
    EXPECT_TRUE(edited.tabs[0].cuts.isEmpty() && edited.tabs[1].cuts.length() == 1) << "moved to its module";

    edited = data;
    cut.macroName = "Endplate";
    cut.cutName = "";
    EXPECT_FALSE(applyMacroCutDlgData(edited, 0, "1", cut)) << "a cut without a name cannot be found again";
    edited.tabs[1].cuts.append({"2", 0, texts({"gap"}), texts({"0"})});
    const MacroData twoModules = edited;
    cut.macroName = "Bolts";
    cut.cutName = "2";
    EXPECT_FALSE(applyMacroCutDlgData(edited, 0, "1", cut)) << "the module has a cut of that name";
    EXPECT_EQ(edited, twoModules);
    cut.cutName = "1";
    cut.macroName = "Nothing";
    EXPECT_FALSE(applyMacroCutDlgData(edited, 0, "1", cut)) << "no such module";
    cut.macroName = "Endplate";
    cut.macroChoice = 2;
    EXPECT_FALSE(applyMacroCutDlgData(edited, 0, "1", cut))
        << "a macro picked in the drawing is the caller's";
    EXPECT_EQ(edited, twoModules) << "a cut not written back changes nothing";
}

// ---- the dialog's rules

TEST(MacroCutsLayoutTest, eachKindShowsItsOwnOptions) {
    struct Case {
        int kind;
        bool fixed;
        int options, method, check1, check2, check3;
    };
    const Case cases[] = {
        {0, false, 0, 0, 0, 0, 0},         {1, false, 2, 1394, 1108, 1109, 1399},
        {1, true, 2, 1394, 1108, 0, 1399}, {2, false, 0, 0, 0, 0, 0},
        {3, false, 0, 0, 1113, 0, 0},      {4, false, 3, 0, 0, 0, 0},
        {5, false, 0, 0, 0, 0, 0},         {6, false, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const CutKindLayout l = cutKindLayout(c.kind, c.fixed);
        const std::string why = "kind " + std::to_string(c.kind) + (c.fixed ? " fixed" : "");
        EXPECT_EQ(l.options(), c.options) << why;
        EXPECT_EQ(l.methodLabel, c.method) << why;
        EXPECT_EQ(l.check1Text, c.check1) << why;
        EXPECT_EQ(l.check2Text, c.check2) << why << ": a fixed cut has no weld preparation to choose";
        EXPECT_EQ(l.check3Text, c.check3) << why;
    }
    EXPECT_EQ(cutOptionForKind(1, 3), 2) << "kind 1 offers options 1 and 2 only";
    EXPECT_EQ(cutOptionForKind(4, 3), 3);
    EXPECT_EQ(cutOptionForKind(0, 3), 3) << "a kind without options keeps the stored one";
}

TEST_F(DlgMacroCutsTest, variablesAreShownByTheirCatalogueNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"Radius", "Radius"}, // the catalogue's text 740, not the number
        {"Offset", "Offset"},
        {"PolyOffset", "Offset"},
        {"LengthOffset", "Length offset"},
        {"CenterOffset", "Centre offset"},
        {"InsideOffset", "Inside offset"},
        {"OutsideOffset", "Outside offset"},
        {"Offset1", "Offset 1"},
        {"Offset2", "Offset 2"},
        {"Offset3", "Offset3"},
        {"gap", "gap"},
        {"radius", "radius"}};
    for (const auto& [own, shown] : cases)
        EXPECT_EQ(cutVariableDisplayName(own).str(), shown) << own;
    ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "nl"));
    EXPECT_EQ(cutVariableDisplayName("Radius"), dialString(740)) << "in Dutch too";
    EXPECT_NE(cutVariableDisplayName("Radius").str(), "740");
}

// ---- the dialog

TEST_F(DlgMacroCutsTest, theVariablesComeBackByTheirOwnNames) {
    DlgMacroCutsData d = plateCut();
    d.varNames = texts({"Offset", "PolyOffset", "Radius", "Offset1"});
    d.values = texts({"0", "5", "8", "9"});
    ASSERT_TRUE(run(d, "expect-cell " + GRID + " 1 1 \"Offset\"\nexpect-cell " + GRID +
                           " 1 2 \"Offset\"\nexpect-cell " + GRID + " 1 3 \"Radius\"\nexpect-cell " + GRID +
                           " 1 4 \"Offset 1\"\ncell " + GRID + " 2 1 \"11\"\ncell " + GRID +
                           " 2 2 \"12\"\ncell " + GRID + " 2 3 \"13\"\nclick 1\n"));
    EXPECT_EQ(d.varNames, texts({"Offset", "PolyOffset", "Radius", "Offset1"}))
        << "two names share one display name; each row keeps its own";
    EXPECT_EQ(d.values, texts({"11", "12", "13", "9"}));
    EXPECT_TRUE(d.AreVarNamesValid());
}

TEST_F(DlgMacroCutsTest, eachKindLaysOutItsControls) {
    const std::string S = " visible\n", H = " hidden\n";
    auto state = [](int ctrl, const std::string& s) { return "expect-state " + id(ctrl) + s; };
    auto text = [](int ctrl, const std::string& t) { return "expect-text " + id(ctrl) + " \"" + t + "\"\n"; };
    DlgMacroCutsData d = plateCut();
    d.option = 3;
    const std::string script =
        // kind 0: none of the kind's controls
        state(DlgMacroCuts::IDC_OPTION1, H) + state(DlgMacroCuts::IDC_METHOD, H) +
        state(DlgMacroCuts::IDC_CHECK1, H) + state(DlgMacroCuts::IDC_VALUE, H) +
        // kind 1: two options (3 becomes 2), the method, three checks
        "select " + KIND + " 1\n" + state(DlgMacroCuts::IDC_OPTION1, S) +
        state(DlgMacroCuts::IDC_OPTION3, H) + "expect-state " + id(DlgMacroCuts::IDC_OPTION2) + " checked\n" +
        text(DlgMacroCuts::IDC_OPTION2, "Cut with a plane") + state(DlgMacroCuts::IDC_METHOD, S) +
        text(DlgMacroCuts::IDC_METHOD_LABEL, "Cut method:") + "expect-items " + id(DlgMacroCuts::IDC_METHOD) +
        " \"Exact shape|Bounding box|Flanges only|Web only|\"\n" + state(DlgMacroCuts::IDC_CHECK2, S) +
        text(DlgMacroCuts::IDC_VALUE_LABEL, "Distance:") + "expect-cell " + GRID + " 3 2 \"LengthOffset\"\n" +
        // one of the two exclusive checks disables the other, and the bevel needs weld preparation
        "expect-state " + id(DlgMacroCuts::IDC_CHECK3) + " disabled\ncheck " + id(DlgMacroCuts::IDC_CHECK2) +
        " on\nexpect-state " + id(DlgMacroCuts::IDC_CHECK3) + " enabled\nexpect-state " +
        id(DlgMacroCuts::IDC_CHECK1) + " disabled\ncheck " + id(DlgMacroCuts::IDC_CHECK2) + " off\ncheck " +
        id(DlgMacroCuts::IDC_CHECK1) + " on\nexpect-state " + id(DlgMacroCuts::IDC_CHECK2) + " disabled\n" +
        // kind 3: one check with its own text
        "select " + KIND + " 3\n" + state(DlgMacroCuts::IDC_OPTION1, H) + state(DlgMacroCuts::IDC_CHECK1, S) +
        text(DlgMacroCuts::IDC_CHECK1, "Cut the middle segment only") + state(DlgMacroCuts::IDC_CHECK2, H) +
        state(DlgMacroCuts::IDC_METHOD, H) +
        // kind 4: three options; the value's label follows the option
        "select " + KIND + " 4\n" + state(DlgMacroCuts::IDC_OPTION3, S) +
        text(DlgMacroCuts::IDC_OPTION3, "Distance and angle") + "click " + id(DlgMacroCuts::IDC_OPTION3) +
        "\n" + text(DlgMacroCuts::IDC_VALUE_LABEL, "Angle:") + "click " + id(DlgMacroCuts::IDC_OPTION2) +
        "\n" + state(DlgMacroCuts::IDC_VALUE, H) + "click " + id(DlgMacroCuts::IDC_OPTION1) + "\n" +
        text(DlgMacroCuts::IDC_VALUE_LABEL, "Distance:") + "type " + id(DlgMacroCuts::IDC_VALUE) +
        " \"15\"\n" +
        // kind 5: the fillet's radius
        "select " + KIND + " 5\n" + state(DlgMacroCuts::IDC_OPTION1, H) + state(DlgMacroCuts::IDC_VALUE, H) +
        "expect-cell " + GRID + " 1 1 \"Radius\"\nclick 1\n";
    ASSERT_TRUE(run(d, script));
    EXPECT_EQ(d.cutKind, 5);
    EXPECT_EQ(d.varNames, texts({"Radius"})) << "the fillet's own variables";
    EXPECT_EQ(d.option, 1) << "chosen while the chamfer was shown";
    EXPECT_EQ(d.secondText, Vor_String("15"));
    EXPECT_TRUE(d.check1);
}

TEST_F(DlgMacroCutsTest, aFixedCutKeepsItsKindNameAndMacro) {
    DlgMacroCutsData d = plateCut();
    d.fixed = true;
    d.cutKind = 1;
    DlgMacroCutsData::GetDefaultValues(1, d.varNames, d.values);
    ASSERT_TRUE(run(d, "expect-state " + KIND + " disabled\nexpect-state " + id(DlgMacroCuts::IDC_NAME) +
                           " disabled\nexpect-state " + id(DlgMacroCuts::IDC_MACRO) +
                           " hidden\nexpect-state " + id(DlgMacroCuts::IDC_THIS_MACRO) +
                           " hidden\nexpect-state " + id(DlgMacroCuts::IDC_PICK) + " hidden\nexpect-state " +
                           id(DlgMacroCuts::IDC_CHECK2) + " hidden\nclick 1\n"));
    EXPECT_EQ(d.macroName, Vor_String("Endplate")) << "the hidden macro combo still holds it";
}

TEST_F(DlgMacroCutsTest, okChecksTheMacroThenTheNameThenTheVariables) {
    const DlgMacroCutsData before = plateCut();
    DlgMacroCutsData d = before;
    d.mode = DlgMacroCutsData::kModeNew;
    d.cutName = "Cut2"; // in use, but the empty macro is reported first and alone
    const std::string MACRO = id(DlgMacroCuts::IDC_MACRO), NAME = id(DlgMacroCuts::IDC_NAME);
    EXPECT_FALSE(
        run(d, "type " + MACRO + " \"\"\nanswer ok\nclick 1\nexpect-message \"Choose the macro\"\n" +
                   "expect-no-message\n" + DLG + "type " + MACRO + " \"Endplate\"\nanswer ok\nclick 1\n" +
                   "expect-message \"A cut with this name already exists.\\nEnter another name.\"\n" + DLG +
                   "expect-text " + NAME + " \"Cut2\"\nclick 2\n"));
    EXPECT_EQ(messageTexts(),
              (std::vector<std::string>{
                  "No macro: Choose the macro that the cut belongs to.",
                  "Cut name in use: A cut with this name already exists.\nEnter another name."}));
    EXPECT_EQ(d.cutName, Vor_String("Cut2")) << "refused OKs hand nothing back";

    d = before;
    d.mode = DlgMacroCutsData::kModeEdit;
    d.cutName = "Cut2"; // an edited cut may keep a name the check would refuse for a new one
    d.varNames = texts({"Offset", "gen_Offset"});
    EXPECT_FALSE(run(d, "answer ok\nclick 1\n" + DLG + "click 2\n"));
    ASSERT_EQ(agent.messages().size(), 3u) << "the variables alone are refused";
    EXPECT_EQ(agent.messages()[2].caption, "Invalid input");
    EXPECT_EQ(agent.messages()[2].text,
              "One or more variable names are not valid.\nVariable names must be unique "
              "and must not begin with \"gen_\".\n");

    d = before;
    EXPECT_FALSE(run(d, "type " + NAME + " \" \"\nanswer ok\nclick 1\n" + DLG + "click 2\n"));
    ASSERT_EQ(agent.messages().size(), 4u) << "a cut is found by its name: it needs one";
    EXPECT_EQ(agent.messages()[3].text, "The cut needs a name.");

    d = before;
    d.mode = DlgMacroCutsData::kModeNew;
    ASSERT_TRUE(run(d, "type " + NAME + " \"Cut9\"\nclick 1\n"));
    EXPECT_EQ(d.cutName, Vor_String("Cut9"));
    EXPECT_EQ(agent.messages().size(), 4u) << "a free name and valid variables pass without a message";
}

TEST_F(DlgMacroCutsTest, cancelAndEscapeLeaveTheCutAndSayHowTheyEnded) {
    const DlgMacroCutsData before = plateCut();
    const std::string edits = "type " + id(DlgMacroCuts::IDC_NAME) + " \"Other\"\ncell " + GRID +
                              " 2 1 \"7\"\nselect " + KIND + " 4\n";
    DlgMacroCutsData d = before;
    bool escaped = true;
    EXPECT_FALSE(run(d, edits + "key Escape\n", &escaped));
    EXPECT_TRUE(escaped);
    EXPECT_EQ(d, before) << "Escape";
    EXPECT_FALSE(run(d, edits + "click 2\n", &escaped));
    EXPECT_FALSE(escaped) << "the cancel button is no Escape";
    EXPECT_EQ(d, before) << "Cancel";
    EXPECT_FALSE(run(d, edits + "close\n", &escaped));
    EXPECT_FALSE(escaped) << "the close box is no Escape";
    ASSERT_TRUE(run(d, "click 1\n", &escaped));
    EXPECT_FALSE(escaped);
    EXPECT_EQ(d, before) << "OK without changes hands back what came in";
}

TEST_F(DlgMacroCutsTest, theHostOpensTheDialogThroughTheRunner) {
    MacroData data;
    data.tabs.append(MacroTabData());
    data.tabs[0].moduleName = "Endplate";
    data.tabs[0].cuts.append({"1", 0, texts({"Offset", "PolyOffset"}), texts({"0", "0"})});
    const MacroData before = data;
    bool escaped = false;
    agent.setScript(DLG + "cell " + GRID + " 2 2 \"6\"\nclick 1\n", "t.vsc");
    ASSERT_TRUE(StartEditMacroCutDlg(data, 0, "1", escaped));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(data.tabs[0].cuts[0].varNames, texts({"Offset", "PolyOffset"}));
    EXPECT_EQ(data.tabs[0].cuts[0].values, texts({"0", "6"}));

    data = before;
    agent.setScript(DLG + "key Escape\n", "t.vsc");
    EXPECT_FALSE(StartEditMacroCutDlg(data, 0, "1", escaped));
    EXPECT_TRUE(escaped);
    EXPECT_EQ(data, before);

    setMacroCutDlgRunner(nullptr);
    EXPECT_FALSE(StartEditMacroCutDlg(data, 0, "1", escaped)) << "without the module's dialog";
    setMacroCutDlgRunner(&StartDlgMacroCuts);
    EXPECT_EQ(data, before);
}

} // namespace
