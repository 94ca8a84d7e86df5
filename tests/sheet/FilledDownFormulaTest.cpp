// Formulas filled down a column reuse the program of the rows above without compiling again.
// Whatever the sheet reuses must be exactly what compiling the text would give: every formula
// entered here is checked against a fresh compile of its text at its own cell, including texts
// that look like their neighbours but differ in a constant, an absolute row, a column or the
// distance a reference moved.
#include "SheetTestUtil.h"

#include <sheet/Compiler.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace sheet;

namespace {
// What the sheet holds at (col, row) must print as the fresh compile of the text there.
void expectAsCompiled(Sheet& s, int col, int row, const std::string& text) {
    ParseError err;
    ProgramPtr fresh = compileFormula(text, s.refStyle(), {col, row}, err);
    ASSERT_TRUE(fresh) << text << ": " << err.message;
    ASSERT_TRUE(s.setFormula(col, row, text)) << text;
    EXPECT_EQ(s.formula(col, row), printFormula(*fresh, s.refStyle(), {col, row}))
        << "'" << text << "' at column " << col << ", row " << row;
}
} // namespace

TEST(FilledDownFormula, reusedProgramsAreWhatCompilingGives) {
    Sheet s;
    s.setMaxCols(20);
    s.setMaxRows(100'000);
    s.setOption(Sheet::kOptAutoRecalc, false);
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    // Each template gets the row (moving with the formula) or a random number (a neighbour that
    // only looks alike) in each slot.
    const std::string templates[] = {
        "=B{r}*2+C{r}",
        "=SUM(A{r}:A{r})+{k}",
        "=$A$1+A{r}",
        "=A${k}*B{r}",
        "=ROUND(E{r}*1.2345,{k})",
        "=IF(B{r}>50,C{r}*2,C{r}/{k})",
        "=\"r\"&A{r}&\"/{k}\"",
        "=VLOOKUP(D{r},$L$1:$M${k},2,FALSE())",
        "=A{r}+A{r}",
        "=LOG10(A{r})",
    };
    for (int round = 0; round < 3; ++round)
        for (const std::string& t : templates) {
            const int col = pick(1, 12), start = pick(2, 50'000), offset = pick(-1, 1);
            for (int row = start; row < start + 40; ++row) {
                std::string text;
                for (std::size_t i = 0; i < t.size(); ++i) {
                    if (t.compare(i, 3, "{r}") == 0) {
                        // mostly the row itself (filled down), now and then off by some rows
                        int r = pick(0, 9) == 0 ? row + pick(-3, 3) : row + offset;
                        text += std::to_string(std::max(1, r));
                        i += 2;
                    } else if (t.compare(i, 3, "{k}") == 0) {
                        text += std::to_string(pick(0, 3) == 0 ? pick(1, 999) : 7);
                        i += 2;
                    } else {
                        text += t[i];
                    }
                }
                // Now and then the same text one column over: relative columns must not be shared.
                const int c = pick(0, 7) == 0 ? col + 1 : col;
                ASSERT_NO_FATAL_FAILURE(expectAsCompiled(s, c, row, text));
            }
        }
}

TEST(FilledDownFormula, filledDownResultsAndTextsFollowTheirRows) {
    Sheet s;
    s.setMaxCols(4);
    s.setMaxRows(2000);
    for (int r = 1; r <= 2000; ++r) {
        s.setNumber(2, r, r);
        ASSERT_TRUE(s.setFormula(1, r, "=B" + std::to_string(r) + "*2+1"));
    }
    for (int r : {1, 2, 3, 64, 65, 1999, 2000}) {
        EXPECT_EQ(s.value(1, r).number, 2.0 * r + 1) << "row " << r;
        EXPECT_EQ(s.formula(1, r), "B" + std::to_string(r) + "*2+1") << "row " << r;
    }
    // A leading zero is not a row number the sheet would print: such a text is compiled.
    ASSERT_TRUE(s.setFormula(1, 100, "=B0100*2+1"));
    EXPECT_EQ(s.value(1, 100).number, 201.0);
    // A reference moved beyond the last row is refused as compiling refuses it.
    Sheet big;
    big.setMaxCols(2);
    big.setMaxRows(kMaxRowLimit);
    for (int r = kMaxRowLimit - 3; r < kMaxRowLimit; ++r)
        ASSERT_TRUE(big.setFormula(1, r, "=B" + std::to_string(r + 1)));
    EXPECT_FALSE(big.setFormula(1, kMaxRowLimit, "=B" + std::to_string(kMaxRowLimit + 1)));
}

TEST(FilledDownFormula, aCustomFunctionRegisteredLaterIsSeenByTheNextFormula) {
    auto twice = [](Sheet&, CellPos, FnValue& out, std::span<FnValue> a) {
        out = a[0];
        out.floating *= 2;
        return true;
    };
    // Entered before the function exists, with two arguments; then the function arrives taking one.
    Sheet s, fresh;
    for (Sheet* x : {&s, &fresh}) {
        x->setMaxCols(3);
        x->setMaxRows(100);
    }
    for (int r = 1; r <= 3; ++r)
        s.setFormula(1, r, "=TWICE(B" + std::to_string(r) + ",C" + std::to_string(r) + ")");
    s.addCustomFunction("TWICE", 1, 1, twice);
    fresh.addCustomFunction("TWICE", 1, 1, twice);
    const std::string text = "=TWICE(B4,C4)";
    EXPECT_EQ(s.setFormula(1, 4, text), fresh.setFormula(1, 4, text));
    EXPECT_EQ(s.formula(1, 4), fresh.formula(1, 4));
}
