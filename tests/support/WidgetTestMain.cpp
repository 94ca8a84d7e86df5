// main() for tests that open windows: an offscreen application, a fixed virtual screen, a
// temporary profile, and a check after each test that no top-level window was left behind.

#include "LeakedWindows.h"

#include <ui/Application.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

/// Windows that were there before a test started were reported by the test that left them.
class NoLeakedWindows : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        ui::processEvents();
        m_before = testsupport::topLevelWindows();
    }
    void OnTestEnd(const testing::TestInfo& info) override {
        ui::processEvents();
        std::vector<std::string> left = testsupport::leakedWindows(m_before, ui::mainWindow());
        std::string names;
        for (const std::string& n : left)
            names += "\n  " + n;
        EXPECT_TRUE(left.empty()) << info.test_suite_name() << "." << info.name() << " left " << left.size()
                                  << " top-level window(s) behind:" << names;
    }
    std::vector<QPointer<QWidget>> m_before;
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    ui::ensureApplication(true);
    ui::ScreenMetrics screen;
    screen.fullScreenClient = {1600, 1177};
    screen.workArea = {0, 0, 1600, 1200};
    ui::setVirtualScreen(screen);
    auto dir = std::filesystem::temp_directory_path() / ("vortest-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    ui::Profile::setFile((dir / "profile.ini").string());
    testing::UnitTest::GetInstance()->listeners().Append(new NoLeakedWindows);
    int rc = RUN_ALL_TESTS();
    std::filesystem::remove_all(dir);
    return rc;
}
