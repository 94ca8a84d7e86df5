#include <host/Vor_PropertiesList.h>

#include "DecimalCommaLocale.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
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

TEST(Vor_PropertiesList, anOldFileIsReadInOneEncodingThroughout) {
    TempDir dir;
    // Windows-1252 throughout; the second value ("3×½") is D7 BD, which is also a valid UTF-8 pair.
    dir.write("old.txt", "size0\ttext\tGr\xF6\xDF"
                         "e\nsize1\ttext\t3\xD7\xBD\n");
    Vor_PropertiesList p;
    std::string error;
    ASSERT_EQ(p.readFromFile(dir.file("old.txt"), &error), Acad::eOk) << error;
    Vor_String s;
    p.getProperty("size0", s);
    EXPECT_EQ(s, "Größe");
    p.getProperty("size1", s);
    EXPECT_EQ(s, "3×½") << "a line that looks like UTF-8 is read in the file's encoding";
}

TEST(Vor_PropertiesList, numbersIgnoreTheLocaleAndNonFiniteOnesAreRefused) {
    DecimalCommaLocale nl;
    ASSERT_TRUE(nl.active()) << "./vor generates nl_NL.UTF-8";
    Vor_PropertiesList p;
    EXPECT_EQ(p.setProperty("width", 2.25), Acad::eOk);
    EXPECT_EQ(p.setProperty("huge", 1e300), Acad::eOk);
    const double nonFinite[] = {std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity()};
    for (double v : nonFinite)
        EXPECT_EQ(p.setProperty("bad", v), Acad::eInvalidInput) << v << " has no number text";
    EXPECT_FALSE(p.hasProperty("bad"));
    EXPECT_NE(p.toText().find("width\tdouble\t2.25\nhuge\tdouble\t1e+300\n"), std::string::npos)
        << p.toText();

    struct Case {
        const char* value;
        bool accepted;
        double number;
        const char* why;
    };
    const Case cases[] = {
        {"2.25", true, 2.25, "decimal point, whatever the locale"},
        {" -1.5e3 ", true, -1500.0, "blanks and exponent"},
        {"2,25", false, 0, "a comma is no decimal mark in a file"},
        {"inf", false, 0, "no infinity"},
        {"nan", false, 0, "no NaN"},
        {"1e999", false, 0, "beyond the double range"},
    };
    for (const Case& c : cases) {
        Vor_PropertiesList read;
        std::string error;
        const Acad::ErrorStatus status =
            read.fromText(std::string("x\tdouble\t") + c.value + "\n", "t.txt", &error);
        EXPECT_EQ(status == Acad::eOk, c.accepted) << c.why << ": " << error;
        double d = 0;
        if (c.accepted) {
            read.getProperty("x", d);
            EXPECT_EQ(d, c.number) << c.why;
        }
    }
}

TEST(Vor_PropertiesList, absurdFilesAreRefusedWithAReason) {
    TempDir dir;
    {
        std::ofstream(dir.file("huge.txt")).close();
        std::filesystem::resize_file(dir.file("huge.txt"), std::uintmax_t(2) << 30); // sparse
    }
    dir.write("longline.txt", "a\ttext\t" + std::string(std::size_t(2) << 20, 'x') + "\n");
    std::string many;
    for (int i = 0; i <= 200000; ++i)
        many += "k" + std::to_string(i) + "\tint\t1\n";
    dir.write("many.txt", many);
    const std::pair<const char*, const char*> expected[] = {
        {"huge.txt", "larger than 16 MiB"},
        {"longline.txt", ":1: line longer than 1 MiB"},
        {"many.txt", ":200001: more than 200000 properties"},
    };
    for (const auto& [file, reason] : expected) {
        Vor_PropertiesList p = sampleList();
        std::string error;
        EXPECT_NE(p.readFromFile(dir.file(file), &error), Acad::eOk) << file;
        EXPECT_NE(error.find(reason), std::string::npos) << file << ": " << error;
        EXPECT_EQ(p, sampleList()) << file << ": the list stays as it was";
    }
}
