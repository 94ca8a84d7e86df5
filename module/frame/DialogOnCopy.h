#pragma once
// The launcher of a dialog that edits a copy of its caller's data.

#include "frame/ModuleResourceScope.h"

#include <ui/Window.h>

/// Runs the modal dialog Dlg with the module's resources on a copy of `data` (its member `data`);
/// OK copies the copy back, Cancel leaves `data` as it was. True on OK.
template <class Dlg, class Data> bool runDialogOnCopy(Data& data) {
    ModuleResourceScope scope;
    Dlg dlg;
    dlg.data = data;
    if (dlg.doModal() != ui::IDOK) return false;
    data = dlg.data;
    return true;
}
