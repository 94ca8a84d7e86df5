#include "calc/ui/DlgSpreadOptions.h"

#include "calc/TableSize.h"

#include <host/Texts.h>
#include <ui/Agent.h>

#include <algorithm>

namespace {
// texts: dialString 9020-9023
constexpr int kTextBadColumns = 9020;
constexpr int kTextBadRows = 9021;
constexpr int kTextBadHeaderSize = 9022;
constexpr int kTextDropData = 9023;

/// The count in a field while it is typed; a field that holds no count yet leaves `fallback`.
int typedCount(const ui::Control* c, int fallback) {
    if (!c) return fallback;
    return readWholeNumber(c->text(), 0, DlgSpreadOptions::kLimit).value_or(fallback);
}
} // namespace

bool DlgSpreadOptions::onInitDialog() {
    m_filling = true;
    setWindowText(dialString(1369).str());
    const std::pair<int, int> labels[] = {{IDC_COLS_LABEL, 1370},
                                          {IDC_ROWS_LABEL, 1371},
                                          {IDC_HEADERWIDTH_LABEL, 1372},
                                          {IDC_HEADERHEIGHT_LABEL, 1373},
                                          {IDC_COLNAMES_LABEL, 1374},
                                          {IDC_ROWNAMES_LABEL, 1375},
                                          {IDC_SIZE_GROUP, 1376},
                                          {ui::IDOK, 1},
                                          {ui::IDCANCEL, 2}};
    for (auto [id, text] : labels)
        if (ui::Control* c = item(id)) c->setText(dialString(text).str());
    m_colNames.attach(this, IDC_COLNAMES);
    m_rowNames.attach(this, IDC_ROWNAMES);
    m_colNames.setStandardLook(1);
    m_rowNames.setStandardLook(1);
    const int cols = m_table.maxCols(), rows = m_table.maxRows();
    int width = 0, height = 0;
    m_table.GetColWidthInPixels(0, width);
    m_table.GetRowHeightInPixels(0, height);
    item(IDC_COLS)->setText(std::to_string(cols));
    item(IDC_ROWS)->setText(std::to_string(rows));
    item(IDC_HEADERWIDTH)->setText(std::to_string(width));
    item(IDC_HEADERHEIGHT)->setText(std::to_string(height));
    m_colTexts.assign(size_t(std::max(cols, 0)), Vor_String());
    m_rowTexts.assign(size_t(std::max(rows, 0)), Vor_String());
    for (int c = 1; c <= cols; ++c)
        m_table.getText(c, 0, kTextData, m_colTexts[size_t(c - 1)]);
    for (int r = 1; r <= rows; ++r)
        m_table.getText(0, r, kTextData, m_rowTexts[size_t(r - 1)]);
    m_colNames.setMaxRows(1);
    m_rowNames.setMaxCols(1);
    resizeNameGrids();
    m_filling = false;
    return true;
}

void DlgSpreadOptions::keepNames() {
    for (int c = 1; c <= m_colNames.maxCols(); ++c) {
        if (size_t(c) > m_colTexts.size()) m_colTexts.resize(size_t(c));
        m_colNames.getText(c, 1, kTextData, m_colTexts[size_t(c - 1)]);
    }
    for (int r = 1; r <= m_rowNames.maxRows(); ++r) {
        if (size_t(r) > m_rowTexts.size()) m_rowTexts.resize(size_t(r));
        m_rowNames.getText(1, r, kTextData, m_rowTexts[size_t(r - 1)]);
    }
}

void DlgSpreadOptions::resizeNameGrids() {
    keepNames();
    const int cols = typedCount(item(IDC_COLS), m_colNames.maxCols());
    const int rows = typedCount(item(IDC_ROWS), m_rowNames.maxRows());
    m_colNames.setMaxCols(cols);
    m_rowNames.setMaxRows(rows);
    for (int c = 1; c <= cols && size_t(c) <= m_colTexts.size(); ++c) {
        m_colNames.setText(c, 1, m_colTexts[size_t(c - 1)]);
        // A name wider than its column widens it, so that the whole name shows; none gets narrower.
        int before = 0, fitted = 0;
        m_colNames.GetColWidthInPixels(c, before);
        m_colNames.fitColumn(c);
        m_colNames.GetColWidthInPixels(c, fitted);
        if (fitted < before) m_colNames.SetColWidthInPixels(c, before);
    }
    for (int r = 1; r <= rows && size_t(r) <= m_rowTexts.size(); ++r)
        m_rowNames.setText(1, r, m_rowTexts[size_t(r - 1)]);
}

bool DlgSpreadOptions::onCommand(int id, int code) {
    if (code == ui::EN_CHANGE && !m_filling && (id == IDC_COLS || id == IDC_ROWS)) {
        resizeNameGrids();
        return true;
    }
    return false;
}

std::optional<int> DlgSpreadOptions::checkedField(int id, int least, int why) {
    ui::Control* c = item(id);
    std::optional<int> v = c ? readWholeNumber(c->text(), least, kLimit) : std::nullopt;
    if (v) return v;
    ui::messageBox(dialString(why).str(), dialString(1369).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
    if (c) {
        gotoDlgCtrl(id);
        c->setSel(0, -1);
    }
    return std::nullopt;
}

void DlgSpreadOptions::onOK() {
    m_colNames.SetEditMode(false);
    m_rowNames.SetEditMode(false);
    // A count or size that is no whole number is refused, never read as 0: that would empty the table.
    const auto cols = checkedField(IDC_COLS, 1, kTextBadColumns);
    if (!cols) return;
    const auto rows = checkedField(IDC_ROWS, 1, kTextBadRows);
    if (!rows) return;
    const auto width = checkedField(IDC_HEADERWIDTH, 0, kTextBadHeaderSize);
    if (!width) return;
    const auto height = checkedField(IDC_HEADERHEIGHT, 0, kTextBadHeaderSize);
    if (!height) return;
    if (firstFilledCellOutside(m_table, *cols, *rows) &&
        ui::messageBox(dialString(kTextDropData).str(), dialString(1369).str(),
                       ui::MB_YESNO | ui::MB_ICONQUESTION, this) != ui::IDYES)
        return; // the dialog stays open, so that the size can be put right
    resizeNameGrids();
    const int oldRows = m_table.maxRows();
    // For undo: the size, the header texts and whatever a smaller table drops.
    Vor_Spread::ChangeScope change(m_table);
    const int oldCols = m_table.maxCols();
    m_table.aboutToResize();
    m_table.aboutToChange({0, 0, std::max(oldCols, *cols), 0});
    m_table.aboutToChange({0, 1, 0, std::max(oldRows, *rows)});
    if (*cols < oldCols) m_table.aboutToChange({*cols + 1, 1, oldCols, oldRows});
    if (*rows < oldRows) m_table.aboutToChange({1, *rows + 1, std::min(oldCols, *cols), oldRows});
    m_table.setMaxCols(*cols);
    m_table.setMaxRows(*rows);
    for (int r = oldRows + 1; r <= *rows; ++r)
        m_table.setText(0, r, Vor_String(r)); // new rows: their number
    m_table.SetColWidthInPixels(0, *width);
    m_table.SetRowHeightInPixels(0, *height);
    for (int r = 1; r <= *rows; ++r) {
        Vor_String t;
        m_rowNames.getText(1, r, kTextData, t);
        if (r <= oldRows || !t.isEmpty())
            m_table.setText(0, r, t); // a new row without a name keeps its number
    }
    for (int c = 1; c <= *cols; ++c) {
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
