// The dynamic linker really loads a module from its shared library and sends it its messages.

#include <cad/aced.h>

#include <gtest/gtest.h>

namespace {

class DynamicLinker : public testing::Test {
protected:
    void SetUp() override {
        acrxInitHost();
        acrxDynamicLinker()->setModulePath({VOR_BINARY_DIR "/bin"});
    }
    void TearDown() override { acrxDynamicLinker()->unloadAll(); }
};

TEST_F(DynamicLinker, loadSendsInitAndUnloadTakesTheCommandsAway) {
    std::string error;
    ASSERT_TRUE(acrxDynamicLinker()->loadModule("vortestmodule", false, &error)) << error;
    EXPECT_TRUE(acrxDynamicLinker()->isLoaded("vortestmodule"));
    EXPECT_FALSE(acrxDynamicLinker()->isApplicationLocked("vortestmodule")) << "the module unlocked itself";
    ASSERT_NE(acedRegCmds()->lookupCmd("hello"), nullptr);
    acutClearPrintedText();
    EXPECT_TRUE(acedRegCmds()->run("HALLO")) << "the local name runs it too";
    EXPECT_EQ(acutPrintedText(), "hello ran 1\n");
    EXPECT_FALSE(acrxDynamicLinker()->loadModule("vortestmodule", false, &error)) << "loaded twice";
    ASSERT_TRUE(acrxDynamicLinker()->unloadModule("vortestmodule", false, &error)) << error;
    EXPECT_EQ(acedRegCmds()->lookupCmd("HELLO"), nullptr);
    EXPECT_FALSE(acrxDynamicLinker()->isLoaded("vortestmodule"));
    ASSERT_TRUE(acrxDynamicLinker()->loadModule("vortestmodule", false, &error)) << "and it loads again: " << error;
}

TEST_F(DynamicLinker, modulesThatCannotBeLoadedSayWhy) {
    std::string error;
    EXPECT_FALSE(acrxDynamicLinker()->loadModule("nosuchmodule", false, &error));
    EXPECT_NE(error.find("not found"), std::string::npos) << error;
    EXPECT_FALSE(acrxDynamicLinker()->loadModule("vornotamodule", false, &error));
    EXPECT_NE(error.find("does not export acrxEntryPoint"), std::string::npos) << error;
    EXPECT_FALSE(acrxDynamicLinker()->isLoaded("vornotamodule"));
    EXPECT_FALSE(acrxDynamicLinker()->unloadModule("nosuchmodule", false, &error));
    acutClearPrintedText();
    acrxDynamicLinker()->loadModule("nosuchmodule", true);
    EXPECT_NE(acutPrintedText().find("Load failed"), std::string::npos);
}

TEST(SystemRegistry, holdsTheLinkerAndTheCommandStack) {
    EXPECT_EQ(acrxSysRegistry()->at("DynamicLinker"), acrxDynamicLinker());
    EXPECT_EQ(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"), acedRegCmds());
    EXPECT_EQ(acrxSysRegistry()->at("nothing"), nullptr);
}

} // namespace
