#pragma once
// What the constraint editor does, without its windows: the editor's copy of a macro's constraint
// record, the page shown, the rows chosen on the constraint and flexibility pages, and the
// variables and equations typed on the variables page but not stored yet. Every change goes
// through the host's constraint operations (host/MacroConstraints.h); the dialog only shows the
// state and feeds what the person types in here.

#include <host/MacroConstraints.h>
#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <vector>

/// The pages of the editor, in tab order.
enum ConstraintEditorTab { kTabConstraints = 0, kTabFlexibility = 1, kTabVariables = 2, kTabPalette = 3 };

/// The palette's buttons carry the commands 0 to 13 in id order.
inline constexpr int kFirstPaletteButton = 1024;
/// The picture of palette command `command` (a BITMAP resource); 0 for the command without one.
int palettePicture(int command);
/// The tooltip text number of palette command `command`; 0 for the command without one.
int paletteTooltip(int command);
/// Whether the palette shows the button of `command` (symmetric and cut constraints are not offered).
bool paletteButtonShown(int command);

/// The text the constraint grid shows for a constraint kind.
Vor_String constraintKindText(int kind);

/// The types the variables page offers, in the order of its type column.
Vor_StringArray variableTypeTexts();

/// A message about a refused variable name: caption, text and the message box's flags.
struct NameRefusal {
    Vor_String caption;
    Vor_String text;
    unsigned flags = 0;
};

/// The context menu of a constraint row: item texts ("%BREAK%" a separator), the action of each item
/// and the positions shown checked, as the host gives them.
struct ConstraintMenu {
    Vor_StringArray texts;
    Vor_Array<int> actions;
    Vor_Array<int> checked;
};
/// The MENU resource that lists the context menu's command ids, in the order of their positions.
inline constexpr int kConstraintMenuResource = 8754;
/// The menu command ids of the item positions 0 to 5 of the context menu.
inline constexpr int kConstraintMenuIds[6] = {32811, 32812, 32816, 32817, 32818, 32800};
/// The item position of a context menu command id; -1 for another id.
int constraintMenuPosition(int commandId);
/// One item of the popup menu built from a ConstraintMenu.
struct ConstraintMenuItem {
    int id = 0; ///< the menu command id of the item's position
    Vor_String text;
    bool checked = false;
};
/// The popup's items: one per text of `menu` but its separators, each with the command id of its
/// position among the texts (a separator holds a position too), as far as there are ids.
std::vector<ConstraintMenuItem> constraintMenuItems(const ConstraintMenu& menu);

class ConstraintEditorModel {
public:
    /// What a palette command asks of the dialog afterwards.
    enum class AfterCommand {
        Failed,          ///< nothing changed (a cancelled pick): the dialog stays as it was
        ShowConstraints, ///< a constraint was added: the constraint page and every list refilled
        ShowNewModule,   ///< a module was added: the module list refilled, the new module shown
        Nothing,         ///< a bolt pattern or coordinate system module: nothing more
    };

    EditConstrData data;
    int tab = kTabConstraints;
    int chosenRow = -1;     ///< the chosen row of the constraint list; -1 for none
    int chosenFlexRow = -1; ///< the chosen row of the flexibility list; -1 for none

    /// What the variables page shows now; the dialog hands it in as the person types.
    void typeVariables(const Vor_Array<MacroVariable>& variables, const Vor_StringArray& equations);
    bool hasTypedVariables() const { return m_typed; }
    /// What the variables page shows: what was typed and not stored yet, else the record's.
    const Vor_Array<MacroVariable>& shownVariables() const { return m_typed ? m_variables : data.variables; }
    const Vor_StringArray& shownEquations() const { return m_typed ? m_equations : data.equations; }
    /// Stores typed variables and equations in the macro (UpdateVarsEqs). True when there was
    /// nothing to store or they were stored; false with the reason (what was typed then stays
    /// typed, so that nothing is lost and the person can mend it).
    bool storeVariables(Vor_String* error = nullptr);
    /// Forgets what was typed (a new record replaced the old one).
    void dropTypedVariables() { m_typed = false; }

    /// Checks a variable name typed for constraint `row`: empty when the name may be taken over,
    /// else the message that refuses it.
    NameRefusal checkVariableName(const Vor_String& name, int row) const;

    /// Runs palette command `command` (the typed variables are stored first, so that the refill
    /// that follows cannot drop them).
    AfterCommand paletteCommand(int command);
    /// Shows module `name` (the typed variables are stored first); the chosen rows are cleared.
    bool switchModule(const Vor_String& name);
    /// The module names, and the index of the one shown (-1 when none).
    Vor_StringArray moduleNames(int* current = nullptr) const;

    /// Actions on the chosen constraint row; false, nothing done, when no row is chosen.
    bool storeChosen();
    bool deleteChosen();
    bool highlightChosen();
    bool chosenMenu(ConstraintMenu& menu) const;
    /// The action of menu item `position` of `menu` on the chosen row; false for no row or a
    /// position beyond the menu's actions.
    bool menuAction(const ConstraintMenu& menu, int position);

    /// A flexibility value typed in row `row`: `what` 0 the translation, 1 the rotation. A text that
    /// is no whole number is refused with `error` naming the row and text; nothing changes then.
    bool setFlexibility(int row, int what, const Vor_String& text, Vor_String* error = nullptr);

private:
    bool m_typed = false;
    Vor_Array<MacroVariable> m_variables;
    Vor_StringArray m_equations;
};
