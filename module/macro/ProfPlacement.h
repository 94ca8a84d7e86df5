#pragma once
// The rules of the profile advanced dialog that need no window: the nine insertion-point radios as
// a second view of the offset-type combo, the rotation radios, the section picture, and the data
// callback the module itself gives the dialog when it is opened on a MacroData.

#include "macro/KrMACallBackData.h"

#include <host/MacroRecords.h>
#include <host/Vor_String.h>

/// The radio position (1 to 9, row by row from the top left) paired with an offset-type combo
/// index, or 0 when the index has no radio.
int insertionRadioOfComboIndex(int comboIndex);
/// The offset-type combo index paired with radio position 1 to 9; -1 for another position.
int comboIndexOfInsertionRadio(int radio);

/// The rotation radios: 0, 90, 180, 270 degrees, the varies text, and any other angle.
enum class RotationChoice { Deg0, Deg90, Deg180, Deg270, Varies, Other };
/// Which radio a stored rotation checks; "90.0" and " 90" count as 90.
RotationChoice rotationChoiceOf(const Vor_String& rotation);
/// The stored text of a checked radio; `other` is the text typed beside the last radio.
Vor_String rotationTextOf(RotationChoice choice, const Vor_String& other);

/// The picture of a section ("HEA 200", its system name "HEA-200" or "User Sections/<name>.dwg") as a full
/// path in the icons folder; the "Unknown" picture when its table cannot be read.
Vor_String sectionPicturePath(const Vor_String& section, bool large = true);

/// The module's own callback when the dialog edits a copy of a MacroData (callback data's macro
/// data): 0 reads the group's merged properties, 1 writes them, updates the module's profiles in
/// the drawing and reads them back, 2 and 3 do nothing. False without macro data.
bool macroDataProfCallBack(KrMACallBackType type, const KrMACallBackData& data, MacroProfData& props);

/// After the dialog of the first form ended: with the preview flag set, erases the one preview
/// object (and forgets it) and the temporary object the dialog made (when not null). The ids erased
/// are gone from `data.previewIds`.
void erasePreviewObjects(MacroData& data, AcDbObjectId temporary);

/// Completes a profile group's address in `data`: an empty module name becomes the first tab with
/// profile groups, an empty group that tab's first group. True when the group then exists.
bool firstProfGroup(const MacroData& data, Vor_String& moduleName, Vor_String& group);

/// The section library's system name of a section as the macros name it ("IPE 300" is "IPE-300");
/// a user section ("User Sections/...") and a name without a space stay as they are.
Vor_String sectionSysName(const Vor_String& section);
/// The macros' name of a section from its system name ("IPE-300" is "IPE 300").
Vor_String sectionOfSysName(const Vor_String& sysName);

/// The base-plane combo index (getBasePlaneStrings) of a picked plane "x,y,z;nx,ny,nz": the plane
/// of the world whose normal lies nearest (XY 1, XZ 2, YZ 3); -1 when the text is no plane.
int basePlaneOfPickedPlane(const Vor_String& plane);
