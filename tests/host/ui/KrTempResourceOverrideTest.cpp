#include "HostUiFixture.h"

#include <host/ui/KrTempResourceOverride.h>

using namespace hostui;

namespace {

void addModuleSet(const std::string& name) {
    auto set = std::make_shared<ui::ResourceSet>();
    set->name = name;
    std::string script =
        "500 DIALOGEX 0, 0, 60, 20\nCAPTION \"" + name + "\"\nBEGIN\n  LTEXT \"x\", -1, 2, 2, 20, 8\nEND\n";
    std::string error;
    ASSERT_TRUE(ui::parseResourceScript(script, name + ".rc", *set, error)) << error;
    ui::Resources::add(set);
}

/// Whose template 500 a dialog would be built from now.
std::string lookedUp() {
    const ui::DialogTemplate* t = ui::Resources::dialog(500);
    return t ? t->caption : "";
}

class KrTempResourceOverrideTest : public testing::Test {
protected:
    void SetUp() override {
        registerResources();
        addModuleSet("modA");
        addModuleSet("modB");
        ui::Resources::setCurrent(kSetName);
        a.SaveDefaultResource("modA");
        b.SaveDefaultResource("modB");
    }
    void TearDown() override {
        ui::Resources::remove("modA");
        ui::Resources::remove("modB");
        ui::Resources::setCurrent(kSetName);
    }
    KrTempResourceOverride a, b;
};

} // namespace

TEST_F(KrTempResourceOverrideTest, nestedSwitchesUndoInReverseOrder) {
    a.SetDefaultResource();
    EXPECT_EQ(lookedUp(), "modA");
    b.SetDefaultResource(); // module B's launcher called from a dialog of module A
    EXPECT_EQ(lookedUp(), "modB");
    a.SetDefaultResource(); // which calls back into module A
    EXPECT_EQ(ui::Resources::current(), "modA");
    EXPECT_EQ(a.depth(), 2);

    EXPECT_TRUE(a.RestoreOriginalResource());
    EXPECT_EQ(ui::Resources::current(), "modB");
    EXPECT_TRUE(b.RestoreOriginalResource());
    EXPECT_EQ(ui::Resources::current(), "modA");
    EXPECT_TRUE(a.RestoreOriginalResource());
    EXPECT_EQ(ui::Resources::current(), kSetName);
    EXPECT_FALSE(a.RestoreOriginalResource()) << "nothing left to undo";
    EXPECT_EQ(ui::Resources::current(), kSetName) << "an extra restore changes nothing";
}

TEST_F(KrTempResourceOverrideTest, dialogsAreBuiltFromTheModuleInFront) {
    a.SetDefaultResource();
    ProbeDialog dlg(500);
    ASSERT_TRUE(dlg.create());
    EXPECT_EQ(dlg.windowText(), "modA");
    dlg.destroyWindow();
    a.RestoreOriginalResource();
}

TEST_F(KrTempResourceOverrideTest, switchWithoutAModuleSetStillBalances) {
    KrTempResourceOverride none;
    EXPECT_EQ(none.defaultResource(), "");
    none.SetDefaultResource();
    EXPECT_EQ(ui::Resources::current(), kSetName) << "no module set remembered: look-up unchanged";
    a.SetDefaultResource();
    EXPECT_TRUE(a.RestoreOriginalResource());
    EXPECT_TRUE(none.RestoreOriginalResource());
    EXPECT_EQ(ui::Resources::current(), kSetName);
}

TEST_F(KrTempResourceOverrideTest, destroyingWithOpenSwitchesPutsTheOriginalBack) {
    {
        KrTempResourceOverride unloading;
        unloading.SaveDefaultResource("modB");
        unloading.SetDefaultResource();
        unloading.SetDefaultResource();
        EXPECT_EQ(ui::Resources::current(), "modB");
    }
    EXPECT_EQ(ui::Resources::current(), kSetName);
}
