// Table files are untrusted input: storage costs what the cells hold, however far apart they sit.
#include <sheet/Sheet.h>
#include <sheet/SssFile.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sheet;

namespace {
std::string header(int maxCols, int maxRows) {
    return R"({"format":"vorlane-sheet","version":1,"maxCols":)" + std::to_string(maxCols) +
           R"(,"maxRows":)" + std::to_string(maxRows) +
           R"(,"options":[7,8],"refStyle":0,"unitType":0,"activeCell":[1,1],"selection":[0,0,0,0],)";
}
double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}
} // namespace

TEST(HostileTable, farCellsInManyColumnsCostWhatTheyHold) {
    // 2,000 columns with one value each at row 16,000,000: the old dense chunk index took 500 KB
    // per column (1 GB in all) for 2,000 numbers.
    std::string f = header(kMaxColLimit, kMaxRowLimit) +
                    R"("colWidths":[],"rowHeights":[[16000000,33]],"styles":[],"types":[],"spans":[],)"
                    R"("formulas":[],"columns":[)";
    for (int c = 1; c <= 2000; ++c)
        f += (c > 1 ? "," : "") + std::string(R"({"col":)") + std::to_string(c * 200) +
             R"(,"rows":[16000000,1],"values":[)" + std::to_string(c) + "]}";
    f += R"(],"tags":[],"notes":[]})";
    Sheet s;
    ASSERT_TRUE(sheetFromJson(s, f)) << "a far but small table opens";
    EXPECT_EQ(s.value(400, kMaxRowLimit), Value::num(2)) << "the far cells are all there";
    EXPECT_EQ(s.rowHeightPixels(kMaxRowLimit), 33) << "a far row height is kept";
    EXPECT_LT(s.memoryUse(), std::size_t(16) << 20) << "2,000 cells take a few megabytes, not a gigabyte";
    const std::string again = sheetToJson(s);
    Sheet t;
    ASSERT_TRUE(sheetFromJson(t, again)) << "and saves back as it was";
    EXPECT_EQ(t.value(400000, kMaxRowLimit), Value::num(2000));
}

TEST(HostileTable, aRangeAcrossTheWholeGridVisitsStoredCellsOnly) {
    Sheet s;
    s.setMaxCols(kMaxColLimit);
    s.setMaxRows(100000);
    s.setNumber(5, 1, 1);
    s.setNumber(6, 3, 2);
    s.setNumber(5, 4, 4);
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(s.setFormula(1, 1, "SUM(ZZZZ2,E1:ZZZZ100000)"));
    EXPECT_EQ(s.value(1, 1), Value::num(7)) << "the far reference reads an empty cell";
    s.setNumber(kMaxColLimit, 2, 8);
    EXPECT_EQ(s.value(1, 1), Value::num(23))
        << "and follows it when written (counted twice: it is in the range too)";
    EXPECT_LT(secondsSince(t0), 30.0) << "a guard against the old walk of rows x allocated columns (minutes)";

    // Row by row, as spreadsheets walk a block, whatever the store's order.
    std::vector<std::pair<int, int>> order;
    s.forEachCell({5, 1, kMaxColLimit, 100000}, [&](int c, int r, const Value&) { order.push_back({c, r}); });
    const std::vector<std::pair<int, int>> expected{{5, 1}, {kMaxColLimit, 2}, {6, 3}, {5, 4}};
    EXPECT_EQ(order, expected) << "cells come row by row, each row from left to right";
}

// The time 200,000 spans take is measured by bench_hostile (BM_LoadManySpans); here, that the index
// finds, refuses and frees spans among many.
TEST(HostileTable, manySpansLoadAndAreFound) {
    std::string f = header(500, 1000) + R"("colWidths":[],"rowHeights":[],"styles":[],"types":[],"spans":[)";
    int n = 0;
    for (int r = 621; r <= 720; ++r)
        for (int c = 1; c + 1 <= 500; c += 2, ++n)
            f += (n ? "," : "") + std::string("[") + std::to_string(c) + "," + std::to_string(r) + "," +
                 std::to_string(c + 1) + "," + std::to_string(r) + "]";
    f += R"(],"formulas":[],"columns":[],"tags":[],"notes":[]})";
    Sheet s;
    ASSERT_TRUE(sheetFromJson(s, f));
    EXPECT_EQ(s.spans().size(), std::size_t(n));
    CellRange sp;
    ASSERT_TRUE(s.spanAt(100, 700, sp)) << "the second cell of a span is covered";
    EXPECT_EQ(sp, (CellRange{99, 700, 100, 700}));
    EXPECT_FALSE(s.spanAt(100, 900, sp)) << "rows below the spans are in none";
    EXPECT_FALSE(s.addSpan(100, 700, 2, 1)) << "an overlapping span is still refused";
    EXPECT_TRUE(s.removeSpan(99, 700));
    EXPECT_FALSE(s.spanAt(100, 700, sp)) << "a removed span covers nothing";
    EXPECT_TRUE(s.addSpan(100, 700, 1, 1)) << "and frees its cells";
}

TEST(HostileTable, wholeGridEditsCostStoredCells) {
    Sheet s;
    s.setMaxCols(kMaxColLimit);
    s.setMaxRows(kMaxRowLimit);
    s.setData(3, 3, "x");
    s.setData(kMaxColLimit, kMaxRowLimit - 1, "far");
    const struct {
        bool ok;
        const char* why;
    } checks[] = {
        {s.insertRows(2, 1), "inserting a row moves only the stored cells"},
        {s.setRowHeightPixels(kAll, 30), "one height for every row is one run"},
        {s.copyRange({1, 1, 10, 1000000}, {11, 1}), "a copy of a tall block copies its stored cells"},
        {!s.setStyle({1, 1, kAll, kAll}, CellStyle()),
         "styling every cell of the grid is refused, not a crash"},
    };
    for (const auto& c : checks)
        EXPECT_TRUE(c.ok) << c.why;
    EXPECT_EQ(s.data(3, 4), "x");
    EXPECT_EQ(s.data(13, 4), "x") << "copied";
    EXPECT_EQ(s.data(kMaxColLimit, kMaxRowLimit), "far") << "moved down by the inserted row";
    EXPECT_EQ(s.rowHeightPixels(kMaxRowLimit), 30);
    EXPECT_LT(s.memoryUse(), std::size_t(4) << 20);
}

TEST(HostileTable, onlyRegularFilesAreOpenedAsTables) {
    // A FIFO named as a table blocked the loader for ever (it waited for a writer that never came);
    // a folder or a device is refused with a message that says what it is.
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vor-hostile-table-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string fifo = (dir / "pijp.sss").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Should the loader wait on the pipe, a writer comes after three seconds so the test ends.
    std::thread unblock([&] {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    });
    struct Case {
        std::string path;
        const char* says;
        const char* why;
    } cases[] = {
        {fifo, "pipe", "a FIFO"},
        {dir.string(), "folder", "a folder"},
        {"/dev/zero", "device", "a device without end"},
    };
    Sheet s;
    ASSERT_TRUE(s.setMaxCols(2) && s.setMaxRows(2));
    s.setData(1, 1, "eerder");
    for (const Case& k : cases) {
        const auto t0 = std::chrono::steady_clock::now();
        const FileResult r = loadSheet(s, k.path);
        EXPECT_FALSE(r.ok) << k.why;
        EXPECT_LT(secondsSince(t0), 2.0) << k.why << ": refused at once";
        EXPECT_NE(r.error.find(k.says), std::string::npos) << k.why << ": " << r.error;
        EXPECT_NE(r.error.find(k.path), std::string::npos) << k.why << ": the message names it";
    }
    EXPECT_EQ(s.data(1, 1), "eerder") << "the table in memory stays as it was";
    unblock.join();
    fs::remove_all(dir);
}
