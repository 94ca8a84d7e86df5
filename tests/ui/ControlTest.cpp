// Controls as the module uses them: edits of every style (no length limit unless one is set), lists,
// sliders, what code changes silently and what a person's actions notify, and the simulated user's
// refusal of hidden and disabled controls.

#include "TestDialogs.h"

#include <ui/Application.h>
#include <ui/Script.h>

#include <QApplication>
#include <QClipboard>

#include <algorithm>
#include <functional>

using namespace ui;

namespace {

/// Dialog 710 ("Edits and more"), recording the commands it gets.
class Edits : public Dialog {
public:
    Edits()
        : Dialog(710) {}
    std::vector<std::pair<int, int>> commands;
    std::vector<int> keys;
    int eatKey = 0;
    int count(int id, int code) const {
        int n = 0;
        for (auto [i, c] : commands)
            n += i == id && c == code;
        return n;
    }

protected:
    bool onCommand(int id, int code) override {
        commands.push_back({id, code});
        return false;
    }
    bool preTranslateKey(const KeyEvent& k) override {
        keys.push_back(k.vk);
        return k.vk == eatKey;
    }
};

class ControlTest : public testing::Test {
protected:
    void SetUp() override {
        testui::registerResources();
        ASSERT_TRUE(dlg.create());
    }
    void TearDown() override {
        dlg.destroyWindow();
        processEvents();
    }
    Control& c(int id) { return *dlg.item(id); }
    Edits dlg;
    std::string error;
};

TEST_F(ControlTest, editsTakeTextsOfAnyLengthUnlessALimitIsSet) {
    const std::string longText(100000, 'w'); // well past the toolkit's default of 32,767
    c(31).setText(longText);
    EXPECT_EQ(c(31).text().size(), longText.size()) << "a text set by code is kept whole";
    ASSERT_TRUE(SimulatedUser::type(c(31), longText + "!", error)) << error;
    EXPECT_EQ(c(31).text().size(), longText.size() + 1) << "and so is a typed one";
    ASSERT_TRUE(SimulatedUser::type(c(43), longText, error)) << error;
    EXPECT_EQ(c(43).text().size(), longText.size()) << "the edit part of a combo box has no limit either";
    EXPECT_EQ(c(31).limitText(), 0) << "no limit unless code sets one";

    c(31).setLimitText(5);
    EXPECT_EQ(c(31).limitText(), 5);
    ASSERT_TRUE(SimulatedUser::type(c(31), "HEA 200", error)) << error;
    EXPECT_EQ(c(31).text(), "HEA 2") << "a limited field keeps what fits, as it does for a person";
    c(31).setLimitText(0);
    EXPECT_EQ(c(31).limitText(), 0) << "0 lifts the limit";
    ASSERT_TRUE(SimulatedUser::type(c(31), longText, error)) << error;
    EXPECT_EQ(c(31).text().size(), longText.size());
}

TEST_F(ControlTest, editStylesFromTheTemplate) {
    EXPECT_TRUE(c(32).isReadOnly());
    EXPECT_FALSE(SimulatedUser::type(c(32), "x", error)) << "a read-only edit takes no typing";
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    c(32).setText("shown");
    EXPECT_EQ(c(32).text(), "shown") << "but code may still set its text";
    c(32).setReadOnly(false);
    EXPECT_TRUE(SimulatedUser::type(c(32), "now typed", error)) << error;

    ASSERT_TRUE(SimulatedUser::type(c(33), "12a3", error)) << error;
    EXPECT_EQ(c(33).text(), "") << "ES_NUMBER refuses a text with a letter";
    ASSERT_TRUE(SimulatedUser::type(c(33), "123", error)) << error;
    EXPECT_EQ(c(33).text(), "123");

    EXPECT_TRUE(c(34).isMultiLine());
    EXPECT_FALSE(c(31).isMultiLine());
    c(34).setText("a\r\nb");
    EXPECT_EQ(c(34).text(), "a\r\nb") << "classic line ends in and out";
    c(34).setSel(0, 1);
    c(34).replaceSel("X");
    EXPECT_EQ(c(34).text(), "X\r\nb");
}

TEST_F(ControlTest, changesByCodeAreSilentButAPersonsActionsNotify) {
    c(41).addString("a");
    c(41).addString("b");
    c(41).setCurSel(0);
    c(39).setRange(0, 10);
    c(39).setPos(4);
    c(43).addString("one");
    c(43).setCurSel(0);
    c(38).setCheck(BST_CHECKED);
    c(37).addString("x");
    c(37).setSelected(0, true);
    EXPECT_TRUE(dlg.commands.empty()) << "filling, selecting and checking from code sends nothing";
    c(31).setText("by code");
    EXPECT_EQ(dlg.count(31, EN_CHANGE), 1) << "an edit's text set by code still notifies, as the classic "
                                              "edit does; dialogs guard while they fill";
    dlg.commands.clear();

    const struct {
        int id;
        int code;
        std::function<bool()> act;
        const char* why;
    } cases[] = {
        {31, EN_CHANGE, [&] { return SimulatedUser::type(c(31), "typed", error); },
         "typing changes the text"},
        {41, LBN_SELCHANGE, [&] { return SimulatedUser::select(c(41), 1, error); },
         "choosing another item of a list"},
        {43, CBN_SELCHANGE, [&] { return SimulatedUser::select(c(43), "one", error); },
         "choosing a combo item"},
        {43, CBN_EDITCHANGE, [&] { return SimulatedUser::type(c(43), "on", error); },
         "typing in a combo box"},
        {42, BN_CLICKED, [&] { return SimulatedUser::click(c(42), error); }, "clicking a button"},
        {41, LBN_DBLCLK, [&] { return SimulatedUser::doubleClick(c(41), error); },
         "double-clicking a list item"},
    };
    for (const auto& t : cases) {
        int before = dlg.count(t.id, t.code);
        EXPECT_TRUE(t.act()) << t.why << ": " << error;
        EXPECT_GT(dlg.count(t.id, t.code), before) << t.why;
    }
}

TEST_F(ControlTest, listOperationsKeepTheClassicAnswers) {
    Control& list = c(41);
    for (const char* s : {"IPE 200", "HEA 100", "ipe 100"})
        list.addString(s);
    EXPECT_EQ(list.itemText(0), "HEA 100") << "LBS_SORT sorts without regard to case";
    EXPECT_EQ(list.itemText(1), "ipe 100");
    EXPECT_EQ(list.itemText(2), "IPE 200");
    EXPECT_EQ(list.insertString(-1, "zz"), 3) << "-1 appends";
    EXPECT_EQ(list.findStringExact("ipe 200"), 2) << "exact search ignores case";
    EXPECT_EQ(list.findStringExact("HEA 100", 0), 0) << "the search wraps past the end";
    EXPECT_EQ(list.findStringExact("nothing"), -1);
    EXPECT_EQ(list.selectString("ip"), 1) << "selectString picks the first item starting with the text";
    EXPECT_EQ(list.curSel(), 1);
    list.setItemData(2, 4711);
    EXPECT_EQ(list.itemData(2), 4711);
    EXPECT_EQ(list.deleteString(0), 3) << "deleteString answers the count left";
    EXPECT_EQ(list.deleteString(7), -1) << "a bad index answers LB_ERR";
    list.resetContent();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.curSel(), -1);

    c(39).setRange(0, 100);
    c(39).setPos(150);
    EXPECT_EQ(c(39).pos(), 100) << "a slider keeps to its range";
    c(40).setRange(0, 10);
    c(40).setPos(3);
    EXPECT_EQ(c(40).pos(), 3);
}

TEST_F(ControlTest, theSimulatedUserRefusesHiddenAndDisabledControls) {
    c(36).addString("x");
    c(37).addString("x");
    const struct {
        std::function<bool()> act;
        const char* expected;
        const char* why;
    } cases[] = {
        {[&] { return SimulatedUser::type(c(35), "x", error); }, "it is hidden", "typing into a hidden edit"},
        {[&] { return SimulatedUser::check(c(38), BST_CHECKED, error); }, "it is hidden",
         "checking a hidden box"},
        {[&] { return SimulatedUser::select(c(36), 0, error); }, "it is disabled",
         "choosing in a disabled combo"},
        {[&] { return SimulatedUser::type(c(36), "x", error); }, "it is disabled",
         "typing in a disabled combo"},
        {[&] { return SimulatedUser::select(c(37), 0, error); }, "it is disabled",
         "choosing in a disabled list"},
        {[&] { return SimulatedUser::doubleClick(c(37), error); }, "it is disabled", "double-clicking it"},
        {[&] { return SimulatedUser::rightClick(c(37), error); }, "it is disabled", "right-clicking it"},
        {[&] { return SimulatedUser::click(c(31), error); }, "not a button", "clicking an edit"},
        {[&] { return SimulatedUser::select(c(31), 0, error); }, "has no item 0", "choosing in an edit"},
    };
    for (const auto& t : cases) {
        error.clear();
        EXPECT_FALSE(t.act()) << t.why;
        EXPECT_NE(error.find(t.expected), std::string::npos) << t.why << ": " << error;
    }
    EXPECT_TRUE(dlg.commands.empty()) << "nothing refused reached the dialog";
    c(35).showWindow(SW_SHOW);
    c(36).enableWindow(true);
    EXPECT_TRUE(SimulatedUser::type(c(35), "now", error)) << "shown, it takes typing: " << error;
    EXPECT_TRUE(SimulatedUser::select(c(36), 0, error)) << "enabled, it takes a choice: " << error;
}

TEST_F(ControlTest, keysEnterEscapeFunctionKeysAndClipboard) {
    // Enter on a focused push button presses that button, not the default one.
    SimulatedUser::focus(c(42));
    ASSERT_TRUE(SimulatedUser::key(dlg, {VK_RETURN}, error));
    EXPECT_EQ(dlg.count(42, BN_CLICKED), 1);
    EXPECT_TRUE(dlg.exists());
    // Enter in a single-line edit presses the default button, unless that is disabled.
    c(1).enableWindow(false);
    SimulatedUser::focus(c(31));
    ASSERT_TRUE(SimulatedUser::key(dlg, {VK_RETURN}, error));
    EXPECT_EQ(dlg.count(IDOK, BN_CLICKED), 0) << "a disabled default button is not pressed";
    EXPECT_TRUE(dlg.isVisible());
    c(1).enableWindow(true);

    // F3 and F5 reach pre-translation, which may keep them from the focused control.
    dlg.eatKey = VK_F5;
    ASSERT_TRUE(SimulatedUser::key(dlg, {VK_F3}, error));
    ASSERT_TRUE(SimulatedUser::key(dlg, {VK_F5}, error));
    EXPECT_EQ(std::count(dlg.keys.begin(), dlg.keys.end(), VK_F3), 1)
        << "a key the edit leaves alone is pre-translated once, not again as it travels to the dialog";
    EXPECT_EQ(std::count(dlg.keys.begin(), dlg.keys.end(), VK_F5), 1);

    // Ctrl+C, Ctrl+X and Ctrl+V work on the focused edit after pre-translation saw them.
    c(31).setText("S355");
    SimulatedUser::focus(c(31));
    c(31).setSel(0, -1);
    KeyEvent copy{'C'};
    copy.ctrl = true;
    ASSERT_TRUE(SimulatedUser::key(dlg, copy, error));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "S355");
    KeyEvent cut{'X'};
    cut.ctrl = true;
    ASSERT_TRUE(SimulatedUser::key(dlg, cut, error));
    EXPECT_EQ(c(31).text(), "");
    KeyEvent paste{'V'};
    paste.ctrl = true;
    ASSERT_TRUE(SimulatedUser::key(dlg, paste, error));
    ASSERT_TRUE(SimulatedUser::key(dlg, paste, error));
    EXPECT_EQ(c(31).text(), "S355S355");
    EXPECT_EQ(std::count(dlg.keys.begin(), dlg.keys.end(), 'V'), 2) << "pre-translation saw each key";

    ASSERT_TRUE(SimulatedUser::key(dlg, {VK_ESCAPE}, error));
    EXPECT_EQ(dlg.count(IDCANCEL, BN_CLICKED), 1) << "Escape is Cancel";
    EXPECT_FALSE(dlg.isVisible()) << "which hides a modeless dialog";
}

} // namespace
