#include <base/SafeFile.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SafeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vorbase-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        base::failSafeWritesAfterForTesting(-1, 0);
        fs::remove_all(m_dir);
    }
    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void put(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    // Nothing but the named files: no temporary file left behind.
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }

    fs::path m_dir;
};

TEST_F(SafeFileTest, replacesContentAndKeepsTheMode) {
    const std::string p = path("table.sss");
    put(p, "old");
    ASSERT_EQ(::chmod(p.c_str(), 0600), 0);
    std::string error;
    ASSERT_TRUE(base::writeFileSafely(p, "new content", &error)) << error;
    EXPECT_EQ(read(p), "new content");
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u) << "a private table stays private";
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SafeFileTest, writingThroughALinkReplacesItsTargetAndKeepsTheLink) {
    fs::create_directory(m_dir / "real");
    const std::string target = path("real/table.sss");
    put(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    const std::string link = path("link.sss");
    fs::create_symlink("real/table.sss", link);
    ASSERT_TRUE(base::writeFileSafely(link, "through the link"));
    EXPECT_TRUE(fs::is_symlink(link)) << "the link is not replaced by a plain file";
    EXPECT_EQ(read(target), "through the link");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "real"), fs::directory_iterator()), 1);
}

TEST_F(SafeFileTest, aFullDiskKeepsTheOldFile) {
    const std::string p = path("table.sss");
    put(p, "the old table");
    for (long long after : {0LL, 5LL}) {
        base::failSafeWritesAfterForTesting(after, ENOSPC);
        base::SafeFileWriter w(p);
        ASSERT_TRUE(w.open());
        EXPECT_EQ(w.write("12345"), after >= 5) << "within the budget";
        EXPECT_FALSE(w.write("67890")) << "the write past the budget fails, and every one after a failure";
        EXPECT_FALSE(w.commit());
        EXPECT_NE(w.error().find("No space left"), std::string::npos) << w.error();
        EXPECT_EQ(read(p), "the old table");
        EXPECT_EQ(entries(), 1u) << "no temporary file left";
        base::failSafeWritesAfterForTesting(-1, 0);
    }
}

TEST_F(SafeFileTest, refusesWhatCannotBeWritten) {
    std::string error;
    EXPECT_FALSE(base::writeFileSafely(path("no/such/folder/x.sss"), "x", &error));
    EXPECT_NE(error.find("no/such/folder/x.sss"), std::string::npos) << error;
    fs::create_directory(m_dir / "folder");
    EXPECT_FALSE(base::writeFileSafely(path("folder"), "x", &error));
    EXPECT_NE(error.find("it is a folder"), std::string::npos) << error;
    EXPECT_FALSE(base::writeFileSafely("", "x", &error));
    EXPECT_TRUE(fs::is_directory(m_dir / "folder"));

    const std::string readOnly = path("signed-off.sss");
    put(readOnly, "checked");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    EXPECT_FALSE(base::writeFileSafely(readOnly, "changed", &error)) << "a read-only file is not replaced";
    EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
    EXPECT_EQ(read(readOnly), "checked");
    EXPECT_EQ(entries(), 2u) << "the folder and the read-only file, nothing else";
}

TEST_F(SafeFileTest, aLegalLongNameCanBeWritten) {
    const std::string name = std::string(251, 'k') + ".sss"; // 255 bytes, the usual limit
    std::string error;
    ASSERT_TRUE(base::writeFileSafely(path(name), "first", &error)) << error;
    ASSERT_TRUE(base::writeFileSafely(path(name), "second", &error)) << error;
    EXPECT_EQ(read(path(name)), "second");
}

TEST_F(SafeFileTest, anOutsideWriterFillsTheTemporaryFile) {
    const std::string p = path("report.pdf");
    put(p, "old pdf");
    {
        base::SafeFileWriter w(p);
        ASSERT_TRUE(w.open());
        put(w.tempPath(), "%PDF-1.4 new");
        ASSERT_TRUE(w.commit()) << w.error();
    }
    EXPECT_EQ(read(p), "%PDF-1.4 new");
    {
        base::SafeFileWriter w(p);
        ASSERT_TRUE(w.open());
        put(w.tempPath(), "half a pdf");
    } // dropped without commit: the printer failed
    EXPECT_EQ(read(p), "%PDF-1.4 new");
    EXPECT_EQ(entries(), 1u);
}

} // namespace
