// Table properties and header files: the byte format, case-insensitive keys, the variable lists and
// the repair of moved file references.

#include "calc/TablePropertyList.h"

#include <host/FileUtils.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string sep(std::initializer_list<const char*> fields) {
    std::string s;
    for (const char* f : fields) s += std::string(f) + '\xA4';
    return s;
}

TEST(TablePropertyList, writesKeyTypeValueEachClosedBySeparator) {
    TablePropertyList l;
    ASSERT_TRUE(l.setString("headerFile", "h.ssh"));
    ASSERT_TRUE(l.setInt("marginLeft", 9));
    ASSERT_TRUE(l.setDouble("zoomFactor", 1.2345));
    Vor_String text;
    l.toText(text);
    EXPECT_EQ(text.str(), sep({"headerFile", "4", "h.ssh", "marginLeft", "2", "9", "zoomFactor", "1", "1.23"}));
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
    const char* order[] = {"headerFile", "footerFile", "marginLeft", "marginRight", "marginTop", "marginBottom",
                           "smartPrint", "colors", "colHeader", "rowHeader", "cellSeperators", "border",
                           "varNames0", "varNames1", "varNames2", "varValues0", "varValues1"};
    ASSERT_EQ(keys.length(), 17);
    for (int i = 0; i < 17; ++i) EXPECT_EQ(keys.keyAt(i), Vor_String(order[i])) << i;
}

class FileReferences : public testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("vor-refs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
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
    fs::path header = root / "old" / "kop.ssh";
    ASSERT_TRUE(writeHeaderFile(header.string(), h));
    touch(root / "new" / "LOGO.bmp");
    Vor_String tag = tagWith(header);
    Vor_String before = tag;
    EXPECT_FALSE(checkFileReferences(tag, (root / "new" / "beam.sss").string()));
    EXPECT_EQ(tag, before);
    HeaderFile back;
    readHeaderFile(header.string(), back);
    EXPECT_EQ(back.bmpSource.str(), (root / "new" / "LOGO.bmp").string()) << "names compare without regard to case";
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

} // namespace

namespace {

TEST(SampleHeader, theBundledHeaderFileReadsWithItsPictureAndLabels) {
    HeaderFile h;
    ASSERT_TRUE(readHeaderFile(VOR_SOURCE_DIR "/data/lib/Calculation Tables/Kop.ssh", h));
    EXPECT_EQ(h.bmpSource, Vor_String("Kop.bmp"));
    EXPECT_EQ(h.origBmpWidth, 480);
    ASSERT_EQ(h.labels.length(), 4);
    EXPECT_EQ(h.labels[2].text, Vor_String("Blad %currentPage% van %totalPages%"));
    Vor_String picture = h.bmpSource;
    EXPECT_EQ(resolveNearDocument(picture, VOR_SOURCE_DIR "/data/lib/Calculation Tables/Ligger controle.sss"), 0)
        << "the picture is found beside the table";
}

} // namespace
