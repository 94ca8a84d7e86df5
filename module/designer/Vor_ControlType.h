#pragma once
// The 31 kinds of designed controls and what the designer shows for each.

#include <host/Vor_String.h>

/// Kinds of designed controls; a value is also its index in the designer's type list.
enum Vor_ControlType : int {
    ctText = 0,         ///< static caption; never in the tab order
    ctGroupBox = 1,     ///< frame with a caption; never in the tab order
    ctVarEdit = 2,      ///< edit bound to a variable named by contents
    ctVarCombo = 3,     ///< editable combo bound to a variable; items from a file
    ctBoltCount1 = 4,   ///< multi-line edit: bolt count of a pattern
    ctBoltCount2 = 5,   ///< multi-line edit: second bolt count
    ctPatternProps = 6, ///< button that opens the pattern's properties
    ctPatternList = 7,  ///< drop-down list of a pattern
    ctPatternEdit1 = 8, ///< pattern edits 1 to 4
    ctPatternEdit2 = 9,
    ctPatternEdit3 = 10,
    ctPatternEdit4 = 11,
    ctPatternButton = 12, ///< pattern button
    ctProfSection = 13,   ///< profile section list
    ctProfButton1 = 14,   ///< profile buttons and lists
    ctProfOffsetType = 15,
    ctProfEditCombo = 16,
    ctProfButton2 = 17,
    ctArrayEdit1 = 18, ///< array edits 1 to 6
    ctArrayEdit2 = 19,
    ctArrayEdit3 = 20,
    ctArrayEdit4 = 21,
    ctArrayEdit5 = 22,
    ctArrayEdit6 = 23,
    ctArrayButton = 24, ///< opens the array
    ctCellButton1 = 25, ///< dimension button with five list fields
    ctCellButton2 = 26, ///< second dimension button
    ctListCombo = 27,   ///< list chosen by the showing dialog
    ctChoiceCombo = 28, ///< fixed five-item choice; value is the item index
    ctCheckBox = 29,    ///< check box bound to a cell named by comboList
    ctFlexButton = 30,  ///< toggle button of a named group, with an icon
};

/// Number of control types.
inline constexpr int kControlTypeCount = 31;

/// The standard child window a type is drawn as.
enum class DesignerWindowKind { Static, Button, Edit, ComboBox };

/// The window kind of a type; a value outside 0 to 30 is drawn as a static.
DesignerWindowKind windowKindOf(int type);
/// Text of the type in the designer's type list ("Variable field").
Vor_String controlTypeListText(int type);
/// Label over the contents field for the type; empty when the type has no contents.
Vor_String contentsLabelText(int type);
/// Hint over the list field; several fields' hints are joined by ";". Empty when none.
Vor_String listHintText(int type);
/// Whether the designer lets the list field be edited for the type.
bool typeHasListField(int type);
/// Whether the type can ever take a tab position (texts and group boxes never do).
bool typeTakesFocus(int type);
