// Functions given counts, indexes and formats far outside what they can use answer with a value
// or an error value; none converts an out-of-range number or loops over it.
#include "SheetTestUtil.h"

#include <gtest/gtest.h>

using namespace sheet;
using namespace sheet::test;

TEST(FunctionLimits, hugeCountsIndexesAndScalesGiveErrorValues) {
    Sheet s;
    sized(s);
    s.setNumber(1, 1, 1);
    s.setNumber(1, 2, 2);
    s.setNumber(2, 1, 10);
    s.setNumber(2, 2, 20);
    const std::pair<const char*, const char*> cases[] = {
        {"TEXT(1,\"0\"&REPT(\"%\",200))", "#NUM!"}, // 100^200 is beyond a double
        {"TEXT(1E-300,\"0000000000000000000000000000000E+0\")", "#NUM!"},
        {"TEXT(0.5,\"0%\")", "50%"},
        {"ROUND(2.5,1E10)", "2.5"},
        {"ROUND(2.5,-1E10)", "0"},
        {"ROUNDDOWN(-2.5,-1E300)", "0"},
        {"ROUND(1E300,300)", "1E+300"},
        {"TRUNC(2.5,1E300)", "2.5"},
        {"VLOOKUP(1,A1:B2,1E10)", "#REF!"},
        {"VLOOKUP(1,A1:B2,-1E10)", "#VALUE!"},
        {"HLOOKUP(1,A1:B2,1E300)", "#REF!"},
        {"INDEX(A1:B2,1E10,1)", "#REF!"},
        {"INDEX(A1:B2,-1E10,1)", "#REF!"},
        {"INDEX(A1:B2,2,1E300)", "#REF!"},
        {"MATCH(2,A1:A2,1E10)", "2"},
        {"FIXED(1,1E10)", "#VALUE!"},
        {"FIXED(1234.5,-1E10)", "0"},
        {"REPT(\"\",1E300)", ""},
        {"LEN(REPT(\"\",1E9))", "0"},
        {"REPT(\"ab\",1E300)", "#VALUE!"},
        {"LEFT(\"abc\",1E300)", "abc"},
        {"MID(\"abc\",1E300,1E300)", ""},
        {"CHOOSE(1E300,1,2)", "#VALUE!"},
        {"CHOOSE(-1E300,1,2)", "#VALUE!"},
        {"FACT(1E300)", "#NUM!"},
    };
    for (auto [f, shown] : cases)
        EXPECT_EQ(eval(s, f, 5, 5), shown) << f;
}
