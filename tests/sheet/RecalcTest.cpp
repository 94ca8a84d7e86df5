// Recalculation: the arithmetic fast path agrees with the general evaluator, pending inputs are
// computed first, and circular references are reported and recover when broken.
#include "SheetTestUtil.h"

#include <gtest/gtest.h>

using namespace sheet;
using namespace sheet::test;

namespace {
// Inputs of every kind an arithmetic formula may meet.
void inputs(Sheet& s) {
    sized(s, 10, 40);
    s.setNumber(1, 1, 6);                   // A1 number
    s.setData(1, 2, "12");                  // A2 typed number
    s.setData(1, 3, "abc");                 // A3 text
    s.setValue(1, 4, Value::str("7"));      // A4 numeric text
    s.setValue(1, 5, Value::boolean(true)); // A5 boolean
    s.setFormula(1, 6, "1/0");              // A6 error
    s.setNumber(1, 7, 0);                   // A7 zero
    s.setNumber(1, 8, 1e308);               // A8 huge
    s.setFormula(1, 9, "\"\"");             // A9 empty text from a formula
    s.setNumber(1, 10, -2.5);               // A10 negative
    /* A11 stays empty */
}
} // namespace

TEST(SheetRecalc, arithmeticFormulasGiveWhatTheGeneralEvaluatorGives) {
    // IF(TRUE,x) is no plain arithmetic, so it always takes the general way: both must agree for
    // every kind of input, including the ones the fast path has to hand over.
    const char* formulas[] = {"A1*2+A2",  "A1-A10",   "A1/A7",      "A8*10",   "-A8*10",  "A3+1",    "A4*2",
                              "A5+1",     "A6*1",     "A9+1",       "A11*3",   "A11",     "-A11",    "A1%",
                              "-(A1+A2)", "A1/A10",   "A7/A7",      "A1",      "A3",      "A5",      "A6",
                              "1+2*3-4",  "A1*A1*A1", "(A1+A2)/A1", "A11+A11", "A10%*A8", "-A7",     "A12/A1",
                              "1/A11",    "R1C1+1",   "A8+A8",      "A8/0.1",  "0.1+0.2", "A1-A1-A1"};
    for (const char* f : formulas) {
        Sheet s;
        inputs(s);
        if (std::string(f) == "R1C1+1") s.setRefStyle(RefStyle::R1C1);
        std::string fast = eval(s, f, 3, 1);
        std::string general = eval(s, std::string("IF(TRUE,") + f + ")", 3, 2);
        EXPECT_EQ(fast, general) << f;
        EXPECT_EQ(s.value(3, 1), s.value(3, 2)) << f;
        s.recalc(); // a full recalculation goes the same ways again
        EXPECT_EQ(s.data(3, 1), general) << f << " after recalc";
    }
}

TEST(SheetRecalc, formulasReadPendingFormulasOnlyAfterComputingThem) {
    // Formulas entered in manual mode from the bottom up: every one reads a pending formula.
    for (bool byCell : {false, true}) {
        Sheet s;
        sized(s, 4, 200);
        s.setOption(Sheet::kOptAutoRecalc, false);
        for (int r = 200; r >= 2; --r)
            s.setFormula(1, r, "A" + std::to_string(r - 1) + "*1+B" + std::to_string(r));
        for (int r = 1; r <= 200; ++r)
            s.setNumber(2, r, 1);
        s.setNumber(1, 1, 5);
        if (byCell)
            ASSERT_TRUE(s.recalcCell(1, 200));
        else
            s.recalc();
        EXPECT_EQ(s.data(1, 200), "204") << (byCell ? "recalcCell" : "recalc");
        EXPECT_EQ(s.data(1, 100), "104") << (byCell ? "recalcCell" : "recalc");
    }
}

TEST(SheetRecalc, changedInputRecalculatesDependentsThroughTheFastPath) {
    Sheet s;
    sized(s, 3, 100);
    for (int r = 1; r <= 100; ++r) {
        s.setNumber(2, r, r);
        s.setFormula(1, r, "B" + std::to_string(r) + "*2+C" + std::to_string(r));
    }
    s.setFormula(3, 100, "A1+A2"); // a formula input further down
    EXPECT_EQ(s.data(1, 100), "206");
    s.resetEvaluations();
    s.setNumber(2, 1, 10);
    EXPECT_EQ(s.evaluations(), 3u) << "A1, C100 and A100";
    EXPECT_EQ(s.data(1, 100), "224");
    s.setData(2, 2, "text");
    EXPECT_EQ(s.data(1, 2), "#VALUE!");
    EXPECT_EQ(s.data(1, 100), "#VALUE!") << "the error travels on";
    s.setNumber(2, 2, 1);
    EXPECT_EQ(s.data(1, 100), "222");
}

TEST(SheetRecalc, circularReferencesAreMarkedAndRecoverWhenBroken) {
    struct Case {
        const char* why;
        std::vector<std::pair<const char*, const char*>> formulas; // cell, formula
        std::vector<const char*> circular;                         // cells showing #CIRC!
        std::pair<const char*, const char*> fix;                   // cell, formula that breaks it
        std::vector<std::pair<const char*, const char*>> after;    // cell, shown value
    } cases[] = {
        {"a cell reading itself", {{"B1", "B1+1"}}, {"B1"}, {"B1", "A1+1"}, {{"B1", "2"}}},
        {"two cells",
         {{"B1", "B2*2"}, {"B2", "B1+1"}},
         {"B1", "B2"},
         {"B2", "A1"},
         {{"B1", "2"}, {"B2", "1"}}},
        {"through a range",
         {{"B1", "SUM(B2:B4)"}, {"B3", "B1"}},
         {"B1", "B3"},
         {"B3", "5"},
         {{"B1", "5"}, {"B3", "5"}}},
        {"a long ring and a reader outside it",
         {{"B1", "B2"}, {"B2", "B3"}, {"B3", "B4"}, {"B4", "B5"}, {"B5", "B1+A1"}, {"C1", "B3*2"}},
         {"B1", "B2", "B3", "B4", "B5", "C1"},
         {"B5", "A1*3"},
         {{"B1", "3"}, {"B4", "3"}, {"C1", "6"}}},
        {"through a large range",
         {{"B1", "SUM(B2:C200)"}, {"C150", "B1+1"}},
         {"B1", "C150"},
         {"C150", "7"},
         {{"B1", "7"}, {"C150", "7"}}},
    };
    for (const auto& c : cases) {
        Sheet s;
        sized(s, 5, 200);
        s.setNumber(1, 1, 1);
        for (auto [cell, f] : c.formulas)
            ASSERT_TRUE(s.setFormula(at(cell).col, at(cell).row, f)) << c.why << ": " << f;
        for (const char* cell : c.circular)
            EXPECT_EQ(s.data(at(cell).col, at(cell).row), "#CIRC!") << c.why << ": " << cell;
        s.recalc();
        for (const char* cell : c.circular)
            EXPECT_EQ(s.data(at(cell).col, at(cell).row), "#CIRC!") << c.why << " after recalc: " << cell;
        ASSERT_TRUE(s.setFormula(at(c.fix.first).col, at(c.fix.first).row, c.fix.second)) << c.why;
        for (auto [cell, shown] : c.after)
            EXPECT_EQ(s.data(at(cell).col, at(cell).row), shown) << c.why << " broken: " << cell;
    }
}

TEST(SheetRecalc, customFunctionArgumentCountsAreCheckedAtEveryStage) {
    Sheet s;
    sized(s);
    int calls = 0;
    auto count = [&](Sheet&, CellPos, FnValue& r, std::span<FnValue> a) {
        ++calls;
        r.status = FnValue::Ok;
        r.kind = FnValue::Whole;
        r.whole = int(a.size());
        return true;
    };
    s.addCustomFunction("Args", 1, 3, count);
    struct Case {
        const char* formula;
        bool accepted;
        const char* shown;
    } cases[] = {
        {"ARGS()", false, ""},
        {"ARGS(1)", true, "1"},
        {"args(1,2,3)", true, "3"},
        {"ARGS(1,2,3,4)", false, ""},
        {"ARGS(1,,3)", true, "3"},
        {"ARGS(E5:F6)", true, "1"},
        {"1+ARGS(ARGS(1,2))", true, "2"},
    };
    for (const auto& c : cases) {
        ParseError err;
        bool ok = s.setFormula(2, 2, c.formula, &err);
        EXPECT_EQ(ok, c.accepted) << c.formula;
        if (ok)
            EXPECT_EQ(s.data(2, 2), c.shown) << c.formula;
        else
            EXPECT_EQ(err.code, ParseErrorCode::ArgumentCount) << c.formula;
        s.setFormula(2, 2, "");
    }
    // Formulas written before the function was (re)registered with other bounds are checked when
    // called: the cell shows #VALUE! and the function is not run with arguments it does not expect.
    ASSERT_TRUE(s.setFormula(3, 3, "LATER(1,2,3)"));
    EXPECT_EQ(s.data(3, 3), "#NAME?");
    calls = 0;
    s.addCustomFunction("LATER", 0, 2, count);
    s.recalc();
    EXPECT_EQ(s.data(3, 3), "#VALUE!");
    s.addCustomFunction("ARGS", 2, 2, count);
    ASSERT_TRUE(s.setFormula(4, 4, "ARGS(1,2)"));
    s.addCustomFunction("ARGS", 3, 3, count);
    s.recalc();
    EXPECT_EQ(s.data(4, 4), "#VALUE!");
    EXPECT_EQ(calls, 1) << "only the call that fitted the bounds of its time";
}
