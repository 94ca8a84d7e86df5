#include <host/FileUtils.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(FileUtils, namesAndExtensions) {
    struct Case {
        const char* path;
        const char* withoutExtension;
        const char* withBmp;
        const char* fileName;
    };
    const Case cases[] = {
        {"a/b/EndPlate.txt", "a/b/EndPlate", "a/b/EndPlate.bmp", "EndPlate.txt"},
        {"Beams\\EndPlate.txt", "Beams\\EndPlate", "Beams\\EndPlate.bmp", "EndPlate.txt"},
        {"my.folder/name", "my.folder/name", "my.folder/name.bmp", "name"},
        {"a/archive.tar.gz", "a/archive.tar", "a/archive.tar.bmp", "archive.tar.gz"},
        {"a/.hidden", "a/.hidden", "a/.hidden.bmp", ".hidden"},
        {"plain", "plain", "plain.bmp", "plain"},
        {"dir/", "dir/", "dir/.bmp", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(removeExtension(c.path), c.withoutExtension) << c.path;
        EXPECT_EQ(changeExtension(c.path, "bmp"), c.withBmp) << c.path;
        EXPECT_EQ(changeExtension(c.path, ".bmp"), c.withBmp) << c.path << " (extension given with its dot)";
        EXPECT_EQ(getFileName(c.path), c.fileName) << c.path;
    }
    EXPECT_EQ(changeExtension("a/b.txt", ""), "a/b");
    EXPECT_EQ(getExtension("a/Stock1.SHP"), "SHP");
    EXPECT_EQ(getFolder("lib\\prof\\HEA.pr"), "lib/prof/");
    EXPECT_EQ(folderWithSlash("C:\\lib"), "C:/lib/");
    EXPECT_TRUE(samePath("Lib\\Prof\\hea.PR", "lib/prof/HEA.pr"));
    EXPECT_FALSE(samePath("lib/prof/HEA.pr", "lib/prof/HEB.pr"));
}

TEST(FileUtils, findExistingPathMatchesNamesWithoutRegardToCase) {
    TempDir dir;
    dir.write("Dialog Templates/Dialog Design/Beams/EndPlate.txt", "x");
    EXPECT_EQ(findExistingPath(dir.path() + "dialog templates\\dialog design\\beams\\endplate.TXT"),
              dir.path() + "Dialog Templates/Dialog Design/Beams/EndPlate.txt");
    EXPECT_EQ(findExistingPath(dir.path() + "Dialog Templates/missing.txt"), std::nullopt);
}

TEST(FileUtils, atomicWriteReplacesTheWholeFile) {
    TempDir dir;
    const std::string path = dir.file("table.sss");
    dir.write("table.sss", "old content");
    ::chmod(path.c_str(), 0640);
    std::string error;
    ASSERT_TRUE(atomicWriteFile(path, "new", &error)) << error;
    EXPECT_EQ(dir.read("table.sss"), "new");
    EXPECT_EQ(dir.entryCount(), 1) << "no temporary file left";
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the permissions of the old file are kept";

    // Writing through a link replaces the linked file and keeps the link.
    ::symlink(path.c_str(), dir.file("link.sss").c_str());
    ASSERT_TRUE(atomicWriteFile(dir.file("link.sss"), "via link", &error)) << error;
    EXPECT_EQ(dir.read("table.sss"), "via link");
    ASSERT_EQ(::lstat(dir.file("link.sss").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(FileUtils, failedAtomicWriteKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("table.sss");
    dir.write("table.sss", "old content");
    std::string error;
    {
        FileSizeLimit limit(16); // the disk is "full" after 16 bytes
        EXPECT_FALSE(atomicWriteFile(path, std::string(1000, 'x'), &error));
    }
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(dir.read("table.sss"), "old content");
    EXPECT_EQ(dir.entryCount(), 1) << "the temporary file is removed";

    EXPECT_FALSE(atomicWriteFile(dir.file("no/such/folder/x"), "x", &error));
    EXPECT_FALSE(atomicWriteFile(dir.path(), "x", &error)) << "a folder is not replaced by a file";
}
