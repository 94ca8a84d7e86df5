// The script's dialog actions and checks, line by line against a live dialog: what passes, what
// fails and how the failure reads, what dump and echo print.

#include "TestDialogs.h"

#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Script.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

using namespace ui;
using testui::Recorder;

namespace {

class ScriptCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        testui::registerResources();
        ASSERT_TRUE(dlg.create());
    }
    void TearDown() override {
        setAgent(nullptr);
        dlg.destroyWindow();
        processEvents();
    }
    /// Runs one line on a fresh agent that knows the dialog; "" when it passed, else the failure.
    std::string run(const std::string& line) {
        agent = std::make_unique<ScriptedAgent>();
        agent->setPrinter([this](const std::string& s) { printed += s + "\n"; });
        setAgent(agent.get());
        if (dlg.exists()) agent->dialogCreated(dlg);
        agent->runLine(line);
        return agent->failure();
    }
    Recorder dlg;
    std::unique_ptr<ScriptedAgent> agent;
    std::string printed;
};

TEST_F(ScriptCommandsTest, checksPassOnWhatIsThereAndNameWhatIsNot) {
    dlg.item(18)->setCurSel(1);
    dlg.item(13)->setCheck(BST_CHECKED);
    const struct {
        const char* line;
        const char* failure; ///< "" when the line must pass
    } cases[] = {
        {"expect-dialog 700", ""},
        {"expect-dialog 701", "expected dialog 701, but dialog 700 \"All controls\" is open"},
        {"expect-no-dialog 555", ""},
        {"expect-no-dialog 700", "dialog 700 \"All controls\" is still open"},
        {"expect-no-dialog", "is still open"},
        {"expect-caption \"All controls\"", ""},
        {"expect-caption \"All\"", "the caption is \"All controls\", not \"All\""},
        {"expect-caption-contains \"controls\"", ""},
        {"expect-caption-contains \"nothing\"", "not \"nothing\""},
        {"expect-items 18 \"zero|one\"", ""},
        {"expect-items 18 \"zero\"", "control 18 holds \"zero|one\", not \"zero\""},
        {"expect-items 19 \"alpha|beta\"", ""}, // CBS_SORT
        {"expect-sel 18 1", ""},
        {"expect-sel 18 0", "control 18 has item 1 selected, not 0"},
        {"expect-state 13 checked", ""},
        {"expect-state 14 unchecked", ""},
        {"expect-state 26 hidden", ""},
        {"expect-state 27 disabled", ""},
        {"expect-state 1 enabled", ""},
        {"expect-state 1 visible", ""},
        {"expect-state 13 unchecked", "control 13 is not unchecked (it is enabled visible checked)"},
        {"expect-state 11 read-only", "control 11 is not read-only"},
        {"expect-text 10 \"Label\"", ""},
        {"expect-menu 602 disabled", ""},
        {"expect-menu 601 enabled", ""},
        {"expect-menu 601 unchecked", ""},
        {"expect-menu 601 checked", "menu item 601 is not checked"},
        {"expect-menu 999 enabled", "no menu item 999"},
        {"expect-message \"x\"", "no message containing \"x\" was shown"},
        {"expect-no-message", ""},
        {"expect-cell 24 1 1 \"x\"", "control 24 is not a grid"},
        {"select-cells 24 1 1 2 2", "control 24 is not a grid"},
        {"rightclick-cell 24 1 1", "control 24 is not a grid"},
        {"cell 11 1 1 \"x\"", "control 11 is not a grid"},
    };
    for (const auto& t : cases) {
        std::string failure = run(t.line);
        if (!*t.failure)
            EXPECT_EQ(failure, "") << t.line;
        else
            EXPECT_NE(failure.find(t.failure), std::string::npos) << t.line << " gave: " << failure;
    }
}

TEST_F(ScriptCommandsTest, actionsReachTheControlsAsAPersonsDo) {
    EXPECT_NE(run("check 16 off").find("a radio button cannot be switched off"), std::string::npos);
    EXPECT_NE(run("focus 27").find("it is disabled"), std::string::npos);
    EXPECT_NE(run("menu 602").find("is disabled"), std::string::npos);
    EXPECT_NE(run("toolbar 601").find("has no toolbar"), std::string::npos);
    const struct {
        const char* line;
        std::function<bool()> effect;
        const char* why;
    } cases[] = {
        {"check 13 on", [&] { return dlg.item(13)->checkState() == BST_CHECKED; }, "a check box clicked on"},
        {"check 13 off", [&] { return dlg.item(13)->checkState() == BST_UNCHECKED; }, "and off again"},
        {"check 14 indeterminate", [&] { return dlg.item(14)->checkState() == BST_INDETERMINATE; },
         "third state"},
        {"check 16 on", [&] { return dlg.item(16)->checkState() == BST_CHECKED; }, "a radio button"},
        {"select 21 \"Second\"", [&] { return dlg.item(21)->curTab() == 1; }, "a tab by its text"},
        {"select 20 2", [&] { return dlg.item(20)->curSel() == 2; }, "a list item by index"},
        {"dblclick 20", [&] { return dlg.sawCommand(20, LBN_DBLCLK); }, "double click on the selected item"},
        {"rightclick 11", [&] { return !dlg.contextIds.empty() && dlg.contextIds.back() == 11; },
         "context menu"},
        {"focus 19", [&] { return dlg.item(19)->hasFocus(); }, "focus moves"},
        {"menu 601", [&] { return dlg.sawCommand(601, 0); }, "a menu item"},
        {"click 2", [&] { return dlg.cancelCalls == 1; }, "Cancel"},
    };
    for (const auto& t : cases) {
        EXPECT_EQ(run(t.line), "") << t.line;
        EXPECT_TRUE(t.effect()) << t.why;
    }
    EXPECT_NE(run("click 13").find("it is hidden"), std::string::npos) << "Cancel hid the modeless dialog";
}

TEST_F(ScriptCommandsTest, dumpEchoAndShotShowWhatIsThere) {
    dlg.item(11)->setText("IPE 300");
    dlg.item(18)->setCurSel(1);
    ASSERT_EQ(run("dump"), "");
    EXPECT_EQ(printed.rfind("dialog 700 \"All controls\"\nrect ", 0), 0u) << printed;
    EXPECT_NE(printed.find("menu 601 602(disabled) 611 612"), std::string::npos) << printed;
    EXPECT_NE(printed.find("  11 edit \"IPE 300\" enabled visible"), std::string::npos) << printed;
    EXPECT_NE(printed.find("items[2] sel 1 \"zero\" \"one\""), std::string::npos) << printed;
    EXPECT_NE(printed.find("  26 button \"Hidden\" enabled hidden"), std::string::npos) << printed;
    EXPECT_NE(printed.find("  14 check \"Three\" enabled visible unchecked"), std::string::npos) << printed;
    printed.clear();
    ASSERT_EQ(run("echo two words"), "");
    EXPECT_EQ(printed, "two words\n");

    auto file = std::filesystem::temp_directory_path() / "vor-shot-test.png";
    std::filesystem::remove(file);
    ASSERT_EQ(run("shot \"" + file.string() + "\""), "");
    std::ifstream in(file, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG") << "a PNG picture of the dialog";
    // a folder cannot be made below a file: the line fails rather than pretend
    EXPECT_NE(run("shot \"" + file.string() + "/x.png\""), "")
        << "a picture that cannot be written fails the line";
    std::filesystem::remove(file);
}

TEST_F(ScriptCommandsTest, withNoDialogOpenActionsSayWhatIsMissing) {
    dlg.destroyWindow();
    for (const char* line : {"click 1", "close", "dump", "expect-caption \"x\"", "key Enter", "menu 601"})
        EXPECT_NE(run(line).find("no dialog is open for"), std::string::npos) << line;
    EXPECT_EQ(run("expect-no-dialog"), "");
    EXPECT_NE(run("expect-dialog 700").find("no dialog is open"), std::string::npos);
}

} // namespace
