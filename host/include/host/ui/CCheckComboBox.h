#pragma once
// A combo box whose items carry check boxes; the edit part shows the checked items.

#include <host/Vor_StringArray.h>

#include <vector>

namespace ui {
class Control;
class Dialog;
} // namespace ui

/// Works a dialog's check-combo control (kind CheckCombo): items, their check marks and the text
/// shown, which lists the checked items in item order separated by ", ".
class CCheckComboBox {
public:
    /// The separator between checked items in the text shown.
    static constexpr const char* separator = ", ";

    CCheckComboBox() = default;
    CCheckComboBox(const CCheckComboBox&) = delete;
    CCheckComboBox& operator=(const CCheckComboBox&) = delete;

    /// Takes over the control `id` of a dialog; false (and nothing attached) when it is missing or
    /// is no check combo.
    bool subclassDlgItem(int id, ui::Dialog* dlg);
    ui::Control* control() const;

    /// Appends an item (a sorting combo sorts it in); its index, or -1 when nothing is attached.
    int addString(const Vor_String& text, bool checked = false);
    /// Replaces all items by `items`, checking those also found in `checked`.
    void fill(const Vor_StringArray& items, const Vor_StringArray& checked = {}, bool caseSensitive = true);
    void resetContent();
    int getCount() const;
    Vor_String getItemText(int index) const;

    /// Checks or unchecks one item; false for an index outside the items.
    bool setCheck(int index, bool checked);
    bool getCheck(int index) const;
    /// Checks or unchecks every item.
    void checkAll(bool checked);
    /// Checks exactly the items whose text is in `texts`; the number of items checked.
    int setCheckedItems(const Vor_StringArray& texts, bool caseSensitive = true);
    /// The texts of the checked items, in item order.
    Vor_StringArray getCheckedItems() const;
    std::vector<int> getCheckedIndexes() const;
    /// The text the combo shows: the checked items joined by the separator.
    Vor_String getText() const;

private:
    /// Puts the shown text in step with the check marks.
    void refreshText();

    ui::Dialog* m_dlg = nullptr;
    int m_id = 0;
};
