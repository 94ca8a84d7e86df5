// Dialogs from templates: controls of every kind, notifications, keys, menus, timers, placement.

#include "TestDialogs.h"

#include <ui/Application.h>
#include <ui/Script.h>

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

using namespace ui;
using testui::Recorder;

namespace {

class DialogTest : public testing::Test {
protected:
    void SetUp() override {
        testui::registerResources();
        ASSERT_TRUE(dlg.create());
    }
    void TearDown() override {
        dlg.destroyWindow();
        processEvents();
    }
    Recorder dlg;
    std::string error;
};

TEST_F(DialogTest, everyTemplateLineBecomesAControlOfItsKind) {
    const std::pair<int, ControlKind> kinds[] = {
        {10, ControlKind::Static},   {11, ControlKind::Edit},       {12, ControlKind::Edit},
        {13, ControlKind::CheckBox}, {14, ControlKind::CheckBox},   {15, ControlKind::RadioButton},
        {18, ControlKind::ComboBox}, {20, ControlKind::ListBox},    {21, ControlKind::TabControl},
        {22, ControlKind::ListView}, {23, ControlKind::CheckCombo}, {24, ControlKind::Placeholder},
        {25, ControlKind::GroupBox}, {1, ControlKind::PushButton}};
    for (auto [id, kind] : kinds) {
        ASSERT_NE(dlg.item(id), nullptr) << id;
        EXPECT_EQ(dlg.item(id)->kind(), kind) << id;
    }
    EXPECT_TRUE(dlg.initRan);
    EXPECT_EQ(dlg.item(99), nullptr);
    EXPECT_EQ(dlg.item(10)->text(), "Label") << "a static shows its text without the mnemonic mark";
    EXPECT_FALSE(dlg.item(26)->isVisible());
    EXPECT_FALSE(dlg.item(27)->isEnabled());
    EXPECT_TRUE(dlg.item(1)->isDefaultButton());
    EXPECT_EQ(dlg.windowText(), "All controls");
}

TEST_F(DialogTest, programChangesOfListsAreSilentButUserChoicesNotify) {
    Control& combo = *dlg.item(18);
    combo.setCurSel(1);
    EXPECT_FALSE(dlg.sawCommand(18, CBN_SELCHANGE))
        << "setting the selection from code sends no notification";
    EXPECT_EQ(combo.setCurSel(5), -1) << "a bad index answers CB_ERR";
    EXPECT_EQ(combo.curSel(), -1);
    ASSERT_TRUE(SimulatedUser::select(combo, "one", error)) << error;
    EXPECT_TRUE(dlg.sawCommand(18, CBN_SELCHANGE));
    EXPECT_EQ(combo.curSel(), 1);
    EXPECT_EQ(dlg.item(19)->itemText(0), "alpha") << "CBS_SORT keeps items sorted";
    EXPECT_FALSE(SimulatedUser::select(combo, "three", error));
    EXPECT_NE(error.find("has no item \"three\""), std::string::npos) << error;
}

TEST_F(DialogTest, typingNotifiesChangeAndLeavingNotifiesKillFocus) {
    ASSERT_TRUE(SimulatedUser::type(*dlg.item(11), "IPE 300", error)) << error;
    EXPECT_EQ(dlg.item(11)->text(), "IPE 300");
    EXPECT_TRUE(dlg.sawCommand(11, EN_CHANGE));
    ASSERT_TRUE(SimulatedUser::type(*dlg.item(19), "gamma", error)) << error;
    EXPECT_TRUE(dlg.sawCommand(11, EN_KILLFOCUS))
        << "moving to another control takes the focus from the edit";
    EXPECT_TRUE(dlg.sawCommand(19, CBN_EDITCHANGE));
    ASSERT_TRUE(SimulatedUser::type(*dlg.item(12), "line 1\nline 2", error)) << error;
    EXPECT_EQ(dlg.item(12)->text(), "line 1\r\nline 2") << "multi-line edits hand back classic line ends";
    EXPECT_FALSE(SimulatedUser::type(*dlg.item(18), "x", error)) << "a drop-down list takes no typing";
}

TEST_F(DialogTest, selectionOfEditTextCanBeSetAndRead) {
    Control& edit = *dlg.item(11);
    edit.setText("HEA200");
    edit.setSel(0, -1);
    EXPECT_EQ(edit.getSel(), (std::pair<int, int>{0, 6}));
    edit.setSel(1, 3);
    edit.replaceSel("XY");
    EXPECT_EQ(edit.text(), "HXY200");
}

TEST_F(DialogTest, checkBoxesRadioGroupsAndThreeStates) {
    ASSERT_TRUE(SimulatedUser::check(*dlg.item(13), BST_CHECKED, error)) << error;
    EXPECT_EQ(dlg.item(13)->checkState(), BST_CHECKED);
    EXPECT_FALSE(SimulatedUser::check(*dlg.item(13), BST_INDETERMINATE, error))
        << "a two-state box has no third state";
    ASSERT_TRUE(SimulatedUser::check(*dlg.item(14), BST_INDETERMINATE, error)) << error;
    EXPECT_EQ(dlg.item(14)->checkState(), BST_INDETERMINATE);
    ASSERT_TRUE(SimulatedUser::check(*dlg.item(15), BST_CHECKED, error));
    ASSERT_TRUE(SimulatedUser::check(*dlg.item(16), BST_CHECKED, error));
    EXPECT_EQ(dlg.item(15)->checkState(), BST_UNCHECKED) << "A and B form one group";
    ASSERT_TRUE(SimulatedUser::check(*dlg.item(17), BST_CHECKED, error));
    EXPECT_EQ(dlg.item(16)->checkState(), BST_CHECKED) << "C starts a group of its own (WS_GROUP)";
    EXPECT_FALSE(SimulatedUser::click(*dlg.item(27), error)) << "a disabled button cannot be clicked";
    EXPECT_NE(error.find("disabled"), std::string::npos);
    EXPECT_FALSE(SimulatedUser::click(*dlg.item(26), error)) << "nor a hidden one";
}

TEST_F(DialogTest, listsTabsAndCheckCombos) {
    Control& list = *dlg.item(20);
    list.setSelected(0, true);
    list.setSelected(2, true);
    EXPECT_EQ(list.selectedIndexes(), (std::vector<int>{0, 2}));
    EXPECT_FALSE(dlg.sawCommand(20, LBN_SELCHANGE));
    ASSERT_TRUE(SimulatedUser::select(*dlg.item(21), 1, error)) << error;
    EXPECT_TRUE(dlg.sawCommand(21, TCN_SELCHANGE));
    EXPECT_EQ(dlg.item(21)->curTab(), 1);
    Control& cc = *dlg.item(23);
    ASSERT_TRUE(SimulatedUser::select(cc, "S355", error)) << error;
    EXPECT_TRUE(cc.itemChecked(1));
    EXPECT_FALSE(cc.itemChecked(0));
    cc.setItemChecked(0, true);
    EXPECT_EQ(cc.text(), "S235, S355");
    ASSERT_TRUE(SimulatedUser::pick(cc, 1, error)) << error;
    EXPECT_EQ(cc.curSel(), 1) << "a click on an item's text makes it the current one";
    EXPECT_TRUE(cc.itemChecked(1)) << "and leaves its mark";
    EXPECT_EQ(cc.text(), "S235, S355") << "the edit part still shows the marked items";
    cc.setCurSel(0);
    EXPECT_EQ(cc.curSel(), 0);
    EXPECT_EQ(cc.text(), "S235, S355");
    Control& lv = *dlg.item(22);
    lv.insertColumn(0, "Name", 60);
    lv.insertColumn(1, "Value", 40);
    lv.insertItem(0, "h");
    lv.setItemText(0, 1, "200");
    EXPECT_EQ(lv.itemText(0, 1), "200");
    EXPECT_EQ(lv.count(), 1);
}

TEST_F(DialogTest, aCheckCombosEditPartShowsTheStartOfItsMarksWhenFocused) {
    Control& cc = *dlg.item(23);
    for (const char* grade : {"S275 JR", "S275 J0", "S355 J2", "S355 K2", "S420 M", "S460 M", "S460 Q"})
        cc.addString(grade);
    for (int i = 0; i < cc.count(); ++i)
        cc.setItemChecked(i, true);
    auto* combo = static_cast<QComboBox*>(cc.widget());
    auto* line = combo->lineEdit();
    ASSERT_GT(line->text().size(), 40) << "a list longer than the edit part";
    processEvents();
    EXPECT_EQ(line->cursorPosition(), 0) << "marked items show from the start of their list";
    // Tab into it: the combo hands the focus to its edit part, which selects all its text then and
    // would show the end.
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(combo, &in);
    processEvents();
    EXPECT_EQ(line->cursorPosition(), 0) << "the marks show from their start";
}

TEST_F(DialogTest, keysGoThroughPreTranslationThenTheDefaults) {
    dlg.eatKey = VK_F3;
    dlg.item(11)->setFocus();
    ASSERT_TRUE(SimulatedUser::key(dlg, {VK_F3}, error));
    EXPECT_EQ(dlg.keys.back(), VK_F3);
    dlg.gotoDlgCtrl(11);
    ASSERT_TRUE(SimulatedUser::key(dlg, {VK_RETURN}, error));
    EXPECT_EQ(dlg.okCalls, 1) << "Enter in a single-line edit presses the default button";
    ASSERT_TRUE(SimulatedUser::key(dlg, {VK_ESCAPE}, error));
    EXPECT_EQ(dlg.cancelCalls, 1);
    dlg.eatAll = true;
    ASSERT_TRUE(SimulatedUser::key(dlg, {VK_ESCAPE}, error));
    EXPECT_EQ(dlg.cancelCalls, 1) << "a key eaten by pre-translation has no default effect";
}

TEST_F(DialogTest, menuItemsAndToolbarButtonsSendCommandsUnlessDisabled) {
    ASSERT_NE(dlg.menu(), nullptr);
    ASSERT_TRUE(SimulatedUser::menu(dlg, 601, error)) << error;
    EXPECT_TRUE(dlg.sawCommand(601, 0));
    EXPECT_FALSE(SimulatedUser::menu(dlg, 602, error));
    EXPECT_NE(error.find("disabled"), std::string::npos) << error;
    dlg.menu()->enableItem(602, true);
    EXPECT_TRUE(SimulatedUser::menu(dlg, 602, error)) << error;
    ASSERT_NE(dlg.createToolBar(510), nullptr);
    EXPECT_EQ(dlg.toolBar()->buttonTip(601), "Open a table");
    dlg.toolBar()->enableButton(602, false);
    EXPECT_FALSE(SimulatedUser::toolbar(dlg, 602, error));
    EXPECT_TRUE(SimulatedUser::toolbar(dlg, 601, error));
}

TEST_F(DialogTest, timersRunOnTheScriptsClock) {
    ScriptedAgent agent;
    Agent* previous = setAgent(&agent);
    dlg.setTimer(7, 50);
    agent.advanceClock(40);
    EXPECT_TRUE(dlg.timers.empty());
    agent.advanceClock(60);
    EXPECT_EQ(dlg.timers, (std::vector<int>{7, 7})) << "due at 50 and 100";
    dlg.killTimer(7);
    agent.advanceClock(500);
    EXPECT_EQ(dlg.timers.size(), 2u);
    setAgent(previous == &agent ? nullptr : nullptr);
}

TEST_F(DialogTest, rightClickReachesTheDialogAndPopupsAskTheAgent) {
    ScriptedAgent agent;
    setAgent(&agent);
    ASSERT_TRUE(SimulatedUser::rightClick(*dlg.item(20), error)) << error;
    EXPECT_EQ(dlg.contextIds, (std::vector<int>{20}));
    agent.queueMenu(612);
    EXPECT_EQ(dlg.trackPopupMenu(500, 1, {0, 0}), 612);
    agent.queueMenu(0);
    EXPECT_EQ(dlg.trackPopupMenu(500, 1, {0, 0}), 0) << "dismissed";
    agent.queueMenu(601);
    EXPECT_EQ(dlg.trackPopupMenu(500, 1, {0, 0}), 0) << "an item of another popup cannot be chosen";
    EXPECT_TRUE(agent.failed());
    setAgent(nullptr);
}

TEST_F(DialogTest, minimumTrackingSizeHolds) {
    dlg.setMinTrackSize({500, 400});
    Rect r = dlg.windowRect();
    dlg.moveWindow(r.left, r.top, 100, 100);
    processEvents();
    EXPECT_GE(dlg.windowRect().width(), 500);
    EXPECT_GE(dlg.windowRect().height(), 400);
}

} // namespace
