// Undo and redo: every kind of change comes back exactly, typing in one field is one step, a step
// costs what its cells cost (not a copy of the table), and undoing back to the saved table clears
// the change flag.

#include "calc/EditHistory.h"
#include "calc/ui/DlgFindReplace.h"
#include "calc/ui/DlgSpreadsheet.h"
#include "frame/ModuleResourceScope.h"

#include <sheet/SpreadControl.h>
#include <ui/Script.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

/// Everything a block holds, for comparing tables before and after.
EditHistory::Snapshot all(const EditHistory& h, const sheet::Sheet& s) {
    return h.capture({0, 0, s.maxCols(), s.maxRows()});
}

class History : public testing::Test {
protected:
    void SetUp() override {
        s.setMaxCols(6);
        s.setMaxRows(6);
        s.setData(1, 1, "3");
        s.setData(2, 1, "4");
        s.setFormula(3, 1, "A1+B1");
        s.setTag(2, 1, "b");
        s.setData(1, 0, "Kolom");
    }
    /// One step as the editor makes it: announce the block, change, close.
    void step(const sheet::CellRange& block, const std::function<void()>& change, int key = 0) {
        h.beginChange();
        h.aboutToChange(block);
        change();
        h.endChange(key);
    }
    sheet::Sheet s;
    EditHistory h{s};
};

TEST_F(History, everyKindOfChangeUndoesAndRedoesExactly) {
    struct Case {
        sheet::CellRange block;
        std::function<void(sheet::Sheet&)> change;
        const char* why;
    };
    sheet::Font bold;
    bold.weight = 700;
    sheet::CellType number;
    number.kind = sheet::CellKind::Number;
    number.decimals = 3;
    const Case cases[] = {
        {{1, 1, 1, 1}, [](sheet::Sheet& t) { t.setData(1, 1, "8"); }, "a typed value (the formula follows)"},
        {{3, 1, 3, 1}, [](sheet::Sheet& t) { t.setFormula(3, 1, "A1*B1"); }, "a formula replaced"},
        {{3, 1, 3, 1}, [](sheet::Sheet& t) { t.setData(3, 1, "tekst"); }, "a formula typed over"},
        {{2, 1, 2, 1}, [](sheet::Sheet& t) { t.setTag(2, 1, "breedte"); }, "a variable name"},
        {{4, 4, 4, 4}, [](sheet::Sheet& t) { t.setNote(4, 4, "let op"); }, "a note on an empty cell"},
        {{1, 1, 3, 2},
         [&](sheet::Sheet& t) {
             t.setFont({1, 1, 3, 2}, bold);
         },
         "a font on a block"},
        {{1, 1, 2, 2},
         [](sheet::Sheet& t) {
             t.setColors({1, 1, 2, 2}, sheet::rgb(1, 2, 3), 0);
         },
         "colours"},
        {{1, 1, 2, 1},
         [](sheet::Sheet& t) {
             t.setBorder({1, 1, 2, 1}, sheet::kBorderBottom, 2, 0);
         },
         "borders"},
        {{1, 1, 2, 6},
         [&](sheet::Sheet& t) {
             t.setCellType({1, 1, 2, 6}, number);
         },
         "a cell type"},
        {{1, 1, 6, 6},
         [](sheet::Sheet& t) {
             t.clearContents({1, 1, 6, 6});
         },
         "a whole table cleared"},
        {{1, 3, 2, 3}, [](sheet::Sheet& t) { t.addSpan(1, 3, 2, 1); }, "a span"},
        {{1, 0, 1, 0}, [](sheet::Sheet& t) { t.setData(1, 0, "Naam"); }, "a column header"},
    };
    for (const Case& c : cases) {
        SetUp();
        h.clear();
        const auto before = all(h, s);
        step(c.block, [&] { c.change(s); });
        const auto after = all(h, s);
        ASSERT_FALSE(before == after) << c.why << ": the case changes something";
        ASSERT_TRUE(h.canUndo()) << c.why;
        ASSERT_TRUE(h.undo()) << c.why;
        EXPECT_TRUE(all(h, s) == before) << c.why << ": undo gives the table back";
        EXPECT_EQ(s.data(3, 1), "7") << c.why << ": formulas see the restored cells";
        ASSERT_TRUE(h.redo()) << c.why;
        EXPECT_TRUE(all(h, s) == after) << c.why << ": redo makes the change again";
        EXPECT_FALSE(h.redo()) << c.why << ": nothing more to redo";
    }
}

TEST_F(History, aChangeThatChangesNothingIsNoStep) {
    step({1, 1, 2, 2}, [] {});
    EXPECT_FALSE(h.canUndo()) << "a cancelled dialog leaves no step";
    step({1, 1, 1, 1}, [&] { s.setData(1, 1, "3"); });
    EXPECT_FALSE(h.canUndo()) << "the same value again is no change";
}

TEST_F(History, typingInOneFieldIsOneStepUntilThePersonMovesOn) {
    for (const char* typed : {"1", "12", "123"})
        step(
            {4, 4, 4, 4}, [&] { s.setData(4, 4, typed); }, 1);
    EXPECT_EQ(h.steps(), 1u) << "three keys, one step";
    h.closeMerge();
    step(
        {4, 4, 4, 4}, [&] { s.setData(4, 4, "9"); }, 1);
    EXPECT_EQ(h.steps(), 2u) << "after moving on, typing starts a new step";
    h.undo();
    EXPECT_EQ(s.data(4, 4), "123");
    h.undo();
    EXPECT_EQ(s.data(4, 4), "");

    h.clear();
    step(
        {5, 5, 5, 5}, [&] { s.setData(5, 5, "x"); }, 1);
    step(
        {5, 5, 5, 5}, [&] { s.setData(5, 5, ""); }, 1);
    EXPECT_FALSE(h.canUndo()) << "typed and erased again: nothing to undo";
}

TEST_F(History, overlappingBlocksOfOneStepComeBackAsTheyWereFirst) {
    h.beginChange();
    h.aboutToChange({1, 1, 1, 1});
    s.setData(1, 1, "10");
    h.aboutToChange({1, 1, 2, 1}); // announced again after a first change
    s.setData(2, 1, "20");
    h.endChange(0);
    h.undo();
    EXPECT_EQ(s.data(1, 1), "3") << "the first picture of A1 wins";
    EXPECT_EQ(s.data(2, 1), "4");
}

TEST_F(History, aSmallerTableComesBackWithWhatItDropped) {
    h.beginChange();
    h.aboutToResize();
    h.aboutToChange({1, 3, 6, 6});
    s.setData(2, 5, "onderaan");
    s.setMaxRows(2);
    h.endChange(0);
    EXPECT_EQ(s.maxRows(), 2);
    h.undo();
    EXPECT_EQ(s.maxRows(), 6);
    EXPECT_EQ(s.data(2, 5), "") << "before the step the cell was empty";
    h.redo();
    EXPECT_EQ(s.maxRows(), 2);
    s.setData(2, 2, "z");
    step({2, 2, 2, 2}, [&] { s.setData(2, 2, "y"); });
    h.undo();
    h.undo();
    EXPECT_EQ(s.maxRows(), 6);
}

TEST_F(History, theSavedStateIsKnownAfterUndoAndLostWhenItsBranchGoes) {
    h.markSaved();
    EXPECT_TRUE(h.atSavedState());
    step({1, 1, 1, 1}, [&] { s.setData(1, 1, "5"); });
    EXPECT_FALSE(h.atSavedState());
    h.undo();
    EXPECT_TRUE(h.atSavedState()) << "undone back to the saved table";
    h.redo();
    h.markSaved();
    h.undo();
    EXPECT_FALSE(h.atSavedState());
    step({2, 2, 2, 2}, [&] { s.setData(2, 2, "ander"); });
    EXPECT_FALSE(h.canRedo()) << "a new step drops what could be redone";
    h.undo();
    EXPECT_FALSE(h.atSavedState()) << "the saved table was on the dropped branch: never reached again";
}

TEST(HistoryCost, aStepCostsItsCellsNotTheTable) {
    // The same one-cell steps on a table of 36 cells and one of 250,000: the history holds the same.
    std::size_t use[2];
    const int sizes[2] = {6, 500};
    for (int k = 0; k < 2; ++k) {
        sheet::Sheet s;
        s.setMaxCols(sizes[k]);
        s.setMaxRows(sizes[k]);
        for (int c = 1; c <= sizes[k]; ++c)
            for (int r = 1; r <= sizes[k]; ++r)
                s.setNumber(c, r, c * 1000 + r);
        EditHistory h(s);
        for (int i = 0; i < 100; ++i) {
            h.beginChange();
            h.aboutToChange({2, 3, 2, 3});
            s.setNumber(2, 3, i + 0.5);
            h.endChange(0);
        }
        EXPECT_EQ(h.steps(), 100u);
        use[k] = h.memoryUse();
        h.undo();
        EXPECT_DOUBLE_EQ(s.value(2, 3).number, 98.5);
    }
    EXPECT_GT(use[0], 100u * sizeof(EditHistory::CellState)) << "every step holds its cell twice";
    EXPECT_EQ(use[0], use[1]);
    EXPECT_LT(use[1], 100u * 2048u) << "a one-cell step is a few hundred bytes";
}

// ---- in the editor

class EditorUndo : public testing::Test {
protected:
    void SetUp() override {
        ui::setAgent(&agent);
        dir = fs::temp_directory_path() /
              ("vor-undo-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ASSERT_TRUE(ed.create());
        ui::SimulatedUser::focus(*ed.item(DlgSpreadsheet::IDC_GRID));
    }
    void TearDown() override {
        ed.destroyWindow();
        ui::setAgent(nullptr);
        fs::remove_all(dir);
    }
    Vor_Spread& grid() { return ed.grid(); }
    std::string cell(int col, int row, int kind = kTextData) {
        Vor_String s;
        grid().getText(col, row, kind, s);
        return s.str();
    }
    void keyCtrl(int vk, int focus = DlgSpreadsheet::IDC_GRID) {
        ui::KeyEvent k;
        k.vk = vk;
        k.ctrl = true;
        k.focusId = focus;
        std::string error;
        ASSERT_TRUE(ui::SimulatedUser::key(ed, k, error)) << error;
    }
    void type(int id, const std::string& text) {
        std::string error;
        ASSERT_TRUE(ui::SimulatedUser::type(*ed.item(id), text, error)) << error;
    }
    void menu(int id) {
        std::string error;
        ASSERT_TRUE(ui::SimulatedUser::menu(ed, id, error)) << error;
    }
    bool undoEnabled() { return ed.toolBar()->isButtonEnabled(DlgSpreadsheet::ID_UNDO); }
    bool redoEnabled() { return ed.toolBar()->isButtonEnabled(DlgSpreadsheet::ID_REDO); }
    ModuleResourceScope scope;
    ui::ScriptedAgent agent;
    DlgSpreadsheet ed;
    fs::path dir;
};

TEST_F(EditorUndo, ctrlZAndCtrlYTakeBackAndRedoTypingInTheEditBar) {
    EXPECT_FALSE(undoEnabled()) << "nothing to undo in a new table";
    grid().SetActiveCell(2, 2);
    type(DlgSpreadsheet::IDC_VALUE, "125");
    EXPECT_EQ(cell(2, 2), "125");
    EXPECT_TRUE(undoEnabled());
    EXPECT_FALSE(redoEnabled());
    keyCtrl('Z');
    EXPECT_EQ(cell(2, 2), "") << "one Ctrl+Z takes the whole typing back";
    EXPECT_EQ(ed.item(DlgSpreadsheet::IDC_VALUE)->text(), "") << "the edit bar follows";
    EXPECT_TRUE(redoEnabled());
    keyCtrl('Y');
    EXPECT_EQ(cell(2, 2), "125");
}

TEST_F(EditorUndo, undoingBackToTheSavedTableClearsTheChangeFlag) {
    grid().setText(1, 1, "bewaard");
    ed.fileName = (dir / "t.sss").string();
    ASSERT_TRUE(ed.save(false));
    ASSERT_FALSE(grid().changed());
    grid().SetActiveCell(1, 1);
    type(DlgSpreadsheet::IDC_VALUE, "gewijzigd");
    EXPECT_TRUE(grid().changed());
    menu(DlgSpreadsheet::ID_UNDO);
    EXPECT_EQ(cell(1, 1), "bewaard");
    EXPECT_FALSE(grid().changed()) << "the table is the saved one again: no save prompt";
    menu(DlgSpreadsheet::ID_REDO);
    EXPECT_TRUE(grid().changed()) << "and redo makes it differ again";
}

TEST_F(EditorUndo, typingInTheCellItselfIsAStep) {
    auto* h = grid().handle();
    grid().SetActiveCell(3, 3);
    h->moveActive(3, 3);
    const std::string typed = "42";
    ASSERT_TRUE(h->beginEdit(&typed));
    ASSERT_TRUE(h->confirmEdit());
    EXPECT_EQ(cell(3, 3), "42");
    keyCtrl('Z');
    EXPECT_EQ(cell(3, 3), "");
    keyCtrl('Y');
    EXPECT_EQ(cell(3, 3), "42");
}

TEST_F(EditorUndo, deleteCutAndPasteAreStepsOfTheirBlocks) {
    for (int r = 1; r <= 3; ++r)
        grid().setText(1, r, "r" + std::to_string(r));
    grid().SetSelectBlock({1, 1}, {1, 2});
    ui::KeyEvent del;
    del.vk = ui::VK_DELETE;
    del.focusId = DlgSpreadsheet::IDC_GRID;
    std::string error;
    ASSERT_TRUE(ui::SimulatedUser::key(ed, del, error)) << error;
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(cell(1, 2), "");
    keyCtrl('Z');
    EXPECT_EQ(cell(1, 1), "r1");
    EXPECT_EQ(cell(1, 2), "r2");

    grid().SetSelectBlock({1, 1}, {1, 3});
    menu(DlgSpreadsheet::ID_CUT);
    EXPECT_EQ(cell(1, 3), "");
    grid().SetSelectBlock({3, 2}, {3, 2});
    grid().SetActiveCell(3, 2);
    menu(DlgSpreadsheet::ID_PASTE);
    EXPECT_EQ(cell(3, 4), "r3") << "three rows pasted from C2";
    menu(DlgSpreadsheet::ID_UNDO);
    EXPECT_EQ(cell(3, 2), "");
    EXPECT_EQ(cell(3, 4), "") << "the whole pasted block goes";
    menu(DlgSpreadsheet::ID_UNDO);
    EXPECT_EQ(cell(1, 3), "r3") << "the cut comes back";
}

TEST_F(EditorUndo, formattingNotesAndOptionsAreStepsAndCancelledDialogsNone) {
    grid().setText(2, 2, "x");
    grid().SetActiveCell(2, 2);
    sheet::Font before;
    grid().GetFont(2, 2, before);
    agent.setScript("expect-dialog 174\nclick 2\n"
                    "expect-dialog 174\nanswer font \"DejaVu Sans\" 14 bold\nclick 1007\nclick 1\n"
                    "expect-dialog 8069\ntype 8003 \"controleren\"\nclick 1\n"
                    "expect-dialog 176\ntype 1019 \"1\"\nanswer yes\nclick 1\n",
                    "test");
    menu(DlgSpreadsheet::ID_FONT);
    EXPECT_FALSE(undoEnabled()) << "a cancelled dialog is no step";
    menu(DlgSpreadsheet::ID_FONT);
    sheet::Font f;
    grid().GetFont(2, 2, f);
    EXPECT_EQ(f.weight, 700);
    menu(DlgSpreadsheet::ID_NOTE);
    std::string note;
    grid().GetCellNote(2, 2, note);
    EXPECT_EQ(note, "controleren");
    menu(DlgSpreadsheet::ID_OPTIONS);
    ASSERT_FALSE(agent.failed()) << agent.failure();
    EXPECT_EQ(grid().maxRows(), 1) << "the table shrank to one row";

    menu(DlgSpreadsheet::ID_UNDO);
    EXPECT_EQ(grid().maxRows(), 11);
    EXPECT_EQ(cell(2, 2), "x") << "the dropped row comes back with its cell";
    menu(DlgSpreadsheet::ID_UNDO);
    grid().GetCellNote(2, 2, note);
    EXPECT_EQ(note, "");
    menu(DlgSpreadsheet::ID_UNDO);
    grid().GetFont(2, 2, f);
    EXPECT_EQ(f, before);
    EXPECT_FALSE(undoEnabled());
    EXPECT_FALSE(grid().changed()) << "all undone: the new table as it started";
}

TEST_F(EditorUndo, replaceAllIsOneStep) {
    grid().setText(1, 1, "HEA 200");
    grid().setText(2, 3, "HEA 300");
    grid().showFind(true);
    auto* f = dynamic_cast<DlgFindReplace*>(grid().findWindow());
    ASSERT_NE(f, nullptr);
    std::string error;
    ASSERT_TRUE(ui::SimulatedUser::type(*f->item(DlgFindReplace::IDC_FIND), "HEA", error)) << error;
    ASSERT_TRUE(ui::SimulatedUser::type(*f->item(DlgFindReplace::IDC_REPLACEWITH), "HEB", error)) << error;
    agent.queueAnswer(ui::IDOK);
    EXPECT_EQ(f->replaceAll(), 2);
    EXPECT_EQ(cell(2, 3), "HEB 300");
    menu(DlgSpreadsheet::ID_UNDO);
    EXPECT_EQ(cell(1, 1), "HEA 200");
    EXPECT_EQ(cell(2, 3), "HEA 300");
    EXPECT_FALSE(undoEnabled()) << "both cells in one step";
}

TEST_F(EditorUndo, insertedAndDeletedRowsAndColumnsComeBackWithTheFormulasThatFollowedThem) {
    grid().setText(1, 1, "1");
    grid().setText(1, 2, "2");
    grid().setFormula(1, 3, "A1+A2");
    grid().setFormula(2, 1, "SUM(A1:A3)");
    const int rows = grid().maxRows(), cols = grid().maxCols();
    struct Case {
        int code;
        int col, row;
        const char* why;
    };
    const Case cases[] = {
        {kMenuDeleteRow, 1, 2, "a deleted row breaks A3's reference to it"},
        {kMenuInsertRow, 1, 2, "an inserted row moves A2 and A3 down"},
        {kMenuDeleteColumn, 1, 1, "a deleted column takes every value"},
        {kMenuInsertColumn, 1, 1, "an inserted column moves the formulas right"},
    };
    agent.setScript("expect-dialog 8069\nclick 1\n", "test"); // the inserted column's header
    for (const Case& c : cases) {
        grid().SetActiveCell(c.col, c.row);
        ASSERT_TRUE(grid().runMenuCode(c.code)) << c.why;
        ASSERT_TRUE(ed.undo()) << c.why;
        EXPECT_EQ(grid().maxRows(), rows) << c.why;
        EXPECT_EQ(grid().maxCols(), cols) << c.why;
        EXPECT_EQ(cell(1, 3, kTextFormula), "A1+A2") << c.why;
        EXPECT_EQ(cell(1, 3), "3") << c.why;
        EXPECT_EQ(cell(2, 1, kTextFormula), "SUM(A1:A3)") << c.why;
        EXPECT_EQ(cell(1, 2), "2") << c.why;
        ASSERT_TRUE(ed.redo()) << c.why;
        ASSERT_TRUE(ed.undo()) << c.why;
        EXPECT_EQ(cell(1, 3, kTextFormula), "A1+A2") << c.why << ": after redo and undo again";
    }
}

TEST_F(EditorUndo, openingATableForgetsTheStepsOfTheOldOne) {
    grid().setText(1, 1, "a");
    const std::string file = (dir / "t.sss").string();
    ed.fileName = file;
    ASSERT_TRUE(ed.save(false));
    grid().SetActiveCell(1, 1);
    type(DlgSpreadsheet::IDC_VALUE, "b");
    agent.queueAnswer(ui::IDNO);
    agent.queueFile(file);
    menu(DlgSpreadsheet::ID_OPEN);
    EXPECT_FALSE(undoEnabled());
    EXPECT_FALSE(ed.undo());
}

} // namespace
