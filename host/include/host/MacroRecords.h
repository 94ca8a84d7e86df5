#pragma once
// The value records of a macro's tab: cells, bolt data, bolt patterns, profile groups, arrays,
// segmented profiles, cuts and flex-fix groups. Plain values with copy semantics and a JSON form;
// what they mean for the drawing is the macro library's rule (MacroLibrary.h).
//
// Several macros edited together are merged record by record: a text that differs becomes the
// "varies" text (`variesText()`, the catalogue's *VARIES*), a yes/no value becomes undecided, a
// choice becomes `kVariesIndex` (a combo whose entry 0 is the varies text: 0). Writing a merged
// record into one macro (`applyTo`) leaves every field that still varies as that macro had it.
// Plain bool fields (a pattern's staggered, a profile's onSegment, ...) cannot show a difference:
// the merged record holds the first macro's, and `applyTo` writes them. Lists merge item by item
// when they are as long in every macro, else into the one item "varies", which keeps each macro's
// own list.

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <nlohmann/json_fwd.hpp>

#include <vector>

/// The text a merged value shows when the macros differ: dialString(695).
Vor_String variesText();
/// True when `text` is the varies text.
bool isVaries(const Vor_String& text);

/// A choice that differs between merged macros.
inline constexpr int kVariesIndex = -2;

/// A yes/no value of several macros: unchecked, checked, or undecided (they disagree).
enum class TriState { Off = 0, On = 1, Undecided = 2 };

/// One value of a tab: shown by designed controls of that name.
struct MacroCell {
    Vor_String name;   ///< "tp"
    Vor_String value;  ///< "20", or the varies text
    bool flag = false; ///< fixed: a dimension control may not change it; a control takes it over
    int ctrlRef = 0;   ///< resource id of the control that shows it in an open dialog, 0 when none
    bool operator==(const MacroCell&) const = default;
};

/// One slotted hole of a bolt group.
struct SlottedHole {
    bool active = false;
    Vor_String radius; ///< half the slot's width
    Vor_String length; ///< length of the straight part
    Vor_String angle;  ///< degrees from the plate's x axis
    Vor_String offset; ///< of the slot's centre from the hole's centre, along the slot
    int appliesTo = 1; ///< 0 all parts, 1 the first part, 2 the second part (texts 996, 994, 995)
    bool operator==(const SlottedHole&) const = default;
};

/// The bolt data of a tab (one bolt group of the macro).
class MacroBoltData {
public:
    Vor_String assembly;          ///< an assembly of the bolt library ("8.8"); the drawing writes "M20 8.8"
    Vor_String diameter;          ///< "20"
    Vor_String penetrationLength; ///< into a tapped part
    Vor_String addedLength;       ///< added to the grip length
    Vor_String holeTolerance;     ///< hole diameter minus bolt diameter
    bool specialPresent = false;  ///< the assembly has a special version
    TriState special = TriState::Off;
    TriState tapped = TriState::Off;
    TriState reverse = TriState::Off;
    TriState countersunk = TriState::Off;
    TriState workshop = TriState::Off;
    Vor_Array<SlottedHole> slottedHoles;
    int nut1 = 1, nut2 = 0, washer1 = 1, washer2 = 0, washers = 0; ///< 0 or 1; -1: not applicable

    /// The hole columns: five texts (diameter added per part, in order of the parts).
    void getHoleColumns(Vor_StringArray& columns) const { columns = m_holeColumns; }
    void setHoleColumns(const Vor_StringArray& columns);

    /// Merges another macro's bolt data into this one (see the file comment).
    void mergeWith(const MacroBoltData& other);
    /// Writes what is decided here into `target`.
    void applyTo(MacroBoltData& target) const;

    bool operator==(const MacroBoltData&) const = default;

private:
    Vor_StringArray m_holeColumns{"", "", "", "", ""};
};

/// One direction of a bolt pattern.
struct PatternHalf {
    bool on = true;            ///< the direction has more than one bolt
    int partsChoice = 1;       ///< which parts the spacing is measured on: combo index, see MacroPatternProps
    bool equalSpacing = true;  ///< one spacing, or one distance per gap
    Vor_String count;          ///< bolts in this direction
    Vor_String spacing;        ///< the spacing when equal
    Vor_StringArray distances; ///< the gaps one by one when not equal
    bool operator==(const PatternHalf&) const = default;
};

/// A bolt pattern of a tab: rows (the first half, along the plate's height) times columns (the
/// second half, across it), offset from the plate's top and side edges.
class MacroPatternProps {
public:
    /// Entries of the parts combo: 0 the varies text, 1 all parts (996), 2 no parts (1055),
    /// 3 the first part (994), 4 none chosen ("").
    static Vor_StringArray partsChoiceTexts();

    Vor_String name;       ///< the pattern's name, as designed controls name it
    int btnId = 0;         ///< resource id of the "..." button that opened it, 0 when none
    PatternHalf halves[2]; ///< rows, columns
    Vor_String edgeTop;    ///< from the plate's top edge to the first row
    Vor_String edgeSide;   ///< from the plate's side edge to the first column
    Vor_String clearance;  ///< kept free around each hole
    bool staggered = false, mirror = false, mirrorHorizontally = false, mirrorVertically = false;

    /// The count of one half (0 rows, 1 columns) as a number; -1 when that half is off, or its
    /// count is no whole number from 1 to 1000.
    int getCount(int half) const;
    /// The five values designed controls show: row spacing, column spacing, top edge, side edge,
    /// clearance.
    Vor_String value(int index) const;
    void setValue(int index, const Vor_String& text);
    /// Offsets of the rows (half 0) or columns (half 1) from the first one, in mm; empty when the
    /// half's numbers cannot be read.
    std::vector<double> offsets(int half) const;

    void mergeWith(const MacroPatternProps& other);
    void applyTo(MacroPatternProps& target) const;
    bool operator==(const MacroPatternProps&) const = default;
};

/// The placement of a profile group: which point of the section lies on the line, offsets,
/// rotation, orientation, the segment it follows, and the second section of a morphed profile.
class MacroProfData {
public:
    /// Stored offset types (`offsetType`): 0 to 8 the insertion points row by row from the top
    /// left, 9 the centre of gravity, 10 the macro's default, 11 free (offsets only).
    enum { kCentreOfGravity = 9, kMacroDefault = 10, kFree = 11 };
    /// Entries of the offset-type combo, index 0 the varies text; see getDlgOffsetType.
    static Vor_StringArray getOffsetTypeStrings();
    /// Combo index of a stored offset type (0 for kVariesIndex or an unknown one), and back.
    static int getDlgOffsetType(int offsetType);
    static int getProfOffsetType(int dlgIndex);
    /// Entries of the base-plane combo: the varies text, XY, XZ and YZ plane (1022 to 1024).
    static Vor_StringArray getBasePlaneStrings();

    Vor_String groupName; ///< "Beam"
    Vor_String section;   ///< "IPE 300"
    int offsetType = 4;   ///< see above, or kVariesIndex
    Vor_String offsetX;   ///< mm along the section's width
    Vor_String offsetY;   ///< mm along the section's height
    Vor_String rotation;  ///< "0", "90", "45", or the varies text
    int orientation = 0; ///< 0 world, 1 as the macro, 2 by the plane or coordinate system below, kVariesIndex
    int basePlane = 1;   ///< combo index of getBasePlaneStrings
    Vor_String coordSys; ///< name of a coordinate system entity, when one was picked
    TriState mirrored = TriState::Off; ///< the section mirrored about its web
    bool onSegment = false;            ///< placed on one segment of a polyline
    Vor_String segment;                ///< that segment's number, from 1
    bool fromPreview = false;          ///< a coordinate system made from the preview object
    bool morphed = false;              ///< the section changes along the profile
    Vor_String section2;               ///< the section at the end of a morphed profile
    Vor_String transitionStart, transitionEnd;
    int transitionType = 0;
    int btnId = 0; ///< resource id of the profile button (a designed control) naming the group, 0 when none

    void mergeWith(const MacroProfData& other);
    void applyTo(MacroProfData& target) const;
    bool operator==(const MacroProfData&) const = default;
};

/// What an entry of an array is to do (set by the array dialog's buttons).
enum class KrEntryAction { None = 0, Skip = 1, Add = 2, Remove = 3 };

/// One entry of an array.
struct DynArrayEntry {
    Vor_String number; ///< its position, from 1
    Vor_String offset; ///< extra offset of this entry, mm
    Vor_String part;   ///< what is placed there
    Vor_String note;
    KrEntryAction action = KrEntryAction::None;
    bool operator==(const DynArrayEntry&) const = default;
};

/// A repeated part of a macro: along one dimension (kind 0), a fixed number (1), along two
/// dimensions (2) or along a path (3).
class DynArrayData {
public:
    Vor_String name;
    int btnId = 0;          ///< resource id of the button that opened it, 0 when none
    int kind = 0;           ///< 0 to 3, or kVariesIndex
    Vor_String dimNames[3]; ///< the macro dimensions (cell names) that drive each direction
    Vor_String third;       ///< kind 1: the number of parts
    Vor_String distance, minimum, maximum, startOffset, endOffset;
    bool mirror = false;
    Vor_Array<DynArrayEntry> entries;
    Vor_StringArray validDims[3]; ///< the cell names allowed per direction (set by the macro library)

    /// The dimension names allowed for the directions whose flags are set, without repeats.
    Vor_StringArray getValidDimNames(bool first, bool second, bool third) const;
    /// Marks entry `index`; false when there is no such entry.
    bool setEntryAction(int index, KrEntryAction action);
    /// The entry a designed control shows, by its number; null when there is none.
    const DynArrayEntry* getEntry(int number) const;

    void mergeWith(const DynArrayData& other);
    void applyTo(DynArrayData& target) const;
    bool operator==(const DynArrayData&) const = default;
};

/// A segmented profile of a tab: a profile along a polyline that breaks at the given points.
struct MacroSegmentData {
    Vor_String name;
    Vor_String section; ///< shown beside the name in the dialog's list
    Vor_String clearance;
    bool breakAtEveryPoint = false;
    Vor_StringArray breakPoints; ///< point numbers of the polyline, from 1
    bool operator==(const MacroSegmentData&) const = default;
};

/// A cut of a macro: a choice among the cut kinds and its values.
struct MacroCutData {
    Vor_String name;
    int choice = 0;
    Vor_StringArray varNames;
    Vor_StringArray values;
    bool operator==(const MacroCutData&) const = default;
};

/// A group of flex and fix buttons: cells whose sum is fixed; the flexible ones take up changes.
struct MacroFlexFixGroup {
    Vor_String name;
    Vor_StringArray cells;
    Vor_Array<int> flexible; ///< per cell: 1 flexible, 0 fixed
    bool operator==(const MacroFlexFixGroup&) const = default;
};

void to_json(nlohmann::json& j, const MacroCell& v);
void from_json(const nlohmann::json& j, MacroCell& v);
void to_json(nlohmann::json& j, const SlottedHole& v);
void from_json(const nlohmann::json& j, SlottedHole& v);
void to_json(nlohmann::json& j, const PatternHalf& v);
void from_json(const nlohmann::json& j, PatternHalf& v);
void to_json(nlohmann::json& j, const DynArrayEntry& v);
void from_json(const nlohmann::json& j, DynArrayEntry& v);
void to_json(nlohmann::json& j, const MacroBoltData& v);
void from_json(const nlohmann::json& j, MacroBoltData& v);
void to_json(nlohmann::json& j, const MacroPatternProps& v);
void from_json(const nlohmann::json& j, MacroPatternProps& v);
void to_json(nlohmann::json& j, const MacroProfData& v);
void from_json(const nlohmann::json& j, MacroProfData& v);
void to_json(nlohmann::json& j, const DynArrayData& v);
void from_json(const nlohmann::json& j, DynArrayData& v);
void to_json(nlohmann::json& j, const MacroSegmentData& v);
void from_json(const nlohmann::json& j, MacroSegmentData& v);
void to_json(nlohmann::json& j, const MacroCutData& v);
void from_json(const nlohmann::json& j, MacroCutData& v);
void to_json(nlohmann::json& j, const MacroFlexFixGroup& v);
void from_json(const nlohmann::json& j, MacroFlexFixGroup& v);
