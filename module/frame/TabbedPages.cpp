#include "frame/TabbedPages.h"

#include <ui/Control.h>

void TabbedPages::attach(ui::Dialog* owner, int tabControlId) {
    m_owner = owner;
    m_tabsId = tabControlId;
    m_pages.clear();
    m_current = -1;
}

int TabbedPages::addPage(ui::Dialog& page, const std::string& text) {
    ui::Control* tabs = m_owner ? m_owner->item(m_tabsId) : nullptr;
    if (!tabs || !page.create(m_owner)) return -1;
    page.showWindow(ui::SW_HIDE);
    const int index = count();
    tabs->insertTab(index, text);
    m_pages.push_back({&page, 0});
    place();
    return index;
}

ui::Dialog* TabbedPages::page(int index) const {
    return index >= 0 && index < count() ? m_pages[index].dialog : nullptr;
}

int TabbedPages::focusToRestore(int index) const {
    return index >= 0 && index < count() ? m_pages[index].focusId : 0;
}

void TabbedPages::rememberFocus() {
    if (m_current < 0 || m_current >= count()) return;
    Page& left = m_pages[m_current];
    // the focus may already be outside the page (on the tabs, OK): then the last memory stays
    if (ui::Control* c = left.dialog->focusControl()) left.focusId = c->id();
}

void TabbedPages::restoreFocus(Page& page) {
    ui::Control* c = page.focusId ? page.dialog->item(page.focusId) : nullptr;
    // a control hidden or disabled since the page was left cannot take the focus back
    if (!c || !c->isVisible() || !c->isEnabled()) c = page.dialog->firstTabControl();
    if (c) page.dialog->gotoDlgCtrl(c->id());
}

void TabbedPages::show(int index) {
    if (index < 0 || index >= count()) return;
    rememberFocus();
    if (m_beforeShow) m_beforeShow(m_current, index);
    for (int i = 0; i < count(); ++i)
        if (i != index) m_pages[i].dialog->showWindow(ui::SW_HIDE);
    place();
    m_pages[index].dialog->showWindow(ui::SW_SHOW);
    if (ui::Control* tabs = m_owner->item(m_tabsId)) tabs->setCurTab(index);
    m_current = index;
    restoreFocus(m_pages[index]);
}

bool TabbedPages::onCommand(int id, int code) {
    if (id != m_tabsId || code != ui::TCN_SELCHANGE || !m_owner) return false;
    if (ui::Control* tabs = m_owner->item(m_tabsId)) show(tabs->curTab());
    return true;
}

void TabbedPages::place() {
    ui::Control* tabs = m_owner ? m_owner->item(m_tabsId) : nullptr;
    if (!tabs) return;
    const ui::Rect area = tabs->displayArea();
    for (Page& p : m_pages)
        if (p.dialog->exists()) p.dialog->moveWindow(area);
}

void TabbedPages::destroy() {
    for (Page& p : m_pages)
        p.dialog->destroyWindow();
    m_pages.clear();
    m_current = -1;
}
