// A module that registers commands and counts the messages it gets. It can be told to keep a
// window "open", and then answers kUnloadAppMsg with an error as a module with open windows does.
#include <cad/aced.h>

#define TEST_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
int g_ran = 0;
bool g_windowOpen = false;
int g_unloadMessages = 0;
void* g_appId = nullptr;

void hello() {
    ++g_ran;
    acutPrintf("hello ran %d\n", g_ran);
}

// A command that asks for its own module's unload while it runs, as a script does while the
// command's modal dialog is open.
void unloadSelf() {
    std::string error;
    bool unloaded = acrxDynamicLinker()->unloadModule("vortestmodule", false, &error);
    acutPrintf("unload from inside: %s\n", unloaded ? "done" : error.c_str());
}
} // namespace

TEST_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
    if (msg == AcRx::kInitAppMsg) {
        g_appId = appId;
        acrxDynamicLinker()->unlockApplication(appId);
        acedRegCmds()->addCommand("TESTMOD", "HELLO", "hallo", 0, &hello);
        acedRegCmds()->addCommand("TESTMOD", "UNLOADSELF", "UNLOADSELF", 0, &unloadSelf);
    } else if (msg == AcRx::kUnloadAppMsg) {
        ++g_unloadMessages;
        if (g_windowOpen) return AcRx::kRetError; // nothing is taken away while a window needs it
        acedRegCmds()->removeGroup("TESTMOD");
    }
    return AcRx::kRetOK;
}
TEST_EXPORT int acrxGetApiVersion() {
    return kAcadApiVersion;
}

/// Test hooks: pretend a window of the module is open; how many unload messages came.
TEST_EXPORT void vorTestSetWindowOpen(bool open) {
    g_windowOpen = open;
}
TEST_EXPORT int vorTestUnloadMessages() {
    return g_unloadMessages;
}
/// Locks or unlocks the module, as a module that must stay for the whole session does.
TEST_EXPORT bool vorTestLock(bool lock) {
    return lock ? acrxDynamicLinker()->lockApplication(g_appId)
                : acrxDynamicLinker()->unlockApplication(g_appId);
}
