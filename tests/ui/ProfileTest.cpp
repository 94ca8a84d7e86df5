// The profile store keeps integers and texts per section and entry, and refuses a file too large to
// read at start-up without making the program unusable.

#include <ui/Application.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

class ProfileFile : public testing::Test {
protected:
    void SetUp() override {
        previous = ui::Profile::file();
        file = fs::temp_directory_path() /
               ("vor-profile-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) +
                ".ini");
        fs::remove(file);
    }
    void TearDown() override {
        ui::Profile::setFile(previous);
        fs::remove(file);
    }
    void writeBytes(const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }
    std::string readBytes() {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string previous;
    fs::path file;
};

TEST_F(ProfileFile, valuesSurviveAndDefaultsApplyToMissingEntries) {
    ui::Profile::setFile(file.string());
    EXPECT_EQ(ui::Profile::getInt("VORLANEV8", "DLG_X_TOP", -77), -77);
    EXPECT_FALSE(ui::Profile::has("VORLANEV8", "DLG_X_TOP"));
    ASSERT_TRUE(ui::Profile::writeInt("VORLANEV8", "DLG_X_TOP", -4));
    ASSERT_TRUE(ui::Profile::writeString("VORLANEV8", "NAME", "Ligger ë"));
    EXPECT_EQ(ui::Profile::getInt("VORLANEV8", "DLG_X_TOP", 0), -4);
    EXPECT_EQ(ui::Profile::getString("VORLANEV8", "NAME", ""), "Ligger ë");
    EXPECT_EQ(ui::Profile::getInt("OTHER", "DLG_X_TOP", 5), 5) << "sections are separate";
    EXPECT_TRUE(ui::Profile::fileInUse());
    EXPECT_TRUE(fs::exists(file));
}

TEST_F(ProfileFile, aProfileBeyondTheBudgetIsNotReadNorChangedAndTheProgramGoesOn) {
    // A real entry first, then padding: reading it would cost seconds and gigabytes at larger sizes.
    std::string bytes = "[VORLANEV8]\nDLG_X_TOP=5\n";
    while (bytes.size() <= ui::Profile::kMaxBytes)
        bytes += "K" + std::to_string(bytes.size()) + "=1\n";
    writeBytes(bytes);
    testing::internal::CaptureStderr();
    ui::Profile::setFile(file.string());
    EXPECT_EQ(ui::Profile::getInt("VORLANEV8", "DLG_X_TOP", -1), -1) << "the defaults apply";
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(file.string()), std::string::npos) << said;
    EXPECT_NE(said.find("is not read"), std::string::npos) << said;
    EXPECT_FALSE(ui::Profile::fileInUse());

    // The session still keeps what it sets, but nothing reaches the file.
    EXPECT_FALSE(ui::Profile::writeInt("VORLANEV8", "DLG_X_TOP", 7)) << "not stored in the file";
    EXPECT_EQ(ui::Profile::getInt("VORLANEV8", "DLG_X_TOP", -1), 7);
    EXPECT_FALSE(ui::Profile::writeString("VORLANEV8", "NAME", "x"));
    EXPECT_TRUE(ui::Profile::has("VORLANEV8", "NAME"));
    EXPECT_EQ(readBytes(), bytes) << "the person's file is left as it was";

    // A folder where the file should be is refused the same way.
    ui::Profile::setFile(fs::temp_directory_path().string());
    testing::internal::CaptureStderr();
    EXPECT_EQ(ui::Profile::getInt("VORLANEV8", "DLG_X_TOP", -1), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not a file"), std::string::npos);
}

TEST_F(ProfileFile, profilesUpToTheBudgetReadQuicklyWhateverTheirShape) {
    const std::size_t budget = ui::Profile::kMaxBytes;
    const auto fill = [&](const std::string& head, auto line) {
        std::string s = head;
        for (std::size_t i = 0; s.size() + 64 < budget; ++i)
            s += line(i);
        return s + "[VORLANEV8]\nDLG_X_TOP=5\n";
    };
    const struct {
        std::string bytes;
        const char* why;
    } cases[] = {
        {fill("", [](std::size_t) { return std::string("[VORLANEV8]\n"); }),
         "one section given again and again"},
        {fill("[VORLANEV8]\n",
              [](std::size_t i) { return "K" + std::to_string(i) + "=" + std::to_string(i) + "\n"; }),
         "many entries in one section"},
        {fill("", [](std::size_t i) { return "[S" + std::to_string(i) + "]\nA=1\n"; }), "many sections"},
        {fill("[VORLANEV8]\nLONG=", [](std::size_t) { return std::string("x"); }), "one very long line"},
        {fill("[VORLANEV8]\nLIST=", [](std::size_t) { return std::string(","); }),
         "a list of a million texts"},
        {fill("[VORLANEV8]\n",
              [](std::size_t i) { return "%U0041" + std::to_string(i) + "=\"a\\\\b\\\"\"\n"; }),
         "escapes everywhere"},
    };
    int n = 0;
    for (const auto& c : cases) {
        ASSERT_LE(c.bytes.size(), budget) << c.why;
        fs::remove(file);
        file.replace_extension(std::to_string(++n) + ".ini"); // a store of its own for each
        writeBytes(c.bytes);
        const auto start = std::chrono::steady_clock::now();
        ui::Profile::setFile(file.string());
        const int value = ui::Profile::getInt("VORLANEV8", "DLG_X_TOP", -1);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_TRUE(ui::Profile::fileInUse()) << c.why;
        std::cerr << c.why << ": " << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()
                  << " ms\n";
        EXPECT_LT(elapsed, std::chrono::seconds(10)) << c.why;
        EXPECT_EQ(value, 5) << c.why;
    }
}

} // namespace
