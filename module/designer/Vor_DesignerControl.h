#pragma once
// One control of a designed dialog: its type, where it lies over the picture as fractions of the
// picture's size, and what it is bound to.

#include "designer/Vor_ControlType.h"
#include "frame/VorExport.h"

#include <host/Vor_PropertiesList.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

namespace ui {
class Control;
class Dialog;
} // namespace ui

/// One control of a designed dialog (value class).
class VOR_EXPORT Vor_DesignerControl {
public:
    Vor_DesignerControl() = default;
    Vor_DesignerControl(const Vor_DesignerControl&) = default;
    Vor_DesignerControl& operator=(const Vor_DesignerControl&) = default;
    virtual ~Vor_DesignerControl() = default;

    int type = ctText;     ///< a Vor_ControlType value
    bool readOnly = false; ///< created disabled, no tab position; set by the showing dialog
    int resId = 0;         ///< child window id on the host dialog, 0 for none
    int tabOrder = 0;      ///< tab position from 1 upward, 0 for none
    double topLeftX = 0.0; ///< edges as fractions of the picture's width and height
    double topLeftY = 0.0;
    double bottomRightX = 0.0;
    double bottomRightY = 0.0;
    Vor_String contents;  ///< caption or bound name, by type
    Vor_String comboList; ///< item file of combos, bound cell of check boxes, fifth cell field
    Vor_String flexGroup, flexField2, flexField3;            ///< flex buttons' list fields
    Vor_String cellName, cellField2, cellField3, cellField4; ///< cell buttons' list fields
    Vor_StringArray comboItems; ///< items given by the showing dialog at run time

    /// Reads the seven saved keys of control i; missing keys leave fields as they are.
    void getFromPropList(const Vor_PropertiesList& props, int i);
    /// Writes the seven saved keys of control i.
    void setToPropList(Vor_PropertiesList& props, int i) const;
    /// The list fields the type keeps, joined by ";" as the template stores them.
    Vor_String getMergedExtComboList() const;
    /// Splits a stored list text into the type's list fields; false when a separator is missing.
    bool setSplitExtComboList(const Vor_String& text);
    /// The lines of the file named by comboList (a relative name below the root folder, whose parts
    /// must pass templateNameFault); `items` untouched when there is no such file.
    void getComboItemsFromFile(Vor_StringArray& items) const;

    /// The child window of the dialog with id resId; false when there is none.
    bool getCtrlPtr(ui::Dialog* dlg, ui::Control*& wnd) const;
    /// The combo window of the variable and profile combos (3, 13, 15, 16); null for other types.
    ui::Control* getComboPtr(ui::Dialog* dlg) const;
    /// The window when the type is drawn as a button, else null.
    ui::Control* getButtonPtr(ui::Dialog* dlg) const;
    /// The window when the type is drawn as an edit, else null.
    ui::Control* getEditPtr(ui::Dialog* dlg) const;
};

/// Splits `text` at its first `symbol` into `first` and `rest`; without the symbol `first` takes
/// the whole text, `rest` is empty and the result is false.
bool splitStringAtSymbol(const Vor_String& text, char symbol, Vor_String& first, Vor_String& rest);
