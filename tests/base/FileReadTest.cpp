#include <base/FileRead.h>
#include <base/PathPart.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FileReadTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vorread-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    fs::path m_dir;
};

TEST_F(FileReadTest, readsAFileWithinItsBudgetAndRefusesOneBeyond) {
    put("a.txt", "0123456789");
    std::string bytes = "old", error;
    ASSERT_TRUE(base::readRegularFile(path("a.txt"), bytes, 10, &error)) << error;
    EXPECT_EQ(bytes, "0123456789");
    bytes = "old";
    EXPECT_FALSE(base::readRegularFile(path("a.txt"), bytes, 9, &error));
    EXPECT_EQ(bytes, "old") << "a refused file leaves the caller's bytes as they were";
    EXPECT_NE(error.find("larger than 9 bytes"), std::string::npos) << error;
}

TEST_F(FileReadTest, refusesWhatIsNoRegularFileWithoutBlocking) {
    ASSERT_EQ(::mkfifo(path("pipe.sss").c_str(), 0600), 0);
    fs::create_directory(path("folder.sss"));
    fs::create_symlink(path("pipe.sss"), path("link.sss"));
    const struct {
        std::string path;
        const char* says;
    } cases[] = {
        {path("pipe.sss"), "pipe"},           // a FIFO would block the open and every read for ever
        {path("link.sss"), "pipe"},           // through a link too
        {path("folder.sss"), "folder"},       // a folder given as a file
        {"/dev/zero", "device"},              // endless bytes
        {path("missing.sss"), "No such file"} // the system's own reason
    };
    for (const auto& c : cases) {
        std::string bytes, error;
        EXPECT_FALSE(base::readRegularFile(c.path, bytes, 1 << 20, &error)) << c.path;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_NE(error.find(c.path), std::string::npos) << "the message names the file: " << error;
        EXPECT_FALSE(base::isRegularFile(c.path)) << c.path;
    }
    put("real.sss", "x");
    fs::create_symlink(path("real.sss"), path("real-link.sss"));
    EXPECT_TRUE(base::isRegularFile(path("real-link.sss")));
}

TEST(PathPart, acceptsOnlyOneNameInsideItsFolder) {
    const struct {
        std::string name;
        bool ok;
        const char* why;
    } cases[] = {
        {"IPE", true, "a plain table name"},
        {"HE AA 200", true, "spaces belong to names"},
        {"Stock2.buy", true, "a file name with its extension"},
        {"profielen-ü", true, "letters beyond ASCII"},
        {"...", true, "three dots are a name, not a parent"},
        {"", false, "nothing to name"},
        {".", false, "the folder itself"},
        {"..", false, "the parent folder"},
        {"../../outside/x", false, "climbs out of the library"},
        {"a/b", false, "a folder inside the name"},
        {"..\\x", false, "old data writes folders with a backslash"},
        {"/etc/passwd", false, "an absolute path"},
        {std::string("a\0b", 3), false, "a NUL byte ends the name early for the system"},
        {"line\nbreak", false, "a control character"},
        {std::string(256, 'a'), false, "longer than a file system name"},
        {std::string(255, 'a'), true, "as long as a name may be"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base::isPathPart(c.name), c.ok) << c.why;
        EXPECT_EQ(base::pathPartFault(c.name).empty(), c.ok) << c.why;
    }
}

} // namespace
