// Cells, recalculation, custom functions and block operations.
#include "SheetTestUtil.h"

#include <sheet/SssFile.h>

#include <gtest/gtest.h>

using namespace sheet;
using namespace sheet::test;

TEST(SheetCells, dataComesBackAsTypedAndNumbersFormatByType) {
    Sheet s;
    sized(s);
    s.setData(1, 1, "12.50");
    EXPECT_EQ(s.data(1, 1), "12.50") << "typed text shown unchanged";
    EXPECT_EQ(s.valueText(1, 1), "12.5") << "value text unformatted";
    EXPECT_EQ(s.value(1, 1), Value::num(12.5));
    CellType num;
    num.kind = CellKind::Number;
    num.decimals = 2;
    num.thousands = true;
    s.setCellType({2, 1, 2, 1}, num);
    s.setData(2, 1, "1234567.891");
    EXPECT_EQ(s.data(2, 1), "1,234,567.89");
    EXPECT_FALSE(s.setData(11, 1, "x")) << "outside the grid";
    EXPECT_TRUE(s.setData(3, 0, "Header")) << "row 0 holds column headers";
    EXPECT_EQ(s.data(3, 0), "Header");
    std::string raw = "a\xA4"
                      "2\xA4"
                      "9\xA4";
    s.setTag(0, 0, raw);
    EXPECT_EQ(s.tag(0, 0), raw) << "tags hold any bytes";
}

TEST(SheetCells, shrinkingTheGridRemovesCellsBeyondIt) {
    Sheet s;
    sized(s);
    s.setData(1, 40, "x");
    s.setFormula(1, 1, "A40");
    s.setMaxRows(10);
    s.setMaxRows(50);
    EXPECT_EQ(s.data(1, 40), "");
    EXPECT_EQ(s.data(1, 1), "0");
}

TEST(SheetRecalc, automaticRecalculationTouchesOnlyDependents) {
    Sheet s;
    sized(s, 5, 1000);
    for (int r = 1; r <= 1000; ++r) {
        s.setData(1, r, std::to_string(r));
        s.setFormula(2, r, "A" + std::to_string(r) + "*2");
    }
    s.setFormula(3, 1, "SUM(B1:B1000)");
    EXPECT_EQ(s.data(3, 1), "1001000");
    s.resetEvaluations();
    s.setData(1, 500, "0");
    EXPECT_EQ(s.evaluations(), 2u) << "B500 and the sum, nothing else";
    EXPECT_EQ(s.data(3, 1), "1000000");
}

TEST(SheetRecalc, manualModeWaitsForRecalc) {
    Sheet s;
    sized(s);
    s.setOption(Sheet::kOptAutoRecalc, false);
    s.setData(1, 1, "1");
    s.setFormula(1, 2, "A1+1");
    s.setFormula(1, 3, "A2+1");
    s.setData(1, 1, "10");
    EXPECT_EQ(s.data(1, 3), "");
    ASSERT_TRUE(s.recalcCell(1, 3));
    EXPECT_EQ(s.data(1, 3), "12") << "pending cells the formula reads are computed first";
    s.setData(1, 1, "20");
    s.recalc();
    EXPECT_EQ(s.data(1, 3), "22");
}

TEST(SheetRecalc, longChainNeedsNoDeepStack) {
    Sheet s;
    const int n = 50000;
    sized(s, 2, n);
    s.setOption(Sheet::kOptAutoRecalc, false);
    s.setData(1, 1, "0");
    for (int r = 2; r <= n; ++r)
        s.setFormula(1, r, "A" + std::to_string(r - 1) + "+1");
    // Evaluating the last cell first walks the whole chain.
    ASSERT_TRUE(s.recalcCell(1, n));
    EXPECT_EQ(s.data(1, n), std::to_string(n - 1));
    s.setOption(Sheet::kOptAutoRecalc, true);
    s.setData(1, 1, "5");
    EXPECT_EQ(s.data(1, n), std::to_string(n + 4));
}

TEST(SheetRecalc, circularReferencesGiveAnErrorInTheCycle) {
    Sheet s;
    sized(s);
    s.setData(1, 9, "1");
    s.setFormula(1, 1, "A2+1");
    s.setFormula(1, 2, "A3+1");
    s.setFormula(1, 3, "A1+A9");
    s.setFormula(1, 4, "A1*2");
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(s.data(1, r), "#CIRC!") << "row " << r;
    s.setFormula(1, 3, "A9"); // cycle broken
    EXPECT_EQ(s.data(1, 1), "3");
    EXPECT_EQ(s.data(1, 4), "6");
    s.setFormula(2, 1, "B1");
    EXPECT_EQ(s.data(2, 1), "#CIRC!") << "a cell reading itself";
}

TEST(SheetRecalc, customFunctionsReceiveKindsAndStatus) {
    Sheet s;
    sized(s);
    s.setData(2, 3, "7");
    std::vector<FnValue> seen;
    s.addCustomFunction("probe", 1, 6, [&](Sheet&, CellPos, FnValue& r, std::span<FnValue> a) {
        seen.assign(a.begin(), a.end());
        r.status = FnValue::Ok;
        r.kind = FnValue::Text;
        r.text = "done";
        return true;
    });
    ASSERT_TRUE(s.setFormula(1, 1, "PROBE(5,2.5,\"t\",B3,B3:C4,1/0)"));
    EXPECT_EQ(s.data(1, 1), "done");
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0].kind, FnValue::Whole);
    EXPECT_EQ(seen[0].whole, 5);
    EXPECT_EQ(seen[1].kind, FnValue::Floating);
    EXPECT_DOUBLE_EQ(seen[1].floating, 2.5);
    EXPECT_EQ(seen[2].kind, FnValue::Text);
    EXPECT_EQ(seen[2].text, "t");
    EXPECT_EQ(seen[3].kind, FnValue::Cell);
    EXPECT_EQ(seen[3].cells, (CellRange{2, 3, 2, 3}));
    EXPECT_EQ(seen[4].kind, FnValue::Range);
    EXPECT_EQ(seen[4].cells, (CellRange{2, 3, 3, 4}));
    EXPECT_EQ(seen[5].status, FnValue::Unreadable);
    ParseError err;
    EXPECT_FALSE(s.setFormula(1, 2, "PROBE()", &err)) << "argument count checked for registered functions";
    EXPECT_EQ(err.code, ParseErrorCode::ArgumentCount);
    ASSERT_TRUE(s.setFormula(1, 3, "UNKNOWNFN(1)")) << "unregistered names are accepted";
    EXPECT_EQ(s.data(1, 3), "#NAME?");
    s.addCustomFunction("UNKNOWNFN", 1, 1, [](Sheet&, CellPos, FnValue& r, std::span<FnValue>) {
        r.status = FnValue::NoResult;
        return true;
    });
    s.recalc();
    EXPECT_EQ(s.data(1, 3), "") << "no result shows nothing";
}

TEST(SheetRecalc, customFunctionMayLoadAndRecalculateAnotherSheetAndWriteTheCaller) {
    std::string path = ::testing::TempDir() + "/lookup.sss";
    {
        Sheet other;
        sized(other);
        other.setData(2, 3, "21");
        other.setFormula(3, 3, "B3*2");
        ASSERT_TRUE(saveSheet(other, path));
    }
    Sheet s;
    sized(s);
    // Like a table look-up: load the named table, recalculate it, return or write a value.
    auto fromTable = [&](Sheet& caller, CellPos, FnValue& r, std::span<FnValue> a) {
        Sheet t;
        if (!loadSheet(t, a[0].text)) return false;
        t.recalc();
        if (a.size() == 3) {
            caller.setData(a[2].cells.col1, a[2].cells.row1, t.data(a[1].cells.col1, a[1].cells.row1));
            return true;
        }
        r.status = FnValue::Ok;
        r.kind = FnValue::Floating;
        r.floating = t.value(a[1].cells.col1, a[1].cells.row1).number;
        return true;
    };
    s.addCustomFunction("FROMTABLE", 2, 3, fromTable);
    s.setFormula(4, 4, "D1+1");
    ASSERT_TRUE(s.setFormula(1, 1, "FROMTABLE(\"" + path + "\",C3)"));
    EXPECT_EQ(s.data(1, 1), "42") << "C3 of the other table, not of this one";
    ASSERT_TRUE(s.setFormula(1, 2, "FROMTABLE(\"" + path + "\",B3,D1)"));
    EXPECT_EQ(s.data(1, 2), "");
    EXPECT_EQ(s.data(4, 1), "21") << "written into the calling sheet";
    EXPECT_EQ(s.data(4, 4), "22") << "and what depends on it follows";
}

TEST(SheetBlocks, insertAndDeleteAdjustReferences) {
    Sheet s;
    sized(s);
    s.setData(1, 1, "1");
    s.setData(1, 2, "2");
    s.setData(1, 3, "3");
    s.setFormula(2, 5, "SUM(A1:A3)+A3");
    s.setFormula(3, 1, "$A$2*10");
    ASSERT_TRUE(s.insertRows(2, 2));
    EXPECT_EQ(s.formula(2, 7, RefStyle::A1), "SUM(A1:A5)+A5");
    EXPECT_EQ(s.formula(3, 1, RefStyle::A1), "$A$4*10");
    EXPECT_EQ(s.data(2, 7), "9");
    ASSERT_TRUE(s.deleteRows(4, 1)); // the row holding 2
    EXPECT_EQ(s.formula(3, 1, RefStyle::A1), "#REF!*10");
    EXPECT_EQ(s.data(3, 1), "#REF!");
    EXPECT_EQ(s.formula(2, 6, RefStyle::A1), "SUM(A1:A4)+A4");
    EXPECT_EQ(s.data(2, 6), "7");
    ASSERT_TRUE(s.insertCols(1, 1));
    EXPECT_EQ(s.formula(3, 6, RefStyle::A1), "SUM(B1:B4)+B4");
    ASSERT_TRUE(s.deleteCols(2, 1));
    EXPECT_EQ(s.formula(2, 6, RefStyle::A1), "SUM(#REF!)+#REF!");
}

TEST(SheetBlocks, copyMoveAndSwap) {
    Sheet s;
    sized(s);
    s.setData(1, 1, "5");
    s.setData(1, 2, "6");
    s.setFormula(2, 1, "A1*2");
    s.setTag(2, 1, "double");
    ASSERT_TRUE(s.copyRange({2, 1, 2, 1}, {2, 2}));
    EXPECT_EQ(s.formula(2, 2, RefStyle::A1), "A2*2") << "relative reference follows the copy";
    EXPECT_EQ(s.data(2, 2), "12");
    EXPECT_EQ(s.tag(2, 2), "double");
    s.setFormula(3, 1, "A1+1");
    ASSERT_TRUE(s.moveRange({1, 1, 1, 1}, {5, 5}));
    EXPECT_EQ(s.formula(3, 1, RefStyle::A1), "E5+1") << "references follow the moved cell";
    EXPECT_EQ(s.data(3, 1), "6");
    EXPECT_EQ(s.data(1, 1), "");
    // Swap rows 1 and 2 of column B: formulas keep reading the same cells.
    ASSERT_TRUE(s.swapRange({2, 1, 2, 1}, {2, 2}));
    EXPECT_EQ(s.formula(2, 1, RefStyle::A1), "A2*2");
    EXPECT_EQ(s.formula(2, 2, RefStyle::A1), "E5*2");
    EXPECT_EQ(s.data(2, 2), "10");
    EXPECT_FALSE(s.swapRange({1, 1, 2, 2}, {2, 2})) << "overlapping blocks";
}
