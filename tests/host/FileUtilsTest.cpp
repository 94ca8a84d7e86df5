#include <host/FileUtils.h>

#include <base/SafeFile.h>
#include <host/LineFile.h>
#include <host/Vor_PropertiesList.h>

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
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

namespace {

// Every save of the host, each writing a small new content over `path`.
struct HostSave {
    const char* name;
    std::function<bool(const std::string& path)> save;
};

const HostSave kHostSaves[] = {
    {"atomicWriteFile", [](const std::string& path) { return atomicWriteFile(path, "new content"); }},
    {"Vor_PropertiesList::writeToFile",
     [](const std::string& path) {
         Vor_PropertiesList p;
         p.setProperty("width", 2.25);
         return p.writeToFile(path) == Acad::eOk;
     }},
    {"writeFile (table line file)",
     [](const std::string& path) {
         return writeFile(path, {{"1"}, {"HEA 200", "190"}});
     }},
    {"ObjectExportWriteFile",
     [](const std::string& path) {
         return ObjectExportWriteFile(path, {"a", "b"});
     }},
};

// Switches the careful writer's injected failure off again, whatever a test did.
struct InjectedWriteFailure {
    InjectedWriteFailure(long long bytes, int err) { base::failSafeWritesAfterForTesting(bytes, err); }
    ~InjectedWriteFailure() { base::failSafeWritesAfterForTesting(-1, 0); }
};

} // namespace

TEST(FileUtils, everyHostSaveKeepsModeAndLinkAndTheOldFileOnAFullDisk) {
    for (const HostSave& s : kHostSaves) {
        TempDir dir;
        const std::string path = dir.file("saved.txt");
        dir.write("saved.txt", "old content");
        ::chmod(path.c_str(), 0600);
        ASSERT_TRUE(s.save(path)) << s.name;
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u) << s.name << ": a private file stays private";
        EXPECT_NE(dir.read("saved.txt"), "old content") << s.name;

        ASSERT_EQ(::symlink(path.c_str(), dir.file("link.txt").c_str()), 0);
        dir.write("saved.txt", "old content");
        ASSERT_TRUE(s.save(dir.file("link.txt"))) << s.name;
        ASSERT_EQ(::lstat(dir.file("link.txt").c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << s.name << ": the link stays a link";
        EXPECT_NE(dir.read("saved.txt"), "old content") << s.name << ": the file it points to is written";

        dir.write("saved.txt", "old content");
        {
            InjectedWriteFailure full(0, ENOSPC);
            EXPECT_FALSE(s.save(path)) << s.name << ": a full disk is reported";
        }
        EXPECT_EQ(dir.read("saved.txt"), "old content") << s.name << ": the old file is kept";
        EXPECT_EQ(dir.entryCount(), 2) << s.name << ": no temporary file is left (the file and the link)";
    }
}

TEST(FileUtils, readWholeFileRefusesFilesBeyondItsBudgetBeforeReading) {
    TempDir dir;
    dir.write("small.txt", "12345678");
    // A sparse file of 3 GiB costs no disk; reading it would cost 3 GiB of memory.
    {
        std::ofstream(dir.file("huge.txt")).close();
        std::filesystem::resize_file(dir.file("huge.txt"), std::uintmax_t(3) << 30);
    }
    std::string bytes = "kept";
    std::string error;
    EXPECT_FALSE(readWholeFile(dir.file("huge.txt"), bytes, &error)) << "beyond the default budget";
    EXPECT_NE(error.find(dir.file("huge.txt")), std::string::npos) << error;
    EXPECT_NE(error.find("larger than 64 MiB"), std::string::npos) << error;
    EXPECT_EQ(bytes, "kept");
    EXPECT_TRUE(readWholeFile(dir.file("small.txt"), bytes, &error, 8)) << "exactly the budget is fine";
    EXPECT_EQ(bytes, "12345678");
    EXPECT_FALSE(readWholeFile(dir.file("small.txt"), bytes, &error, 7)) << "one byte more is not";
    EXPECT_NE(error.find("larger than 7 bytes"), std::string::npos) << error;
}
