// The macro selection's model: the filter over the bundled macro drawings (its grid rows, and how
// switching a module or a value narrows the drawings that pass), the label rule, and the preview
// pictures, which are made again only for a drawing newer than its picture.
#include "../TempDir.h"

#include <host/MacroPreview.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <host/VorUtils.h>
#include <host/Vor_MacroPropsFilter.h>
#include <ui/Picture.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string kDrawings = VOR_SOURCE_DIR "/data/lib/Macros/Drawings/";

/// The file names without folder and extension, as the thumbnails are labelled.
std::vector<std::string> names(const Vor_StringArray& paths) {
    std::vector<std::string> out;
    for (const Vor_String& p : paths)
        out.push_back(fs::path(p.str()).stem().string());
    return out;
}

class MacroSelectionModel : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(configureSettings("", "", &error)) << error;
        ASSERT_TRUE(filter.initialize({"Macros/Drawings/"}, {}, 120, 90));
        ASSERT_TRUE(filter.problems().isEmpty()) << filter.problems()[0].str();
    }
    Vor_MacroPropsFilter filter;
};

TEST_F(MacroSelectionModel, gridRowsAreTheModulesOfTheMacrosWithTheirValues) {
    EXPECT_EQ(filter.width(), 120) << "the launcher's first number";
    EXPECT_EQ(filter.height(), 90);
    EXPECT_EQ(filter.getAllDwgFiles().length(), 11);
    Vor_Array<Vor_StringArray> rows, origins;
    Vor_Array<Vor_Array<bool>> on;
    ASSERT_TRUE(filter.getMergedProperties(rows, origins, on));
    std::map<std::string, std::vector<std::string>> byModule;
    for (int r = 0; r < rows.length(); ++r) {
        ASSERT_EQ(rows[r].length(), origins[r].length());
        ASSERT_EQ(rows[r].length(), on[r].length());
        for (int e = 0; e < on[r].length(); ++e)
            EXPECT_TRUE(on[r][e]) << "everything starts switched on";
        byModule[rows[r][0].str()] = rows[r].toStdVector();
    }
    const struct {
        const char* module;
        std::vector<std::string> row;
        const char* why;
    } cases[] = {
        {"Endplate",
         {"Endplate", "IPE 300", "IPE 400", "S235", "S355"},
         "grades and beam sections of the end plates"},
        {"Baseplate", {"Baseplate", "Mortar", "None"}, "the grout of the base plates"},
        {"Splice", {"Splice", "IPE 300"}, "the web section of the splices"},
        {"Bolts", {"Bolts"}, "a module whose cells are all numbers has no values"},
        {"Stiffener", {"Stiffener", "FL 100x10"}, "a profile page's section"},
        {"Marking", {"Marking", "VP"}, "a tab without a page is a module with values too"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(byModule[c.module], c.row) << c.why;
    EXPECT_EQ(byModule.size(), 8u)
        << "Anchors, Baseplate, Bolts, Endplate, Marking, Splice, Stiffener, Stiffeners";

    Vor_MacroPropsFilter modulesOnly;
    ASSERT_TRUE(modulesOnly.initialize({"Macros/Drawings/"}, {false}, 96, 96));
    ASSERT_TRUE(modulesOnly.getMergedProperties(rows, origins, on));
    for (const Vor_StringArray& row : rows)
        EXPECT_EQ(row.length(), 1) << row[0].str() << ": the flag leaves property values out";
}

TEST_F(MacroSelectionModel, clearingAChecksHidesTheDrawingsThatHoldItAndSettingItShowsThemAgain) {
    const struct {
        const char* module;
        const char* value; ///< "" switches the module
        std::vector<std::string> hidden;
        const char* why;
    } cases[] = {
        {"Endplate",
         "S355",
         {"EndPlateExtended2", "EndPlateFlush2", "EndPlateStiffened1"},
         "end plates of S355"},
        {"Endplate", "IPE 400", {"EndPlateExtended2", "EndPlateFlush2"}, "end plates on an IPE 400"},
        {"Baseplate", "Mortar", {"BasePlateFixed2", "BasePlatePinned2"}, "grouted base plates"},
        {"Baseplate",
         "",
         {"BasePlateFixed1", "BasePlateFixed2", "BasePlatePinned1", "BasePlatePinned2"},
         "every base plate"},
        {"bolts",
         "",
         {"EndPlateExtended1", "EndPlateExtended2", "EndPlateFlush1", "EndPlateFlush2", "EndPlateStiffened1"},
         "modules are named without regard to case; only the end plates have a Bolts tab"},
        {"Splice", "ipe 300", {"SpliceFlange1", "SpliceWeb1"}, "values without regard to case too"},
    };
    const std::vector<std::string> all = names(filter.getFilteredMacros());
    ASSERT_EQ(all.size(), 11u);
    for (const auto& c : cases) {
        const bool module = *c.value == 0;
        ASSERT_TRUE(module ? filter.setModuleStatus(c.module, false)
                           : filter.setModulePropStatus(c.module, c.value, false))
            << c.why;
        std::vector<std::string> expected;
        for (const std::string& n : all)
            if (std::find(c.hidden.begin(), c.hidden.end(), n) == c.hidden.end()) expected.push_back(n);
        EXPECT_EQ(names(filter.getFilteredMacros()), expected) << c.why;

        Vor_Array<Vor_StringArray> rows, origins;
        Vor_Array<Vor_Array<bool>> on;
        ASSERT_TRUE(filter.getMergedProperties(rows, origins, on));
        int cleared = 0;
        for (const auto& row : on)
            for (bool b : row)
                cleared += b ? 0 : 1;
        EXPECT_EQ(cleared, 1) << c.why << ": the grid shows the one cleared check";

        ASSERT_TRUE(module ? filter.setModuleStatus(c.module, true)
                           : filter.setModulePropStatus(c.module, c.value, true));
        EXPECT_EQ(names(filter.getFilteredMacros()), all) << c.why << ": switched on again";
    }
    EXPECT_FALSE(filter.setModuleStatus("Nothing", false)) << "no drawing holds it";
    EXPECT_FALSE(filter.setModulePropStatus("Endplate", "S460", false)) << "no end plate of S460";
    EXPECT_EQ(filter.getFilteredMacros().length(), 11) << "unknown names change nothing";
}

TEST_F(MacroSelectionModel, aTypeRestrictsTheDrawingsAndAnUnreadableOneIsReportedNotOffered) {
    Vor_MacroPropsFilter basePlates;
    ASSERT_TRUE(basePlates.initialize({"Macros/Drawings/", "voetplaat"}, {}, 96, 96));
    EXPECT_EQ(names(basePlates.getFilteredMacros()),
              (std::vector<std::string>{"BasePlateFixed1", "BasePlateFixed2", "BasePlatePinned1",
                                        "BasePlatePinned2"}));

    TempDir dir;
    fs::copy_file(kDrawings + "SpliceWeb1.dwg", dir.file("SpliceWeb1.dwg"));
    dir.write("Broken1.dwg", "VORLANE DRAWING 1\nprofile id=x\n");
    dir.write("Real.DWG", "AC1032 a real DWG file");
    dir.write("Unknown1.dwg",
              "VORLANE DRAWING 1\ngroup id=1 name=\"M1\"\nprop key=\"macro\" value=\"Nosuch\"\n");
    fs::create_directory(dir.file("Folder.dwg"));
    Vor_MacroPropsFilter f;
    ASSERT_TRUE(f.initialize({Vor_String(dir.path())}, {}, 1, 100000));
    EXPECT_EQ(f.width(), kMinThumbnailSide) << "kept within the budget";
    EXPECT_EQ(f.height(), kMaxThumbnailSide);
    EXPECT_EQ(names(f.getAllDwgFiles()),
              (std::vector<std::string>{"Broken1", "Real", "SpliceWeb1", "Unknown1"}))
        << "a folder named like a drawing is no drawing";
    EXPECT_EQ(names(f.getFilteredMacros()), (std::vector<std::string>{"SpliceWeb1"}));
    ASSERT_EQ(f.problems().length(), 3);
    EXPECT_NE(f.problems()[0].find("Broken1.dwg:2"), -1) << "file and line: " << f.problems()[0].str();
    EXPECT_NE(f.problems()[1].find("Real.DWG"), -1) << f.problems()[1].str();
    EXPECT_NE(f.problems()[2].find("Unknown1.dwg: "), -1)
        << "a macro of no known type names its drawing: " << f.problems()[2].str();

    Vor_MacroPropsFilter missing;
    EXPECT_FALSE(missing.initialize({"No such folder/"}, {}, 96, 96));
    EXPECT_EQ(missing.problems().length(), 1);
    Vor_Array<Vor_StringArray> rows{{"kept"}}, origins;
    Vor_Array<Vor_Array<bool>> on;
    EXPECT_FALSE(missing.getMergedProperties(rows, origins, on));
    EXPECT_EQ(rows.length(), 1) << "a failed answer leaves the rows alone";
}

TEST(MacroSelectionLabels, shortLabelsUnlessTheyClash) {
    auto labels = [](const Vor_StringArray& full) {
        Vor_StringArray shortened;
        for (const Vor_String& l : full)
            shortened.append(stripNumbersAtEnd(l));
        return hasDuplicates(shortened, false) ? full : shortened;
    };
    EXPECT_EQ(labels({"Beam1", "Beam2", "Column1"}), Vor_StringArray({"Beam1", "Beam2", "Column1"}))
        << "Beam and Beam clash: full labels";
    EXPECT_EQ(labels({"Beam1", "Column1"}), Vor_StringArray({"Beam", "Column"}));
    EXPECT_EQ(labels({"beam1", "Beam2"}), Vor_StringArray({"beam1", "Beam2"}))
        << "a clash without regard to case";
}

TEST(MacroPreviews, aPreviewIsMadeAgainOnlyWhenItsDrawingIsNewer) {
    std::string error;
    ASSERT_TRUE(configureSettings("", "", &error)) << error;
    TempDir dir;
    const Vor_String dwg(dir.file("EndPlateFlush1.dwg")), broken(dir.file("Broken.dwg"));
    fs::copy_file(kDrawings + "EndPlateFlush1.dwg", dwg.str());
    dir.write("Broken.dwg", "VORLANE DRAWING 1\nplate id=1 thickness=oops\n");

    PreviewReport r = CreatePreviewBMPs(64, 48, {dwg, broken}, "abm");
    EXPECT_EQ(r.made, Vor_StringArray({dwg}));
    EXPECT_EQ(r.failed, Vor_StringArray({broken})) << "a drawing not read gets no picture";
    ASSERT_EQ(r.messages.length(), 1);
    EXPECT_NE(r.messages[0].find("Broken.dwg:2"), -1) << r.messages[0].str();
    EXPECT_FALSE(fs::exists(dir.file("Broken.abm")));

    ui::Picture picture;
    ASSERT_TRUE(ui::Picture::loadBmp(dir.file("EndPlateFlush1.abm"), picture, &error)) << error;
    EXPECT_EQ(picture.width(), 64);
    EXPECT_EQ(picture.height(), 48);
    int inked = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            inked += picture.pixel(x, y) != ui::rgb(255, 255, 255) ? 1 : 0;
    EXPECT_GT(inked, 100) << "the connection is drawn";
    EXPECT_LT(inked, 64 * 48 / 2) << "as lines on a white ground";

    const auto now = fs::last_write_time(dwg.str());
    const struct {
        fs::file_time_type drawing, preview;
        bool remade;
        const char* why;
    } cases[] = {
        {now, now + std::chrono::seconds(5), false, "the picture is newer"},
        {now, now, false, "as old as its drawing"},
        {now + std::chrono::milliseconds(10), now, true, "the drawing changed within the same second"},
        {now + std::chrono::hours(1), now, true, "the drawing changed later"},
    };
    for (const auto& c : cases) {
        fs::last_write_time(dwg.str(), c.drawing);
        fs::last_write_time(dir.file("EndPlateFlush1.abm"), c.preview);
        r = CreatePreviewBMPs(64, 48, {dwg}, ".abm");
        EXPECT_EQ(r.made.length(), c.remade ? 1 : 0) << c.why;
        EXPECT_EQ(r.upToDate.length(), c.remade ? 0 : 1) << c.why;
    }

    // a picture that cannot be written is reported, the drawing left as it was
    fs::create_directory(dir.file("Blocked.abm"));
    fs::copy_file(kDrawings + "SpliceWeb1.dwg", dir.file("Blocked.dwg"));
    r = CreatePreviewBMPs(64, 48, {Vor_String(dir.file("Blocked.dwg"))}, "abm");
    EXPECT_EQ(r.failed.length(), 1);
    EXPECT_TRUE(fs::is_directory(dir.file("Blocked.abm")));
}

} // namespace
