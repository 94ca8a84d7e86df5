#pragma once
// The variables of a table as a person edits them: one row of name and value for each, the names
// that the "%Name%" placeholders of header and footer labels look up. No window needed.

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

/// One [name, value] row for each variable (a name without a value gets an empty one).
Vor_Array<Vor_StringArray> variableRows(const Vor_StringArray& names, const Vor_StringArray& values);

/// Why the rows a person entered cannot be the table's variables.
enum class VariableFault {
    None,
    NoName,   ///< a row has a value but no name
    Repeated, ///< a name is given twice (letter case aside: placeholders ignore it)
    Percent,  ///< a name holds '%', which ends a placeholder
};
struct VariableCheck {
    VariableFault fault = VariableFault::None;
    int row = 0;     ///< 1-based row at fault
    Vor_String name; ///< the name at fault
};

/// Takes the rows as the table's variables: names without blanks around them, values as typed,
/// rows with neither name nor value left out. Nothing is changed when a row is at fault.
VariableCheck takeVariables(const Vor_Array<Vor_StringArray>& rows, Vor_StringArray& names,
                            Vor_StringArray& values);
