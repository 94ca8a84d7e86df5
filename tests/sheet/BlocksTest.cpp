// Rows, columns and blocks: insert, delete, move, swap and copy, with the references of every
// formula following the cells they point at, and #REF! where those cells are gone.
#include "SheetTestUtil.h"

#include <gtest/gtest.h>

#include <functional>

using namespace sheet;
using namespace sheet::test;

namespace {
// 10 * column + row in A1:D8 (A1 = 11, B3 = 23); the formulas read them from column F on.
void numbers(Sheet& s) {
    sized(s, 10, 20);
    for (int c = 1; c <= 4; ++c)
        for (int r = 1; r <= 8; ++r)
            s.setNumber(c, r, 10 * c + r);
}

struct Expect {
    const char* cell;
    const char* formula; ///< A1 style; nullptr: no formula expected there
    const char* shown;
};

struct Case {
    const char* why;
    std::vector<std::pair<const char*, const char*>> formulas;
    std::function<bool(Sheet&)> op;
    std::vector<Expect> expect;
};

void run(const Case& c) {
    Sheet s;
    numbers(s);
    for (auto [cell, f] : c.formulas)
        ASSERT_TRUE(s.setFormula(at(cell).col, at(cell).row, f)) << c.why << ": " << f;
    ASSERT_TRUE(c.op(s)) << c.why;
    for (const Expect& e : c.expect) {
        CellPos p = at(e.cell);
        if (e.formula)
            EXPECT_EQ(s.formula(p.col, p.row, RefStyle::A1), e.formula) << c.why << ": " << e.cell;
        else
            EXPECT_FALSE(s.hasFormula(p.col, p.row)) << c.why << ": " << e.cell;
        EXPECT_EQ(s.data(p.col, p.row), e.shown) << c.why << ": " << e.cell;
    }
    // What the operation left must survive a full recalculation unchanged.
    s.recalc();
    for (const Expect& e : c.expect)
        EXPECT_EQ(s.data(at(e.cell).col, at(e.cell).row), e.shown) << c.why << " after recalc: " << e.cell;
}
} // namespace

TEST(SheetBlocks, rowOperationsAdjustReferences) {
    const Case cases[] = {
        {"insert above the references",
         {{"F1", "A3+$B$4"}, {"F2", "SUM(A2:A5)"}},
         [](Sheet& s) { return s.insertRows(1, 2); },
         {{"F3", "A5+$B$6", "37"}, {"F4", "SUM(A4:A7)", "54"}, {"F1", nullptr, ""}}},
        {"insert inside a range stretches it",
         {{"F1", "SUM(A2:A5)"}, {"F10", "A4"}},
         [](Sheet& s) { return s.insertRows(3, 3); },
         {{"F1", "SUM(A2:A8)", "54"}, {"F13", "A7", "14"}}},
        {"insert below leaves everything",
         {{"F1", "SUM(A1:A3)"}},
         [](Sheet& s) { return s.insertRows(10, 1); },
         {{"F1", "SUM(A1:A3)", "36"}}},
        {"delete a referenced row",
         {{"F1", "A3*2"}, {"F2", "$A$3"}, {"F3", "A4+1"}},
         [](Sheet& s) { return s.deleteRows(3, 1); },
         {{"F1", "#REF!*2", "#REF!"}, {"F2", "#REF!", "#REF!"}, {"F3", nullptr, ""}}},
        {"delete inside a range shrinks it",
         {{"F1", "SUM(A2:A6)"}, {"F9", "A8"}},
         [](Sheet& s) { return s.deleteRows(3, 2); },
         {{"F1", "SUM(A2:A4)", "43"}, {"F7", "A6", "18"}}},
        {"delete a whole range",
         {{"F1", "SUM(A3:B4)"}, {"F2", "COUNT(A2:A5)"}},
         [](Sheet& s) { return s.deleteRows(3, 2); },
         {{"F1", "SUM(#REF!)", "#REF!"}, {"F2", "COUNT(A2:A3)", "2"}}},
        {"delete the formula's own row",
         {{"F4", "A1"}, {"F5", "F4+1"}},
         [](Sheet& s) { return s.deleteRows(4, 1); },
         {{"F4", "#REF!+1", "#REF!"}}},
    };
    for (const Case& c : cases)
        run(c);
}

TEST(SheetBlocks, columnOperationsAdjustReferences) {
    const Case cases[] = {
        {"insert before",
         {{"F1", "B1+$C$2"}, {"F2", "SUM(A1:D1)"}},
         [](Sheet& s) { return s.insertCols(2, 1); },
         {{"G1", "C1+$D$2", "53"}, {"G2", "SUM(A1:E1)", "104"}}},
        {"delete a referenced column",
         {{"F1", "B1+C1"}, {"F2", "SUM(A1:C1)"}},
         [](Sheet& s) { return s.deleteCols(2, 1); },
         {{"E1", "#REF!+B1", "#REF!"}, {"E2", "SUM(A1:B1)", "42"}}},
        {"delete columns after the references",
         {{"F1", "A1"}},
         [](Sheet& s) { return s.deleteCols(5, 1); },
         {{"E1", "A1", "11"}}},
    };
    for (const Case& c : cases)
        run(c);
}

TEST(SheetBlocks, blockOperationsMoveReferencesWithTheCells) {
    const Case cases[] = {
        {"move the referenced cells",
         {{"F1", "A1+A2"}, {"F2", "SUM(A1:A2)"}},
         [](Sheet& s) {
             return s.moveRange({1, 1, 1, 2}, {8, 10});
         },
         {{"F1", "H10+H11", "23"}, {"F2", "SUM(H10:H11)", "23"}, {"A1", nullptr, ""}}},
        {"move a formula: its references stay on their cells",
         {{"F1", "A1*2"}},
         [](Sheet& s) {
             return s.moveRange({6, 1, 6, 1}, {7, 5});
         },
         {{"G5", "A1*2", "22"}, {"F1", nullptr, ""}}},
        {"move over referenced cells: they are gone",
         {{"F1", "B2+1"}},
         [](Sheet& s) {
             return s.moveRange({1, 1, 1, 2}, {2, 2});
         },
         {{"F1", "#REF!+1", "#REF!"}, {"B2", nullptr, "11"}}},
        {"copy: relative references shift, absolute ones stay",
         {{"F1", "A1+$B$1+A$2+$A3"}},
         [](Sheet& s) {
             return s.copyRange({6, 1, 6, 1}, {7, 3});
         },
         {{"F1", "A1+$B$1+A$2+$A3", "57"}, {"G3", "B3+$B$1+B$2+$A5", "81"}}},
        {"copy a relative reference off the sheet",
         {{"F2", "A1"}},
         [](Sheet& s) {
             return s.copyRange({6, 2, 6, 2}, {6, 1});
         },
         {{"F1", "#REF!", "#REF!"}}},
        {"swap two blocks: formulas follow the cells they read",
         {{"F1", "A1"}, {"F2", "C1"}, {"F3", "SUM(A1:A2)"}},
         [](Sheet& s) {
             return s.swapRange({1, 1, 1, 2}, {3, 1});
         },
         {{"F1", "C1", "11"}, {"F2", "A1", "31"}, {"F3", "SUM(C1:C2)", "23"}, {"A1", nullptr, "31"}}},
    };
    for (const Case& c : cases)
        run(c);
}

TEST(SheetBlocks, refusedOperationsChangeNothing) {
    Sheet s;
    numbers(s);
    s.setFormula(6, 1, "SUM(A1:D8)");
    const std::pair<const char*, std::function<bool(Sheet&)>> refused[] = {
        {"insert at row 0", [](Sheet& t) { return t.insertRows(0, 1); }},
        {"delete a negative count", [](Sheet& t) { return t.deleteRows(2, -1); }},
        {"delete beyond the grid", [](Sheet& t) { return t.deleteCols(11, 1); }},
        {"move outside the grid",
         [](Sheet& t) {
             return t.moveRange({1, 1, 2, 2}, {10, 20});
         }},
        {"copy from outside the grid",
         [](Sheet& t) {
             return t.copyRange({9, 19, 12, 22}, {1, 1});
         }},
        {"swap overlapping blocks",
         [](Sheet& t) {
             return t.swapRange({1, 1, 2, 2}, {2, 2});
         }},
    };
    for (const auto& [why, op] : refused) {
        EXPECT_FALSE(op(s)) << why;
        EXPECT_EQ(s.formula(6, 1, RefStyle::A1), "SUM(A1:D8)") << why;
        EXPECT_EQ(s.data(6, 1), "944") << why;
        EXPECT_EQ(s.data(1, 1), "11") << why;
    }
}
