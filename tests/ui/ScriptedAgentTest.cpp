// The scripted agent: modal runs, answers, recorded questions, and loud failures that never hang.

#include "TestDialogs.h"

#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Script.h>

#include <filesystem>

using namespace ui;
using testui::Recorder;

namespace {

/// A dialog whose OK asks a question and whose command 601 asks for a file.
class Asking : public Recorder {
public:
    int answer = 0;
    std::vector<std::string> files; ///< the chosen name of each file dialog, "" when cancelled

protected:
    void onOK() override {
        answer = messageBox("Save changes?", "Table", MB_YESNOCANCEL | MB_ICONQUESTION, this);
        if (answer != IDCANCEL) endDialog(IDOK);
    }
    bool onCommand(int id, int code) override {
        if (id == 601) {
            FileRequest r;
            r.filter = "Tables (*.sss)|*.sss||";
            files.push_back(agent().fileDialog(r, this) ? r.fileName : std::string());
            return true;
        }
        return Recorder::onCommand(id, code);
    }
};

class ScriptedAgentTest : public testing::Test {
protected:
    void SetUp() override {
        testui::registerResources();
        setAgent(&agent);
    }
    void TearDown() override { setAgent(nullptr); }
    ScriptedAgent agent;
};

TEST_F(ScriptedAgentTest, modalRunFollowsTheScriptAndAnswersQuestions) {
    agent.setScript("expect-dialog 700\n"
                    "type 11 \"abc\"\n"
                    "answer cancel\n"
                    "click 1\n"
                    "expect-message \"Save changes\"\n"
                    "expect-dialog 700\n"
                    "answer yes\n"
                    "click 1\n",
                    "t.vsc");
    Asking dlg;
    EXPECT_EQ(dlg.doModal(), IDOK);
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(dlg.answer, IDYES);
    ASSERT_EQ(agent.messages().size(), 2u);
    EXPECT_EQ(agent.messages()[0].caption, "Table");
    EXPECT_EQ(agent.messages()[0].icon(), static_cast<int>(MB_ICONQUESTION));
}

TEST_F(ScriptedAgentTest, anUnexpectedDialogFailsAtOnceNamingItsTemplate) {
    agent.setScript("click 1\n", "t.vsc");
    Recorder dlg;
    EXPECT_EQ(dlg.doModal(), IDCANCEL) << "the dialog is closed, not left waiting";
    EXPECT_TRUE(agent.failed());
    EXPECT_NE(agent.failure().find("dialog 700 \"All controls\" opened, but the script did not expect it"),
              std::string::npos)
        << agent.failure();
    Recorder later;
    EXPECT_EQ(later.doModal(), IDCANCEL) << "after a failure every dialog ends at once";
}

TEST_F(ScriptedAgentTest, aScriptThatEndsWithTheDialogOpenFails) {
    agent.setScript("expect-dialog 700\n", "t.vsc");
    Recorder dlg;
    EXPECT_EQ(dlg.doModal(), IDCANCEL);
    EXPECT_NE(agent.failure().find("ended while dialog 700"), std::string::npos) << agent.failure();
}

TEST_F(ScriptedAgentTest, aQuestionWithoutAnAnswerOrWithAWrongOneFails) {
    EXPECT_EQ(messageBox("Really?", "x", MB_YESNO), IDNO) << "unanswered: the safe default";
    EXPECT_NE(agent.failure().find("unexpected message \"Really?\""), std::string::npos) << agent.failure();

    ScriptedAgent second;
    setAgent(&second);
    second.queueAnswer(IDYES);
    messageBox("Done.", "x", MB_OK);
    EXPECT_NE(second.failure().find("does not fit"), std::string::npos) << second.failure();
}

TEST_F(ScriptedAgentTest, failedChecksNameTheLine) {
    agent.setScript("expect-dialog 700\n"
                    "# a comment\n"
                    "expect-text 11 \"nothing\"\n"
                    "click 2\n",
                    "check.vsc");
    Recorder dlg;
    dlg.doModal();
    EXPECT_EQ(agent.failure().rfind("check.vsc:3: control 11 shows \"\", not \"nothing\"", 0), 0u)
        << agent.failure();
}

TEST_F(ScriptedAgentTest, fileAnswersAreCheckedAsAPersonWouldChoose) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "vor-agent-test";
    fs::create_directories(dir);
    std::string existing = (dir / "beam.sss").string();
    {
        std::FILE* f = std::fopen(existing.c_str(), "w");
        std::fclose(f);
    }
    agent.setScript("expect-dialog 700\n"
                    "answer file \"" +
                        existing +
                        "\"\n"
                        "menu 601\n"
                        "answer cancel-file\n"
                        "menu 601\n"
                        "answer file \"" +
                        (dir / "none.sss").string() +
                        "\"\n"
                        "menu 601\n",
                    "t.vsc");
    Asking dlg;
    dlg.doModal();
    EXPECT_NE(agent.failure().find("no such file"), std::string::npos) << agent.failure();
    EXPECT_EQ(dlg.files, (std::vector<std::string>{existing, "", ""}))
        << "chosen, cancelled, and refused because the file does not exist";
    fs::remove_all(dir);
}

TEST_F(ScriptedAgentTest, splitKeepsQuotedWordsAndEscapes) {
    std::vector<std::string> w;
    std::string error;
    ASSERT_TRUE(splitScriptLine("cell 1001 2 3 \"a \\\"b\\\"\\nc\" # note", w, error));
    EXPECT_EQ(w, (std::vector<std::string>{"cell", "1001", "2", "3", "a \"b\"\nc"}));
    ASSERT_TRUE(splitScriptLine("answer font \"Arial\" 10 #FF8000 #", w, error));
    EXPECT_EQ(w, (std::vector<std::string>{"answer", "font", "Arial", "10", "#FF8000"}))
        << "a word that starts with # is no comment; a # on its own is";
    ASSERT_TRUE(splitScriptLine("#comment", w, error));
    EXPECT_TRUE(w.empty()) << "at the start of a line, # is always a comment";
    EXPECT_FALSE(splitScriptLine("type 1 \"open", w, error));
    EXPECT_EQ(error, "unterminated quoted text");
}

TEST_F(ScriptedAgentTest, gridCommandsNeedAGrid) {
    agent.setScript("expect-dialog 700\ncell 24 1 1 \"x\"\n", "t.vsc");
    Recorder dlg;
    dlg.doModal();
    EXPECT_NE(agent.failure().find("control 24 is not a grid"), std::string::npos) << agent.failure();
}

} // namespace
