// Formulas from a table file may be as long and as deeply nested as an attacker likes: the engine
// refuses what is beyond its limits with a clear error, and what it accepts it compiles, prints,
// reads back and evaluates without running out of stack (these tests run under AddressSanitizer,
// whose larger stack frames make an unbounded recursion show early).
#include "SheetTestUtil.h"

#include <sheet/Compiler.h>

#include <gtest/gtest.h>

#include <string>

using namespace sheet;
using sheet::test::sized;

namespace {
std::string repeat(const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * std::size_t(n));
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}
} // namespace

TEST(FormulaDepth, beyondTheLimitsIsRefusedCleanly) {
    struct Case {
        std::string text;
        const char* why;
    } cases[] = {
        {repeat("(", 5000) + "1" + repeat(")", 5000), "parentheses"},
        {repeat("-", 10000) + "1", "unary minus signs"},
        {repeat("+-", 5000) + "1", "alternating signs"},
        {repeat("SUM(", 3000) + "1" + repeat(")", 3000), "function calls"},
        {repeat("IF(1,", 3000) + "1" + repeat(",0)", 3000), "IF, whose branches are compiled apart"},
        {repeat("(", 100000), "unclosed parentheses past the length limit"},
        {"1" + repeat("+1", 120000), "a sum past the length limit"},
    };
    for (const Case& c : cases) {
        ParseError err;
        ProgramPtr p = compileFormula(c.text, RefStyle::A1, {1, 1}, err);
        EXPECT_EQ(p, nullptr) << c.why;
        EXPECT_EQ(err.code, ParseErrorCode::TooComplex) << c.why << ": " << err.message;
        EXPECT_LE(err.position, 16384) << "the position points into the text: " << c.why;
        Sheet s;
        sized(s);
        EXPECT_FALSE(s.setFormula(2, 2, c.text)) << c.why;
        EXPECT_FALSE(s.hasFormula(2, 2)) << c.why;
    }
}

TEST(FormulaDepth, longestAcceptedFormulasEvaluateAndRoundTrip) {
    struct Case {
        std::string text;
        std::string shown;
        const char* why;
    } cases[] = {
        {"1" + repeat("+1", 8000), "8001", "a left-deep chain of 8000 operators, just inside the length"},
        {"A1" + repeat("-A1", 5000), "-4999", "a chain of references"},
        {repeat("(", 60) + "2" + repeat(")", 60), "2", "sixty parentheses"},
        {repeat("-", 60) + "2", "2", "sixty signs"},
        {"2" + repeat("^1", 7000), "2", "powers"},
        {"\"a\"" + repeat("&\"a\"", 3000), std::string(3001, 'a'), "joined texts"},
        {repeat("ABS(", 60) + "-3" + repeat(")", 60), "3", "sixty nested calls"},
    };
    for (const Case& c : cases) {
        Sheet s;
        sized(s);
        s.setData(1, 1, "1");
        ParseError err;
        ASSERT_TRUE(s.setFormula(2, 2, c.text, &err)) << c.why << ": " << err.message;
        EXPECT_EQ(s.data(2, 2), c.shown) << c.why;
        std::string printed = s.formula(2, 2, RefStyle::A1);
        ParseError again;
        ProgramPtr p = compileFormula(printed, RefStyle::A1, {2, 2}, again);
        ASSERT_NE(p, nullptr) << "what the engine prints it reads back: " << c.why << ": " << again.message;
        EXPECT_EQ(printFormula(*p, RefStyle::A1, {2, 2}), printed) << c.why;
    }
}
