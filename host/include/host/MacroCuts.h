#pragma once
// A cut of a macro as the cuts dialog edits it: its kind, name, variables and options, and the macro
// (module) it belongs to. The dialog is the module's: it registers a runner here, so that the host
// opens it (`StartEditMacroCutDlg`) without knowing the module.
//
// Cut kinds (`DlgMacroCutsData::cutKind`): 0 a profile against a plate, 1 a profile against a
// profile, 2 a profile inside a profile, 3 a profile against a profile in three segments, 4 a
// chamfer, 5 a fillet. A cut record of a macro (`MacroCutData`) keeps its kind in `choice`.
#include <host/MacroData.h>
#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <cad/acadstd.h>

#include <nlohmann/json_fwd.hpp>

/// Number of cut kinds.
inline constexpr int kCutKinds = 6;
/// Most variables a cut holds, and most characters of a name or value the dialog takes.
inline constexpr int kMaxCutVariables = 100;
inline constexpr int kMaxCutText = 100;
/// Variable names may not begin with this: the macro's own generated names do.
inline constexpr const char* kGeneratedNamePrefix = "gen_";

/// The macros a cut may belong to: the modules of the edited macro, or of one picked in the drawing.
class MacrosInDlgData {
public:
    Vor_StringArray modules;  ///< module names of the macro the list shows
    AcDbObjectId pickedMacro; ///< the macro picked in the drawing, null while none is

    /// The module names for the macro combo.
    void GetAllMods(Vor_StringArray& mods) const { mods = modules; }
    /// Lets the person pick a macro in the drawing; its modules become the list. False, nothing
    /// changed, when the pick is cancelled or the picked macro cannot be read.
    bool UserSelectMacro();

    bool operator==(const MacrosInDlgData&) const = default;
};

class DlgMacroCutsData {
public:
    /// Modes: editing an existing cut, or making a new one (its name must be free).
    enum { kModeEdit = 1, kModeNew = 2 };

    int cutKind = 0;          ///< see the file comment
    Vor_String cutName;       ///< edit 1000
    Vor_String secondText;    ///< edit 1001: the distance or angle of the chosen option
    Vor_StringArray varNames; ///< the cut's variables by their own names ("Offset1")
    Vor_StringArray values;   ///< one per name
    int option = 1;           ///< 1 to 3: the kind's option radio
    bool check1 = false;      ///< 1323: cut both profiles, or the middle segment only
    bool check2 = false;      ///< 1325: weld preparation
    bool check3 = false;      ///< 1326: bevel the web too (with weld preparation only)
    int method = 4;           ///< combo 1283: 0 exact shape to 3 web only, 4 none chosen
    int macroChoice = 1;      ///< 1 this macro, 2 a macro picked in the drawing
    Vor_String macroName;     ///< the module the cut belongs to
    bool fixed = false;       ///< kind, name and macro may not be changed
    int mode = kModeEdit;
    Vor_StringArray otherCutNames; ///< names of the macro's other cuts (the name check)
    MacrosInDlgData macros;

    /// In the new-cut mode: another cut of the macro already has this name (case-insensitive).
    bool CutNameInUse() const;
    /// Every name is non-empty, unique (case-insensitive), does not begin with "gen_", and each
    /// has a value.
    bool AreVarNamesValid() const;
    /// The variables a cut of `kind` starts with, and their values; empty for a kind out of range.
    static void GetDefaultValues(int kind, Vor_StringArray& names, Vor_StringArray& values);

    bool operator==(const DlgMacroCutsData&) const = default;
};

void to_json(nlohmann::json& j, const DlgMacroCutsData& v);
/// Reads a cut as the launcher gets it; refuses (throws with the field at fault) a kind, option,
/// method or macro choice out of range, more than kMaxCutVariables variables, or fewer values
/// than names.
void from_json(const nlohmann::json& j, DlgMacroCutsData& v);

/// Runs the cuts dialog on `data`: true on OK (data edited), false else (data as it was); `escaped`
/// tells whether the dialog ended with Escape.
using MacroCutDlgRunner = bool (*)(DlgMacroCutsData& data, bool& escaped);
/// Set by the module that has the dialog; null removes it.
void setMacroCutDlgRunner(MacroCutDlgRunner runner);

/// The dialog's data for cut `cutName` of tab `tab` of `data`, or for a new cut when `cutName` is
/// empty (the first kind's default variables, a free name "Cut<n>"). False for a bad tab or a name
/// the tab lacks.
bool macroCutDlgDataOf(const MacroData& data, int tab, const Vor_String& cutName, DlgMacroCutsData& out);
/// Writes an edited cut back: into the tab whose module is `cut.macroName` (the cut's old record,
/// named `oldName` in tab `tab`, is replaced when it stays in that tab, else moved). False, nothing
/// changed, when the cut has no name, no tab has that module, another cut of that module has the
/// name (case-insensitive), or the cut belongs to a macro picked in the drawing (the caller handles
/// that one).
bool applyMacroCutDlgData(MacroData& data, int tab, const Vor_String& oldName, const DlgMacroCutsData& cut);
/// Edits cut `cutName` of tab `tab` (a new one when empty) in the registered dialog and writes it
/// back on OK. False when there is no dialog runner, the cut cannot be found, the dialog was
/// cancelled (`escaped` set for Escape) or the cut cannot be written back; then `data` is unchanged.
bool StartEditMacroCutDlg(MacroData& data, int tab, const Vor_String& cutName, bool& escaped);
