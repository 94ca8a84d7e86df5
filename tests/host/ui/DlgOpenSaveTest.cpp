#include "HostUiFixture.h"

#include "../TempDir.h"

#include <host/ui/DlgOpenSave.h>

#include <ui/Script.h>

using namespace hostui;

namespace {

/// The scripted agent, keeping every file request as it was asked.
class RecordingAgent : public ui::ScriptedAgent {
public:
    std::vector<ui::FileRequest> asked;
    bool fileDialog(ui::FileRequest& r, ui::Window* owner) override {
        asked.push_back(r);
        return ScriptedAgent::fileDialog(r, owner);
    }
};

class DlgOpenSaveTest : public testing::Test {
protected:
    void SetUp() override { ui::setAgent(&agent); }
    void TearDown() override {
        ui::setAgent(nullptr);
        EXPECT_FALSE(agent.failed()) << agent.failure();
        EXPECT_EQ(agent.pendingAnswers(), 0u) << "every queued answer was asked for";
    }
    RecordingAgent agent;
    TempDir dir;
};

} // namespace

TEST(DlgOpenSaveFilter, everyFormBecomesTheClassicOne) {
    struct Case {
        const char* filter;
        const char* ext;
        const char* classic;
    } const cases[] = {
        {"Tables (*.sss)|*.sss|All (*.*)|*.*||", "sss", "Tables (*.sss)|*.sss|All (*.*)|*.*||"},
        {"Tables (*.sss)|*.sss", "", "Tables (*.sss)|*.sss||"},
        {"Templates (*.txt)", "txt", "Templates (*.txt)|*.txt||"},
        {"Pictures (*.bmp;*.dib)", "bmp", "Pictures (*.bmp;*.dib)|*.bmp;*.dib||"},
        {"Templates", "txt", "Templates|*.txt||"},
        {"Templates", ".txt", "Templates|*.txt||"},
        {"Notes (see manual)", "txt", "Notes (see manual)|*.txt||"},
        {"", "txt", "*.txt|*.txt||"},
        {"", "", "*.*|*.*||"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DlgOpenSave::classicFilter(c.filter, c.ext), c.classic) << c.filter << " / " << c.ext;
}

TEST_F(DlgOpenSaveTest, saveAsksWithTheCallersTextsAndAddsTheExtension) {
    DlgOpenSave dlg(false, "txt", "", "Templates (*.txt)", "Save template", dir.path());
    agent.queueFile("bracket");
    ASSERT_EQ(dlg.doModal(), ui::IDOK);
    ASSERT_EQ(agent.asked.size(), 1u);
    const ui::FileRequest& r = agent.asked[0];
    EXPECT_TRUE(r.save);
    EXPECT_FALSE(r.mustExist);
    EXPECT_EQ(r.title, "Save template");
    EXPECT_EQ(r.filter, "Templates (*.txt)|*.txt||");
    EXPECT_EQ(r.folder, dir.path());
    EXPECT_EQ(dlg.getPathName(), dir.path() + "bracket.txt");
    EXPECT_EQ(dlg.getFileName(), "bracket.txt");
    EXPECT_EQ(dlg.getFileTitle(), "bracket");
    EXPECT_EQ(dlg.getFileExt(), "txt");
    EXPECT_EQ(dlg.getFolderPath(), dir.path());
}

TEST_F(DlgOpenSaveTest, openNeedsAnExistingFileAndCancelGivesNothing) {
    dir.write("plate.bmp", "BM");
    agent.queueFile(dir.file("plate.bmp"));
    EXPECT_EQ(DlgOpenSave::choose(true, "bmp", "Pictures (*.bmp)", "Open picture", dir.path()),
              dir.file("plate.bmp"));
    EXPECT_TRUE(agent.asked.back().mustExist);
    EXPECT_FALSE(agent.asked.back().save);

    agent.queueCancelFile();
    EXPECT_EQ(DlgOpenSave::choose(true, "bmp", "Pictures (*.bmp)", "Open picture", dir.path()), "");

    DlgOpenSave dlg(true, "txt", "start.txt", "", "", dir.path());
    agent.queueCancelFile();
    EXPECT_EQ(dlg.doModal(), ui::IDCANCEL);
    EXPECT_EQ(dlg.getPathName(), dir.path() + "start.txt") << "a cancel chooses nothing";
}

TEST_F(DlgOpenSaveTest, startingFolderIsFoundAsWellAsItCanBe) {
    dir.write("Templates/Frames/old.txt", "x");
    struct Case {
        std::string folder;
        std::string fileName;
        std::string start; ///< folder and name the dialog starts with
        const char* why;
    } const cases[] = {
        {dir.path() + "Templates/Frames", "", dir.path() + "Templates/Frames/", "a '/' is added"},
        {dir.path() + "Templates\\Frames\\", "", dir.path() + "Templates/Frames/", "'\\' is read as '/'"},
        {dir.path() + "templates/frames/", "", dir.path() + "Templates/Frames/", "spelled as on disk"},
        {dir.path() + "Templates/Gone/Deeper/", "", dir.path() + "Templates/", "nearest existing parent"},
        {"", dir.path() + "Templates/Frames/old.txt", dir.path() + "Templates/Frames/old.txt",
         "the name brings its folder"},
        {dir.path(), "Templates\\new.txt", dir.path() + "Templates/new.txt",
         "a relative part is taken inside"},
    };
    for (const Case& c : cases) {
        DlgOpenSave dlg(false, "txt", c.fileName, "", "", c.folder);
        EXPECT_EQ(dlg.getPathName(), c.start) << c.why;
    }
}
