// Reference styles: a formula printed in any style reads back as the same program.
#include <sheet/Compiler.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace sheet;

namespace {
// Two programs are the same when every instruction and every table matches.
::testing::AssertionResult sameProgram(const Program& a, const Program& b) {
    if (a.code.size() != b.code.size())
        return ::testing::AssertionFailure() << a.code.size() << " vs " << b.code.size() << " instructions";
    for (std::size_t i = 0; i < a.code.size(); ++i) {
        const Instr &x = a.code[i], &y = b.code[i];
        if (x.op != y.op || x.modes != y.modes || x.argc != y.argc || x.arg != y.arg ||
            std::memcmp(x.v, y.v, sizeof x.v) != 0)
            return ::testing::AssertionFailure() << "instruction " << i << " differs";
    }
    if (a.strings != b.strings) return ::testing::AssertionFailure() << "strings differ";
    if (a.names != b.names) return ::testing::AssertionFailure() << "names differ";
    if (a.tables != b.tables) return ::testing::AssertionFailure() << "jump tables differ";
    return ::testing::AssertionSuccess();
}

bool usesCurrent(const Program& p) {
    for (const Instr& in : p.code)
        if ((in.op == Op::PushRef || in.op == Op::PushRange) && in.modes) {
            for (int i = 0; i < (in.op == Op::PushRef ? 2 : 4); ++i)
                if (in.mode(i) == AxisMode::Current) return true;
        }
    return false;
}

constexpr RefStyle kStyles[] = {RefStyle::Default, RefStyle::A1, RefStyle::R1C1, RefStyle::R1C1Exact};
const char* styleName(RefStyle s) {
    const char* names[] = {"Default", "A1", "R1C1", "R1C1Exact"};
    return names[int(s)];
}
} // namespace

TEST(FormulaStyles, everyStylePrintsWhatReadsBackAsTheSameProgram) {
    struct Source {
        RefStyle style;
        const char* text;
    } sources[] = {
        {RefStyle::A1, "A1"},
        {RefStyle::A1, "$A$1+B$2-$C3*D4/E5^F6"},
        {RefStyle::A1, "SUM(A1:C3,$E$1:E$9,Z100:AA101)"},
        {RefStyle::A1, "SUM(C3:A1)"},
        {RefStyle::A1, "XFD1048576+AAA1"},
        {RefStyle::A1, "IF(A1>=2,\"big \"\"one\"\"\",IF(A1<>0,-A1%,FALSE))"},
        {RefStyle::A1, "IF(A1,B1)"},
        {RefStyle::A1, "CHOOSE(A1,B1,\"x\",C1:C2,1E+100)"},
        {RefStyle::A1, "IFERROR(VLOOKUP(A1,$B$1:$D$9,2,FALSE),#N/A)"},
        {RefStyle::A1, "-(-(+A1))^2&\"\"&TRUE"},
        {RefStyle::A1, "((1+2))*((3))"},
        {RefStyle::A1, "1E-300+0.000001+123456789012345+0.1"},
        {RefStyle::A1, "CUSTOMFN(A1,,\"t\",B1:B2)+OTHER()"},
        {RefStyle::A1, "#DIV/0!+#REF!+#NAME?+#NULL!+#NUM!+#VALUE!"},
        {RefStyle::A1, "A1=B1<>C1<D1<=E1>F1>=G1"},
        {RefStyle::A1, "SUMPRODUCT(A1:A3,B1:B3)/COUNTIF(A1:A9,\">2\")"},
        {RefStyle::A1, "INDEX(A1:C3,2,2)&MID(\"abc\",2,1)"},
        {RefStyle::A1, "ROW()+COLUMN()+ROW(B7)"},
        {RefStyle::Default, "SUM(#1:#3)"},
        {RefStyle::Default, "A#*B#+$C#"},
        {RefStyle::Default, "#2+#$3"},
        {RefStyle::Default, "SUM(A#:C#)"},
        {RefStyle::R1C1, "R1C1+R[1]C[-1]+RC+R[-2]C2+R3C[4]"},
        {RefStyle::R1C1, "SUM(R[-3]C:R[-1]C)"},
        {RefStyle::R1C1, "SUM(R1C1:R2C2)*R[2]C[2]"},
        {RefStyle::R1C1Exact, "R#C1+R3C#+SUM(R1C#:R2C#)"},
    };
    const CellPos host{4, 5};
    for (const Source& src : sources) {
        ParseError err;
        ProgramPtr p = compileFormula(src.text, src.style, host, err);
        ASSERT_TRUE(p) << src.text << ": " << err.message;
        const std::string a1 = printFormula(*p, RefStyle::A1, host);
        for (RefStyle st : kStyles) {
            SCOPED_TRACE(std::string(src.text) + " printed in " + styleName(st));
            std::string text = printFormula(*p, st, host);
            ProgramPtr q = compileFormula(text, st, host, err);
            ASSERT_TRUE(q) << text << ": " << err.message;
            // A1 and plain R1C1 have no way to write "the current row": such a reference comes back
            // as an ordinary relative one to the same cell.
            if (!usesCurrent(*p) || st == RefStyle::Default || st == RefStyle::R1C1Exact)
                EXPECT_TRUE(sameProgram(*p, *q)) << text;
            else
                EXPECT_EQ(printFormula(*q, RefStyle::A1, host), a1) << text;
            // Printing is stable: the reparsed program prints the same text again.
            EXPECT_EQ(printFormula(*q, st, host), text);
        }
    }
}

TEST(FormulaStyles, referencesReadTheSameCellsInEveryStyle) {
    // One cell, written in each style, from the host D5.
    struct Case {
        RefStyle style;
        const char* text;
        const char* a1;
    } cases[] = {
        {RefStyle::A1, "B3", "B3"},           {RefStyle::R1C1, "R3C2", "$B$3"},
        {RefStyle::R1C1, "R[-2]C[-2]", "B3"}, {RefStyle::R1C1, "RC", "D5"},
        {RefStyle::Default, "#3", "D3"},      {RefStyle::Default, "B#", "B5"},
        {RefStyle::R1C1Exact, "R#C2", "$B5"}, {RefStyle::R1C1, "R[1]C", "D6"},
    };
    for (const Case& c : cases) {
        ParseError err;
        ProgramPtr p = compileFormula(c.text, c.style, {4, 5}, err);
        ASSERT_TRUE(p) << c.text << ": " << err.message;
        EXPECT_EQ(printFormula(*p, RefStyle::A1, {4, 5}), c.a1) << c.text;
    }
}
