// Custom functions that reach back into the sheet whose recalculation called them.
#include "SheetTestUtil.h"

#include <sheet/Compiler.h>
#include <sheet/SssFile.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace sheet;
using sheet::test::sized;

namespace {

// Stops a misbehaving function after this many calls, so that an endless recalculation shows up as
// a failed count instead of a hanging test.
constexpr int kRunaway = 200;

struct Mutation {
    const char* name;
    // The call made from inside the custom function; its result (false for calls without one: the
    // cell's error value tells those apart).
    std::function<bool(Sheet&, const std::string& file)> call;
    const char* why;
};

// A1 = 1, A2 = 2, B1 = A1+A2, and C3 holds the custom function.
void fill(Sheet& s) {
    sized(s, 6, 8);
    s.setData(1, 1, "1");
    s.setData(1, 2, "2");
    s.setFormula(2, 1, "A1+A2");
}

} // namespace

TEST(CustomFunctionReentry, callsThatReshapeTheRecalculatingSheetAreRefused) {
    std::string file = ::testing::TempDir() + "/reentry_other.sss";
    {
        Sheet other;
        sized(other, 2, 2);
        other.setData(1, 1, "99");
        ASSERT_TRUE(saveSheet(other, file));
    }
    const Mutation cases[] = {
        {"reset", [](Sheet& s, const std::string&) { return s.reset(), false; },
         "freeing the cells under evaluation is a use after free"},
        {"loadSheet", [](Sheet& s, const std::string& f) { return bool(loadSheet(s, f)); },
         "a load swaps the cell store out from under the evaluation"},
        {"recalc", [](Sheet& s, const std::string&) { return s.recalc(), false; },
         "every round would call the function again, for ever"},
        {"recalcCell", [](Sheet& s, const std::string&) { return s.recalcCell(3, 3); },
         "recalculating its own cell is the same endless round"},
        {"setFormula own cell", [](Sheet& s, const std::string&) { return s.setFormula(3, 3, "PROBE()+0"); },
         "a rewritten own formula is evaluated again and rewritten again"},
        {"setFormula other cell", [](Sheet& s, const std::string&) { return s.setFormula(4, 4, "PROBE()"); },
         "a new formula calling the function repeats without end"},
        {"insertRows", [](Sheet& s, const std::string&) { return s.insertRows(1, 1); },
         "moves the cells under evaluation"},
        {"deleteRows", [](Sheet& s, const std::string&) { return s.deleteRows(1, 1); },
         "removes cells under evaluation"},
        {"insertCols", [](Sheet& s, const std::string&) { return s.insertCols(1, 1); },
         "moves the cells under evaluation"},
        {"deleteCols", [](Sheet& s, const std::string&) { return s.deleteCols(1, 1); },
         "removes cells under evaluation"},
        {"setMaxRows", [](Sheet& s, const std::string&) { return s.setMaxRows(1); },
         "cuts away the calling cell"},
        {"setMaxCols", [](Sheet& s, const std::string&) { return s.setMaxCols(1); },
         "cuts away the calling cell"},
        {"copyRange",
         [](Sheet& s, const std::string&) {
             return s.copyRange({1, 1, 3, 3}, {4, 4});
         },
         "copies the calling formula, which then runs again"},
        {"moveRange",
         [](Sheet& s, const std::string&) {
             return s.moveRange({3, 3, 3, 3}, {5, 5});
         },
         "moves the calling formula while it runs"},
        {"swapRange",
         [](Sheet& s, const std::string&) {
             return s.swapRange({1, 1, 1, 1}, {6, 6});
         },
         "moves the inputs of the formulas under evaluation"},
    };
    for (const Mutation& m : cases) {
        SCOPED_TRACE(m.name);
        Sheet s;
        fill(s);
        int calls = 0;
        bool accepted = false;
        s.addCustomFunction("PROBE", 0, 0, [&](Sheet& caller, CellPos, FnValue& r, std::span<FnValue>) {
            if (++calls <= kRunaway) accepted = m.call(caller, file) || accepted;
            r.status = FnValue::Ok;
            r.kind = FnValue::Whole;
            r.whole = 7;
            return true;
        });
        ASSERT_TRUE(s.setFormula(3, 3, "PROBE()"));
        EXPECT_LE(calls, 1) << m.why;
        EXPECT_FALSE(accepted) << "the call reports that it did nothing: " << m.why;
        EXPECT_EQ(s.data(3, 3), "#VALUE!") << "the function did not do what it meant to: " << m.why;
        // The sheet is as it was before the function ran.
        EXPECT_EQ(s.maxCols(), 6) << m.why;
        EXPECT_EQ(s.maxRows(), 8) << m.why;
        EXPECT_EQ(s.data(1, 1), "1") << m.why;
        EXPECT_EQ(s.data(2, 1), "3") << m.why;
        EXPECT_EQ(s.formula(3, 3, RefStyle::A1), "PROBE()") << m.why;
        EXPECT_FALSE(s.hasFormula(4, 4)) << m.why;
        // Outside a recalculation the same calls work again.
        calls = kRunaway; // the function now only answers
        EXPECT_TRUE(s.insertRows(1, 1)) << "refusal ends with the recalculation";
        EXPECT_EQ(s.data(2, 2), "3") << "and the sheet recalculates as usual";
    }
}

TEST(CustomFunctionReentry, otherSheetsMayBeLoadedResetAndRecalculated) {
    std::string file = ::testing::TempDir() + "/reentry_lookup.sss";
    {
        Sheet other;
        sized(other, 3, 3);
        other.setData(1, 1, "20");
        other.setFormula(2, 1, "A1+1");
        ASSERT_TRUE(saveSheet(other, file));
    }
    Sheet s;
    fill(s);
    s.addCustomFunction("FETCH", 0, 0, [&](Sheet& caller, CellPos, FnValue& r, std::span<FnValue>) {
        Sheet t;
        if (!loadSheet(t, file)) return false;
        t.recalc();
        r.status = FnValue::Ok;
        r.kind = FnValue::Floating;
        r.floating = t.value(2, 1).number;
        t.reset(); // a sheet that is not recalculating may be emptied
        // Writing data into the calling sheet stays allowed: only reshaping it is refused.
        return caller.setData(5, 5, "written") && t.maxRows() == 0;
    });
    ASSERT_TRUE(s.setFormula(3, 3, "FETCH()"));
    EXPECT_EQ(s.data(3, 3), "21") << "the other table is loaded and recalculated";
    EXPECT_EQ(s.data(5, 5), "written") << "data written into the calling sheet";
}

TEST(CustomFunctionReentry, functionsThatWriteEachOthersInputsStopAsACycle) {
    Sheet s;
    sized(s, 6, 8);
    int calls = 0;
    // BUMP(from, to): writes from+1 into `to` and returns it.
    s.addCustomFunction("BUMP", 2, 2, [&](Sheet& caller, CellPos, FnValue& r, std::span<FnValue> a) {
        double v = caller.value(a[0].cells.col1, a[0].cells.row1).number + 1;
        if (++calls <= 100000) caller.setNumber(a[1].cells.col1, a[1].cells.row1, v);
        r.status = FnValue::Ok;
        r.kind = FnValue::Floating;
        r.floating = v;
        return true;
    });
    s.setOption(Sheet::kOptAutoRecalc, false);
    ASSERT_TRUE(s.setFormula(1, 1, "BUMP(C1,B1)"));
    ASSERT_TRUE(s.setFormula(1, 2, "BUMP(B1,C1)"));
    s.recalc();
    EXPECT_LT(calls, 5000) << "each write re-dirties the other formula; the recalculation must end";
    EXPECT_TRUE(s.data(1, 1) == "#CIRC!" || s.data(1, 2) == "#CIRC!")
        << "the formulas that kept feeding each other show a cycle";
    // A sheet without such functions is untouched by the bound.
    Sheet plain;
    sized(plain, 3, 3000);
    plain.setData(1, 1, "1");
    for (int r = 2; r <= 3000; ++r)
        plain.setFormula(1, r, "A" + std::to_string(r - 1) + "+1");
    plain.recalc();
    EXPECT_EQ(plain.data(1, 3000), "3000") << "a long chain is one round, not a cycle";
}

TEST(CustomFunctionReentry, aPositionArgumentIsNoInputOfTheFormula) {
    // FROMTABLE("t.sss", A1) typed in A1 showed #CIRC!: its A1 names a cell of the consulted table,
    // yet the engine took it as a cell the formula reads. A function declares such arguments.
    setPositionArguments("ATPOS", [](int argc, int index) { return argc == 1 && index == 0; });
    Sheet s;
    sized(s, 6, 8);
    s.addCustomFunction("ATPOS", 1, 1, [&](Sheet&, CellPos, FnValue& r, std::span<FnValue> a) {
        r.status = FnValue::Ok;
        r.kind = FnValue::Whole;
        r.whole = a[0].kind == FnValue::Cell ? a[0].cells.col1 * 100 + a[0].cells.row1 : -1;
        return true;
    });
    s.addCustomFunction("READS", 1, 1, [&](Sheet&, CellPos, FnValue& r, std::span<FnValue>) {
        r.status = FnValue::Ok;
        r.kind = FnValue::Whole;
        r.whole = 1;
        return true;
    });
    s.setOption(Sheet::kOptAutoRecalc, false);
    struct Case {
        int col, row;
        const char* formula;
        const char* shows;
        const char* why;
    } cases[] = {
        {1, 1, "ATPOS(A1)", "101", "its own cell as a position"},
        {2, 1, "ATPOS(C1)", "301", "two cells naming each other as positions ..."},
        {3, 1, "ATPOS(B1)", "201", "... are no cycle"},
        {1, 3, "ATPOS((A3))+1", "104", "a position in parentheses"},
        {1, 4, "READS(A4)", "#CIRC!", "an ordinary reference to its own cell is still a cycle"},
    };
    for (const Case& k : cases)
        ASSERT_TRUE(s.setFormula(k.col, k.row, k.formula)) << k.formula;
    s.recalc();
    for (const Case& k : cases)
        EXPECT_EQ(s.data(k.col, k.row), k.shows) << k.why;
    setPositionArguments("ATPOS", nullptr);
}
