// A module that registers one command and counts the messages it gets.
#include <cad/aced.h>

namespace {
int g_ran = 0;
void hello() { ++g_ran; acutPrintf("hello ran %d\n", g_ran); }
} // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
    if (msg == AcRx::kInitAppMsg) {
        acrxDynamicLinker()->unlockApplication(appId);
        acedRegCmds()->addCommand("TESTMOD", "HELLO", "hallo", 0, &hello);
    } else if (msg == AcRx::kUnloadAppMsg) {
        acedRegCmds()->removeGroup("TESTMOD");
    }
    return AcRx::kRetOK;
}
extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return kAcadApiVersion; }
