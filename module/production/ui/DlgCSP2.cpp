#include "production/ui/DlgCSP2.h"

#include "frame/AskText.h"
#include "frame/CatalogueTexts.h"
#include "frame/DialogOnCopy.h"
#include "frame/LauncherTable.h"
#include "frame/WindowPlacement.h"
#include "production/CuttingStockFiles.h"
#include "production/ui/DlgInfo.h"

#include <base/NumberText.h>
#include <base/PathPart.h>
#include <cut/CutFiles.h>
#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/DlgOpenSave.h>
#include <ui/Agent.h>
#include <ui/Control.h>
#include <ui/Profile.h>

#include <chrono>
#include <future>
#include <mutex>
#include <system_error>

namespace {
constexpr int kOptionRedraw = 8;
constexpr int kOptionEditArrow = 4;

// Icon buttons: id, icon, tool tip.
struct IconButton {
    int id, icon, tip;
};
constexpr IconButton kIconButtons[10] = {
    {DlgCSP2::IDC_INSERT1, 212, 616}, {DlgCSP2::IDC_DELETE1, 206, 617}, {DlgCSP2::IDC_INSERT2, 212, 616},
    {DlgCSP2::IDC_DELETE2, 206, 617}, {DlgCSP2::IDC_INSERT3, 212, 616}, {DlgCSP2::IDC_DELETE3, 206, 617},
    {DlgCSP2::IDC_IMPORT2, 232, 618}, {DlgCSP2::IDC_EXPORT2, 233, 619}, {DlgCSP2::IDC_IMPORT3, 232, 618},
    {DlgCSP2::IDC_EXPORT3, 233, 619},
};

// The kerf and minimum offcut of "Optimise all", kept in the application profile.
constexpr const char* kProfileSection = "VORLANEV8";
constexpr const char* kKerfKey = "CSP2_KERF";
constexpr const char* kMinOffcutKey = "CSP2_MIN_OFFCUT";

std::string lengthText(double mm) {
    std::string s;
    base::formatShortest(mm, s);
    return s;
}

// A run of "Optimise all" on a thread of its own, and what the progress window shows of it.
struct OptimiseRun {
    std::future<Vor_StringArray> lines;
    std::atomic<bool> stop{false};
    std::mutex mutex;
    Vor_String entry;
    cut::Progress progress;

    bool done() const { return lines.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }
    void report(const Vor_String& name, const cut::Progress& p) {
        std::lock_guard<std::mutex> lock(mutex);
        entry = name;
        progress = p;
    }
    Vor_String status() {
        std::lock_guard<std::mutex> lock(mutex);
        if (entry.isEmpty()) return dialString(9812) + "...";
        std::string seconds;
        base::formatFixed(progress.seconds, 1, seconds);
        // texts: dialString 9802 9812-9813
        return dialString(9802) + " \"" + entry + "\": " + dialString(9813) + " " +
               std::to_string(progress.round) + ", " + seconds + " s";
    }
};

// The progress window of a long "Optimise all": the entry being planned and how far, and a button
// that stops the run, keeping the best plan found so far.
class DlgCSP2Progress : public ui::Dialog {
public:
    enum { IDD = 8124, IDC_STATUS = 9082 };
    DlgCSP2Progress(ui::Window* parent, OptimiseRun& run)
        : ui::Dialog(IDD, parent)
        , m_run(run) {}

protected:
    bool onInitDialog() override {
        setWindowText(dialString(9812).str());
        // texts: dialString 9811
        const std::pair<int, int> texts[] = {{ui::IDCANCEL, 9811}};
        setCatalogueTexts(*this, texts);
        onTimer(1);
        setTimer(1, 200);
        return true;
    }
    void onTimer(int) override {
        if (ui::Control* c = item(IDC_STATUS)) c->setText(m_run.status().str());
        if (m_run.done()) endDialog(ui::IDOK);
    }
    void onCancel() override {
        m_run.stop = true;
        m_run.lines.wait(); // the optimiser ends at its next check, keeping its best plan
        endDialog(ui::IDCANCEL);
    }

private:
    OptimiseRun& m_run;
};
} // namespace

bool DlgCSP2::onInitDialog() {
    setMinTrackSize({600, 390});
    for (int list = 1; list <= 3; ++list) {
        Vor_Spread& g = grid(list);
        g.attach(this, list == 1 ? IDC_GRID1 : list == 2 ? IDC_GRID2 : IDC_GRID3);
        g.setStandardLook(1);
        g.SetBool(kOptionEditArrow, false);
        g.setResizeMode(1);
        g.setMaxCols(3);
    }
    setWindowText(dialString(620).str());
    // texts: dialString 616-632
    const std::pair<int, int> texts[] = {
        {IDC_ENTRY_LABEL, 621}, {IDC_ADD_ENTRY, 622},        {IDC_DELETE_ENTRY, 623},
        {IDC_LISTS, 624},       {IDC_FRAME1, 625},           {IDC_FRAME2, 626},
        {IDC_FRAME3, 627},      {IDC_ASK_NAMES, 630},        {IDC_OPTIMISE, 9800},
        {ui::IDOK, 1},          {ui::IDCANCEL, 2},           {IDC_MAIN, data.exportMode ? 628 : 629},
        {IDC_KERF_LABEL, 9809}, {IDC_MIN_OFFCUT_LABEL, 9810}};
    setCatalogueTexts(*this, texts);
    if (ui::Control* c = item(IDC_KERF)) c->setText(ui::Profile::getString(kProfileSection, kKerfKey, "0"));
    if (ui::Control* c = item(IDC_MIN_OFFCUT))
        c->setText(ui::Profile::getString(kProfileSection, kMinOffcutKey, "0"));
    for (int i = 0; i < 10; ++i) {
        m_buttons[i].subclassDlgItem(kIconButtons[i].id, this);
        m_buttons[i].setIcon(kIconButtons[i].icon);
        m_buttons[i].setTooltipText(dialString(kIconButtons[i].tip));
    }
    if (ui::Control* combo = item(IDC_ENTRIES)) {
        for (const Vor_String& name : data.entryNames)
            combo->addString(name.str());
        if (data.entryIds.length() > 0) {
            combo->setCurSel(0);
            m_currentId = data.entryIds[0];
        }
    }
    loadSheets();

    // Export mode: only the parts list and its files stay open; the one action writes every entry.
    if (data.exportMode) {
        for (int id :
             {int(IDC_ADD_ENTRY), int(IDC_DELETE_ENTRY), int(IDC_LISTS), int(IDC_FRAME1), int(IDC_FRAME3),
              int(IDC_GRID1), int(IDC_GRID3), int(IDC_INSERT1), int(IDC_DELETE1), int(IDC_INSERT3),
              int(IDC_DELETE3), int(IDC_IMPORT3), int(IDC_EXPORT3), int(IDC_OPTIMISE)})
            if (ui::Control* c = item(id)) c->enableWindow(false);
        // The check box stands where the kerf and minimum offcut are in the other mode.
        for (int id : {int(IDC_KERF_LABEL), int(IDC_KERF), int(IDC_MIN_OFFCUT_LABEL), int(IDC_MIN_OFFCUT)})
            if (ui::Control* c = item(id)) c->showWindow(ui::SW_HIDE);
    } else if (ui::Control* c = item(IDC_ASK_NAMES)) {
        c->showWindow(ui::SW_HIDE);
    }

    // The three lists share the width as they do at the start and grow with the height; their
    // buttons keep their places relative to their list; the actions stay at the bottom.
    using R = CResizer;
    const R::Border left{R::eFixed, 0, R::eLeft}, right{R::eFixed, 0, R::eRight}, top{R::eFixed, 0, R::eTop},
        bottom{R::eFixed, 0, R::eBottom}, share{R::eProportional, 0, R::eLeft}, width{R::eWidth, 0, R::eLeft},
        height{R::eHeight, 0, R::eTop}, fromBottom{R::eFixed, 0, R::eBottom};
    std::vector<R::Rule> rules = {
        {IDC_LISTS, left, top, right, bottom},  {IDC_FRAME1, left, top, share, bottom},
        {IDC_GRID1, left, top, share, bottom},  {IDC_FRAME2, share, top, share, bottom},
        {IDC_GRID2, share, top, share, bottom}, {IDC_FRAME3, share, top, right, bottom},
        {IDC_GRID3, share, top, right, bottom}};
    for (const IconButton& b : kIconButtons)
        rules.push_back({b.id, share, top, width, height});
    for (int id : {IDC_MAIN, IDC_OPTIMISE, IDC_ASK_NAMES, IDC_KERF_LABEL, IDC_KERF, IDC_MIN_OFFCUT_LABEL,
                   IDC_MIN_OFFCUT})
        rules.push_back({id, left, fromBottom, width, height});
    for (int id : {ui::IDOK, ui::IDCANCEL})
        rules.push_back({id, {R::eFixed, 0, R::eRight}, fromBottom, width, height});
    m_resizer.init(this, rules);
    restoreWindowPlacement(this, "DLG_OPTIMIZECSP2", false, 0, 0);
    return true;
}

void DlgCSP2::onDestroy() {
    saveWindowPlacement(this, "DLG_OPTIMIZECSP2");
}

void DlgCSP2::loadSheets() {
    for (int list = 1; list <= 3; ++list) {
        Vor_Spread& g = grid(list);
        g.SetBool(kOptionRedraw, false);
        g.setMaxRows(0);
        g.setMaxCols(3);
        if (data.indexOf(m_currentId) >= 0) {
            const DlgCSP2List& l = data.list(list);
            const Vor_Array<Vor_StringArray> rows = l.rowsOf(m_currentId);
            // Rows wider than the three columns keep their further cells: the grid widens for them.
            int cols = std::max(3, l.headers.length());
            for (const Vor_StringArray& r : rows)
                cols = std::max(cols, r.length());
            g.setMaxCols(cols);
            g.setRow(0, l.headers);
            g.setMaxRows(rows.length());
            for (int r = 0; r < rows.length(); ++r)
                g.setRow(r + 1, rows[r]);
        }
        // The columns fit what they now hold (the row numbers too), not what the grid opened with.
        g.fitAll();
        g.SetBool(kOptionRedraw, true);
    }
}

void DlgCSP2::storeSheets() {
    if (data.indexOf(m_currentId) < 0) return;
    for (int list = 1; list <= 3; ++list) {
        Vor_Spread& g = grid(list);
        g.SetEditMode(false); // an open cell edit counts
        Vor_Array<Vor_StringArray> rows;
        g.getAllRows(rows);
        // The grid is as wide as its widest row; the others keep their own width (three at least).
        for (Vor_StringArray& row : rows)
            while (row.length() > 3 && row[row.length() - 1].isEmpty())
                row.removeAt(row.length() - 1);
        data.list(list).storeRowsOf(m_currentId, rows);
    }
}

void DlgCSP2::selectionChanged() {
    const int sel = item(IDC_ENTRIES)->curSel();
    if (sel < 0 || sel >= data.entryIds.length()) return;
    if (m_currentId != -1) storeSheets();
    m_currentId = data.entryIds[sel];
    loadSheets();
}

void DlgCSP2::addEntry() {
    // texts: dialString 631-632
    TextQuestion q{dialString(631), dialString(632), dialString(171), dialString(1), dialString(2)};
    if (!askText(this, q)) return;
    Vor_String folder;
    std::string error;
    if (!csp2EntryFolder(q.text, folder, &error)) {
        // texts: dialString 9818
        ui::messageBox(error, dialString(9818).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    }
    data.entryIds.append(data.nextEntryId());
    data.entryNames.append(q.text);
    ui::Control* combo = item(IDC_ENTRIES);
    combo->addString(q.text.str());
    combo->setCurSel(combo->count() - 1);
    selectionChanged();
}

void DlgCSP2::deleteEntry() {
    ui::Control* combo = item(IDC_ENTRIES);
    const int sel = combo->curSel();
    if (sel < 0 || sel >= data.entryIds.length()) return;
    const int id = data.entryIds[sel];
    for (int list = 1; list <= 3; ++list)
        data.list(list).removeRowsOf(id);
    combo->deleteString(sel);
    data.entryIds.removeAt(sel);
    data.entryNames.removeAt(sel);
    if (data.entryIds.length() > 0) {
        const int next = std::min(sel, data.entryIds.length() - 1);
        combo->setCurSel(next);
        m_currentId = data.entryIds[next];
    } else {
        m_currentId = -1;
    }
    loadSheets();
}

// One list of one entry to or from a file in the entry's folder.
void DlgCSP2::exchange(int list, bool import, bool withDialog, int entryIndex) {
    if (entryIndex < 0 || entryIndex >= data.entryIds.length()) return;
    const Vor_String ext = list == 2 ? "shp" : "buy";
    Vor_String folder;
    std::string fault;
    if (!csp2EntryFolder(data.entryNames[entryIndex], folder, &fault)) {
        ui::messageBox(fault, dialString(import ? 618 : 619).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return;
    }
    ObjectExportCreateDirectory(folder);
    Vor_String file;
    if (import) {
        Vor_String newest;
        if (newestCsp2File(folder, ext, newest)) file = getFileName(newest);
    } else {
        file = defaultNewFileName(folder, ext);
    }
    Vor_String path;
    if (withDialog) {
        // texts: dialString 618-619 626-627
        const Vor_String filter = dialString(list == 2 ? 626 : 627) + " (*." + ext + ")";
        DlgOpenSave dlg(import, ext, file, filter, dialString(import ? 618 : 619), folder);
        if (dlg.doModal(this) != ui::IDOK) return;
        path = dlg.getPathName();
    } else {
        if (file.isEmpty()) return;
        path = folder + file;
    }
    path = withCsp2Extension(path, ext);
    const int id = data.entryIds[entryIndex];
    std::string error;
    if (import) {
        Vor_Array<Vor_StringArray> rows;
        if (!readCsp2File(path, rows, &error)) {
            ui::messageBox(error, dialString(618).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
            return;
        }
        data.list(list).storeRowsOf(id, rows);
        if (id == m_currentId) loadSheets();
    } else if (!writeCsp2File(path, data.list(list).rowsOf(id), &error)) {
        ui::messageBox(error, dialString(619).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
    }
}

void DlgCSP2::mainAction() {
    storeSheets();
    if (data.exportMode) {
        const bool ask = item(IDC_ASK_NAMES)->checkState() == ui::BST_CHECKED;
        for (int i = 0; i < data.entryIds.length(); ++i)
            exchange(2, false, ask, i);
        return;
    }
    // texts: dialString 652 285
    DlgInfoData report{dialString(652), dialString(285), importAllCsp2(data)};
    loadSheets();
    ExportStartDlgInfo(report, this);
}

// The kerf and minimum offcut as typed: lengths the optimiser can work with, else a message.
bool DlgCSP2::readCutSettings(double& kerf, double& minOffcut) {
    const double most = double(cut::kMaxLengthUnits) * cut::Settings{}.unit;
    for (auto [id, value] : {std::pair<int, double*>{IDC_KERF, &kerf}, {IDC_MIN_OFFCUT, &minOffcut}}) {
        const std::string text = item(id) ? item(id)->text() : std::string();
        double v = 0;
        const bool empty = text.find_first_not_of(" \t") == std::string::npos;
        if (!empty &&
            (base::readTypedNumber(text, v) != base::TypedNumber::Number || !(v >= 0) || !(v <= most))) {
            // texts: dialString 9817-9818
            ui::messageBox(dialString(9817).str() + " " + lengthText(most) + ".\n\"" + text + "\"",
                           dialString(9818).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
            gotoDlgCtrl(id);
            return false;
        }
        *value = empty ? 0 : v;
    }
    return true;
}

// Runs the optimiser on every entry on a thread of its own; a run that takes a while shows its
// progress and can be stopped, keeping the best plan so far. The lists are taken back only from a
// run that ended: whatever fails, the typed lists stay.
void DlgCSP2::optimiseAll() {
    storeSheets();
    cut::Settings settings;
    if (!readCutSettings(settings.kerf, settings.minOffcut)) return;
    ui::Profile::writeString(kProfileSection, kKerfKey, lengthText(settings.kerf));
    ui::Profile::writeString(kProfileSection, kMinOffcutKey, lengthText(settings.minOffcut));
    OptimiseRun run;
    settings.stop = &run.stop;
    DlgCSP2Data work = data;
    auto plan = [&run, &work, settings] {
        return optimiseAllCsp2(work, settings, [&run](const Vor_String& entry, const cut::Progress& p) {
            run.report(entry, p);
        });
    };
    try {
        run.lines = std::async(std::launch::async, plan);
    } catch (const std::system_error&) {
        run.lines = std::async(std::launch::deferred, plan); // no thread to be had: run here
        run.lines.wait();
    }
    constexpr int kShowProgressAfterMs = 400;
    const int after = showProgressAfterMs >= 0    ? showProgressAfterMs
                      : ui::agent().manualClock() ? -1
                                                  : kShowProgressAfterMs;
    if (after < 0) run.lines.wait();
    if (!run.done() && run.lines.wait_for(std::chrono::milliseconds(after)) != std::future_status::ready) {
        DlgCSP2Progress progress(this, run);
        progress.doModal();
        if (!run.done()) run.stop = true; // the window went without the run ending
    }
    Vor_StringArray lines;
    try {
        lines = run.lines.get();
        data.list3 = std::move(work.list3);
    } catch (const std::exception& e) {
        // texts: dialString 9816
        lines.append(dialString(9816) + ": " + e.what());
    }
    // texts: dialString 9801
    DlgInfoData report{dialString(9801), dialString(285), lines};
    loadSheets();
    ExportStartDlgInfo(report, this);
}

bool DlgCSP2::onCommand(int id, int code) {
    if (id == IDC_ENTRIES) {
        if (code == ui::CBN_SELCHANGE) selectionChanged();
        return true;
    }
    if (code != ui::BN_CLICKED) return false;
    const int sel = item(IDC_ENTRIES)->curSel();
    auto insertRow = [&](int list) {
        Vor_Spread& g = grid(list);
        int col = 1, row = 0;
        g.GetActiveCell(col, row);
        const int at = std::clamp(row + 1, 1, g.maxRows() + 1);
        g.insertRow(at, false, false);
        g.SetActiveCell(std::max(col, 1), at); // the new row is where the person types next
        g.setChanged(true);
    };
    auto deleteRow = [&](int list) {
        Vor_Spread& g = grid(list);
        int col = 1, row = 0;
        g.GetActiveCell(col, row);
        if (row < 1 || row > g.maxRows()) return;
        g.DelRow(row);
        g.setMaxRows(g.maxRows() - 1);
        g.setChanged(true);
    };
    switch (id) {
    case IDC_ADD_ENTRY:
        addEntry();
        return true;
    case IDC_DELETE_ENTRY:
        deleteEntry();
        return true;
    case IDC_INSERT1:
        insertRow(1);
        return true;
    case IDC_INSERT2:
        insertRow(2);
        return true;
    case IDC_INSERT3:
        insertRow(3);
        return true;
    case IDC_DELETE1:
        deleteRow(1);
        return true;
    case IDC_DELETE2:
        deleteRow(2);
        return true;
    case IDC_DELETE3:
        deleteRow(3);
        return true;
    case IDC_IMPORT2:
        storeSheets();
        exchange(2, true, true, sel);
        return true;
    case IDC_EXPORT2:
        storeSheets();
        exchange(2, false, true, sel);
        return true;
    case IDC_IMPORT3:
        storeSheets();
        exchange(3, true, true, sel);
        return true;
    case IDC_EXPORT3:
        storeSheets();
        exchange(3, false, true, sel);
        return true;
    case IDC_MAIN:
        mainAction();
        return true;
    case IDC_OPTIMISE:
        optimiseAll();
        return true;
    default:
        return false;
    }
}

void DlgCSP2::onOK() {
    storeSheets();
    endDialog(ui::IDOK);
}

bool StartDlgCSP2(DlgCSP2Data& data) {
    return runDialogOnCopy<DlgCSP2>(data);
}

namespace {
const bool registered =
    registerDataLauncher("StartDlgCSP2", &StartDlgCSP2,
                         R"({"exportMode": false, "entryIds": [1, 2], "entryNames": ["HEA 200", "IPE 300"],
        "list1": {"headers": ["Length", "Cost", "Count"], "rowEntryIds": [1, 1, 2],
                  "rows": [["6000", "1", ""], ["12000", "1.9", "4"], ["12000", "1", ""]]},
        "list2": {"headers": ["Mark", "Length", "Quantity"], "rowEntryIds": [1, 1, 1, 2, 2],
                  "rows": [["A1", "2500", "4"], ["A2", "1750.5", "6"], ["A3", "980", "3"],
                           ["B1", "5400", "2"], ["B2", "3100", "5"]]},
        "list3": {"headers": ["Length", "Bars", "Pattern"], "rowEntryIds": [], "rows": []}})");
} // namespace
