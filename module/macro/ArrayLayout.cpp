#include "macro/ArrayLayout.h"

#include <host/Texts.h>

ArrayKindLayout arrayKindLayout(int kind) {
    ArrayKindLayout l;
    switch (kind) {
    case 1: // a fixed number: the number is typed, no entries
        l.firstDimension = false;
        l.thirdDimension = false;
        l.thirdValue = true;
        l.entries = false;
        l.thirdLabelText = 1076;
        l.refillAllDimensions = false;
        break;
    case 2:
        l.thirdLabelText = 1076;
        break;
    case 3: // along a path: the third combo names the number
        l.firstDimension = false;
        l.thirdLabelText = 1077;
        break;
    default:
        break;
    }
    return l;
}

int arrayKindComboIndex(int kind) {
    return kind >= 0 && kind <= 3 ? kind : kArrayKindVariesItem;
}

int arrayKindOfComboIndex(int index, int stored) {
    return index >= 0 && index <= 3 ? index : stored;
}

Vor_String entryActionText(KrEntryAction action) {
    // texts: dialString 10460-10461
    switch (action) {
    case KrEntryAction::Skip:
        return dialString(1068);
    case KrEntryAction::Add:
        return dialString(10460);
    case KrEntryAction::Remove:
        return dialString(10461);
    default:
        return Vor_String();
    }
}
