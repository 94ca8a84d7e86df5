#include "calc/ui/DlgSpreadOptions.h"

#include <host/Texts.h>

#include <algorithm>

namespace {
constexpr int kLimit = 10000; // rows and columns a table may have through this dialog
}

int DlgSpreadOptions::fieldValue(int id) const {
    ui::Control* c = item(id);
    return c ? std::clamp(std::atoi(c->text().c_str()), 0, kLimit) : 0;
}

bool DlgSpreadOptions::onInitDialog() {
    m_filling = true;
    setWindowText(dialString(1369).str());
    const std::pair<int, int> labels[] = {{1016, 1370}, {1018, 1371}, {1020, 1372}, {1022, 1373},
                                          {1024, 1374}, {1003, 1375}, {1026, 1376}};
    for (auto [id, text] : labels)
        if (ui::Control* c = item(id)) c->setText(dialString(text).str());
    m_colNames.attach(this, IDC_COLNAMES);
    m_rowNames.attach(this, IDC_ROWNAMES);
    m_colNames.setStandardLook(1);
    m_rowNames.setStandardLook(1);
    int cols = m_table.maxCols(), rows = m_table.maxRows();
    int width = 0, height = 0;
    m_table.GetColWidthInPixels(0, width);
    m_table.GetRowHeightInPixels(0, height);
    item(IDC_COLS)->setText(std::to_string(cols));
    item(IDC_ROWS)->setText(std::to_string(rows));
    item(IDC_HEADERWIDTH)->setText(std::to_string(width));
    item(IDC_HEADERHEIGHT)->setText(std::to_string(height));
    resizeNameGrids();
    for (int c = 1; c <= cols; ++c) {
        Vor_String t;
        m_table.getText(c, 0, kTextData, t);
        m_colNames.setText(c, 1, t);
    }
    for (int r = 1; r <= rows; ++r) {
        Vor_String t;
        m_table.getText(0, r, kTextData, t);
        m_rowNames.setText(1, r, t);
    }
    m_filling = false;
    return true;
}

void DlgSpreadOptions::resizeNameGrids() {
    m_colNames.setMaxRows(1);
    m_colNames.setMaxCols(fieldValue(IDC_COLS));
    m_rowNames.setMaxCols(1);
    m_rowNames.setMaxRows(fieldValue(IDC_ROWS));
}

bool DlgSpreadOptions::onCommand(int id, int code) {
    if (code == ui::EN_CHANGE && !m_filling &&
        (id == IDC_COLS || id == IDC_ROWS || id == IDC_HEADERWIDTH || id == IDC_HEADERHEIGHT)) {
        resizeNameGrids();
        return true;
    }
    return false;
}

void DlgSpreadOptions::onOK() {
    m_colNames.SetEditMode(false);
    m_rowNames.SetEditMode(false);
    const int oldRows = m_table.maxRows();
    const int cols = fieldValue(IDC_COLS), rows = fieldValue(IDC_ROWS);
    m_table.setMaxCols(cols);
    m_table.setMaxRows(rows);
    for (int r = oldRows + 1; r <= rows; ++r) m_table.setText(0, r, Vor_String(r)); // new rows: their number
    m_table.SetColWidthInPixels(0, fieldValue(IDC_HEADERWIDTH));
    m_table.SetRowHeightInPixels(0, fieldValue(IDC_HEADERHEIGHT));
    for (int r = 1; r <= rows; ++r) {
        Vor_String t;
        m_rowNames.getText(1, r, kTextData, t);
        m_table.setText(0, r, t);
    }
    for (int c = 1; c <= cols; ++c) {
        Vor_String t;
        m_colNames.getText(c, 1, kTextData, t);
        m_table.setText(c, 0, t);
    }
    m_table.setChanged(true);
    endDialog(ui::IDOK);
}

bool editTableOptions(Vor_Spread& table, ui::Window* parent) {
    if (!table.attached()) return false;
    DlgSpreadOptions dlg(table, parent);
    return dlg.doModal() == ui::IDOK;
}
