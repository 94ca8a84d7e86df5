// The filtered open/save dialog: the two lists, the overwrite and delete questions, and names that
// cannot be a file of the folder, refused before anything is opened, written or deleted.
#include "macro/ui/DlgOpenSaveFiltered.h"

#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string id(int n) {
    return std::to_string(n);
}
const std::string DLG = "expect-dialog " + id(DlgOpenSaveFiltered::IDD) + "\n";
const std::string LIST = id(DlgOpenSaveFiltered::IDC_LIST);
const std::string NAME = id(DlgOpenSaveFiltered::IDC_NAME);
const std::string DEL = id(DlgOpenSaveFiltered::IDC_DELETE);
const std::string FILTERED = id(DlgOpenSaveFiltered::IDC_FILTERED);

class DlgOpenSaveFilteredTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
        dir = fs::temp_directory_path() / ("vor-opensave-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const char* n : {"Standard", "Heavy", "Other"})
            std::ofstream(dir / (std::string(n) + ".vmp")) << "x";
        dlg.folder = dir.string() + "/";
        dlg.extension = ".vmp";
        dlg.allNames = {"Standard", "Heavy", "Light"};
        dlg.filteredNames = {"Heavy"};
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        fs::remove_all(dir);
    }
    int run(const std::string& script) {
        agent.setScript(DLG + script, "t.vsc");
        const int rc = dlg.doModal();
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return rc;
    }
    ui::ScriptedAgent agent;
    fs::path dir;
    DlgOpenSaveFiltered dlg;
};

TEST_F(DlgOpenSaveFilteredTest, theCheckSwitchesListsAndTheTypedNameStays) {
    dlg.mode = 1;
    EXPECT_EQ(run("expect-caption \"Save property file\"\nexpect-text 1 \"Save\"\nexpect-state " + NAME +
                  " enabled\nexpect-items " + LIST + " \"Standard|Heavy|Light\"\nselect " + LIST +
                  " 2\nexpect-text " + NAME + " \"Light\"\ncheck " + FILTERED + " on\nexpect-items " + LIST +
                  " \"Heavy\"\nexpect-text " + NAME + " \"Light\"\ncheck " + FILTERED +
                  " off\nexpect-items " + LIST + " \"Standard|Heavy|Light\"\nclick 1\n"),
              ui::IDOK);
    EXPECT_EQ(dlg.resultName, Vor_String("Light")) << "no file Light.vmp: saved without a question";
    EXPECT_TRUE(agent.messages().empty());
}

TEST_F(DlgOpenSaveFilteredTest, openModeTakesTheChosenNameAndAnEmptyNameKeepsItOpen) {
    EXPECT_EQ(run("expect-caption \"Open property file\"\nexpect-text 1 \"Open\"\nexpect-state " + NAME +
                  " disabled\nclick 1\nexpect-dialog " + id(DlgOpenSaveFiltered::IDD) + "\nselect " + LIST +
                  " 1\nclick 1\n"),
              ui::IDOK);
    EXPECT_EQ(dlg.resultName, Vor_String("Heavy"));
}

TEST_F(DlgOpenSaveFilteredTest, savingOverAnExistingFileAsksWithTheLineOnlyForUnlistedNames) {
    const struct {
        const char* typed;
        bool unlistedLine;
        const char* why;
    } cases[] = {
        {"Standard", false, "listed in all names: only the plain question"},
        {"Other", true, "a file of the folder that is none of the listed names"},
    };
    for (const auto& c : cases) {
        DlgOpenSaveFiltered d;
        d.mode = 1;
        d.folder = dlg.folder;
        d.extension = ".vmp";
        d.allNames = dlg.allNames;
        agent.setScript(DLG + "type " + NAME + " \"" + c.typed + "\"\nanswer no\nclick 1\nexpect-dialog " +
                            id(DlgOpenSaveFiltered::IDD) + "\nanswer yes\nclick 1\n",
                        "t.vsc");
        const std::size_t before = agent.messages().size();
        EXPECT_EQ(d.doModal(), ui::IDOK) << c.why;
        EXPECT_FALSE(agent.failed()) << agent.failure();
        ASSERT_EQ(agent.messages().size(), before + 2) << c.why << ": asked on each OK";
        const ui::MessageRequest& m = agent.messages()[before];
        EXPECT_EQ(m.caption, dialString(1131).str());
        EXPECT_EQ(m.buttons(), ui::MB_YESNOCANCEL);
        EXPECT_EQ(m.icon(), ui::MB_ICONWARNING);
        EXPECT_EQ(m.text.find(dialString(1129).str()) != std::string::npos, c.unlistedLine) << c.why;
        EXPECT_EQ(d.resultName, Vor_String(c.typed));
    }
}

TEST_F(DlgOpenSaveFilteredTest, overwriteAndDeleteQuestionsHoldTheirLinesInOrder) {
    EXPECT_EQ(overwriteQuestion("Light", {"Standard"}),
              dialString(1128) + "\n" + dialString(1129) + "\n\n" + dialString(1130) + "\n");
    EXPECT_EQ(overwriteQuestion("STANDARD", {"Standard"}),
              dialString(1128) + "\n\n" + dialString(1130) + "\n");
    EXPECT_EQ(deleteQuestion("Heavy"),
              dialString(1132) + " \"Heavy\" " + dialString(1133) + "\n" + dialString(1134) + "\n");
}

TEST_F(DlgOpenSaveFilteredTest, deletingANameInBothListsRemovesItFromBothAndTheFile) {
    dlg.mode = 1;
    EXPECT_EQ(run("check " + FILTERED + " on\nselect " + LIST + " 0\nanswer no\nclick " + DEL +
                  "\nexpect-items " + LIST + " \"Heavy\"\nanswer yes\nclick " + DEL + "\nexpect-items " +
                  LIST + " \"\"\nclick 2\n"),
              ui::IDCANCEL);
    EXPECT_EQ(dlg.allNames, Vor_StringArray({"Standard", "Light"}));
    EXPECT_TRUE(dlg.filteredNames.isEmpty());
    EXPECT_FALSE(fs::exists(dir / "Heavy.vmp"));
    ASSERT_EQ(agent.messages().size(), 2u) << "asked twice, no and yes";
    EXPECT_EQ(agent.messages()[0].caption, dialString(1135).str());
    EXPECT_EQ(agent.messages()[0].buttons(), ui::MB_YESNO);
    EXPECT_EQ(agent.messages()[0].text, deleteQuestion("Heavy").str());
}

TEST_F(DlgOpenSaveFilteredTest, aFailedDeleteSaysSoAndChangesNoList) {
    // "Light" is listed but has no file: the delete fails
    dlg.mode = 1;
    EXPECT_EQ(run("select " + LIST + " 2\nanswer yes\nanswer ok\nclick " + DEL + "\nexpect-message \"" +
                  dialString(10502).str() + "\"\nexpect-items " + LIST +
                  " \"Standard|Heavy|Light\"\nclick 2\n"),
              ui::IDCANCEL);
    EXPECT_EQ(dlg.allNames, Vor_StringArray({"Standard", "Heavy", "Light"}));
    EXPECT_EQ(dlg.filteredNames, Vor_StringArray({"Heavy"}));
    ASSERT_EQ(agent.messages().size(), 2u);
    EXPECT_NE(agent.messages()[1].text.find(dlg.pathOf("Light").str()), std::string::npos)
        << "the message names the file";
}

TEST_F(DlgOpenSaveFilteredTest, aNameThatIsNoSinglePathPartIsRefusedForOpenSaveAndDelete) {
    // a file beside the folder that "../" would reach; none of the refused names may touch it
    std::ofstream(dir.parent_path() / (dir.filename().string() + "-x.vmp")) << "keep";
    const std::string outside = "../" + dir.filename().string() + "-x";
    const struct {
        int mode;
        std::string script;
        const char* why;
    } cases[] = {
        {1, "type " + NAME + " \"" + outside + "\"\nanswer ok\nclick 1\n",
         "a save climbing out of the folder"},
        {1, "type " + NAME + " \"a/b\"\nanswer ok\nclick 1\n", "a save into a sub-folder"},
        {1, "type " + NAME + " \"/tmp/abs\"\nanswer ok\nclick 1\n", "an absolute path"},
        {1, "type " + NAME + " \".\"\nanswer ok\nclick 1\n", "the folder itself"},
        {0, "select " + LIST + " 0\nanswer ok\nclick 1\n", "an open of a listed name that climbs out"},
        {1, "select " + LIST + " 0\nanswer ok\nclick " + DEL + "\n",
         "a delete of a listed name that climbs out"},
    };
    for (const auto& c : cases) {
        DlgOpenSaveFiltered d;
        d.mode = c.mode;
        d.folder = dlg.folder;
        d.extension = ".vmp";
        d.allNames = {Vor_String(outside), "Standard"};
        agent.setScript(DLG + c.script + "expect-dialog " + id(DlgOpenSaveFiltered::IDD) + "\nclick 2\n",
                        "t.vsc");
        const std::size_t before = agent.messages().size();
        EXPECT_EQ(d.doModal(), ui::IDCANCEL) << c.why << ": the dialog stays open";
        EXPECT_FALSE(agent.failed()) << c.why << ": " << agent.failure();
        ASSERT_EQ(agent.messages().size(), before + 1)
            << c.why << ": one message, no overwrite or delete question";
        EXPECT_NE(agent.messages()[before].text.find(dialString(10500).str()), std::string::npos) << c.why;
        EXPECT_TRUE(d.resultName.isEmpty()) << c.why;
        EXPECT_EQ(d.allNames.length(), 2) << c.why;
    }
    EXPECT_TRUE(fs::exists(dir.parent_path() / (dir.filename().string() + "-x.vmp")));
    fs::remove(dir.parent_path() / (dir.filename().string() + "-x.vmp"));
    EXPECT_EQ(fileNameFault("Standard"), Vor_String());
    EXPECT_NE(fileNameFault("").find("\"\""), -1) << "an empty name is refused too, showing what was given";
}

} // namespace
