// The cutting stock dialog's files without a window: stock numbers, the newest file, the extension
// of a chosen name, reading and writing lists, and the rows of one entry in a list.
#include "TempDir.h"

#include "production/CuttingStockFiles.h"

#include <host/DlgCSP2Data.h>
#include <host/Settings.h>
#include <host/Texts.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <unistd.h>

namespace {
void setAge(const std::string& path, int seconds) {
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::seconds(seconds));
}
} // namespace

TEST(CuttingStockFiles, defaultNamesFollowTheHighestStockNumber) {
    struct Case {
        const char* why;
        std::vector<std::string> files;
        const char* ext;
        const char* name;
    };
    const Case cases[] = {
        {"an empty folder starts at one", {}, "shp", "Stock1.shp"},
        {"the highest number counts, not the count of files",
         {"Stock1.shp", "Stock7.shp"},
         "shp",
         "Stock8.shp"},
        {"names are compared without regard to case", {"STOCK4.SHP"}, "shp", "Stock5.shp"},
        {"a name that is no number counts as zero", {"Stockabc.shp"}, "shp", "Stock1.shp"},
        {"files of the other list do not count", {"Stock9.buy"}, "shp", "Stock1.shp"},
        {"other names do not count", {"Parts12.shp", "Stock2.shp"}, "shp", "Stock3.shp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TempDir dir;
        for (const std::string& f : c.files)
            dir.write(f, "x");
        EXPECT_EQ(defaultNewFileName(dir.path(), c.ext), Vor_String(c.name));
    }
}

TEST(CuttingStockFiles, theNewestFileWinsAndEqualTimesKeepTheFirstListed) {
    TempDir dir;
    dir.write("Stock1.shp", "a");
    dir.write("Stock2.shp", "b");
    dir.write("Stock3.buy", "c");
    setAge(dir.file("Stock1.shp"), 10);
    setAge(dir.file("Stock2.shp"), 100);
    Vor_String path;
    ASSERT_TRUE(newestCsp2File(dir.path(), "shp", path));
    EXPECT_EQ(path, Vor_String(dir.file("Stock1.shp")));
    std::filesystem::last_write_time(dir.file("Stock2.shp"),
                                     std::filesystem::last_write_time(dir.file("Stock1.shp")));
    ASSERT_TRUE(newestCsp2File(dir.path(), "shp", path));
    EXPECT_EQ(path, Vor_String(dir.file("Stock1.shp"))) << "equal times: the first listed stays";
    TempDir empty;
    EXPECT_FALSE(newestCsp2File(empty.path(), "shp", path));
}

TEST(CuttingStockFiles, theExtensionIsAddedOnlyWhenMissingAndFoldersKeepTheirCase) {
    struct Case {
        const char* why;
        const char* path;
        const char* result;
    };
    const Case cases[] = {
        {"a name without extension gets it", "/L/Cutting Stock/HEA 200/Order",
         "/L/Cutting Stock/HEA 200/Order.shp"},
        {"a name with the extension in capitals keeps it", "/L/Cutting Stock/HEA 200/ORDER.SHP",
         "/L/Cutting Stock/HEA 200/ORDER.SHP"},
        {"another extension is not the list's", "/L/Cutting Stock/HEA 200/order.txt",
         "/L/Cutting Stock/HEA 200/order.txt.shp"},
        {"a folder ending in the extension is no file name", "/L/a.shp/Order", "/L/a.shp/Order.shp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(withCsp2Extension(c.path, "shp"), Vor_String(c.result));
    }
}

TEST(CuttingStockFiles, listsReadBackAndOldOrDamagedFilesLoseNothing) {
    TempDir dir;
    Vor_Array<Vor_StringArray> rows;
    rows.append(Vor_StringArray{"Stäl ÿ", "1250.5", "2"});
    rows.append(Vor_StringArray{"B", "", "1"});
    ASSERT_TRUE(writeCsp2File(dir.file("Stock1.shp"), rows));
    EXPECT_EQ(dir.read("Stock1.shp"), "Stäl ÿ\xBF"
                                      "1250.5\xBF"
                                      "2\nB\xBF\xBF"
                                      "1\n");
    Vor_Array<Vor_StringArray> back;
    ASSERT_TRUE(readCsp2File(dir.file("Stock1.shp"), back));
    EXPECT_EQ(back, rows);

    dir.write("old.shp", "St\xE4l\xBF"
                         "100\xBF"
                         "1\r\n\r\n  \nX\xBF"
                         "5\n");
    ASSERT_TRUE(readCsp2File(dir.file("old.shp"), back));
    ASSERT_EQ(back.length(), 2) << "empty lines carry nothing";
    EXPECT_EQ(back[0], (Vor_StringArray{"Stäl", "100", "1"})) << "the old code page";
    EXPECT_EQ(back[1], (Vor_StringArray{"X", "5"})) << "a short row stays as it is";

    std::string error;
    EXPECT_FALSE(readCsp2File(dir.file("missing.shp"), back, &error));
    EXPECT_EQ(back.length(), 2) << "a failed read leaves the rows";
    EXPECT_FALSE(error.empty());
}

TEST(CuttingStockFiles, storingAnEntrysRowsMovesThemToTheEndAndKeepsOthers) {
    DlgCSP2List l;
    l.rowEntryIds = Vor_Array<int>{1, 1, 2, 3};
    l.rows.append(Vor_StringArray{"a1"});
    l.rows.append(Vor_StringArray{"a2"});
    l.rows.append(Vor_StringArray{"b"});
    l.rows.append(Vor_StringArray{"c"});
    EXPECT_EQ(l.rowsOf(1).length(), 2);
    Vor_Array<Vor_StringArray> edited;
    edited.append(Vor_StringArray{"A1"});
    l.storeRowsOf(1, edited);
    EXPECT_EQ(l.rowEntryIds, (Vor_Array<int>{2, 3, 1}));
    EXPECT_EQ(l.rows[2], (Vor_StringArray{"A1"}));
    EXPECT_EQ(l.rowsOf(4).length(), 0);
}

TEST(CuttingStockFiles, importAllReportsEveryEntryAndReadsTheNewestFiles) {
    TempDir lib;
    const Vor_String oldLib = gSettings.libDir;
    gSettings.libDir = lib.path();
    lib.write("Cutting Stock/HEA 200/Stock1.shp", "A\xBF"
                                                  "100\xBF"
                                                  "2\n");
    lib.write("Cutting Stock/HEA 200/Stock2.shp", "B\xBF"
                                                  "200\xBF"
                                                  "3\n");
    setAge(lib.file("Cutting Stock/HEA 200/Stock1.shp"), 100);
    DlgCSP2Data d;
    d.entryIds = Vor_Array<int>{4, 9};
    d.entryNames = Vor_StringArray{"HEA 200", "IPE 300"};
    d.list2.storeRowsOf(9, Vor_Array<Vor_StringArray>{Vor_StringArray{"keep"}});
    const Vor_StringArray report = importAllCsp2(d);
    gSettings.libDir = oldLib;

    ASSERT_EQ(report.length(), 9) << "rule, then per entry: line, empty, line, rule";
    EXPECT_EQ(report[0], Vor_String(std::string(116, '-')));
    EXPECT_NE(report[1].str().find("\"Stock2.shp\""), std::string::npos) << report[1].str();
    EXPECT_NE(report[1].str().find(dialString(635).str()), std::string::npos);
    EXPECT_EQ(report[3], dialString(634) + " \"HEA 200\". " + dialString(637));
    EXPECT_EQ(report[5], dialString(634) + " \"IPE 300\". " + dialString(633));
    EXPECT_EQ(d.list2.rowsOf(4).length(), 1);
    EXPECT_EQ(d.list2.rowsOf(4)[0][0], Vor_String("B")) << "the newest file";
    EXPECT_EQ(d.list2.rowsOf(9)[0][0], Vor_String("keep")) << "an entry without files keeps its rows";
}

TEST(CuttingStockFiles, fileDatesUseEnglishMonthsWhateverTheLocale) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 7;
    t.tm_isdst = -1;
    EXPECT_EQ(csp2FileDate(std::mktime(&t)), Vor_String("05 March, 2026 (14:07)"));
}

TEST(CuttingStockFiles, storingOneEntryAmongHundredsOfThousandsOfRowsStaysLinear) {
    DlgCSP2List l;
    for (int e = 1; e <= 20; ++e)
        for (int r = 0; r < 10000; ++r) {
            l.rowEntryIds.append(e);
            l.rows.append(Vor_StringArray{"M" + std::to_string(r)});
        }
    const Vor_Array<Vor_StringArray> edited = l.rowsOf(1);
    const auto start = std::chrono::steady_clock::now();
    l.storeRowsOf(1, edited);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Removing row by row moves the 190,000 other rows for each of the 10,000: minutes, not moments.
    EXPECT_LT(seconds, 10.0);
    EXPECT_EQ(l.rowEntryIds[0], 2);
    EXPECT_EQ(l.rowEntryIds[l.rowEntryIds.length() - 1], 1);
    EXPECT_EQ(l.rowsOf(1).length(), 10000);
}

// Rows of one entry that data from elsewhere put apart are all the entry's: storing it back keeps
// every one of them.
TEST(CuttingStockFiles, rowsOfAnEntryApartFromEachOtherAreNotLost) {
    DlgCSP2List l;
    l.rowEntryIds = Vor_Array<int>{1, 2, 1};
    l.rows.append(Vor_StringArray{"a1"});
    l.rows.append(Vor_StringArray{"b"});
    l.rows.append(Vor_StringArray{"a2"});
    const Vor_Array<Vor_StringArray> rows = l.rowsOf(1);
    ASSERT_EQ(rows.length(), 2) << "the third row belongs to entry 1 too";
    l.storeRowsOf(1, rows);
    EXPECT_EQ(l.rowEntryIds, (Vor_Array<int>{2, 1, 1}));
    EXPECT_EQ(l.rows[2], (Vor_StringArray{"a2"}));
}

namespace {
class OptimiseAll : public testing::Test {
protected:
    void SetUp() override {
        m_oldLib = gSettings.libDir;
        gSettings.libDir = lib.path() + "Library/";
        std::filesystem::create_directories(lib.path() + "Library");
    }
    void TearDown() override { gSettings.libDir = m_oldLib; }
    static DlgCSP2Data entry(const char* name, const Vor_Array<Vor_StringArray>& parts) {
        DlgCSP2Data d;
        d.entryIds = Vor_Array<int>{1};
        d.entryNames = Vor_StringArray{name};
        d.list1.storeRowsOf(1, {Vor_StringArray{"6000", "1", ""}});
        d.list2.storeRowsOf(1, parts);
        d.list3.storeRowsOf(1, {Vor_StringArray{"old"}});
        return d;
    }
    TempDir lib;

private:
    Vor_String m_oldLib;
};

std::string joined(const Vor_StringArray& lines) {
    std::string out;
    for (const Vor_String& l : lines)
        out += l.str() + "\n";
    return out;
}
} // namespace

// An entry name is one folder name: a name that climbs out of "Cutting Stock/" writes nothing
// there, through "Optimise all" as through the import of all files.
TEST_F(OptimiseAll, anEntryNameThatIsNoFolderNameWritesNothing) {
    for (const char* name : {"../../../outside/x", "..", "a/b", ""}) {
        SCOPED_TRACE(name);
        DlgCSP2Data d = entry(name, {Vor_StringArray{"A", "1000", "2"}});
        const Vor_StringArray report = optimiseAllCsp2(d);
        EXPECT_NE(joined(report).find(dialString(9808).str()), std::string::npos) << joined(report);
        EXPECT_EQ(d.list3.rowsOf(1)[0][0], Vor_String("old")) << "the entry's list stays";
        const Vor_StringArray imported = importAllCsp2(d);
        EXPECT_NE(joined(imported).find(dialString(9808).str()), std::string::npos);
    }
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::recursive_directory_iterator(lib.path()))
        ++entries;
    EXPECT_EQ(entries, 1) << "only the library folder itself";
}

// The kerf and minimum offcut reach the optimiser and the report; a part the optimiser cannot
// represent is refused naming its row, and the entry's list stays as it was.
TEST_F(OptimiseAll, settingsReachThePlanAndRefusedInputKeepsTheLists) {
    DlgCSP2Data d = entry("HEA 200", {Vor_StringArray{"A", "3000", "2"}});
    cut::Settings s;
    s.kerf = 3;
    const Vor_StringArray report = optimiseAllCsp2(d, s);
    EXPECT_NE(report[0].str().find("3.0"), std::string::npos) << "the kerf is reported: " << report[0].str();
    const Vor_Array<Vor_StringArray> plan = d.list3.rowsOf(1);
    ASSERT_GE(plan.length(), 2);
    EXPECT_EQ(plan[plan.length() - 1][1], Vor_String("2")) << "3000 + 3 + 3000 does not fit 6000";
    EXPECT_EQ(joined(report).find("LP"), std::string::npos) << "plain words: " << joined(report);
    EXPECT_NE(joined(report).find(dialString(9807).str()), std::string::npos);

    DlgCSP2Data bad =
        entry("HEA 200", {Vor_StringArray{"A", "1000", "2"}, Vor_StringArray{"B", "0,04", "1"}});
    const Vor_StringArray refused = optimiseAllCsp2(bad);
    EXPECT_NE(joined(refused).find("part 2 \"B\""), std::string::npos) << joined(refused);
    EXPECT_EQ(bad.list3.rowsOf(1)[0][0], Vor_String("old"));
}

// A link to nothing where the dialog would write is refused, not written through.
TEST_F(OptimiseAll, listFilesAreNotWrittenThroughALinkToNothing) {
    TempDir outside;
    const std::string target = outside.file("planted.shp");
    ASSERT_EQ(::symlink(target.c_str(), lib.file("Stock1.shp").c_str()), 0);
    std::string error;
    EXPECT_FALSE(writeCsp2File(lib.file("Stock1.shp"), {Vor_StringArray{"A", "1"}}, &error));
    EXPECT_NE(error.find("Stock1.shp"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(target));
}
