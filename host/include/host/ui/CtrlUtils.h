#pragma once
// Small helpers that dialogs use on their controls: filling combo and list boxes from text arrays,
// enabling and showing controls by id, and finding the dialog that owns a page.

#include <host/Vor_StringArray.h>

#include <initializer_list>

namespace ui {
class Control;
class Dialog;
class Window;
} // namespace ui

/// Replaces the items of a combo box (or check combo) by `items`, in their order unless the combo
/// sorts; each item's data is its index in `items`. Then the item made from items[select] is selected,
/// and with -1 or an index outside the items none is (whatever the toolkit would pick by itself); an
/// editable combo then keeps the text typed in it. Check combos select nothing: their items are
/// checked, and all start unchecked. No notifications are sent. False when `combo` is null or no combo.
bool FillCombo(ui::Control* combo, const Vor_StringArray& items, int select = -1);
/// The same for the control `id` of a dialog; false (nothing filled) when the dialog lacks it.
bool FillCombo(ui::Dialog* dlg, int id, const Vor_StringArray& items, int select = -1);

/// Replaces the items of a list box by `items`, as FillCombo does, and selects items[select] only
/// (none for -1 or an index outside the items). No notifications are sent. False when not a list box.
bool FillList(ui::Control* list, const Vor_StringArray& items, int select = -1);
/// The same for the control `id` of a dialog.
bool FillList(ui::Dialog* dlg, int id, const Vor_StringArray& items, int select = -1);

/// Enables or disables the control `id` of a dialog; false when there is no such control.
bool EnDisCtrl(ui::Dialog* dlg, int id, bool enable);
/// Enables or disables several controls; false when any of them is missing (the others are done).
bool EnDisCtrl(ui::Dialog* dlg, std::initializer_list<int> ids, bool enable);

/// Shows or hides the control `id` of a dialog; false when there is no such control.
bool ShowOrHideCtrl(ui::Dialog* dlg, int id, bool show);
/// Shows or hides several controls; false when any of them is missing (the others are done).
bool ShowOrHideCtrl(ui::Dialog* dlg, std::initializer_list<int> ids, bool show);
/// Moves one edge of the control `id` by `delta` pixels, the opposite edge staying: side 1 the
/// bottom edge, 2 the right edge (a negative delta shrinks it, never below nothing). False when the
/// dialog lacks the control or the side is none of these.
bool resizeCtrl(ui::Dialog* dlg, int id, int delta, int side);

/// The dialog that owns a window: a control's dialog, and for a page (a child dialog linked to the
/// dialog it lives in, see DlgOwnerLink) the outermost dialog of the chain. A dialog without a link
/// owns itself; null for null.
ui::Dialog* getDlgOwner(ui::Window* window);

/// Links a page dialog to the dialog it is shown in, for as long as this object lives; a page keeps
/// one as a member so that getDlgOwner(page) finds the dialog that Escape or OK should go to.
class DlgOwnerLink {
public:
    DlgOwnerLink(const ui::Dialog* page, ui::Dialog* owner);
    ~DlgOwnerLink();
    DlgOwnerLink(const DlgOwnerLink&) = delete;
    DlgOwnerLink& operator=(const DlgOwnerLink&) = delete;

private:
    const ui::Dialog* m_page;
};
