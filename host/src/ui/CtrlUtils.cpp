#include <host/ui/CtrlUtils.h>

#include <ui/Window.h>

#include <algorithm>
#include <map>

namespace {

bool isCombo(const ui::Control* c) {
    return c && (c->kind() == ui::ControlKind::ComboBox || c->kind() == ui::ControlKind::CheckCombo);
}

/// Puts the items in; each carries its index in `items` so that a sorting control can still select
/// by the caller's index.
void addItems(ui::Control& c, const Vor_StringArray& items) {
    c.resetContent();
    for (int i = 0; i < items.length(); ++i) {
        int at = c.addString(items[i].str());
        if (at >= 0) c.setItemData(at, i);
    }
}

/// Where the item made from items[index] ended up; -1 when none did.
int positionOf(const ui::Control& c, int index) {
    if (index < 0) return -1;
    for (int i = 0; i < c.count(); ++i)
        if (c.itemData(i) == index) return i;
    return -1;
}

/// Pages linked to the dialog they live in (see DlgOwnerLink).
std::map<const ui::Dialog*, ui::Dialog*>& owners() {
    static std::map<const ui::Dialog*, ui::Dialog*> links;
    return links;
}

} // namespace

bool FillCombo(ui::Control* combo, const Vor_StringArray& items, int select) {
    if (!isCombo(combo)) return false;
    ui::Control::Silence quiet(*combo);
    if (combo->kind() == ui::ControlKind::CheckCombo) {
        addItems(*combo, items);
        // The toolkit makes the first item current, which would show its text as if it were checked.
        combo->setCurSel(-1);
        combo->setText("");
        return true;
    }
    bool editable = !combo->hasStyle("CBS_DROPDOWNLIST") && !combo->hasStyle("CBS_OWNERDRAWFIXED");
    std::string typed = editable ? combo->text() : std::string();
    addItems(*combo, items);
    int at = positionOf(*combo, select);
    combo->setCurSel(at);
    if (at < 0 && editable) combo->setText(typed);
    return true;
}

bool FillCombo(ui::Dialog* dlg, int id, const Vor_StringArray& items, int select) {
    return dlg && FillCombo(dlg->item(id), items, select);
}

bool FillList(ui::Control* list, const Vor_StringArray& items, int select) {
    if (!list || list->kind() != ui::ControlKind::ListBox) return false;
    ui::Control::Silence quiet(*list);
    addItems(*list, items);
    list->setCurSel(positionOf(*list, select));
    return true;
}

bool FillList(ui::Dialog* dlg, int id, const Vor_StringArray& items, int select) {
    return dlg && FillList(dlg->item(id), items, select);
}

bool EnDisCtrl(ui::Dialog* dlg, int id, bool enable) {
    ui::Control* c = dlg ? dlg->item(id) : nullptr;
    if (!c) return false;
    c->enableWindow(enable);
    return true;
}

bool EnDisCtrl(ui::Dialog* dlg, std::initializer_list<int> ids, bool enable) {
    bool all = true;
    for (int id : ids)
        all = EnDisCtrl(dlg, id, enable) && all;
    return all;
}

bool ShowOrHideCtrl(ui::Dialog* dlg, int id, bool show) {
    ui::Control* c = dlg ? dlg->item(id) : nullptr;
    if (!c) return false;
    c->showWindow(show ? ui::SW_SHOW : ui::SW_HIDE);
    return true;
}

bool ShowOrHideCtrl(ui::Dialog* dlg, std::initializer_list<int> ids, bool show) {
    bool all = true;
    for (int id : ids)
        all = ShowOrHideCtrl(dlg, id, show) && all;
    return all;
}

bool resizeCtrl(ui::Dialog* dlg, int id, int delta, int side) {
    ui::Control* c = dlg ? dlg->item(id) : nullptr;
    if (!c || (side != 1 && side != 2)) return false;
    const ui::Rect screen = c->windowRect();
    const ui::Point topLeft = dlg->screenToClient({screen.left, screen.top});
    const int width = side == 2 ? std::max(0, screen.width() + delta) : screen.width();
    const int height = side == 1 ? std::max(0, screen.height() + delta) : screen.height();
    c->moveWindow(topLeft.x, topLeft.y, width, height);
    return true;
}

ui::Dialog* getDlgOwner(ui::Window* window) {
    auto* dlg = dynamic_cast<ui::Dialog*>(window);
    if (!dlg)
        if (auto* c = dynamic_cast<ui::Control*>(window)) dlg = c->owner();
    // A bounded walk: a link loop must not hang the key handling that asks.
    for (size_t steps = 0; dlg && steps <= owners().size(); ++steps) {
        auto it = owners().find(dlg);
        if (it == owners().end()) break;
        dlg = it->second;
    }
    return dlg;
}

DlgOwnerLink::DlgOwnerLink(const ui::Dialog* page, ui::Dialog* owner)
    : m_page(page) {
    if (page && owner && owner != page)
        owners()[page] = owner;
    else
        m_page = nullptr;
}

DlgOwnerLink::~DlgOwnerLink() {
    if (m_page) owners().erase(m_page);
}
