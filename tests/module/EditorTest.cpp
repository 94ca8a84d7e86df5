// The editor keeps a table whole: saved and reopened, every cell property comes back; a failed load
// or save leaves the open table, its name and the caption as they were.

#include "calc/TableDocument.h"
#include "calc/ui/DlgFindReplace.h"
#include "calc/ui/DlgSpreadsheet.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>
#include <ui/Application.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class Editor : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        dir = fs::temp_directory_path() /
              ("vor-editor-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        ui::setAgent(nullptr);
        fs::remove_all(dir);
    }
    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
    fs::path dir;
};

TEST_F(Editor, aSavedTableReopensIdentical) {
    const std::string file = (dir / "ligger.sss").string();
    {
        DlgSpreadsheet ed;
        ASSERT_TRUE(ed.create());
        Vor_Spread& g = ed.grid();
        auto* h = g.handle();
        g.setText(1, 1, "Lengte");
        g.setText(2, 1, "6000");
        g.setTag(2, 1, "L");
        g.setFormula(3, 1, "B1/1000");
        sheet::SSSetCellNote(h, 2, 1, "in mm, hart op hart");
        sheet::Font f;
        f.face = "DejaVu Sans";
        f.height = 12;
        f.weight = 700;
        sheet::SSSetFont(h, 1, 1, f);
        sheet::SSSetColor(h, 2, 1, sheet::rgb(255, 255, 200), sheet::rgb(200, 0, 0));
        sheet::SSSetBorder(h, 2, 1, sheet::kBorderBottom, 2, sheet::rgb(0, 0, 255));
        sheet::CellType t;
        g.SetCellType(4, 2, *sheet::SSSetTypeNumber(h, t, 0, 3, 0, 100));
        g.setText(0, 2, "Rij twee");
        TableProperties p = TableProperties::newTable();
        p.varNames = Vor_StringArray{"Project"};
        p.varValues = Vor_StringArray{"Hal 3 – €"};
        writeTableProperties(g, p);
        g.AddCellSpan(1, 5, 2, 1);
        ed.fileName = file;
        ASSERT_TRUE(ed.save(false));
        EXPECT_FALSE(g.changed()) << "saving clears the change flag";
        ed.destroyWindow();
    }
    DlgSpreadsheet back;
    back.fileName = file;
    ASSERT_TRUE(back.create());
    Vor_Spread& g = back.grid();
    auto* h = g.handle();
    EXPECT_EQ(back.windowText(), dialString(9200).str() + " - " + file);
    Vor_String s;
    g.getText(3, 1, kTextFormula, s);
    EXPECT_EQ(s, Vor_String("B1/1000"));
    g.getText(3, 1, kTextData, s);
    EXPECT_EQ(s, Vor_String("6"));
    g.getText(2, 1, kTextTag, s);
    EXPECT_EQ(s, Vor_String("L"));
    std::string note;
    sheet::SSGetCellNote(h, 2, 1, note);
    EXPECT_EQ(note, "in mm, hart op hart");
    sheet::Font f;
    sheet::SSGetFont(h, 1, 1, f);
    EXPECT_EQ(f.face, "DejaVu Sans");
    EXPECT_EQ(f.weight, 700);
    std::uint32_t back_, text;
    sheet::SSGetColor(h, 2, 1, back_, text);
    EXPECT_EQ(back_, sheet::rgb(255, 255, 200));
    int sides, style;
    std::uint32_t color;
    ASSERT_TRUE(sheet::SSGetBorder(h, 2, 1, sides, style, color));
    EXPECT_EQ(sides & sheet::kBorderBottom, sheet::kBorderBottom);
    sheet::CellType t;
    g.GetCellType(4, 2, t);
    EXPECT_EQ(t.kind, sheet::CellKind::Number);
    EXPECT_EQ(t.decimals, 3);
    g.getText(0, 2, kTextData, s);
    EXPECT_EQ(s, Vor_String("Rij twee"));
    TableProperties p;
    ASSERT_TRUE(readTableProperties(g, p));
    EXPECT_EQ(p.varValues[0], Vor_String("Hal 3 – €"));
    EXPECT_EQ(p.marginLeft, 9);
    int ac, ar, nc, nr;
    EXPECT_EQ(sheet::SSGetCellSpan(h, 1, 5, ac, ar, nc, nr), sheet::kSpanAnchor);
    EXPECT_FALSE(g.changed()) << "opening is no change";
    back.destroyWindow();
}

TEST_F(Editor, aTableOfManyRowsOpensWithAVerticalScrollBar) {
    // 5,001 rows opened in the editor showed no vertical scroll bar.
    const std::string file = (dir / "lang.sss").string();
    {
        sheet::SpreadControl c;
        ASSERT_TRUE(sheet::SSSetMaxCols(&c, 3));
        ASSERT_TRUE(sheet::SSSetMaxRows(&c, 5001));
        sheet::SSSetData(&c, 1, 5001, "laatste");
        ASSERT_TRUE(sheet::SSSaveToFile(&c, file));
    }
    DlgSpreadsheet ed;
    ASSERT_TRUE(ed.create());
    agent.queueFile(file);
    ASSERT_TRUE(ed.open());
    ui::processEvents();
    auto* area = qobject_cast<QAbstractScrollArea*>(ed.item(DlgSpreadsheet::IDC_GRID)->embedded());
    ASSERT_NE(area, nullptr);
    QScrollBar* bar = area->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 4900) << "the bar reaches the last rows";
    EXPECT_TRUE(bar->isVisibleTo(area)) << "and is shown";
    ed.destroyWindow();
}

TEST_F(Editor, onlyRegularFilesOpenAsTables) {
    // A FIFO given to Open hung the editor for ever; a folder or a device is refused with a message
    // that says what it is, and the open table stays.
    const std::string fifo = (dir / "pijp.sss").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directories(dir / "map.sss");
    fs::create_symlink("/dev/zero", dir / "nul.sss");
    DlgSpreadsheet ed;
    ASSERT_TRUE(ed.create());
    ed.grid().setText(1, 1, "blijft");
    struct Case {
        std::string path;
        const char* says;
    } cases[] = {
        {fifo, "pipe"}, {(dir / "map.sss").string(), "folder"}, {(dir / "nul.sss").string(), "device"}};
    for (const Case& k : cases) {
        agent.queueFile(k.path);
        agent.queueAnswer(ui::IDOK);
        const std::size_t before = agent.messages().size();
        EXPECT_FALSE(ed.open()) << k.path;
        ASSERT_GT(agent.messages().size(), before) << k.path << ": the person is told";
        EXPECT_NE(agent.messages().back().text.find(k.says), std::string::npos)
            << agent.messages().back().text;
        Vor_String s;
        ed.grid().getText(1, 1, kTextData, s);
        EXPECT_EQ(s, Vor_String("blijft"));
    }
    ed.destroyWindow();
}

TEST_F(Editor, failedLoadOrSaveKeepsTableNameAndCaption) {
    const std::string good = (dir / "goed.sss").string();
    const std::string bad = (dir / "kapot.sss").string();
    std::ofstream(bad) << "{\"format\": \"something else\"";
    DlgSpreadsheet ed;
    ed.fileName = "";
    ASSERT_TRUE(ed.create());
    ed.grid().setText(1, 1, "blijft");
    ed.fileName = good;
    ASSERT_TRUE(ed.save(false));
    agent.queueFile(bad);
    agent.queueAnswer(ui::IDOK);
    EXPECT_FALSE(ed.open());
    EXPECT_EQ(ed.fileName, Vor_String(good));
    EXPECT_EQ(ed.windowText(), dialString(9200).str() + " - " + good);
    Vor_String s;
    ed.grid().getText(1, 1, kTextData, s);
    EXPECT_EQ(s, Vor_String("blijft"));
    EXPECT_FALSE(agent.messages().empty()) << "the person is told why";

    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    ed.grid().setText(1, 1, "nieuw");
    agent.queueAnswer(ui::IDOK);
    bool saved = ed.save(false);
    fs::permissions(dir, fs::perms::owner_all);
    if (!saved) { // as root the folder stays writable; elsewhere the save must fail cleanly
        EXPECT_TRUE(ed.grid().changed()) << "a failed save keeps the change flag";
        std::ifstream in(good);
        std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(content.find("blijft"), std::string::npos) << "the old file is whole";
    }
    ed.destroyWindow();
}

} // namespace

namespace {

// The edit bar under the grid: what is typed there reaches the cells as the person meant it, and
// the three fields always show the cells as they are now.
class EditBar : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(ed.create());
        ui::SimulatedUser::focus(*ed.item(DlgSpreadsheet::IDC_FORMULA));
    }
    void TearDown() override {
        ed.destroyWindow();
        ui::setAgent(nullptr);
    }
    Vor_Spread& grid() { return ed.grid(); }
    std::string field(int id) { return ed.item(id)->text(); }
    std::string cell(int col, int row, int kind = kTextData) {
        Vor_String s;
        grid().getText(col, row, kind, s);
        return s.str();
    }
    void select(int col, int row) { ASSERT_TRUE(grid().SetActiveCell(col, row)); }
    void type(int id, const std::string& text) {
        std::string error;
        ASSERT_TRUE(ui::SimulatedUser::type(*ed.item(id), text, error)) << error;
    }
    /// Enter in the value field: the person is done typing.
    void pressEnterInValue() {
        ui::KeyEvent enter;
        enter.vk = ui::VK_RETURN;
        enter.focusId = DlgSpreadsheet::IDC_VALUE;
        std::string error;
        ASSERT_TRUE(ui::SimulatedUser::key(ed, enter, error)) << error;
    }
    void makeNumberCells(int col, int row1, int row2) {
        sheet::CellType t;
        grid().SetTypeNumber(t, 0, 2, -1e9, 1e9);
        ASSERT_TRUE(grid().SetCellTypeRange(col, row1, col, row2, t));
    }
    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
    DlgSpreadsheet ed;
};

TEST_F(EditBar, numberCellsReadDecimalCommaAndPointAlike) {
    makeNumberCells(2, 1, 4);
    struct Case {
        const char* typed;
        const char* stored; ///< the value text the cell holds afterwards
        const char* why;
    } cases[] = {
        {"1,5", "1.5", "a Dutch decimal comma"},
        {"1.5", "1.5", "a decimal point"},
        {"1.234,5", "1234.5", "a point grouping thousands before a decimal comma"},
        {"1,234.5", "1234.5", "a comma grouping thousands before a decimal point"},
        {"-0,25", "-0.25", "a sign"},
    };
    int row = 1;
    for (const Case& c : cases) {
        select(2, row);
        type(DlgSpreadsheet::IDC_VALUE, c.typed);
        pressEnterInValue();
        EXPECT_EQ(cell(2, row, kTextValue), c.stored) << c.why << ": typed " << c.typed;
        row = row % 4 + 1;
    }
    EXPECT_TRUE(agent.messages().empty()) << "every one of them was a number";
}

TEST_F(EditBar, ambiguousOrNoNumberIsRefusedWithAMessageAndChangesNothing) {
    makeNumberCells(2, 1, 1);
    grid().setText(2, 1, "7");
    grid().setChanged(false);
    struct Case {
        const char* onTheWay; ///< typed first: reads as a number and reaches the cell
        const char* typed;
    } cases[] = {{"1,234", "1,234,5"}, {"1.2", "1.2.3,4"}, {"", "twelve"}};
    for (const auto& [onTheWay, typed] : cases) {
        select(2, 1);
        const size_t asked = agent.messages().size();
        agent.queueAnswer(ui::IDOK);
        type(DlgSpreadsheet::IDC_VALUE, onTheWay);
        type(DlgSpreadsheet::IDC_VALUE, typed);
        EXPECT_EQ(agent.messages().size(), asked) << "no message while typing: " << typed;
        pressEnterInValue();
        EXPECT_EQ(agent.messages().size(), asked + 1) << "one message when done: " << typed;
        EXPECT_EQ(cell(2, 1, kTextValue), "7") << typed << " was refused";
        ASSERT_FALSE(agent.messages().empty()) << typed;
        EXPECT_EQ(agent.messages().back().icon(), int(ui::MB_ICONEXCLAMATION)) << typed;
        EXPECT_NE(agent.messages().back().text.find(typed), std::string::npos)
            << "the message quotes the text";
        EXPECT_EQ(field(DlgSpreadsheet::IDC_VALUE), cell(2, 1)) << "the field shows the cell again";
    }
    EXPECT_FALSE(grid().changed()) << "a refused number is no change";
    EXPECT_FALSE(agent.failed()) << agent.failure();
}

TEST_F(EditBar, leavingTheFieldTakesTheTypedNumber) {
    makeNumberCells(2, 1, 1);
    select(2, 1);
    type(DlgSpreadsheet::IDC_VALUE, "2,75");
    ui::SimulatedUser::focus(*ed.item(DlgSpreadsheet::IDC_VARIABLE));
    EXPECT_EQ(cell(2, 1, kTextValue), "2.75");
    EXPECT_TRUE(grid().changed());
}

TEST_F(EditBar, fitColumnWidthMakesRoomForTheWidestText) {
    grid().setText(1, 1, "x");
    grid().setText(1, 2, "Afschuifsterkte per bout Fv,Rd [kN]");
    grid().SetColWidthInPixels(1, 20);
    grid().SetColWidthInPixels(2, 300);
    ASSERT_TRUE(grid().SetSelectBlock({1, 1}, {2, 2}));
    std::string error;
    ASSERT_TRUE(ui::SimulatedUser::menu(ed, DlgSpreadsheet::ID_FITWIDTH, error)) << error;
    int first = 0, second = 0;
    grid().GetColWidthInPixels(1, first);
    grid().GetColWidthInPixels(2, second);
    double w = 0, h = 0;
    grid().CellTextSize(1, 2, w, h);
    EXPECT_GE(first, int(w)) << "the long label fits";
    EXPECT_LT(second, 300) << "an empty column narrows to its header";
    EXPECT_TRUE(grid().changed());
}

TEST_F(EditBar, textCellsKeepWhatWasTyped) {
    select(1, 1);
    type(DlgSpreadsheet::IDC_VALUE, "1,5 m");
    EXPECT_EQ(cell(1, 1), "1,5 m") << "a text cell takes the text as it is, at once";
}

TEST_F(EditBar, formulaFieldEmptiesWhenAValueIsTypedOverAFormula) {
    grid().setText(5, 1, "2.5");
    grid().setFormula(2, 1, "E1*10");
    select(2, 1);
    EXPECT_EQ(field(DlgSpreadsheet::IDC_FORMULA), "E1*10");
    type(DlgSpreadsheet::IDC_VALUE, "25");
    EXPECT_EQ(cell(2, 1, kTextFormula), "") << "the typed value replaced the formula";
    EXPECT_EQ(field(DlgSpreadsheet::IDC_FORMULA), "") << "the formula field follows the cell";
    type(DlgSpreadsheet::IDC_VARIABLE, "L");
    EXPECT_EQ(cell(2, 1, kTextFormula), "") << "typing elsewhere brings no old formula back";
    EXPECT_EQ(cell(2, 1), "25");
}

TEST_F(EditBar, valueFieldFollowsAFormulaTypedInTheFormulaField) {
    grid().setText(5, 1, "2.5");
    select(2, 1);
    type(DlgSpreadsheet::IDC_FORMULA, "E1*10");
    EXPECT_EQ(field(DlgSpreadsheet::IDC_VALUE), "25") << "the value field shows the new result";
    type(DlgSpreadsheet::IDC_FORMULA, "E1*");
    EXPECT_EQ(field(DlgSpreadsheet::IDC_FORMULA), "E1*") << "half a formula stays as typed in its field";
    EXPECT_EQ(cell(2, 1, kTextFormula), "E1*10") << "and does not reach the cell";
}

TEST_F(EditBar, replaceRefreshesTheEditBar) {
    grid().setText(5, 1, "2.5");
    grid().setFormula(2, 1, "E1*10");
    select(2, 1);
    ASSERT_EQ(field(DlgSpreadsheet::IDC_FORMULA), "E1*10");
    grid().showFind(true);
    auto* f = dynamic_cast<DlgFindReplace*>(grid().findWindow());
    ASSERT_NE(f, nullptr);
    f->item(DlgFindReplace::IDC_FIND)->setText("*10");
    f->item(DlgFindReplace::IDC_REPLACEWITH)->setText("*100");
    agent.queueAnswer(ui::IDOK);
    EXPECT_EQ(f->replaceAll(), 1);
    EXPECT_EQ(field(DlgSpreadsheet::IDC_FORMULA), "E1*100");
    EXPECT_EQ(field(DlgSpreadsheet::IDC_VALUE), "250");
    EXPECT_FALSE(agent.failed()) << agent.failure();
}

} // namespace
