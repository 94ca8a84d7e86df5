// The constraint editor on the sample hall: its model (names refused with their messages, actions
// without a chosen row, typed variables kept through commands and module switches, flexibility
// values that are no whole numbers), and the one modeless window (closing itself from its own
// handler, a second request, unload).
#include "macro/ui/DlgEditConstraints.h"

#include "frame/UnloadHandlers.h"

#include <cad/Drawing.h>
#include <cad/DrawingFile.h>
#include <cad/Pick.h>
#include <cad/aced.h>
#include <host/MacroData.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Control.h>
#include <ui/Menu.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using Answer = cad::QueuePickServer::Answer;

class EditConstraintsTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(configureSettings(defaultLibDir().str(), defaultInstallDir().str()));
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
        std::string error;
        ASSERT_TRUE(cad::openDrawing(defaultLibDir().str() + "Drawings/Hall.dwg", &error)) << error;
        cad::setPickServer(&picks);
        macroHostSettings().regenerationDelayMs = 0;
        acutClearPrintedText();
    }
    void TearDown() override {
        EndDlgEditConstraints();
        agent.advanceClock(100);
        deleteClosedConstraintEditors();
        cad::setPickServer(nullptr);
        cad::curDrawing().clearHighlights();
        ui::setAgent(nullptr);
    }
    static AcDbObjectId id(const char* name) { return cad::curDrawing().findByName(name); }
    static EditConstrData record(const char* macro) {
        EditConstrData d;
        Vor_String error;
        EXPECT_TRUE(GetEditConstrData(id(macro), d, &error)) << error.str();
        return d;
    }
    ConstraintEditorModel model(const char* macro) {
        ConstraintEditorModel m;
        m.data = record(macro);
        return m;
    }
    static std::string names(const Vor_Array<MacroVariable>& vars) {
        std::string s;
        for (const MacroVariable& v : vars)
            s += v.name.str() + "=" + v.value.str() + " ";
        return s;
    }
    ui::ScriptedAgent agent;
    cad::QueuePickServer picks;
};

TEST_F(EditConstraintsTest, theGridNamesEachKindWithItsCatalogueText) {
    const struct {
        int kind;
        int text;
        const char* why;
    } cases[] = {
        {kConstrParallel, 903, "the palette's text"},
        {kConstrDistance, 910, "a value kind"},
        {kConstrRadius, 740, "the radius has a text of its own, not its number"},
        {kConstrCut, 862, "a cut constraint has no palette button"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(constraintKindText(c.kind).str(), dialString(c.text).str()) << c.why;
        EXPECT_NE(constraintKindText(c.kind).str(), std::to_string(c.text)) << c.why;
    }
    EXPECT_EQ(variableTypeTexts().length(), 8);
    EXPECT_FALSE(paletteButtonShown(kConstrSymmetric));
    EXPECT_FALSE(paletteButtonShown(kConstrCut));
    EXPECT_EQ(palettePicture(kConstrCut), 0);
    EXPECT_NE(palettePicture(kCommandCoordSys), 0);
}

TEST_F(EditConstraintsTest, aVariableNameIsRefusedWithItsMessageAndTheExclamationIcon) {
    ConstraintEditorModel m = model("M1");
    m.data.variables.append({"span", dialString(900), "100"});
    const struct {
        const char* name;
        int caption; ///< 0: taken over
        int anyText; ///< a text the message must hold
        const char* why;
    } cases[] = {
        {"", 884, 10753, "an empty name names nothing"},
        {"   ", 884, 10753, "blanks alone are no name"},
        {"2a", 884, 885, "a leading digit reads as a number"},
        {"len+", 884, 1455, "a trailing operator reads as part of a formula"},
        {"a/", 884, 1455, "every operator"},
        {"SPAN", 856, 857, "a name in use, without regard to case"},
        {"length", 0, 0, "a fresh name"},
        {"a2", 0, 0, "a digit later on is fine"},
    };
    for (const auto& c : cases) {
        const NameRefusal r = m.checkVariableName(c.name, -1);
        if (c.caption == 0) {
            EXPECT_TRUE(r.caption.isEmpty()) << c.why;
            continue;
        }
        EXPECT_EQ(r.caption.str(), dialString(c.caption).str()) << c.why;
        EXPECT_NE(r.text.str().find(dialString(c.anyText).str()), std::string::npos)
            << c.why << ": " << r.text.str();
        EXPECT_EQ(r.text.str().rfind(std::string("\"") + c.name + "\"\n", 0), 0u)
            << c.why << ": the name is quoted";
        EXPECT_EQ(r.flags & ui::MB_ICONMASK, unsigned(ui::MB_ICONEXCLAMATION)) << c.why;
    }
}

TEST_F(EditConstraintsTest, actionsOnTheChosenRowDoNothingWithoutOne) {
    ConstraintEditorModel m = model("M1");
    picks.push(Answer::object("EP1"));
    picks.push(Answer::object("B1"));
    ASSERT_EQ(m.paletteCommand(kConstrParallel), ConstraintEditorModel::AfterCommand::ShowConstraints);
    ASSERT_EQ(m.chosenRow, 0) << "the new row is chosen";
    cad::curDrawing().clearHighlights();
    m.chosenRow = -1;
    const EditConstrData before = m.data;
    ConstraintMenu menu;
    EXPECT_FALSE(m.deleteChosen()) << "delete";
    EXPECT_FALSE(m.storeChosen()) << "store";
    EXPECT_FALSE(m.highlightChosen()) << "highlight";
    EXPECT_FALSE(m.chosenMenu(menu)) << "context menu";
    EXPECT_FALSE(m.menuAction(menu, 0)) << "menu action";
    EXPECT_TRUE(m.data == before) << "nothing changed";
    EXPECT_TRUE(cad::curDrawing().highlighted().empty()) << "nothing highlighted";

    // with the row chosen they act; a menu position beyond the actions does nothing
    m.chosenRow = 0;
    ASSERT_TRUE(m.chosenMenu(menu));
    EXPECT_FALSE(m.menuAction(menu, menu.actions.length())) << "beyond the menu";
    EXPECT_TRUE(m.highlightChosen());
    EXPECT_TRUE(cad::curDrawing().isHighlighted(id("EP1")));
    EXPECT_TRUE(m.deleteChosen());
    EXPECT_EQ(m.chosenRow, -1) << "no row left to choose";

    // a module switch leaves no row chosen: a stale row would act on the other module's constraints
    picks.push(Answer::object("EP1"));
    picks.push(Answer::object("B1"));
    ASSERT_EQ(m.paletteCommand(kConstrParallel), ConstraintEditorModel::AfterCommand::ShowConstraints);
    ASSERT_TRUE(m.switchModule("Bolts"));
    ASSERT_TRUE(m.switchModule("Endplate"));
    EXPECT_EQ(m.chosenRow, -1);
    EXPECT_FALSE(m.deleteChosen()) << "after a module switch";
    EXPECT_EQ(m.data.currentModule()->constraints.length(), 1) << "the row is still there";
}

TEST_F(EditConstraintsTest, theContextMenusCommandsKeepTheirPositionsPastASeparator) {
    ConstraintEditorModel m = model("M1");
    for (int n = 0; n < 2; ++n) {
        picks.push(Answer::object("EP1"));
        picks.push(Answer::object("B1"));
        ASSERT_EQ(m.paletteCommand(kConstrDistance), ConstraintEditorModel::AfterCommand::ShowConstraints);
    }
    m.chosenRow = 0;
    m.data.currentModule()->constraints[0].fixed = true;
    ASSERT_TRUE(m.storeChosen());
    ConstraintMenu menu;
    ASSERT_TRUE(m.chosenMenu(menu));
    // fixed (checked), measured the other way, a separator, delete, move down
    const std::vector<ConstraintMenuItem> items = constraintMenuItems(menu);
    ASSERT_EQ(items.size(), 4u) << "the separator is no item";
    const struct {
        int id;
        const char* text;
        bool checked;
    } expected[] = {{32811, "Fixed value", true},
                    {32812, "Measured the other way", false},
                    {32817, "Delete", false},
                    {32818, "Move down", false}};
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].id, expected[i].id)
            << expected[i].text << ": the id of its position past the separator";
        EXPECT_EQ(items[i].text.str(), expected[i].text);
        EXPECT_EQ(items[i].checked, expected[i].checked) << expected[i].text;
    }
    // choosing delete deletes, not the item after it
    ASSERT_TRUE(m.menuAction(menu, constraintMenuPosition(32817)));
    EXPECT_EQ(m.data.currentModule()->constraints.length(), 1) << "the chosen row was deleted";
    EXPECT_EQ(constraintMenuPosition(12345), -1) << "an id of no position";

    // the menu resource lists the same ids in the same order
    const ui::Menu resource(kConstraintMenuResource);
    const std::vector<int> ids = resource.subMenu(0).commandIds();
    EXPECT_EQ(ids, std::vector<int>(std::begin(kConstraintMenuIds), std::end(kConstraintMenuIds)));
}

TEST_F(EditConstraintsTest, typedVariablesSurviveCommandsModuleSwitchesAndTheDrawingsFile) {
    ConstraintEditorModel m = model("M1");
    m.typeVariables({{"gap", dialString(900), "12"}}, {"gap = 2 * 6"});

    // a palette command refills every list: what was typed is kept first
    picks.push(Answer::object("EP1"));
    picks.push(Answer::object("B1"));
    ASSERT_EQ(m.paletteCommand(kConstrPerpendicular), ConstraintEditorModel::AfterCommand::ShowConstraints);
    EXPECT_EQ(names(m.shownVariables()), "gap=12 ") << "after a palette command";
    EXPECT_EQ(names(record("M1").variables), "gap=12 ") << "kept in the macro";

    m.typeVariables({{"gap", dialString(900), "12"}, {"rise", dialString(895), "5"}},
                    {"gap = 2 * 6", "rise = 5"});
    ASSERT_TRUE(m.switchModule("Bolts"));
    EXPECT_EQ(names(m.shownVariables()), "gap=12 rise=5 ") << "after a module switch";

    // a cancelled command changes nothing, but the typed ones are stored all the same
    m.typeVariables({{"gap", dialString(900), "13"}}, {});
    picks.push(Answer::cancelled(cad::PickKind::Object));
    EXPECT_EQ(m.paletteCommand(kConstrRadius), ConstraintEditorModel::AfterCommand::Failed);
    EXPECT_EQ(names(m.shownVariables()), "gap=13 ");

    const std::string path = (std::filesystem::temp_directory_path() / "constr-vars.dwg").string();
    std::string error;
    ASSERT_TRUE(cad::saveDrawing(cad::curDrawing(), path, &error)) << error;
    ASSERT_TRUE(cad::openDrawing(defaultLibDir().str() + "Drawings/Hall.dwg", &error)) << error;
    EXPECT_EQ(names(record("M1").variables), "") << "the sample itself is untouched";
    ASSERT_TRUE(cad::openDrawing(path, &error)) << error;
    EXPECT_EQ(names(record("M1").variables), "gap=13 ") << "kept with the drawing's file";
    std::filesystem::remove(path);
}

TEST_F(EditConstraintsTest, typedVariablesThatCannotBeKeptStayTyped) {
    ConstraintEditorModel m = model("M1");
    m.typeVariables({{"", dialString(900), "3"}}, {});
    Vor_String error;
    EXPECT_FALSE(m.storeVariables(&error)) << "a variable without a name";
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(m.hasTypedVariables()) << "not lost: shown again for mending";
    EXPECT_EQ(names(record("M1").variables), "") << "the macro keeps what it had";
}

TEST_F(EditConstraintsTest, aFlexibilityThatIsNoWholeNumberIsRefused) {
    ConstraintEditorModel m = model("M1");
    picks.push(Answer::object("EP1"));
    picks.push(Answer::object("B1"));
    ASSERT_EQ(m.paletteCommand(kConstrParallel), ConstraintEditorModel::AfterCommand::ShowConstraints);
    ASSERT_TRUE(GetGeomFlexibility(m.data));
    ASSERT_GE(m.data.currentModule()->flexibility.length(), 1);
    ASSERT_TRUE(m.setFlexibility(0, 0, "2"));
    const struct {
        const char* text;
        int what;
        bool ok;
        int translate, rotate;
        const char* why;
    } cases[] = {
        {"1.5", 0, false, 2, 0, "a fraction would be cut to 1"},
        {"abc", 0, false, 2, 0, "letters would read as 0"},
        {"", 0, false, 2, 0, "an empty cell would read as 0"},
        {"3x", 0, false, 2, 0, "trailing letters"},
        {"4", 0, false, 2, 0, "beyond the translations"},
        {" 3 ", 0, true, 3, 0, "blanks around a number"},
        {"2", 1, true, 3, 2, "a rotation"},
        {"3", 1, false, 3, 2, "beyond the rotations"},
    };
    for (const auto& c : cases) {
        Vor_String error;
        EXPECT_EQ(m.setFlexibility(0, c.what, c.text, &error), c.ok) << c.why;
        const MacroGeomFlex& f = m.data.currentModule()->flexibility[0];
        EXPECT_EQ(f.translate, c.translate) << c.why;
        EXPECT_EQ(f.rotate, c.rotate) << c.why;
        if (!c.ok) {
            EXPECT_FALSE(error.isEmpty()) << c.why;
        }
    }
    Vor_String error;
    m.setFlexibility(0, 0, "x1", &error);
    EXPECT_NE(error.str().find("1: \"x1\""), std::string::npos)
        << "names the row and the text: " << error.str();
}

// ---- the modeless window

TEST_F(EditConstraintsTest, theEditorClosingItselfIsDeletedOnlyAfterItsHandler) {
    for (const int how : {int(ui::IDOK), int(ui::IDCANCEL), 0}) {
        EditConstrData d = record("M1");
        ASSERT_TRUE(StartDlgEditConstraints(d));
        DlgEditConstraints* dlg = gDlgEditConstraints;
        ASSERT_NE(dlg, nullptr);
        ASSERT_TRUE(dlg->exists());
        const int prompts = acedPostCommandPromptCount();
        if (how)
            dlg->sendCommand(how); // ASan reports a use after free if the handler's object went
        else
            dlg->sendCommand(ui::IDCANCEL, ui::BN_CLICKED);
        EXPECT_EQ(gDlgEditConstraints, nullptr) << how << ": the instance is cleared at once";
        EXPECT_EQ(closedConstraintEditors(), 1) << how << ": the object waits for its handler";
        EXPECT_EQ(acedPostCommandPromptCount(), prompts + 1) << how;
        agent.advanceClock(10);
        EXPECT_EQ(closedConstraintEditors(), 0) << how << ": deleted afterwards";
    }
    const int prompts = acedPostCommandPromptCount();
    EndDlgEditConstraints();
    EXPECT_EQ(acedPostCommandPromptCount(), prompts) << "with none open: not even the prompt";
}

TEST_F(EditConstraintsTest, aSecondRequestBringsTheOpenEditorToTheFront) {
    EditConstrData first = record("M1");
    ASSERT_TRUE(StartDlgEditConstraints(first));
    DlgEditConstraints* dlg = gDlgEditConstraints;
    ASSERT_NE(dlg, nullptr);
    dlg->showWindow(ui::SW_HIDE);
    EditConstrData second = record("M2");
    acutClearPrintedText();
    EXPECT_TRUE(StartDlgEditConstraints(second)) << "the answer stays true";
    EXPECT_EQ(gDlgEditConstraints, dlg) << "one window";
    EXPECT_EQ(dlg->model.data.macroName.str(), first.macroName.str()) << "on its own record";
    EXPECT_TRUE(dlg->isVisible()) << "brought to the front";
    EXPECT_NE(acutPrintedText().find(dialString(10751).str()), std::string::npos) << "and said so";

    runUnloadHandlers(UnloadStep::EndDlgEditConstraints);
    EXPECT_EQ(gDlgEditConstraints, nullptr) << "unloading closes it";
    EXPECT_EQ(closedConstraintEditors(), 0) << "and deletes it, no handler running";
}

TEST_F(EditConstraintsTest, aPaletteButtonAddsARowAndKeepsTheTypedVariables) {
    EditConstrData d = record("M1");
    ASSERT_TRUE(StartDlgEditConstraints(d));
    DlgEditConstraints& dlg = *gDlgEditConstraints;
    dlg.showPage(kTabVariables);
    dlg.variablesGrid().setMaxRows(1);
    dlg.variablesGrid().setText(1, 1, "gap");
    dlg.variablesGrid().setText(2, 1, "12");
    dlg.variablesEdited();

    picks.push(Answer::object("EP1"));
    picks.push(Answer::object("B1"));
    dlg.paletteCommand(kConstrDistance);
    EXPECT_EQ(dlg.currentPage(), kTabConstraints) << "a constraint command shows the constraints";
    EXPECT_EQ(dlg.constraintGrid().maxRows(), 1) << "the new row";
    EXPECT_TRUE(cad::curDrawing().isHighlighted(id("EP1"))) << "and its objects highlighted";
    Vor_String shown;
    dlg.variablesGrid().getText(1, 1, kTextData, shown);
    EXPECT_EQ(shown.str(), "gap") << "the refill kept the typed variable";
    EXPECT_EQ(names(record("M1").variables), "gap=12 ");

    // module switch through the list, then a cancelled pick: nothing changes
    dlg.switchToModule(1);
    EXPECT_EQ(dlg.model.data.currentModule()->name.str(), "Bolts");
    picks.push(Answer::cancelled(cad::PickKind::Object));
    dlg.showPage(kTabPalette);
    dlg.paletteCommand(kConstrRadius);
    EXPECT_EQ(dlg.currentPage(), kTabPalette) << "a cancelled pick leaves the page";
    EXPECT_EQ(dlg.model.data.currentModule()->constraints.length(), 0);
}

TEST_F(EditConstraintsTest, theModalEditorAnswersHowItEnded) {
    const struct {
        const char* script;
        bool ok;
        const char* why;
    } cases[] = {
        {"expect-dialog 8715\nclick 1\n", true, "OK"},
        {"expect-dialog 8715\nclose\n", false, "the close box"},
    };
    for (const auto& c : cases) {
        EditConstrData d = record("M1");
        agent.setScript(c.script, "t.vsc");
        EXPECT_EQ(StartDlgEditConstrModal(d), c.ok) << c.why;
        EXPECT_FALSE(agent.failed()) << c.why << ": " << agent.failure();
        EXPECT_EQ(gDlgEditConstraints, nullptr) << c.why << ": the modal editor is no modeless one";
        EXPECT_EQ(closedConstraintEditors(), 0) << c.why;
    }
}

} // namespace
