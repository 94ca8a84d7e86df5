#include "calc/ui/DlgSpreadsheet.h"

#include "calc/TableDocument.h"
#include "calc/ui/CellFormatting.h"
#include "calc/ui/DlgSpreadOptions.h"
#include "frame/DlgTextInput.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"

#include <cad/aced.h>
#include <host/FileUtils.h>
#include <ui/Agent.h>

#include <cctype>

namespace {

constexpr const char* kPlacementKey = "DLG_SPREADSHEET";
constexpr ui::Size kMinSize{400, 300};
constexpr const char* kFilter = "Vorlane Rekentabel (*.sss)|*.sss||";
constexpr unsigned kTextExportFlags = 0x19; // "|" between columns, CR LF, shown texts

// Grid events as the editor's notification codes: commands are echoed on the command line.
constexpr int kCmdRefresh = 0x37;
constexpr int kCmdData = 0x38;

struct DutchText {
    int id;
    const char* text;
};
constexpr DutchText kDutchMenu[] = {
    {DlgSpreadsheet::ID_NEW, "Nieuw"},
    {DlgSpreadsheet::ID_OPEN, "Openen..."},
    {DlgSpreadsheet::ID_SAVE, "Bewaren"},
    {DlgSpreadsheet::ID_SAVEAS, "Bewaren als..."},
    {DlgSpreadsheet::ID_EXPORT, "Exporteren..."},
    {DlgSpreadsheet::ID_PRINT, "Afdrukken"},
    {DlgSpreadsheet::ID_PREVIEW, "Afdruk Voorbeeld"},
    {DlgSpreadsheet::ID_PRINTSETUP, "Afdruk Instellingen"},
    {DlgSpreadsheet::ID_CUT, "Knippen"},
    {DlgSpreadsheet::ID_COPY, "Kopiëren"},
    {DlgSpreadsheet::ID_PASTE, "Plakken"},
    {DlgSpreadsheet::ID_NOTE, "Nota..."},
    {DlgSpreadsheet::ID_FONT, "Lettertype en kleuren..."},
    {DlgSpreadsheet::ID_BORDERS, "Kader..."},
    {DlgSpreadsheet::ID_CELLTYPE, "Type wijzigen..."},
    {DlgSpreadsheet::ID_OPTIONS, "Tabel Instellingen"},
    {DlgSpreadsheet::ID_LANGUAGE, "Taal wijzigen"},
};
constexpr const char* kDutchPopups[] = {"Bestand", "Editeren", "Veld", "Instellingen"};

// Commands whose windows come with printing and the report builder; until then they are shown
// disabled.
constexpr int kNotYet[] = {DlgSpreadsheet::ID_NEW, DlgSpreadsheet::ID_PRINT, DlgSpreadsheet::ID_PREVIEW,
                           DlgSpreadsheet::ID_PRINTSETUP};

std::string lastChars(const std::string& s, size_t n) {
    std::string tail = s.size() >= n ? s.substr(s.size() - n) : s;
    for (auto& ch : tail) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return tail;
}

} // namespace

DlgSpreadsheet::DlgSpreadsheet(ui::Window* parent) : ui::Dialog(IDD, parent) {}

bool DlgSpreadsheet::onInitDialog() {
    createToolBar(IDR_TOOLBAR);
    if (m_grid.attach(this, IDC_GRID)) m_grid.setOwnerListener(this);
    if (ui::Menu* m = menu()) {
        for (const DutchText& d : kDutchMenu) m->setItemText(d.id, d.text);
        for (int i = 0; i < 4; ++i) m->setPopupText(i, kDutchPopups[i]);
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
    if (ui::Control* c = item(IDC_FORMLABEL)) c->setText("Formule:");
    if (ui::Control* c = item(IDC_VARLABEL)) c->setText("Variabele:");
    setMinTrackSize(kMinSize);

    bool loaded = false;
    if (!fileName.isEmpty() && m_grid.attached()) {
        loaded = sheet::SSLoadFromFile(m_grid.handle(), fileName.str());
        if (!loaded) {
            reportFailure(m_grid.handle()->lastError());
            fileName = "";
        }
    }
    setCaption();
    initTableDocument(m_grid, !loaded, fileName);
    m_grid.setChanged(false);
    restoreWindowPlacement(this, kPlacementKey, false, 0, 0);
    refreshEditBar();
    return true;
}

void DlgSpreadsheet::onDestroy() { saveWindowPlacement(this, kPlacementKey); }

void DlgSpreadsheet::onSize(int width, int height) { m_resizer.resize(width, height); }

void DlgSpreadsheet::setCaption() {
    setWindowText("Spreadsheet Editor - " + (fileName.isEmpty() ? std::string("Naamloos") : fileName.str()));
}

void DlgSpreadsheet::enableCommands() {
    ui::Menu* m = menu();
    for (int id : kNotYet) {
        if (m) m->enableItem(id, false);
        if (toolBar()) toolBar()->enableButton(id, false);
    }
}

void DlgSpreadsheet::onInitMenuPopup(ui::Menu&) { enableCommands(); }

void DlgSpreadsheet::reportFailure(const std::string& what) {
    ui::messageBox(what, "Vorlane Rekentabel", ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
}

// ---- keys

bool DlgSpreadsheet::preTranslateKey(const ui::KeyEvent& key) {
    bool editing = m_grid.attached() && m_grid.handle()->editing();
    if ((key.vk == ui::VK_RETURN || key.vk == ui::VK_ESCAPE) && !editing) {
        // never closes the window; while a cell is edited the grid takes the key
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
    switch (id) {
    case IDC_VALUE:
    case IDC_FORMULA:
    case IDC_VARIABLE:
        if (code == ui::EN_CHANGE) editBarChanged(id == IDC_VALUE ? 0 : id == IDC_FORMULA ? 1 : 2);
        return true;
    case ID_OPEN:
        if (savePrompt()) open();
        return true;
    case ID_SAVE: save(false); return true;
    case ID_SAVEAS: save(true); return true;
    case ID_EXPORT: exportTable(); return true;
    case ID_COPY: m_grid.ClipboardCopy(); return true;
    case ID_CUT:
        if (m_grid.ClipboardCopy() && m_grid.handle()->clearSelection()) {
            m_grid.setChanged(true);
            refreshEditBar();
        }
        return true;
    case ID_PASTE:
        if (m_grid.ClipboardPaste()) {
            m_grid.setChanged(true);
            refreshEditBar();
        }
        return true;
    case ID_NOTE: editNote(); return true;
    case ID_FONT:
        if (editFontAndColors(m_grid, this)) refreshEditBar();
        return true;
    case ID_BORDERS:
        if (editBorders(m_grid, this)) refreshEditBar();
        return true;
    case ID_CELLTYPE:
        if (editCellType(m_grid, this)) refreshEditBar();
        return true;
    case ID_OPTIONS:
        if (editTableOptions(m_grid, this)) refreshEditBar();
        return true;
    case ID_LANGUAGE: return true;
    default: return false;
    }
}

void DlgSpreadsheet::onCancel() {
    if (!savePrompt()) return; // Cancel keeps the window open
    endDialog(ui::IDCANCEL);
}

bool DlgSpreadsheet::savePrompt() {
    if (!m_grid.changed()) return true;
    int answer = ui::messageBox("Wilt u de wijzigingen van het huidige document bewaren?", "Document gewijzigd",
                                ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION, this);
    if (answer == ui::IDCANCEL) return false;
    if (answer == ui::IDYES) return save(false);
    return true;
}

bool DlgSpreadsheet::open() {
    ui::FileRequest r;
    r.title = "SpreadSheet openen";
    r.filter = kFilter;
    r.defaultExtension = "sss";
    r.folder = fileName.isEmpty() ? std::string() : getFolder(fileName).str();
    if (!ui::agent().fileDialog(r, this)) return false;
    // A table that does not load leaves the open one, its name and the caption as they were.
    if (!sheet::SSLoadFromFile(m_grid.handle(), r.fileName)) {
        reportFailure(m_grid.handle()->lastError());
        return false;
    }
    fileName = r.fileName;
    setCaption();
    initTableDocument(m_grid, false, fileName);
    m_grid.setChanged(false);
    refreshEditBar();
    return true;
}

bool DlgSpreadsheet::save(bool askName) {
    Vor_String target = fileName;
    if (askName || target.isEmpty()) {
        ui::FileRequest r;
        r.save = true;
        r.title = "SpreadSheet bewaren";
        r.filter = kFilter;
        r.defaultExtension = "sss";
        r.overwritePrompt = true;
        r.fileName = fileName.str();
        if (!ui::agent().fileDialog(r, this)) return false;
        target = r.fileName;
    }
    // The engine writes a new file and puts it in place only when complete: a failed save keeps the
    // old file, the name and the caption.
    if (!sheet::SSSaveToFile(m_grid.handle(), target.str())) {
        reportFailure(m_grid.handle()->lastError());
        return false;
    }
    fileName = target;
    setCaption();
    m_grid.setChanged(false);
    return true;
}

bool DlgSpreadsheet::exportTable() {
    ui::FileRequest r;
    r.save = true;
    r.title = "Rekentabel exporteren";
    r.filter = "ASCII tekst bestand (*.txt)|*.txt|HTML pagina (*.htm)|*.htm|"
               "Microsoft Excel 97/2000/2002 (*.xls)|*.xls||";
    const std::string& f = fileName.str();
    r.fileName = f.size() >= 4 ? f.substr(0, f.size() - 4) : f;
    if (!ui::agent().fileDialog(r, this)) return false;
    std::string kind = lastChars(r.fileName, 3);
    bool ok;
    if (kind == "xls") ok = sheet::SSExportToExcel(m_grid.handle(), r.fileName);
    else if (kind == "htm") ok = sheet::SSExportToHTML(m_grid.handle(), r.fileName);
    else if (kind == "txt") ok = sheet::SSExportToTextFile(m_grid.handle(), r.fileName, kTextExportFlags);
    else {
        reportFailure("\"" + r.fileName + "\": use the extension .txt, .htm or .xls");
        return false;
    }
    if (!ok) reportFailure(m_grid.handle()->lastError());
    return ok;
}

void DlgSpreadsheet::editNote() {
    int col, row;
    sheet::CellPos ul, lr;
    if (!m_grid.GetActiveCell(col, row) || m_grid.GetSelectBlock(ul, lr)) return; // a single cell only
    std::string note;
    sheet::SSGetCellNote(m_grid.handle(), col, row, note);
    DlgTextInput dlg(this);
    dlg.caption = "Nota wijzigen";
    dlg.prompt = "Vul de nieuwe nota voor het geselecteerde veld in:";
    dlg.okText = "Ok";
    dlg.cancelText = "Annuleren";
    dlg.text = note;
    if (dlg.doModal() != ui::IDOK) return;
    sheet::SSSetCellNote(m_grid.handle(), col, row, dlg.text.str());
    m_grid.setChanged(true);
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
}

void DlgSpreadsheet::editBarChanged(int field) {
    if (m_programSet[field]) return; // the editor filled the field itself
    const int ids[3] = {IDC_VALUE, IDC_FORMULA, IDC_VARIABLE};
    ui::Control* c = item(ids[field]);
    if (!c || !m_grid.attached()) return;
    Vor_String text = c->text();
    if (text.equal(variesText(), false)) return;
    const sheet::CellRange b = editBlock();
    switch (field) {
    case 0: m_grid.setTextRange(b.col1, b.row1, b.col2, b.row2, text); break;
    case 1: {
        std::string f = text.str();
        if (!f.empty() && f[0] == '=') f.erase(0, 1);
        m_grid.setFormulaRange(b.col1, b.row1, b.col2, b.row2, Vor_String(f));
        break;
    }
    case 2:
        for (int col = b.col1; col <= b.col2; ++col)
            for (int row = b.row1; row <= b.row2; ++row) m_grid.setTag(col, row, text);
        break;
    }
    m_grid.setChanged(true);
}

// ---- grid notifications

bool DlgSpreadsheet::leaveCell(sheet::SpreadControl&, sheet::CellPos, sheet::CellPos) {
    m_refreshPending = true;
    return true;
}

void DlgSpreadsheet::activeCellChanged(sheet::SpreadControl&, sheet::CellPos, sheet::CellPos) {
    acutPrintf("Message from Spread! Code:%i\n", kCmdRefresh);
    m_refreshPending = false;
    refreshEditBar();
}

void DlgSpreadsheet::selectionChanged(sheet::SpreadControl&, const sheet::CellRange&) { refreshEditBar(); }

void DlgSpreadsheet::dataChanged(sheet::SpreadControl&, int, int) {
    acutPrintf("Message from Spread! Code:%i\n", kCmdData);
    refreshEditBar();
}

void DlgSpreadsheet::rightClick(sheet::SpreadControl&, int col, int row, int x, int y) {
    sheet::CellPos ul, lr;
    if (!m_grid.GetSelectBlock(ul, lr) && col >= 1 && row >= 1) m_grid.SetActiveCell(col, row);
    refreshEditBar();
    if (int chosen = trackPopupMenu(IDR_CONTEXT, 0, {x, y})) sendCommand(chosen, 0);
}

// ---- launcher

void SSEditor() {
    ModuleResourceScope scope;
    DlgSpreadsheet dlg;
    dlg.fileName = "";
    dlg.doModal();
}

namespace {
const bool registered = registerJsonLauncher(
    "SSEditor", [](const nlohmann::json&, nlohmann::json& out) {
        SSEditor();
        out["result"] = nullptr;
    });
} // namespace
