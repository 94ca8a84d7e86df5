// The string-array grid dialog, the search order of find and replace, and the find window.

#include "calc/SpreadSearch.h"
#include "calc/Vor_Spread.h"
#include "calc/ui/DlgFindReplace.h"
#include "calc/ui/DlgStringGrid.h"
#include "frame/ModuleResourceScope.h"

#include <host/Texts.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <map>

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
    agent.setScript("expect-dialog 208\n"
                    "expect-caption \"Lijst\"\n"
                    "expect-cell 1196 1 2 \"a2\"\n"
                    "expect-cell 1196 1 3 \"\"\n"
                    "cell 1196 2 1 \"changed\"\n"
                    "click 1\n",
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
                    "click 1089\n"      // remove on an empty grid does nothing
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
    ui::Dialog dlg{140};
    ASSERT_TRUE(dlg.create());
    Vor_Spread grid;
    ASSERT_TRUE(grid.attach(&dlg, 1001));
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
