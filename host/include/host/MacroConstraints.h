#pragma once
// The constraints of a macro as the constraint editor edits them: per module of the macro, the
// constraints that tie its parts (parallel, perpendicular, coincident, a distance, an angle, a
// radius, ...), the flexibility of the module's geometry, and the macro's own variables and
// equations. They are records kept in the macro group of the drawing; there is no geometric
// solver. A constraint that carries a value (a distance, an angle, a radius) names a variable: when
// that is a value of the macro (a cell of one of its tabs), updating the constraint writes the value
// into the macro, which is then generated again.
//
// The record is kept in the macro group's properties as JSON in chunks ("constraints:0", ...), so
// that it survives saving and opening the drawing (docs/formats.md).

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <cad/acadstd.h>

#include <nlohmann/json_fwd.hpp>

/// Palette commands, in the order of the palette's buttons.
enum MacroConstraintKind {
    kConstrParallel = 0,
    kConstrPerpendicular = 1,
    kConstrCoincident = 2,
    kConstrSymmetric = 3,
    kConstrTangent = 4,
    kConstrConcentric = 5,
    kConstrEqualRadius = 6,
    kConstrDistance = 7,
    kConstrAngle = 8,
    kConstrRadius = 9,
    kConstrCut = 10,
    kCommandAddModule = 11,
    kCommandBoltPattern = 12,
    kCommandCoordSys = 13,
};
inline constexpr int kConstraintCommands = 14;

/// Budgets of the record (docs/formats.md).
inline constexpr int kMaxConstraintModules = 200;
inline constexpr int kMaxConstraintsPerModule = 2000;
inline constexpr int kMaxMacroVariables = 2000;
inline constexpr int kMaxMacroEquations = 2000;
inline constexpr int kMaxConstraintChunks = 800; ///< of 4,000 bytes each, within the group's 1,000 properties

/// One constraint of a module.
struct MacroConstraint {
    int kind = kConstrParallel;
    Vor_StringArray objects; ///< the names of the entities it ties, as picked
    Vor_String name;         ///< the variable its value is kept in (value kinds), or its own name
    Vor_String value;        ///< the value text of a distance, angle or radius
    int choice1 = 1;         ///< the first and second group of picture buttons (1 to 5)
    int choice2 = 1;
    bool fixed = false;    ///< the value may not change when the macro is fitted
    bool reversed = false; ///< only with fixed: measured the other way
    Vor_String cutName;    ///< a cut constraint's cut of the module's tab

    /// Whether the kind carries a value (distance, angle, radius).
    bool hasValue() const { return kind == kConstrDistance || kind == kConstrAngle || kind == kConstrRadius; }
    bool operator==(const MacroConstraint&) const = default;
};

/// How a part of a module may move when the macro is fitted.
struct MacroGeomFlex {
    Vor_String object;       ///< the entity's name
    int translate = 0;       ///< 0 fixed, 1 along its axis, 2 in its plane, 3 free
    int rotate = 0;          ///< 0 fixed, 1 about its axis, 2 free
    bool constrained = true; ///< its constraints take part
    bool operator==(const MacroGeomFlex&) const = default;
};

struct MacroConstraintModule {
    Vor_String name;
    Vor_Array<MacroConstraint> constraints;
    Vor_Array<MacroGeomFlex> flexibility;
    bool operator==(const MacroConstraintModule&) const = default;
};

struct MacroVariable {
    Vor_String name;
    Vor_String type; ///< the variable's type as the variables page offers it
    Vor_String value;
    bool operator==(const MacroVariable&) const = default;
};

/// What the constraint editor edits: one macro's constraint record, and which module is shown.
class EditConstrData {
public:
    AcDbObjectId macro;
    Vor_String macroName;
    Vor_Array<MacroConstraintModule> modules;
    Vor_Array<MacroVariable> variables;
    Vor_StringArray equations;
    int current = 0; ///< index of the module shown

    MacroConstraintModule* currentModule();
    const MacroConstraintModule* currentModule() const;
    int findModule(const Vor_String& name) const; ///< -1 when none, without regard to case
    bool operator==(const EditConstrData&) const = default;
};

void to_json(nlohmann::json& j, const MacroConstraint& v);
void from_json(const nlohmann::json& j, MacroConstraint& v);
void to_json(nlohmann::json& j, const EditConstrData& v);
void from_json(const nlohmann::json& j, EditConstrData& v);

/// The constraint record of a macro of the current drawing: what its group keeps, with a module for
/// every tab of the macro that the record lacks. False with a message when the id is no macro or
/// what it keeps cannot be read (then nothing is changed).
bool GetEditConstrData(AcDbObjectId macro, EditConstrData& data, Vor_String* error = nullptr);
/// Keeps the record in the macro's group. False with a message (nothing changed) when the macro is
/// gone or the record is beyond its budgets.
bool SetEditConstrData(const EditConstrData& data, Vor_String* error = nullptr);

/// The module names, in order.
bool MacroGetModules(const EditConstrData& data, Vor_StringArray& names);
/// Shows module `name`; false when there is none.
bool SetCurrentModule(EditConstrData& data, const Vor_String& name);
/// Renames the current module; false (nothing changed) for a name that is empty, has control
/// characters or names another module.
bool RenameModule(EditConstrData& data, const Vor_String& name);
/// Removes a module the person added (a module of one of the macro's tabs stays); the first module
/// is shown then.
bool RemoveModule(EditConstrData& data, const Vor_String& name);

/// A name the variables already use, or a value of the macro's tabs has, or a value constraint other
/// than the one at `exceptRow` of the current module keeps its value in.
bool VarNameInUse(const EditConstrData& data, const Vor_String& name, int exceptRow = -1);
/// Whether a name begins with a digit.
bool startsWithNumber(const Vor_String& name);

/// Stores constraint `row` of the current module as it is now in `data`: a value constraint whose
/// variable is a value of the macro writes the value into the macro, which is generated again.
/// False with the reason on the command line when the macro refused the value (it then keeps its
/// old one) or the row does not exist.
bool UpdateConstraint(EditConstrData& data, int row);
bool DeleteConstraint(EditConstrData& data, int row);
/// Moves constraint `from` to place `to` of the current module.
bool SortConstraints(EditConstrData& data, int from, int to);
/// Highlights the entities constraint `row` ties (and only those); the drawing's highlight is
/// cleared by UnHighlightConstraints.
bool HighlightConstraint(const EditConstrData& data, int row);
void UnHighlightConstraints(const EditConstrData& data);

/// A palette command: the constraint kinds pick their entities in the drawing (one for a radius,
/// two otherwise) and add a row to the current module; 11 adds a module; 12 and 13 add a bolt
/// pattern or a coordinate system module. A cancelled pick changes nothing; false then.
bool StartMacroCommand(EditConstrData& data, int command);

/// The parts of the current module whose flexibility the flexibility page shows: every entity its
/// constraints tie, in order, with what the record keeps for it (fixed when nothing).
bool GetGeomFlexibility(EditConstrData& data);
/// Sets how part `row` may move: `what` 0 its translation (0 to 3), 1 its rotation (0 to 2). False,
/// nothing changed, for a value out of range or a row that does not exist.
bool UpdateGeomFlexibility(EditConstrData& data, int what, int value, int row);
/// Whether the constraints of part `row` take part.
bool UpdateConstrGeom(EditConstrData& data, int row, bool constrained);
/// Highlights one entity of the drawing, or clears its highlight.
bool HighlightObject(AcDbObjectId id);
bool UnHighlightObject(AcDbObjectId id);

/// Actions of the constraint list's context menu.
enum ConstrMenuAction { kMenuFixed = 1, kMenuReversed = 2, kMenuDelete = 3, kMenuUp = 4, kMenuDown = 5 };
/// The context menu of constraint `row`: its item texts ("%BREAK%" a separator line), the action of
/// each item and the positions of the items shown checked. False for a row that does not exist.
bool ConstrContextMenu(const EditConstrData& data, int row, Vor_StringArray& texts, Vor_Array<int>& actions,
                       Vor_Array<int>& checked);
bool ContextMenuAction(EditConstrData& data, int action, int row);

/// Keeps the variables and equations (and the rest of the record) in the macro. False with the
/// reason when a variable has no name, two have one name, or the record is beyond its budgets.
bool UpdateVarsEqs(EditConstrData& data, Vor_String* error = nullptr);
/// Lets the person pick another macro in the drawing; its record replaces `data`. False (nothing
/// changed) when the pick is cancelled or the record cannot be read.
bool SelectOtherMacro(EditConstrData& data);
/// Zooms the view to the macro.
bool ZoomCommand(const EditConstrData& data);

/// Edits the cut a cut constraint names (a cut of the current module's tab) in the cuts dialog the
/// module registered (MacroCuts.h); on OK the cut goes into the macro, which is generated again.
/// False when the row is no cut constraint, the module is no tab of the macro, the dialog is
/// cancelled or the macro refused the cut.
bool StartEditMacroCutDlg(EditConstrData& data, int row);
