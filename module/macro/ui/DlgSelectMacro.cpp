#include "macro/ui/DlgSelectMacro.h"

#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"

#include <cad/aced.h>
#include <host/FileUtils.h>
#include <host/MacroLangs.h>
#include <host/MacroPreview.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/VorUtils.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>
#include <ui/Picture.h>

#include <algorithm>

namespace {
constexpr const char* kPlacement = "DLG_SELECT_MACRO";
constexpr std::uint32_t kGreyCell = 0xDCDCDC;
constexpr int kCheckColumnWidth = 3;
constexpr int kInfoRoom = 60; ///< pixels the thumbnails give up for the information text
} // namespace

MacroGridLayout macroGridLayout(const Vor_Array<Vor_StringArray>& rows,
                                const Vor_Array<Vor_Array<bool>>& on) {
    MacroGridLayout g;
    int m = 0;
    for (const Vor_StringArray& r : rows)
        m = std::max(m, r.length());
    g.cols = 2 * m;
    g.headings.setLogicalLength(g.cols + 1);
    for (int k = 0; k < m; ++k)
        g.headings[2 * k + 2] =
            k == 0 ? dialString(1119) : dialString(1120) + " " + Vor_String(std::to_string(k));
    for (int r = 0; r < rows.length(); ++r) {
        std::vector<MacroGridLayout::Cell> cells(static_cast<std::size_t>(g.cols) + 1);
        for (int k = 0; k < rows[r].length(); ++k) {
            MacroGridLayout::Cell& check = cells[2 * k + 1];
            check.kind = MacroGridLayout::Cell::Check;
            check.locked = false;
            check.on = r < on.length() && k < on[r].length() && on[r][k];
            MacroGridLayout::Cell& text = cells[2 * k + 2];
            text.kind = MacroGridLayout::Cell::Text;
            text.text = rows[r][k];
        }
        g.rows.push_back(std::move(cells));
    }
    return g;
}

Vor_StringArray macroLabels(const Vor_StringArray& drawings) {
    Vor_StringArray full, shortened;
    for (const Vor_String& d : drawings) {
        const Vor_String label = gMacroLangs.GetString("", removeExtension(getFileName(d)));
        full.append(label);
        shortened.append(stripNumbersAtEnd(label));
    }
    return hasDuplicates(shortened, false) ? full : shortened;
}

Vor_String macroPreviewOf(const Vor_String& drawing) {
    const Vor_String bmp = changeExtension(drawing, "bmp");
    return fileExists(bmp) ? bmp : changeExtension(drawing, "abm");
}

bool DlgSelectMacro::onInitDialog() {
    m_grid.attach(this, IDC_GRID);
    m_grid.setStandardLook(1);
    m_grid.SetLockColor(sheet::kDefaultColor, sheet::kDefaultColor); // the grey of the cells shows
    m_grid.setOwnerListener(this);

    if (!extraButton) {
        ShowOrHideCtrl(this, IDC_EXTRA, false);
        if (showInfo) {
            ShowOrHideCtrl(this, IDC_INFO, true);
            resizeCtrl(this, IDC_THUMBNAILS, -kInfoRoom, 1);
            if (ui::Control* list = item(IDC_THUMBNAILS); list && item(IDC_INFO)) {
                // the text takes the room the thumbnails gave up
                const ui::Rect r = list->windowRect();
                const ui::Point at = screenToClient({r.left, r.bottom});
                item(IDC_INFO)->moveWindow(at.x, at.y + 4, r.width(), kInfoRoom - 4);
            }
            if (ui::Control* c = item(IDC_INFO))
                c->setText((dialString(1312) + "\n" + dialString(1313)).str());
        }
    }

    using R = CResizer;
    const R::Border left{R::eFixed, 0, R::eLeft}, right{R::eFixed, 0, R::eRight}, top{R::eFixed, 0, R::eTop},
        bottom{R::eFixed, 0, R::eBottom}, width{R::eWidth, 0, R::eLeft}, height{R::eHeight, 0, R::eTop};
    m_resizer.init(this, {{IDC_HEADING, left, top, right, height},
                          {IDC_GRID, left, top, right, height},
                          {IDC_THUMBNAILS, left, top, right, bottom},
                          {IDC_INFO, left, bottom, right, height},
                          {IDC_PREVIEWS, left, bottom, width, height},
                          {IDC_EXTRA, left, bottom, width, height},
                          {ui::IDOK, {R::eFixed, 0, R::eRight}, bottom, width, height},
                          {ui::IDCANCEL, {R::eFixed, 0, R::eRight}, bottom, width, height}});
    setMinTrackSize({200, 300});
    restoreWindowPlacement(this, kPlacement, false, 200, 300);

    setWindowText((title.isEmpty() ? dialString(1116) : title).str());
    const std::pair<int, int> texts[] = {
        {IDC_HEADING, 1117}, {ui::IDOK, 1}, {ui::IDCANCEL, 2}, {IDC_PREVIEWS, 1118}, {IDC_EXTRA, 1309}};
    setCatalogueTexts(*this, texts);

    m_thumbnails.subclassDlgItem(IDC_THUMBNAILS, this);
    m_thumbnails.setThumbnailSize(filter.width(), filter.height());
    makeMissingPreviews();
    fillGrid();
    if (ui::Control* c = item(IDC_PREVIEWS)) c->setCheck(ui::BST_CHECKED);
    filterThumbnails();
    return true;
}

void DlgSelectMacro::onDestroy() {
    saveWindowPlacement(this, kPlacement);
    m_resizer.reset();
}

void DlgSelectMacro::makeMissingPreviews() {
    Vor_StringArray missing;
    for (const Vor_String& d : filter.getAllDwgFiles())
        if (!fileExists(changeExtension(d, "bmp"))) missing.append(d);
    const PreviewReport report = CreatePreviewBMPs(filter.width(), filter.height(), missing, "abm");
    for (int i = 0; i < report.failed.length(); ++i) {
        // a drawing that was read but whose picture could not be kept is drawn for this show only
        // (one that cannot be read is reported by the filter and never shown)
        ui::Picture picture;
        if (!drawPreview(report.failed[i].str(), filter.width(), filter.height(), picture)) continue;
        m_inMemory[changeExtension(report.failed[i], "abm").str()] = picture.toImage();
        const Vor_String why = i < report.messages.length() ? report.messages[i] : Vor_String();
        acutPrintf("\n%s %s", string(10500).c_str(), why.c_str());
    }
}

void DlgSelectMacro::fillGrid() {
    gridReady = false;
    Vor_Array<Vor_StringArray> rows, origins;
    Vor_Array<Vor_Array<bool>> on;
    if (!filter.getMergedProperties(rows, origins, on)) return;
    gridRows = rows;
    const MacroGridLayout layout = macroGridLayout(rows, on);
    m_grid.setMaxCols(layout.cols);
    m_grid.setMaxRows(rows.length());
    for (int col = 1; col <= layout.cols; ++col) // a blank keeps the column letter off a check column
        m_grid.setText(col, 0, layout.headings[col].isEmpty() ? Vor_String(" ") : layout.headings[col]);
    for (int col = 1; col <= layout.cols; col += 2)
        m_grid.SetColWidth(col, kCheckColumnWidth);
    sheet::CellType text;
    m_grid.SetTypeStaticText(text, 0);
    for (int r = 0; r < rows.length(); ++r) {
        const int row = r + 1;
        for (int col = 1; col <= layout.cols; ++col) {
            const MacroGridLayout::Cell& cell = layout.rows[r][col];
            if (cell.kind == MacroGridLayout::Cell::Check) {
                m_grid.setCheckBoxCell(col, row, false);
                m_grid.setCheck(col, row, cell.on);
            } else {
                m_grid.SetCellType(col, row, text);
                m_grid.setText(col, row, cell.text);
            }
            m_grid.SetLockRange(col, row, col, row, cell.locked);
            m_grid.SetColor(col, row,
                            cell.kind == MacroGridLayout::Cell::Grey ? kGreyCell : sheet::kDefaultColor,
                            sheet::kDefaultColor);
        }
    }
    for (int col = 2; col <= layout.cols; col += 2)
        m_grid.fitColumn(col); // the texts and the heading over them
    gridReady = true;
}

void DlgSelectMacro::filterThumbnails() {
    const Vor_StringArray drawings = filter.getFilteredMacros();
    previews.removeAll();
    for (const Vor_String& d : drawings)
        previews.append(macroPreviewOf(d));
    labels = macroLabels(drawings);
    m_thumbnails.draw(previews, labels, m_inMemory);
}

void DlgSelectMacro::gridCellSwitched(int col, int row, bool on) {
    if (!gridReady) return;
    const int module = row - 1, entry = (col - 1) / 2;
    if (col < 1 || module < 0 || module >= gridRows.length() || entry >= gridRows[module].length()) return;
    const Vor_StringArray& r = gridRows[module];
    if (entry == 0)
        filter.setModuleStatus(r[0], on);
    else
        filter.setModulePropStatus(r[0], r[entry], on);
    fillGrid();
    filterThumbnails();
}

bool DlgSelectMacro::choose() {
    const Vor_String name = m_thumbnails.selectedName();
    if (name.isEmpty()) return false; // nothing chosen: the dialog stays open
    selection = changeExtension(name, "dwg");
    extraButton = false;
    endDialog(ui::IDOK);
    return true;
}

void DlgSelectMacro::onOK() {
    choose();
}

bool DlgSelectMacro::onCommand(int id, int code) {
    if (id == IDC_THUMBNAILS && code == ui::NM_DBLCLK) {
        choose();
        return true;
    }
    if (id == IDC_EXTRA && code == ui::BN_CLICKED) {
        extraButton = true;
        endDialog(ui::IDOK);
        return true;
    }
    return false;
}

bool StartDlgSelectMacro(const Vor_String& title, const Vor_StringArray& texts, const AcArray<bool>& flags,
                         const int& first, const int& second, Vor_String& selected, bool& extraButton,
                         bool showInfo) {
    ModuleResourceScope scope;
    DlgSelectMacro dlg;
    dlg.title = title;
    Vor_Array<bool> switches;
    for (int i = 0; i < flags.length(); ++i)
        switches.append(flags[i]);
    dlg.filter.initialize(texts, switches, first, second);
    for (const Vor_String& p : dlg.filter.problems()) // drawings not read, a folder not listed
        acutPrintf("\n%s", p.c_str());
    dlg.extraButton = extraButton;
    dlg.showInfo = showInfo;
    if (dlg.doModal() != ui::IDOK) return false;
    selected = dlg.selection;
    extraButton = dlg.extraButton;
    return true;
}

namespace {
// The bundled macro drawings of the library folder, as another module asks for a connection.
const bool registered = registerJsonLauncher(
    "StartDlgSelectMacro",
    [](const nlohmann::json& in, nlohmann::json& out) {
        const Vor_String title = in.value("title", std::string());
        const Vor_StringArray texts = in.value("texts", Vor_StringArray{});
        AcArray<bool> flags;
        for (bool b : in.value("flags", std::vector<bool>{}))
            flags.append(b);
        const int width = in.value("width", 96), height = in.value("height", 96);
        bool extra = in.value("extraButton", false);
        Vor_String selected;
        out["result"] = StartDlgSelectMacro(title, texts, flags, width, height, selected, extra,
                                            in.value("showInfo", false));
        out["selected"] = selected.str();
        out["extraButton"] = extra;
    },
    R"({"title": "", "texts": ["Macros/Drawings/", ""], "flags": [true], "width": 96, "height": 72,
        "extraButton": false, "showInfo": true})");
} // namespace
