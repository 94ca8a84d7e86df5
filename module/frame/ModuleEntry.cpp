// Attach and detach, the entry messages and the command of the module.

#include "frame/ModuleEntry.h"
#include "frame/CommandTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/UnloadHandlers.h"

#include <cad/aced.h>
#include <ui/Dialog.h>
#include <ui/Resources.h>

#include <memory>

namespace {
std::unique_ptr<ui::Image> g_checked;
std::unique_ptr<ui::Image> g_unchecked;

void registerCommand() {
    g_checked = std::make_unique<ui::Image>(ui::Image::fromResource(kCheckedBitmap));
    g_unchecked = std::make_unique<ui::Image>(ui::Image::fromResource(kUncheckedBitmap));
    for (const ModuleCommand& c : moduleCommands())
        acedRegCmds()->addCommand(kCommandGroup, c.name.c_str(), c.name.c_str(), ACRX_CMD::kModal, c.run,
                                  nullptr, -1, nullptr, nullptr);
}

// A window of the module still open would outlive the module's code: the unload is refused.
bool windowsStillOpen() {
    for (ui::Dialog* d : ui::Dialog::openDialogs())
        if (d->resourceSet() == kModuleName) {
            acutPrintf("%s is still open.\n", d->describe().c_str());
            return true;
        }
    return false;
}

// The library's attach: remember which resource set is the module's own.
__attribute__((constructor)) void attachModule() {
    moduleResourceOverride().SaveDefaultResource(kModuleName);
}

// The library's detach: its resources go with it.
__attribute__((destructor)) void detachModule() {
    ui::Resources::remove(kModuleName);
}
} // namespace

KrTempResourceOverride& moduleResourceOverride() {
    static KrTempResourceOverride override;
    return override;
}

const ui::Image& checkedBitmap() {
    static const ui::Image none;
    return g_checked ? *g_checked : none;
}

const ui::Image& uncheckedBitmap() {
    static const ui::Image none;
    return g_unchecked ? *g_unchecked : none;
}

void DestroyAllMacroDlgs() {
    runUnloadHandlers(UnloadStep::DestroyAllMacroDlgs);
}

void EndDlgEditConstraints() {
    runUnloadHandlers(UnloadStep::EndDlgEditConstraints);
}

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
    switch (msg) {
    case AcRx::kInitAppMsg:
        acrxDynamicLinker()->unlockApplication(appId);
        acrxDynamicLinker()->registerAppMDIAware(appId);
        registerCommand();
        break;
    case AcRx::kUnloadAppMsg:
        // The modeless windows the areas registered to close go first; any other still open keeps
        // the module loaded.
        DestroyAllMacroDlgs();
        EndDlgEditConstraints();
        if (windowsStillOpen()) return AcRx::kRetError;
        if (AcEdCommandStack* stack = acedRegCmds()) stack->removeGroup(kCommandGroup);
        g_checked.reset();
        g_unchecked.reset();
        break;
    default:
        break;
    }
    return AcRx::kRetOK;
}

extern "C" int acrxGetApiVersion() {
    return kAcadApiVersion;
}
