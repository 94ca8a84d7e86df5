#pragma once
// Section type codes of the profile tables: their display forms and the property columns of each.

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

/// "<" + the type's name + ">" for the codes 1 to 17, "<>" for any other number.
Vor_String sectionTypeDisplay(int code);
/// The display forms of the codes 1 to 17, in code order.
Vor_StringArray sectionTypeDisplays();
/// How a table's type text is shown in the type combo: a drawing name as it stands, else the display
/// form of its number (0 when it is none).
Vor_String sectionTypeShown(const Vor_String& typeCode);
/// The type text stored for what the type combo shows: a drawing name as typed, else the code of
/// the display form it equals, or "-1" when it equals none.
Vor_String sectionTypeStored(const Vor_String& shown);
/// The property column headers of a type code (none for codes outside 1 to 17).
Vor_StringArray sectionPropertyHeaders(int code);
/// Every column header of a table of that type text: "SysName", "I/O", the user languages, and the
/// property headers unless the text names a drawing.
Vor_StringArray sectionTableHeaders(const Vor_String& shownType);
