// The module's grid: every operation before attach fails, columns and rows in and out, inserting
// with and without the header question, moving rows, check boxes and the context menu.

#include "calc/Vor_Spread.h"
#include "calc/ui/DlgSpreadsheet.h"
#include "frame/ModuleEntry.h"
#include "frame/ModuleResourceScope.h"

#include <cad/aced.h>
#include <host/Texts.h>
#include <ui/Application.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {

TEST(VorSpreadDetached, everyOperationFailsAndChangesNothing) {
    Vor_Spread g;
    Vor_String s = "kept";
    Vor_StringArray list{"a"};
    double d = 7;
    EXPECT_FALSE(g.attached());
    EXPECT_EQ(g.maxCols(), -1);
    EXPECT_EQ(g.maxRows(), -1);
    EXPECT_FALSE(g.setMaxCols(3));
    EXPECT_FALSE(g.growRows(2, true));
    EXPECT_FALSE(g.getText(1, 1, kTextData, s));
    EXPECT_EQ(s, Vor_String("kept"));
    EXPECT_FALSE(g.setText(1, 1, "x"));
    EXPECT_FALSE(g.getDouble(1, 1, d));
    EXPECT_FALSE(g.getColumn(1, list));
    EXPECT_EQ(list.length(), 1);
    EXPECT_FALSE(g.insertRow(1, false, false));
    EXPECT_FALSE(g.moveCurrentRowUp());
    EXPECT_FALSE(g.setAllChecks(true));
    EXPECT_FALSE(g.fitAll());
    EXPECT_FALSE(g.changed());
    EXPECT_FALSE(g.runMenuCode(kMenuCopy));
    EXPECT_FALSE(Vor_Spread::isSpreadWindow(nullptr));
}

class VorSpread : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        ASSERT_TRUE(dlg.create());
        ASSERT_TRUE(grid.attach(&dlg, DlgSpreadsheet::IDC_GRID));
        EXPECT_EQ(grid.maxCols(), 0) << "attach starts empty";
        grid.setMaxCols(3);
        grid.setMaxRows(4);
    }
    void TearDown() override {
        dlg.destroyWindow();
        ui::setAgent(nullptr);
    }
    Vor_StringArray column(int col, int kind = kTextData) {
        Vor_StringArray out;
        grid.getColumn(col, out, kind);
        return out;
    }
    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
    ui::Dialog dlg{DlgSpreadsheet::IDD};
    Vor_Spread grid;
};

TEST_F(VorSpread, columnsAndRowsGoInAndComeOut) {
    EXPECT_TRUE(Vor_Spread::isSpreadWindow(grid.window()));
    EXPECT_TRUE(grid.setColumn(1, Vor_StringArray{"a", "b", "c", "d", "e", "f"}));
    EXPECT_EQ(column(1).length(), 4) << "only as many texts as there are rows";
    EXPECT_EQ(column(1)[3], Vor_String("d"));
    Vor_StringArray kept{"x"};
    EXPECT_FALSE(grid.getColumn(9, kept)) << "beyond the columns";
    EXPECT_EQ(kept.length(), 1);
    grid.setColumnDoubles(2, {1.005, -2.5, 3});
    Vor_String s;
    grid.getText(2, 2, kTextData, s);
    EXPECT_EQ(s, Vor_String("-2.50"));
    grid.setFormula(3, 1, "B2*2");
    double v = 0;
    ASSERT_TRUE(grid.getDouble(3, 1, v));
    EXPECT_DOUBLE_EQ(v, -5.0);
    ASSERT_TRUE(grid.getText(3, 1, kTextFormula, s));
    EXPECT_EQ(s, Vor_String("B2*2"));
    grid.setTag(1, 2, "span");
    grid.getText(1, 2, kTextTag, s);
    EXPECT_EQ(s, Vor_String("span"));
    Vor_Array<Vor_StringArray> rows;
    ASSERT_TRUE(grid.getAllRows(rows));
    ASSERT_EQ(rows.length(), 4);
    EXPECT_EQ(rows[1][0], Vor_String("b"));
    EXPECT_EQ(rows[0][2], Vor_String("-5")) << "getRow reads the stored value";
    grid.setRow(4, Vor_StringArray{"p", "q"});
    EXPECT_EQ(column(2)[3], Vor_String("q"));
    grid.setColumnBools(3, {true, false});
    EXPECT_EQ(column(3)[1], Vor_String("0"));
}

TEST_F(VorSpread, insertingRowsAndColumns) {
    grid.setColumn(1, Vor_StringArray{"r1", "r2", "r3", "r4"});
    acutClearPrintedText();
    EXPECT_FALSE(grid.insertRow(6, false, false)) << "at most one past the last row";
    EXPECT_EQ(acutPrintedText(), "*Error* Invalid index passed to insert.\n");
    ASSERT_TRUE(grid.insertRow(2, false, true));
    EXPECT_EQ(grid.maxRows(), 5);
    EXPECT_EQ(column(1), (Vor_StringArray{"r1", "r2", "r2", "r3", "r4"})) << "the neighbour is copied in";
    ASSERT_TRUE(grid.insertRow(6, false, false));
    EXPECT_EQ(grid.maxRows(), 6);

    agent.setScript("expect-dialog 8069\n"
                    "type 8003 \"Extra\"\n"
                    "click 1\n"
                    "expect-dialog 8069\n"
                    "click 2\n",
                    "t.vsc");
    ASSERT_TRUE(grid.insertColumn(1, true, false));
    Vor_String header;
    grid.getText(1, 0, kTextData, header);
    EXPECT_EQ(header, Vor_String("Extra"));
    ASSERT_TRUE(grid.insertRow(1, true, false));
    grid.getText(0, 1, kTextData, header);
    EXPECT_EQ(header, dialString(171)) << "cancelled: the initial text";
    EXPECT_FALSE(agent.failed()) << agent.failure();
}

TEST_F(VorSpread, movingTheCurrentRowStaysInsideTheGrid) {
    grid.setColumn(1, Vor_StringArray{"a", "b", "c", "d"});
    grid.SetActiveCell(2, 1);
    EXPECT_FALSE(grid.moveCurrentRowUp()) << "the first row cannot go up";
    ASSERT_TRUE(grid.moveCurrentRowDown());
    EXPECT_EQ(column(1), (Vor_StringArray{"b", "a", "c", "d"}));
    int col, row;
    grid.GetActiveCell(col, row);
    EXPECT_EQ(row, 2) << "the moved row stays current";
    grid.SetActiveCell(1, 4);
    EXPECT_FALSE(grid.moveCurrentRowDown());
}

TEST_F(VorSpread, checkBoxesAndTheContextMenu) {
    grid.setColumnCheckBoxes(2, true, false);
    sheet::CellType t;
    ASSERT_TRUE(grid.GetCellType(2, 3, t));
    EXPECT_EQ(t.kind, sheet::CellKind::CheckBox);
    EXPECT_EQ(t.picture, "#8136");
    EXPECT_EQ(t.picture2, "#8134");
    grid.setCheck(2, 1, true);
    grid.SetSelectBlock({1, 2}, {3, 3});
    ASSERT_TRUE(grid.setAllChecks(true));
    EXPECT_EQ(column(2), (Vor_StringArray{"1", "1", "1", ""})) << "only the selected block";
    EXPECT_EQ(column(1), (Vor_StringArray{"", "", "", ""})) << "and only check-box cells";

    grid.setContextMenu({2, 3, 1, 4, 5, 1, 6, 7, 1, 8, 9});
    grid.SetActiveCell(1, 2);
    agent.queueMenu(kMenuDeleteRow);
    grid.handle()->rightClick(1, 2, 10, 10);
    EXPECT_EQ(grid.maxRows(), 3) << "delete row shrinks the grid";
    agent.queueMenu(kMenuUncheckAll);
    grid.SetSelectBlock({1, 1}, {3, 3});
    grid.handle()->rightClick(1, 2, 10, 10);
    EXPECT_EQ(column(2)[0], Vor_String("0"));
    EXPECT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(agent.pendingAnswers(), 0u);
}

TEST_F(VorSpread, headersAndFitting) {
    grid.setText(1, 0, "A rather long column header");
    grid.setText(1, 1, "x");
    ASSERT_TRUE(grid.fitColumn(1));
    int narrow = 0, wide = 0;
    grid.GetColWidthInPixels(1, wide);
    grid.setText(1, 0, "x");
    grid.fitColumn(1);
    grid.GetColWidthInPixels(1, narrow);
    EXPECT_GT(wide, narrow) << "the header text counts";
    ASSERT_TRUE(grid.styleHeader({1, 0, 3, 0}, true));
    sheet::Font f;
    grid.GetFont(2, 0, f);
    EXPECT_EQ(f.weight, 700);
    EXPECT_EQ(f.face, "Tahoma");
    grid.setChanged(true);
    EXPECT_TRUE(grid.changed());
    grid.setChanged(false);
    EXPECT_FALSE(grid.changed());
}

} // namespace

namespace {

/// Switches the process to a decimal-comma locale for one test, as a Dutch desktop does.
class DutchLocale {
public:
    DutchLocale()
        : m_old(std::setlocale(LC_ALL, nullptr)) {
        m_ok = std::setlocale(LC_ALL, "nl_NL.UTF-8") != nullptr;
    }
    ~DutchLocale() { std::setlocale(LC_ALL, m_old.c_str()); }
    bool ok() const { return m_ok; }

private:
    std::string m_old;
    bool m_ok = false;
};

TEST_F(VorSpread, numbersReadAndWrittenTheSameOnADecimalCommaDesktop) {
    DutchLocale nl;
    ASSERT_TRUE(nl.ok()) << "the tests need the nl_NL.UTF-8 locale";
    struct Read {
        const char* text;
        double value;
        const char* why;
    } reads[] = {
        {"1.5", 1.5, "files and formulas use the point, whatever the desktop"},
        {"-0.25", -0.25, "a sign"},
        {"2.5e3", 2500, "an exponent"},
        {"12 mm", 12, "the number at the start, as the classic reading"},
        {"", 0, "an empty cell reads 0"},
        {"abc", 0, "text reads 0"},
    };
    for (const Read& r : reads) {
        grid.setText(1, 1, r.text);
        double v = -1;
        ASSERT_TRUE(grid.getDouble(1, 1, v)) << r.why;
        EXPECT_DOUBLE_EQ(v, r.value) << r.why << ": \"" << r.text << '"';
    }
    struct Write {
        double value;
        const char* text;
        const char* why;
    } writes[] = {
        {1.005, "1.00", "two decimals, rounded as the double holds it"},
        {-2.5, "-2.50", "a point, not the desktop's comma"},
        {-0.001, "0.00", "no negative zero"},
        {1e61, "9999999999999999493871352970740188669636450110134100730839040.00",
         "a huge number is written whole, digit for digit as the double holds it (it used to be garbage)"},
        {-1.5e300, nullptr, "longer than any buffer: checked by its length below"},
    };
    for (const Write& w : writes) {
        ASSERT_TRUE(grid.setDouble(2, 1, w.value)) << w.why;
        Vor_String s;
        grid.getText(2, 1, kTextData, s);
        if (w.text)
            EXPECT_EQ(s.str(), w.text) << w.why;
        else
            EXPECT_EQ(s.str().size(), std::string("-1").size() + 300 + 3) << w.why;
        double back = 0;
        grid.getDouble(2, 1, back);
        EXPECT_NEAR(back, w.value, std::abs(w.value) * 1e-12 + 0.006) << w.why << ": reads back";
    }
    ASSERT_TRUE(grid.setColumnDoubles(3, {-1e61, 0.126}));
    EXPECT_EQ(column(3)[0].str(), "-9999999999999999493871352970740188669636450110134100730839040.00");
    EXPECT_EQ(column(3)[1].str(), "0.13");
}

TEST_F(VorSpread, notANumberAndInfinitiesAreRefused) {
    grid.setText(1, 1, "kept");
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        EXPECT_FALSE(grid.setDouble(1, 1, bad)) << bad;
        EXPECT_FALSE(grid.setColumnDoubles(1, {2.0, bad})) << "the whole column or nothing: " << bad;
        EXPECT_EQ(column(1)[0], Vor_String("kept")) << bad;
        EXPECT_EQ(column(1)[1], Vor_String("")) << bad;
    }
}

} // namespace
