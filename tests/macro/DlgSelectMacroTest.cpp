// The macro selection: its grid of modules and values narrows the thumbnails, a thumbnail chosen
// gives its drawing, the extra button ends it without one, and previews are made once.
#include "macro/ui/DlgSelectMacro.h"

#include <cad/aced.h>
#include <host/Settings.h>
#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string id(int n) {
    return std::to_string(n);
}
const std::string DLG = "expect-dialog " + id(DlgSelectMacro::IDD) + "\n";
const std::string GRID = id(DlgSelectMacro::IDC_GRID);
const std::string THUMBS = id(DlgSelectMacro::IDC_THUMBNAILS);
const std::string kDrawings = VOR_SOURCE_DIR "/data/lib/Macros/Drawings/";

class DlgSelectMacroTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        std::string error;
        ASSERT_TRUE(configureSettings("", "", &error)) << error;
        ASSERT_TRUE(loadTextCatalogues(defaultInstallDir().str(), "en"));
        dir = fs::temp_directory_path() / ("vor-select-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const char* n : {"EndPlateFlush1", "EndPlateFlush2", "BasePlatePinned1", "SpliceWeb1"})
            fs::copy_file(kDrawings + n + ".dwg", dir / (std::string(n) + ".dwg"));
        acutClearPrintedText();
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    bool run(const std::string& script, bool showInfo = false) {
        agent.setScript(DLG + script, "t.vsc");
        const bool ok =
            StartDlgSelectMacro("", {Vor_String(dir.string() + "/")}, {}, 64, 48, selected, extra, showInfo);
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return ok;
    }
    ui::ScriptedAgent agent;
    fs::path dir;
    Vor_String selected = "untouched";
    bool extra = false;
};

TEST_F(DlgSelectMacroTest, clearingAGridCheckNarrowsTheThumbnailsAndOkGivesTheChosenDrawing) {
    // rows: Anchors | Baseplate Mortar None | Bolts | Endplate IPE 300 IPE 400 S235 S355 | Splice ... | ...
    ASSERT_TRUE(
        run("expect-caption \"" + dialString(1116).str() + "\"\nexpect-items " + THUMBS +
            " \"BasePlatePinned1|EndPlateFlush1|EndPlateFlush2|SpliceWeb1\"\n" + // Flush1, Flush2 clash
            "expect-cell " + GRID + " 2 4 \"Endplate\"\nexpect-cell " + GRID + " 6 4 \"IPE 400\"\n" +
            "cell " + GRID + " 5 4 \"0\"\n" + // the end plates on an IPE 400 go
            "expect-items " + THUMBS + " \"BasePlatePinned|EndPlateFlush|SpliceWeb\"\n" + "expect-cell " +
            GRID + " 5 4 \"0\"\n" +           // the grid shows the check cleared
            "cell " + GRID + " 1 2 \"0\"\n" + // the base plates go
            "expect-items " + THUMBS + " \"EndPlateFlush|SpliceWeb\"\n" + "click 1\n" + DLG + "select " +
            THUMBS + " 1\nclick 1\n"));
    EXPECT_EQ(selected, Vor_String(dir.string() + "/SpliceWeb1.dwg")) << "the picture's path with .dwg";
    EXPECT_FALSE(extra);
}

TEST_F(DlgSelectMacroTest, theGridPairsEachEntryWithACheckAndGreysWhatARowLacks) {
    const MacroGridLayout g = macroGridLayout({{"Endplate", "S235", "S355", "IPE 300"}, {"Bolts", "8.8"}},
                                              {{true, false, true, true}, {true, true}});
    using Cell = MacroGridLayout::Cell;
    ASSERT_EQ(g.cols, 8) << "four pairs for the longest row";
    EXPECT_EQ(g.headings[2], dialString(1119));
    EXPECT_EQ(g.headings[4], dialString(1120) + " 1");
    EXPECT_EQ(g.headings[8], dialString(1120) + " 3");
    EXPECT_EQ(g.headings[3], Vor_String()) << "a check column is too narrow for a heading";
    const struct {
        int row, col;
        Cell::Kind kind;
        bool locked, on;
        const char* text;
        const char* why;
    } cases[] = {
        {0, 1, Cell::Check, false, true, "", "the module's check, open"},
        {0, 2, Cell::Text, true, false, "Endplate", "texts are locked"},
        {0, 3, Cell::Check, false, false, "", "a value switched off"},
        {0, 8, Cell::Text, true, false, "IPE 300", "the last pair of the longest row"},
        {1, 4, Cell::Text, true, false, "8.8", ""},
        {1, 5, Cell::Grey, true, false, "", "a row of two entries: its third pair grey and locked"},
        {1, 6, Cell::Grey, true, false, "", ""},
        {1, 7, Cell::Grey, true, false, "", "and its fourth"},
        {1, 8, Cell::Grey, true, false, "", ""},
    };
    for (const auto& c : cases) {
        const Cell& cell = g.rows[c.row][c.col];
        EXPECT_EQ(cell.kind, c.kind) << c.row << "," << c.col << " " << c.why;
        EXPECT_EQ(cell.locked, c.locked) << c.row << "," << c.col << " " << c.why;
        EXPECT_EQ(cell.on, c.on) << c.row << "," << c.col << " " << c.why;
        EXPECT_EQ(cell.text, Vor_String(c.text)) << c.row << "," << c.col << " " << c.why;
    }
}

TEST_F(DlgSelectMacroTest, theExtraButtonEndsWithoutASelectionAndOkWithoutOneDoesNothing) {
    extra = true;
    ASSERT_TRUE(run("expect-state 1352 visible\nexpect-state 1353 hidden\nclick 1\n" + DLG + "click 1352\n"));
    EXPECT_TRUE(selected.isEmpty()) << "no selection needed";
    EXPECT_TRUE(extra);

    extra = false;
    selected = "untouched";
    EXPECT_FALSE(run("expect-state 1352 hidden\nexpect-state 1353 visible\nclick 2\n", true));
    EXPECT_EQ(selected, Vor_String("untouched")) << "Cancel leaves the caller's values alone";
    EXPECT_FALSE(run("expect-state 1353 hidden\nclick 2\n", false)) << "the information text only when asked";
}

TEST_F(DlgSelectMacroTest, previewsAreMadeOnceAndAFolderThatCannotBeWrittenStillShowsThem) {
    ASSERT_TRUE(run("select " + THUMBS + " 0\nclick 1\n"));
    EXPECT_TRUE(fs::exists(dir / "SpliceWeb1.abm"));
    const auto made = fs::last_write_time(dir / "SpliceWeb1.abm");
    ASSERT_TRUE(run("select " + THUMBS + " 2\ndblclick " + THUMBS + "\n")) << "a double click chooses";
    EXPECT_EQ(selected, Vor_String((dir / "EndPlateFlush2.dwg").string()));
    EXPECT_EQ(fs::last_write_time(dir / "SpliceWeb1.abm"), made) << "not made again for an older drawing";

    // a picture that cannot be kept (a folder stands in its place) is drawn for this show only
    fs::remove(dir / "SpliceWeb1.abm");
    fs::create_directory(dir / "SpliceWeb1.abm");
    ASSERT_TRUE(run("expect-items " + THUMBS +
                    " \"BasePlatePinned1|EndPlateFlush1|EndPlateFlush2|SpliceWeb1\"\n" + "select " + THUMBS +
                    " 3\nclick 1\n"));
    EXPECT_EQ(selected, Vor_String((dir / "SpliceWeb1.dwg").string()));
    EXPECT_NE(acutPrintedText().find(string(10500).str()), std::string::npos) << "said on the command line";
}

} // namespace
