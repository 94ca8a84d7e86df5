// COUNTIF and SUMIF over a long row or column answer equality criteria from an index of the cells.
// The index must give exactly what looking at every cell gives: the same blocks are counted once
// whole (indexed) and once in short pieces (each searched cell by cell), for criteria of every
// kind, and again after edits of the block.
#include "SheetTestUtil.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace sheet;
using namespace sheet::test;

namespace {
constexpr int kRows = 120; // a whole column block is indexed; pieces of 20 rows are not

// Column A: numbers, numeric texts, texts in mixed case, booleans, errors, empty cells and empty
// texts; column B: the numbers SUMIF adds. Row 1 holds the same across D1:DS1 and D2:DS2.
void fill(Sheet& s, std::mt19937& rng) {
    const char* kinds[] = {"5", "7", "'5", "'5.0", "abc", "ABC", "Abd", "TRUE", "=1/0", "", "'", "-0", "0"};
    for (int i = 1; i <= kRows; ++i) {
        const std::string v = kinds[std::uniform_int_distribution<int>(0, 12)(rng)];
        for (auto [c, r] : {std::pair{1, i}, std::pair{3 + i, 1}}) {
            if (v.empty())
                s.clearContents({c, r, c, r});
            else if (v[0] == '=')
                s.setFormula(c, r, v);
            else
                s.setData(c, r, v);
        }
        s.setNumber(2, i, i);
        s.setNumber(3 + i, 2, i);
    }
    s.setFormula(2, 17, "1/0"); // an error in the sum range
    s.setFormula(3 + 17, 2, "1/0");
    s.recalc();
}

std::string piecewise(const std::string& fn, const std::string& crit, bool down) {
    // The same block as pieces of 20 cells, each too short for an index.
    std::string f;
    for (int first = 1; first <= kRows; first += 20) {
        const int last = first + 19;
        std::string block, sums;
        if (down) {
            block = "A" + std::to_string(first) + ":A" + std::to_string(last);
            sums = "B" + std::to_string(first);
        } else {
            block = cellName(3 + first, 1) + ":" + cellName(3 + last, 1);
            sums = cellName(3 + first, 2);
        }
        f += (f.empty() ? "" : "+") + fn + "(" + block + "," + crit + (fn == "SUMIF" ? "," + sums : "") + ")";
    }
    return f;
}

std::string whole(const std::string& fn, const std::string& crit, bool down) {
    const std::string block =
        down ? "A1:A" + std::to_string(kRows) : cellName(4, 1) + ":" + cellName(3 + kRows, 1);
    const std::string sums = down ? "B1" : cellName(4, 2);
    return fn + "(" + block + "," + crit + (fn == "SUMIF" ? "," + sums : "") + ")";
}
} // namespace

TEST(CountSumIndex, equalityCountsAndSumsAgreeWithACellByCellSearch) {
    const char* criteria[] = {"5",       "\"5\"",   "\"=5\"",   "\"5.0\"",  "0",       "\"-0\"",
                              "\"abc\"", "\"ABC\"", "\"=abc\"", "\"ab*\"",  "\"<>5\"", "\">4\"",
                              "\"\"",    "\"=\"",   "TRUE()",   "\"TRUE\"", "\"zzz\"", "99"};
    std::mt19937 rng(11);
    Sheet s;
    sized(s, kRows + 10, kRows + 10);
    for (int round = 0; round < 3; ++round) {
        fill(s, rng); // each round changes the blocks: the indexes must follow
        for (const char* crit : criteria)
            for (bool down : {true, false})
                for (const char* fn : {"COUNTIF", "SUMIF"}) {
                    const std::string a = eval(s, whole(fn, crit, down), 1, kRows + 5);
                    const std::string b = eval(s, piecewise(fn, crit, down), 2, kRows + 5);
                    EXPECT_EQ(a, b) << fn << " with " << crit << (down ? " down a column" : " across a row")
                                    << ", round " << round;
                }
    }
}

TEST(CountSumIndex, anEditInsideTheBlockReachesTheNextCount) {
    Sheet s;
    sized(s, 4, 200);
    for (int i = 1; i <= 100; ++i)
        s.setNumber(1, i, i % 10); // 3 in rows 3, 13, ..., 93
    ASSERT_TRUE(s.setFormula(4, 150, "COUNTIF(A1:A100,3)"));
    ASSERT_TRUE(s.setFormula(4, 151, "SUMIF(A1:A100,\"3\",A1:A100)"));
    EXPECT_EQ(s.value(4, 150).number, 10.0);
    EXPECT_EQ(s.value(4, 151).number, 30.0);
    s.setNumber(1, 55, 3);
    EXPECT_EQ(s.value(4, 150).number, 11.0) << "the index must learn of the edited cell";
    EXPECT_EQ(s.value(4, 151).number, 33.0);
    s.setData(1, 13, "x");
    EXPECT_EQ(s.value(4, 150).number, 10.0) << "nor keep a cell that no longer matches";
    s.clearContents({1, 23, 1, 23});
    EXPECT_EQ(s.value(4, 150).number, 9.0) << "nor a cleared one";
    ASSERT_TRUE(s.deleteRows(50, 10)); // rows 53 and 55 go; the block becomes A1:A90
    s.recalc();
    EXPECT_EQ(s.value(4, 140).number, 7.0) << "after rows moved the count follows the cells now in the block";
}
