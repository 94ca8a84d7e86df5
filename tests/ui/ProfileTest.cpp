// The profile store keeps integers and texts per section and entry.

#include <ui/Application.h>

#include <gtest/gtest.h>

#include <filesystem>

TEST(Profile, valuesSurviveAndDefaultsApplyToMissingEntries) {
    namespace fs = std::filesystem;
    std::string previous = ui::Profile::file();
    fs::path file = fs::temp_directory_path() / "vor-profile-test.ini";
    fs::remove(file);
    ui::Profile::setFile(file.string());
    EXPECT_EQ(ui::Profile::getInt("VORLANEV8", "DLG_X_TOP", -77), -77);
    EXPECT_FALSE(ui::Profile::has("VORLANEV8", "DLG_X_TOP"));
    ASSERT_TRUE(ui::Profile::writeInt("VORLANEV8", "DLG_X_TOP", -4));
    ASSERT_TRUE(ui::Profile::writeString("VORLANEV8", "NAME", "Ligger ë"));
    EXPECT_EQ(ui::Profile::getInt("VORLANEV8", "DLG_X_TOP", 0), -4);
    EXPECT_EQ(ui::Profile::getString("VORLANEV8", "NAME", ""), "Ligger ë");
    EXPECT_EQ(ui::Profile::getInt("OTHER", "DLG_X_TOP", 5), 5) << "sections are separate";
    EXPECT_TRUE(fs::exists(file));
    ui::Profile::setFile(previous);
    fs::remove(file);
}
