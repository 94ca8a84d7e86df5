// The exchange files: rows with the 0xBF separator in UTF-8 and the old code page, bad rows of parts
// and stock, the plan's rows, the newest file and stock numbers, and a whole run on a folder.
#include "TempDir.h"

#include <cut/CutFiles.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sys/wait.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace cut;

namespace {
const std::string S(1, kFieldSeparator);

void setTime(const std::string& path, int secondsAgo) {
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::seconds(secondsAgo));
}
} // namespace

TEST(CutFiles, rowsSplitAtLoneSeparatorsInEitherEncoding) {
    struct Case {
        const char* why;
        std::string bytes;
        std::vector<Row> rows;
    };
    const Case cases[] = {
        {"UTF-8 fields", "Stäl" + S + "1250\n", {{"Stäl", "1250"}}},
        {"the 0xBF inside a UTF-8 letter is no separator", "\xC3\xBF" + S + "5\n", {{"ÿ", "5"}}},
        {"an old file is read as Windows-1252, separators and all",
         "St\xE4l" + S + "1250\n\x80" + S + "2\n",
         {{"Stäl", "1250"}, {"€", "2"}}},
        {"an old letter before a separator is not taken for UTF-8 when the file is old",
         "\xC3" + S + "1\n\xE9" + S + "2\n",
         {{"Ã", "1"}, {"é", "2"}}},
        {"CRLF line ends and a last line without an end",
         "a" + S + "1\r\nb" + S + "2",
         {{"a", "1"}, {"b", "2"}}},
        {"a byte order mark is dropped, empty lines stay rows",
         "\xEF\xBB\xBF"
         "a\n\nb\n",
         {{"a"}, {""}, {"b"}}},
        {"empty fields are kept", S + S + "\n", {{"", "", ""}}},
        {"an empty file has no rows", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(splitRows(c.bytes), c.rows);
    }
}

TEST(CutFiles, writtenRowsReadBackTheSame) {
    const std::vector<Row> rows = {{"Stäl ÿ¿", "1250.5", "3"}, {"", "x", ""}, {"€"}};
    const std::string bytes = joinRows(rows);
    EXPECT_EQ(splitRows(bytes), rows);
    EXPECT_EQ(bytes.back(), '\n');
}

TEST(CutFiles, badPartRowsAreLeftOutWithTheirLineAndTheRestIsKept) {
    const std::vector<Row> rows = {
        {"A1", "1250", "2"},    // line 1: good
        {""},                   // line 2: empty, skipped without a message
        {"A2"},                 // line 3: no length
        {"A3", "abc", "1"},     // line 4: not a number
        {"A4", "-5", "1"},      // line 5: negative
        {"A5", "0", "1"},       // line 6: zero
        {"A6", "100", "0"},     // line 7: zero quantity
        {"A7", "100", "1.5"},   // line 8: part quantity
        {"A8", "1250,5"},       // line 9: decimal comma, quantity 1
        {"A9", "1.250,5", "4"}, // line 10: grouped thousands
        {"A10", "1,234,5", "1"} // line 11: ambiguous
    };
    std::vector<FileMessage> messages;
    const std::vector<Part> parts = readParts(rows, messages);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].mark, "A1");
    EXPECT_EQ(parts[0].quantity, 2);
    EXPECT_DOUBLE_EQ(parts[1].length, 1250.5) << "a typed decimal comma";
    EXPECT_EQ(parts[1].quantity, 1) << "a missing quantity is one";
    EXPECT_DOUBLE_EQ(parts[2].length, 1250.5) << "thousands grouping";
    std::vector<int> lines;
    for (const FileMessage& m : messages) {
        lines.push_back(m.line);
        EXPECT_FALSE(m.text.empty());
    }
    EXPECT_EQ(lines, (std::vector<int>{3, 4, 5, 6, 7, 8, 11}));
}

TEST(CutFiles, stockRowsReadBackAndBadOnesAreReported) {
    const std::vector<StockLength> stock = {{6000, 1, -1}, {12000, 1.75, 4}};
    std::vector<FileMessage> messages;
    const std::vector<StockLength> back = readStock(stockRows(stock), messages);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_TRUE(messages.empty());
    EXPECT_DOUBLE_EQ(back[1].cost, 1.75);
    EXPECT_EQ(back[0].available, -1) << "an empty count means any number";
    EXPECT_EQ(back[1].available, 4);

    const std::vector<Row> bad = {{"0"}, {"6000", "-1"}, {"6000", "1", "2.5"}, {"x"}, {"8000"}};
    messages.clear();
    const std::vector<StockLength> some = readStock(bad, messages);
    ASSERT_EQ(some.size(), 1u);
    EXPECT_DOUBLE_EQ(some[0].length, 8000);
    EXPECT_EQ(some[0].cost, 1) << "the default cost";
    EXPECT_EQ(messages.size(), 4u);
}

TEST(CutFiles, numbersAreWrittenWithAPointUnderADecimalCommaLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_ALL, "nl_NL.UTF-8")) GTEST_SKIP() << "nl_NL.UTF-8 is not installed";
    const std::vector<Row> rows = partRows({{"A", 1250.5, 2}});
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(rows[0][1], "1250.5");
}

TEST(CutFiles, thePlanRowsNameThePatternsTheTotalAndImpossibleParts) {
    const std::vector<Part> parts = {{"A1", 2500, 4}, {"B2", 1000, 2}, {"X", 9000, 1}};
    const Result r = optimise(parts, {{6100, 1, -1}});
    const std::vector<Row> rows = buyRows(parts, r);
    // Two bars of 2500 + 2500 + 1000 is the only two-bar plan.
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Row{"6100", "2", "A1 x2 + B2 | offcut 100.0"}));
    EXPECT_EQ(rows[1][0], "Total");
    EXPECT_EQ(rows[1][1], "2");
    EXPECT_NE(rows[1][2].find("at least 2 bars (optimal)"), std::string::npos) << rows[1][2];
    EXPECT_NE(rows[1][2].find("cost 2.00, no plan costs less than 1.97"), std::string::npos)
        << "the bound in words a detailer reads: " << rows[1][2];
    EXPECT_EQ(rows[1][2].find("LP"), std::string::npos) << "no optimiser jargon";
    EXPECT_EQ(rows[2], (Row{"Impossible", "X", "length 9000 fits no stock length"}));
}

// A run cut short by the time limit still shows a true lower bound; the summary must not cast doubt
// on the bound, only on the plan being the cheapest.
TEST(CutFiles, theTotalOfARunCutShortSaysTheBoundHoldsButTheOptimumIsOpen) {
    // One piece a bar, far above the length bound: only the LP could prove three bars the least.
    const std::vector<Part> parts = {{"A1", 3500, 3}};
    Settings s;
    s.timeLimit = 0;
    const Result r = optimise(parts, {{6100, 1, -1}}, s);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_FALSE(r.lpComplete) << "no time for the LP";
    const std::vector<Row> rows = buyRows(parts, r);
    ASSERT_FALSE(rows.empty());
    const std::string& summary = rows.back()[2];
    EXPECT_EQ(rows.back()[0], "Total");
    EXPECT_NE(summary.find("time limit reached before the cheapest plan was proven"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("no plan costs less than"), std::string::npos) << "the bound itself is sound";
}

TEST(CutFiles, newestFileAndStockNumberIgnoreCaseOfNamesButNotOfFolders) {
    TempDir dir;
    const std::string folder = dir.path() + "Cutting Stock/Beam HEA/";
    dir.write("Cutting Stock/Beam HEA/Stock1.shp", "a");
    dir.write("Cutting Stock/Beam HEA/STOCK7.SHP", "b");
    dir.write("Cutting Stock/Beam HEA/Stockx.shp", "c");
    dir.write("Cutting Stock/Beam HEA/Stock9.buy", "d");
    setTime(folder + "Stock1.shp", 100);
    setTime(folder + "STOCK7.SHP", 50);
    setTime(folder + "Stockx.shp", 200);
    EXPECT_EQ(nextStockNumber(folder, "shp"), 8) << "Stock7 in capitals counts; Stockx is no number";
    EXPECT_EQ(nextStockNumber(folder, "buy"), 10);
    EXPECT_EQ(nextStockNumber(folder, "stk"), 1) << "no such file";
    EXPECT_EQ(newestFile(folder, "shp"), folder + "STOCK7.SHP");
    EXPECT_EQ(newestFile(dir.path() + "cutting stock/beam hea/", "shp"), "") << "folders are case-sensitive";

    setTime(folder + "Stock1.shp", 10);
    setTime(folder + "STOCK7.SHP", 10);
    std::filesystem::last_write_time(folder + "Stock1.shp",
                                     std::filesystem::last_write_time(folder + "STOCK7.SHP"));
    EXPECT_EQ(newestFile(folder, "shp"), folder + "STOCK7.SHP") << "equal times: the first by name stays";
}

TEST(CutFiles, aFolderRunReadsTheNewestPartsAndWritesANewBuyFile) {
    TempDir dir;
    const std::string folder = dir.path() + "Entry/";
    dir.write("Entry/Stock1.shp", joinRows({{"old", "100", "1"}}));
    dir.write("Entry/Stock2.shp",
              joinRows({{"A", "2000", "4"}, {"B", "1500", "2"}, {"bad", "abc"}, {"L", "7000", "1"}}));
    dir.write("Entry/Stock1.stk", joinRows({{"6000", "1"}}));
    setTime(folder + "Stock1.shp", 100);
    const FolderRun run = optimiseFolder(folder, {{12000, 1, -1}}, {});
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.partsFile, folder + "Stock2.shp");
    EXPECT_EQ(run.buyFile, folder + "Stock1.buy");
    ASSERT_EQ(run.messages.size(), 1u) << "the bad row";
    EXPECT_EQ(run.messages[0].line, 3);
    const std::vector<Row> rows = splitRows(dir.read("Entry/Stock1.buy"));
    ASSERT_GE(rows.size(), 3u) << "patterns, total and the part longer than the stock of the folder";
    EXPECT_EQ(rows[0][0], "6000") << "the folder's stock file wins over the default";
    EXPECT_EQ(rows[rows.size() - 2][0], "Total");
    EXPECT_EQ(rows[rows.size() - 2][1], "2");
    EXPECT_EQ(rows.back()[0], "Impossible");

    const FolderRun again = optimiseFolder(folder, {{12000, 1, -1}}, {});
    EXPECT_EQ(again.buyFile, folder + "Stock2.buy") << "an earlier plan is never overwritten";

    TempDir empty;
    const FolderRun none = optimiseFolder(empty.path(), {{6000, 1, -1}}, {});
    EXPECT_FALSE(none.ok);
    EXPECT_NE(none.error.find("no parts file"), std::string::npos);
    EXPECT_EQ(empty.entryCount(), 0) << "nothing written";
}

TEST(CutFiles, thousandsOfRowsReadQuickly) {
    std::vector<Row> rows;
    for (int i = 0; i < 20000; ++i)
        rows.push_back({"M" + std::to_string(i), std::to_string(100 + i % 5000), "1"});
    std::vector<FileMessage> messages;
    const std::vector<Part> parts = readParts(splitRows(joinRows(rows)), messages);
    EXPECT_EQ(parts.size(), rows.size());
    EXPECT_TRUE(messages.empty());
}

// Two parts with one mark: kept, with a message, and named by mark and length in the plan, so a
// pattern never reads "A x2 + A".
TEST(CutFiles, aMarkSharedByTwoPartsIsReportedAndTheirPiecesToldApart) {
    std::vector<FileMessage> messages;
    const std::vector<Part> parts =
        readParts({{"A", "2500", "2"}, {"B", "100", "1"}, {"A", "1000", "1"}}, messages);
    ASSERT_EQ(parts.size(), 3u) << "both parts are kept";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].line, 3);
    EXPECT_NE(messages[0].text.find("line 1"), std::string::npos) << messages[0].text;
    const Result r = optimise(parts, {{6100, 1, -1}});
    ASSERT_TRUE(r.ok) << r.error;
    const std::vector<Row> rows = buyRows(parts, r);
    EXPECT_EQ(rows[0][2], "A (2500) x2 + A (1000) + B | offcut 0.0");
}

// A parts file is read only when it is a regular file within the budgets; what cannot be read is
// said, and nothing is written.
TEST(CutFiles, aFolderRunReadsOnlyRegularFilesWithinTheBudgets) {
    struct Case {
        const char* why;
        std::function<void(TempDir&)> make;
        const char* says;
    };
    const Case cases[] = {
        {"a parts file beyond the size budget",
         [](TempDir& d) { d.write("Stock1.shp", std::string(kMaxExchangeFileBytes + 1, 'x')); },
         "Stock1.shp"},
        {"a parts file of more lines than the budget",
         [](TempDir& d) { d.write("Stock1.shp", std::string(kMaxExchangeFileLines + 1, '\n')); }, "lines"},
        {"a stock file beyond the size budget",
         [](TempDir& d) {
             d.write("Stock1.shp", "A\xBF"
                                   "100\n");
             d.write("Stock1.stk", std::string(kMaxExchangeFileBytes + 1, '1'));
         },
         "Stock1.stk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TempDir dir;
        c.make(dir);
        const int before = dir.entryCount();
        const FolderRun run = optimiseFolder(dir.path(), {{6000, 1, -1}}, {});
        EXPECT_FALSE(run.ok);
        EXPECT_NE(run.error.find(c.says), std::string::npos) << run.error;
        EXPECT_EQ(dir.entryCount(), before) << "no plan written";
    }
    // A FIFO named like a parts file is no file to read: it is not even listed (a read would block).
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("Stock1.shp").c_str(), 0600), 0);
    const FolderRun run = optimiseFolder(dir.path(), {{6000, 1, -1}}, {});
    EXPECT_FALSE(run.ok);
}

// The plan is never written through a link that points nowhere (it would create a file wherever
// the link points); a new name passes such a link by, and a link to a file is written through.
TEST(CutFiles, aLinkToNothingIsNeverWrittenThrough) {
    TempDir dir;
    TempDir outside;
    const std::string folder = dir.path() + "Entry/";
    dir.write("Entry/Stock1.shp", joinRows({{"A", "2000", "2"}}));
    dir.write("Entry/Stock1.buy", "old\n");
    ASSERT_EQ(::symlink(outside.file("planted.buy").c_str(), (folder + "Stock2.buy").c_str()), 0);
    const FolderRun run = optimiseFolder(folder, {{6000, 1, -1}}, {});
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.buyFile, folder + "Stock3.buy") << "the link's name counts";
    EXPECT_FALSE(std::filesystem::exists(outside.file("planted.buy"))) << "nothing written where it points";

    std::string error;
    EXPECT_FALSE(writeExchangeFile(folder + "Stock2.buy", "x\n", &error));
    EXPECT_NE(error.find("Stock2.buy"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(outside.file("planted.buy")));

    outside.write("real.buy", "old\n");
    ASSERT_EQ(::symlink(outside.file("real.buy").c_str(), (folder + "Stock9.buy").c_str()), 0);
    EXPECT_TRUE(writeExchangeFile(folder + "Stock9.buy", "new\n", &error)) << error;
    EXPECT_EQ(outside.read("real.buy"), "new\n") << "a link to an existing file is kept and written through";
    EXPECT_TRUE(std::filesystem::is_symlink(folder + "Stock9.buy"));
}

namespace {
int runVorcut(const std::string& args, std::string& err) {
    TempDir out;
    const std::string cmd = std::string("\"") + VOR_BINARY_DIR + "/bin/vorcut\" --quiet " + args +
                            " > /dev/null 2> \"" + out.file("err") + "\"";
    const int status = std::system(cmd.c_str());
    err = out.read("err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
} // namespace

// The program never ends with a signal or an uncaught exception: a folder with a loop of links is
// reported and the other entries planned; a part it cannot represent and an absurd kerf are refused.
TEST(CutFiles, vorcutReportsWhatItCannotReadOrRepresent) {
    TempDir lib;
    lib.write("Cutting Stock/Good/Stock1.shp", joinRows({{"A", "2000", "2"}}));
    lib.write("Cutting Stock/Tiny/Stock1.shp", joinRows({{"A", "2000", "2"}, {"B", "0.04", "1"}}));
    const std::string root = lib.path() + "Cutting Stock";
    ASSERT_EQ(::symlink((root + "/Loop").c_str(), (root + "/Loop").c_str()), 0);
    std::string err;
    EXPECT_EQ(runVorcut("\"" + root + "\"", err), 1) << err;
    EXPECT_NE(err.find("Tiny"), std::string::npos) << err;
    EXPECT_NE(err.find("part 2 \"B\""), std::string::npos) << "the row at fault: " << err;
    EXPECT_NE(err.find("Loop"), std::string::npos) << "the loop is reported: " << err;
    EXPECT_TRUE(std::filesystem::exists(root + "/Good/Stock1.buy")) << "the other entries are planned";

    EXPECT_EQ(runVorcut("--kerf 1e30 \"" + root + "/Good\"", err), 2) << "refused, not read as 0";
    EXPECT_NE(err.find("--kerf"), std::string::npos) << err;
    EXPECT_EQ(runVorcut("--stock 6000:1:1e30 \"" + root + "/Good\"", err), 2) << err;
    EXPECT_EQ(runVorcut("--stock 1e30 \"" + root + "/Good\"", err), 1) << err;
    EXPECT_NE(err.find("stock length 1"), std::string::npos) << err;
}
