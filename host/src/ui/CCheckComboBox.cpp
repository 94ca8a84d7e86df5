#include <host/ui/CCheckComboBox.h>

#include <ui/Window.h>

bool CCheckComboBox::subclassDlgItem(int id, ui::Dialog* dlg) {
    ui::Control* c = dlg ? dlg->item(id) : nullptr;
    if (!c || c->kind() != ui::ControlKind::CheckCombo) return false;
    m_dlg = dlg;
    m_id = id;
    refreshText();
    return true;
}

// Looked up each time: the control lives only while the dialog's window does.
ui::Control* CCheckComboBox::control() const {
    return m_dlg ? m_dlg->item(m_id) : nullptr;
}

int CCheckComboBox::addString(const Vor_String& text, bool checked) {
    ui::Control* c = control();
    if (!c) return -1;
    int at = c->addString(text.str());
    if (at >= 0 && checked) c->setItemChecked(at, true);
    refreshText();
    return at;
}

void CCheckComboBox::fill(const Vor_StringArray& items, const Vor_StringArray& checked, bool caseSensitive) {
    ui::Control* c = control();
    if (!c) return;
    c->fillAtOnce([&] {
        c->resetContent();
        for (int i = 0; i < items.length(); ++i) {
            int at = c->addString(items[i].str());
            if (at >= 0 && checked.contains(items[i], caseSensitive)) c->setItemChecked(at, true);
        }
    });
    refreshText();
}

void CCheckComboBox::resetContent() {
    if (ui::Control* c = control()) c->resetContent();
    refreshText();
}

int CCheckComboBox::getCount() const {
    ui::Control* c = control();
    return c ? c->count() : 0;
}

Vor_String CCheckComboBox::getItemText(int index) const {
    ui::Control* c = control();
    return c ? Vor_String(c->itemText(index)) : Vor_String();
}

bool CCheckComboBox::setCheck(int index, bool checked) {
    ui::Control* c = control();
    if (!c || index < 0 || index >= c->count()) return false;
    c->setItemChecked(index, checked);
    refreshText();
    return true;
}

bool CCheckComboBox::getCheck(int index) const {
    ui::Control* c = control();
    return c && c->itemChecked(index);
}

void CCheckComboBox::checkAll(bool checked) {
    ui::Control* c = control();
    if (!c) return;
    for (int i = 0; i < c->count(); ++i)
        c->setItemChecked(i, checked);
    refreshText();
}

int CCheckComboBox::setCheckedItems(const Vor_StringArray& texts, bool caseSensitive) {
    ui::Control* c = control();
    if (!c) return 0;
    int n = 0;
    for (int i = 0; i < c->count(); ++i) {
        bool on = texts.contains(Vor_String(c->itemText(i)), caseSensitive);
        c->setItemChecked(i, on);
        n += on;
    }
    refreshText();
    return n;
}

Vor_StringArray CCheckComboBox::getCheckedItems() const {
    Vor_StringArray out;
    if (ui::Control* c = control())
        for (int i = 0; i < c->count(); ++i)
            if (c->itemChecked(i)) out.append(Vor_String(c->itemText(i)));
    return out;
}

std::vector<int> CCheckComboBox::getCheckedIndexes() const {
    std::vector<int> out;
    if (ui::Control* c = control())
        for (int i = 0; i < c->count(); ++i)
            if (c->itemChecked(i)) out.push_back(i);
    return out;
}

Vor_String CCheckComboBox::getText() const {
    Vor_String text;
    Vor_StringArray on = getCheckedItems();
    for (int i = 0; i < on.length(); ++i) {
        if (i) text.append(separator);
        text.append(on[i]);
    }
    return text;
}

void CCheckComboBox::refreshText() {
    ui::Control* c = control();
    if (!c) return;
    ui::Control::Silence quiet(*c);
    // Adding to an empty combo makes its first item current, whose text would then show as if it
    // were the checked list; no item is ever current in a check combo.
    c->setCurSel(-1);
    c->setText(getText().str());
}
