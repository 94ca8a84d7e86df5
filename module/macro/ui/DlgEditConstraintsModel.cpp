#include "macro/ui/DlgEditConstraintsModel.h"

#include <base/NumberText.h>
#include <cad/aced.h>
#include <host/Texts.h>
#include <ui/Types.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <string>

namespace {
// Picture resource and tooltip text of each palette command; 0 where the command has none.
constexpr int kPalettePictures[kConstraintCommands] = {8740, 8741, 8742, 8743, 8744, 8745, 8746,
                                                       8747, 8748, 8749, 0,    8751, 8752, 8753};
constexpr int kPaletteTips[kConstraintCommands] = {903, 904, 905, 906, 907, 908, 909,
                                                   910, 911, 912, 0,   913, 914, 915};

Vor_String quoted(const Vor_String& name) {
    return Vor_String("\"") + name + "\"\n";
}

bool endsWithOperator(const Vor_String& name) {
    const std::string& s = name.str();
    return !s.empty() && (s.back() == '+' || s.back() == '-' || s.back() == '*' || s.back() == '/');
}

bool isBlank(const Vor_String& name) {
    for (const char c : name.str())
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    return true;
}

// A whole number, with blanks around it allowed and nothing else.
bool wholeNumber(const Vor_String& text, int& value) {
    std::string s = text.str();
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    s = s.substr(first, s.find_last_not_of(" \t") - first + 1);
    std::size_t used = 0;
    const long long v = base::parseLeadingInteger(s, &used);
    if (used != s.size() || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}
} // namespace

int palettePicture(int command) {
    return command >= 0 && command < kConstraintCommands ? kPalettePictures[command] : 0;
}

int paletteTooltip(int command) {
    return command >= 0 && command < kConstraintCommands ? kPaletteTips[command] : 0;
}

bool paletteButtonShown(int command) {
    return command >= 0 && command < kConstraintCommands && command != kConstrSymmetric &&
           command != kConstrCut;
}

Vor_String constraintKindText(int kind) {
    if (kind == kConstrRadius) return dialString(740);
    if (kind == kConstrCut) return dialString(862);
    const int tip = paletteTooltip(kind);
    return tip ? dialString(tip) : Vor_String(std::to_string(kind));
}

Vor_StringArray variableTypeTexts() {
    Vor_StringArray texts;
    for (const int n : {900, 895, 893, 901, 902, 1325, 1326, 1327})
        texts.append(dialString(n));
    return texts;
}

int constraintMenuPosition(int commandId) {
    for (int i = 0; i < 6; ++i)
        if (kConstraintMenuIds[i] == commandId) return i;
    return -1;
}

std::vector<ConstraintMenuItem> constraintMenuItems(const ConstraintMenu& menu) {
    std::vector<ConstraintMenuItem> items;
    for (int i = 0; i < menu.texts.length() && i < 6; ++i) {
        if (menu.texts[i] == "%BREAK%") continue;
        items.push_back({kConstraintMenuIds[i], menu.texts[i], menu.checked.contains(i)});
    }
    return items;
}

void ConstraintEditorModel::typeVariables(const Vor_Array<MacroVariable>& variables,
                                          const Vor_StringArray& equations) {
    m_variables = variables;
    m_equations = equations;
    m_typed = true;
}

bool ConstraintEditorModel::storeVariables(Vor_String* error) {
    if (!m_typed) return true;
    if (m_variables == data.variables && m_equations == data.equations) {
        m_typed = false;
        return true;
    }
    EditConstrData next = data;
    next.variables = m_variables;
    next.equations = m_equations;
    if (!UpdateVarsEqs(next, error)) return false;
    data = next;
    m_typed = false;
    return true;
}

NameRefusal ConstraintEditorModel::checkVariableName(const Vor_String& name, int row) const {
    NameRefusal r;
    r.flags = ui::MB_OK | ui::MB_ICONEXCLAMATION;
    if (isBlank(name)) {
        r.caption = dialString(884);
        r.text =
            quoted(name) + dialString(10753) + ".\n" + dialString(10754) + ".\n\n" + dialString(888) + ".";
    } else if (VarNameInUse(data, name, row)) {
        r.caption = dialString(856);
        r.text = quoted(name) + dialString(857) + ".\n" + dialString(858) + ".";
    } else if (endsWithOperator(name)) {
        r.caption = dialString(884);
        r.text = quoted(name) + dialString(1455) + ".\n" + dialString(1456) + ".\n\n" + dialString(888) + ".";
    } else if (startsWithNumber(name)) {
        r.caption = dialString(884);
        r.text = quoted(name) + dialString(885) + ".\n" + dialString(886) + ".\n" + dialString(887) +
                 ".\n\n" + dialString(888) + ".";
    } else {
        r.flags = 0;
    }
    return r;
}

ConstraintEditorModel::AfterCommand ConstraintEditorModel::paletteCommand(int command) {
    Vor_String error;
    if (!storeVariables(&error)) acutPrintf("%s\n", error.c_str()); // they stay typed, shown again
    if (!StartMacroCommand(data, command)) return AfterCommand::Failed;
    if (command <= kConstrCut) {
        tab = kTabConstraints;
        const MacroConstraintModule* m = data.currentModule();
        chosenRow = m ? m->constraints.length() - 1 : -1; // the new row
        return AfterCommand::ShowConstraints;
    }
    if (command == kCommandAddModule) {
        chosenRow = chosenFlexRow = -1;
        return AfterCommand::ShowNewModule;
    }
    return AfterCommand::Nothing;
}

bool ConstraintEditorModel::switchModule(const Vor_String& name) {
    Vor_String error;
    if (!storeVariables(&error)) acutPrintf("%s\n", error.c_str());
    if (!SetCurrentModule(data, name)) return false;
    chosenRow = chosenFlexRow = -1;
    return true;
}

Vor_StringArray ConstraintEditorModel::moduleNames(int* current) const {
    Vor_StringArray names;
    MacroGetModules(data, names);
    if (current) *current = data.current >= 0 && data.current < names.length() ? data.current : -1;
    return names;
}

bool ConstraintEditorModel::storeChosen() {
    return chosenRow >= 0 && UpdateConstraint(data, chosenRow);
}

bool ConstraintEditorModel::deleteChosen() {
    if (chosenRow < 0 || !DeleteConstraint(data, chosenRow)) return false;
    const MacroConstraintModule* m = data.currentModule();
    const int left = m ? m->constraints.length() : 0;
    chosenRow = left == 0 ? -1 : std::min(chosenRow, left - 1);
    return true;
}

bool ConstraintEditorModel::highlightChosen() {
    if (chosenRow < 0) return false;
    UnHighlightConstraints(data);
    const bool ok = HighlightConstraint(data, chosenRow);
    acedUpdateDisplay();
    return ok;
}

bool ConstraintEditorModel::chosenMenu(ConstraintMenu& menu) const {
    menu = {};
    return chosenRow >= 0 && ConstrContextMenu(data, chosenRow, menu.texts, menu.actions, menu.checked);
}

bool ConstraintEditorModel::menuAction(const ConstraintMenu& menu, int position) {
    if (chosenRow < 0 || position < 0 || position >= menu.actions.length()) return false;
    const int action = menu.actions[position];
    if (!ContextMenuAction(data, action, chosenRow)) return false;
    const MacroConstraintModule* m = data.currentModule();
    const int rows = m ? m->constraints.length() : 0;
    if (action == kMenuUp && chosenRow > 0)
        --chosenRow;
    else if (action == kMenuDown && chosenRow + 1 < rows)
        ++chosenRow;
    if (chosenRow >= rows) chosenRow = rows - 1;
    return true;
}

bool ConstraintEditorModel::setFlexibility(int row, int what, const Vor_String& text, Vor_String* error) {
    int value = 0;
    if (!wholeNumber(text, value)) {
        if (error)
            *error = dialString(891) + " " + Vor_String(std::to_string(row + 1)) + ": \"" + text + "\" " +
                     dialString(10757) + ".";
        return false;
    }
    if (!UpdateGeomFlexibility(data, what, value, row)) {
        if (error) *error = dialString(10755) + ".";
        return false;
    }
    return true;
}
