#pragma once
// Pictures of steel sections: which bitmap in the icons folder shows a section type or a user section.

#include <host/Vor_String.h>

/// The icons folder: vorDir + "icons/".
Vor_String profIconsFolder();
/// True when a section type text is a type code, i.e. not the drawing of a user section (".dwg").
bool isProfTypeCode(const Vor_String& typeText);
/// "ProfSectionI" .. "ProfSectionCuttedI" for the codes 1 to 17, else "".
Vor_String profSectionBaseName(int code);
/// The picture of a section relative to the icons folder: the type's own large or small picture, for
/// a user section (empty type text) its copied picture, else the "Unknown" picture.
Vor_String profSectionImageName(const Vor_String& typeText, const Vor_String& sysName, bool large);
/// Copies "User Sections/<name>.bmp" of the library folder to "<name>-automated.bmp" in the icons
/// folder when the copy is missing or older; false when there is no source picture.
bool provideUserSectionImage(const Vor_String& name, Vor_String& imageName);
