// The dynamic linker really loads a module from its shared library and sends it its messages.

#include <cad/aced.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    ASSERT_TRUE(acrxDynamicLinker()->loadModule("vortestmodule", false, &error))
        << "and it loads again: " << error;
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

// Unloading a module whose code still runs must leave it loaded and say why on the command line;
// closing the library under a running command or an open window crashes the host.
TEST_F(DynamicLinker, moduleInUseStaysLoadedAndTheCommandLineSaysWhy) {
    std::string error;
    ASSERT_TRUE(acrxDynamicLinker()->loadModule("vortestmodule", false, &error)) << error;
    auto setWindowOpen = reinterpret_cast<void (*)(bool)>(
        acrxDynamicLinker()->moduleSymbol("vortestmodule", "vorTestSetWindowOpen"));
    auto unloadMessages = reinterpret_cast<int (*)()>(
        acrxDynamicLinker()->moduleSymbol("vortestmodule", "vorTestUnloadMessages"));
    ASSERT_NE(setWindowOpen, nullptr);
    ASSERT_NE(unloadMessages, nullptr);
    int messagesBefore = unloadMessages();

    // A command of the module in progress: the module is not even asked.
    acutClearPrintedText();
    ASSERT_TRUE(acedRegCmds()->run("UNLOADSELF"));
    EXPECT_TRUE(acrxDynamicLinker()->isLoaded("vortestmodule")) << "unloaded under its own running command";
    EXPECT_NE(
        acutPrintedText().find("Unload failed: module \"vortestmodule\" cannot be unloaded: its command "
                               "UNLOADSELF is in progress"),
        std::string::npos)
        << acutPrintedText();
    EXPECT_NE(acutPrintedText().find("unload from inside: module"), std::string::npos)
        << "the caller gets the reason too: " << acutPrintedText();
    EXPECT_EQ(unloadMessages(), messagesBefore) << "a busy module gets no kUnloadAppMsg";
    EXPECT_TRUE(acedRegCmds()->activeCommands().empty()) << "the finished command left the list";
    EXPECT_NE(acedRegCmds()->lookupCmd("HELLO"), nullptr) << "its commands stay registered";

    // A window of the module open: the module answers kUnloadAppMsg with an error.
    setWindowOpen(true);
    acutClearPrintedText();
    EXPECT_FALSE(acrxDynamicLinker()->unloadModule("vortestmodule", false, &error));
    EXPECT_NE(error.find("still in use"), std::string::npos) << error;
    EXPECT_NE(acutPrintedText().find("Unload failed"), std::string::npos)
        << "said on the command line even when the caller asked for no printing";
    EXPECT_TRUE(acrxDynamicLinker()->isLoaded("vortestmodule"));
    ASSERT_TRUE(acedRegCmds()->run("HELLO")) << "the module's code is still there and runs";

    // Once the window is closed, the unload goes through.
    setWindowOpen(false);
    ASSERT_TRUE(acrxDynamicLinker()->unloadModule("vortestmodule", false, &error)) << error;
    EXPECT_FALSE(acrxDynamicLinker()->isLoaded("vortestmodule"));
    EXPECT_EQ(acedRegCmds()->lookupCmd("UNLOADSELF"), nullptr);
}

TEST_F(DynamicLinker, unloadAllLeavesARefusingModuleLoadedAndFinishes) {
    std::string error;
    ASSERT_TRUE(acrxDynamicLinker()->loadModule("vortestmodule", false, &error)) << error;
    auto setWindowOpen = reinterpret_cast<void (*)(bool)>(
        acrxDynamicLinker()->moduleSymbol("vortestmodule", "vorTestSetWindowOpen"));
    ASSERT_NE(setWindowOpen, nullptr);
    setWindowOpen(true);
    acrxDynamicLinker()->unloadAll(); // must return rather than retry forever
    EXPECT_TRUE(acrxDynamicLinker()->isLoaded("vortestmodule"));
    setWindowOpen(false);
    acrxDynamicLinker()->unloadAll();
    EXPECT_FALSE(acrxDynamicLinker()->isLoaded("vortestmodule"));
}

TEST_F(DynamicLinker, codeIsTracedToTheModuleThatHoldsIt) {
    std::string error;
    ASSERT_TRUE(acrxDynamicLinker()->loadModule("vortestmodule", false, &error)) << error;
    void* hook = acrxDynamicLinker()->moduleSymbol("vortestmodule", "vorTestSetWindowOpen");
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(acrxDynamicLinker()->moduleOfAddress(hook), "vortestmodule") << "a function of the module";
    EXPECT_EQ(acrxDynamicLinker()->moduleOfAddress(reinterpret_cast<const void*>(&acutPrintf)), "")
        << "the host's own code belongs to no module";
    EXPECT_EQ(acrxDynamicLinker()->moduleOfAddress(nullptr), "");
    const AcEdCommand* hello = acedRegCmds()->lookupCmd("HELLO");
    ASSERT_NE(hello, nullptr);
    EXPECT_EQ(acrxDynamicLinker()->moduleOfAddress(reinterpret_cast<const void*>(hello->function)),
              "vortestmodule")
        << "a registered command leads back to its module";
    EXPECT_EQ(acrxDynamicLinker()->moduleSymbol("vortestmodule", "noSuchSymbol"), nullptr);
    EXPECT_EQ(acrxDynamicLinker()->moduleSymbol("nosuchmodule", "acrxEntryPoint"), nullptr);
}

TEST_F(DynamicLinker, aLockedModuleStaysAndMessagesReachEveryModule) {
    std::string error;
    ASSERT_TRUE(acrxDynamicLinker()->loadModule("vortestmodule", false, &error)) << error;
    auto unloadMessages = reinterpret_cast<int (*)()>(
        acrxDynamicLinker()->moduleSymbol("vortestmodule", "vorTestUnloadMessages"));
    ASSERT_NE(unloadMessages, nullptr);
    EXPECT_EQ(acrxDynamicLinker()->loadedModules(), std::vector<std::string>{"vortestmodule"});
    EXPECT_FALSE(acrxDynamicLinker()->isAppMDIAware("vortestmodule")) << "the test module never says so";

    // the module's own appId is what it gets with its messages; the linker accepts no other
    EXPECT_FALSE(acrxDynamicLinker()->lockApplication(reinterpret_cast<void*>(0x1234)));
    int before = unloadMessages();
    acrxDynamicLinker()->sendToAll(AcRx::kUnloadDwgMsg);
    EXPECT_EQ(unloadMessages(), before) << "only kUnloadAppMsg counts as an unload message";
    acrxDynamicLinker()->sendToAll(AcRx::kUnloadAppMsg);
    EXPECT_EQ(unloadMessages(), before + 1) << "sendToAll reached the module";
    // the module took its group away at that message; load it afresh for the lock test
    acrxDynamicLinker()->unloadAll();
    ASSERT_TRUE(acrxDynamicLinker()->loadModule("vortestmodule", false, &error)) << error;
    EXPECT_FALSE(acrxDynamicLinker()->isApplicationLocked("vortestmodule"));
    EXPECT_FALSE(acrxDynamicLinker()->isApplicationLocked("nosuchmodule"));
    auto lock =
        reinterpret_cast<bool (*)(bool)>(acrxDynamicLinker()->moduleSymbol("vortestmodule", "vorTestLock"));
    ASSERT_NE(lock, nullptr);
    ASSERT_TRUE(lock(true));
    EXPECT_FALSE(acrxDynamicLinker()->unloadModule("vortestmodule", false, &error));
    EXPECT_NE(error.find("is locked"), std::string::npos) << error;
    EXPECT_TRUE(acrxDynamicLinker()->isLoaded("vortestmodule"));
    ASSERT_TRUE(lock(false));
    EXPECT_TRUE(acrxDynamicLinker()->unloadModule("vortestmodule", false, &error)) << error;
}

TEST(SystemRegistry, holdsTheLinkerAndTheCommandStack) {
    EXPECT_EQ(acrxSysRegistry()->at("DynamicLinker"), acrxDynamicLinker());
    EXPECT_EQ(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"), acedRegCmds());
    EXPECT_EQ(acrxSysRegistry()->at("nothing"), nullptr);
}

} // namespace
