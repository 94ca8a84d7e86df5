#include "calc/TableVariables.h"

#include <unordered_set>

Vor_Array<Vor_StringArray> variableRows(const Vor_StringArray& names, const Vor_StringArray& values) {
    Vor_Array<Vor_StringArray> rows;
    for (int i = 0; i < names.length(); ++i)
        rows.append(Vor_StringArray{names[i], i < values.length() ? values[i] : Vor_String()});
    return rows;
}

VariableCheck takeVariables(const Vor_Array<Vor_StringArray>& rows, Vor_StringArray& names,
                            Vor_StringArray& values) {
    Vor_StringArray takenNames, takenValues;
    std::unordered_set<std::string> seen;
    for (int r = 0; r < rows.length(); ++r) {
        const Vor_StringArray& row = rows[r];
        Vor_String name = row.length() > 0 ? row[0] : Vor_String();
        name.trim();
        const Vor_String value = row.length() > 1 ? row[1] : Vor_String();
        if (name.isEmpty()) {
            if (value.isEmpty()) continue;
            return {VariableFault::NoName, r + 1, {}};
        }
        if (name.str().find('%') != std::string::npos) return {VariableFault::Percent, r + 1, name};
        // Placeholders find a variable by its lower-case name: two that differ only in case clash.
        if (!seen.insert(name.toLower().str()).second) return {VariableFault::Repeated, r + 1, name};
        takenNames.append(name);
        takenValues.append(value);
    }
    names = takenNames;
    values = takenValues;
    return {};
}
