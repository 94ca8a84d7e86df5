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

#include <cstdio>
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

TEST_F(DesignerWindow, moreThanAHundredControlsCanEachBeSelectedAndDeleted) {
    // 150 fields of 16 x 16 pixels in rows of 15 over the 300 x 200 picture
    std::string text = "nrOfControls\tint\t150\n";
    char number[64];
    for (int k = 0; k < 150; ++k) {
        const int x = k % 15 * 20, y = k / 15 * 20;
        const std::string i = std::to_string(k);
        text += "type" + i + "\tint\t2\n";
        std::snprintf(number, sizeof number, "%.17g", x / 300.0);
        text += "topLeftX" + i + "\tdouble\t" + number + "\n";
        std::snprintf(number, sizeof number, "%.17g", y / 200.0);
        text += "topLeftY" + i + "\tdouble\t" + number + "\n";
        std::snprintf(number, sizeof number, "%.17g", (x + 16) / 300.0);
        text += "bottomRightX" + i + "\tdouble\t" + number + "\n";
        std::snprintf(number, sizeof number, "%.17g", (y + 16) / 200.0);
        text += "bottomRightY" + i + "\tdouble\t" + number + "\n";
        text += "contents" + i + "\ttext\tc" + i + "\n";
    }
    std::ofstream(root + "Many.txt") << text;
    fs::copy_file(root + "Plate.bmp", root + "Many.bmp");
    EXPECT_TRUE(run("expect-rect 33149 280 180 296 196\n"
                    "mouse down 288 188\nmouse up 288 188\n"
                    "expect-text " +
                        id(D::IDC_CONTENTS) +
                        " \"c149\"\n"
                        "key Delete\n"
                        "answer yes\n"
                        "click 1\n",
                    root + "Many.txt"));
    Vor_DlgDesignerData back;
    ASSERT_TRUE(back.readFromFile((root + "Many.txt").c_str(), false));
    ASSERT_EQ(back.getNrControls(), 149) << "the 150th control was deleted";
    EXPECT_EQ(back.getControl(148)->contents.str(), "c148");
}

TEST_F(DesignerWindow, everyChangeAfterASaveIsAskedAbout) {
    const std::string saved = root + "Saved.txt";
    for (const std::string& change : {"type " + id(D::IDC_CONTENTS) + " \"Changed\"",
                                      "click " + id(D::IDC_COPY), "click " + id(D::IDC_REMOVE)}) {
        EXPECT_FALSE(run("mouse down 160 30\nmouse up 160 30\n"
                         "answer file \"" +
                             saved + "\"\nclick " + id(D::IDC_SAVE_AS) + "\n" + change +
                             "\n"
                             "answer no\n"
                             "close\n"
                             "expect-message \"save the changes\"\n",
                         root + "Plate.txt"))
            << change;
    }
}

TEST_F(DesignerWindow, newControlsLandApartAndAreSelected) {
    EXPECT_TRUE(run("click " + id(D::IDC_ADD) +
                        "\n"
                        "expect-rect 33002 60 40 90 58\n"
                        "expect-text " +
                        id(D::IDC_CONTENTS) +
                        " \"New\"\n"
                        "click " +
                        id(D::IDC_ADD) +
                        "\n"
                        "expect-rect 33003 70 50 100 68\n"
                        "key Right\n" // the new one is the selection: the arrow moves it
                        "expect-rect 33003 71 50 101 68\n"
                        "expect-rect 33002 60 40 90 58\n"
                        "answer no\n"
                        "click 1\n",
                    root + "Plate.txt"));
}

TEST_F(DesignerWindow, editingKeysWorkOutsideThePropertyFieldsOnly) {
    EXPECT_TRUE(run("mouse down 160 30\nmouse up 160 30\n"
                    "focus " +
                        id(D::IDC_CONTENTS) +
                        "\n"
                        "key A ctrl\nkey C ctrl\nkey V ctrl\n" // the field's own keys: nothing pasted
                        "expect-rect 33001 150 20 210 40\n"
                        "focus 1\n"
                        "key A ctrl\nkey C ctrl\nkey V ctrl\n"
                        "expect-rect 33002 40 30 100 50\n"
                        "expect-rect 33003 160 30 220 50\n"
                        "key Z ctrl\n"
                        "answer no\n"
                        "click 1\n"
                        "expect-message \"save the changes\"\n",
                    root + "Plate.txt"));
}

TEST_F(DesignerWindow, aPictureLargerThanTheWindowScrolls) {
    ASSERT_TRUE(ui::Image::filled(1500, 1200, ui::rgb(230, 230, 255)).save(root + "Big.bmp"));
    std::ofstream(root + "Big.txt")
        << "nrOfControls\tint\t1\ntype0\tint\t2\ntopLeftX0\tdouble\t0.5\n"
           "topLeftY0\tdouble\t0.5\nbottomRightX0\tdouble\t0.52\n"
           "bottomRightY0\tdouble\t0.52\ncontents0\ttext\tFar\ncomboList0\ttext\t\n";
    EXPECT_TRUE(run("expect-rect 33000 750 600 780 624\n"
                    "key PageDown\nkey PageDown\nkey PageDown\n"
                    "key PageDown shift\nkey PageDown shift\nkey PageDown shift\n"
                    "expect-rect 33000 390 240 420 264\n"
                    "mouse down 400 250\nmouse up 410 260\n" // moved while scrolled
                    "expect-rect 33000 400 250 430 274\n"
                    "key PageUp\n"
                    "expect-rect 33000 400 370 430 394\n"
                    "focus 1\nkey Home\n"
                    "expect-rect 33000 760 610 790 634\n"
                    "key PageUp\n" // nothing before the picture's start
                    "expect-rect 33000 760 610 790 634\n"
                    "key PageDown\n"
                    "answer yes\n" // saves Big before Plate opens
                    "answer file \"" +
                        root +
                        "Plate.txt\"\n"
                        "click " +
                        id(D::IDC_OPEN) +
                        "\n"
                        "expect-rect 33000 30 20 90 40\n" // another picture starts at its corner
                        "click 1\n",
                    root + "Big.txt"));
    Vor_DlgDesignerData back;
    ASSERT_TRUE(back.readFromFile((root + "Big.txt").c_str(), false));
    EXPECT_DOUBLE_EQ(back.getControl(0)->topLeftX, 760.0 / 1500) << "the move counts on the picture";
    EXPECT_DOUBLE_EQ(back.getControl(0)->topLeftY, 610.0 / 1200);
}

TEST_F(DesignerWindow, theMenuArrangesCopiesPastesSnapsAndShowsTheTabOrder) {
    // three fields: A 20,20-80,40, B 100,30-140,60, C 200,50-290,70 on the 300 x 200 picture
    std::ofstream(root + "Row.txt")
        << "nrOfControls\tint\t3\n"
           "type0\tint\t2\ntopLeftX0\tdouble\t0.0666666666666666657\n"
           "topLeftY0\tdouble\t0.1\nbottomRightX0\tdouble\t0.266666666666666663\n"
           "bottomRightY0\tdouble\t0.2\ncontents0\ttext\tA\n"
           "type1\tint\t2\ntopLeftX1\tdouble\t0.333333333333333315\n"
           "topLeftY1\tdouble\t0.15\nbottomRightX1\tdouble\t0.466666666666666674\n"
           "bottomRightY1\tdouble\t0.3\ncontents1\ttext\tB\n"
           "type2\tint\t2\ntopLeftX2\tdouble\t0.66666666666666663\n"
           "topLeftY2\tdouble\t0.25\nbottomRightX2\tdouble\t0.96666666666666667\n"
           "bottomRightY2\tdouble\t0.35\ncontents2\ttext\tC\n";
    fs::copy_file(root + "Plate.bmp", root + "Row.bmp");
    EXPECT_TRUE(run("expect-rect 33001 100 30 140 60\n"
                    "expect-menu " +
                        id(D::ID_ALIGN_TOP) +
                        " disabled\n" // nothing selected
                        "mouse down 30 25\nmouse up 30 25\n"
                        "mouse down 110 40 ctrl\nmouse up 110 40 ctrl\n"
                        "menu " +
                        id(D::ID_ALIGN_TOP) +
                        "\n"
                        "expect-rect 33001 100 20 140 50\n"
                        "expect-rect 33000 20 20 80 40\n" // A was selected first: the reference
                        "menu " +
                        id(D::ID_SAME_WIDTH) +
                        "\n"
                        "expect-rect 33001 100 20 160 50\n"
                        "menu " +
                        id(D::ID_SELECT_ALL) + "\nmenu " + id(D::ID_DISTRIBUTE_ACROSS) +
                        "\n"
                        "expect-rect 33001 110 20 170 50\n" // gaps of 30 between A, B and C
                        "expect-rect 33002 200 50 290 70\n"
                        "mouse down 5 190\nmouse up 5 190\n" // clears the selection
                        "mouse down 250 60\nmouse up 250 60\n"
                        "menu " +
                        id(D::ID_COPY) + "\nmenu " + id(D::ID_PASTE) +
                        "\n"
                        "expect-rect 33003 210 60 300 80\n"
                        "menu " +
                        id(D::ID_PASTE) +
                        "\n"
                        "expect-rect 33004 220 70 310 90\n" // each paste one step further
                        "key Z ctrl\n"                      // one paste is one step to undo
                        "expect-rect 33003 210 60 300 80\n"
                        "menu " +
                        id(D::ID_SNAP) +
                        "\n"
                        "expect-menu " +
                        id(D::ID_SNAP) +
                        " checked\n"
                        "mouse down 30 25\nmouse up 37 28\n" // A moved by 7, 3 ends on the grid
                        "expect-rect 33000 24 24 84 44\n"
                        "menu " +
                        id(D::ID_TAB_ORDER) +
                        "\n"
                        "expect-menu " +
                        id(D::ID_TAB_ORDER) +
                        " checked\n"
                        "answer no\n"
                        "click 1\n",
                    root + "Row.txt"));
}

} // namespace
