#pragma once
// The kinds of controls a dialog template can create.

namespace ui {

/// Kinds of controls a template can create.
enum class ControlKind {
    Static,  ///< LTEXT, RTEXT, CTEXT
    Picture, ///< static with SS_BITMAP / SS_ICON, or a frame
    GroupBox,
    Edit,        ///< EDITTEXT; ES_MULTILINE, ES_READONLY, ES_PASSWORD, ES_NUMBER
    PushButton,  ///< PUSHBUTTON, DEFPUSHBUTTON; BS_BITMAP / BS_ICON
    CheckBox,    ///< CHECKBOX, AUTOCHECKBOX, AUTO3STATE; BS_PUSHLIKE shows it as a toggle button
    RadioButton, ///< RADIOBUTTON, AUTORADIOBUTTON
    ComboBox,    ///< CBS_DROPDOWN (editable), CBS_DROPDOWNLIST, CBS_OWNERDRAWFIXED (picture list)
    CheckCombo,  ///< combo whose items carry check boxes
    ListBox,     ///< LBS_MULTIPLESEL / LBS_EXTENDEDSEL for several
    ListView,    ///< LVS_ICON (thumbnails) or LVS_REPORT (columns)
    TabControl,
    RichEdit,
    ToolBar,
    Placeholder, ///< a frame that a grid, preview or custom view replaces
    Slider,
    Progress,
};

} // namespace ui
