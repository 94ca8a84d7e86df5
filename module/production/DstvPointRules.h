#pragma once
// What the DSTV points dialogs decide, without a window: the values of the point editor's controls
// and the rule they stand for, which controls are usable, the side pairs, the rule list's insert and
// delete, and the group names a person may choose.
#include <host/DlgDstvPoints.h>

#include <string>
#include <string_view>
#include <vector>

/// The point editor's controls as plain values: list indexes, check states and the edit texts.
struct DstvRuleControls {
    std::string name;
    bool byExtent = true; ///< radio "select by geometry extent"
    int side1 = 0;
    int side2 = 2;
    bool byIntersection = false; ///< radio "select by intersecting geometry"
    bool middle = true;
    int startDir = 0;
    int plate = 0;
    std::string minDistance; ///< "50.000"
    bool fullHole = false;
    bool thicknessBased = false;
    std::string holeSize; ///< "16.000"
};

/// The controls that show a rule; the distance and the hole size with three decimals.
DstvRuleControls dstvControlsOf(const Vor_DstvPointInfo& rule);
/// The rule the controls stand for; the two numbers read by `dstvLeadingNumber`.
Vor_DstvPointInfo dstvRuleOf(const DstvRuleControls& controls);

/// The number a person typed at the start of a text, with a decimal comma or point ("12,5 mm" gives
/// 12.5, "1.234,5" 1234.5); 0 when the text does not begin with a number or its separators allow
/// two readings ("1,234,5").
double dstvLeadingNumber(std::string_view text);

/// Which of the point editor's rule controls can be used.
struct DstvEnabling {
    bool sides = false;          ///< side 1 and side 2
    bool intersection = false;   ///< start direction and "middle"
    bool thicknessBased = false; ///< "hole size depends on plate thickness"
    bool holeSize = false;       ///< the hole size and its label
};

/// Sides go with the extent, start direction and middle with the intersection; the hole size needs
/// a full hole; a size by plate thickness needs a full hole through intersecting geometry.
DstvEnabling dstvEnabling(bool byExtent, bool byIntersection, bool fullHole);

/// The dialog text number of the hole size's label: the extra on the plate thickness, or the
/// diameter itself.
int dstvHoleSizeLabel(bool thicknessBased);

/// Inserts a rule before `index` (the length appends); any other index prints an error on the
/// command line and inserts nothing.
bool insertDstvRule(Vor_Array<Vor_DstvPointInfo>& rules, int index, const Vor_DstvPointInfo& rule);

/// The rule to show after the one at `index` was deleted from a list now `length` long: the one that
/// took its place, the new last when it was the last, -1 when none is left.
int dstvIndexAfterDelete(int index, int length);

/// What a new group's name amounts to.
enum class DstvGroupName {
    Fine,      ///< a new group can have this name
    InUse,     ///< another group has it, also when it differs only in case ("welds" beside "Welds")
    NoFileName ///< it cannot name a file of the folder: blank, a path ("a/b", "..\\x") or hidden (".x")
};
DstvGroupName checkDstvGroupName(const Vor_StringArray& groups, const Vor_String& name);

/// The index of the standard group among the groups, from the setting's file name ("Welds.dat"):
/// the exact name first, else one that differs only in case; -1 when it is none of them.
int dstvStandardIndex(const Vor_StringArray& groups, const Vor_String& standardFile);

/// The group a person picked in the group list: the first item whose check mark differs from the
/// standard group's (only the standard is checked); -1 when the marks are as they should be.
int dstvPickedGroup(const std::vector<bool>& checks, int standard);
