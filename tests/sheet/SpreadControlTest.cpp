// The grid control's state and entry points, without a window: addressing, editing as a person
// does it, notifications, selection, row moves, files and the preview state.
#include <sheet/SpreadControl.h>
#include <sheet/SssFile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

using namespace sheet;

namespace {

struct Events : SpreadListener {
    std::vector<std::string> log;
    bool allowLeave = true;
    bool takeTab = false;
    bool leaveCell(SpreadControl&, CellPos from, CellPos to) override {
        log.push_back("leave " + cellName(from.col, from.row) + ">" + cellName(to.col, to.row));
        return allowLeave;
    }
    void activeCellChanged(SpreadControl&, CellPos, CellPos to) override {
        log.push_back("active " + cellName(to.col, to.row));
    }
    void selectionChanged(SpreadControl&, const CellRange& b) override {
        log.push_back("selection " + cellName(b.col1, b.row1) + ":" + cellName(b.col2, b.row2));
    }
    void checkBoxToggled(SpreadControl&, int col, int row, bool on) override {
        log.push_back("check " + cellName(col, row) + (on ? " on" : " off"));
    }
    void dataChanged(SpreadControl&, int col, int row) override {
        log.push_back("data " + cellName(col, row));
    }
    void editModeChanged(SpreadControl&, int col, int row, bool editing, bool changed) override {
        log.push_back(std::string(editing ? "edit " : "endedit ") + cellName(col, row) +
                      (changed ? " changed" : ""));
    }
    void rowMoved(SpreadControl&, int from, int to) override {
        log.push_back("rowmoved " + std::to_string(from) + ">" + std::to_string(to));
    }
    bool tabOut(SpreadControl&, bool forward) override {
        log.push_back(forward ? "tabout next" : "tabout previous");
        return takeTab;
    }
    void comboSelected(SpreadControl&, int col, int row, int index) override {
        log.push_back("combo " + cellName(col, row) + " " + std::to_string(index));
    }
    bool saw(const std::string& e) const { return std::find(log.begin(), log.end(), e) != log.end(); }
};

struct Grid : testing::Test {
    Events ev; // outlives the control, which tells it when it goes
    SpreadControl c;
    void SetUp() override {
        c.setListener(&ev);
        ASSERT_TRUE(SSSetMaxCols(&c, 4));
        ASSERT_TRUE(SSSetMaxRows(&c, 5));
    }
    std::string data(int col, int row) {
        std::string s;
        SSGetData(&c, col, row, s);
        return s;
    }
    bool type(int col, int row, const std::string& text) {
        if (!c.moveActive(col, row)) return false;
        std::string t = text;
        if (!c.beginEdit(&t)) return false;
        return c.commitEdit();
    }
};

std::filesystem::path tempFile(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("spreadctl-" + std::to_string(::getpid()) + "-" + name);
}

} // namespace

TEST(SpreadControlEntry, nullHandleFailsEverywhere) {
    std::string s = "unchanged";
    double d = 0;
    int i = 0;
    CellType t;
    Font f;
    SS_CELLCOORD a, b;
    PrintOptions po;
    // Every entry point on a grid that does not exist reports failure; counts give -1.
    EXPECT_EQ(SSGetMaxCols(nullptr), -1);
    EXPECT_EQ(SSGetMaxRows(nullptr), -1);
    EXPECT_EQ(SSGetData(nullptr, 1, 1, s), -1);
    EXPECT_EQ(s, "unchanged") << "the caller's text stays";
    EXPECT_EQ(SSGetDataLen(nullptr, 1, 1), -1);
    EXPECT_EQ(SSGetFormula(nullptr, 1, 1, s), -1);
    EXPECT_EQ(SSGetValue(nullptr, 1, 1, s), -1);
    EXPECT_EQ(SSGetCellTag(nullptr, 1, 1, s), -1);
    EXPECT_EQ(SSGetCellNote(nullptr, 1, 1, s), -1);
    EXPECT_EQ(SSGetPrintPageCount(nullptr), -1);
    EXPECT_EQ(SSGetUnitType(nullptr), -1);
    EXPECT_EQ(SSGetRefStyle(nullptr), -1);
    EXPECT_EQ(SpvGetPageCurrent(nullptr), -1);
    EXPECT_EQ(SpvGetPageViewPercentage(nullptr), -1);
    EXPECT_EQ(SSSetTypeEdit(nullptr, t, 0, 10), nullptr);
    EXPECT_EQ(SSSetTypeCheckBox(nullptr, t, 0, "", "#8136", "#8134"), nullptr);
    const std::vector<std::pair<const char*, std::function<bool()>>> calls = {
        {"SSSetBool", [&] { return SSSetBool(nullptr, 7, true); }},
        {"SSGetBool", [&] { return SSGetBool(nullptr, 7); }},
        {"SSSetMaxCols", [&] { return SSSetMaxCols(nullptr, 3); }},
        {"SSSetData", [&] { return SSSetData(nullptr, 1, 1, "x"); }},
        {"SSSetDataRange", [&] { return SSSetDataRange(nullptr, 1, 1, 2, 2, "x"); }},
        {"SSSetFormula", [&] { return SSSetFormula(nullptr, 1, 1, "1+1"); }},
        {"SSGetFloat", [&] { return SSGetFloat(nullptr, 1, 1, d); }},
        {"SSSetFloat", [&] { return SSSetFloat(nullptr, 1, 1, 2.0); }},
        {"SSSetCellTag", [&] { return SSSetCellTag(nullptr, 1, 1, "t"); }},
        {"SSAddCellSpan", [&] { return SSAddCellSpan(nullptr, 1, 1, 2, 1); }},
        {"SSSetCellType", [&] { return SSSetCellType(nullptr, 1, 1, t); }},
        {"SSGetCellType", [&] { return SSGetCellType(nullptr, 1, 1, t); }},
        {"SSSetColor", [&] { return SSSetColor(nullptr, 1, 1, 0, 0); }},
        {"SSSetFont", [&] { return SSSetFont(nullptr, 1, 1, f); }},
        {"SSGetLock", [&] { return SSGetLock(nullptr, 1, 1); }},
        {"SSSetColWidth", [&] { return SSSetColWidth(nullptr, 1, 10); }},
        {"SSGetColWidthInPixels", [&] { return SSGetColWidthInPixels(nullptr, 1, i); }},
        {"SSGetActiveCell", [&] { return SSGetActiveCell(nullptr, i, i); }},
        {"SSGetSelectBlock", [&] { return SSGetSelectBlock(nullptr, a, b); }},
        {"SSSetEditMode", [&] { return SSSetEditMode(nullptr, true); }},
        {"SSGetEditMode", [&] { return SSGetEditMode(nullptr); }},
        {"SSInsRow", [&] { return SSInsRow(nullptr, 1); }},
        {"SSCopyRange", [&] { return SSCopyRange(nullptr, 1, 1, 1, 1, 2, 2); }},
        {"SSReCalc", [&] { return SSReCalc(nullptr); }},
        {"SSSaveToFile", [&] { return SSSaveToFile(nullptr, "/tmp/x.sss"); }},
        {"SSLoadFromFile", [&] { return SSLoadFromFile(nullptr, "/tmp/x.sss"); }},
        {"SSClipboardCopy", [&] { return SSClipboardCopy(nullptr); }},
        {"SSPrint", [&] { return SSPrint(nullptr, "job"); }},
        {"SSGetPrintOptions", [&] { return SSGetPrintOptions(nullptr, po); }},
        {"SSReset", [&] { return SSReset(nullptr); }},
        {"SpvSetPageCurrent", [&] { return SpvSetPageCurrent(nullptr, 1); }},
    };
    for (const auto& [name, call] : calls)
        EXPECT_FALSE(call()) << name;
}

TEST_F(Grid, headerAddressingAndTextsComeBackUnchanged) {
    // kAll and 0 both address the header row or column in single-cell functions.
    ASSERT_TRUE(SSSetData(&c, 2, kAll, "Length"));
    ASSERT_TRUE(SSSetData(&c, kAll, 3, "Third"));
    EXPECT_EQ(data(2, 0), "Length");
    EXPECT_EQ(data(0, 3), "Third");
    const std::string texts[] = {"007", "12.50", "  spaced  ", "Stahl \xC3\xA4\xC3\xB6\xC3\xBC", "a\tb"};
    for (const auto& t : texts) {
        ASSERT_TRUE(SSSetData(&c, 1, 1, t));
        EXPECT_EQ(data(1, 1), t) << "data comes back as written";
    }
    std::string longTag(20000, 'x');
    longTag += "|end";
    ASSERT_TRUE(SSSetCellTag(&c, 0, 0, longTag));
    std::string tag;
    EXPECT_EQ(SSGetCellTag(&c, kAll, kAll, tag), int(longTag.size()));
    EXPECT_EQ(tag, longTag) << "the corner tag holds long texts";
}

TEST_F(Grid, outsideTheGridGettersReportMinusOneAndSettersFail) {
    std::string out = "keep";
    EXPECT_EQ(SSGetData(&c, 5, 1, out), -1);
    EXPECT_EQ(SSGetData(&c, 1, 6, out), -1);
    EXPECT_EQ(out, "keep");
    EXPECT_FALSE(SSSetData(&c, 5, 1, "x"));
    EXPECT_FALSE(SSSetActiveCell(&c, 0, 1)) << "headers cannot become active";
    EXPECT_FALSE(SSSetColor(&c, 9, 9, 0, 0));
    EXPECT_EQ(SSGetDataLen(&c, 1, 1), 0) << "an empty cell inside the grid is not a failure";
}

TEST_F(Grid, floatsValuesAndFormulas) {
    ASSERT_TRUE(SSSetFloat(&c, 1, 1, 2.5));
    ASSERT_TRUE(SSSetFormula(&c, 2, 1, "A1*2"));
    double v = 0;
    ASSERT_TRUE(SSGetFloat(&c, 2, 1, v));
    EXPECT_DOUBLE_EQ(v, 5.0);
    std::string f;
    EXPECT_EQ(SSGetFormula(&c, 2, 1, f), 4);
    EXPECT_EQ(f, "A1*2");
    EXPECT_FALSE(SSSetFormula(&c, 3, 1, "A1*(2")) << "a formula that does not parse is refused";
    EXPECT_NE(c.lastError().find("position"), std::string::npos);
    EXPECT_EQ(data(3, 1), "") << "and the cell stays as it was";
    ASSERT_TRUE(SSSetData(&c, 4, 1, "text"));
    EXPECT_FALSE(SSGetFloat(&c, 4, 1, v)) << "text is not a float";
    EXPECT_FALSE(SSSetFloat(&c, 1, 1, std::nan(""))) << "NaN is not stored";
    SSSetFloat(&c, 1, 3, 4);
    ASSERT_TRUE(SSSetFormulaRange(&c, 3, 1, 3, 3, "A#*2"));
    EXPECT_EQ(data(3, 1), "5");
    EXPECT_EQ(data(3, 3), "8") << "'#' follows each cell of the block";
}

TEST_F(Grid, typingWritesTheCellAndNotifiesOnce) {
    ASSERT_TRUE(type(2, 3, "hello"));
    EXPECT_EQ(data(2, 3), "hello");
    EXPECT_TRUE(SSGetBool(&c, Sheet::kOptChangeMade));
    EXPECT_TRUE(ev.saw("data B3"));
    EXPECT_TRUE(ev.saw("endedit B3 changed"));
    EXPECT_EQ(std::count(ev.log.begin(), ev.log.end(), "data B3"), 1);
}

TEST_F(Grid, typingAValueOverAFormulaReplacesItEvenWhenItShowsTheSame) {
    SSSetFloat(&c, 1, 1, 5);
    SSSetFormula(&c, 2, 1, "A1");
    ASSERT_TRUE(type(2, 1, "5"));
    std::string f = "x";
    EXPECT_EQ(SSGetFormula(&c, 2, 1, f), 0) << "the formula is gone";
    SSSetFloat(&c, 1, 1, 6);
    EXPECT_EQ(data(2, 1), "5");
    ev.log.clear();
    ASSERT_TRUE(type(2, 1, "5"));
    EXPECT_FALSE(ev.saw("data B1")) << "the same value again is no change";
}

TEST_F(Grid, editingWithoutChangeAndMovingDoNotRaiseChangeMade) {
    SSSetData(&c, 1, 1, "same");
    ASSERT_TRUE(SSSetEditMode(&c, true));
    EXPECT_EQ(c.editText(), "same") << "the editor opens on the cell's text";
    ASSERT_TRUE(SSSetEditMode(&c, false));
    c.moveActive(3, 3);
    c.moveActive(1, 2);
    EXPECT_FALSE(SSGetBool(&c, Sheet::kOptChangeMade));
    EXPECT_FALSE(ev.saw("data A1"));
}

TEST_F(Grid, escapeLeavesTheCellAsItWas) {
    SSSetData(&c, 1, 1, "before");
    std::string t = "after";
    ASSERT_TRUE(c.beginEdit(&t));
    c.cancelEdit();
    EXPECT_FALSE(c.editing());
    EXPECT_EQ(data(1, 1), "before");
    EXPECT_FALSE(SSGetBool(&c, Sheet::kOptChangeMade));
}

TEST_F(Grid, refusedInputKeepsTheEditorOpen) {
    CellType t;
    SSSetCellType(&c, 1, 1, *SSSetTypeNumber(&c, t, 0, 2, 0, 100));
    struct Case {
        const char* text;
        bool accepted;
        const char* why;
    } cases[] = {
        {"abc", false, "not a number"},         {"150", false, "above the maximum"},
        {"-1", false, "below the minimum"},     {"1.000,5", false, "1000.5 is above 100"},
        {"42", true, "a number within bounds"}, {"=1+", false, "a formula that does not parse"},
    };
    for (const Case& k : cases) {
        c.cancelEdit();
        std::string text = k.text;
        ASSERT_TRUE(c.beginEdit(&text));
        EXPECT_EQ(c.commitEdit(), k.accepted) << k.text << ": " << k.why;
        EXPECT_EQ(c.editing(), !k.accepted) << k.text;
    }
    c.cancelEdit();
    EXPECT_EQ(data(1, 1), "42.00");
}

// Records what the control asks its view to tell the person.
struct RefusalView : SpreadView {
    std::vector<std::string> refused;
    void redraw() override {}
    void editorChanged() override {}
    void showCell(int, int) override {}
    SSRect clientRect() const override { return {0, 0, 400, 300}; }
    void textSize(const std::string&, const Font&, double& w, double& h) const override { w = h = 10; }
    bool print(const std::string&, std::string&) override { return false; }
    void editRefused(const std::string& reason) override { refused.push_back(reason); }
    void setClipboardText(const std::string&) override {}
    std::string clipboardText() const override { return {}; }
};

// Switches the process to a decimal-comma locale for one scope, as a Dutch desktop does.
struct DutchLocale {
    std::string before = std::setlocale(LC_ALL, nullptr);
    bool ok = std::setlocale(LC_ALL, "nl_NL.UTF-8") != nullptr;
    ~DutchLocale() { std::setlocale(LC_ALL, before.c_str()); }
};

TEST_F(Grid, numbersAreReadAsTypedWithADecimalCommaOrPoint) {
    DutchLocale dutch;
    ASSERT_TRUE(dutch.ok) << "the nl_NL.UTF-8 locale is missing (./vor test generates it)";
    RefusalView view;
    c.setView(&view);
    CellType t;
    SSSetCellType(&c, 1, 1, *SSSetTypeNumber(&c, t, 0, 2, -1e7, 1e7));
    const struct {
        const char* typed;
        const char* shown; // after Enter; a refused text leaves the value before it
        bool refused;
        const char* why;
    } cases[] = {
        {"1,5", "1.50", false, "one comma is the decimal comma, never a thousands separator"},
        {"1.5", "1.50", false, "one point is the decimal point"},
        {" -2,25 ", "-2.25", false, "sign and spaces around"},
        {"1.234,5", "1234.50", false, "point groups before a decimal comma"},
        {"1,234.5", "1234.50", false, "comma groups before a decimal point"},
        {"1.234.567", "1234567.00", false, "the same separator twice can only group"},
        {"12,5%", "0.13", false, "a percentage with a decimal comma"},
        {"1,234,5", "0.13", true, "grouping that does not fit: two readings, refused"},
        {"1,2.3", "0.13", true, "mixed separators that fit no reading"},
        {"1.23.456", "0.13", true, "a short group"},
        {"1,5x", "0.13", true, "not a number"},
        {"", "", false, "an empty text empties the cell"},
    };
    for (const auto& k : cases) {
        c.cancelEdit();
        view.refused.clear();
        ASSERT_TRUE(c.moveActive(1, 1));
        std::string text = k.typed;
        ASSERT_TRUE(c.beginEdit(&text));
        EXPECT_EQ(c.pressEnter(), !k.refused) << k.typed << ": " << k.why;
        EXPECT_EQ(data(1, 1), k.shown) << k.typed << ": " << k.why;
        ASSERT_EQ(view.refused.size(), k.refused ? 1u : 0u) << k.typed << ": the person is told once";
        if (k.refused) {
            EXPECT_TRUE(c.editing()) << k.typed << ": the editor stays open to correct the text";
            EXPECT_NE(view.refused[0].find(k.typed), std::string::npos) << view.refused[0];
        }
    }
    c.cancelEdit();
    c.setView(nullptr);
}

TEST_F(Grid, aGroupedNumberOpensInTheEditorWithoutItsGrouping) {
    CellType t;
    SSSetCellType(&c, 1, 1, *SSSetTypeNumber(&c, t, 0, 0, 0, 1e9, true));
    ASSERT_TRUE(SSSetFloat(&c, 1, 1, 1234));
    EXPECT_EQ(data(1, 1), "1,234");
    ASSERT_TRUE(c.moveActive(1, 1));
    ASSERT_TRUE(c.beginEdit());
    EXPECT_EQ(c.editText(), "1234") << "edited to 1,235 it would read as a decimal comma";
    c.setEditText("1235");
    ASSERT_TRUE(c.commitEdit());
    EXPECT_EQ(data(1, 1), "1,235");
}

TEST_F(Grid, savingClearsChangeMadeAndTheFileDoesNotRecordIt) {
    auto path = tempFile("changed.sss");
    ASSERT_TRUE(type(1, 1, "edited"));
    ASSERT_TRUE(SSGetBool(&c, Sheet::kOptChangeMade));
    ASSERT_TRUE(SSSaveToFile(&c, path.string())) << c.lastError();
    EXPECT_FALSE(SSGetBool(&c, Sheet::kOptChangeMade)) << "what is saved is no longer changed";
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t at = text.find("\"options\":[");
    ASSERT_NE(at, std::string::npos);
    const std::string options = text.substr(at, text.find(']', at) - at);
    EXPECT_EQ(options.find("30"), std::string::npos) << options;

    // A file written before this rule still holds 30: it opens unchanged all the same.
    const std::size_t close = text.find(']', at);
    text.insert(close, options.back() == '[' ? "30" : ",30");
    std::ofstream(path) << text;
    Sheet loaded;
    ASSERT_TRUE(loadSheet(loaded, path.string()));
    EXPECT_FALSE(loaded.option(Sheet::kOptChangeMade));
    SpreadControl other;
    ASSERT_TRUE(SSLoadFromFile(&other, path.string())) << other.lastError();
    EXPECT_FALSE(SSGetBool(&other, Sheet::kOptChangeMade));

    // A failed save leaves the table changed.
    ASSERT_TRUE(type(1, 2, "more"));
    EXPECT_FALSE(SSSaveToFile(&c, (path.parent_path() / "no-such-folder" / "x.sss").string()));
    EXPECT_TRUE(SSGetBool(&c, Sheet::kOptChangeMade));
    std::filesystem::remove(path);
}

TEST(SpreadControlBlockText, aBlockHasOneTextOnlyWhenEveryCellHasIt) {
    enum { kData = 0, kFormula = 1, kTag = 2, kValue = 3 };
    const struct {
        CellRange block;
        int kind;
        bool same;
        const char* text;
        const char* why;
    } cases[] = {
        {{1, 1, 1, 1}, kData, true, "a", "one cell is its own text"},
        {{1, 1, 3, 2}, kData, true, "a", "every cell of A1:C2 holds a"},
        {{1, 1, 3, 3}, kData, false, "", "row 3 was never written: its empty cells differ from a"},
        {{1, 1, 4, 2}, kData, false, "", "column D holds b"},
        {{6, 1, 9, 600}, kData, true, "", "only formats and gaps: all empty"},
        {{1, 250, 1, 260}, kData, true, "z", "a run across two chunks of rows"},
        {{1, 250, 1, 261}, kData, false, "", "one row past the run"},
        {{5, 1, 5, 3}, kFormula, true, "$A$1", "the same absolute formula"},
        {{10, 1, 10, 2}, kFormula, false, "", "two formulas that read differently"},
        {{5, 1, 5, 3}, kData, true, "a", "formula results compare as shown"},
        {{1, 1, 2, 1}, kTag, true, "t", "tags"},
        {{1, 1, 3, 1}, kTag, false, "", "C1 has no tag"},
        {{2, 700, 2, 700}, kValue, true, "1.5", "the unformatted value"},
        {{2, 700, 2, 700}, kData, true, "1.50", "the shown value"},
        {{kAll, kAll, kAll, kAll}, kData, false, "", "the whole grid holds several texts"},
        {{20, 900, 200, 1000}, kData, true, "", "a block beyond every stored cell"},
        {{300, 1, 400, 2}, kData, true, "", "a block outside the grid has no cell to differ"},
    };
    SpreadControl c;
    SSSetMaxCols(&c, 200);
    SSSetMaxRows(&c, 1000);
    SSSetDataRange(&c, 1, 1, 3, 2, "a");
    SSSetData(&c, 4, 1, "b");
    SSSetDataRange(&c, 1, 250, 1, 260, "z");
    SSSetColorRange(&c, 6, 1, 9, 600, rgb(1, 2, 3), kDefaultColor);
    SSSetFormulaRange(&c, 5, 1, 5, 3, "$A$1");
    SSSetFormula(&c, 10, 1, "A1");
    SSSetFormula(&c, 10, 2, "A2");
    SSSetCellTag(&c, 1, 1, "t");
    SSSetCellTag(&c, 2, 1, "t");
    CellType t;
    SSSetCellType(&c, 2, 700, *SSSetTypeNumber(&c, t, 0, 2, 0, 10));
    SSSetFloat(&c, 2, 700, 1.5);
    for (const auto& k : cases) {
        std::string out = "unchanged";
        EXPECT_EQ(SSGetBlockCommonText(&c, k.block, k.kind, out), k.same) << k.why;
        if (k.same) EXPECT_EQ(out, k.text) << k.why;
    }
    std::string out;
    EXPECT_FALSE(SSGetBlockCommonText(nullptr, {1, 1, 1, 1}, kData, out));
    EXPECT_FALSE(SSGetBlockCommonText(&c, {1, 1, 1, 1}, 4, out)) << "no such kind";
}

TEST(SpreadControlBlockText, agreesWithReadingEveryCell) {
    // Scattered contents of every kind: the answer must be what a cell-by-cell comparison gives.
    SpreadControl c;
    SSSetMaxCols(&c, 12);
    SSSetMaxRows(&c, 600);
    CellType t;
    SSSetCellTypeRange(&c, 3, 1, 4, 600, *SSSetTypeNumber(&c, t, 0, 2, -10, 10)); // shown with decimals
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int i = 0; i < 600; ++i) {
        int col = int(next() % 12) + 1, row = int(next() % 600) + 1;
        switch (next() % 7) {
        case 0:
            SSSetData(&c, col, row, "x");
            break;
        case 1:
            SSSetData(&c, col, row, "");
            break;
        case 2:
            SSSetCellTag(&c, col, row, next() % 2 ? "t" : "u");
            break;
        case 3:
            SSSetFloat(&c, col, row, next() % 2 ? 1.5 : 1.499);
            break; // both show 1.50 in C and D
        case 4:
            SSSetData(&c, col, row, "1.50");
            break; // typed: shown as typed
        case 5:
            SSSetFormula(&c, col, row, next() % 2 ? "$A$1" : "1.5");
            break;
        default:
            SSSetColor(&c, col, row, rgb(9, 9, 9), kDefaultColor);
            break;
        }
    }
    using Reader = int (*)(SpreadControl*, SS_COORD, SS_COORD, std::string&);
    const Reader readers[] = {SSGetData, SSGetFormula, SSGetCellTag, SSGetValue};
    for (int i = 0; i < 400; ++i) {
        int c1 = int(next() % 12) + 1, r1 = int(next() % 600) + 1;
        CellRange b{c1, r1, std::min(12, c1 + int(next() % 3)), std::min(600, r1 + int(next() % 40))};
        for (int kind = 0; kind < 4; ++kind) {
            std::string first, cell, out;
            bool same = true;
            readers[kind](&c, b.col1, b.row1, first);
            for (int x = b.col1; x <= b.col2; ++x)
                for (int y = b.row1; y <= b.row2; ++y) {
                    readers[kind](&c, x, y, cell);
                    same = same && cell == first;
                }
            ASSERT_EQ(SSGetBlockCommonText(&c, b, kind, out), same)
                << cellName(b.col1, b.row1) << ":" << cellName(b.col2, b.row2) << " kind " << kind;
            if (same) EXPECT_EQ(out, first);
        }
    }
}

TEST_F(Grid, enterMovesAsTheEnterActionSays) {
    struct Case {
        EnterAction action;
        CellPos from, to;
    } cases[] = {
        {EnterAction::None, {2, 2}, {2, 2}},     {EnterAction::Up, {2, 2}, {2, 1}},
        {EnterAction::Down, {2, 2}, {2, 3}},     {EnterAction::Left, {2, 2}, {1, 2}},
        {EnterAction::Right, {2, 2}, {3, 2}},    {EnterAction::Next, {4, 2}, {1, 3}},
        {EnterAction::Previous, {1, 2}, {4, 1}}, {EnterAction::Same, {2, 2}, {2, 2}},
        {EnterAction::NextRow, {3, 2}, {1, 3}},  {EnterAction::Down, {2, 5}, {2, 5}}, // stays at the edge
    };
    for (const auto& k : cases) {
        ASSERT_TRUE(SSSetEditEnterAction(&c, int(k.action)));
        c.moveActive(k.from.col, k.from.row);
        std::string t = "x";
        c.beginEdit(&t);
        ASSERT_TRUE(c.pressEnter());
        EXPECT_EQ(c.sheet().activeCell(), k.to) << "action " << int(k.action);
        EXPECT_EQ(data(k.from.col, k.from.row), "x") << "Enter confirms first";
    }
    EXPECT_FALSE(SSSetEditEnterAction(&c, 9));
}

TEST_F(Grid, tabWalksTheCellsAndTellsTheOwnerAtTheEnd) {
    c.moveActive(4, 1);
    ASSERT_TRUE(c.pressTab(true));
    EXPECT_EQ(c.sheet().activeCell(), (CellPos{1, 2})) << "Tab after the last column goes to the next row";
    ASSERT_TRUE(c.pressTab(false));
    EXPECT_EQ(c.sheet().activeCell(), (CellPos{4, 1}));
    c.moveActive(4, 5);
    EXPECT_FALSE(c.pressTab(true)) << "past the last cell the focus may leave";
    EXPECT_TRUE(ev.saw("tabout next"));
    EXPECT_EQ(c.sheet().activeCell(), (CellPos{4, 5}));
    ev.takeTab = true;
    c.moveActive(1, 1);
    EXPECT_TRUE(c.pressTab(false)) << "the owner took the focus";
    EXPECT_TRUE(ev.saw("tabout previous"));
}

TEST_F(Grid, leaveCellVetoKeepsTheCellButCodeIsNotAsked) {
    ev.allowLeave = false;
    EXPECT_FALSE(c.moveActive(3, 3));
    EXPECT_EQ(c.sheet().activeCell(), (CellPos{1, 1}));
    EXPECT_TRUE(SSSetActiveCell(&c, 3, 3)) << "code moves without asking";
    EXPECT_EQ(c.sheet().activeCell(), (CellPos{3, 3}));
    EXPECT_TRUE(ev.saw("active C3"));
}

TEST_F(Grid, checkBoxesToggleAndNotifyUnlessLocked) {
    CellType t;
    SSSetCellTypeRange(&c, 1, 1, 1, kAll, *SSSetTypeCheckBox(&c, t, 0, "", "#8136", "#8134"));
    ASSERT_TRUE(c.toggleCheck(1, 2));
    EXPECT_EQ(data(1, 2), "1");
    EXPECT_TRUE(ev.saw("check A2 on"));
    EXPECT_TRUE(SSGetBool(&c, Sheet::kOptChangeMade));
    ASSERT_TRUE(c.toggleCheck(1, 2));
    EXPECT_EQ(data(1, 2), "0");
    EXPECT_TRUE(ev.saw("check A2 off"));
    EXPECT_FALSE(c.toggleCheck(2, 2)) << "not a check-box cell";
    SSSetLock(&c, 1, 3, true);
    EXPECT_TRUE(c.toggleCheck(1, 3)) << "a lock means nothing until the grid is protected";
    SSSetBool(&c, kOptProtect, true);
    EXPECT_FALSE(c.toggleCheck(1, 3));
    EXPECT_EQ(data(1, 3), "1");
    SSSetOperationMode(&c, int(OperationMode::ReadOnly));
    EXPECT_FALSE(c.toggleCheck(1, 2)) << "a read-only grid changes nothing";
}

TEST_F(Grid, comboItemsAndStaticCells) {
    CellType t;
    SSSetCellType(&c, 2, 2, *SSSetTypeComboBox(&c, t, 0, "S235\tS275\tS355"));
    EXPECT_TRUE(c.chooseComboItem(2, 2, 2));
    EXPECT_EQ(data(2, 2), "S355");
    EXPECT_TRUE(ev.saw("combo B2 2"));
    EXPECT_FALSE(c.chooseComboItem(2, 2, 3)) << "index past the list";
    c.moveActive(2, 2);
    EXPECT_FALSE(c.beginEdit()) << "a list that is not editable does not open the text editor";
    SSSetCellType(&c, 3, 3, *SSSetTypeStaticText(&c, t, 0));
    EXPECT_FALSE(c.canEdit(3, 3));
}

TEST_F(Grid, selectionBlocksAndNotifications) {
    SS_CELLCOORD ul, lr;
    EXPECT_FALSE(SSGetSelectBlock(&c, ul, lr)) << "only the active cell";
    EXPECT_EQ(ul, (CellPos{1, 1}));
    ASSERT_TRUE(SSSetSelectBlock(&c, {2, 2}, {3, 4}));
    ASSERT_TRUE(SSGetSelectBlock(&c, ul, lr));
    EXPECT_EQ(ul, (CellPos{2, 2}));
    EXPECT_EQ(lr, (CellPos{3, 4}));
    EXPECT_TRUE(ev.saw("selection B2:C4"));
    ASSERT_TRUE(c.selectBlock({2, kAll}, {3, kAll}));
    EXPECT_EQ(c.selectedBlock(), (CellRange{2, 1, 3, 5})) << "whole columns, clipped to the grid";
    c.moveActive(1, 1);
    ASSERT_TRUE(c.moveActive(3, 2, true));
    EXPECT_EQ(c.selectedBlock(), (CellRange{1, 1, 3, 2})) << "Shift extends from the anchor";
    EXPECT_EQ(c.sheet().activeCell(), (CellPos{1, 1}));
    SSSetBool(&c, kOptUserBlockSelect, false);
    EXPECT_FALSE(c.selectBlock({1, 1}, {2, 2})) << "the user may not select blocks";
    EXPECT_TRUE(SSSetSelectBlock(&c, {1, 1}, {2, 2})) << "code still may";
}

TEST_F(Grid, editorSelectionCountsCharactersAndOnlyWhileEditing) {
    int s = -1, e = -1;
    EXPECT_FALSE(SSSetSel(&c, 0, 1));
    EXPECT_FALSE(SSGetSel(&c, s, e));
    SSSetData(&c, 1, 1,
              "x\xC3\xA4"
              "by");
    ASSERT_TRUE(SSSetEditMode(&c, true));
    ASSERT_TRUE(SSSetSel(&c, 1, 3));
    ASSERT_TRUE(SSGetSel(&c, s, e));
    EXPECT_EQ(s, 1);
    EXPECT_EQ(e, 3);
    ASSERT_TRUE(SSSetSel(&c, 2, 99));
    SSGetSel(&c, s, e);
    EXPECT_EQ(e, 4) << "clipped to the 4 characters (not 5 bytes)";
    c.cancelEdit();
    CellType t;
    SSSetCellType(&c, 2, 1, *SSSetTypeEdit(&c, t, 0, 3));
    c.moveActive(2, 1);
    std::string typed = "abcdef";
    ASSERT_TRUE(c.beginEdit(&typed));
    EXPECT_EQ(c.editText(), "abc") << "the cell's maximum length";
}

TEST_F(Grid, movingARowCarriesItsFormulasAlong) {
    for (int r = 1; r <= 4; ++r)
        SSSetData(&c, 1, r, "row" + std::to_string(r));
    SSSetFloat(&c, 2, 1, 10);
    SSSetFormula(&c, 3, 4, "B1*2");
    c.moveActive(1, 1);
    ASSERT_TRUE(c.moveRow(1, 3));
    EXPECT_EQ(data(1, 1), "row2");
    EXPECT_EQ(data(1, 2), "row3");
    EXPECT_EQ(data(1, 3), "row1");
    EXPECT_EQ(data(3, 4), "20") << "the reference follows the moved cell";
    std::string f;
    SSGetFormula(&c, 3, 4, f);
    EXPECT_EQ(f, "B3*2");
    EXPECT_TRUE(ev.saw("rowmoved 1>3"));
    EXPECT_EQ(c.sheet().activeCell(), (CellPos{1, 3})) << "the moved row stays current";
    EXPECT_FALSE(c.moveRow(0, 2));
    EXPECT_FALSE(c.moveRow(5, 6));
}

TEST_F(Grid, insertAndDeleteKeepTheGridSize) {
    for (int r = 1; r <= 5; ++r)
        SSSetData(&c, 1, r, std::to_string(r));
    ASSERT_TRUE(SSInsRow(&c, 2));
    EXPECT_EQ(SSGetMaxRows(&c), 5);
    EXPECT_EQ(data(1, 2), "");
    EXPECT_EQ(data(1, 5), "4") << "the last row was pushed out";
    ASSERT_TRUE(SSCopyRange(&c, 1, 3, 4, 3, 1, 2));
    EXPECT_EQ(data(1, 2), "2");
    ASSERT_TRUE(SSDelRow(&c, 1));
    EXPECT_EQ(data(1, 1), "2");
    EXPECT_EQ(data(1, 5), "");
    EXPECT_FALSE(SSInsRow(&c, 6));
}

TEST_F(Grid, shrinkingTheGridKeepsTheActiveCellInside) {
    c.moveActive(4, 5);
    SSSetSelectBlock(&c, {2, 2}, {4, 5});
    ASSERT_TRUE(SSSetMaxRows(&c, 3));
    ASSERT_TRUE(SSSetMaxCols(&c, 2));
    SS_COORD col, row;
    SSGetActiveCell(&c, col, row);
    EXPECT_EQ(col, 2) << "the block's anchor";
    EXPECT_EQ(row, 2);
    ASSERT_TRUE(SSSetActiveCell(&c, 2, 3));
    ASSERT_TRUE(SSSetMaxRows(&c, 1));
    SSGetActiveCell(&c, col, row);
    EXPECT_EQ(row, 1) << "pulled back inside";
    ASSERT_TRUE(SSSetMaxRows(&c, 3));
    SSSetSelectBlock(&c, {1, 1}, {2, 3});
    ASSERT_TRUE(SSSetMaxRows(&c, 2));
    SS_CELLCOORD ul, lr;
    SSGetSelectBlock(&c, ul, lr);
    EXPECT_EQ(lr, (CellPos{2, 2}));
}

TEST_F(Grid, clipboardCopiesTheBlockAndPastesAtTheActiveCell) {
    SSSetData(&c, 1, 1, "a");
    SSSetData(&c, 2, 1, "b");
    SSSetSelectBlock(&c, {1, 1}, {2, 1});
    ASSERT_TRUE(SSClipboardCopy(&c));
    SSSetActiveCell(&c, 2, 4);
    ASSERT_TRUE(SSClipboardPaste(&c));
    EXPECT_EQ(data(2, 4), "a");
    EXPECT_EQ(data(3, 4), "b");
    SSSetLock(&c, 1, 5, true);
    SSSetBool(&c, kOptProtect, true);
    SSSetActiveCell(&c, 1, 5);
    EXPECT_FALSE(SSClipboardPaste(&c)) << "no paste into a protected cell";
    EXPECT_EQ(data(1, 5), "");
}

TEST_F(Grid, loadKeepsTheGridsBehaviourAndClearsChangeMade) {
    auto path = tempFile("load.sss");
    SSSetData(&c, 2, 2, "kept");
    SSSetCellNote(&c, 2, 2, "note");
    CellType t;
    SSSetCellType(&c, 3, 3, *SSSetTypeCheckBox(&c, t, 0, "", "#8136", "#8134", true));
    SSSetBool(&c, kOptGridLines, false); // saved this way
    ASSERT_TRUE(SSSaveToFile(&c, path.string())) << c.lastError();

    SpreadControl other;
    SSSetBool(&other, kOptProtect, true);
    SSSetBool(&other, Sheet::kOptChangeMade, true);
    ASSERT_TRUE(SSLoadFromFile(&other, path.string())) << other.lastError();
    std::string s;
    SSGetData(&other, 2, 2, s);
    EXPECT_EQ(s, "kept");
    SSGetCellNote(&other, 2, 2, s);
    EXPECT_EQ(s, "note");
    ASSERT_TRUE(SSGetCellType(&other, 3, 3, t));
    EXPECT_EQ(t.kind, CellKind::CheckBox);
    EXPECT_EQ(t.picture2, "#8134");
    EXPECT_TRUE(SSGetBool(&other, kOptProtect)) << "the loading grid's behaviour stays";
    EXPECT_TRUE(SSGetBool(&other, kOptGridLines));
    EXPECT_FALSE(SSGetBool(&other, Sheet::kOptChangeMade));

    std::ofstream(path) << "{ not a table";
    EXPECT_FALSE(SSLoadFromFile(&other, path.string()));
    EXPECT_FALSE(other.lastError().empty());
    SSGetData(&other, 2, 2, s);
    EXPECT_EQ(s, "kept") << "a failed load leaves the grid as it was";
    std::filesystem::remove(path);
}

TEST_F(Grid, customFunctionsAreCalledDuringRecalculation) {
    int calls = 0;
    ASSERT_TRUE(SSAddCustomFunctionExt(
        &c, "twice", 1, 1, [&](Sheet&, CellPos, FnValue& out, std::span<FnValue> args) {
            ++calls;
            out.status = FnValue::Ok;
            out.kind = FnValue::Floating;
            out.floating = 2 * (args[0].kind == FnValue::Whole ? args[0].whole : args[0].floating);
            return true;
        }));
    ASSERT_TRUE(SSSetFormula(&c, 1, 1, "TWICE(21)"));
    EXPECT_EQ(data(1, 1), "42");
    EXPECT_GE(calls, 1);
    EXPECT_FALSE(SSAddCustomFunctionExt(&c, "", 0, 1,
                                        [](Sheet&, CellPos, FnValue&, std::span<FnValue>) { return true; }));
    EXPECT_FALSE(SSAddCustomFunctionExt(&c, "bad", 2, 1,
                                        [](Sheet&, CellPos, FnValue&, std::span<FnValue>) { return true; }));
}

TEST_F(Grid, textExtentsGrowWithTheLongestText) {
    double narrow = 0, wide = 0, tall = 0, low = 0;
    SSSetData(&c, 1, 2, "ab");
    ASSERT_TRUE(SSGetMaxTextColWidth(&c, 1, narrow));
    SSSetData(&c, 1, 4, "a considerably longer text");
    ASSERT_TRUE(SSGetMaxTextColWidth(&c, 1, wide));
    EXPECT_GT(wide, narrow);
    ASSERT_TRUE(SSGetMaxTextRowHeight(&c, 4, low));
    Font big;
    big.height = 24;
    SSSetFont(&c, 2, 4, big);
    SSSetData(&c, 2, 4, "Big");
    ASSERT_TRUE(SSGetMaxTextRowHeight(&c, 4, tall));
    EXPECT_GT(tall, low);
    EXPECT_FALSE(SSGetMaxTextColWidth(&c, 7, wide));
}

TEST_F(Grid, printWithoutAWindowFailsWithAReasonAndPagesAreCounted) {
    EXPECT_FALSE(SSPrint(&c, "job"));
    EXPECT_FALSE(c.lastError().empty());
    SSSetMaxRows(&c, 200);
    SSSetData(&c, 1, 200, "last");
    int pages = SSGetPrintPageCount(&c);
    EXPECT_GT(pages, 1);
    PrintOptions o;
    o.marginLeft = o.marginRight = 400; // nothing left of an A4 page
    EXPECT_FALSE(SSSetPrintOptions(&c, o));
    EXPECT_EQ(SSGetPrintPageCount(&c), pages) << "refused options change nothing";
}

TEST(PreviewControlState, pagesZoomAndAGridThatGoesAway) {
    auto grid = std::make_unique<SpreadControl>();
    SSSetMaxCols(grid.get(), 2);
    SSSetMaxRows(grid.get(), 300);
    SSSetData(grid.get(), 2, 300, "x");
    PreviewControl p;
    EXPECT_EQ(SpvGetPageCount(&p), 0);
    ASSERT_TRUE(SpvSethWndSpread(&p, grid.get()));
    int pages = SpvGetPageCount(&p);
    ASSERT_GT(pages, 1);
    EXPECT_TRUE(SpvSetPageCurrent(&p, pages));
    EXPECT_FALSE(SpvSetPageCurrent(&p, pages + 1));
    EXPECT_FALSE(SpvSetPageCurrent(&p, 0));
    EXPECT_EQ(SpvGetPageCurrent(&p), pages);
    EXPECT_FALSE(SpvSetPageViewPercentage(&p, 5));
    EXPECT_TRUE(SpvSetPageViewPercentage(&p, 150));
    EXPECT_EQ(SpvGetPageViewPercentage(&p), 150);
    grid.reset();
    EXPECT_EQ(p.grid(), nullptr) << "the preview lets go of a destroyed grid";
    EXPECT_EQ(SpvGetPageCount(&p), 0);
}

namespace {

/// A view without a window that measures wrapped texts by the control's estimate and counts them.
struct CountingView : SpreadView {
    mutable int measured = 0;
    void redraw() override {}
    void editorChanged() override {}
    void showCell(int, int) override {}
    SSRect clientRect() const override { return {0, 0, 600, 400}; }
    void textSize(const std::string&, const Font&, double& w, double& h) const override { w = h = 0; }
    double wrappedTextHeight(const std::string&, const Font&, int) const override {
        ++measured;
        return -1; // the control's own estimate
    }
    bool print(const std::string&, std::string&) override { return false; }
    void setClipboardText(const std::string&) override {}
    std::string clipboardText() const override { return {}; }
};

/// A grid whose first two columns hold multi-line text cells.
struct WrapGrid : testing::Test {
    SpreadControl c;
    CountingView view;
    void SetUp() override {
        c.setView(&view);
        ASSERT_TRUE(SSSetMaxCols(&c, 3));
        ASSERT_TRUE(SSSetMaxRows(&c, 10));
        CellType t;
        ASSERT_TRUE(SSSetTypeEdit(&c, t, 0, 9999, true));
        ASSERT_TRUE(SSSetCellTypeRange(&c, 1, 1, 2, 10, t));
    }
    int height(int row) {
        int px = -1;
        SSGetRowHeightInPixels(&c, row, px);
        return px;
    }
};

const std::string kLong = "Weerstandsmoment Wy van het gekozen profiel om de sterke as";

} // namespace

TEST_F(WrapGrid, defaultRowsFollowTheirWrappedTextBothWaysAndSetRowsStayAsSet) {
    const int base = height(1);
    SSSetData(&c, 1, 1, kLong);
    const int grown = height(1);
    EXPECT_GT(grown, base) << "a long text in a narrow multi-line cell grows its row";
    SSSetData(&c, 1, 2, "two\nlines");
    EXPECT_GT(height(2), base) << "a text of two lines grows its row in a wide column too";
    SSSetData(&c, 3, 3, "three\nlines\nhere");
    EXPECT_EQ(height(3), base) << "a cell that does not wrap leaves its row alone";

    ASSERT_TRUE(SSSetColWidthInPixels(&c, 1, 2000));
    EXPECT_EQ(height(1), base) << "a widened column takes the row back to the default height";
    EXPECT_GT(height(2), base) << "the explicit line break still needs two lines";
    ASSERT_TRUE(SSSetColWidthInPixels(&c, 1, 64));
    EXPECT_EQ(height(1), grown) << "narrowed again, the row grows again";
    SSSetData(&c, 1, 1, "kort");
    EXPECT_EQ(height(1), base) << "a shorter text shrinks the row, never below the default";
    SSSetData(&c, 2, 1, kLong);
    SSSetData(&c, 1, 1, kLong + " " + kLong);
    EXPECT_GT(height(1), grown) << "the tallest cell of the row counts";
    SSSetData(&c, 1, 1, "");
    EXPECT_EQ(height(1), grown) << "with the tallest cell cleared the next one decides";

    ASSERT_TRUE(SSSetRowHeightInPixels(&c, 4, 30));
    SSSetData(&c, 1, 4, kLong);
    EXPECT_EQ(height(4), 30) << "a row whose height was set keeps it";
    ASSERT_TRUE(SSSetRowHeightInPixels(&c, 5, 90));
    SSSetData(&c, 1, 5, "x");
    EXPECT_EQ(height(5), 90) << "a set height above what the text needs stays too";

    SSSetData(&c, 1, 6, kLong);
    const int six = height(6);
    ASSERT_TRUE(SSInsRow(&c, 6));
    EXPECT_EQ(height(6), base) << "an inserted row starts at the default height";
    EXPECT_EQ(height(7), six) << "a grown row moves with its cells";
    ASSERT_TRUE(SSDelRow(&c, 6));
    EXPECT_EQ(height(6), six);
}

TEST_F(WrapGrid, formulaTextsLoadsAndFilesFollowTheTextAndOnlyChangedRowsAreMeasured) {
    const int base = height(1);
    ASSERT_TRUE(SSSetFormula(&c, 1, 3, "IF(C3>0,\"" + kLong + "\",\"kort\")"));
    SSSetFloat(&c, 3, 3, 1);
    EXPECT_GT(height(3), base) << "a formula whose text result grows grows its row";
    SSSetFloat(&c, 3, 3, 0);
    EXPECT_EQ(height(3), base) << "and its shorter result shrinks it again";

    SSSetData(&c, 2, 7, kLong);
    const int grown = height(7);
    ASSERT_GT(grown, base);
    const auto path = tempFile("wrap.sss");
    ASSERT_TRUE(SSSaveToFile(&c, path.string()));
    SpreadControl other;
    ASSERT_TRUE(SSLoadFromFile(&other, path.string()));
    int px = 0;
    ASSERT_TRUE(SSGetRowHeightInPixels(&other, 7, px));
    EXPECT_EQ(px, grown) << "a loaded table's wrapped rows are measured on load";
    EXPECT_FALSE(other.sheet().rowHeightSet(7)) << "the file does not store the grown height as set";
    ASSERT_TRUE(SSSetColWidthInPixels(&other, 2, 3000));
    ASSERT_TRUE(SSGetRowHeightInPixels(&other, 7, px));
    EXPECT_EQ(px, base) << "so the loaded row still shrinks when its column widens";
    std::filesystem::remove(path);

    // A long table: one edit measures its own row, not the table.
    ASSERT_TRUE(SSSetMaxRows(&c, 100'000));
    CellType t;
    ASSERT_TRUE(SSSetCellTypeRange(&c, 1, 1, 1, 100'000, *SSSetTypeEdit(&c, t, 0, 9999, true)));
    for (int r = 1; r <= 100'000; r += 10)
        SSSetData(&c, 1, r, "a\nb");
    height(1);
    view.measured = 0;
    SSSetData(&c, 1, 50'001, kLong);
    EXPECT_GT(height(50'001), base);
    EXPECT_EQ(view.measured, 1) << "only the changed cell's row is measured";
}

TEST_F(WrapGrid, printedPagesCountTheGrownRows) {
    ASSERT_TRUE(SSSetMaxRows(&c, 60));
    for (int r = 1; r <= 60; ++r)
        SSSetData(&c, 1, r, "r" + std::to_string(r));
    const int flat = SSGetPrintPageCount(&c);
    for (int r = 1; r <= 60; ++r)
        SSSetData(&c, 1, r, kLong);
    EXPECT_GT(SSGetPrintPageCount(&c), flat) << "the paper lays out the rows as tall as the screen";
}
