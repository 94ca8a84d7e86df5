#pragma once
// What the array dialog shows for each kind of array, and how its kind combo maps to the stored kind.

#include <host/MacroRecords.h>
#include <host/Vor_String.h>

/// The controls the array dialog shows for one kind.
struct ArrayKindLayout {
    bool firstDimension = true;      ///< label 1129 and combo 1347
    bool thirdDimension = true;      ///< label 1131 and combo 1351
    bool thirdValue = false;         ///< label 1134 and edit 1011
    bool entries = true;             ///< group 1349, grid 1196 and button 1089
    int thirdLabelText = 0;          ///< dialString number of label 1131, 0 for none
    bool refillAllDimensions = true; ///< all three dimension combos, else the second only
};

/// The layout of a stored kind; a kind outside 0 to 3 (varies) is laid out as kind 0.
ArrayKindLayout arrayKindLayout(int kind);

/// Entries of the kind combo: the four kinds, then the varies text.
inline constexpr int kArrayKindVariesItem = 4;
/// The combo index of a stored kind: the kind itself, the varies item for any other.
int arrayKindComboIndex(int kind);
/// The kind to store for a combo index: a kind for indexes 0 to 3; the varies item and anything
/// else keep `stored`, so that no macro is given a kind that is none.
int arrayKindOfComboIndex(int index, int stored);

/// The text of an entry's action in the entry grid.
Vor_String entryActionText(KrEntryAction action);
