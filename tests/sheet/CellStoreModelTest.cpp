// The cell store against a plain map of the same cells: random edits that switch columns between
// densely filled and scattered (far rows, row and column inserts and deletes, cleared blocks) must
// leave every cell where the map says, and no cell where it doesn't. The store's fast look-up for
// densely filled columns must follow every change of shape.
#include "SheetTestUtil.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <utility>

using namespace sheet;

namespace {
using Model = std::map<std::pair<int, int>, double>; // (col, row) -> number

constexpr int kCols = 6, kRows = 200'000;

void expectMatches(const Sheet& s, const Model& m, int step) {
    for (const auto& [pos, v] : m)
        ASSERT_EQ(s.value(pos.first, pos.second).number, v)
            << "step " << step << ": cell (" << pos.first << "," << pos.second << ") lost or moved";
    // Probes around every stored cell and in empty places: nothing appears that the model lacks.
    for (const auto& [pos, v] : m)
        for (int dr : {-65, -64, -1, 1, 63, 64, 129})
            for (int dc : {-1, 0, 1}) {
                const int c = pos.first + dc, r = pos.second + dr;
                if (c < 1 || r < 1 || c > kCols || r > kRows || m.count({c, r})) continue;
                ASSERT_EQ(s.value(c, r).kind, ValueKind::Empty)
                    << "step " << step << ": a cell appeared at (" << c << "," << r << ")";
            }
}

void shiftRows(Model& m, int row, int by) { // by > 0: insert; by < 0: delete -by rows at row
    Model out;
    for (const auto& [pos, v] : m) {
        auto [c, r] = pos;
        if (r < row)
            out[{c, r}] = v;
        else if (by > 0)
            out[{c, r + by}] = v;
        else if (r >= row - by)
            out[{c, r + by}] = v;
    }
    m.swap(out);
}

void shiftCols(Model& m, int col, int by) {
    Model out;
    for (const auto& [pos, v] : m) {
        auto [c, r] = pos;
        if (c < col)
            out[{c, r}] = v;
        else if (by > 0)
            out[{c + by, r}] = v;
        else if (c >= col - by)
            out[{c + by, r}] = v;
    }
    m.swap(out);
}
} // namespace

TEST(CellStoreModel, randomEditsKeepEveryCellWhereItBelongs) {
    std::mt19937 rng(20261208);
    Sheet s;
    s.setMaxCols(kCols);
    s.setMaxRows(kRows);
    Model m;
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    double next = 1;
    for (int step = 0; step < 400; ++step) {
        const int op = pick(0, 9);
        if (op <= 3) { // fill a dense run of rows, from the top or somewhere in the middle
            const int c = pick(1, kCols - 2), r0 = op == 0 ? 1 : pick(1, 5000), n = pick(1, 400);
            for (int r = r0; r < r0 + n && r <= kRows; ++r) {
                ASSERT_TRUE(s.setNumber(c, r, next));
                m[{c, r}] = next++;
            }
        } else if (op <= 5) { // one far cell, which breaks a column's dense run
            const int c = pick(1, kCols - 2), r = pick(kRows / 2, kRows - 1000);
            ASSERT_TRUE(s.setNumber(c, r, next));
            m[{c, r}] = next++;
        } else if (op == 6) {
            const int r = pick(1, 6000), n = pick(1, 200);
            if (!s.insertRows(r, n)) continue;
            shiftRows(m, r, n);
            std::erase_if(m, [](const auto& e) { return e.first.second > kRows; });
        } else if (op == 7) {
            const int r = pick(1, 6000), n = pick(1, 200);
            ASSERT_TRUE(s.deleteRows(r, n));
            shiftRows(m, r, -n);
        } else if (op == 8) {
            const int c = pick(1, kCols - 2);
            if (pick(0, 1)) {
                if (!s.insertCols(c, 1)) continue;
                shiftCols(m, c, 1);
                std::erase_if(m, [](const auto& e) { return e.first.first > kCols; });
            } else {
                ASSERT_TRUE(s.deleteCols(c, 1));
                shiftCols(m, c, -1);
            }
        } else { // clear a block
            const int c = pick(1, kCols - 2), r = pick(1, 5000), n = pick(1, 300);
            s.clearAll({c, r, c + 1, r + n});
            std::erase_if(m, [&](const auto& e) {
                return e.first.first >= c && e.first.first <= c + 1 && e.first.second >= r &&
                       e.first.second <= r + n;
            });
        }
        if (step % 20 == 19) expectMatches(s, m, step);
    }
    expectMatches(s, m, 400);
}

// The memory of the cells follows the cells in use: columns that grow row after row take their
// memory in runs, which a column that stops growing may leave partly unused but never by more than
// it holds, and memory whose cells are gone is given back.
TEST(CellStoreModel, memoryFollowsTheCellsInUse) {
    constexpr std::size_t kChunkBytes = 64 * 32; // 64 rows of 32-byte records
    {
        // 1,000 short columns filled side by side: rows 1 to 320 are 6 chunks of 64 rows each.
        Sheet s;
        s.setMaxCols(1000);
        s.setMaxRows(1000);
        for (int r = 1; r <= 320; ++r)
            for (int c = 1; c <= 1000; ++c)
                ASSERT_TRUE(s.setNumber(c, r, r));
        const std::size_t inUse = std::size_t(1000) * 6 * kChunkBytes;
        EXPECT_LT(s.memoryUse(), inUse * 3 / 2) << "short columns hold at most a third more than their cells";
        EXPECT_EQ(s.value(1000, 320).number, 320);
    }
    {
        Sheet s;
        s.setMaxCols(4);
        s.setMaxRows(40'000);
        for (int r = 1; r <= 40'000; ++r)
            for (int c = 1; c <= 4; ++c)
                ASSERT_TRUE(s.setNumber(c, r, r));
        const std::size_t full = s.memoryUse();
        EXPECT_GT(full, std::size_t(4) * 625 * kChunkBytes);
        ASSERT_TRUE(s.deleteRows(1, 39'000));
        EXPECT_LT(s.memoryUse(), full / 10) << "the memory of deleted rows is given back";
        EXPECT_EQ(s.value(4, 1000).number, 40'000);
        EXPECT_EQ(s.value(4, 1001).kind, ValueKind::Empty);
        // Filled again, the store reuses what it holds rather than growing past the first fill.
        for (int r = 1001; r <= 40'000; ++r)
            for (int c = 1; c <= 4; ++c)
                ASSERT_TRUE(s.setNumber(c, r, -r));
        EXPECT_LT(s.memoryUse(), full * 3 / 2);
        EXPECT_EQ(s.value(2, 40'000).number, -40'000);
    }
}
