#pragma once
// Where designed-dialog templates live and how they are named: a template's name is its path
// below the root folder, without extension ("Beams/EndPlate"); callers may write "\" for "/".

#include "frame/VorExport.h"

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

/// The library folder followed by "Dialog Templates/Dialog Design/".
VOR_EXPORT Vor_String getDesignerRootFolder();
/// The names of all templates in the root folder and its subfolders.
VOR_EXPORT void getModuleImages(Vor_StringArray& names);
/// The variable names (contents of the variable edits) of the template at `path`, in order.
VOR_EXPORT void GetImageDlgCtrlNames(const Vor_String& path, Vor_StringArray& names);

/// The template name of a file below the root folder; false for a path outside it. A folder part
/// that differs from the root only in case still counts as inside.
bool templateNameFromPath(const Vor_String& path, Vor_String& name);
/// The template file of a name ("Beams\EndPlate" -> root + "Beams/EndPlate.txt").
Vor_String templatePathFromName(const Vor_String& name);
