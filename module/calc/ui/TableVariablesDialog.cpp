#include "calc/ui/TableVariablesDialog.h"

#include "calc/TableDocument.h"
#include "calc/TableVariables.h"
#include "calc/Vor_Spread.h"
#include "calc/ui/DlgStringGrid.h"

#include <host/Texts.h>
#include <ui/Agent.h>

namespace {
// texts: dialString 9610-9615
constexpr int kVarTitle = 9610, kVarName = 9611, kVarValue = 9612;
constexpr int kVarNoName = 9613, kVarRepeated = 9614, kVarPercent = 9615;

std::string faultText(const VariableCheck& c) {
    const int number = c.fault == VariableFault::NoName     ? kVarNoName
                       : c.fault == VariableFault::Repeated ? kVarRepeated
                                                            : kVarPercent;
    Vor_String text = dialString(number);
    text.replace("%1", std::to_string(c.row));
    text.replace("%2", c.name.str());
    return text.str();
}
} // namespace

bool editTableVariables(Vor_StringArray& names, Vor_StringArray& values, ui::Window* owner) {
    Vor_Array<Vor_StringArray> rows = variableRows(names, values);
    if (rows.isEmpty()) rows.append(Vor_StringArray{Vor_String(), Vor_String()}); // a row to type in
    for (;;) {
        DlgStringGrid dlg;
        dlg.columnNames = Vor_StringArray{dialString(kVarName), dialString(kVarValue)};
        dlg.rows = rows;
        dlg.canAddRemove = true;
        dlg.columnWidth = 200; // names and values of a header line side by side
        dlg.title = dialString(kVarTitle);
        dlg.placementKey = "DLG_SS_VARIABLES";
        if (dlg.doModal() != ui::IDOK) return false;
        rows = dlg.rows;
        Vor_StringArray newNames, newValues;
        const VariableCheck check = takeVariables(rows, newNames, newValues);
        if (check.fault == VariableFault::None) {
            if (newNames == names && newValues == values) return false;
            names = newNames;
            values = newValues;
            return true;
        }
        ui::messageBox(faultText(check), dialString(kVarTitle).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION,
                       owner);
    }
}

bool editTableVariables(Vor_Spread& grid, ui::Window* owner) {
    TableProperties props;
    readTableProperties(grid, props);
    if (!editTableVariables(props.varNames, props.varValues, owner)) return false;
    writeTableProperties(grid, props);
    grid.setChanged(true);
    return true;
}
