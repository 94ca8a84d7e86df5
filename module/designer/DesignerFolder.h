#pragma once
// Where designed-dialog templates live and how they are named: a template's name is its path
// below the root folder, without extension ("Beams/EndPlate"); callers may write "\" for "/".

#include "frame/VorExport.h"

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <string>

/// The library folder followed by "Dialog Templates/Dialog Design/".
VOR_EXPORT Vor_String getDesignerRootFolder();
/// The names of all templates in the root folder and its subfolders.
VOR_EXPORT void getModuleImages(Vor_StringArray& names);
/// The variable names (contents of the variable edits) of the template at `path`, in order.
VOR_EXPORT void GetImageDlgCtrlNames(const Vor_String& path, Vor_StringArray& names);

/// Why `name` is no template name, or "": each of its parts between "/" (or "\\") must be a single
/// path part (base::pathPartFault), so that no name reaches outside the root folder.
std::string templateNameFault(const Vor_String& name);
/// The template name of a ".txt" file below the root folder; false (with the reason in `error`) for
/// a path outside it, one whose name has a part that is no single path part ("..", an empty part),
/// or another extension. A folder part that differs from the root only in case still counts as inside.
bool templateNameFromPath(const Vor_String& path, Vor_String& name, std::string* error = nullptr);
/// The template file of a name ("Beams\EndPlate" -> root + "Beams/EndPlate.txt"); callers check
/// the name with templateNameFault, or read the result through templateNameFromPath.
Vor_String templatePathFromName(const Vor_String& name);
