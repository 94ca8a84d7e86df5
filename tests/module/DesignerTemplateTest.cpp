// Designed-dialog templates without windows: list fields, the file, template names, damaged files
// and the tab order.

#include "designer/DesignerFolder.h"
#include "designer/DesignerHistory.h"
#include "designer/TabOrder.h"
#include "designer/Vor_DlgDesignerData.h"

#include <base/SafeFile.h>
#include <host/FileUtils.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <host/Vor_PropertiesList.h>
#include <ui/Image.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include <cerrno>
#include <limits>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

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

/// A template of two variable fields as the designer writes it.
std::string twoFields() {
    return "nrOfControls\tint\t2\n"
           "type0\tint\t2\ntopLeftX0\tdouble\t0.1\ntopLeftY0\tdouble\t0.1\nbottomRightX0\tdouble\t0.3\n"
           "bottomRightY0\tdouble\t0.2\ncontents0\ttext\tThickness\ncomboList0\ttext\t\n"
           "type1\tint\t2\ntopLeftX1\tdouble\t0.5\ntopLeftY1\tdouble\t0.1\nbottomRightX1\tdouble\t0.7\n"
           "bottomRightY1\tdouble\t0.2\ncontents1\ttext\tWidth\ncomboList1\ttext\t\n";
}

std::string replaced(std::string text, const std::string& what, const std::string& by) {
    const std::size_t at = text.find(what);
    return at == std::string::npos ? text : text.replace(at, what.size(), by);
}

TEST_F(DesignerFiles, aTemplateNotReadCleanlyIsRefusedWithItsFaultAndTheOpenOneStays) {
    const std::string good = twoFields();
    struct Case {
        const char* name;
        std::string text;
        const char* fault;
        const char* why;
    } cases[] = {
        {"BadLine", replaced(good, "topLeftX1\tdouble\t0.5", "topLeftX1\tdouble\tabc"),
         ":10: 'abc' is not a number", "one bad line names its line"},
        {"Repeated", good + "contents0\ttext\tAgain\n", "already given on line", "a repeated key"},
        {"CutInALine", good.substr(0, good.find("contents1") + 4), "expected NAME<TAB>TYPE<TAB>VALUE",
         "a file cut in the middle of a key"},
        {"CutAfterALine", good.substr(0, good.find("type1")), "control 1 of 2 has no keys",
         "a file cut after whole lines: the count promises more controls than it holds"},
        {"Negative", "nrOfControls\tint\t-5\n", "negative", "a negative count"},
        {"Huge", "nrOfControls\tint\t2147483647\n", "at most 10000 controls", "a count beyond the budget"},
        {"Amplified", "nrOfControls\tint\t10000\n", "control 0 of 10000 has no keys",
         "a tiny file does not make ten thousand controls"},
        {"Items", "S235\nS275\nS355\n", "expected NAME<TAB>TYPE<TAB>VALUE",
         "a combo item file opened by mistake"},
        {"Empty", "", "no nrOfControls", "an empty file is no template"},
        {"OtherList", "rows\tint\t3\n", "no nrOfControls", "another kind of property list"},
        {"Unknown", good + "colour0\ttext\tred\n", "'colour0' is not a key",
         "a key the template does not have"},
        {"LeadingZero", replaced(good, "type1\t", "type01\t"), "'type01' is not a key",
         "an index the writer never writes"},
        {"Beyond", good + "type2\tint\t1\n", "'type2' belongs to control 2", "a key beyond the count"},
        {"WrongKind", replaced(good, "type0\tint\t2", "type0\ttext\tfield"), "'type0' is not a whole number",
         "a value of the wrong kind is not dropped"},
        {"TextAsNumber", replaced(good, "contents1\ttext\tWidth", "contents1\tint\t7"),
         "'contents1' is not a text", "a number where a text belongs"},
        {"LongText", replaced(good, "Width", std::string(5000, 'w')), "holds 5000 bytes",
         "a text beyond 4096 bytes is not cut"},
        {"Far", replaced(good, "topLeftX0\tdouble\t0.1", "topLeftX0\tdouble\t1e308"), "outside the picture",
         "an edge far from the picture is not moved"},
        {"Big", good + "# " + std::string(17 << 20, 'x') + "\n", "larger than 16 MiB", "17 MiB"},
    };
    write("Good.txt", good);
    for (const Case& c : cases) {
        Vor_DlgDesignerData e;
        ASSERT_TRUE(e.readFromFile((root() + "Good.txt").c_str(), false));
        const std::string file = root() + c.name + ".txt";
        write(std::string(c.name) + ".txt", c.text);
        std::string error;
        EXPECT_FALSE(e.readFromFile(file.c_str(), false, &error)) << c.why;
        EXPECT_NE(error.find(file), std::string::npos) << c.why << ": the message names the file: " << error;
        EXPECT_NE(error.find(c.fault), std::string::npos) << c.why << ": " << error;
        EXPECT_EQ(e.getTemplateName().str(), "Good") << c.why << ": the open template stays";
        ASSERT_EQ(e.getNrControls(), 2) << c.why;
        EXPECT_EQ(e.getControl(1)->contents.str(), "Width") << c.why;
    }

    // Missing keys of a control that has others keep their defaults: the writer drops nothing then.
    write("Missing.txt", "nrOfControls\tint\t2\ntype0\tint\t2\ntype1\tint\t4\n");
    Vor_DlgDesignerData e;
    ASSERT_TRUE(e.readFromFile((root() + "Missing.txt").c_str(), false));
    ASSERT_EQ(e.getNrControls(), 2);
    EXPECT_EQ(e.getControl(1)->type, ctBoltCount1);
    write("Whole.txt", replaced(good, "topLeftX0\tdouble\t0.1", "topLeftX0\tint\t1"));
    ASSERT_TRUE(e.readFromFile((root() + "Whole.txt").c_str(), false)) << "a whole number is a factor too";
    EXPECT_EQ(e.getControl(0)->topLeftX, 1.0);
}

TEST_F(DesignerFiles, onlyRegularFilesAreOpened) {
    fs::create_directories(root() + "Folder.txt");
    ASSERT_EQ(::mkfifo((root() + "Pipe.txt").c_str(), 0600), 0);
    for (const char* name : {"Folder.txt", "Pipe.txt"}) {
        Vor_DlgDesignerData e;
        std::string error;
        EXPECT_FALSE(e.readFromFile((root() + name).c_str(), false, &error)) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
}

TEST_F(DesignerFiles, theWriterWritesNothingTheReaderWouldRefuse) {
    write("T.txt", twoFields());
    const std::string before = twoFields();
    struct Case {
        std::function<void(Vor_DesignerControl&)> change;
        const char* fault;
        const char* why;
    } cases[] = {
        {[](Vor_DesignerControl& c) { c.contents = std::string(4097, 'x').c_str(); }, "holds 4097 bytes",
         "a text beyond the reader's budget"},
        {[](Vor_DesignerControl& c) {
             c.type = ctCellButton1;
             c.cellName = std::string(2000, 'a').c_str();
             c.comboList = std::string(2100, 'b').c_str();
         },
         "the list of control 2", "fields that fit alone but not merged"},
        {[](Vor_DesignerControl& c) { c.bottomRightX = 2.5; }, "outside the picture",
         "an edge dragged far off the picture"},
        {[](Vor_DesignerControl& c) { c.topLeftY = std::nan(""); }, "not a finite number", "no number text"},
    };
    for (const Case& c : cases) {
        Vor_DlgDesignerData e;
        ASSERT_TRUE(e.readFromFile((root() + "T.txt").c_str(), false));
        c.change(*e.getControlWrite(1));
        std::string error;
        EXPECT_FALSE(e.writeToFile((root() + "T.txt").c_str(), &error)) << c.why;
        EXPECT_NE(error.find(c.fault), std::string::npos) << c.why << ": " << error;
        std::string now;
        ASSERT_TRUE(readWholeFile(root() + "T.txt", now));
        EXPECT_EQ(now, before) << c.why << ": the file stays as it was";
        EXPECT_FALSE(e.writeToFile((root() + "New.txt").c_str())) << c.why;
        EXPECT_FALSE(fs::exists(root() + "New.txt")) << c.why;
        EXPECT_EQ(e.getTemplateName().str(), "T") << c.why;
    }
    // What fits exactly is written and read back whole: 2048 two-byte characters.
    Vor_DlgDesignerData e;
    ASSERT_TRUE(e.readFromFile((root() + "T.txt").c_str(), false));
    std::string full;
    for (int k = 0; k < 2048; ++k)
        full += "\xC3\xA9";
    e.getControlWrite(0)->contents = full.c_str();
    ASSERT_TRUE(e.writeToFile((root() + "T.txt").c_str()));
    Vor_DlgDesignerData back;
    ASSERT_TRUE(back.readFromFile((root() + "T.txt").c_str(), false));
    EXPECT_EQ(back.getControl(0)->contents.str(), full);
}

TEST_F(DesignerFiles, aFailedSaveSaysWhyAndKeepsTheOldFileAndName) {
    const std::string before = twoFields();
    write("T.txt", before);
    fs::create_directories(root() + "Folder.txt");
    fs::create_directories(m_dir / "Dialog Templates" / "Elsewhere");
    struct Case {
        std::string path;
        bool fullDisk;
        const char* fault;
        const char* why;
    } cases[] = {
        {root() + "T.txt", true, "T.txt", "a full disk"},
        {root() + "Folder.txt", false, "Folder.txt", "a folder where the file should be"},
        {(m_dir / "Outside.txt").string(), false, "templates are kept in the folder",
         "a name outside the root"},
        {root() + "../Elsewhere/T.txt", false, "\"..\"", "a name that climbs out of the root"},
        {root() + "Beams//T.txt", false, "empty", "an empty folder part"},
        {root() + "T.bmp", false, "a template is a .txt file", "the picture's name"},
    };
    for (const Case& c : cases) {
        Vor_DlgDesignerData e;
        ASSERT_TRUE(e.readFromFile((root() + "T.txt").c_str(), false));
        e.getControlWrite(0)->contents = "Changed";
        if (c.fullDisk) base::failSafeWritesAfterForTesting(0, ENOSPC);
        std::string error;
        const bool written = e.writeToFile(c.path.c_str(), &error);
        base::failSafeWritesAfterForTesting(-1, 0);
        EXPECT_FALSE(written) << c.why;
        EXPECT_NE(error.find(c.fault), std::string::npos) << c.why << ": " << error;
        EXPECT_EQ(e.getTemplateName().str(), "T") << c.why << ": the template is not taken for saved";
        std::string now;
        ASSERT_TRUE(readWholeFile(root() + "T.txt", now));
        EXPECT_EQ(now, before) << c.why;
    }
    EXPECT_FALSE(fs::exists(m_dir / "Outside.txt"));
    EXPECT_FALSE(fs::exists(m_dir / "Dialog Templates" / "Elsewhere" / "T.txt"));
}

TEST_F(DesignerFiles, templateNamesAreCheckedPartByPart) {
    struct Case {
        const char* name;
        bool fine;
        const char* why;
    } cases[] = {
        {"EndPlate", true, "a name in the root"},
        {"Beams/EndPlate", true, "a sub-folder of the root"},
        {"Beams\\EndPlate", true, "old data writes folders with a backslash"},
        {"../EndPlate", false, "climbs out of the root"},
        {"Beams/../../EndPlate", false, "climbs out in the middle"},
        {"Beams/./EndPlate", false, "a dot part"},
        {"/etc/passwd", false, "an empty first part: an absolute path"},
        {"Beams/", false, "an empty last part"},
        {"Be\x01ms/x", false, "a control character"},
        {"", false, "no name at all"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(templateNameFault(c.name).empty(), c.fine) << c.why << ": " << templateNameFault(c.name);

    // A file outside the root reached through ".." is neither read nor written.
    std::ofstream(m_dir / "Dialog Templates" / "Outside.txt") << twoFields();
    Vor_DlgDesignerData e;
    std::string error;
    EXPECT_FALSE(e.readFromFile(templatePathFromName("../Outside"), false, &error));
    EXPECT_NE(error.find("\"..\""), std::string::npos) << error;
    EXPECT_EQ(e.getNrControls(), 0);

    // and so is a combo's item file: a relative name stays below the root
    std::ofstream(m_dir / "Dialog Templates" / "items.txt") << "S235\nS355\n";
    write("Beams/items.txt", "S275\n");
    Vor_DesignerControl combo = control(ctVarCombo, 0, 0, 0.1, 0.1);
    Vor_StringArray items;
    combo.comboList = "../items.txt";
    combo.getComboItemsFromFile(items);
    EXPECT_EQ(items.length(), 0) << "an item file above the root is not read";
    combo.comboList = "Beams\\items.txt";
    combo.getComboItemsFromFile(items);
    EXPECT_EQ(items, (Vor_StringArray{"S275"})) << "one in a sub-folder is";
}

TEST_F(DesignerFiles, aChosenPictureIsCheckedFirstAndWrittenOnlyBySaving) {
    ASSERT_TRUE(ui::Image::filled(300, 200, ui::rgb(200, 200, 255)).save(root() + "T.bmp"));
    write("T.txt", twoFields());
    std::string oldPicture;
    ASSERT_TRUE(readWholeFile(root() + "T.bmp", oldPicture));
    const std::string notAPicture = (m_dir / "notes.bmp").string();
    std::ofstream(notAPicture) << "these are notes, not a picture";
    const std::string picture = (m_dir / "sketch.bmp").string();
    ASSERT_TRUE(ui::Image::filled(120, 80, ui::rgb(255, 200, 200)).save(picture));

    Vor_DlgDesignerData e;
    ASSERT_TRUE(e.readFromFile((root() + "T.txt").c_str(), true));
    std::string error;
    EXPECT_FALSE(e.choosePicture(notAPicture.c_str(), &error));
    EXPECT_NE(error.find("notes.bmp: this file is no picture"), std::string::npos) << error;
    EXPECT_FALSE(e.choosePicture((m_dir / "missing.bmp").string().c_str(), &error));
    EXPECT_EQ(e.bitmap().size().cx, 300) << "a refused file leaves the picture";

    ASSERT_TRUE(e.choosePicture(picture.c_str()));
    EXPECT_EQ(e.bitmap().size().cx, 120) << "a good one is shown at once";
    std::string onDisk;
    ASSERT_TRUE(readWholeFile(root() + "T.bmp", onDisk));
    EXPECT_EQ(onDisk, oldPicture) << "and not written before the template is saved";

    ASSERT_TRUE(e.writeToFile((root() + "T.txt").c_str()));
    std::string chosen;
    ASSERT_TRUE(readWholeFile(picture, chosen));
    ASSERT_TRUE(readWholeFile(root() + "T.bmp", onDisk));
    EXPECT_EQ(onDisk, chosen) << "saving writes it beside the template";
    EXPECT_FALSE(e.hasUnsavedPicture());
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
