// Every save and export of a grid writes through the careful file writer: a file keeps its
// permissions, a symbolic link stays a link to a file that gets the new contents, and a full disk
// keeps the old file whole and reports the failure.
#include <sheet/SpreadControl.h>

#include <base/SafeFile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

using namespace sheet;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned modeOf(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0u;
}

struct Writer {
    const char* name;
    std::function<bool(SpreadControl*, const std::string&)> write;
    const char* starts; // what the new file begins with
};

const Writer kWriters[] = {
    {"table file", [](SpreadControl* c, const std::string& p) { return SSSaveToFile(c, p); }, "{"},
    {"text export", [](SpreadControl* c, const std::string& p) { return SSExportToTextFile(c, p, 0x19); },
     "cell"},
    {"HTML export", [](SpreadControl* c, const std::string& p) { return SSExportToHTML(c, p, "T"); },
     "<!DOCTYPE"},
    {"Excel export", [](SpreadControl* c, const std::string& p) { return SSExportToExcel(c, p); },
     "\xD0\xCF\x11\xE0"},
};

class CarefulWrite : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("careful-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        SSSetMaxCols(&c, 3);
        SSSetMaxRows(&c, 4);
        SSSetData(&c, 1, 1, "cell");
        SSSetFloat(&c, 2, 1, 1.5);
    }
    void TearDown() override {
        base::failSafeWritesAfterForTesting(-1, 0);
        fs::remove_all(dir);
    }
    // Files in the folder other than the ones named: left-over temporary files.
    std::size_t strayFiles(std::initializer_list<const char*> known) const {
        std::size_t n = 0;
        for (const auto& e : fs::directory_iterator(dir))
            if (std::find_if(known.begin(), known.end(),
                             [&](const char* k) { return e.path().filename() == k; }) == known.end())
                ++n;
        return n;
    }
    SpreadControl c;
    fs::path dir;
};

TEST_F(CarefulWrite, aFileKeepsItsPermissions) {
    for (const Writer& w : kWriters) {
        const fs::path target = dir / "private";
        std::ofstream(target) << "old";
        ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
        ASSERT_TRUE(w.write(&c, target.string())) << w.name << ": " << c.lastError();
        EXPECT_EQ(modeOf(target), 0600u) << w.name << ": a private file stays private";
        EXPECT_EQ(readFile(target).rfind(w.starts, 0), 0u) << w.name << ": the new contents are there";
        EXPECT_EQ(strayFiles({"private"}), 0u) << w.name;
        fs::remove(target);
    }
}

TEST_F(CarefulWrite, aSymbolicLinkStaysALinkToTheNewContents) {
    for (const Writer& w : kWriters) {
        fs::create_directories(dir / "real");
        const fs::path real = dir / "real" / "table";
        const fs::path link = dir / "link";
        std::ofstream(real) << "old";
        fs::create_symlink(fs::path("real") / "table", link);
        ASSERT_TRUE(w.write(&c, link.string())) << w.name << ": " << c.lastError();
        EXPECT_TRUE(fs::is_symlink(link)) << w.name << ": the link is not replaced by a file";
        EXPECT_EQ(readFile(real).rfind(w.starts, 0), 0u)
            << w.name << ": the file it points to has the new contents";
        fs::remove(link);
        fs::remove_all(dir / "real");
    }
}

TEST_F(CarefulWrite, aFullDiskKeepsTheOldFileAndSaysSo) {
    for (const Writer& w : kWriters) {
        for (long long after : {0LL, 5LL}) { // the first byte fails, or a write after some bytes
            const fs::path target = dir / "kept";
            std::ofstream(target) << "old contents";
            c.setLastError({});
            base::failSafeWritesAfterForTesting(after, ENOSPC);
            EXPECT_FALSE(w.write(&c, target.string())) << w.name << " after " << after << " bytes";
            base::failSafeWritesAfterForTesting(-1, 0);
            EXPECT_EQ(readFile(target), "old contents") << w.name << ": the old file is whole";
            EXPECT_NE(c.lastError().find(std::strerror(ENOSPC)), std::string::npos)
                << w.name << ": the reason is reported: " << c.lastError();
            EXPECT_EQ(strayFiles({"kept"}), 0u) << w.name << ": no temporary file is left";
        }
    }
}

TEST_F(CarefulWrite, aFailedSaveLeavesTheTableChanged) {
    SSSetBool(&c, Sheet::kOptChangeMade, true);
    base::failSafeWritesAfterForTesting(0, ENOSPC);
    EXPECT_FALSE(SSSaveToFile(&c, (dir / "t.sss").string()));
    base::failSafeWritesAfterForTesting(-1, 0);
    EXPECT_TRUE(SSGetBool(&c, Sheet::kOptChangeMade))
        << "nothing was saved, so the changes are still unsaved";
    EXPECT_FALSE(fs::exists(dir / "t.sss"));
}

} // namespace
