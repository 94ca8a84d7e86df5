// Look-ups: empty keys and empty cells as the other spreadsheets treat them, and the indexes of
// looked-up columns and rows agreeing with a cell-by-cell search through every kind of change.
#include "SheetTestUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace sheet;
using namespace sheet::test;

namespace {
// A vertical table in A1:B40 and a horizontal one in D50:AQ51, long enough to be indexed, with
// empty key cells at position 3 and 35 and the same keys in both.
void tables(Sheet& s) {
    sized(s, 60, 60);
    for (int i = 1; i <= 40; ++i) {
        if (i == 3 || i == 35) {
            s.setNumber(2, i, 1000 + i); // a value beside an empty key
            s.setNumber(3 + i, 51, 1000 + i);
            continue;
        }
        const std::string key = i % 5 == 0 ? "Key" + std::to_string(i) : std::to_string(i * 10);
        s.setData(1, i, key);
        s.setNumber(2, i, i);
        s.setData(3 + i, 50, key);
        s.setNumber(3 + i, 51, i);
    }
}
} // namespace

TEST(Lookups, anEmptyKeyFindsNothingNotAnEmptyCell) {
    // F1 stays empty: a key read from it is an empty value in every look-up.
    struct Case {
        const char* formula;
        const char* why;
    } cases[] = {
        {"VLOOKUP(F1,A1:B40,2,FALSE())", "exact: the empty key cell A3 is no match"},
        {"VLOOKUP(F1,A1:B40,2,TRUE())", "approximate: no key lies at or below an empty one"},
        {"VLOOKUP(F1,A1:B10,2,FALSE())", "a short table, searched cell by cell"},
        {"HLOOKUP(F1,D50:AQ51,2,FALSE())", "horizontal exact"},
        {"HLOOKUP(F1,D50:AQ51,2)", "horizontal approximate"},
        {"MATCH(F1,A1:A40,0)", "MATCH exact"},
        {"MATCH(F1,A1:A40,1)", "MATCH ascending"},
        {"MATCH(F1,A1:A40,-1)", "MATCH descending"},
        {"LOOKUP(F1,A1:A40,B1:B40)", "LOOKUP"},
    };
    Sheet s;
    tables(s);
    for (const Case& c : cases)
        EXPECT_EQ(eval(s, c.formula, 8, 1), "#N/A") << c.formula << ": " << c.why;
}

TEST(Lookups, emptyCellsOfTheTableAreNeverFound) {
    struct Case {
        const char* formula;
        const char* expected;
        const char* why;
    } cases[] = {
        {"VLOOKUP(0,A1:B40,2,FALSE())", "#N/A", "an empty cell is not the number 0"},
        {"VLOOKUP(\"\",A1:B40,2,FALSE())", "#N/A", "nor the empty text"},
        {"MATCH(0,A1:A40,0)", "#N/A", "MATCH the same"},
        {"VLOOKUP(40,A1:B40,2,FALSE())", "4", "the row after an empty key is still found"},
        {"VLOOKUP(\"key35\",A1:B40,2,FALSE())", "#N/A", "no such key: row 35's key cell is empty"},
        {"VLOOKUP(\"key30\",A1:B40,2,FALSE())", "30", "texts match whatever their letter case"},
        {"HLOOKUP(\"KEY10\",D50:AQ51,2,FALSE())", "10", "horizontal too"},
    };
    Sheet s;
    tables(s);
    for (const Case& c : cases)
        EXPECT_EQ(eval(s, c.formula, 8, 1), c.expected) << c.formula << ": " << c.why;
}

TEST(Lookups, indexedSearchGivesWhatTheCellByCellSearchGives) {
    // Every key both through a long (indexed) table and through the same table cut into pieces
    // short enough to be searched cell by cell, by hand, must agree.
    Sheet s;
    tables(s);
    s.setData(1, 38, "20");                  // a repeated key: the first one wins
    s.setValue(1, 39, Value::boolean(true)); // a boolean key
    s.setNumber(1, 41, -0.0);
    s.setNumber(2, 41, 41);
    const char* keys[] = {"10",     "20",      "400", "\"key5\"", "\"KEY25\"", "\"k*25\"",   "\"Key?0\"",
                          "TRUE()", "FALSE()", "0",   "-0",       "\"20\"",    "20.0000001", "1E3"};
    for (const char* k : keys) {
        std::string indexed = eval(s, std::string("MATCH(") + k + ",A1:A41,0)", 8, 1);
        std::string linear;
        for (int from = 1; from <= 41 && linear.empty(); from += 20) {
            int to = std::min(41, from + 19);
            std::string part = eval(s,
                                    std::string("MATCH(") + k + ",A" + std::to_string(from) + ":A" +
                                        std::to_string(to) + ",0)",
                                    8, 2);
            if (part != "#N/A") linear = std::to_string(std::stoi(part) + from - 1);
        }
        if (linear.empty()) linear = "#N/A";
        EXPECT_EQ(indexed, linear) << k;
    }
}

TEST(Lookups, theIndexFollowsEveryChangeOfTheTable) {
    Sheet s;
    tables(s);
    s.setFormula(8, 1, "VLOOKUP(110,A1:B40,2,FALSE())");
    s.setFormula(8, 2, "MATCH(\"key20\",A1:A40,0)");
    ASSERT_EQ(s.data(8, 1), "11");
    ASSERT_EQ(s.data(8, 2), "20");

    struct Step {
        std::function<void(Sheet&)> edit;
        const char* h1;
        const char* h2;
        const char* why;
    } steps[] = {
        {[](Sheet& t) { t.setNumber(1, 11, 7); }, "#N/A", "20", "the found key is overwritten"},
        {[](Sheet& t) { t.setNumber(1, 3, 110); }, "1003", "20", "the key appears in a formerly empty cell"},
        {[](Sheet& t) {
             t.clearContents({1, 3, 1, 3});
         },
         "#N/A", "20", "and is cleared again"},
        {[](Sheet& t) { t.setFormula(1, 12, "55*2"); }, "12", "20", "a formula in the table gives the key"},
        {[](Sheet& t) { t.setNumber(4, 1, 2); }, "12", "20", "a cell outside the table changes nothing"},
        {[](Sheet& t) { t.setFormula(1, 12, "55*3"); }, "#N/A", "20", "the formula's result changes"},
        {[](Sheet& t) { t.insertRows(5, 2); }, "#N/A", "22", "rows inserted inside the table move its keys"},
        {[](Sheet& t) { t.setNumber(1, 30, 110); }, "28", "22", "a key set after the shift is found"},
        {[](Sheet& t) { t.setData(1, 24, "KEY20"); }, "28", "22", "an equal key further down loses"},
        {[](Sheet& t) { t.setData(1, 2, "KEY20"); }, "28", "2", "an equal key further up wins"},
    };
    for (const Step& st : steps) {
        st.edit(s);
        EXPECT_EQ(s.data(8, 1), st.h1) << st.why;
        EXPECT_EQ(s.data(8, 2), st.h2) << st.why;
    }
}

TEST(Lookups, aLookUpSeesTheTablesPendingFormulasComputed) {
    // The table's keys are formulas of another column, entered in manual mode so that they are
    // pending when the look-up runs: the look-up must compute them first, then find the key.
    Sheet s;
    sized(s, 10, 200);
    s.setOption(Sheet::kOptAutoRecalc, false);
    s.setFormula(5, 1, "VLOOKUP(200,A1:B150,2,FALSE())"); // first in line, before its inputs
    for (int r = 1; r <= 150; ++r) {
        s.setNumber(3, r, r);
        s.setFormula(1, r, "C" + std::to_string(r) + "*2");
        s.setNumber(2, r, r + 0.5);
    }
    s.setOption(Sheet::kOptAutoRecalc, true);
    EXPECT_EQ(s.data(5, 1), "100.5");
    s.setNumber(3, 100, 7); // key 200 is gone, 14 now stands at row 7 and at row 100
    EXPECT_EQ(s.data(5, 1), "#N/A");
    s.setFormula(5, 2, "MATCH(14,A1:A150,0)");
    EXPECT_EQ(s.data(5, 2), "7");
}
