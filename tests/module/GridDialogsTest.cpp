// The string-array grid dialog, the search order of find and replace, and the find window.

#include "calc/SpreadSearch.h"
#include "calc/TableSize.h"
#include "calc/Vor_Spread.h"
#include "calc/ui/DlgFindReplace.h"
#include "calc/ui/DlgSpreadOptions.h"
#include "calc/ui/DlgSpreadsheet.h"
#include "calc/ui/DlgStringGrid.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

class GridDialogs : public testing::Test {
protected:
    void SetUp() override { ui::setAgent(&agent); }
    void TearDown() override { ui::setAgent(nullptr); }
    ui::ScriptedAgent agent;
};

TEST_F(GridDialogs, onlyRowsThatFitTheColumnsAreShownAndReturned) {
    Vor_Array<Vor_StringArray> rows;
    rows.append(Vor_StringArray{"a1", "b1"});
    rows.append(Vor_StringArray{"x", "y", "z"});
    rows.append(Vor_StringArray{"a2", "b2"});
    const std::string dd = std::to_string(DlgStringGrid::IDD), grid = std::to_string(DlgStringGrid::IDC_GRID);
    agent.setScript("expect-dialog " + dd + "\n" +                //
                        "expect-caption \"Lijst\"\n" +            //
                        "expect-cell " + grid + " 1 2 \"a2\"\n" + // the third row had one text too many
                        "expect-cell " + grid + " 1 3 \"\"\n" +   //
                        "cell " + grid + " 2 1 \"changed\"\n" + "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(startGridDialog(Vor_StringArray{"A", "B"}, Vor_StringArray{}, rows, false, "Lijst", ""));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    ASSERT_EQ(rows.length(), 2) << "the caller gets back the rows of the grid";
    EXPECT_EQ(rows[0], (Vor_StringArray{"a1", "changed"}));
    EXPECT_EQ(rows[1], (Vor_StringArray{"a2", "b2"}));
}

TEST_F(GridDialogs, cancelKeepsEveryRowAndNoColumnsMeansNoDialog) {
    Vor_Array<Vor_StringArray> rows;
    rows.append(Vor_StringArray{"x", "y", "z"});
    rows.append(Vor_StringArray{"a", "b"});
    EXPECT_FALSE(startGridDialog(Vor_StringArray{}, Vor_StringArray{}, rows, true, "", "")) << "no columns";
    agent.setScript("expect-dialog 208\nexpect-state 1088 hidden\nclick 2\n", "t.vsc");
    EXPECT_FALSE(startGridDialog(Vor_StringArray{"A", "B"}, Vor_StringArray{}, rows, false, "", ""));
    EXPECT_EQ(rows.length(), 2) << "also the row that was left out stays";
    EXPECT_FALSE(agent.failed()) << agent.failure();
}

TEST_F(GridDialogs, addAndRemoveRows) {
    Vor_Array<Vor_StringArray> rows;
    agent.setScript("expect-dialog 208\n"
                    "click 1089\n" // remove on an empty grid does nothing
                    "click 1088\n"
                    "cell 1196 1 1 \"new\"\n"
                    "click 1088\n"
                    "click 1089\n"
                    "click 1\n",
                    "t.vsc");
    ASSERT_TRUE(startGridDialog(Vor_StringArray{"Naam"}, Vor_StringArray{}, rows, true, "", "DLG_TEST_GRID"));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    ASSERT_EQ(rows.length(), 1);
    EXPECT_EQ(rows[0][0], Vor_String("new"));
}

TEST(SpreadSearch, readingOrderWithoutWrapping) {
    std::map<std::pair<int, int>, std::string> cells = {{{2, 1}, "xaby"}, {{1, 2}, "ab"}, {{3, 3}, "ä AB"}};
    SpreadSearch s([&](int c, int r) { return Vor_String(cells.count({c, r}) ? cells[{c, r}] : ""); }, 3, 3);
    EXPECT_EQ(s.findFrom(1, 1, "ab"), (SpreadMatch{2, 1, 1}));
    EXPECT_EQ(s.findFrom(3, 1, "ab"), (SpreadMatch{1, 2, 0})) << "the next row from its first column";
    EXPECT_EQ(s.findFrom(2, 2, "ab"), (SpreadMatch{3, 3, 2})) << "case ignored, positions in characters";
    EXPECT_FALSE(s.findFrom(1, 4, "ab"));
    EXPECT_FALSE(s.findFrom(1, 1, ""));
    EXPECT_FALSE(s.findInCell(2, 1, "ab", 2)) << "nothing behind the first match";
    std::map<std::pair<int, int>, std::string> written;
    int n = s.replaceAll("A", "b", [&](int c, int r, const Vor_String& t) {
        written[{c, r}] = t.str();
        return true;
    });
    EXPECT_EQ(n, 3);
    EXPECT_EQ(written[std::make_pair(3, 3)], "ä bB");
}

TEST(SpreadSearch, replaceCountsEachCellOnce) {
    std::map<std::pair<int, int>, std::string> cells = {{{1, 1}, "aa"}, {{2, 2}, "a"}, {{3, 1}, "x"}};
    SpreadSearch s([&](int c, int r) { return Vor_String(cells[{c, r}]); }, 3, 2);
    int n = s.replaceAll("a", "b", [&](int c, int r, const Vor_String& t) {
        cells[{c, r}] = t.str();
        return true;
    });
    EXPECT_EQ(n, 2);
    EXPECT_EQ(cells[std::make_pair(1, 1)], "bb");
    EXPECT_EQ(cells[std::make_pair(2, 2)], "b");
    EXPECT_EQ(cells[std::make_pair(3, 1)], "x");
}

TEST_F(GridDialogs, findNextShowsMatchesThenAsksToStartAgain) {
    ModuleResourceScope scope;
    ui::Dialog dlg{DlgSpreadsheet::IDD};
    ASSERT_TRUE(dlg.create());
    Vor_Spread grid;
    ASSERT_TRUE(grid.attach(&dlg, DlgSpreadsheet::IDC_GRID));
    grid.setMaxCols(3);
    grid.setMaxRows(3);
    grid.setText(2, 1, "xaby");
    grid.setText(1, 2, "ab");
    grid.SetActiveCell(1, 1);
    grid.showFind(false);
    auto* f = dynamic_cast<DlgFindReplace*>(grid.findWindow());
    ASSERT_NE(f, nullptr);
    f->item(DlgFindReplace::IDC_FIND)->setText("ab");
    ASSERT_TRUE(f->findNext());
    int col, row, start, end;
    grid.GetActiveCell(col, row);
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(2, 1));
    ASSERT_TRUE(grid.GetSel(start, end));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(1, 3)) << "the second and third characters";
    ASSERT_TRUE(f->findNext());
    grid.GetActiveCell(col, row);
    EXPECT_EQ(std::make_pair(col, row), std::make_pair(1, 2));
    agent.queueAnswer(ui::IDNO);
    EXPECT_FALSE(f->findNext());
    ASSERT_FALSE(agent.messages().empty());
    EXPECT_EQ(agent.messages().back().caption, dialString(1144).str());

    f->item(DlgFindReplace::IDC_FIND)->setText("a");
    f->item(DlgFindReplace::IDC_REPLACEWITH)->setText("b");
    agent.queueAnswer(ui::IDOK);
    EXPECT_EQ(f->replaceAll(), 2);
    EXPECT_NE(agent.messages().back().text.find(" 2 "), std::string::npos) << agent.messages().back().text;
    Vor_String t;
    grid.getText(2, 1, kTextData, t);
    EXPECT_EQ(t, Vor_String("xbby"));
    EXPECT_TRUE(grid.changed());
    EXPECT_FALSE(agent.failed()) << agent.failure();
    dlg.destroyWindow();
}

} // namespace

namespace {

// ---- table options: the size of a table changes only when the person clearly asked for it

TEST(TableSize, onlyWholeNumbersInRangeAreCounts) {
    struct Case {
        const char* text;
        int least;
        std::optional<int> value;
        const char* why;
    } cases[] = {
        {"12", 1, 12, "plain"},
        {" 7 ", 1, 7, "blanks around"},
        {"+3", 1, 3, "a plus sign"},
        {"", 1, std::nullopt, "a cleared field is no count (it used to give 0)"},
        {"   ", 1, std::nullopt, "only blanks"},
        {"abc", 1, std::nullopt, "text (it used to give 0)"},
        {"12abc", 1, std::nullopt, "a number with text behind it"},
        {"2.5", 1, std::nullopt, "a fraction"},
        {"0", 1, std::nullopt, "below the least"},
        {"0", 0, 0, "zero where zero is allowed"},
        {"-3", 0, std::nullopt, "negative"},
        {"10001", 1, std::nullopt, "above the limit"},
        {"99999999999999", 1, std::nullopt, "far too many digits"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readWholeNumber(c.text, c.least, DlgSpreadOptions::kLimit), c.value) << c.why;
}

TEST(TableSize, filledCellsOutsideASmallerTableAreFound) {
    sheet::SpreadControl control;
    TSpread g(&control);
    g.SetMaxCols(4);
    g.SetMaxRows(5);
    EXPECT_FALSE(firstFilledCellOutside(g, 2, 2)) << "an empty table loses nothing";
    g.SetData(3, 1, "x");
    EXPECT_EQ(firstFilledCellOutside(g, 2, 5), (sheet::CellPos{3, 1})) << "a column dropped";
    EXPECT_FALSE(firstFilledCellOutside(g, 3, 1)) << "the cell stays inside";
    g.SetData(3, 1, "");
    g.SetFormula(1, 5, "1+1");
    EXPECT_EQ(firstFilledCellOutside(g, 4, 4), (sheet::CellPos{1, 5})) << "a formula counts";
    EXPECT_FALSE(firstFilledCellOutside(g, 4, 5)) << "same size";
    EXPECT_FALSE(firstFilledCellOutside(g, 9, 9)) << "growing";
}

class TableOptions : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(dlg.create());
        ASSERT_TRUE(table.attach(&dlg, DlgSpreadsheet::IDC_GRID));
        table.setMaxCols(3);
        table.setMaxRows(4);
        table.setText(1, 0, "Profiel");
        table.setText(2, 0, "Lengte");
        table.setText(3, 3, "HEA 200");
        table.setChanged(false);
    }
    void TearDown() override {
        dlg.destroyWindow();
        ui::setAgent(nullptr);
    }
    bool run(const std::string& script) {
        agent.setScript(script, "options.vsc");
        bool applied = editTableOptions(table, &dlg);
        EXPECT_FALSE(agent.failed()) << agent.failure();
        return applied;
    }
    std::string cell(int col, int row) {
        Vor_String s;
        table.getText(col, row, kTextData, s);
        return s.str();
    }
    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
    ui::Dialog dlg{DlgSpreadsheet::IDD};
    Vor_Spread table;
};

TEST_F(TableOptions, aCountThatIsNoWholeNumberIsRefusedAndTheDialogStaysOpen) {
    const std::string dd = std::to_string(DlgSpreadOptions::IDD);
    struct Case {
        int field;
        const char* typed;
        const char* why;
    } cases[] = {
        {DlgSpreadOptions::IDC_COLS, "", "columns cleared"},
        {DlgSpreadOptions::IDC_ROWS, "", "rows cleared"},
        {DlgSpreadOptions::IDC_COLS, "00", "no columns at all"},
        {DlgSpreadOptions::IDC_ROWS, "0", "no rows at all"},
        {DlgSpreadOptions::IDC_ROWS, "99999", "more rows than a table may have"},
        {DlgSpreadOptions::IDC_HEADERWIDTH, "", "a header size cleared"},
    };
    for (const Case& c : cases) {
        const std::string id = std::to_string(c.field);
        agent.setScript("expect-dialog " + dd + "\n" + "type " + id + " \"" + c.typed + "\"\n" +
                            "answer ok\nclick 1\n" + // refused: the dialog is still there
                            "expect-dialog " + dd + "\nexpect-state " + id + " focus\nclick 2\n",
                        "options.vsc");
        EXPECT_FALSE(editTableOptions(table, &dlg)) << c.why;
        EXPECT_FALSE(agent.failed()) << c.why << ": " << agent.failure();
        ASSERT_FALSE(agent.messages().empty()) << c.why;
        EXPECT_EQ(agent.messages().back().icon(), int(ui::MB_ICONEXCLAMATION)) << c.why;
        EXPECT_EQ(table.maxCols(), 3) << c.why;
        EXPECT_EQ(table.maxRows(), 4) << c.why;
        EXPECT_EQ(cell(3, 3), "HEA 200") << c.why;
        EXPECT_FALSE(table.changed()) << c.why;
    }
}

TEST_F(TableOptions, aLongColumnNameWidensItsColumnAndAShortOneKeepsTheWidth) {
    table.setText(1, 0, "Omschrijving van het onderdeel");
    std::vector<std::pair<double, int>> seen; // (text width, column width) of columns 1 and 2
    agent.setHostHandler([&](const std::vector<std::string>& w, std::string&) {
        if (w.empty() || w[0] != "probe") return ui::ScriptedAgent::HostResult::NotMine;
        auto* d = dynamic_cast<DlgSpreadOptions*>(agent.target());
        for (int c = 1; c <= 2; ++c) {
            double tw = 0, th = 0;
            int cw = 0;
            d->columnNames().CellTextSize(c, 1, tw, th);
            d->columnNames().GetColWidthInPixels(c, cw);
            seen.push_back({tw, cw});
        }
        return ui::ScriptedAgent::HostResult::Done;
    });
    run("expect-dialog " + std::to_string(DlgSpreadOptions::IDD) + "\nprobe\nclick 2\n");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_GE(seen[0].second, int(seen[0].first)) << "the whole name shows";
    EXPECT_GT(seen[0].second, seen[1].second) << "only the long name widens its column";
    EXPECT_GT(seen[1].second, int(seen[1].first)) << "a short name keeps the column's own width";
}

TEST_F(TableOptions, shrinkingOverDataAsksFirst) {
    const std::string dd = std::to_string(DlgSpreadOptions::IDD);
    const std::string rows = std::to_string(DlgSpreadOptions::IDC_ROWS);
    EXPECT_FALSE(run("expect-dialog " + dd + "\ntype " + rows +
                     " \"2\"\nanswer no\nclick 1\n"
                     "expect-dialog " +
                     dd + "\nclick 2\n"));
    ASSERT_EQ(agent.messages().size(), 1u);
    EXPECT_EQ(agent.messages()[0].buttons(), int(ui::MB_YESNO));
    EXPECT_EQ(table.maxRows(), 4) << "No keeps the table";
    EXPECT_EQ(cell(3, 3), "HEA 200");

    EXPECT_TRUE(run("expect-dialog " + dd + "\ntype " + rows + " \"2\"\nanswer yes\nclick 1\n"));
    EXPECT_EQ(table.maxRows(), 2) << "Yes makes it smaller";
    EXPECT_TRUE(table.changed());
}

TEST_F(TableOptions, shrinkingOverEmptyCellsAndGrowingAskNothing) {
    const std::string dd = std::to_string(DlgSpreadOptions::IDD);
    EXPECT_TRUE(run("expect-dialog " + dd + "\ntype " + std::to_string(DlgSpreadOptions::IDC_ROWS) +
                    " \"3\"\ntype " + std::to_string(DlgSpreadOptions::IDC_COLS) + " \"5\"\nclick 1\n"));
    EXPECT_TRUE(agent.messages().empty());
    EXPECT_EQ(table.maxRows(), 3);
    EXPECT_EQ(table.maxCols(), 5);
}

TEST_F(TableOptions, retypingACountKeepsTheColumnNames) {
    // Clearing the field on the way to a new count used to empty the name grid, and OK then wrote
    // the empty names over the headers.
    const std::string dd = std::to_string(DlgSpreadOptions::IDD);
    const std::string cols = std::to_string(DlgSpreadOptions::IDC_COLS);
    EXPECT_TRUE(run("expect-dialog " + dd + "\ntype " + cols + " \"\"\ntype " + cols + " \"1\"\ntype " +
                    cols + " \"4\"\nclick 1\n"));
    EXPECT_EQ(table.maxCols(), 4);
    EXPECT_EQ(cell(1, 0), "Profiel");
    EXPECT_EQ(cell(2, 0), "Lengte");
}

// ---- replace in formula cells

TEST_F(GridDialogs, replaceWorksOnFormulaTextAndKeepsFormulas) {
    ModuleResourceScope scope;
    ui::Dialog dlg{DlgSpreadsheet::IDD};
    ASSERT_TRUE(dlg.create());
    Vor_Spread grid;
    ASSERT_TRUE(grid.attach(&dlg, DlgSpreadsheet::IDC_GRID));
    grid.setMaxCols(5);
    grid.setMaxRows(2);
    grid.SetBool(sheet::Sheet::kOptAutoRecalc, true);
    grid.setText(5, 1, "2.5");
    grid.setFormula(1, 1, "E1*10");      // shows 25
    grid.setFormula(2, 1, "E1*10+1");    // a second formula holding the text
    grid.setFormula(3, 1, "SUM(E1,10)"); // a formula without it
    grid.setText(4, 1, "10 mm");         // a constant without it
    grid.showFind(true);
    auto* f = dynamic_cast<DlgFindReplace*>(grid.findWindow());
    ASSERT_NE(f, nullptr);
    f->item(DlgFindReplace::IDC_FIND)->setText("*10");
    f->item(DlgFindReplace::IDC_REPLACEWITH)->setText("*100");
    agent.queueAnswer(ui::IDOK);
    EXPECT_EQ(f->replaceAll(), 2);
    Vor_String s;
    grid.getText(1, 1, kTextFormula, s);
    EXPECT_EQ(s.str(), "E1*100") << "the formula text was replaced";
    grid.getText(1, 1, kTextData, s);
    EXPECT_EQ(s.str(), "250") << "and still computes";

    f->item(DlgFindReplace::IDC_FIND)->setText("E1");
    f->item(DlgFindReplace::IDC_REPLACEWITH)->setText("(");
    agent.queueAnswer(ui::IDOK);
    EXPECT_EQ(f->replaceAll(), 0) << "formulas that no longer read are not counted";
    grid.getText(1, 1, kTextFormula, s);
    EXPECT_EQ(s.str(), "E1*100") << "and stay as they were";
    EXPECT_NE(agent.messages().back().text.find(" 0 "), std::string::npos);

    f->item(DlgFindReplace::IDC_FIND)->setText("250");
    f->item(DlgFindReplace::IDC_REPLACEWITH)->setText("7");
    agent.queueAnswer(ui::IDOK);
    EXPECT_EQ(f->replaceAll(), 0) << "a formula's result is not its text: nothing becomes a constant";
    grid.getText(1, 1, kTextFormula, s);
    EXPECT_EQ(s.str(), "E1*100");

    f->item(DlgFindReplace::IDC_FIND)->setText("=");
    f->item(DlgFindReplace::IDC_REPLACEWITH)->setText("");
    agent.queueAnswer(ui::IDOK);
    EXPECT_EQ(f->replaceAll(), 0) << "removing the '=' would make constants of formulas";
    grid.getText(1, 1, kTextFormula, s);
    EXPECT_EQ(s.str(), "E1*100");
    EXPECT_FALSE(agent.failed()) << agent.failure();
    dlg.destroyWindow();
}

TEST_F(GridDialogs, findShowsTheMatchInsideTheFormulaAsTheEditorShowsIt) {
    ModuleResourceScope scope;
    ui::Dialog dlg{DlgSpreadsheet::IDD};
    ASSERT_TRUE(dlg.create());
    Vor_Spread grid;
    ASSERT_TRUE(grid.attach(&dlg, DlgSpreadsheet::IDC_GRID));
    grid.setMaxCols(2);
    grid.setMaxRows(2);
    grid.setFormula(2, 1, "SUM(A1:A2)");
    grid.SetActiveCell(1, 1);
    grid.showFind(false);
    auto* f = dynamic_cast<DlgFindReplace*>(grid.findWindow());
    ASSERT_NE(f, nullptr);
    f->item(DlgFindReplace::IDC_FIND)->setText("a1");
    ASSERT_TRUE(f->findNext());
    int start = 0, end = 0;
    ASSERT_TRUE(grid.GetSel(start, end));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(5, 7)) << "=SUM(A1:A2): after '=SUM('";
    dlg.destroyWindow();
}

} // namespace
