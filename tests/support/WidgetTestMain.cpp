// main() for tests that open windows: an offscreen application, a fixed virtual screen, a
// temporary profile, and a check after each test that no top-level window was left behind.

#include <ui/Application.h>

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

class NoLeakedWindows : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo& info) override {
        ui::processEvents();
        int visible = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w != ui::mainWindow()) ++visible;
        EXPECT_EQ(visible, 0) << info.name() << " left " << visible << " window(s) open";
    }
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
