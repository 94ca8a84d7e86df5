// The formula language: values, precedence, reference styles, errors and printing back.
#include "SheetTestUtil.h"

#include <sheet/Compiler.h>

#include <gtest/gtest.h>

using namespace sheet;
using namespace sheet::test;

namespace {

Sheet& fixture(Sheet& s) {
    s.setMaxCols(10);
    s.setMaxRows(20);
    s.setData(1, 1, "2");   // A1
    s.setData(1, 2, "3");   // A2
    s.setData(1, 3, "abc"); // A3
    s.setData(2, 1, "10");  // B1
    return s;
}

} // namespace

TEST(Formula, operatorsFollowSpreadsheetPrecedence) {
    Sheet s;
    fixture(s);
    struct Case {
        const char* formula;
        const char* expected;
        const char* why;
    } cases[] = {
        {"1+2*3", "7", "* before +"},
        {"-2^2", "4", "unary minus binds tighter than ^"},
        {"2^3^2", "64", "^ is left associative"},
        {"0-2^2", "-4", "binary minus after ^"},
        {"50%*2", "1", "percent divides by 100"},
        {"1+2&3", "33", "& after +"},
        {"1+1=2", "TRUE", "comparison last"},
        {"\"a\"<\"B\"", "TRUE", "text compares without case"},
        {"1<\"a\"", "TRUE", "numbers sort before texts"},
        {"A1*A2+B1", "16", "cell values"},
        {"A1&A3", "2abc", "number joined to text"},
        {"A3+1", "#VALUE!", "text in arithmetic"},
        {"1/0", "#DIV/0!", "division by zero"},
        {"(1/0)+A3", "#DIV/0!", "the left error wins"},
        {"#N/A", "#N/A", "error literal"},
        {"C9", "0", "empty cell reads as 0"},
        {"\"x\"\"y\"", "x\"y", "doubled quote in text"},
        {"TRUE+1", "2", "booleans count as numbers"},
        {"sum(a1:a2)", "5", "names and references in any case"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eval(s, c.formula), c.expected) << c.formula << ": " << c.why;
}

TEST(Formula, currentRowAndColumnReferences) {
    Sheet s;
    fixture(s);
    s.setData(3, 1, "1");
    s.setData(3, 2, "2");
    s.setData(3, 3, "4");
    // In column C, "#1:#3" is C1:C3; "A#" in row 2 is A2.
    EXPECT_EQ(eval(s, "sum(#1:#3)", 3, 6), "7");
    EXPECT_EQ(eval(s, "A#*10", 4, 2), "30");
    EXPECT_EQ(s.formula(3, 6), "SUM(#1:#3)");
    EXPECT_EQ(s.formula(3, 6, RefStyle::A1), "SUM(C1:C3)");
    EXPECT_EQ(s.formula(3, 6, RefStyle::R1C1), "SUM(R[-5]C:R[-3]C)");
}

TEST(Formula, refusedFormulasReportCodeAndPosition) {
    struct Case {
        const char* formula;
        ParseErrorCode code;
        int position;
    } cases[] = {
        {"1+", ParseErrorCode::UnexpectedToken, 2},
        {"(1+2", ParseErrorCode::MissingParenthesis, 4},
        {"1+2)", ParseErrorCode::UnexpectedToken, 3},
        {"\"abc", ParseErrorCode::UnterminatedString, 0},
        {"1 ? 2", ParseErrorCode::UnexpectedCharacter, 2},
        {"SUM(1:2)", ParseErrorCode::RangeOperand, 5},
        {"SQRT(1,2)", ParseErrorCode::ArgumentCount, 0},
        {"=foo+1", ParseErrorCode::UnexpectedToken, 1},
        {"", ParseErrorCode::Empty, 0},
    };
    for (const auto& c : cases) {
        ParseError err;
        EXPECT_FALSE(compileFormula(c.formula, RefStyle::A1, {1, 1}, err)) << c.formula;
        EXPECT_EQ(err.code, c.code) << c.formula << " " << err.message;
        EXPECT_EQ(err.position, c.position) << c.formula;
    }
    ParseError deep;
    EXPECT_FALSE(
        compileFormula(std::string(5000, '(') + "1" + std::string(5000, ')'), RefStyle::A1, {1, 1}, deep));
    EXPECT_EQ(deep.code, ParseErrorCode::TooComplex);
}

TEST(Formula, refusedFormulaLeavesTheCellAsItWas) {
    Sheet s;
    fixture(s);
    ASSERT_TRUE(s.setFormula(2, 2, "A1*2"));
    ParseError err;
    EXPECT_FALSE(s.setFormula(2, 2, "A1*", &err));
    EXPECT_EQ(s.formula(2, 2), "A1*2");
    EXPECT_EQ(s.data(2, 2), "4");
}

TEST(Formula, onlyTheBranchTakenIsEvaluated) {
    Sheet s;
    fixture(s);
    int calls = 0;
    s.addCustomFunction("COUNTME", 0, 1, [&](Sheet&, CellPos, FnValue& r, std::span<FnValue>) {
        ++calls;
        r.status = FnValue::Ok;
        r.kind = FnValue::Whole;
        r.whole = 5;
        return true;
    });
    EXPECT_EQ(eval(s, "IF(A1>1,1,COUNTME())"), "1");
    EXPECT_EQ(eval(s, "IF(A1<1,1,COUNTME())"), "5");
    EXPECT_EQ(eval(s, "CHOOSE(2,COUNTME(),7,COUNTME())"), "7");
    EXPECT_EQ(eval(s, "IFERROR(3,COUNTME())"), "3");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(eval(s, "IF(A1<1,1)"), "FALSE");
    EXPECT_EQ(eval(s, "CHOOSE(4,1,2,3)"), "#VALUE!");
}

TEST(Formula, referencesOffTheSheetAreRefErrors) {
    Sheet s;
    fixture(s);
    s.setRefStyle(RefStyle::R1C1);
    EXPECT_EQ(eval(s, "R[-5]C+1", 2, 2), "#REF!");
    EXPECT_EQ(eval(s, "R1C1+R[-1]C[-1]", 2, 2), "4");
}
