// Readers of formulas run again only when a formula they read comes out changed; whatever the
// order of edits, the values agree with a recalculation of everything.
#include "SheetTestUtil.h"

#include <sheet/SssFile.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace sheet;
using namespace sheet::test;

TEST(RecalcCutoff, readersRunOnlyWhenWhatTheyReadChanges) {
    // B1 turns A1 into a flag; C1:C50 (arithmetic) and D1 (text) read only the flag, E1 reads the
    // flag and A1 itself.
    Sheet s;
    sized(s, 6, 60);
    s.setNumber(1, 1, 1);
    s.setFormula(2, 1, "IF(A1>10,1,0)");
    for (int r = 1; r <= 50; ++r)
        s.setFormula(3, r, "B1*" + std::to_string(r));
    s.setFormula(4, 1, "B1&\"x\"");
    s.setFormula(5, 1, "B1+A1");
    s.setFormula(6, 1, "D1&C50"); // two steps away
    struct Step {
        double a1;
        unsigned evaluations;
        const char* d1;
        const char* why;
    } steps[] = {
        {2, 2, "0x", "the flag stays 0: only B1 and E1, which reads A1 itself"},
        {20, 54, "1x", "the flag turns 1: every reader, and F1 behind them"},
        {30, 2, "1x", "the flag stays 1"},
        {-5, 54, "0x", "and back"},
    };
    for (const Step& st : steps) {
        s.resetEvaluations();
        s.setNumber(1, 1, st.a1);
        EXPECT_EQ(s.evaluations(), st.evaluations) << st.why;
        EXPECT_EQ(s.data(4, 1), st.d1) << st.why;
        EXPECT_EQ(s.value(5, 1).number, s.value(2, 1).number + st.a1) << st.why;
        EXPECT_EQ(s.data(6, 1), std::string(st.d1) + (st.a1 > 10 ? "50" : "0")) << st.why;
    }
}

TEST(RecalcCutoff, manualEditsThenRecalculationGiveTheSameValues) {
    // In manual mode a formula may be suspect from one edit and dirty from the next.
    Sheet s;
    sized(s, 6, 20);
    s.setOption(Sheet::kOptAutoRecalc, false);
    s.setNumber(1, 1, 1);
    s.setNumber(1, 2, 1);
    s.setFormula(2, 1, "IF(A1>10,1,0)");
    s.setFormula(3, 1, "B1&\"-\"&A2"); // suspect through B1, dirty through A2
    s.recalc();
    s.setNumber(1, 1, 2); // C1 suspect
    s.setNumber(1, 2, 7); // C1 dirty
    ASSERT_TRUE(s.recalcCell(2, 1));
    EXPECT_EQ(s.data(3, 1), "0-1") << "not recalculated yet in manual mode";
    s.recalc();
    EXPECT_EQ(s.data(3, 1), "0-7");
}

TEST(RecalcCutoff, randomEditsAgreeWithAFullRecalculation) {
    // Formulas of every shape reading earlier rows; after each edit the sheet must read what a
    // freshly loaded copy recalculated from scratch reads.
    std::mt19937 rng(7);
    Sheet s;
    sized(s, 8, 80);
    for (int r = 1; r <= 40; ++r)
        s.setNumber(1, r, double(rng() % 20));
    const char* shapes[] = {
        "IF(A{r}>10,A{p},0)", "B{p}+C{p}",          "VLOOKUP(A{r},A1:A40,1,FALSE())", "C{p}&\"/\"&A{r}",
        "ROUND(B{p}/3,1)",    "SUM(B1:B{p})",       "MATCH(A{r},A1:A40,0)",           "LEN(D{p})",
        "MAX(A{r},B{p})",     "IFERROR(1/A{r},-1)",
    };
    auto expand = [](std::string f, int r) {
        for (auto [key, v] : {std::pair<const char*, int>{"{r}", r}, {"{p}", r - 1}})
            for (std::size_t at; (at = f.find(key)) != std::string::npos;)
                f.replace(at, 3, std::to_string(v));
        return f;
    };
    for (int r = 2; r <= 40; ++r) // each reads its own row of A and rows above: no cycles
        for (int c = 2; c <= 4; ++c)
            ASSERT_TRUE(s.setFormula(c, r, expand(shapes[rng() % std::size(shapes)], r)));
    for (int step = 0; step < 40; ++step) {
        s.setNumber(1, int(1 + rng() % 40), double(rng() % 20));
        Sheet fresh;
        ASSERT_TRUE(sheetFromJson(fresh, sheetToJson(s)));
        fresh.recalc();
        for (int r = 2; r <= 40; ++r)
            for (int c = 2; c <= 4; ++c)
                ASSERT_EQ(s.data(c, r), fresh.data(c, r)) << "step " << step << ", " << s.formula(c, r);
    }
}
