// Dialogs run modally and modeless under the scripted agent: end codes, the register of open
// dialogs, placement, timers, toolbars, and the standard dialogs answered by a script.

#include "TestDialogs.h"

#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Script.h>

#include <functional>
#include <memory>
#include <set>

using namespace ui;
using testui::Recorder;

namespace {

/// Ends itself with code 42 when button 26 is clicked.
class Ending : public Recorder {
protected:
    bool onCommand(int id, int code) override {
        if (id == 26) {
            endDialog(42);
            return true;
        }
        return Recorder::onCommand(id, code);
    }
};

class DialogRunTest : public testing::Test {
protected:
    void SetUp() override {
        testui::registerResources();
        setAgent(&agent);
    }
    void TearDown() override {
        setAgent(nullptr);
        processEvents();
    }
    ScriptedAgent agent;
};

TEST_F(DialogRunTest, modalRunsEndWithTheCodeOfWhatEndedThem) {
    const struct {
        const char* script;
        int code;
        const char* why;
    } cases[] = {
        {"expect-dialog 700\nclick 1\n", IDOK, "OK ends with IDOK"},
        {"expect-dialog 700\nclick 2\n", IDCANCEL, "Cancel ends with IDCANCEL"},
        {"expect-dialog 700\nclose\n", IDCANCEL, "the close box is Cancel"},
        {"expect-dialog 700\nkey Escape\n", IDCANCEL, "Escape is Cancel"},
        {"expect-dialog 700\nfocus 11\nkey Enter\n", IDOK, "Enter in an edit presses the default button"},
    };
    for (const auto& t : cases) {
        ScriptedAgent a;
        setAgent(&a);
        a.setScript(t.script, "end.vsc");
        Ending dlg;
        int code = dlg.doModal(); // the script runs inside the modal loop
        EXPECT_EQ(code, t.code) << t.why;
        EXPECT_FALSE(dlg.exists()) << t.why << ": a modal dialog's window goes when it ends";
        EXPECT_FALSE(a.failed()) << t.why << ": " << a.failure();
    }
    setAgent(&agent);
    Dialog missing(9999);
    EXPECT_EQ(missing.doModal(), -1) << "a dialog without a template cannot run";
}

TEST_F(DialogRunTest, aDialogMayEndWithACodeOfItsOwn) {
    // control 26 is hidden in the template: the dialog shows it first
    struct Shower : Ending {
        bool onInitDialog() override {
            Recorder::onInitDialog();
            item(26)->showWindow(SW_SHOW);
            return true;
        }
    } shower;
    agent.setScript("expect-dialog 700\nclick 26\n", "own.vsc");
    EXPECT_EQ(shower.doModal(), 42);
    EXPECT_FALSE(agent.failed()) << agent.failure();
}

TEST_F(DialogRunTest, openDialogsAreKnownWithTheResourceSetTheyCameFrom) {
    size_t before = Dialog::openDialogs().size();
    Recorder a, b;
    EXPECT_EQ(a.resourceSet(), "") << "nothing is known before the window exists";
    ASSERT_TRUE(a.create());
    ASSERT_TRUE(b.create());
    auto open = Dialog::openDialogs();
    ASSERT_EQ(open.size(), before + 2);
    EXPECT_EQ(open[before], &a) << "oldest first";
    EXPECT_EQ(open[before + 1], &b);
    EXPECT_EQ(a.resourceSet(), "testui") << "the set that holds template 700";
    a.endDialog(IDOK);
    EXPECT_EQ(Dialog::openDialogs().size(), before + 2) << "a hidden modeless dialog is still open";
    a.destroyWindow();
    b.destroyWindow();
    EXPECT_EQ(Dialog::openDialogs().size(), before);
    {
        Recorder c;
        ASSERT_TRUE(c.create());
        EXPECT_EQ(Dialog::openDialogs().size(), before + 1);
    }
    EXPECT_EQ(Dialog::openDialogs().size(), before) << "a dialog object going takes its window along";
}

TEST_F(DialogRunTest, placementOfAHiddenWindowWaitsUntilItIsShown) {
    Recorder dlg;
    ASSERT_TRUE(dlg.create());
    dlg.showWindow(SW_HIDE);
    EXPECT_FALSE(dlg.isVisible());
    dlg.moveWindow(100, 120, 500, 400);
    dlg.showWindow(SW_SHOWNORMAL);
    processEvents();
    EXPECT_TRUE(dlg.isVisible());
    Rect r = dlg.windowRect();
    EXPECT_EQ(r.width(), 500) << "the size given includes the frame";
    EXPECT_EQ(r.height(), 400);
    Point p = dlg.clientToScreen({10, 20});
    Point back = dlg.screenToClient(p);
    EXPECT_EQ(back.x, 10) << "client and screen points convert both ways";
    EXPECT_EQ(back.y, 20);
    dlg.setMinTrackSize({600, 450});
    EXPECT_EQ(dlg.minTrackSize().cx, 600);
    dlg.moveWindow(0, 0, 100, 100);
    processEvents();
    EXPECT_GE(dlg.windowRect().width(), 600) << "the minimum tracking size holds against code too";
    dlg.destroyWindow();
}

TEST_F(DialogRunTest, timersStopWithTheirWindow) {
    auto dlg = std::make_unique<Recorder>();
    ASSERT_TRUE(dlg->create());
    dlg->setTimer(1, 10);
    dlg->setTimer(2, 30);
    agent.runLine("tick 30");
    EXPECT_EQ(dlg->timers, (std::vector<int>{1, 1, 1, 2}))
        << "in the order they fall due; at one moment, as set";
    dlg->destroyWindow();
    dlg.reset();
    EXPECT_TRUE(agent.runLine("tick 100")) << "no timer of a destroyed dialog fires";
}

TEST_F(DialogRunTest, toolbarTipsComeFromTheTemplateOrTheStringTable) {
    Recorder dlg;
    ASSERT_TRUE(dlg.create());
    ToolBar* bar = dlg.createToolBar(510);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->buttonIds(), (std::vector<int>{601, 602, 603})) << "separators are no buttons";
    EXPECT_EQ(bar->buttonTip(601), "Open a table");
    EXPECT_EQ(bar->buttonTip(603), "Export") << "without a tip: the string's part after the line break";
    EXPECT_GT(bar->height(), 0);
    bar->checkButton(602, true);
    EXPECT_EQ(dlg.createToolBar(9999), nullptr);
    ASSERT_TRUE(agent.runLine("toolbar 603"));
    EXPECT_TRUE(dlg.sawCommand(603, 0));
    EXPECT_FALSE(agent.runLine("toolbar 777"));
    EXPECT_NE(agent.failure().find("has no button 777"), std::string::npos) << agent.failure();
    dlg.destroyWindow();
}

TEST_F(DialogRunTest, messageBoxesAreRecordedAndAnsweredFromTheQueue) {
    ASSERT_TRUE(agent.runLine("answer yes"));
    ASSERT_TRUE(agent.runLine("answer retry"));
    EXPECT_EQ(messageBox("Overwrite?", "Save", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(messageBox("Busy", "Print", MB_RETRYCANCEL | MB_ICONWARNING), IDRETRY);
    ASSERT_EQ(agent.messages().size(), 2u);
    EXPECT_EQ(agent.messages()[0].caption, "Save");
    EXPECT_EQ(agent.messages()[0].icon(), static_cast<int>(MB_ICONQUESTION));
    EXPECT_EQ(agent.messages()[1].buttons(), static_cast<int>(MB_RETRYCANCEL));
    EXPECT_TRUE(agent.runLine("expect-message \"Overwrite\""));
    EXPECT_TRUE(agent.runLine("expect-message \"Print\"")) << "the caption counts too";
    EXPECT_TRUE(agent.runLine("expect-no-message"));
    EXPECT_EQ(agent.pendingAnswers(), 0u);
}

TEST_F(DialogRunTest, standardDialogsTakeTheirAnswersFromTheScript) {
    ASSERT_TRUE(agent.runLine("answer color 255 128 0"));
    ColorRequest color;
    ASSERT_TRUE(agent.colorDialog(color, nullptr));
    EXPECT_EQ(color.color, rgb(255, 128, 0));

    ASSERT_TRUE(agent.runLine("answer font \"DejaVu Sans\" 11 bold italic #102030"));
    FontRequest font;
    ASSERT_TRUE(agent.fontDialog(font, nullptr));
    EXPECT_EQ(font.font.face, "DejaVu Sans");
    EXPECT_EQ(font.font.pointSize, 11);
    EXPECT_TRUE(font.font.bold && font.font.italic && !font.font.underline);
    EXPECT_EQ(font.font.color, rgb(0x10, 0x20, 0x30));

    ASSERT_TRUE(agent.runLine("answer print \"out.pdf\""));
    PrintRequest print;
    ASSERT_TRUE(agent.printDialog(print, nullptr));
    EXPECT_EQ(print.printerName, "PDF");
    EXPECT_NE(print.outputFile.find("out.pdf"), std::string::npos);

    ASSERT_TRUE(agent.runLine("answer page landscape"));
    PageSetupRequest page;
    ASSERT_TRUE(agent.pageSetupDialog(page, nullptr));
    EXPECT_TRUE(page.landscape);

    ASSERT_TRUE(agent.runLine("answer cancel-dialog"));
    ColorRequest cancelled;
    cancelled.color = rgb(1, 2, 3);
    EXPECT_FALSE(agent.colorDialog(cancelled, nullptr)) << "cancelled";
    EXPECT_EQ(cancelled.color, rgb(1, 2, 3)) << "and the colour is kept";

    FontRequest unasked;
    EXPECT_FALSE(agent.fontDialog(unasked, nullptr));
    EXPECT_NE(agent.failure().find("unexpected font dialog"), std::string::npos) << agent.failure();
}

TEST_F(DialogRunTest, aFontColourThatIsNotSixHexDigitsFailsTheScript) {
    const struct {
        const char* colour;
        const char* why;
    } cases[] = {
        {"#ZZZZZZ", "no hex digit at all once ended the run with an exception"},
        {"#12345G", "a slip in the last digit once passed as #012345"},
        {"#-12345", "a sign once wrapped round to another colour"},
        {"#0x1234", "a C prefix is no part of #RRGGBB"},
    };
    for (const auto& t : cases) {
        ScriptedAgent a;
        setAgent(&a);
        ASSERT_TRUE(a.runLine(std::string("answer font \"Arial\" 10 ") + t.colour)) << t.why;
        FontRequest font;
        font.font.color = rgb(1, 2, 3);
        EXPECT_FALSE(a.fontDialog(font, nullptr)) << t.why;
        EXPECT_NE(a.failure().find("#RRGGBB"), std::string::npos) << t.why << ": " << a.failure();
        EXPECT_EQ(font.font.color, rgb(1, 2, 3)) << t.why << ": the colour asked about is kept";
    }
    setAgent(&agent);
}

TEST_F(DialogRunTest, aColourAnswerOutsideZeroTo255FailsTheScript) {
    const struct {
        const char* answer;
        const char* why;
    } cases[] = {
        {"256 0 0", "red 256 once wrapped round to black"},
        {"0 -1 0", "a negative green once wrapped round to full green"},
        {"0 0 1000", "blue 1000 once passed as another blue"},
    };
    for (const auto& t : cases) {
        ScriptedAgent a;
        setAgent(&a);
        ASSERT_TRUE(a.runLine(std::string("answer color ") + t.answer)) << t.why;
        ColorRequest color;
        color.color = rgb(1, 2, 3);
        EXPECT_FALSE(a.colorDialog(color, nullptr)) << t.why;
        EXPECT_NE(a.failure().find("from 0 to 255"), std::string::npos) << t.why << ": " << a.failure();
        EXPECT_EQ(color.color, rgb(1, 2, 3)) << t.why << ": the colour asked about is kept";
    }
    setAgent(&agent);
}

TEST_F(DialogRunTest, scriptCommandsCheckTheirWordsFromTheTable) {
    Recorder dlg;
    ASSERT_TRUE(dlg.create());
    const struct {
        const char* line;
        const char* failure; ///< "" when the line passes
        const char* why;
    } cases[] = {
        {"type 11 \"ab\" 3", "", "type repeats its text"},
        {"expect-text 11 \"ababab\"", "", "the repeated text arrived"},
        {"expect-length 11 6", "", "six characters"},
        {"type 11 \"\xc3\xa9\" 4", "", "characters, not bytes"},
        {"expect-length 11 4", "", "four characters of two bytes each"},
        {"expect-length 11 5", "holds 4 characters, not 5", "a wrong length names both"},
        {"click", "usage: click ID", "too few words"},
        {"expect-text 11 \"a\" \"b\"", "usage: expect-text ID \"TEXT\"", "too many words"},
        {"type 11 \"x\" 0", "repeats its text 1 to 1000000 times", "a repeat of nothing"},
        {"check 13 maybe", "check takes on, off or indeterminate", "a state that does not exist"},
        {"expect-state 13 purple", "unknown state 'purple'", "an unknown state"},
        {"key F13", "unknown key 'F13'", "an unknown key"},
        {"key F3 hyper", "unknown key modifier 'hyper'", "an unknown modifier"},
        {"answer maybe", "unknown answer 'maybe'", "an unknown answer"},
        {"answer color 1 2", "usage: answer color R G B", "a colour needs three numbers"},
        {"expect-sel 18 x", "expect-sel takes an index", "a selection is a number"},
        {"tick -5", "tick takes milliseconds", "time does not run back"},
        {"click abc", "'abc' is not a control id", "ids are numbers"},
        {"click 99", "has no control 99", "the control must exist"},
        {"frobnicate", "unknown script command 'frobnicate'", "an unknown command"},
    };
    for (const auto& t : cases) {
        ScriptedAgent a; // a failure ends a run: each line gets an agent of its own
        setAgent(&a);
        a.dialogCreated(dlg);
        bool ok = a.runLine(t.line);
        if (!*t.failure) {
            EXPECT_TRUE(ok) << t.why << ": " << a.failure();
        } else {
            EXPECT_FALSE(ok) << t.why;
            EXPECT_NE(a.failure().find(t.failure), std::string::npos) << t.why << ": " << a.failure();
        }
    }
    setAgent(&agent);
    dlg.destroyWindow();
}

TEST_F(DialogRunTest, theHelpListsEveryCommandOnceWithItsUsage) {
    auto commands = ScriptedAgent::commandList();
    std::set<std::string> names;
    for (const auto& c : commands) {
        EXPECT_TRUE(names.insert(c.name).second) << c.name << " is listed twice";
        EXPECT_EQ(c.usage.rfind(c.name, 0), 0u) << "the usage of " << c.name << " starts with its name";
        EXPECT_FALSE(c.summary.empty()) << c.name;
    }
    std::string help = formatScriptHelp(commands);
    EXPECT_NE(help.find("  type ID \"TEXT\" [TIMES]\n      "), std::string::npos) << help;
}

} // namespace

namespace {

/// Adjusts its popup menus before they show, as the editor's context menu does.
class PopupAdjusting : public Recorder {
protected:
    void onInitMenuPopup(Menu& menu) override {
        menu.enableItem(612, false);
        menu.checkItem(611, true);
        menu.setItemText(611, "Copy cells");
    }
};

TEST_F(DialogRunTest, popupMenusAreAdjustedBeforeTheyShowAndRefuseDisabledItems) {
    PopupAdjusting dlg;
    ASSERT_TRUE(dlg.create());
    ASSERT_TRUE(agent.runLine("answer menu 611"));
    EXPECT_EQ(dlg.trackPopupMenu(500, 1, {10, 10}), 611);
    ASSERT_TRUE(agent.runLine("expect-menu 611 checked")) << "the bar's item too went through the hook";
    EXPECT_EQ(dlg.menu()->itemText(611), "Copy cells");
    EXPECT_EQ(dlg.trackPopupMenu(9999, 0, {0, 0}), 0) << "no such menu: nothing is asked";
    EXPECT_EQ(agent.pendingAnswers(), 0u);
    ASSERT_TRUE(agent.runLine("answer menu 612"));
    EXPECT_EQ(dlg.trackPopupMenu(500, 1, {10, 10}), 0) << "a disabled item cannot be chosen";
    EXPECT_NE(agent.failure().find("popup menu item 612 is disabled"), std::string::npos) << agent.failure();
    dlg.destroyWindow();
}

TEST_F(DialogRunTest, enterInAMultiLineEditWithWantReturnIsANewLine) {
    Recorder dlg;
    ASSERT_TRUE(dlg.create());
    ASSERT_TRUE(agent.runLine("type 12 \"a\""));
    ASSERT_TRUE(agent.runLine("key Enter"));
    EXPECT_EQ(dlg.okCalls, 0) << "ES_WANTRETURN keeps Enter for the edit";
    EXPECT_EQ(dlg.item(12)->text(), "a\r\n");
    ASSERT_TRUE(agent.runLine("focus 11"));
    ASSERT_TRUE(agent.runLine("key Enter"));
    EXPECT_EQ(dlg.okCalls, 1) << "in a single-line edit Enter is OK";
    dlg.destroyWindow();
}

} // namespace
