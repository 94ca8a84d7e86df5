#pragma once
// The module's entry point, command and module-wide objects.

#include <cad/rxregistry.h>
#include <ui/Image.h>

#include "frame/VorExport.h"

/// Name of the module's resource set and of its library ("libvordlg.so").
inline constexpr const char* kModuleName = "vordlg";
inline constexpr const char* kCommandGroup = "VORLANE_SS";
inline constexpr int kCheckedBitmap = 8134;
inline constexpr int kUncheckedBitmap = 8136;

/// The check-box pictures of grid cells, loaded when the command is registered.
const ui::Image& checkedBitmap();
const ui::Image& uncheckedBitmap();

extern "C" {
VOR_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId);
VOR_EXPORT int acrxGetApiVersion();
}

/// Closes every modeless macro dialog: runs the handlers registered for
/// UnloadStep::DestroyAllMacroDlgs (frame/UnloadHandlers.h); nothing when none is.
VOR_EXPORT void DestroyAllMacroDlgs();
/// Closes the modeless constraint editor: runs the handlers of UnloadStep::EndDlgEditConstraints.
VOR_EXPORT void EndDlgEditConstraints();
