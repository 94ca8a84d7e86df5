// Table properties and header files: the byte format, case-insensitive keys, the variable lists and
// the repair of moved file references.

#include "calc/TablePropertyList.h"

#include <host/FileUtils.h>

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>

namespace fs = std::filesystem;

namespace {

std::string sep(std::initializer_list<const char*> fields) {
    std::string s;
    for (const char* f : fields)
        s += std::string(f) + '\xA4';
    return s;
}

TEST(TablePropertyList, writesKeyTypeValueEachClosedBySeparator) {
    TablePropertyList l;
    ASSERT_TRUE(l.setString("headerFile", "h.ssh"));
    ASSERT_TRUE(l.setInt("marginLeft", 9));
    ASSERT_TRUE(l.setDouble("zoomFactor", 1.2345));
    Vor_String text;
    l.toText(text);
    EXPECT_EQ(text.str(),
              sep({"headerFile", "4", "h.ssh", "marginLeft", "2", "9", "zoomFactor", "1", "1.23"}));
    TablePropertyList back;
    ASSERT_TRUE(back.fromText(text));
    double zoom;
    ASSERT_TRUE(back.getDouble("zoomFactor", zoom));
    EXPECT_DOUBLE_EQ(zoom, 1.23) << "two decimals survive a write";
}

TEST(TablePropertyList, keysIgnoreCaseAndKeepTheirFirstPlace) {
    TablePropertyList l;
    l.fromText(Vor_String(sep({"MARGINLEFT", "2", "7", "a", "4", "x", "marginleft", "2", "8"})));
    int v;
    ASSERT_TRUE(l.getInt("marginLeft", v));
    EXPECT_EQ(v, 8) << "the last value of a repeated key";
    EXPECT_EQ(l.length(), 2);
    EXPECT_EQ(l.keyAt(0), Vor_String("MARGINLEFT")) << "and its first position";
    l.setString("b", "new");
    l.setInt("A", 1);
    EXPECT_EQ(l.keyAt(1), Vor_String("a")) << "setting an existing key keeps its place";
    EXPECT_EQ(l.keyAt(2), Vor_String("b"));
}

TEST(TablePropertyList, gettersCheckTheTypeAndResetTheirOutput) {
    TablePropertyList l;
    l.setString("t", "text");
    l.setInt("i", 3);
    int i = 99;
    double d = 9;
    bool b = true;
    Vor_String s = "old";
    EXPECT_FALSE(l.getInt("t", i));
    EXPECT_EQ(i, 0);
    EXPECT_FALSE(l.getDouble("i", d));
    EXPECT_EQ(d, 0);
    EXPECT_FALSE(l.getString("i", s));
    EXPECT_TRUE(s.isEmpty());
    EXPECT_TRUE(l.getBool("i", b));
    EXPECT_TRUE(b);
    EXPECT_FALSE(l.getBool("missing", b));
    EXPECT_FALSE(b);
    EXPECT_FALSE(l.setInt("", 1)) << "an empty key is refused";
}

TEST(TablePropertyList, parsingIsForgivingButNeverInventive) {
    const struct {
        std::string text;
        int entries;
        const char* why;
    } cases[] = {
        {sep({"a", "4", "x", "b", "2"}), 1, "a trailing incomplete triple is ignored"},
        {sep({"a", "9", "x"}), 1, "an unknown type is kept as type 0"},
        {sep({"a", "zz", "x"}), 1, "a type that is no number is type 0"},
        {sep({"h", "4", "", "m", "2", "5"}), 2, "an empty value does not end the list"},
        {"", 0, "empty"},
    };
    for (const auto& c : cases) {
        TablePropertyList l;
        l.fromText(Vor_String(c.text));
        EXPECT_EQ(l.length(), c.entries) << c.why;
    }
    TablePropertyList l;
    l.fromText(Vor_String(sep({"a", "9", "x"})));
    TypedValue v;
    ASSERT_TRUE(l.get("a", v));
    EXPECT_EQ(v.type, TypedValue::None);
    EXPECT_TRUE(v.text.isEmpty());
    l.fromText(Vor_String(sep({"n", "2", " 42abc", "f", "1", "-1.5e1x"})));
    int n;
    double f;
    ASSERT_TRUE(l.getInt("n", n));
    ASSERT_TRUE(l.getDouble("f", f));
    EXPECT_EQ(n, 42) << "numbers read as atoi reads them";
    EXPECT_DOUBLE_EQ(f, -15.0);
}

TEST(TablePropertyList, unicodeSurvivesAndALoneSeparatorIsRefused) {
    TablePropertyList l;
    ASSERT_TRUE(l.setString("naam", "Ligger ä ¤ €")) << "ä and ¤ hold the byte A4 inside a character";
    EXPECT_FALSE(l.setString("bad", Vor_String(std::string("a\xA4") + "b")));
    EXPECT_FALSE(l.setString(Vor_String(std::string("k\xA4")), "x"));
    Vor_String text;
    l.toText(text);
    TablePropertyList back;
    back.fromText(text);
    Vor_String s;
    ASSERT_TRUE(back.getString("naam", s));
    EXPECT_EQ(s, Vor_String("Ligger ä ¤ €"));
    EXPECT_EQ(back.length(), 1);
}

TEST(TablePropertyList, numberedArraysStopAtTheFirstGap) {
    TablePropertyList l;
    l.writeArray("var", Vor_StringArray{"a", "b", "c"});
    l.remove("var1");
    Vor_StringArray out{"old"};
    l.readArray("var", out);
    EXPECT_EQ(out.length(), 1);
    l.setInt("var1", 5);
    l.readArray("var", out);
    EXPECT_EQ(out.length(), 1) << "a key of another type ends the array too";
}

// A corner tag of as many keys as the budget allows: every key is found through the index, in
// the order of the text, and the whole load takes linear time (a linear search per key took minutes).
TEST(TablePropertyList, aTagOfOneHundredThousandKeysLoadsQuicklyAndInOrder) {
    constexpr int kEntries = 100000;    // the budget
    constexpr int kKeys = kEntries - 1; // one entry repeats a key
    std::string text;
    for (int i = 0; i < kKeys - 1; ++i)
        text += "key" + std::to_string(i) +
                "\xA4"
                "2\xA4" +
                std::to_string(i) + '\xA4';
    text += sep({"KEY5", "2", "-5"}); // the last value of a repeated key counts, at its first place
    text += sep({"Straße", "4", "last"});
    const auto start = std::chrono::steady_clock::now();
    TablePropertyList l;
    PropertyReadIssues issues;
    ASSERT_TRUE(l.fromText(Vor_String(text), &issues));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // A linear search per key took minutes here; the index takes a fraction of a second (a few
    // seconds at most on a busy machine with the sanitizers).
    EXPECT_LT(elapsed, std::chrono::seconds(15));
    std::cerr << "loading 100000 keys took "
              << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << " ms\n";
    EXPECT_TRUE(issues.repeatedKey);
    ASSERT_EQ(l.length(), kKeys);
    const struct {
        const char* key;
        int index;
        int value;
        const char* why;
    } cases[] = {
        {"key0", 0, 0, "the first key stays first"},
        {"KEY5", 5, -5, "a repeated key keeps its first place and its last value"},
        {"Key99997", kKeys - 2, kKeys - 2, "the case of a key does not matter"},
        {"STRASSE", -1, 0, "keys compare letter by letter, not by spelling rules"},
    };
    for (const auto& c : cases) {
        int index = -1;
        EXPECT_EQ(l.find(c.key, index), c.index >= 0) << c.why;
        if (c.index < 0) continue;
        EXPECT_EQ(index, c.index) << c.why;
        int value = 0;
        EXPECT_TRUE(l.getInt(c.key, value)) << c.why;
        EXPECT_EQ(value, c.value) << c.why;
    }
    EXPECT_EQ(l.keyAt(kKeys - 1), Vor_String("Straße"));

    // After a removal the keys behind it are found at their new places, and a new key goes last.
    ASSERT_TRUE(l.remove("KEY0"));
    int index = -1;
    EXPECT_TRUE(l.find("STRAßE", index));
    EXPECT_EQ(index, kKeys - 2);
    EXPECT_FALSE(l.find("key0", index));
    ASSERT_TRUE(l.setInt("key0", 7));
    EXPECT_TRUE(l.find("key0", index));
    EXPECT_EQ(index, kKeys - 1);
    l.clear();
    EXPECT_FALSE(l.find("key1", index)) << "clear empties the index too";

    // One entry over the budget is refused before anything is read.
    TablePropertyList over;
    EXPECT_FALSE(over.fromText(Vor_String(text + sep({"one", "2", "1"})), &issues));
    EXPECT_TRUE(issues.tooLarge);
    EXPECT_EQ(over.length(), 0);
}

TEST(TableProperties, emptyTagNewTableAndUnevenVariables) {
    TableProperties p = TableProperties::newTable();
    EXPECT_TRUE(readTableProperties("", p));
    EXPECT_EQ(p, TableProperties()) << "an empty tag: no files, margins 0, switches off, no variables";

    TableProperties n = TableProperties::newTable();
    n.varNames = Vor_StringArray{"L", "q", "M"};
    n.varValues = Vor_StringArray{"6000", "12.5"};
    Vor_String tag;
    writeTableProperties(tag, n);
    TableProperties back;
    EXPECT_FALSE(readTableProperties(tag, back)) << "three names, two values";
    EXPECT_EQ(back.varNames.length(), 2);
    EXPECT_EQ(back.varValues.length(), 2);
    EXPECT_EQ(back.marginLeft, 9);
    EXPECT_TRUE(back.border);
    EXPECT_FALSE(back.smartPrint);

    TablePropertyList keys;
    keys.fromText(tag);
    const char* order[] = {"headerFile",     "footerFile", "marginLeft", "marginRight", "marginTop",
                           "marginBottom",   "smartPrint", "colors",     "colHeader",   "rowHeader",
                           "cellSeperators", "border",     "varNames0",  "varNames1",   "varNames2",
                           "varValues0",     "varValues1"};
    ASSERT_EQ(keys.length(), 17);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(keys.keyAt(i), Vor_String(order[i])) << i;
}

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

class FileReferences : public testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("vor-refs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "old");
        fs::create_directories(root / "new");
    }
    void TearDown() override { fs::remove_all(root); }
    void touch(const fs::path& p) { std::ofstream(p) << "x"; }
    Vor_String tagWith(const fs::path& header) {
        TableProperties p = TableProperties::newTable();
        p.headerFile = header.string();
        Vor_String tag;
        writeTableProperties(tag, p);
        return tag;
    }
    fs::path root;
};

TEST_F(FileReferences, aTableMovedWithItsHeaderAndPictureIsRepaired) {
    HeaderFile h;
    h.bmpSource = (root / "old" / "logo.bmp").string();
    h.zoomFactor = 1.2345;
    h.labels.append({1, 2, 30, 4, "Project: %PROJECT%"});
    ASSERT_TRUE(writeHeaderFile((root / "new" / "kop.ssh").string(), h));
    touch(root / "new" / "logo.bmp");
    Vor_String tag = tagWith(root / "old" / "kop.ssh");

    EXPECT_TRUE(checkFileReferences(tag, (root / "new" / "beam.sss").string()));
    TableProperties p;
    readTableProperties(tag, p);
    EXPECT_EQ(p.headerFile.str(), (root / "new" / "kop.ssh").string());
    TablePropertyList keys;
    keys.fromText(tag);
    EXPECT_EQ(keys.keyAt(keys.length() - 1), Vor_String("headerFile")) << "a replaced key moves to the end";
    HeaderFile back;
    ASSERT_TRUE(readHeaderFile((root / "new" / "kop.ssh").string(), back));
    EXPECT_EQ(back.bmpSource.str(), (root / "new" / "logo.bmp").string());
    EXPECT_DOUBLE_EQ(back.zoomFactor, 1.23);
    ASSERT_EQ(back.labels.length(), 1);
    EXPECT_EQ(back.labels[0], (HeaderLabel{1, 2, 30, 4, "Project: %PROJECT%"}));
}

TEST_F(FileReferences, aHeaderInPlaceWithAMovedPictureIsRewrittenButTheTagIsNot) {
    HeaderFile h;
    h.bmpSource = "C:\\old\\logo.bmp"; // an old Windows path
    fs::path header = root / "new" / "kop.ssh";
    ASSERT_TRUE(writeHeaderFile(header.string(), h));
    touch(root / "new" / "LOGO.bmp");
    Vor_String tag = tagWith(header);
    Vor_String before = tag;
    EXPECT_FALSE(checkFileReferences(tag, (root / "new" / "beam.sss").string()));
    EXPECT_EQ(tag, before);
    HeaderFile back;
    readHeaderFile(header.string(), back);
    EXPECT_EQ(back.bmpSource.str(), (root / "new" / "LOGO.bmp").string())
        << "names compare without regard to case";
}

TEST_F(FileReferences, openingATableNeverWritesOutsideItsFolder) {
    // Each header names a picture that only exists beside the table, so the check would like to
    // rewrite the header's BMPSource.
    HeaderFile h;
    h.bmpSource = (root / "gone" / "logo.bmp").string();
    h.labels.append({1, 2, 3, 4, "Project"});
    touch(root / "new" / "logo.bmp");
    fs::create_directories(root / "lib");
    ASSERT_TRUE(writeHeaderFile((root / "lib" / "Kop.ssh").string(), h));
    fs::create_symlink(root / "lib" / "Kop.ssh", root / "new" / "linked.ssh");
    fs::create_directories(root / "new" / "sub");
    ASSERT_TRUE(writeHeaderFile((root / "new" / "sub" / "kop.ssh").string(), h));
    const struct {
        fs::path header; ///< the header the tag names
        fs::path file;   ///< the file that must stay byte for byte
        const char* why;
    } cases[] = {
        {root / "lib" / "Kop.ssh", root / "lib" / "Kop.ssh", "a shared library header is not the table's"},
        {root / "new" / "linked.ssh", root / "lib" / "Kop.ssh", "a link in the folder leads out of it"},
        {root / "new" / "sub" / "kop.ssh", root / "new" / "sub" / "kop.ssh", "a folder below is another one"},
    };
    for (const auto& c : cases) {
        const std::string bytesBefore = readBytes(c.file);
        Vor_String tag = tagWith(c.header);
        const Vor_String tagBefore = tag;
        Vor_StringArray skipped;
        EXPECT_FALSE(checkFileReferences(tag, (root / "new" / "beam.sss").string(), &skipped)) << c.why;
        EXPECT_EQ(tag, tagBefore) << c.why << ": the header was found where the tag says";
        EXPECT_EQ(readBytes(c.file), bytesBefore) << c.why;
        EXPECT_TRUE(fs::is_symlink(root / "new" / "linked.ssh")) << c.why;
        ASSERT_EQ(skipped.length(), 1) << c.why;
        EXPECT_TRUE(skipped[0].contains("not in the table's folder")) << c.why << ": " << skipped[0].str();
    }
}

TEST_F(FileReferences, relativeReferencesResolveAgainstTheTablesFolder) {
    // A decoy in the working directory must not be taken for the table's header.
    const fs::path previous = fs::current_path();
    fs::current_path(root / "old");
    touch(root / "old" / "decoy.ssh");
    fs::create_directories(root / "new" / "kop");
    touch(root / "new" / "kop" / "head.ssh");
    const std::string table = (root / "new" / "beam.sss").string();
    const struct {
        const char* path;
        int expected;
        const char* after;
        const char* why;
    } cases[] = {
        {"kop/head.ssh", 1, "kop/head.ssh", "found below the table's folder and kept as written"},
        {"kop\\head.ssh", 1, "kop\\head.ssh", "an old backslash reference the same"},
        {"decoy.ssh", -1, "decoy.ssh", "the working directory is no place of the table's"},
    };
    for (const auto& c : cases) {
        Vor_String path(c.path);
        EXPECT_EQ(resolveNearDocument(path, table), c.expected) << c.why;
        EXPECT_EQ(path.str(), c.after) << c.why;
    }
    Vor_String relative("decoy.ssh");
    EXPECT_EQ(resolveNearDocument(relative, ""), -1) << "a new table has no folder for a relative path";

    // A relative header whose picture moved beside the table is repaired in the table's folder.
    HeaderFile h;
    h.bmpSource = "C:\\old\\logo.bmp";
    ASSERT_TRUE(writeHeaderFile((root / "new" / "kop" / "head.ssh").string(), h));
    ASSERT_TRUE(writeHeaderFile((root / "new" / "head.ssh").string(), h));
    touch(root / "new" / "logo.bmp");
    Vor_String tag = tagWith("head.ssh");
    EXPECT_FALSE(checkFileReferences(tag, table));
    HeaderFile back;
    ASSERT_TRUE(readHeaderFile((root / "new" / "head.ssh").string(), back));
    EXPECT_EQ(back.bmpSource.str(), (root / "new" / "logo.bmp").string());
    fs::current_path(previous);
}

TEST_F(FileReferences, nothingFoundLeavesEverythingAsItWas) {
    Vor_String tag = tagWith(root / "gone" / "kop.ssh");
    Vor_String before = tag;
    EXPECT_FALSE(checkFileReferences(tag, (root / "new" / "beam.sss").string()));
    EXPECT_EQ(tag, before);
    Vor_String path = "";
    EXPECT_EQ(resolveNearDocument(path, "/x/y.sss"), -1);
    HeaderFile h;
    EXPECT_FALSE(readHeaderFile((root / "none.ssh").string(), h));
}

TEST_F(FileReferences, headerLabelsStopAtTheFirstIncompleteOne) {
    TablePropertyList l;
    l.setString("BMPSource", "a.bmp");
    for (int i = 0; i < 3; ++i)
        for (const char* f : {"x1", "y1", "x2", "y2"})
            l.setDouble(Vor_String("LabelArr") + Vor_String(i) + Vor_String(f), i);
    l.setString("LabelArr0text", "one");
    l.setInt("LabelArr1text", 5); // not a text: ends the labels
    l.setString("LabelArr2text", "three");
    fs::path file = root / "labels.ssh";
    ASSERT_TRUE(l.writeFile(file.string()));
    HeaderFile h;
    ASSERT_TRUE(readHeaderFile(file.string(), h));
    EXPECT_EQ(h.labels.length(), 1);
}

// A header file in the bytes an old version wrote (Windows-1252), whose labels end in letters C2-DF.
std::string oldHeaderBytes(const std::string& picture) {
    return sep({"standardFont",  "4", "Arial",       "BMPSource",     "4", picture.c_str(),
                "zoomFactor",    "1", "1.00",        "LabelArr0x1",   "1", "1.00",
                "LabelArr0y1",   "1", "2.00",        "LabelArr0x2",   "1", "3.00",
                "LabelArr0y2",   "1", "4.00",        "LabelArr0text", "4", "Ma\xDF",
                "LabelArr1x1",   "1", "5.00",        "LabelArr1y1",   "1", "6.00",
                "LabelArr1x2",   "1", "7.00",        "LabelArr1y2",   "1", "8.00",
                "LabelArr1text", "4", "Profiel \xD8"});
}

TEST_F(FileReferences, anOldHeaderFileReadsWithEveryLabel) {
    const struct {
        std::string bytes;
        const char* label0;
        const char* label1;
        const char* why;
    } cases[] = {
        {oldHeaderBytes("logo.bmp"), "Maß", "Profiel Ø",
         "ß (DF) and Ø (D8) before the separator look like UTF-8 pairs; the rest of the file is ASCII"},
        {oldHeaderBytes("l\xF6go.bmp"), "Maß", "Profiel Ø", "with another old letter elsewhere in the file"},
    };
    for (const auto& c : cases) {
        writeBytes(root / "kop.ssh", c.bytes);
        HeaderFile h;
        ASSERT_TRUE(readHeaderFile((root / "kop.ssh").string(), h)) << c.why;
        ASSERT_EQ(h.labels.length(), 2) << c.why;
        EXPECT_EQ(h.labels[0].text, Vor_String(c.label0)) << c.why;
        EXPECT_EQ(h.labels[1].text, Vor_String(c.label1)) << c.why;
        EXPECT_EQ(h.labels[1], (HeaderLabel{5, 6, 7, 8, c.label1})) << c.why;
    }
}

TEST_F(FileReferences, theCheckRewritesOnlyHeaderFilesItReadCleanly) {
    // The header stays in place; its picture was moved next to the table, so the check would like to
    // rewrite BMPSource. It may do so only where the whole file was understood.
    const std::string oldPicture = (root / "old" / "logo.bmp").string();
    touch(root / "new" / "logo.bmp");
    const fs::path header = root / "new" / "kop.ssh";
    const std::string cleanUtf8 =
        sep({"BMPSource", "4", oldPicture.c_str(), "LabelArr0x1", "1", "1.00", "LabelArr0y1", "1", "2.00",
             "LabelArr0x2", "1", "3.00", "LabelArr0y2", "1", "4.00", "LabelArr0text", "4", "Länge Bä"});
    const struct {
        std::string bytes;
        bool rewritten;
        const char* reason;
        const char* why;
    } cases[] = {
        {cleanUtf8, true, "", "UTF-8 whose ä holds the separator byte reads cleanly and is repaired"},
        {oldHeaderBytes(oldPicture), false, "old code page", "an old single-byte file is never rewritten"},
        {cleanUtf8 + sep({"zoomFactor", "9", "1"}), false, "unknown type", "a type of another version"},
        {cleanUtf8 + sep({"author", "4", "me"}), false, "unknown keys", "a key of another version"},
        {cleanUtf8 + "LabelArr1x1\xA4", false, "damaged", "an unfinished entry at the end"},
        {cleanUtf8 + sep({"origBmpWidth", "2", " 42abc"}), false, "numbers not in their written form",
         "a number that needed atoi's guessing"},
        {cleanUtf8 + sep({"LabelArr0TEXT", "4", "second"}), false, "a key given twice",
         "a repeated key whose first value would be lost"},
    };
    for (const auto& c : cases) {
        writeBytes(header, c.bytes);
        Vor_String tag = tagWith(header);
        Vor_StringArray skipped;
        EXPECT_FALSE(checkFileReferences(tag, (root / "new" / "beam.sss").string(), &skipped)) << c.why;
        HeaderFile back;
        ASSERT_TRUE(readHeaderFile(header.string(), back)) << c.why;
        if (c.rewritten) {
            EXPECT_EQ(back.bmpSource.str(), (root / "new" / "logo.bmp").string()) << c.why;
            ASSERT_EQ(back.labels.length(), 1) << c.why;
            EXPECT_EQ(back.labels[0].text, Vor_String("Länge Bä")) << c.why;
            EXPECT_EQ(skipped.length(), 0) << c.why;
        } else {
            EXPECT_EQ(readBytes(header), c.bytes) << c.why << ": the person's file is left byte for byte";
            ASSERT_EQ(skipped.length(), 1) << c.why;
            EXPECT_TRUE(skipped[0].contains(Vor_String(header.string()))) << skipped[0].str();
            EXPECT_TRUE(skipped[0].contains(c.reason)) << c.why << ": " << skipped[0].str();
        }
    }
}

TEST_F(FileReferences, aTagThatWasNotReadCleanlyIsNotRewritten) {
    HeaderFile h;
    ASSERT_TRUE(writeHeaderFile((root / "new" / "kop.ssh").string(), h));
    const std::string oldHeader = (root / "old" / "kop.ssh").string();
    const struct {
        std::string tag;
        bool rewritten;
        const char* why;
    } cases[] = {
        {sep({"headerFile", "4", oldHeader.c_str(), "marginLeft", "2", "9"}), true,
         "a clean tag is repaired"},
        {sep({"headerFile", "4", oldHeader.c_str(), "marginLeft", "2", "9", "future", "2", "1"}), false,
         "a key of another version"},
        {sep({"headerFile", "4", oldHeader.c_str(), "marginLeft", "2", "9"}) + "margin", false, "unfinished"},
    };
    for (const auto& c : cases) {
        Vor_String tag(c.tag);
        Vor_StringArray skipped;
        EXPECT_EQ(checkFileReferences(tag, (root / "new" / "beam.sss").string(), &skipped), c.rewritten)
            << c.why;
        EXPECT_EQ(tag.str() == c.tag, !c.rewritten) << c.why;
        EXPECT_EQ(skipped.length(), c.rewritten ? 0 : 1) << c.why;
    }
}

TEST(TablePropertyList, readIssuesTellACleanReadFromAGuessedOne) {
    const struct {
        std::string text;
        PropertyReadIssues expected;
        int entries;
        const char* why;
    } cases[] = {
        {sep({"a", "4", "Länge ä", "b", "2", "-7", "c", "1", "1.25", "d", "3", "5000000000"}),
         {},
         4,
         "what the writer gives is clean, ä included"},
        {sep({"a", "4", "Stra\xDF", "b", "2", "7"}), {.oldCodePage = true}, 2, "ß before a separator"},
        {sep({"a", "4", "caf\xE9"}), {.oldCodePage = true}, 1, "any byte that is not UTF-8"},
        {sep({"1", "4", "äaä4", "2", "4", "3", "xäy", "4", "z"}),
         {.ambiguousEncoding = true},
         3,
         "split at every 0xA4 this also gives whole entries: UTF-8 is taken, but it was a choice"},
        {sep({"a", "4", "x"}) + "b\xA4" + "4", {.damaged = true}, 1, "an unfinished entry"},
        {sep({"a", "", "x"}), {.unknownType = true}, 1, "an empty type field is an unknown type"},
        {sep({"a", "0", "x"}), {.damaged = true}, 1, "a value on type 0 would be lost"},
        {sep({"a", " 4", "x"}), {.looseNumber = true}, 1, "a type code not in its written form"},
        {sep({"", "2", "1", "b", "2", "2"}), {.damaged = true}, 1, "an empty key cannot be kept"},
        {sep({"a", "7", "x"}), {.unknownType = true}, 1, "a type code beyond 4"},
        {sep({"a", "zz", "x"}), {.unknownType = true}, 1, "a type that is no number is unknown"},
        {sep({"a", "2", "12mm"}), {.looseNumber = true}, 1, "atoi's guess"},
        {sep({"a", "2", "99999999999"}), {.looseNumber = true}, 1, "beyond an int"},
        {sep({"a", "1", "inf"}), {.looseNumber = true}, 1, "no infinity"},
        {sep({"a", "2", "1", "A", "2", "2"}), {.repeatedKey = true}, 1, "keys ignore case"},
    };
    for (const auto& c : cases) {
        TablePropertyList l;
        PropertyReadIssues found;
        found.tooLarge = true; // stale flags must not survive
        l.fromText(Vor_String(c.text), &found);
        EXPECT_EQ(found.clean(), c.expected.clean()) << c.why << ": " << found.describe().str();
        EXPECT_EQ(found.describe(), c.expected.describe()) << c.why;
        EXPECT_EQ(l.length(), c.entries) << c.why;
    }
    TablePropertyList l;
    l.fromText(Vor_String(sep({"a", "1", "inf"})));
    double d = -1;
    ASSERT_TRUE(l.getDouble("a", d));
    EXPECT_EQ(d, 0.0) << "atof of a text that is no number";
}

TEST(TablePropertyList, everyFiniteDoubleIsWrittenAndNonFiniteOnesAreRefused) {
    const std::string old = std::setlocale(LC_ALL, nullptr);
    const bool nl = std::setlocale(LC_ALL, "nl_NL.UTF-8") != nullptr;
    const struct {
        double value;
        const char* text;
        const char* why;
    } cases[] = {
        {2.25, "2.25", "a decimal point on a decimal-comma desktop"},
        {1.005, "1.00", "1.005 is a little below its decimal text"},
        {-0.001, "0.00", "no sign for a value that rounds to zero"},
        {1e61, "9999999999999999493871352970740188669636450110134100730839040.00",
         "the first power that failed"},
        {-1e300, nullptr, "large negative"},
        {std::numeric_limits<double>::max(), nullptr, "the largest double"},
    };
    for (const auto& c : cases) {
        TablePropertyList l;
        ASSERT_TRUE(l.setDouble("v", c.value)) << c.why;
        Vor_String text;
        l.toText(text);
        const std::string value = text.str().substr(4, text.length() - 5); // "v" A4 "1" A4 value A4
        if (c.text) EXPECT_EQ(value, c.text) << c.why;
        EXPECT_EQ(value.find_first_not_of("-0123456789."), std::string::npos) << c.why << ": " << value;
        TablePropertyList back;
        PropertyReadIssues issues;
        back.fromText(text, &issues);
        double d = 0;
        ASSERT_TRUE(back.getDouble("v", d)) << c.why;
        EXPECT_DOUBLE_EQ(d, std::abs(c.value) >= 1e15 ? c.value : std::round(c.value * 100) / 100) << c.why;
        EXPECT_TRUE(issues.clean()) << c.why << ": " << issues.describe().str();
    }
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_TRUE(nl) << "./vor generates nl_NL.UTF-8";

    TablePropertyList l;
    l.setDouble("kept", 1);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(l.setDouble("bad", bad)) << bad << " has no number text";
    EXPECT_FALSE(l.set("bad", TypedValue{TypedValue::Int, 1.5, {}})) << "an int is whole";
    EXPECT_FALSE(l.set("bad", TypedValue{TypedValue::Int, 3e9, {}})) << "and fits 32 bits";
    EXPECT_FALSE(l.set("bad", TypedValue{TypedValue::Long, 1e19, {}})) << "a long fits 64 bits";
    EXPECT_FALSE(l.setString("bad", Vor_String(std::string("Stra\xDF"))))
        << "a text that is not UTF-8 would not read back";
    EXPECT_EQ(l.length(), 1);
}

TEST_F(FileReferences, absurdHeaderFilesAreRefused) {
    writeBytes(root / "big.ssh", std::string((std::size_t(1) << 20) + 1, 'x'));
    writeBytes(root / "seps.ssh", std::string(std::size_t(1) << 20, '\xA4'));
    for (const char* name : {"big.ssh", "seps.ssh"}) {
        TablePropertyList l;
        l.setInt("kept", 1);
        EXPECT_FALSE(l.readFile((root / name).string())) << name;
        EXPECT_EQ(l.length(), 1) << name << ": the list stays as it was";
        HeaderFile h;
        EXPECT_FALSE(readHeaderFile((root / name).string(), h)) << name;
    }
}

} // namespace

namespace {

TEST(SampleHeader, theBundledHeaderFileReadsWithItsPictureAndLabels) {
    HeaderFile h;
    ASSERT_TRUE(readHeaderFile(VOR_SOURCE_DIR "/data/lib/Calculation Tables/Kop.ssh", h));
    EXPECT_EQ(h.bmpSource, Vor_String("Kop.bmp"));
    EXPECT_EQ(h.origBmpWidth, 480);
    ASSERT_EQ(h.labels.length(), 4);
    EXPECT_EQ(h.labels[2].text, Vor_String("Blad %currentPage% van %totalPages%"));
    TablePropertyList list;
    PropertyReadIssues issues;
    ASSERT_TRUE(list.readFile(VOR_SOURCE_DIR "/data/lib/Calculation Tables/Kop.ssh", &issues));
    EXPECT_TRUE(issues.clean()) << "the sample may be repaired: " << issues.describe().str();
    EXPECT_TRUE(hasOnlyHeaderKeys(list));
    Vor_String picture = h.bmpSource;
    EXPECT_EQ(resolveNearDocument(picture, VOR_SOURCE_DIR "/data/lib/Calculation Tables/Ligger controle.sss"),
              1)
        << "the relative picture is found in the table's folder and kept as written";
    EXPECT_EQ(picture, Vor_String("Kop.bmp"));
}

} // namespace
