#pragma once
// The rules of the bolt and pattern dialogs that need no window: which slotted hole is refused and
// how that is said, what a three-state box leaves in the data, which diameter stays chosen when the
// assembly changes.

#include <host/MacroRecords.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

/// The index of the first active slotted hole whose radius or length is no number greater than 0;
/// -1 when every active one is valid (inactive ones are not looked at).
int firstInvalidSlottedHole(const MacroBoltData& bolts);

/// The message that refuses slotted hole `index` (shown counted from 1).
Vor_String invalidSlottedHoleMessage(int index);

/// The text the slotted-hole combo shows for entry `index`: "Slotted hole nr: 2" for index 1.
Vor_String slottedHoleEntryText(int index);

/// What a three-state box leaves in the data: its state when it shows one, the value as it was
/// when it still shows undecided (ui::BST_* values).
TriState storedTriState(TriState before, int checkState);

/// The diameter to select among `offered` (the diameters of a newly chosen assembly): the current
/// one when offered, else the first; -1 when nothing is offered.
int keptDiameterIndex(const Vor_StringArray& offered, const Vor_String& current);

/// Resizes a list of pattern distances to `gaps` entries: kept ones stay, new ones repeat the last
/// distance (or `spacing` when there is none). `gaps` below 0 counts as 0.
void fitPatternDistances(Vor_StringArray& distances, int gaps, const Vor_String& spacing);

/// The slotted-hole choice combo lists the first part, the second part and all parts (texts 994,
/// 995, 996); the data counts all parts as 0, the first as 1, the second as 2.
int slotChoiceComboIndex(int appliesTo);
int slotAppliesTo(int comboIndex);
