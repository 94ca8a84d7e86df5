// Keys keep their classic codes all the way: a script's key name, the toolkit's key event and what
// the dialog's pre-translation sees agree for every key scripts can press.

#include "TestDialogs.h"

#include <ui/Application.h>
#include <ui/Script.h>

using namespace ui;

namespace {

TEST(KeyCodes, everyNamedKeyReachesPreTranslationWithItsClassicCode) {
    testui::registerResources();
    testui::Recorder dlg;
    ASSERT_TRUE(dlg.create());
    dlg.eatAll = true; // nothing reaches a control or the default handling
    dlg.item(11)->setFocus();
    const struct {
        const char* name;
        int vk;
    } keys[] = {
        {"Enter", VK_RETURN},
        {"Escape", VK_ESCAPE},
        {"Tab", VK_TAB},
        {"Backspace", VK_BACK},
        {"Space", VK_SPACE},
        {"PageUp", VK_PRIOR},
        {"PageDown", VK_NEXT},
        {"End", VK_END},
        {"Home", VK_HOME},
        {"Left", VK_LEFT},
        {"Up", VK_UP},
        {"Right", VK_RIGHT},
        {"Down", VK_DOWN},
        {"Insert", VK_INSERT},
        {"Delete", VK_DELETE},
        {"F1", VK_F1},
        {"F3", VK_F3},
        {"F5", VK_F5},
        {"F12", VK_F12},
        {"A", 'A'},
        {"z", 'Z'},
        {"0", '0'},
        {"9", '9'},
    };
    std::string error;
    for (const auto& k : keys) {
        int vk = keyCodeFromName(k.name);
        EXPECT_EQ(vk, k.vk) << k.name << ": the script's name gives the classic code";
        dlg.keys.clear();
        ASSERT_TRUE(SimulatedUser::key(dlg, {vk}, error)) << error;
        ASSERT_EQ(dlg.keys.size(), 1u) << k.name << " reached pre-translation once";
        EXPECT_EQ(dlg.keys[0], k.vk) << k.name << ": through the toolkit and back, the code is unchanged";
    }
    EXPECT_EQ(keyCodeFromName("escape"), VK_ESCAPE) << "names ignore case";
    EXPECT_EQ(keyCodeFromName("Esc"), VK_ESCAPE);
    EXPECT_EQ(keyCodeFromName("F13"), 0);
    EXPECT_EQ(keyCodeFromName("ab"), 0);
    EXPECT_EQ(keyName(VK_F3), "F3");
    EXPECT_EQ(keyName('Q'), "Q");
    EXPECT_EQ(keyName(0x99), "#153") << "a code without a name is shown as a number";
    EXPECT_EQ(dlg.okCalls + dlg.cancelCalls, 0) << "eaten keys have no default effect";
    dlg.destroyWindow();
}

} // namespace
