// The designer window driven as a person would: mouse, buttons, keys, the save question and files.

#include "designer/DlgDesigner.h"
#include "designer/DesignerFolder.h"

#include <base/SafeFile.h>
#include <host/FileUtils.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <host/Vor_PropertiesList.h>
#include <ui/Agent.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <cerrno>

namespace fs = std::filesystem;

namespace {

using D = DlgDesigner;

std::string id(int n) {
    return std::to_string(n);
}

class DesignerWindow : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        m_oldLib = gSettings.libDir;
        m_dir = fs::temp_directory_path() / ("vordlgdesigner-" + std::to_string(::getpid()) + "-" +
                                             testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir / "Dialog Templates" / "Dialog Design");
        gSettings.libDir = (m_dir.string() + "/").c_str();
        loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "en");
        root = getDesignerRootFolder().str();
        // Plate: a 300 x 200 picture with two edits, at 30,20-90,40 and 150,20-210,40
        ASSERT_TRUE(ui::Image::filled(300, 200, ui::rgb(230, 230, 255)).save(root + "Plate.bmp"));
        std::ofstream(root + "Plate.txt") << "nrOfControls\tint\t2\n"
                                             "type0\tint\t2\ntopLeftX0\tdouble\t0.1\ntopLeftY0\tdouble\t0.1\n"
                                             "bottomRightX0\tdouble\t0.3\nbottomRightY0\tdouble\t0.2\n"
                                             "contents0\ttext\tThickness\ncomboList0\ttext\t\n"
                                             "type1\tint\t2\ntopLeftX1\tdouble\t0.5\ntopLeftY1\tdouble\t0.1\n"
                                             "bottomRightX1\tdouble\t0.7\nbottomRightY1\tdouble\t0.2\n"
                                             "contents1\ttext\tWidth\ncomboList1\ttext\t\n";
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        gSettings.libDir = m_oldLib;
        fs::remove_all(m_dir);
    }
    bool run(const std::string& script, const std::string& path) {
        agent.setScript("expect-dialog 227\n" + script, "designer.vsc");
        const bool ok = StartDlgDesigner(path.c_str());
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return ok;
    }
    ui::ScriptedAgent agent;
    std::string root;
    Vor_String m_oldLib;
    fs::path m_dir;
};

TEST_F(DesignerWindow, closingAsksOnlyAfterTheMouseTouchedThePicture) {
    EXPECT_TRUE(run("expect-caption \"Dialog designer - <Plate>\"\n"
                    "click 1\n"
                    "expect-no-message\n",
                    root + "Plate.txt"))
        << "opening alone changes nothing";
    EXPECT_FALSE(run("mouse down 250 150\nmouse up 250 150\n"
                     "answer no\n"
                     "close\n"
                     "expect-message \"save the changes\"\n",
                     root + "Plate.txt"))
        << "a click on the picture asks, even when nothing moved";
}

TEST_F(DesignerWindow, escapeIsIgnoredAndCancelKeepsTheWindowOpen) {
    EXPECT_TRUE(run("key Escape\n"
                    "expect-dialog 227\n"
                    "mouse down 5 5\nmouse up 5 5\n"
                    "answer cancel\n"
                    "click 1\n"
                    "expect-dialog 227\n"
                    "answer no\n"
                    "click 1\n",
                    root + "Plate.txt"));
    EXPECT_EQ(agent.messages().size(), 2u) << "asked twice: cancelled, then answered No";
}

TEST_F(DesignerWindow, anUnnamedTemplateIsTitledAloneAndAsksForANameOnYes) {
    const std::string saved = root + "Fresh.txt";
    EXPECT_TRUE(run("expect-caption \"Dialog designer\"\n"
                    "expect-state " +
                        id(D::IDC_ADD) +
                        " disabled\n" // no picture yet
                        "mouse down 5 5\nmouse up 5 5\n"
                        "answer yes\n"
                        "answer file \"" +
                        saved +
                        "\"\n"
                        "click 1\n",
                    ""));
    EXPECT_TRUE(fs::exists(saved)) << "Yes asked for a name and saved under it";
    EXPECT_FALSE(fs::exists(root + ".txt")) << "never a file without a name";
}

TEST_F(DesignerWindow, aPictureIsCheckedFirstAndWrittenOnlyWhenTheTemplateIsSaved) {
    std::string plateBefore;
    ASSERT_TRUE(readWholeFile(root + "Plate.bmp", plateBefore));
    const std::string notes = (m_dir / "notes.bmp").string();
    std::ofstream(notes) << "these are notes, not a picture";
    const std::string picture = (m_dir / "sketch.bmp").string();
    ASSERT_TRUE(ui::Image::filled(120, 80, ui::rgb(255, 200, 200)).save(picture));
    std::string sketch;
    ASSERT_TRUE(readWholeFile(picture, sketch));

    EXPECT_FALSE(run("answer file \"" + notes + "\"\nanswer ok\nclick " + id(D::IDC_PICTURE) +
                         "\n"
                         "expect-message \"notes.bmp: this file is no picture\"\n"
                         "expect-no-message\n"
                         "close\n" // nothing changed: no question
                         "expect-no-message\n",
                     root + "Plate.txt"));
    std::string now;
    ASSERT_TRUE(readWholeFile(root + "Plate.bmp", now));
    EXPECT_EQ(now, plateBefore) << "a file that is no picture does not touch the template's picture";

    EXPECT_FALSE(run("answer file \"" + picture + "\"\nclick " + id(D::IDC_PICTURE) +
                         "\n"
                         "answer no\nclose\n",
                     root + "Plate.txt"));
    ASSERT_TRUE(readWholeFile(root + "Plate.bmp", now));
    EXPECT_EQ(now, plateBefore) << "No on close keeps the old picture";

    EXPECT_FALSE(run("answer file \"" + picture + "\"\nclick " + id(D::IDC_PICTURE) +
                         "\n"
                         "answer yes\nclose\n",
                     root + "Plate.txt"));
    ASSERT_TRUE(readWholeFile(root + "Plate.bmp", now));
    EXPECT_EQ(now, sketch) << "saving writes the new picture beside the template";
}

TEST_F(DesignerWindow, anUnnamedTemplateTakesAPictureAndSavesItUnderTheNameChosen) {
    const std::string picture = (m_dir / "sketch.bmp").string();
    ASSERT_TRUE(ui::Image::filled(120, 80, ui::rgb(255, 200, 200)).save(picture));
    EXPECT_TRUE(run("expect-state " + id(D::IDC_ADD) +
                        " disabled\n"
                        "answer file \"" +
                        picture +
                        "\"\n"
                        "click " +
                        id(D::IDC_PICTURE) +
                        "\n"
                        "expect-state " +
                        id(D::IDC_ADD) +
                        " enabled\n"
                        "click " +
                        id(D::IDC_ADD) +
                        "\n"
                        "expect-rect 33000 24 16 54 34\n"
                        "answer yes\n"
                        "answer file \"" +
                        root +
                        "Sketch.txt\"\n"
                        "click 1\n",
                    ""));
    EXPECT_TRUE(fs::exists(root + "Sketch.bmp")) << "the picture is written beside the template";
    Vor_DlgDesignerData back;
    ASSERT_TRUE(back.readFromFile((root + "Sketch.txt").c_str(), true));
    EXPECT_EQ(back.getNrControls(), 1);
    EXPECT_EQ(back.bitmap().size().cx, 120);
}

TEST_F(DesignerWindow, aTemplateNotReadCleanlyIsNotOpenedAndNotSavedOver) {
    std::string plate;
    ASSERT_TRUE(readWholeFile(root + "Plate.txt", plate));
    const std::string broken = plate + "contents0\ttext\tAgain\n";
    std::ofstream(root + "Broken.txt") << broken;
    ASSERT_TRUE(ui::Image::filled(300, 200, ui::rgb(230, 230, 255)).save(root + "Broken.bmp"));

    // at the start: a message, and the designer opens without a template
    agent.setScript("expect-dialog 227\n"
                    "expect-message \"Broken.txt:16: name 'contents0' already given on line 7\"\n"
                    "expect-caption \"Dialog designer\"\n"
                    "mouse down 5 5\nmouse up 5 5\n"
                    "answer yes\nanswer cancel-file\n" // Yes asks for a name instead of taking Broken's
                    "click 1\n"
                    "expect-dialog 227\n"
                    "answer no\nclick 1\n",
                    "designer.vsc");
    ASSERT_TRUE(agent.runLine("answer ok"));
    EXPECT_TRUE(StartDlgDesigner((root + "Broken.txt").c_str()));
    EXPECT_FALSE(agent.failed()) << agent.failure();

    // by Open: the open template stays, unchanged and not taken for changed
    EXPECT_TRUE(run("answer file \"" + root + "Broken.txt\"\nanswer ok\nclick " + id(D::IDC_OPEN) +
                        "\n"
                        "expect-message \"cannot be opened\"\n"
                        "expect-caption \"Dialog designer - <Plate>\"\n"
                        "expect-rect 33001 150 20 210 40\n"
                        "click 1\n"
                        "expect-no-message\n",
                    root + "Plate.txt"));
    std::string now;
    ASSERT_TRUE(readWholeFile(root + "Broken.txt", now));
    EXPECT_EQ(now, broken) << "the file not read cleanly is never written over";

    // a name that climbs out of the root is neither read nor shown
    std::ofstream(m_dir / "Dialog Templates" / "Outside.txt") << plate;
    agent.setScript("expect-dialog 227\n"
                    "expect-message \"names a folder, not a file\"\n"
                    "expect-caption \"Dialog designer\"\n"
                    "click 1\n",
                    "designer.vsc");
    ASSERT_TRUE(agent.runLine("answer ok"));
    EXPECT_TRUE(StartDlgDesigner((root + "../Outside.txt").c_str()));
    EXPECT_FALSE(agent.failed()) << agent.failure();
}

TEST_F(DesignerWindow, aFailedSaveSaysWhyAndKeepsTheWindowTheEditsAndTheQuestion) {
    std::string plate;
    ASSERT_TRUE(readWholeFile(root + "Plate.txt", plate));
    base::failSafeWritesAfterForTesting(0, ENOSPC); // a full disk
    const bool closed = run("mouse down 160 30\nmouse up 160 30\n"
                            "type " +
                                id(D::IDC_CONTENTS) +
                                " \"PlateWidth\"\n"
                                "answer yes\nanswer ok\n"
                                "close\n"
                                "expect-message \"save the changes\"\n"
                                "expect-message \"The template was not saved\"\n"
                                "expect-dialog 227\n"
                                "expect-caption \"Dialog designer - <Plate>\"\n"
                                "expect-text 33001 \"PlateWidth\"\n"
                                // Save as outside the root folder: refused, the name stays
                                "answer file \"" +
                                (m_dir / "Outside.txt").string() +
                                "\"\nanswer ok\n"
                                "click " +
                                id(D::IDC_SAVE_AS) +
                                "\n"
                                "expect-message \"templates are kept in the folder\"\n"
                                "expect-caption \"Dialog designer - <Plate>\"\n"
                                "answer no\n"
                                "click 1\n"
                                "expect-message \"save the changes\"\n",
                            root + "Plate.txt");
    base::failSafeWritesAfterForTesting(-1, 0);
    EXPECT_TRUE(closed);
    std::string now;
    ASSERT_TRUE(readWholeFile(root + "Plate.txt", now));
    EXPECT_EQ(now, plate);
    EXPECT_FALSE(fs::exists(m_dir / "Outside.txt"));
}

TEST_F(DesignerWindow, mouseDragsKeysAndUndo) {
    EXPECT_TRUE(run("expect-rect 33000 30 20 90 40\n"
                    // drag the first edit 10 right, 5 down
                    "mouse down 40 30\nmouse move 45 32\nmouse up 50 35\n"
                    "expect-rect 33000 40 25 100 45\n"
                    "expect-text " +
                        id(D::IDC_CONTENTS) +
                        " \"Thickness\"\n"
                        // the bottom-right handle of the selection makes it larger
                        "mouse down 102 47\nmouse up 112 52\n"
                        "expect-rect 33000 40 25 110 50\n"
                        // arrows move by one, with Shift by ten
                        "key Right\nkey Down shift\n"
                        "expect-rect 33000 41 35 111 60\n"
                        "key Z ctrl\n"
                        "expect-rect 33000 41 25 111 50\n"
                        "key Z ctrl\nkey Z ctrl\nkey Z ctrl\n"
                        "expect-rect 33000 30 20 90 40\n"
                        "key Y ctrl\n"
                        "expect-rect 33000 40 25 100 45\n"
                        // a rubber band around both, then Delete
                        "mouse down 5 5\nmouse move 250 60\nmouse up 250 60\n"
                        "key Delete\n"
                        "expect-taborder\n"
                        "key Z ctrl\n"
                        "expect-rect 33001 150 20 210 40\n"
                        "answer no\n"
                        "click 1\n",
                    root + "Plate.txt"));
}

TEST_F(DesignerWindow, propertyRowEditsTheSelectedControl) {
    EXPECT_TRUE(run("expect-state " + id(D::IDC_CONTENTS) +
                        " disabled\n"
                        "mouse down 160 30\nmouse up 160 30\n"
                        "expect-sel " +
                        id(D::IDC_TYPE_LIST) +
                        " 2\n"
                        "type " +
                        id(D::IDC_CONTENTS) +
                        " \"PlateWidth\"\n"
                        "expect-text 33001 \"PlateWidth\"\n"
                        "expect-state " +
                        id(D::IDC_LIST) +
                        " disabled\n" // a variable edit has no list
                        "select " +
                        id(D::IDC_TYPE_LIST) +
                        " 30\n"
                        "expect-state " +
                        id(D::IDC_LIST) +
                        " enabled\n"
                        "type " +
                        id(D::IDC_LIST) +
                        " \"Stiffeners;;V\"\n"
                        "answer yes\n"
                        "click 1\n",
                    root + "Plate.txt"));
    Vor_PropertiesList props;
    ASSERT_EQ(props.readFromFile((root + "Plate.txt").c_str()), Acad::eOk);
    Vor_String text;
    props.getProperty("contents1", text);
    EXPECT_EQ(text.str(), "PlateWidth") << "Yes saved under the template's name";
    props.getProperty("comboList1", text);
    EXPECT_EQ(text.str(), "Stiffeners;;V");
    int type = 0;
    props.getProperty("type1", type);
    EXPECT_EQ(type, ctFlexButton);
}

TEST_F(DesignerWindow, typingInOneFieldIsOneStepToUndo) {
    EXPECT_TRUE(run("mouse down 160 30\nmouse up 160 30\n"
                    "type " +
                        id(D::IDC_CONTENTS) +
                        " \"P\"\n"
                        "type " +
                        id(D::IDC_CONTENTS) +
                        " \"Pl\"\n"
                        "type " +
                        id(D::IDC_CONTENTS) +
                        " \"Pla\"\n"
                        "expect-text 33001 \"Pla\"\n"
                        "key Z ctrl\n"
                        "expect-text 33001 \"Width\"\n"
                        "expect-text " +
                        id(D::IDC_CONTENTS) +
                        " \"Width\"\n"
                        "key Y ctrl\n"
                        "expect-text 33001 \"Pla\"\n"
                        "answer no\n"
                        "click 1\n",
                    root + "Plate.txt"));
}

TEST_F(DesignerWindow, textsComeFromTheChosenLanguage) {
    ASSERT_TRUE(loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "nl"));
    EXPECT_TRUE(run("expect-caption \"" + dialString(843).str() +
                        " - <Plate>\"\n"
                        "expect-text " +
                        id(D::IDC_TYPE_GROUP) + " \"" + dialString(836).str() +
                        "\"\n"
                        "expect-text 1 \"" +
                        dialString(285).str() +
                        "\"\n"
                        "mouse down 40 30\nmouse up 40 30\n"
                        "expect-text " +
                        id(D::IDC_CONTENTS_GROUP) + " \"" + dialString(828).str() +
                        "\"\n"
                        "expect-sel " +
                        id(D::IDC_TYPE_LIST) +
                        " 2\n"
                        "answer no\n"
                        "click 1\n",
                    root + "Plate.txt"));
    EXPECT_NE(dialString(836).str(), "Control type") << "the Dutch catalogue was in use";
    loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "en");
}

TEST_F(DesignerWindow, savedTemplateReopensIdentical) {
    const std::string copy = root + "Beams/Copy.txt";
    fs::create_directories(root + "Beams");
    EXPECT_TRUE(run("mouse down 40 30\nmouse up 47 33\n" // move a control
                    "answer file \"" +
                        copy +
                        "\"\n"
                        "click " +
                        id(D::IDC_SAVE_AS) +
                        "\n"
                        "expect-caption \"Dialog designer - <Beams/Copy>\"\n"
                        "click 1\n"
                        "expect-no-message\n",
                    root + "Plate.txt"));
    std::string a, b;
    ASSERT_TRUE(readWholeFile(root + "Plate.bmp", a));
    ASSERT_TRUE(readWholeFile(root + "Beams/Copy.bmp", b));
    EXPECT_EQ(a, b) << "the picture went along";
    Vor_DlgDesignerData first, second;
    ASSERT_TRUE(first.readFromFile(copy.c_str(), false));
    second.writeToFile((root + "Beams/Again.txt").c_str());
    ASSERT_TRUE(second.readFromFile(copy.c_str(), false));
    second.writeToFile((root + "Beams/Again.txt").c_str());
    std::string t1, t2;
    readWholeFile(copy, t1);
    readWholeFile(root + "Beams/Again.txt", t2);
    EXPECT_EQ(t1, t2) << "reading and writing again gives the same file";
    EXPECT_DOUBLE_EQ(first.getControl(0)->topLeftX, 37.0 / 300) << "the move was saved";
}

} // namespace
