// The cutting stock dialog's files without a window: stock numbers, the newest file, the extension
// of a chosen name, reading and writing lists, and the rows of one entry in a list.
#include "TempDir.h"

#include "production/CuttingStockFiles.h"

#include <host/DlgCSP2Data.h>
#include <host/Settings.h>
#include <host/Texts.h>

#include <cut/CutFiles.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <unistd.h>
#include <utime.h>

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
        ASSERT_TRUE(loadTextCatalogues(std::string(VOR_SOURCE_DIR) + "/data/install/", "en"));
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

namespace {
// 5 March 2026, 14:07 local time.
std::time_t march5() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 7;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// The catalogues of one language for the length of a test; English again afterwards.
struct Language {
    explicit Language(const char* lang) {
        std::string error;
        ok = loadTextCatalogues(std::string(VOR_SOURCE_DIR) + "/data/install/", lang, &error);
    }
    ~Language() { loadTextCatalogues(std::string(VOR_SOURCE_DIR) + "/data/install/", "en"); }
    bool ok = false;
};
} // namespace

// The import and "Optimise all" reports speak the chosen language: the file date with its month
// named in it, the optimiser's and the file readers' messages worded from the catalogue, and one
// bar or part in the singular. The Dutch report holds none of the English texts.
TEST_F(OptimiseAll, reportsSpeakTheChosenLanguage) {
    struct Case {
        const char* lang;
        std::vector<std::string> says;  // with the reason on each
        std::vector<std::string> never; // English under Dutch, plurals for one
    };
    const std::vector<std::string> english = {"March",
                                              "is not a number",
                                              "of zero or more",
                                              "not enough stock bars",
                                              "fit no stock length",
                                              "fits no stock length",
                                              " bar",
                                              "part \"",
                                              "stock length"};
    const std::vector<Case> cases = {
        {"en",
         {"File dated 5 March 2026 (14:07)", "length \"abc\" of part \"X\" is not a number",
          "cost \"-2\" of stock length 5000 is not a number of zero or more",
          "not enough stock bars at hand for every part", "1 part fits no stock length",
          "2 parts fit no stock length", "\"HEB 100\": 1 bar, ", "at least 1 bar ", "\"IPE 80\": 2 bars"},
         {"1 bars", "1 parts", "05 March", "March,"}},
        {"nl",
         {"Bestand van 5 maart 2026 (14:07)", "lengte \"abc\" van onderdeel \"X\" is geen getal",
          "prijs \"-2\" van voorraadlengte 5000 is geen getal van nul of meer",
          "niet genoeg staven op voorraad voor alle onderdelen", "1 onderdeel past in geen voorraadlengte",
          "2 onderdelen passen in geen voorraadlengte", "\"HEB 100\": 1 staaf, ", "minstens 1 staaf ",
          "\"IPE 80\": 2 staven"},
         {"1 staven", "1 onderdelen", "1 passen"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang);
        Language lang(c.lang);
        ASSERT_TRUE(lang.ok);
        DlgCSP2Data d;
        d.entryIds = Vor_Array<int>{1, 2, 3, 4};
        d.entryNames = Vor_StringArray{"IPE 80", "HEA 100", "HEB 100", "UNP 80"};
        // IPE 80: a part file with a bad row, imported; a stock row with a bad cost.
        lib.write("Library/Cutting Stock/IPE 80/Stock1.shp", "X\xBF"
                                                             "abc\xBF"
                                                             "1\nA\xBF"
                                                             "4000\xBF"
                                                             "2\n");
        const std::string shp = lib.file("Library/Cutting Stock/IPE 80/Stock1.shp");
        const utimbuf times{march5(), march5()};
        ASSERT_EQ(::utime(shp.c_str(), &times), 0);
        d.list1.storeRowsOf(1, {Vor_StringArray{"6000", "1", ""}, Vor_StringArray{"5000", "-2", ""}});
        // HEA 100: too few bars at hand.
        d.list1.storeRowsOf(2, {Vor_StringArray{"6000", "1", "1"}});
        d.list2.storeRowsOf(2, {Vor_StringArray{"B", "4000", "3"}});
        // HEB 100: one part fits no stock length; UNP 80: two do.
        d.list1.storeRowsOf(3, {Vor_StringArray{"6000", "1", ""}});
        d.list2.storeRowsOf(3, {Vor_StringArray{"C", "1000", "1"}, Vor_StringArray{"L", "7000", "1"}});
        d.list1.storeRowsOf(4, {Vor_StringArray{"6000", "1", ""}});
        d.list2.storeRowsOf(4, {Vor_StringArray{"D", "1000", "1"}, Vor_StringArray{"L", "7000", "1"},
                                Vor_StringArray{"M", "8000", "1"}});
        const std::string imported = joined(importAllCsp2(d));
        const std::string optimised = joined(optimiseAllCsp2(d));
        std::filesystem::remove_all(lib.path() + "Library/Cutting Stock");
        const std::string report = imported + optimised;
        for (const std::string& text : c.says)
            EXPECT_NE(report.find(text), std::string::npos) << "says \"" << text << "\":\n" << report;
        std::vector<std::string> never = c.never;
        if (std::string(c.lang) == "nl") never.insert(never.end(), english.begin(), english.end());
        for (const std::string& text : never)
            EXPECT_EQ(report.find(text), std::string::npos) << "never \"" << text << "\":\n" << report;
    }
}

// The file date names the month in the chosen language; the time of day is the same in both.
TEST(CuttingStockFiles, fileDatesNameTheMonthInTheChosenLanguage) {
    const struct {
        const char* lang;
        const char* date;
    } cases[] = {{"en", "5 March 2026 (14:07)"}, {"nl", "5 maart 2026 (14:07)"}};
    for (const auto& c : cases) {
        Language lang(c.lang);
        ASSERT_TRUE(lang.ok);
        EXPECT_EQ(csp2FileDate(march5()).str(), std::string(c.date)) << c.lang;
    }
}

// Every message of the optimiser and its file readers has a kind and parameters the module words
// from the catalogue: in English exactly as the optimiser's own text (which vorcut prints), in Dutch
// without an English word.
TEST(CuttingStockFiles, everyOptimiserMessageIsWordedInBothLanguages) {
    std::vector<std::pair<std::string, cut::Message>> messages; // why, message
    auto add = [&](const std::string& why, const cut::Message& m) {
        EXPECT_NE(m.kind, cut::MessageKind::None) << why << ": " << m.text;
        messages.emplace_back(why, m);
    };
    std::vector<cut::FileMessage> read;
    cut::readParts({{"A"}, {"B", "abc"}, {"C", "-5"}, {"D", "100", "1.5"}, {"E", "100"}, {"E", "200"}}, read);
    cut::readStock({{"0"}, {"6000", "-1"}, {"6000", "1", "2.5"}}, read);
    for (int bad : {1001, 1002}) { // one line and two lines beyond those listed
        std::vector<cut::FileMessage> more;
        cut::readParts(std::vector<cut::Row>(std::size_t(bad), cut::Row{"X", "abc"}), more);
        read.push_back(more.back());
    }
    for (const cut::FileMessage& m : read)
        add("file row " + std::to_string(m.line), m);
    ASSERT_EQ(messages.size(), 10u) << "six part rows, three stock rows, two counts of lines not listed";

    const std::vector<cut::StockLength> bars = {{6000, 1, -1}};
    const std::vector<cut::Part> one = {{"A", 1000, 1}};
    std::vector<cut::StockLength> many(101, {6000, 1, -1});
    std::vector<cut::Part> lengths;
    for (int i = 0; i <= cut::kMaxPartLengths; ++i)
        lengths.push_back({"", 100.0 + i, 1});
    std::vector<cut::Part> pricing;
    for (int i = 0; i < 2000; ++i)
        pricing.push_back({"", 1000.1 + i, 1}); // tenths: no coarser grain
    cut::Settings grain, time, kerfNaN, kerfNeg, offcutLong;
    grain.unit = 0;
    time.timeLimit = std::nan("");
    kerfNaN.kerf = std::nan("");
    kerfNeg.kerf = -3;
    offcutLong.minOffcut = 1e19;
    const struct {
        const char* why;
        std::vector<cut::Part> parts;
        std::vector<cut::StockLength> stock;
        cut::Settings settings;
    } refused[] = {
        {"grain", one, bars, grain},
        {"time limit", one, bars, time},
        {"kerf not a number", one, bars, kerfNaN},
        {"kerf below zero", one, bars, kerfNeg},
        {"offcut too long", one, bars, offcutLong},
        {"stock below the grain", one, {{0.01, 1, -1}}, {}},
        {"stock cost", one, {{6000, std::nan(""), -1}}, {}},
        {"part with a mark too long", {{"A", 1e30, 1}}, bars, {}},
        {"part without a mark below zero", {{"", -5, 1}}, bars, {}},
        {"too many stock lengths", one, many, {}},
        {"too many pieces", {{"A", 1000, cut::kMaxPieces + 1}}, bars, {}},
        {"too many part lengths", lengths, bars, {}},
        {"pricing table", pricing, {{100000, 1, -1}}, {}},
        {"nothing fits", {{"A", 7000, 1}}, bars, {}},
        {"too few bars", {{"A", 4000, 3}}, {{6000, 1, 1}}, {}},
        {"one part fits none", {{"A", 1000, 1}, {"B", 7000, 1}}, bars, {}},
        {"two parts fit none", {{"A", 1000, 1}, {"B", 7000, 1}, {"C", 8000, 1}}, bars, {}},
    };
    for (const auto& c : refused)
        add(c.why, cut::optimise(c.parts, c.stock, c.settings).fault);

    TempDir folder;
    add("no parts file", cut::optimiseFolder(folder.path(), bars, {}).fault);
    folder.write("Stock1.shp", "\n");
    add("no part to cut", cut::optimiseFolder(folder.path(), bars, {}).fault);

    const char* englishWords[] = {"not", "the ", "part", "stock", "length", "bar", "fit", "line", "mark"};
    for (const char* lang : {"en", "nl"}) {
        Language language(lang);
        ASSERT_TRUE(language.ok);
        for (const auto& [why, m] : messages) {
            const std::string text = cutMessageText(m).str();
            if (std::string(lang) == "en") {
                // vorcut's own wording stays; the report says one part, one line in the singular
                const std::map<std::string, std::string> better = {
                    {"file row 1001", "1 more line could not be used (not listed)"},
                    {"one part fits none", "1 part fits no stock length"},
                    {"two parts fit none", "2 parts fit no stock length"}};
                const auto it = better.find(why);
                EXPECT_EQ(text, it == better.end() ? m.text : it->second) << why << ": the English wording";
                continue;
            }
            EXPECT_EQ(text.find('%'), std::string::npos) << why << ": every parameter filled in: " << text;
            for (const char* word : englishWords)
                EXPECT_EQ(text.find(word), std::string::npos) << why << ": \"" << word << "\" in " << text;
        }
    }
}
