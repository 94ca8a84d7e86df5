#include "calc/ui/DlgStringGrid.h"

#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"

#include <host/Texts.h>
#include <host/VorJson.h>

namespace {
constexpr int kMaxText = 200;
}

bool DlgStringGrid::onInitDialog() {
    if (placementKey.isEmpty()) placementKey = "DLG_SS_STRINGARRAY";
    m_grid.attach(this, IDC_GRID);
    m_grid.setStandardLook(1);
    m_resizer.init(this);
    m_resizer.add(IDC_GRID, 6, 6);
    for (int id : {IDC_ADD, IDC_REMOVE})
        m_resizer.add(id, 3, 5);
    for (int id : {ui::IDOK, ui::IDCANCEL})
        m_resizer.add(id, 5, 5);
    restoreWindowPlacement(this, placementKey.str(), false, 0, 0);
    setWindowText(title.str());
    // texts: dialString 9030-9031
    const std::pair<int, int> texts[] = {
        {ui::IDOK, 1}, {ui::IDCANCEL, 2}, {IDC_ADD, 9030}, {IDC_REMOVE, 9031}};
    setCatalogueTexts(*this, texts);
    for (int id : {IDC_ADD, IDC_REMOVE})
        if (ui::Control* c = item(id)) {
            c->enableWindow(canAddRemove);
            c->showWindow(canAddRemove ? ui::SW_SHOW : ui::SW_HIDE);
        }
    const int cols = columnNames.length();
    m_grid.setMaxCols(cols);
    m_grid.setMaxRows(rows.length());
    for (int c = 0; c < cols; ++c)
        m_grid.setText(c + 1, 0, columnNames[c]);
    for (int r = 0; r < rowNames.length() && r < rows.length(); ++r)
        m_grid.setText(0, r + 1, rowNames[r]);
    if (rows.length() > 0) {
        sheet::CellType t;
        m_grid.SetTypeEdit(t, 0, kMaxText);
        m_grid.SetCellTypeRange(1, 1, cols, rows.length(), t);
    }
    for (int r = 0; r < rows.length(); ++r)
        m_grid.setRow(r + 1, rows[r]);
    m_grid.setResizeMode(0);
    m_grid.fitColumn(0);
    if (columnWidth > 0)
        for (int c = 1; c <= cols; ++c)
            m_grid.SetColWidthInPixels(c, columnWidth);
    return true;
}

void DlgStringGrid::onDestroy() {
    saveWindowPlacement(this, placementKey.str());
}

bool DlgStringGrid::onCommand(int id, int code) {
    if (code != ui::BN_CLICKED) return false;
    int col = 1, row = 0;
    m_grid.GetActiveCell(col, row);
    if (id == IDC_ADD && canAddRemove) {
        // a new row below the current one, which becomes current
        int at = std::clamp(row + 1, 1, m_grid.maxRows() + 1);
        m_grid.insertRow(at, false, false);
        sheet::CellType t;
        m_grid.SetTypeEdit(t, 0, kMaxText);
        m_grid.SetCellTypeRange(1, at, m_grid.maxCols(), at, t);
        m_grid.SetActiveCell(std::max(col, 1), at);
        return true;
    }
    if (id == IDC_REMOVE && canAddRemove) {
        if (m_grid.maxRows() < 1 || row < 1) return true;
        m_grid.DelRow(row);
        m_grid.setMaxRows(m_grid.maxRows() - 1);
        return true;
    }
    return false;
}

void DlgStringGrid::onOK() {
    m_grid.SetEditMode(false); // an open cell edit counts
    Vor_Array<Vor_StringArray> read;
    for (int r = 1; r <= m_grid.maxRows(); ++r) {
        Vor_StringArray row;
        for (int c = 1; c <= m_grid.maxCols(); ++c) {
            Vor_String t;
            m_grid.getText(c, r, kTextData, t);
            row.append(t);
        }
        read.append(row);
    }
    rows = read;
    endDialog(ui::IDOK);
}

bool startGridDialog(const Vor_StringArray& columnNames, const Vor_StringArray& rowNames,
                     Vor_Array<Vor_StringArray>& rows, bool canAddRemove, Vor_String title,
                     Vor_String placementKey) {
    if (columnNames.length() == 0) return false;
    ModuleResourceScope scope;
    DlgStringGrid dlg;
    dlg.columnNames = columnNames;
    dlg.rowNames = rowNames;
    dlg.canAddRemove = canAddRemove;
    dlg.title = title;
    dlg.placementKey = placementKey;
    for (const Vor_StringArray& r : rows)
        if (r.length() == columnNames.length()) dlg.rows.append(r);
    if (dlg.doModal() != ui::IDOK) return false;
    rows = dlg.rows;
    return true;
}

namespace {
const bool registered = registerJsonLauncher(
    "startGridDialog",
    [](const nlohmann::json& in, nlohmann::json& out) {
        Vor_StringArray cols = in.value("columnNames", Vor_StringArray());
        Vor_StringArray names = in.value("rowNames", Vor_StringArray());
        Vor_Array<Vor_StringArray> rows = in.value("rows", Vor_Array<Vor_StringArray>());
        bool ok = startGridDialog(cols, names, rows, in.value("canAddRemove", false),
                                  in.value("title", std::string()), in.value("placementKey", std::string()));
        out["result"] = ok;
        out["rows"] = rows;
    },
    R"({"columnNames": ["Profiel", "Lengte", "Aantal"], "rowNames": [], "rows": [["HEA 200", "6000", "4"],
        ["IPE 300", "7200", "2"]], "canAddRemove": true, "title": "Zaaglijst", "placementKey": ""})");
} // namespace
