#include <host/LineFile.h>

#include <host/VorUtils.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(LineFile, anyCellTextSurvivesWriteAndRead) {
    const Vor_Array<Vor_StringArray> lines{
        {"1"},
        {"SysName", "I/O", "Nederlands", "English", "h"},
        {"200", "1", "HEA 200", "semi;colon", "\"quoted\""},
        {"multi\nline", "crlf\r\nin cell", "lone\rcr", "trailing ", " leading"},
        {},
        {""},
        {"", ""},
        {"\xEF\xBB\xBF"
         "bom first",
         "# not a comment", "ä € 𝄞", "x\"y", ";"},
    };
    TempDir dir;
    std::string error;
    ASSERT_TRUE(writeFile(dir.file("HEA.pr"), lines, &error)) << error;
    Vor_String tableName("old");
    Vor_Array<Vor_StringArray> read{{"stale"}};
    ASSERT_TRUE(readFile(dir.file("HEA.pr"), tableName, read, &error)) << error;
    EXPECT_EQ(read, lines);
    EXPECT_EQ(tableName, "HEA") << "the file name without folder and extension";
}

TEST(LineFile, fileIsPlainSemicolonSeparatedText) {
    const Vor_Array<Vor_StringArray> lines{{"1"}, {"SysName", "I/O", "h"}, {"200", "1", "a;b"}, {}, {""}};
    EXPECT_EQ(formatLineTable(lines), "1\nSysName;I/O;h\n200;1;\"a;b\"\n\n\"\"\n");
}

TEST(LineFile, readsHandWrittenAndOldFiles) {
    struct Case {
        std::string text;
        Vor_Array<Vor_StringArray> lines;
        const char* why;
    };
    const Case cases[] = {
        {"", {}, "an empty file has no lines"},
        {"a;b", {{"a", "b"}}, "a last line without line end"},
        {"a;b\r\nc\r\n", {{"a", "b"}, {"c"}}, "Windows line ends"},
        {"12\";x\n", {{"12\"", "x"}}, "a quote inside an unquoted cell is kept"},
        {"\"a\"\"b\";\"\"\n", {{"a\"b", ""}}, "doubled quotes"},
        {"H\xE9"
         "bert;\x80\n",
         {{"Hébert", "€"}},
         "Windows-1252 lines"},
        {"\xEF\xBB\xBF"
         "a\n",
         {{"a"}},
         "byte order mark"},
    };
    for (const Case& c : cases) {
        Vor_Array<Vor_StringArray> lines;
        std::string error;
        EXPECT_TRUE(parseLineTable(c.text, "t.pr", lines, &error)) << c.why << ": " << error;
        EXPECT_EQ(lines, c.lines) << c.why;
    }
}

TEST(LineFile, malformedFileNamesTheLineAndChangesNothing) {
    TempDir dir;
    dir.write("bad.pr", "1\na;\"open\nstill open\n");
    dir.write("junk.pr", "1\n2\n\"a\"b;c\n");
    Vor_String tableName("kept");
    Vor_Array<Vor_StringArray> lines{{"kept"}};
    std::string error;
    EXPECT_FALSE(readFile(dir.file("bad.pr"), tableName, lines, &error));
    EXPECT_EQ(error, dir.file("bad.pr") + ":2: quoted cell not closed before the end of the file");
    EXPECT_FALSE(readFile(dir.file("junk.pr"), tableName, lines, &error));
    EXPECT_EQ(error, dir.file("junk.pr") + ":3: unexpected text after a closing quote");
    EXPECT_FALSE(readFile(dir.file("missing.pr"), tableName, lines, &error));
    EXPECT_EQ(tableName, "kept");
    EXPECT_EQ(lines, (Vor_Array<Vor_StringArray>{{"kept"}}));
}

TEST(LineFile, failedWriteKeepsTheOldFile) {
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("t.pr"), {{"1"}, {"a", "b"}}));
    const std::string before = dir.read("t.pr");
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(writeFile(dir.file("t.pr"), {{Vor_String(std::string(500, 'x'))}}));
        EXPECT_FALSE(ObjectExportWriteFile(dir.file("t.pr"), {Vor_String(std::string(500, 'x'))}));
    }
    EXPECT_EQ(dir.read("t.pr"), before);
    EXPECT_EQ(dir.entryCount(), 1);
}

TEST(LineFile, plainLinesKeepSeparatorBytesForSplitting) {
    TempDir dir;
    const Vor_Array<Vor_StringArray> rows{{"Stück", "ä¿", ""}, {"", "", ""}};
    std::string error;
    ASSERT_TRUE(ObjectExportWriteFile(dir.file("Stock1.shp"), arrArrToArr(rows, '\xBF'), &error)) << error;
    Vor_StringArray lines;
    ASSERT_TRUE(ObjectExportReadFile(dir.file("Stock1.shp"), lines, &error)) << error;
    EXPECT_EQ(arrToArrArr(lines, '\xBF'), rows);

    // The same rows written by the old version in Windows-1252, with Windows line ends.
    dir.write("Stock2.shp", "St\xFC"
                            "ck\xBF\xE4\x80\xBF\r\n\xBF\xBF");
    ASSERT_TRUE(ObjectExportReadFile(dir.file("Stock2.shp"), lines, &error)) << error;
    EXPECT_EQ(arrToArrArr(lines, '\xBF'), (Vor_Array<Vor_StringArray>{{"Stück", "ä€", ""}, {"", "", ""}}));

    EXPECT_FALSE(ObjectExportWriteFile(dir.file("x.txt"), {"one", "two\nthree"}, &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_FALSE(ObjectExportReadFile(dir.file("missing.txt"), lines));
    EXPECT_EQ(lines.length(), 2) << "unchanged after a failed read";
}

TEST(LineFile, findFilesComparesNamesWithoutRegardToCase) {
    TempDir dir;
    for (const char* name : {"Stock1.shp", "stock7.SHP", "Stock2.buy", "a.shpx", "Beams/EndPlate.txt",
                             "Beams/x.TXT", "Beams/Deep/y.txt", "top.txt"})
        dir.write(name, "");
    ASSERT_TRUE(ObjectExportCreateDirectory(dir.file("dir.shp")));

    Vor_StringArray files{"stale"};
    ASSERT_TRUE(ObjectExportFindFiles(dir.path(), "*.shp", files));
    EXPECT_EQ(files, (Vor_StringArray{dir.file("Stock1.shp"), dir.file("stock7.SHP")})) << "no folders";
    ASSERT_TRUE(ObjectExportFindFiles(dir.path(), "STOCK?.*", files));
    EXPECT_EQ(files.length(), 3);

    ASSERT_TRUE(ObjectExportFindFilesRecursive(dir.path(), "*.txt", files));
    EXPECT_EQ(files, (Vor_StringArray{dir.file("top.txt"), dir.file("Beams/EndPlate.txt"),
                                      dir.file("Beams/x.TXT"), dir.file("Beams/Deep/y.txt")}));
    EXPECT_FALSE(ObjectExportFindFiles(dir.file("missing"), "*", files));
    EXPECT_EQ(files.length(), 4) << "unchanged when the folder cannot be read";

    EXPECT_TRUE(matchesPattern("Stock12.shp", "Stock*.shp"));
    EXPECT_TRUE(matchesPattern("ÉTÉ.TXT", "été.*"));
    EXPECT_TRUE(matchesPattern("ä", "?")) << "? is one character, not one byte";
    EXPECT_FALSE(matchesPattern("Stock.shpx", "*.shp"));
    EXPECT_TRUE(matchesPattern("README", "*.*"));
}

TEST(LineFile, createDirectoryMakesParentsAndAcceptsBackslashes) {
    TempDir dir;
    EXPECT_TRUE(ObjectExportCreateDirectory(dir.path() + "Cutting Stock\\HEA 200\\"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("Cutting Stock/HEA 200")));
    EXPECT_TRUE(ObjectExportCreateDirectory(dir.path() + "Cutting Stock")) << "an existing folder is fine";
    dir.write("file", "");
    EXPECT_FALSE(ObjectExportCreateDirectory(dir.file("file/sub")));
}

TEST(LineFile, anOldFileIsReadInOneEncodingThroughout) {
    // Windows-1252 throughout. "Maß" before the separator 0xBF is DF BF, and "3×½" is D7 BD: both are
    // valid UTF-8 pairs by accident, so a line-by-line decision would misread those lines.
    TempDir dir;
    dir.write("Stock3.shp", "Gr\xF6\xDF"
                            "e\xBF"
                            "1\n"
                            "Ma\xDF\xBF"
                            "2\n"
                            "3\xD7\xBD\xBF"
                            "3\n"
                            "Gr\xF6\xDF"
                            "e\xA4\xBF"
                            "4\n");
    Vor_StringArray lines;
    std::string error;
    ASSERT_TRUE(ObjectExportReadFile(dir.file("Stock3.shp"), lines, &error)) << error;
    EXPECT_EQ(arrToArrArr(lines, '\xBF'),
              (Vor_Array<Vor_StringArray>{{"Größe", "1"}, {"Maß", "2"}, {"3×½", "3"}, {"Größe¤", "4"}}))
        << "every separator found, and the old currency sign beside decoded letters read once";

    Vor_Array<Vor_StringArray> rows;
    ASSERT_TRUE(parseLineTable("H\xE9"
                               "bert;1\n"
                               "3\xD7\xBD;2\n",
                               "t.pr", rows, &error))
        << error;
    EXPECT_EQ(rows, (Vor_Array<Vor_StringArray>{{"Hébert", "1"}, {"3×½", "2"}}));
}

TEST(LineFile, absurdFilesAreRefusedWithAReason) {
    TempDir dir;
    {
        std::ofstream(dir.file("huge.pr")).close();
        std::filesystem::resize_file(dir.file("huge.pr"), std::uintmax_t(4) << 30); // sparse, costs no disk
    }
    dir.write("longline.pr", "1\n" + std::string((std::size_t(1) << 20) + 1, 'x') + "\n");
    dir.write("longcell.pr", "1\n\"" + std::string(std::size_t(1) << 20, 'x') + "\"\n");
    dir.write("wide.pr", std::string(5000, ';') + "\n");
    dir.write("tall.txt", std::string(1000001, '\n'));
    const struct {
        const char* file;
        const char* reason;
        bool table;
    } cases[] = {
        {"huge.pr", "larger than 32 MiB", true},
        {"longline.pr", "longline.pr:2: line longer than 1 MiB", true},
        {"longcell.pr", "longcell.pr:2: line longer than 1 MiB", true},
        {"wide.pr", "wide.pr:1: more than 4096 cells in a line", true},
        {"huge.pr", "larger than 32 MiB", false},
        {"longline.pr", "longline.pr:2: line longer than 1 MiB", false},
        {"tall.txt", "more than 1000000 lines", false},
    };
    for (const auto& c : cases) {
        std::string error;
        if (c.table) {
            Vor_String name("kept");
            Vor_Array<Vor_StringArray> rows{{"kept"}};
            EXPECT_FALSE(readFile(dir.file(c.file), name, rows, &error)) << c.file;
            EXPECT_EQ(rows, (Vor_Array<Vor_StringArray>{{"kept"}})) << c.file;
        } else {
            Vor_StringArray lines{"kept"};
            EXPECT_FALSE(ObjectExportReadFile(dir.file(c.file), lines, &error)) << c.file;
            EXPECT_EQ(lines, Vor_StringArray{"kept"}) << c.file;
        }
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.file << ": " << error;
    }
    std::string wholeLine = "1\n" + std::string(std::size_t(1) << 20, 'x') + "\n";
    Vor_Array<Vor_StringArray> rows;
    std::string error;
    EXPECT_TRUE(parseLineTable(wholeLine, "ok.pr", rows, &error))
        << "a line of exactly 1 MiB is fine: " << error;
}
