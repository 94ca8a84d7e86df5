// The check after every widget test counts the windows a test leaves behind, hidden ones too.

#include "../support/LeakedWindows.h"

#include "TestDialogs.h"

#include <ui/Application.h>

#include <memory>

namespace {

TEST(LeakedWindows, hiddenAndVisibleWindowsLeftBehindAreBothCounted) {
    auto before = testsupport::topLevelWindows();
    auto hidden = std::make_unique<QWidget>();
    hidden->setWindowTitle("hidden one");
    auto shown = std::make_unique<QWidget>();
    shown->show();
    auto tip = std::make_unique<QWidget>(nullptr, Qt::ToolTip); // the toolkit keeps these for reuse
    auto left = testsupport::leakedWindows(before, nullptr);
    ASSERT_EQ(left.size(), 2u) << "a hidden window is as much a leak as a visible one";
    EXPECT_EQ(testsupport::leakedWindows(before, hidden.get()).size(), 1u)
        << "the window to keep is not counted";
    auto now = testsupport::topLevelWindows();
    EXPECT_TRUE(testsupport::leakedWindows(now, nullptr).empty())
        << "windows open before the test are not its own";
    hidden.reset();
    shown.reset();
    EXPECT_TRUE(testsupport::leakedWindows(before, nullptr).empty()) << "closed and deleted: nothing left";
}

TEST(LeakedWindows, anEndedModelessDialogIsNamedByItsTemplateUntilItIsDestroyed) {
    testui::registerResources();
    auto before = testsupport::topLevelWindows();
    testui::Recorder dlg;
    ASSERT_TRUE(dlg.create());
    dlg.endDialog(ui::IDOK); // hides a modeless dialog but keeps its window
    auto left = testsupport::leakedWindows(before, nullptr);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0], "QWidget \"dialog 700\" titled \"All controls\" (hidden)");
    dlg.destroyWindow();
    ui::processEvents();
    EXPECT_TRUE(testsupport::leakedWindows(before, nullptr).empty());
}

} // namespace
