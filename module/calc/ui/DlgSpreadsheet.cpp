#include "calc/ui/DlgSpreadsheet.h"

#include "calc/ui/TableVariablesDialog.h"

#include "calc/FromTable.h"
#include "calc/ReportBuilder.h"
#include "calc/TableDocument.h"
#include "calc/ui/CellFormatting.h"
#include "calc/ui/DlgFormulas.h"
#include "calc/ui/DlgSpreadOptions.h"
#include "calc/ui/PrintRun.h"
#include "frame/AskText.h"
#include "frame/CommandTable.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"

#include <base/NumberText.h>
#include <cad/aced.h>
#include <host/FileUtils.h>
#include <host/Texts.h>
#include <ui/Agent.h>

#include <algorithm>

namespace {

constexpr const char* kPlacementKey = "DLG_SPREADSHEET";
constexpr ui::Size kMinSize{400, 300};

// Grid events as the editor's notification codes: commands are echoed on the command line.
constexpr int kCmdRefresh = 0x37;
constexpr int kCmdData = 0x38;

/// The texts of a command in the menu bar and, when it has one there, in the cell's context menu.
struct CommandTexts {
    int id;
    int menuText;
    int contextText; ///< 0: not in the context menu
};
// texts: dialString 9200-9204, dialString 9210-9227, dialString 9230-9233, dialString 9240-9243
// texts: dialString 9250-9261, dialString 9600-9601, dialString 9616
// clang-format off
constexpr CommandTexts kCommandTexts[] = {
    {DlgSpreadsheet::ID_NEW, 9210, 0},
    {DlgSpreadsheet::ID_OPEN, 9211, 0},
    {DlgSpreadsheet::ID_SAVE, 9212, 0},
    {DlgSpreadsheet::ID_SAVEAS, 9213, 0},
    {DlgSpreadsheet::ID_EXPORT, 9214, 0},
    {DlgSpreadsheet::ID_PRINT, 9215, 0},
    {DlgSpreadsheet::ID_PREVIEW, 9216, 0},
    {DlgSpreadsheet::ID_PRINTSETUP, 9217, 0},
    {DlgSpreadsheet::ID_CUT, 9218, 0},
    {DlgSpreadsheet::ID_COPY, 9219, 0},
    {DlgSpreadsheet::ID_PASTE, 9220, 0},
    {DlgSpreadsheet::ID_NOTE, 9221, 9240},
    {DlgSpreadsheet::ID_FONT, 9222, 9241},
    {DlgSpreadsheet::ID_BORDERS, 9223, 9242},
    {DlgSpreadsheet::ID_CELLTYPE, 9224, 9243},
    {DlgSpreadsheet::ID_OPTIONS, 9225, 0},
    {DlgSpreadsheet::ID_LANGUAGE, 9226, 0},
    {DlgSpreadsheet::ID_FITWIDTH, 9227, 9227},
    {DlgSpreadsheet::ID_UNDO, 9600, 0},
    {DlgSpreadsheet::ID_REDO, 9601, 0},
    {DlgSpreadsheet::ID_VARIABLES, 9616, 0},
};
// clang-format on
constexpr int kPopupTexts[] = {9230, 9231, 9232, 9233};

constexpr int kEditBarIds[3] = {DlgSpreadsheet::IDC_VALUE, DlgSpreadsheet::IDC_FORMULA,
                                DlgSpreadsheet::IDC_VARIABLE};
// texts: dialString 9001-9002
constexpr int kTextNotANumber = 9001;
constexpr int kTextInvalidValue = 9002;

std::string fileFilter() {
    return dialString(9255).str() + "|*.sss||";
}

// The developer's report test: template and output in the sample folder.
constexpr const char* kReportTemplate = "c:\\a\\Template.sss";
constexpr const char* kReportOutput = "c:\\a\\test.sss";

// Steps of typing in one edit-bar field merge into one; each field has its own key.
constexpr int kMergeTyping = 1;

} // namespace

std::string DlgSpreadsheet::variesText() {
    // texts: dialString 9620
    return dialString(9620).str();
}

DlgSpreadsheet::DlgSpreadsheet(ui::Window* parent)
    : ui::Dialog(IDD, parent) {}

bool DlgSpreadsheet::onInitDialog() {
    createToolBar(IDR_TOOLBAR);
    if (m_grid.attach(this, IDC_GRID)) {
        m_grid.setOwnerListener(this);
        m_grid.enableHistory();
    }
    if (ui::Menu* m = menu()) {
        for (const CommandTexts& t : kCommandTexts)
            m->setItemText(t.id, dialString(t.menuText).str());
        for (int i = 0; i < 4; ++i)
            m->setPopupText(i, dialString(kPopupTexts[i]).str());
    }
    enableCommands();
    m_resizer.init(this);
    m_resizer.add(IDC_GRID, 6, 6);
    m_resizer.add(IDC_EQUALS, 3, 5);
    m_resizer.add(IDC_VALUE, 6, 5);
    m_resizer.add(IDC_FORMLABEL, 5, 5);
    m_resizer.add(IDC_FORMULA, 5, 5);
    m_resizer.add(IDC_VARLABEL, 5, 5);
    m_resizer.add(IDC_VARIABLE, 5, 5);
    const std::pair<int, int> labels[] = {{IDC_FORMLABEL, 9202}, {IDC_VARLABEL, 9203}, {IDC_EQUALS, 9204}};
    for (auto [id, text] : labels)
        if (ui::Control* c = item(id)) c->setText(dialString(text).str());
    setMinTrackSize(kMinSize);

    bool loaded = false;
    TableDocument doc(m_grid);
    if (!fileName.isEmpty() && m_grid.attached()) {
        loaded = doc.load(fileName.str());
        if (!loaded) {
            reportFailure(doc.lastError());
            fileName = "";
        }
    }
    setCaption();
    doc.init(!loaded, fileName);
    m_grid.setChanged(false);
    if (m_grid.history()) m_grid.history()->clear();
    restoreWindowPlacement(this, kPlacementKey, false, 0, 0);
    refreshEditBar();
    return true;
}

void DlgSpreadsheet::onDestroy() {
    saveWindowPlacement(this, kPlacementKey);
}

void DlgSpreadsheet::onSize(int width, int height) {
    m_resizer.resize(width, height);
}

void DlgSpreadsheet::setCaption() {
    setWindowText(dialString(9200).str() + " - " +
                  (fileName.isEmpty() ? dialString(9201).str() : fileName.str()));
}

void DlgSpreadsheet::enableCommands() {
    ui::Menu* m = menu();
    const std::pair<int, bool> history[] = {{ID_UNDO, m_grid.history() && m_grid.history()->canUndo()},
                                            {ID_REDO, m_grid.history() && m_grid.history()->canRedo()}};
    for (auto [id, on] : history) {
        if (m) m->enableItem(id, on);
        if (toolBar()) toolBar()->enableButton(id, on);
    }
}

void DlgSpreadsheet::onInitMenuPopup(ui::Menu& m) {
    if (m.id() == IDR_CONTEXT)
        for (const CommandTexts& t : kCommandTexts)
            if (t.contextText && m.hasItem(t.id)) m.setItemText(t.id, dialString(t.contextText).str());
    enableCommands();
}

void DlgSpreadsheet::reportFailure(const std::string& what) {
    ui::messageBox(what, dialString(9259).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
}

// ---- keys

bool DlgSpreadsheet::preTranslateKey(const ui::KeyEvent& key) {
    bool editing = m_grid.IsEditing();
    if (key.vk == ui::VK_RETURN && key.focusId == IDC_VALUE) commitTypedNumber();
    if ((key.vk == ui::VK_RETURN || key.vk == ui::VK_ESCAPE) && !editing) {
        // never closes the window; while a cell is edited the grid takes the key
        return true;
    }
    if (key.ctrl && !key.alt && (key.vk == 'Z' || key.vk == 'Y') && !editing) {
        commitTypedNumber();
        sendCommand(key.vk == 'Z' ? ID_UNDO : ID_REDO, 0);
        return true;
    }
    if (key.vk == ui::VK_DELETE && !key.ctrl && !key.alt && !editing && key.focusId == IDC_GRID) {
        clearCells(); // the grid's own clearing, as one step to undo
        refreshEditBar();
        return true;
    }
    if (key.ctrl && !key.alt && (key.vk == 'C' || key.vk == 'X' || key.vk == 'V') && !editing) {
        sendCommand(key.vk == 'C' ? ID_COPY : key.vk == 'X' ? ID_CUT : ID_PASTE, 0);
        return key.focusId == IDC_GRID; // the grid would do it a second time
    }
    if ((key.vk == ui::VK_F3 || key.vk == ui::VK_F5) && !key.ctrl) {
        m_grid.showFind(key.vk == ui::VK_F5);
        return true;
    }
    if (m_refreshPending && (key.vk == ui::VK_TAB || (key.vk >= ui::VK_LEFT && key.vk <= ui::VK_DOWN))) {
        m_refreshPending = false;
        refreshEditBar();
    }
    return false;
}

// ---- commands

bool DlgSpreadsheet::onCommand(int id, int code) {
    const bool handled = runCommand(id, code);
    enableCommands(); // the command may have made or taken back a step
    return handled;
}

bool DlgSpreadsheet::runCommand(int id, int code) {
    if (id != IDC_VALUE && id != IDC_FORMULA && id != IDC_VARIABLE)
        commitTypedNumber(); // a command comes after the typing
    switch (id) {
    case IDC_VALUE:
    case IDC_FORMULA:
    case IDC_VARIABLE:
        if (code == ui::EN_CHANGE) editBarChanged(id == IDC_VALUE ? 0 : id == IDC_FORMULA ? 1 : 2);
        if (code == ui::EN_KILLFOCUS && id == IDC_VALUE) commitTypedNumber();
        return true;
    case ID_NEW:
        newReport();
        return true;
    case ID_UNDO:
        undo();
        return true;
    case ID_REDO:
        redo();
        return true;
    case ID_OPEN:
        if (savePrompt()) open();
        return true;
    case ID_SAVE:
        save(false);
        return true;
    case ID_SAVEAS:
        save(true);
        return true;
    case ID_EXPORT:
        exportTable();
        return true;
    case ID_COPY:
        m_grid.ClipboardCopy();
        return true;
    case ID_CUT: {
        Vor_Spread::ChangeScope change(m_grid);
        m_grid.aboutToChange(editBlock());
        if (m_grid.ClipboardCopy() && m_grid.ClearSelection()) {
            m_grid.setChanged(true);
            refreshEditBar();
        }
        return true;
    }
    case ID_PASTE: {
        bool pasted = false;
        {
            Vor_Spread::ChangeScope change(m_grid);
            m_grid.aboutToChange(pasteBlock());
            pasted = m_grid.ClipboardPaste();
        }
        if (pasted) {
            m_grid.setChanged(true);
            refreshEditBar();
        }
        return true;
    }
    case ID_NOTE:
        editNote();
        return true;
    case ID_FONT:
    case ID_BORDERS:
    case ID_CELLTYPE: {
        bool applied = false;
        {
            Vor_Spread::ChangeScope change(m_grid); // a cancelled dialog changes nothing: no step
            m_grid.aboutToChange(editBlock());
            applied = id == ID_FONT      ? editFontAndColors(m_grid, this)
                      : id == ID_BORDERS ? editBorders(m_grid, this)
                                         : editCellType(m_grid, this);
        }
        if (applied) refreshEditBar();
        return true;
    }
    case ID_OPTIONS:
        if (editTableOptions(m_grid, this)) refreshEditBar();
        return true;
    case ID_PRINT:
    case ID_PREVIEW:
    case ID_PRINTSETUP:
        printCommand(id);
        return true;
    case ID_LANGUAGE:
        return true;
    case ID_VARIABLES:
        editTableVariables(m_grid, this);
        return true;
    case ID_FITWIDTH: {
        Vor_Spread::ChangeScope change(m_grid);
        const sheet::CellRange b = editBlock();
        m_grid.aboutToChange({b.col1, 1, b.col2, m_grid.maxRows()}); // whole columns keep their widths
        fitColumnWidths();
        return true;
    }
    default:
        return false;
    }
}

void DlgSpreadsheet::printCommand(int id) {
    if (id == ID_PRINTSETUP) {
        editPrintSettings(m_grid, m_printer, this, fileName);
        return;
    }
    std::string failure;
    if (!printTable(m_grid, id == ID_PREVIEW, m_printer, this, fileName, &failure) && !failure.empty())
        reportFailure(failure);
    refreshEditBar(); // fitting the columns to the paper changed their widths
}

void DlgSpreadsheet::onCancel() {
    if (!savePrompt()) return; // Cancel keeps the window open
    endDialog(ui::IDCANCEL);
}

bool DlgSpreadsheet::savePrompt() {
    if (!m_grid.changed()) return true;
    int answer = ui::messageBox(dialString(9250).str(), dialString(9251).str(),
                                ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION, this);
    if (answer == ui::IDCANCEL) return false;
    if (answer == ui::IDYES) return save(false);
    return true;
}

bool DlgSpreadsheet::open() {
    ui::FileRequest r;
    r.title = dialString(9252).str();
    r.filter = fileFilter();
    r.defaultExtension = "sss";
    r.folder = fileName.isEmpty() ? std::string() : getFolder(fileName).str();
    if (!ui::agent().fileDialog(r, this)) return false;
    // A table that does not load leaves the open one, its name and the caption as they were.
    TableDocument doc(m_grid);
    if (!doc.load(r.fileName)) {
        reportFailure(doc.lastError());
        return false;
    }
    fileName = r.fileName;
    setCaption();
    doc.init(false, fileName);
    m_grid.setChanged(false);
    if (m_grid.history()) m_grid.history()->clear(); // the steps were those of another table
    refreshEditBar();
    return true;
}

bool DlgSpreadsheet::save(bool askName) {
    Vor_String target = fileName;
    if (askName || target.isEmpty()) {
        ui::FileRequest r;
        r.save = true;
        r.title = dialString(9253).str();
        r.filter = fileFilter();
        r.defaultExtension = "sss";
        r.overwritePrompt = true;
        r.fileName = fileName.str();
        if (!ui::agent().fileDialog(r, this)) return false;
        target = r.fileName;
    }
    // The engine writes a new file and puts it in place only when complete: a failed save keeps the
    // old file, the name and the caption.
    TableDocument doc(m_grid);
    if (!doc.save(target.str())) {
        reportFailure(doc.lastError());
        return false;
    }
    fileName = target;
    setCaption();
    if (m_grid.history()) m_grid.history()->markSaved();
    return true;
}

bool DlgSpreadsheet::exportTable() {
    ui::FileRequest r;
    r.save = true;
    r.title = dialString(9254).str();
    r.filter = dialString(9256).str() + "|*.txt|" + dialString(9257).str() + "|*.htm|" +
               dialString(9258).str() + "|*.xls||";
    const std::string& f = fileName.str();
    r.fileName = f.size() >= 4 ? f.substr(0, f.size() - 4) : f;
    if (!ui::agent().fileDialog(r, this)) return false;
    TableDocument doc(m_grid);
    if (doc.exportTo(r.fileName)) return true;
    reportFailure(doc.lastError());
    return false;
}

bool DlgSpreadsheet::fitColumnWidths() {
    if (!m_grid.attached()) return false;
    const sheet::CellRange b = editBlock();
    bool fitted = false;
    for (int col = std::max(b.col1, 1); col <= b.col2; ++col)
        fitted = m_grid.fitColumn(col) || fitted;
    if (fitted) m_grid.setChanged(true);
    return fitted;
}

void DlgSpreadsheet::editNote() {
    int col, row;
    sheet::CellPos ul, lr;
    if (!m_grid.GetActiveCell(col, row) || m_grid.GetSelectBlock(ul, lr)) return; // a single cell only
    TableDocument doc(m_grid);
    TextQuestion q;
    q.caption = dialString(9260);
    q.prompt = dialString(9261);
    q.okText = dialString(1);
    q.cancelText = dialString(2);
    q.text = doc.note(col, row);
    if (!askText(this, q)) return;
    Vor_Spread::ChangeScope change(m_grid);
    m_grid.aboutToChange({col, row, col, row});
    doc.setNote(col, row, q.text.str());
}

// ---- edit bar

sheet::CellRange DlgSpreadsheet::editBlock() const {
    sheet::CellPos ul, lr;
    int col = 1, row = 1;
    if (m_grid.GetSelectBlock(ul, lr)) {
        // an open side (a whole row or column) widens to the grid
        if (ul.col < 1) ul.col = 1, lr.col = m_grid.maxCols();
        if (ul.row < 1) ul.row = 1, lr.row = m_grid.maxRows();
        return {ul.col, ul.row, lr.col, lr.row};
    }
    m_grid.GetActiveCell(col, row);
    return {col, row, col, row};
}

void DlgSpreadsheet::refreshEditBar() {
    if (!m_grid.attached()) return;
    const sheet::CellRange b = editBlock();
    const int fields[3] = {IDC_VALUE, IDC_FORMULA, IDC_VARIABLE};
    const int kinds[3] = {kTextData, kTextFormula, kTextTag};
    for (int f = 0; f < 3; ++f) {
        // Stored cells only, up to the first difference: a whole large table refreshes at once.
        std::string shown;
        if (!m_grid.GetBlockCommonText(b, kinds[f], shown)) shown = variesText();
        ui::Control* field = item(fields[f]);
        if (!field || field->text() == shown) continue;
        m_programSet[f] = true;
        field->setText(shown);
        m_programSet[f] = false; // the change notification came while the text was set
    }
    int col = 1, row = 1;
    if (m_grid.history() && m_grid.GetActiveCell(col, row))
        m_cellBefore = m_grid.history()->capture({col, row, col, row});
    enableCommands();
}

bool DlgSpreadsheet::isNumberCell(int col, int row) const {
    sheet::CellType t;
    return m_grid.GetCellType(col, row, t) && t.kind == sheet::CellKind::Number;
}

void DlgSpreadsheet::refreshAfterTyping(int field) {
    // The field being typed in keeps what the person typed (a formula is often not whole yet, and
    // the grid may show a number another way); the other two follow the cells.
    ui::Control* typed = item(kEditBarIds[field]);
    const std::string text = typed ? typed->text() : std::string();
    const auto sel = typed ? typed->getSel() : std::make_pair(0, 0);
    refreshEditBar();
    if (!typed || typed->text() == text) return;
    m_programSet[field] = true;
    typed->setText(text);
    m_programSet[field] = false;
    typed->setSel(sel.first, sel.second);
}

void DlgSpreadsheet::startTypedNumber(const sheet::CellRange& b) {
    m_typedNumber = true;
    m_typedWasChanged = m_grid.changed();
    m_typedBefore.clear();
    for (int col = b.col1; col <= b.col2; ++col)
        for (int row = b.row1; row <= b.row2; ++row) {
            TypedCell cell{col, row, {}, {}};
            m_grid.getText(col, row, kTextData, cell.data);
            m_grid.getText(col, row, kTextFormula, cell.formula);
            m_typedBefore.push_back(std::move(cell));
        }
}

bool DlgSpreadsheet::commitTypedNumber() {
    if (!m_typedNumber) return true;
    m_typedNumber = false; // before any message: the focus it takes must not commit a second time
    ui::Control* c = item(IDC_VALUE);
    const std::string text = c ? c->text() : std::string();
    double v = 0;
    const base::TypedNumber read = base::readTypedNumber(text, v);
    if (read == base::TypedNumber::Number || read == base::TypedNumber::Empty || text == variesText()) {
        m_typedBefore.clear();
        return true; // already in the cells
    }
    ui::messageBox(dialString(kTextNotANumber).str() + "\n\"" + text + "\"",
                   dialString(kTextInvalidValue).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
    // Whatever the typing wrote on its way (the "1,234" of "1,234,5") goes: the cells are as before,
    // and so is the history (the typing's step and this one cancel out).
    {
        Vor_Spread::ChangeScope change(m_grid, kMergeTyping);
        m_grid.aboutToChange(editBlock());
        for (const TypedCell& cell : m_typedBefore) {
            if (!cell.formula.isEmpty())
                m_grid.setFormula(cell.col, cell.row, cell.formula);
            else
                m_grid.setText(cell.col, cell.row, cell.data);
        }
    }
    m_typedBefore.clear();
    m_grid.setChanged(m_typedWasChanged);
    refreshEditBar(); // the field shows the cell again
    return false;
}

void DlgSpreadsheet::editBarChanged(int field) {
    if (m_programSet[field]) return; // the editor filled the field itself
    ui::Control* c = item(kEditBarIds[field]);
    if (!c || !m_grid.attached()) return;
    Vor_String text = c->text();
    if (text.equal(variesText(), false)) return;
    const sheet::CellRange b = editBlock();
    {
        Vor_Spread::ChangeScope change(m_grid, kMergeTyping + field);
        m_grid.aboutToChange(b);
        switch (field) {
        case 0:
            if (isNumberCell(b.col1, b.row1)) {
                // A number cell reads the text as the person means it, decimal comma or point, and is
                // written in the file form. A text that reads as no number, or as two ("1,234,5"), is
                // not written; when the person is done with it (Enter, leaving the field, another
                // cell) it is refused and the cells go back to what they held before the typing.
                if (!m_typedNumber) startTypedNumber(b);
                double v = 0;
                std::string stored;
                switch (base::readTypedNumber(text.str(), v)) {
                case base::TypedNumber::Number:
                    base::formatShortest(v, stored);
                    break;
                case base::TypedNumber::Empty:
                    break;
                default:
                    return;
                }
                m_grid.setTextRange(b.col1, b.row1, b.col2, b.row2, Vor_String(stored));
                break;
            }
            m_grid.setTextRange(b.col1, b.row1, b.col2, b.row2, text);
            break;
        case 1: {
            std::string f = text.str();
            if (!f.empty() && f[0] == '=') f.erase(0, 1);
            m_grid.setFormulaRange(b.col1, b.row1, b.col2, b.row2, Vor_String(f));
            break;
        }
        case 2:
            for (int col = b.col1; col <= b.col2; ++col)
                for (int row = b.row1; row <= b.row2; ++row)
                    m_grid.setTag(col, row, text);
            break;
        }
    }
    m_grid.setChanged(true);
    refreshAfterTyping(field);
}

// ---- grid notifications

bool DlgSpreadsheet::leaveCell(sheet::SpreadControl&, sheet::CellPos, sheet::CellPos) {
    m_refreshPending = true;
    return true;
}

void DlgSpreadsheet::activeCellChanged(sheet::SpreadControl&, sheet::CellPos, sheet::CellPos) {
    acutPrintf("Message from Spread! Code:%i\n", kCmdRefresh);
    if (m_grid.history()) m_grid.history()->closeMerge();
    m_refreshPending = false;
    commitTypedNumber(); // a number typed for the cells left behind still goes to them
    refreshEditBar();
}

void DlgSpreadsheet::selectionChanged(sheet::SpreadControl&, const sheet::CellRange&) {
    commitTypedNumber();
    if (m_grid.history()) m_grid.history()->closeMerge();
    refreshEditBar();
}

void DlgSpreadsheet::dataChanged(sheet::SpreadControl&, int col, int row) {
    acutPrintf("Message from Spread! Code:%i\n", kCmdData);
    // The grid wrote a cell itself (typing in the cell, a check box, a combo box): the current cell
    // as it was before is the step's before. Changes made in a scope of the editor are recorded there.
    if (m_grid.history() && !m_grid.history()->recording() && m_cellBefore) {
        const sheet::CellRange& b = m_cellBefore->block;
        if (b.col1 == col && b.row1 == row) m_grid.history()->recordCellChange(*m_cellBefore);
    }
    refreshEditBar();
}

void DlgSpreadsheet::rightClick(sheet::SpreadControl&, int col, int row, int x, int y) {
    sheet::CellPos ul, lr;
    if (!m_grid.GetSelectBlock(ul, lr) && col >= 1 && row >= 1) m_grid.SetActiveCell(col, row);
    refreshEditBar();
    if (int chosen = trackPopupMenu(IDR_CONTEXT, 0, {x, y})) sendCommand(chosen, 0);
}

// ---- undo, redo, the report test

void DlgSpreadsheet::afterHistory() {
    m_grid.setChanged(!m_grid.history()->atSavedState());
    m_grid.Redraw();
    refreshEditBar();
}

bool DlgSpreadsheet::undo() {
    if (!m_grid.history() || m_grid.IsEditing() || !m_grid.history()->undo()) return false;
    afterHistory();
    return true;
}

bool DlgSpreadsheet::redo() {
    if (!m_grid.history() || m_grid.IsEditing() || !m_grid.history()->redo()) return false;
    afterHistory();
    return true;
}

void DlgSpreadsheet::clearCells() {
    Vor_Spread::ChangeScope change(m_grid);
    m_grid.aboutToChange(editBlock());
    if (m_grid.ClearSelection()) m_grid.setChanged(true);
}

sheet::CellRange DlgSpreadsheet::pasteBlock() const {
    int col = 1, row = 1;
    sheet::CellPos ul, lr;
    if (m_grid.GetSelectBlock(ul, lr))
        col = std::max(ul.col, 1), row = std::max(ul.row, 1);
    else
        m_grid.GetActiveCell(col, row);
    const std::string text = m_grid.ClipboardText();
    if (text.empty()) return {col, row, m_grid.maxCols(), m_grid.maxRows()}; // not known: all it may reach
    // At most one row per line and one column per tab on a line; a quoted text may hold line ends
    // and tabs of its own, so then every tab may start a column.
    const int lines = int(std::count(text.begin(), text.end(), '\n')) + 1;
    int widest = 1;
    if (text.find('"') != std::string::npos) {
        widest = int(std::count(text.begin(), text.end(), '\t')) + 1;
    } else {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            widest = std::max(
                widest, int(std::count(text.begin() + long(start), text.begin() + long(end), '\t')) + 1);
            start = end + 1;
        }
    }
    return {col, row, std::min(col + widest - 1, m_grid.maxCols()),
            std::min(row + lines - 1, m_grid.maxRows())};
}

bool DlgSpreadsheet::newReport() {
    // The editor's own table stays as it is: the report goes to its own file.
    const ReportTableData data =
        sampleReport(resolveTablePath(kReportTemplate), resolveTablePath(kReportOutput));
    return buildReportTable(data);
}

// ---- launcher

void SSEditor() {
    ModuleResourceScope scope;
    DlgSpreadsheet dlg;
    dlg.fileName = "";
    dlg.doModal();
}

namespace {
const bool registered = registerJsonLauncher("SSEditor", [](const nlohmann::json&, nlohmann::json& out) {
    SSEditor();
    out["result"] = nullptr;
});
const bool commandRegistered = registerModuleCommand("TEST", &SSEditor);
} // namespace
