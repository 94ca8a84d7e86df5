#pragma once
// Section lists: the sizes of a section's table as profile combos show them, and choosing another
// section through the host's profile selection dialog.

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

namespace ui {
class Control;
}

/// What a person reads for a system name: the host's name of it, or the system name itself.
Vor_String sectionDisplayName(const Vor_String& sysName);
/// The in-use sections of the table of `sysName` (the part before its first "-") and their display
/// names followed by the special entry ("*VARIES*"). False, with an empty list and the special entry
/// alone, when the name holds no "-" or its table cannot be read.
bool sectionsOfSameTable(const Vor_String& sysName, Vor_StringArray& sysNames, Vor_StringArray& displayNames);
/// The items of a profile combo for the current section and the item to select.
void profileComboItems(const Vor_String& current, Vor_StringArray& sysNames, Vor_StringArray& displayNames,
                       Vor_String& selectText);
/// Fills a profile combo and selects the current section (nothing when it is not listed).
void fillProfileCombo(ui::Control* combo, Vor_StringArray& sysNames, const Vor_String& current);
/// Runs the profile selection dialog on the current section; on OK `current` becomes the chosen
/// section (a user section without the library folder in front) and the combo is filled anew.
bool chooseOtherSection(ui::Control* combo, Vor_StringArray& sysNames, Vor_String& current);
