#include "macro/BoltDialogRules.h"

#include <base/NumberText.h>
#include <host/Texts.h>
#include <ui/Types.h>

namespace {
/// A slot measure as a person typed it; only a number greater than 0 is a measure.
bool isPositiveMeasure(const Vor_String& text) {
    double v = 0;
    return base::readTypedNumber(text.str(), v) == base::TypedNumber::Number && v > 0;
}
} // namespace

int firstInvalidSlottedHole(const MacroBoltData& bolts) {
    for (int i = 0; i < bolts.slottedHoles.length(); ++i) {
        const SlottedHole& h = bolts.slottedHoles[i];
        if (h.active && (!isPositiveMeasure(h.radius) || !isPositiveMeasure(h.length))) return i;
    }
    return -1;
}

Vor_String invalidSlottedHoleMessage(int index) {
    return dialString(1000) + " " + Vor_String(index + 1) + " " + dialString(1001) + "\n\n" +
           dialString(888) + ".";
}

Vor_String slottedHoleEntryText(int index) {
    return dialString(999) + " nr: " + Vor_String(index + 1);
}

TriState storedTriState(TriState before, int checkState) {
    switch (checkState) {
    case ui::BST_CHECKED:
        return TriState::On;
    case ui::BST_UNCHECKED:
        return TriState::Off;
    default:
        return before;
    }
}

int keptDiameterIndex(const Vor_StringArray& offered, const Vor_String& current) {
    if (offered.length() == 0) return -1;
    int index = -1;
    if (offered.find(current, index)) return index;
    return 0;
}

void fitPatternDistances(Vor_StringArray& distances, int gaps, const Vor_String& spacing) {
    if (gaps < 0) gaps = 0;
    while (distances.length() > gaps)
        distances.removeAt(distances.length() - 1);
    while (distances.length() < gaps)
        distances.append(distances.length() > 0 ? distances[distances.length() - 1] : spacing);
}

int slotChoiceComboIndex(int appliesTo) {
    return appliesTo >= 0 && appliesTo <= 2 ? (appliesTo + 2) % 3 : -1;
}

int slotAppliesTo(int comboIndex) {
    return comboIndex >= 0 && comboIndex <= 2 ? (comboIndex + 1) % 3 : -1;
}
