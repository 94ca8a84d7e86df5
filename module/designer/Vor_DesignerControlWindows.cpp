// The child windows of a designed control on the dialog that shows it; apart from the rest of the
// class so that reading templates needs no windowing layer.

#include "designer/Vor_DesignerControl.h"

#include <ui/Control.h>
#include <ui/Dialog.h>

bool Vor_DesignerControl::getCtrlPtr(ui::Dialog* dlg, ui::Control*& wnd) const {
    wnd = nullptr;
    if (!dlg || resId == 0) return false;
    // The designed windows are the newest controls: search from the back so a template control with
    // the same number never hides them.
    std::vector<ui::Control*> all = dlg->controls();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if ((*it)->id() == resId) {
            wnd = *it;
            return true;
        }
    return false;
}

ui::Control* Vor_DesignerControl::getComboPtr(ui::Dialog* dlg) const {
    if (type != ctVarCombo && type != ctProfSection && type != ctProfOffsetType && type != ctProfEditCombo)
        return nullptr;
    ui::Control* c = nullptr;
    return getCtrlPtr(dlg, c) ? c : nullptr;
}

ui::Control* Vor_DesignerControl::getButtonPtr(ui::Dialog* dlg) const {
    if (windowKindOf(type) != DesignerWindowKind::Button || resId == 0) return nullptr;
    ui::Control* c = nullptr;
    return getCtrlPtr(dlg, c) ? c : nullptr;
}

ui::Control* Vor_DesignerControl::getEditPtr(ui::Dialog* dlg) const {
    if (windowKindOf(type) != DesignerWindowKind::Edit || resId == 0) return nullptr;
    ui::Control* c = nullptr;
    return getCtrlPtr(dlg, c) ? c : nullptr;
}
