// Modeless dialogs under a script, and pictures.

#include "TestDialogs.h"

#include <ui/Application.h>
#include <ui/Image.h>
#include <ui/Script.h>

#include <filesystem>

using namespace ui;
using testui::Recorder;

namespace {

TEST(Modeless, scriptActsOnTheChosenDialogAndFailsWhenOneIsLeftOpen) {
    testui::registerResources();
    ScriptedAgent agent;
    setAgent(&agent);
    Recorder first, second;
    ASSERT_TRUE(first.create());
    ASSERT_TRUE(second.create());
    EXPECT_EQ(agent.target(), &second) << "the newest modeless dialog is the target";
    EXPECT_TRUE(agent.runLine("expect-dialog 700"));
    EXPECT_TRUE(agent.runLine("type 11 \"to second\""));
    EXPECT_EQ(second.item(11)->text(), "to second");
    EXPECT_EQ(first.item(11)->text(), "");
    second.destroyWindow();
    EXPECT_EQ(agent.target(), &first) << "after one closes, the other one is acted on";
    agent.setScript("# nothing more\n", "left.vsc");
    EXPECT_FALSE(agent.run());
    EXPECT_NE(agent.failure().find("ended with dialog 700 \"All controls\" still open"), std::string::npos)
        << agent.failure();
    EXPECT_FALSE(first.exists()) << "the run closed what was left";
    setAgent(nullptr);
}

TEST(Modeless, expectDialogWithANumberChoosesAmongTheVisibleDialogsOfOneTemplate) {
    testui::registerResources();
    struct Case {
        const char* line;
        bool hideAllButTheSecond; ///< else only the second of the three is hidden
        int chosen;               ///< index of the dialog chosen (0 to 2); -1: the line fails
        const char* why;
    };
    const Case cases[] = {
        {"expect-dialog 700 1", false, 0, "the oldest visible one is number 1"},
        {"expect-dialog 700 2", false, 2, "the hidden one is not counted while others are visible"},
        {"expect-dialog 700 3", false, -1, "only two are visible"},
        {"expect-dialog 700 0", false, -1, "numbers count from 1"},
        {"expect-dialog 701 1", false, -1, "no dialog of that template is open"},
        {"expect-dialog 700 1", true, 1, "with none visible, the hidden ones count"},
    };
    for (const Case& c : cases) {
        ScriptedAgent agent;
        setAgent(&agent);
        Recorder dlgs[3];
        for (Recorder& d : dlgs)
            ASSERT_TRUE(d.create());
        dlgs[1].endDialog(IDOK); // a modeless dialog that ends is only hidden
        if (c.hideAllButTheSecond) {
            dlgs[0].destroyWindow();
            dlgs[2].destroyWindow();
        }
        const bool ok = agent.runLine(c.line);
        EXPECT_EQ(ok, c.chosen >= 0) << c.line << ": " << c.why << " " << agent.failure();
        if (ok && c.chosen >= 0) EXPECT_EQ(agent.target(), &dlgs[c.chosen]) << c.line << ": " << c.why;
        for (Recorder& d : dlgs)
            if (d.exists()) d.destroyWindow();
        setAgent(nullptr);
    }
}

TEST(Modeless, endDialogHidesAndDestroyRunsTheHookOnce) {
    testui::registerResources();
    Recorder dlg;
    ASSERT_TRUE(dlg.create());
    EXPECT_TRUE(dlg.isVisible());
    dlg.endDialog(IDOK);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.exists()) << "a modeless dialog lives until it is destroyed";
    dlg.destroyWindow();
    dlg.destroyWindow();
    EXPECT_FALSE(dlg.exists());
    EXPECT_EQ(dlg.item(11), nullptr);
}

TEST(Images, filledTransparentSavedAndMissing) {
    Image img = Image::filled(4, 3, rgb(192, 192, 192));
    EXPECT_EQ(img.size(), (Size{4, 3}));
    EXPECT_EQ(img.pixel(1, 1), rgb(192, 192, 192));
    EXPECT_EQ(img.pixel(9, 9), 0u) << "outside the picture";
    auto path = std::filesystem::temp_directory_path() / "vor-image-test.png";
    ASSERT_TRUE(img.save(path.string()));
    Image back = Image::fromFile(path.string());
    EXPECT_EQ(back.size(), img.size());
    EXPECT_EQ(back.pixel(3, 2), rgb(192, 192, 192));
    std::filesystem::remove(path);
    EXPECT_TRUE(Image::fromFile("/no/such/picture.png").isNull());
    EXPECT_TRUE(Image::fromResource(987654).isNull());
    Image copy = img;
    copy.setTransparentColor(rgb(192, 192, 192));
    EXPECT_FALSE(copy.isNull());
    EXPECT_EQ(img.pixel(0, 0), rgb(192, 192, 192)) << "copies are independent";
}

TEST(Menus, subMenusAndItemStates) {
    testui::registerResources();
    Menu bar(500);
    EXPECT_EQ(bar.commandIds(), (std::vector<int>{601, 602, 611, 612}));
    EXPECT_FALSE(bar.isEnabled(602)) << "GRAYED in the template";
    Menu context = bar.subMenu(1);
    EXPECT_EQ(context.commandIds(), (std::vector<int>{611, 612}));
    int changes = 0;
    bar.changed = [&] { ++changes; };
    bar.checkItem(601, true);
    bar.checkItem(601, true);
    EXPECT_TRUE(bar.isChecked(601));
    EXPECT_EQ(changes, 1) << "only a real change redraws";
    bar.setItemText(611, "Kopiëren");
    EXPECT_EQ(bar.itemText(611), "Kopiëren");
    EXPECT_FALSE(bar.hasItem(999));
    EXPECT_TRUE(bar.subMenu(7).items().empty());
}

} // namespace
