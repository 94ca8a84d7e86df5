// Designed-dialog templates without windows: list fields, the file, template names, damaged files
// and the tab order.

#include "designer/DesignerFolder.h"
#include "designer/DesignerHistory.h"
#include "designer/TabOrder.h"
#include "designer/Vor_DlgDesignerData.h"

#include <host/FileUtils.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <host/Vor_PropertiesList.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>

namespace fs = std::filesystem;

namespace {

/// A library folder of its own, with the designer's root folder in it.
class DesignerFiles : public testing::Test {
protected:
    void SetUp() override {
        m_oldLib = gSettings.libDir;
        m_dir = fs::temp_directory_path() / ("vordesigner-" + std::to_string(::getpid()) + "-" +
                                             testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "Dialog Templates" / "Dialog Design");
        gSettings.libDir = (m_dir.string() + "/").c_str();
        loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "en");
    }
    void TearDown() override {
        gSettings.libDir = m_oldLib;
        fs::remove_all(m_dir);
    }
    std::string root() const { return getDesignerRootFolder().str(); }
    void write(const std::string& relative, const std::string& text) {
        fs::create_directories(fs::path(root() + relative).parent_path());
        std::ofstream(root() + relative) << text;
    }
    Vor_String m_oldLib;
    fs::path m_dir;
};

Vor_DesignerControl control(int type, double l, double t, double r, double b, const char* contents = "") {
    Vor_DesignerControl c;
    c.type = type;
    c.topLeftX = l;
    c.topLeftY = t;
    c.bottomRightX = r;
    c.bottomRightY = b;
    c.contents = contents;
    return c;
}

TEST(DesignerListText, mergedAndSplitFieldsKeepEveryField) {
    struct Case {
        int type;
        const char* text;
        bool splits;
        std::vector<const char*> fields; // flex: group, 2, 3; cell: name, 2, 3, 4, list; other: list
        const char* why;
    } cases[] = {
        {ctFlexButton, "G;;V", true, {"G", "", "V"}, "an empty middle field stays empty"},
        {ctCellButton1,
         "A;B;C;D;x;y",
         true,
         {"A", "B", "C", "D", "x;y"},
         "the rest after the fourth ; is the list"},
        {ctCellButton2, "A;;;;", true, {"A", "", "", "", ""}, "four separators, empty fields"},
        {ctVarEdit, "a;b", true, {"a;b"}, "other types keep the whole text"},
        {ctFlexButton, "G", false, {"G", "", ""}, "a hand-written\ttext\twithout separators keeps its group"},
        {ctCellButton1, "A;B", false, {"A", "B", "", "", ""}, "fields not reached stay empty"},
    };
    for (const Case& c : cases) {
        Vor_DesignerControl d;
        d.type = c.type;
        d.comboList = "old";
        EXPECT_EQ(d.setSplitExtComboList(c.text), c.splits) << c.why;
        std::vector<Vor_String> got;
        if (c.type == ctFlexButton)
            got = {d.flexGroup, d.flexField2, d.flexField3};
        else if (c.type == ctCellButton1 || c.type == ctCellButton2)
            got = {d.cellName, d.cellField2, d.cellField3, d.cellField4, d.comboList};
        else
            got = {d.comboList};
        ASSERT_EQ(got.size(), c.fields.size()) << c.why;
        for (std::size_t k = 0; k < got.size(); ++k)
            EXPECT_EQ(got[k].str(), c.fields[k]) << c.why << ", field " << k;
        if (c.splits)
            EXPECT_EQ(d.getMergedExtComboList().str(), c.text) << c.why << ": merging gives it back";
        if (c.type == ctFlexButton)
            EXPECT_EQ(d.comboList.str(), "old") << "a flex button leaves comboList alone";
    }
}

TEST(DesignerControlTypes, windowKindsAndPanelTexts) {
    loadTextCatalogues(VOR_SOURCE_DIR "/data/install/", "en");
    struct Case {
        int type;
        DesignerWindowKind kind;
        bool listField;
        int hintFields;
        const char* why;
    } cases[] = {
        {ctText, DesignerWindowKind::Static, true, 1, "a caption"},
        {ctGroupBox, DesignerWindowKind::Button, true, 1, "group boxes are buttons"},
        {ctBoltCount2, DesignerWindowKind::Edit, false, 0, "bolt counts are multi-line edits"},
        {ctChoiceCombo, DesignerWindowKind::ComboBox, false, 0, "the choice is a drop-down list"},
        {ctCellButton2, DesignerWindowKind::Button, true, 4, "four hints for the cell fields"},
        {ctFlexButton, DesignerWindowKind::Button, true, 3, "three flex fields"},
        {31, DesignerWindowKind::Static, false, 0, "an unknown type is drawn as a static"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(windowKindOf(c.type), c.kind) << c.why;
        EXPECT_EQ(typeHasListField(c.type), c.listField) << c.why;
        const Vor_String hint = listHintText(c.type);
        const int fields =
            hint.isEmpty() ? 0 : 1 + static_cast<int>(std::count(hint.str().begin(), hint.str().end(), ';'));
        EXPECT_EQ(fields, c.hintFields) << c.why;
    }
    EXPECT_EQ(controlTypeListText(ctBoltCount1).str(), dialString(803).str() + " 1: " + string(2220).str());
    for (int t = 0; t < kControlTypeCount; ++t)
        EXPECT_FALSE(controlTypeListText(t).isEmpty()) << "type " << t << " has a\ttext\tin the type list";
}

TEST_F(DesignerFiles, savedTemplateReadsBackTheSevenFieldsInKeyOrder) {
    Vor_DlgDesignerData out;
    Vor_DesignerControl a = control(ctFlexButton, 0.1, 0.2, 0.3, 0.4, "Stiffener");
    a.flexGroup = "G";
    a.flexField3 = "V";
    a.readOnly = true;
    a.tabOrder = 7;
    Vor_DesignerControl b = control(ctCellButton1, 0.125, 0.5, 1.0 / 3.0, 0.75, "Dim");
    b.setSplitExtComboList("A;B;C;D;x;y");
    out.append(a);
    out.append(b);
    out.writeToFile((root() + "Beams/EndPlate.txt").c_str());
    EXPECT_EQ(out.getTemplateName().str(), "Beams/EndPlate");

    Vor_PropertiesList props;
    ASSERT_EQ(props.readFromFile((root() + "Beams/EndPlate.txt").c_str()), Acad::eOk);
    const std::vector<std::string> keys = {"nrOfControls", "type0",         "topLeftX0",
                                           "topLeftY0",    "bottomRightX0", "bottomRightY0",
                                           "contents0",    "comboList0",    "type1"};
    for (std::size_t k = 0; k < keys.size(); ++k)
        EXPECT_EQ(props.names()[static_cast<int>(k)].str(), keys[k])
            << "keys are written in the file's order";
    EXPECT_EQ(props.length(), 15) << "no other key is written (read-only, ids and tab order are not saved)";

    Vor_DlgDesignerData in;
    ASSERT_TRUE(in.readFromFile((root() + "Beams/EndPlate.txt").c_str(), false));
    ASSERT_EQ(in.getNrControls(), 2);
    for (int i = 0; i < 2; ++i) {
        const Vor_DesignerControl& got = *in.getControl(i);
        const Vor_DesignerControl& want = i == 0 ? a : b;
        EXPECT_EQ(got.type, want.type);
        EXPECT_EQ(got.topLeftX, want.topLeftX) << "doubles survive the file exactly";
        EXPECT_EQ(got.bottomRightX, want.bottomRightX);
        EXPECT_EQ(got.topLeftY, want.topLeftY);
        EXPECT_EQ(got.bottomRightY, want.bottomRightY);
        EXPECT_EQ(got.contents, want.contents);
        EXPECT_EQ(got.getMergedExtComboList(), want.getMergedExtComboList());
        EXPECT_FALSE(got.readOnly) << "read-only is the showing dialog's, not the file's";
        EXPECT_EQ(got.tabOrder, 0);
    }
}

TEST_F(DesignerFiles, savingUnderANewNameTakesThePictureAlongButNotOutsideTheRoot) {
    write("Old.txt", "nrOfControls\tint\t0\n");
    write("Old.bmp", "BMpicture");
    Vor_DlgDesignerData e;
    ASSERT_TRUE(e.readFromFile((root() + "Old.txt").c_str(), false));
    e.writeToFile((root() + "Sub/New.txt").c_str());
    EXPECT_TRUE(fs::exists(root() + "Sub/New.txt"));
    std::string bytes;
    ASSERT_TRUE(readWholeFile(root() + "Sub/New.bmp", bytes)) << "the picture is copied under the new name";
    EXPECT_EQ(bytes, "BMpicture");

    const std::string outside = (m_dir / "Outside.txt").string();
    e.writeToFile(outside.c_str());
    EXPECT_FALSE(fs::exists(outside)) << "nothing is written outside the root folder";
    EXPECT_EQ(e.getTemplateName().str(), "Sub/New") << "and the name stays";
    EXPECT_FALSE(e.readFromFile(outside.c_str(), false));
}

TEST_F(DesignerFiles, templateNamesComeFromTheFoldersBelowTheRoot) {
    write("Beams/EndPlate.txt", "nrOfControls\tint\t0\n");
    write("Base.txt", "nrOfControls\tint\t0\n");
    write("Beams/readme.md", "not a template");
    Vor_StringArray names;
    getModuleImages(names);
    ASSERT_EQ(names.length(), 2);
    EXPECT_EQ(names[0].str(), "Base") << "the root's own files first";
    EXPECT_EQ(names[1].str(), "Beams/EndPlate");
    EXPECT_EQ(templatePathFromName("Beams\\EndPlate").str(), root() + "Beams/EndPlate.txt")
        << "a name written with a backslash";
    Vor_DlgDesignerData e;
    EXPECT_TRUE(e.readFromFile((root() + "Beams\\EndPlate.txt").c_str(), false));
    EXPECT_EQ(e.getTemplateName().str(), "Beams/EndPlate");
}

TEST_F(DesignerFiles, variableNamesOfATemplate) {
    write("T.txt", "nrOfControls\tint\t3\ntype0\tint\t2\ncontents0\ttext\tLength\ntype1\tint\t3\n"
                   "contents1\ttext\tGrade\ntype2\tint\t2\ncontents2\ttext\tWidth\n");
    Vor_StringArray names;
    GetImageDlgCtrlNames((root() + "T.txt").c_str(), names);
    EXPECT_EQ(names, (Vor_StringArray{"Length", "Width"})) << "only variable edits, in order";
}

TEST_F(DesignerFiles, damagedFilesLoadSaneOrAreRefused) {
    Vor_DlgDesignerData e;
    write("Good.txt", "nrOfControls\tint\t1\ntype0\tint\t2\n");
    ASSERT_TRUE(e.readFromFile((root() + "Good.txt").c_str(), false));

    write("Huge.txt", "nrOfControls\tint\t2147483647\n");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(e.readFromFile((root() + "Huge.txt").c_str(), false)) << "an absurd count is refused";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "without trying";
    EXPECT_EQ(e.getNrControls(), 1) << "and the open template stays";
    EXPECT_EQ(e.getTemplateName().str(), "Good");

    write("Negative.txt", "nrOfControls\tint\t-5\n");
    EXPECT_TRUE(e.readFromFile((root() + "Negative.txt").c_str(), false));
    EXPECT_EQ(e.getNrControls(), 0);

    write("Missing.txt", "nrOfControls\tint\t2\ntype1\tint\t4\n");
    ASSERT_TRUE(e.readFromFile((root() + "Missing.txt").c_str(), false));
    ASSERT_EQ(e.getNrControls(), 2) << "missing keys give default controls";
    EXPECT_EQ(e.getControl(0)->type, ctText);
    EXPECT_EQ(e.getControl(1)->type, ctBoltCount1);

    write("Far.txt", "nrOfControls\tint\t1\ntopLeftX0\tdouble\t1e308\ntopLeftY0\tdouble\t-1e308\n"
                     "bottomRightX0\tdouble\t0.5\nbottomRightY0\tdouble\t0.25\n");
    ASSERT_TRUE(e.readFromFile((root() + "Far.txt").c_str(), false));
    const Vor_DesignerControl* c = e.getControl(0);
    for (double v : {c->topLeftX, c->topLeftY, c->bottomRightX, c->bottomRightY}) {
        EXPECT_TRUE(std::isfinite(v));
        EXPECT_LE(std::fabs(v), 2.0) << "factors far outside the picture are brought near it";
    }

    write("Long.txt", "nrOfControls\tint\t1\ncontents0\ttext\t" + std::string(100000, 'x') + "\n");
    ASSERT_TRUE(e.readFromFile((root() + "Long.txt").c_str(), false));
    EXPECT_LE(e.getControl(0)->contents.length(), Vor_DlgDesignerData::kMaxTextBytes);
}

TEST(DesignerSamples, bundledTemplatesHoldEveryFamilyOverTheirPicture) {
    const Vor_String oldLib = gSettings.libDir;
    gSettings.libDir = VOR_SOURCE_DIR "/data/lib/";
    Vor_StringArray names;
    getModuleImages(names);
    std::set<int> types;
    for (const char* name : {"EndPlate", "BasePlate", "Beams/Splice"}) {
        bool listed = false;
        for (int k = 0; k < names.length(); ++k)
            listed = listed || names[k].str() == name;
        EXPECT_TRUE(listed) << name << " is among the bundled templates";
        Vor_DlgDesignerData e;
        ASSERT_TRUE(e.readFromFile(templatePathFromName(name), true)) << name;
        EXPECT_TRUE(e.hasPicture()) << name << " has its picture beside it";
        for (int i = 0; i < e.getNrControls(); ++i) {
            const Vor_DesignerControl& c = *e.getControl(i);
            types.insert(c.type);
            EXPECT_GE(c.topLeftX, 0.0) << name << " control " << i << " lies on the picture";
            EXPECT_LE(c.bottomRightX, 1.0) << name << " control " << i;
            EXPECT_LE(c.bottomRightY, 1.0) << name << " control " << i;
            if (c.type == ctVarCombo) {
                Vor_StringArray items;
                c.getComboItemsFromFile(items);
                EXPECT_GT(items.length(), 0) << name << ": the items of " << c.contents.str() << " are found";
            }
        }
    }
    for (int family :
         {ctText, ctGroupBox, ctVarEdit, ctVarCombo, ctBoltCount1, ctPatternProps, ctProfSection,
          ctArrayEdit1, ctArrayButton, ctCellButton1, ctListCombo, ctChoiceCombo, ctCheckBox, ctFlexButton})
        EXPECT_TRUE(types.count(family)) << "type " << family << " is shown by a bundled template";
    gSettings.libDir = oldLib;
}

TEST(DesignerTabOrder, rowsFromTheTopThenLeftToRight) {
    struct Case {
        std::vector<Vor_DesignerControl> controls;
        std::vector<int> tabs;
        const char* why;
    } cases[] = {
        {{control(ctVarEdit, 0.5, 0.10, 0.6, 0.15), control(ctVarEdit, 0.1, 0.12, 0.2, 0.17),
          control(ctVarEdit, 0.2, 0.30, 0.3, 0.35)},
         {2, 1, 3},
         "the second top lies within the first's height: one row, read left to right"},
        {{control(ctVarEdit, 0.5, 0.1, 0.6, 0.2), control(ctVarEdit, 0.1, 0.1, 0.2, 0.2)},
         {2, 1},
         "equal tops: the smaller left edge first"},
        {{control(ctText, 0.1, 0.1, 0.2, 0.2), control(ctGroupBox, 0.0, 0.0, 1.0, 1.0),
          control(ctVarEdit, 0.3, 0.1, 0.4, 0.2)},
         {0, 0, 1},
         "texts and group boxes take no tab position"},
        {{control(ctVarEdit, 0.5, 0.1, 0.6, 0.2), control(ctVarEdit, 0.1, 0.2, 0.2, 0.3)},
         {2, 1},
         "a top equal to the head's bottom belongs to the head's row"},
        {{control(ctVarEdit, 0.1, 0.5, 0.2, 0.1), control(ctVarEdit, 0.05, 0.2, 0.2, 0.3)},
         {2, 1},
         "a control whose top lies below its bottom is sorted as if turned right"},
        {{control(ctVarEdit, 0.1, 500.0, 0.2, 600.0), control(ctVarEdit, 0.1, 0.2, 0.2, 0.3)},
         {2, 1},
         "tops far below the picture still end the sort"},
        {{control(ctVarEdit, 0.1, std::numeric_limits<double>::infinity(), 0.2, 1.0),
          control(ctVarEdit, 0.1, std::nan(""), 0.2, 0.3), control(ctVarEdit, 0.1, 0.5, 0.2, 0.6)},
         {3, 1, 2},
         "NaN counts as the top, an infinite top as the far bottom"},
    };
    for (Case& c : cases) {
        sortTabOrder(c.controls);
        for (std::size_t k = 0; k < c.tabs.size(); ++k)
            EXPECT_EQ(c.controls[k].tabOrder, c.tabs[k]) << c.why << ", control " << k;
    }
    std::vector<Vor_DesignerControl> readOnly = {control(ctVarEdit, 0.1, 0.1, 0.2, 0.2)};
    readOnly[0].readOnly = true;
    readOnly[0].tabOrder = 9;
    sortTabOrder(readOnly);
    EXPECT_EQ(readOnly[0].tabOrder, 9) << "a read-only control keeps its tab position";
}

TEST(DesignerHistorySteps, undoAndRedoWalkTheRecordedLayouts) {
    DesignerHistory h;
    const DesignerHistory::Layout empty, one = {control(ctVarEdit, 0.1, 0.1, 0.2, 0.2, "a")};
    DesignerHistory::Layout moved = one;
    moved[0].topLeftX = 0.15;
    EXPECT_FALSE(h.record(one, one)) << "nothing changed, nothing recorded";
    EXPECT_TRUE(h.record(empty, one));
    EXPECT_TRUE(h.record(one, moved));
    DesignerHistory::Layout at;
    ASSERT_TRUE(h.undo(moved, at));
    EXPECT_TRUE(DesignerHistory::same(at, one));
    ASSERT_TRUE(h.undo(at, at));
    EXPECT_TRUE(at.empty());
    EXPECT_FALSE(h.undo(at, at)) << "nothing left to undo";
    ASSERT_TRUE(h.redo(at, at));
    EXPECT_TRUE(DesignerHistory::same(at, one));
    EXPECT_TRUE(h.record(at, empty));
    EXPECT_FALSE(h.canRedo()) << "a new change drops what could be redone";
}

} // namespace
