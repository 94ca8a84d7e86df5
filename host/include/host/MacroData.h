#pragma once
// The macros of the current drawing as the macro dialogs edit them. A `MacroData` is a copy of the
// values of one or more macro instances (by object id), merged tab by tab; the dialogs change the
// copy and hand the differences to `UpdateModule`, which writes them into every macro of the
// selection and regenerates its entities in the drawing.
//
// Change lists: `differences` gives per tab two lists of indexes. The first holds the indexes of
// changed cells and these codes for whole records: kChangedBolts, kChangedDrawingFile,
// kChangedProfiles, kChangedSegments, kChangedCuts, kChangedArrays, kChangedFlexFix. The second
// holds the indexes of changed patterns.

#include <host/MacroRecords.h>
#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <cad/Drawing.h>
#include <cad/acadstd.h>

#include <nlohmann/json_fwd.hpp>

#include <string>
#include <utility>
#include <vector>

inline constexpr int kChangedBolts = -11;
inline constexpr int kChangedDrawingFile = -12; ///< left out when values come from a property file
inline constexpr int kChangedProfiles = -13;
inline constexpr int kChangedSegments = -14;
inline constexpr int kChangedCuts = -15;
inline constexpr int kChangedArrays = -16;
inline constexpr int kChangedFlexFix = -17;

/// Most property files a macro type's folder lists.
inline constexpr int kMaxPropFilesListed = 2000;

/// Page kinds of a tab: 0, 1 and 3 a designed page, 2 a profile page; others have no page.
enum MacroTabKind { kTabDesigned = 0, kTabDesignedBolts = 1, kTabProfiles = 2, kTabDesignedArrays = 3 };
/// Kinds above 3 hold values that other modules read (marks, phases) and have no page.
inline constexpr int kMaxTabKind = 9;

/// The values of one tab of a macro (a module of the macro: the end plate, the bolts, ...).
class MacroTabData {
public:
    int kind = kTabDesigned;
    Vor_String moduleName;     ///< "Endplate"
    Vor_String caption;        ///< the tab's text
    Vor_String designTemplate; ///< designer template, relative to the designer folder ("EndPlate")
    Vor_Array<MacroCell> cells;
    Vor_Array<MacroPatternProps> patterns;
    Vor_Array<MacroProfData> profiles;
    Vor_Array<DynArrayData> arrays;
    Vor_Array<MacroCutData> cuts;
    Vor_Array<MacroSegmentData> segments;
    Vor_Array<MacroFlexFixGroup> flexFix;
    bool hasBolts = false;
    MacroBoltData bolts;
    bool hasDrawingFile = false;
    Vor_String drawingFile; ///< chosen library drawing, name without extension, or the varies text

    MacroCell* findCellWithName(const Vor_String& name, int* index = nullptr);
    const MacroCell* findCellWithName(const Vor_String& name, int* index = nullptr) const;
    MacroPatternProps* findPatternWithName(const Vor_String& name, int* index = nullptr);
    MacroPatternProps* findPatternWithBtnId(int btnId, int* index = nullptr);
    MacroProfData* findProfDataWithGroup(const Vor_String& group, int* index = nullptr);
    /// The profile group whose profile button (a designed control) has resource id `btnId`.
    MacroProfData* findProfDataWithButtonId(int btnId, int* index = nullptr);
    DynArrayData* findArrayWithName(const Vor_String& name, int* index = nullptr);
    DynArrayData* findArrayWithBtnId(int btnId, int* index = nullptr);
    MacroCutData* findCutWithName(const Vor_String& name, int* index = nullptr);
    MacroFlexFixGroup* findFlexFixGroup(const Vor_String& name, int* index = nullptr);
    /// Sets a profile button's resource id (a designed control naming `group`).
    void setProfButtonId(const Vor_String& group, int btnId);
    /// The names of the profile groups, in order.
    Vor_StringArray getProfGroups() const;
    bool getMergedPropsOfGroup(const Vor_String& group, MacroProfData& props) const;
    bool setMergedPropsOfGroup(const Vor_String& group, const MacroProfData& props);
    /// A flex or fix button of a group was clicked: makes that cell flexible (`flex`) or fixed.
    bool flexFixBtnClicked(const Vor_String& group, const Vor_String& cell, bool flex);
    /// Forgets every control reference (cells, patterns, arrays, profile buttons).
    void removeAllDlgReferences();
    /// What differs from `other` (an earlier copy of this tab): the names of the changed values and
    /// the two lists of the file comment. False when nothing differs.
    bool differences(const MacroTabData& other, Vor_StringArray& names, Vor_Array<int>& first,
                     Vor_Array<int>& second) const;

    void mergeWith(const MacroTabData& other);
    bool operator==(const MacroTabData&) const = default;
};

/// The values of the macros a dialog edits.
class MacroData {
public:
    Vor_Array<AcDbObjectId> ids; ///< the macro groups edited; its length is the number of macros
    Vor_String dialogTitle;
    Vor_StringArray groupKeys;
    Vor_StringArray filter1; ///< items of the first filter
    int filter1Index = 0;
    Vor_StringArray macroNames; ///< of the edited macros, in order of `ids`
    Vor_StringArray filter2;
    int filter2Index = 0;
    Vor_Array<MacroTabData> tabs;
    Vor_String activeTabName;
    bool openProfileDetails = false;
    Vor_Array<AcDbObjectId> previewIds;
    bool previewFlag = false;
    bool closedByUser = false;
    bool deferredClose = false;     ///< set by the host while it is still busy with a change
    Vor_String macroType;           ///< the definition all edited macros share ("Kopplaat")
    Vor_Array<AcDbObjectId> allIds; ///< every macro chosen; `ids` is what the first filter leaves of them

    /// Index of the tab whose module name or caption is `name`.
    bool findTab(const Vor_String& name, int& index) const;
    MacroTabData* findTabWithModule(const Vor_String& moduleName, int* index = nullptr);
    /// Turns the view of the current drawing (0 front, 1 side, 2 top, 3 standard) and zooms to the
    /// edited macros.
    void changeView(const Vor_String& moduleName, int direction);
    /// Applies the macro's definition again to the edited macros (regenerates them from their values
    /// after the connected profiles moved); true when something was applied.
    bool reApply();
    /// True when property files may be used; the folder they live in.
    bool propListAllowed(Vor_String& folder) const;
    /// What the filtered file dialog offers: the folder of the property files (as propListAllowed
    /// gives it), their extension with its dot, the names (without extension, sorted) of every
    /// property file there, and of those that fit the macros as they are edited now: files of this
    /// macro type whose values all belong to tabs being edited. At most kMaxPropFilesListed files.
    void getPropFiles(Vor_String& folder, Vor_String& extension, Vor_StringArray& allNames,
                      Vor_StringArray& filteredNames) const;
    /// Reads values from a property file into the tabs; `notSet` counts the values that have no
    /// place here. False (nothing changed) when the file cannot be read.
    bool readFromFile(const Vor_String& fileName, int& notSet, Vor_String* error = nullptr);
    bool writeToFile(const Vor_String& fileName, Vor_String* error = nullptr) const;
    /// Per tab (in order of `tabs`), what differs from `other`; false when nothing does.
    bool differences(const MacroData& other, Vor_StringArray& names, Vor_Array<Vor_Array<int>>& first,
                     Vor_Array<Vor_Array<int>>& second) const;
    bool getMergedPropsOfGroup(const Vor_String& moduleName, const Vor_String& group,
                               MacroProfData& props) const;
    bool setMergedPropsOfGroup(const Vor_String& moduleName, const Vor_String& group,
                               const MacroProfData& props);
    /// Places another library drawing (full path of a "*.dwg") in every edited macro.
    bool swapBlockRefs(const Vor_String& path);

    /// True while the deferred-close flag is set, or the host is still busy writing a change into
    /// one of the edited macros (see MacroHostSettings).
    bool deferredCloseSet() const;

    bool operator==(const MacroData&) const = default;
};

void to_json(nlohmann::json& j, const MacroTabData& v);
void from_json(const nlohmann::json& j, MacroTabData& v);
void to_json(nlohmann::json& j, const MacroData& v);
void from_json(const nlohmann::json& j, MacroData& v);

/// Builds the data of the macros with these ids (macro groups of the current drawing), merged.
/// False with a message when an id is no macro or the macros are of different definitions.
bool GetMacroData(const Vor_Array<AcDbObjectId>& ids, MacroData& data, Vor_String* error = nullptr);
/// The same for macros named in the drawing ("M1").
bool GetMacroDataByNames(const Vor_StringArray& names, MacroData& data, Vor_String* error = nullptr);

/// Writes the listed differences of tab `moduleName` into every macro of `data` and regenerates
/// them. `first` may hold the codes of the file comment; false when the tab or a macro is missing.
bool UpdateModule(const Vor_String& moduleName, const MacroData& data, const Vor_Array<int>& first,
                  const Vor_Array<int>& second);
/// UpdateModule for every tab with its lists.
bool setAllToMacro(const MacroData& data, const Vor_Array<Vor_Array<int>>& first,
                   const Vor_Array<Vor_Array<int>>& second);
/// Removes `value` from every list.
void removeAll(Vor_Array<Vor_Array<int>>& lists, int value);
/// Recomputes which macros and tabs are edited after a filter changed (first: the first filter).
bool UpdateAllFilterModified(MacroData& data, bool first);
/// Lets the user pick other macros in the drawing; true when the selection changed.
bool SelectOtherMacros(MacroData& data);

/// Clash bookkeeping per dialog (its registry slot): the edited macros are checked against the
/// rest of the drawing after every commit; overlaps are reported on the command line once each and
/// highlighted.
void clashInitDlgStarted(int slot);
void clashResetInfo(int slot, const Vor_Array<AcDbObjectId>& ids);
/// Checks the macros `ids` when the check is switched on; the number of clashing pairs found.
int clashcheck(int slot, const Vor_Array<AcDbObjectId>& ids);
void clashDlgClosed(int slot);
bool clashGetStatus();
void clashSetStatus(bool on);

/// The bolt assemblies of the bolt library (`libDir + "Bolts/assemblies.txt"`) and the diameters
/// of one; empty when the library cannot be read.
void GetAssemblies(Vor_StringArray& assemblies);
void GetDiameters(const Vor_String& assembly, Vor_StringArray& diameters);

/// Picks in the drawing; each is a request to whoever serves picks, false when cancelled, and a
/// cancelled pick changes nothing.
/// A point pick: of the profiles of that section, the one whose line passes nearest the point gives
/// the section's frame, and the nearest of its nine insertion points (0 top left to 8 bottom right,
/// seen from the profile's start) is the offset type. False when no profile has that section.
bool UserChooseSectionPoint(const Vor_String& section, int& offsetType);
/// A plane pick; the plane as "x,y,z;nx,ny,nz" (a point on it and its unit normal).
bool UserSelectPlane(Vor_String& plane);
/// An object pick of a coordinate-system entity; its name.
bool selectCoordSys(Vor_String& name);
/// Makes a coordinate system entity named "UCS<n>" (the lowest free n) at a picked point with the
/// world's axes, or, from the preview object, at its placement (a plate's, a block's, a profile's
/// start with x along it); its name.
bool createCoordSys(bool fromPreview, const Vor_Array<AcDbObjectId>& previewIds, Vor_String& name);
/// Erases an entity of the current drawing; false when there is none.
bool EraseObject(AcDbObjectId id);

/// A new macro of `type` in `drawing` at `placement`, with the definition's default values changed by
/// `values` (keys as macroValueText reads them: "<module>.<cell>" or a record key, see docs/formats.md),
/// connected to the profiles named in `connects` (left out of its clash check), and its entities
/// generated. The null id with a message when the type or a value is faulty (nothing is added).
AcDbObjectId createMacro(cad::Drawing& drawing, const Vor_String& type, const Vor_String& name,
                         const cad::CoordSys& placement, const Vor_StringArray& connects,
                         const std::vector<std::pair<std::string, std::string>>& values = {},
                         std::string* error = nullptr);
/// Makes a macro's entities again from its stored values: entities whose element still exists keep
/// their id and name, others are added or erased. False with a message (nothing changed).
bool regenerateMacro(cad::Drawing& drawing, AcDbObjectId macro, std::string* error = nullptr);
/// The values of one macro, tab by tab, as stored in its group; false with a message when the id is
/// no macro of `drawing` or its definition cannot be read.
bool readMacroTabs(const cad::Drawing& drawing, AcDbObjectId macro, Vor_Array<MacroTabData>& tabs,
                   std::string* error = nullptr);
/// One value of a macro as text: "<module>.<cell>" a cell ("Endplate.tp"), "<module>.drawing" the
/// drawing choice, "<module>.bolts.<field>" a field of the bolt data, "<module>.pattern.<name>.<path>",
/// "<module>.profile.<group>.<path>", "<module>.array.<name>.<path>", "<module>.cut.<name>.<path>"
/// a field of a record's JSON form (docs/formats.md), a path like "rows.count"; "settings.<path>" a
/// field of the general settings (macroSettingsValueText). False with a message.
bool macroValueText(const cad::Drawing& drawing, AcDbObjectId macro, const std::string& key,
                    std::string& value, std::string* error = nullptr);

/// Host settings of the macro model.
struct MacroHostSettings {
    /// While a change is written, the edited dialogs' data have the deferred-close flag set for this
    /// many milliseconds of the scripted clock (0: cleared at once).
    int regenerationDelayMs = 0;
};
MacroHostSettings& macroHostSettings();
