#include <host/Vor_PropertiesList.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

Vor_PropertiesList sampleList() {
    Vor_PropertiesList p;
    p.setProperty("nrOfControls", 2);
    p.setProperty("topLeftX0", 0.1);
    p.setProperty("third", 1.0 / 3.0);
    p.setProperty("tiny", 1e-300);
    p.setProperty("intMin", std::numeric_limits<int>::min());
    p.setProperty("contents0", "Tab\there; \"quoted\"\nnew line\r\\back\\n ä € 𝄞 #hash");
    p.setProperty("#starts with hash", "x");
    p.setProperty("name\twith\ttabs\nand lines", "");
    p.setProperty("comboList0", " leading and trailing blanks ");
    return p;
}

} // namespace

TEST(Vor_PropertiesList, writeThenReadGivesTheSameList) {
    TempDir dir;
    const Vor_PropertiesList written = sampleList();
    std::string error;
    ASSERT_EQ(written.writeToFile(dir.file("EndPlate.txt"), &error), Acad::eOk) << error;
    Vor_PropertiesList read;
    read.setProperty("stale", 1);
    ASSERT_EQ(read.readFromFile(dir.file("EndPlate.txt"), &error), Acad::eOk) << error;
    EXPECT_EQ(read, written) << "same names, order, kinds and values; nothing of the old content";
    EXPECT_EQ(read.names()[0], "nrOfControls");
}

TEST(Vor_PropertiesList, fileIsReadableLines) {
    Vor_PropertiesList p;
    p.setProperty("nrOfControls", 1);
    p.setProperty("topLeftX0", 0.25);
    p.setProperty("contents0", "Length\tin mm");
    const std::string text = p.toText();
    EXPECT_NE(text.find("nrOfControls\tint\t1\ntopLeftX0\tdouble\t0.25\ncontents0\ttext\tLength\\tin mm\n"),
              std::string::npos)
        << text;
}

TEST(Vor_PropertiesList, valuesAreReadBackAsTheirOwnKind) {
    Vor_PropertiesList p;
    p.setProperty("type0", 3);
    p.setProperty("x", 1.5);
    p.setProperty("text", "abc");
    int n = -1;
    double d = -1;
    Vor_String s("untouched");
    EXPECT_EQ(p.getProperty("type0", d), Acad::eOk) << "an int may be read as a double";
    EXPECT_EQ(d, 3.0);
    EXPECT_EQ(p.getProperty("x", n), Acad::eInvalidInput);
    EXPECT_EQ(p.getProperty("type0", s), Acad::eInvalidInput);
    EXPECT_EQ(p.getProperty("missing", n), Acad::eKeyNotFound);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(s, "untouched");
    EXPECT_EQ(p.setProperty("", 1), Acad::eInvalidInput);

    p.setProperty("type0", "now text");
    EXPECT_EQ(p.names()[0], "type0") << "a known name keeps its place";
    EXPECT_EQ(p.getProperty("type0", s), Acad::eOk);
    EXPECT_EQ(s, "now text");
    EXPECT_EQ(p.removeProperty("x"), Acad::eOk);
    EXPECT_EQ(p.getProperty("text", s), Acad::eOk) << "look-ups still work after a removal";
    EXPECT_EQ(s, "abc");
}

TEST(Vor_PropertiesList, malformedFileIsRefusedWithFileLineAndWhat) {
    struct Case {
        const char* content;
        Acad::ErrorStatus status;
        const char* expectedError;
    };
    const Case cases[] = {
        {"a\tint\t1\nno tabs at all\n", Acad::eInvalidInput, ":2: expected NAME<TAB>TYPE<TAB>VALUE"},
        {"a\tinteger\t1\n", Acad::eInvalidInput, ":1: unknown type 'integer' (int, double or text)"},
        {"# c\n\na\tint\t1.5\n", Acad::eInvalidInput, ":3: '1.5' is not an int (name a)"},
        {"a\tint\t99999999999\n", Acad::eInvalidInput, ":1: '99999999999' is not an int (name a)"},
        {"a\tdouble\t1,5\n", Acad::eInvalidInput, ":1: '1,5' is not a number (name a)"},
        {"a\ttext\tbad \\x\n", Acad::eInvalidInput, ":1: unknown escape \\x"},
        {"\tint\t1\n", Acad::eInvalidInput, ":1: empty name"},
        {"a\tint\t1\nb\tint\t2\na\ttext\tx\n", Acad::eDuplicateKey, ":3: name 'a' already given on line 1"},
    };
    TempDir dir;
    const std::string path = dir.file("bad.txt");
    for (const Case& c : cases) {
        dir.write("bad.txt", c.content);
        Vor_PropertiesList p = sampleList();
        std::string error;
        EXPECT_EQ(p.readFromFile(path, &error), c.status) << c.content;
        EXPECT_EQ(error, path + c.expectedError);
        EXPECT_EQ(p, sampleList()) << "a refused file leaves the list as it was";
    }
    Vor_PropertiesList p;
    std::string error;
    EXPECT_EQ(p.readFromFile(dir.file("missing.txt"), &error), Acad::eFileNotFound);
    EXPECT_NE(error.find("missing.txt"), std::string::npos);
}

TEST(Vor_PropertiesList, readsOldCodePageAndWindowsLineEnds) {
    TempDir dir;
    dir.write("old.txt", "contents0\ttext\tL\xE4nge \x80\r\nsize\tdouble\t 12.5 \r\n");
    Vor_PropertiesList p;
    std::string error;
    ASSERT_EQ(p.readFromFile(dir.file("old.txt"), &error), Acad::eOk) << error;
    Vor_String s;
    double d = 0;
    p.getProperty("contents0", s);
    p.getProperty("size", d);
    EXPECT_EQ(s, "Länge €");
    EXPECT_EQ(d, 12.5);
}

TEST(Vor_PropertiesList, failedWriteKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("props.txt");
    Vor_PropertiesList small;
    small.setProperty("a", 1);
    ASSERT_EQ(small.writeToFile(path), Acad::eOk);
    const std::string before = dir.read("props.txt");

    Vor_PropertiesList big;
    big.setProperty("text", Vor_String(std::string(5000, 'x')));
    {
        FileSizeLimit limit(before.size() + 10);
        EXPECT_EQ(big.writeToFile(path), Acad::eFileAccessErr);
    }
    EXPECT_EQ(dir.read("props.txt"), before);
    Vor_PropertiesList read;
    EXPECT_EQ(read.readFromFile(path), Acad::eOk);
    EXPECT_EQ(read, small);
}
