#include "macro/ui/DlgMacroProfSegmented.h"

#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"
#include "macro/CommitTab.h"
#include "macro/LauncherInput.h"

#include <base/NumberText.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>

#include <algorithm>

namespace {
const char* const kPlacementKey = "DLG_MACRO_PROFSEGMENTED";
constexpr int kMaxPointText = 20;
constexpr ui::Size kMinSize{300, 270};

/// A typed clearance as it is stored: the number in its shortest form, the varies text as it is,
/// 0 for anything else.
Vor_String clearanceTextOf(const std::string& typed) {
    if (isVaries(typed)) return typed;
    double v = 0;
    std::string out = "0";
    if (base::readTypedNumber(typed, v) == base::TypedNumber::Number) base::formatShortest(v, out);
    return out;
}
} // namespace

Vor_String segmentListText(const MacroSegmentData& segment) {
    return segment.name + " - " + segment.section;
}

bool DlgMacroProfSegmented::onInitDialog() {
    setWindowText(dialString(1027).str());
    const std::pair<int, int> texts[] = {{IDC_PROFILES_LABEL, 1028},
                                         {IDC_PROFILE_GROUP, 63},
                                         {IDC_NAME_LABEL, 1029},
                                         {IDC_CLEARANCE_LABEL, 266},
                                         {IDC_BREAK_ALL, 1030},
                                         {IDC_PICK_POINT, 1031},
                                         {ui::IDOK, 1},
                                         {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    m_add.subclassDlgItem(IDC_ADD_ROW, this);
    m_add.setIcon(212);
    m_add.setTooltipText(dialString(1025));
    m_delete.subclassDlgItem(IDC_DELETE_ROW, this);
    m_delete.setIcon(206);
    m_delete.setTooltipText(dialString(1026));

    m_grid.attach(this, IDC_GRID);
    m_grid.setStandardLook(1);
    m_grid.setMaxCols(1);
    m_grid.setText(1, 0, dialString(1032) + " nr.");

    // the list, the group and the grid grow with the window; the buttons keep to their corner
    using R = CResizer;
    const R::Border left{R::eFixed, 0, R::eLeft}, top{R::eFixed, 0, R::eTop};
    const R::Border right{R::eFixed, 0, R::eRight}, bottom{R::eFixed, 0, R::eBottom};
    const R::Border width{R::eWidth, 0, R::eLeft}, height{R::eHeight, 0, R::eTop};
    const R::Border fromRight{R::eFixed, 0, R::eRight}, fromBottom{R::eFixed, 0, R::eBottom};
    m_resizer.init(this, {{IDC_PROFILES, left, top, right, height},
                          {IDC_PROFILE_GROUP, left, top, right, bottom},
                          {IDC_NAME, left, top, right, height},
                          {IDC_GRID, left, top, right, bottom},
                          {IDC_ADD_ROW, fromRight, top, width, height},
                          {IDC_DELETE_ROW, fromRight, top, width, height},
                          {IDC_PICK_POINT, left, fromBottom, width, height},
                          {ui::IDOK, fromRight, fromBottom, width, height},
                          {ui::IDCANCEL, fromRight, fromBottom, width, height}});
    setMinTrackSize(kMinSize);
    restoreWindowPlacement(this, kPlacementKey, false, kMinSize.cx, kMinSize.cy);

    Vor_StringArray items;
    for (const MacroSegmentData& s : segments)
        items.append(segmentListText(s));
    FillCombo(this, IDC_PROFILES, items);
    show(segments.isEmpty() ? -1 : 0);
    return true;
}

void DlgMacroProfSegmented::onDestroy() {
    m_resizer.reset();
    saveWindowPlacement(this, kPlacementKey);
}

void DlgMacroProfSegmented::show(int index) {
    m_current = index >= 0 && index < segments.length() ? index : -1;
    static const MacroSegmentData kNone;
    const MacroSegmentData& s = m_current >= 0 ? segments[m_current] : kNone;
    if (ui::Control* c = item(IDC_PROFILES)) c->setCurSel(m_current);
    if (ui::Control* c = item(IDC_NAME)) c->setText(s.name.str());
    if (ui::Control* c = item(IDC_CLEARANCE)) c->setText(s.clearance.str());
    if (ui::Control* c = item(IDC_BREAK_ALL))
        c->setCheck(s.breakAtEveryPoint ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    m_grid.setMaxRows(s.breakPoints.length());
    if (s.breakPoints.length() > 0) {
        sheet::CellType t;
        m_grid.SetTypeEdit(t, 0, kMaxPointText);
        m_grid.SetCellTypeRange(1, 1, 1, s.breakPoints.length(), t);
    }
    m_grid.setColumn(1, s.breakPoints);
    EnDisCtrl(this, {IDC_NAME, IDC_CLEARANCE, IDC_BREAK_ALL, IDC_ADD_ROW, IDC_DELETE_ROW}, m_current >= 0);
}

void DlgMacroProfSegmented::storeShown() {
    if (m_current < 0 || m_current >= segments.length()) return;
    m_grid.SetEditMode(false); // an open cell edit counts
    MacroSegmentData& s = segments[m_current];
    if (const ui::Control* c = item(IDC_NAME)) s.name = c->text();
    if (const ui::Control* c = item(IDC_CLEARANCE)) s.clearance = clearanceTextOf(c->text());
    if (const ui::Control* c = item(IDC_BREAK_ALL)) s.breakAtEveryPoint = c->checkState() == ui::BST_CHECKED;
    Vor_StringArray points;
    for (int r = 1; r <= m_grid.maxRows(); ++r) {
        Vor_String t;
        m_grid.getText(1, r, kTextData, t);
        t.trim();
        if (!t.isEmpty()) points.append(t); // an empty row is no point
    }
    s.breakPoints = points;
}

void DlgMacroProfSegmented::addRow() {
    if (m_current < 0) return;
    int col = 1, row = 0;
    m_grid.GetActiveCell(col, row);
    const int at = row >= 1 && row <= m_grid.maxRows() ? row + 1 : m_grid.maxRows() + 1;
    m_grid.insertRow(at, false, false);
    sheet::CellType t;
    m_grid.SetTypeEdit(t, 0, kMaxPointText);
    m_grid.SetCellTypeRange(1, at, 1, at, t);
    m_grid.SetActiveCell(1, at);
}

void DlgMacroProfSegmented::deleteRow() {
    int col = 1, row = 0;
    m_grid.GetActiveCell(col, row);
    if (m_current < 0 || row < 1 || row > m_grid.maxRows()) return; // no row chosen
    m_grid.DelRow(row);
    m_grid.setMaxRows(m_grid.maxRows() - 1);
}

bool DlgMacroProfSegmented::onCommand(int id, int code) {
    switch (id) {
    case IDC_PROFILES:
        if (code != ui::CBN_SELCHANGE) return false;
        if (const ui::Control* c = item(IDC_PROFILES)) {
            const int chosen = c->curSel();
            storeShown();
            show(chosen);
        }
        return true;
    case IDC_ADD_ROW:
        addRow();
        return true;
    case IDC_DELETE_ROW:
        deleteRow();
        return true;
    case IDC_PICK_POINT:
        return true; // the button has no action of its own
    default:
        return false;
    }
}

void DlgMacroProfSegmented::onOK() {
    storeShown();
    endDialog(ui::IDOK);
}

bool editSegmentsOfTab(MacroData& data, int tab, int slot) {
    if (tab < 0 || tab >= data.tabs.length()) return false;
    ModuleResourceScope scope;
    DlgMacroProfSegmented dlg;
    dlg.segments = data.tabs[tab].segments;
    if (dlg.doModal() != ui::IDOK) return false;
    const MacroTabData before = data.tabs[tab];
    data.tabs[tab].segments = dlg.segments;
    commitTab(data, tab, before, slot);
    return true;
}

namespace {
const bool registered = registerJsonLauncher(
    "StartDlgMacroProfSegmented",
    [](const nlohmann::json& in, nlohmann::json& out) {
        if (in.contains("segments")) { // segmented profiles of their own, no drawing
            ModuleResourceScope scope;
            DlgMacroProfSegmented dlg;
            dlg.segments = in.at("segments").get<Vor_Array<MacroSegmentData>>();
            const bool ok = dlg.doModal() == ui::IDOK;
            out["result"] = ok;
            out["segments"] = ok ? dlg.segments : in.at("segments").get<Vor_Array<MacroSegmentData>>();
            return;
        }
        MacroData data;
        int tab = 0;
        if (!readLauncherMacros(in, data, &tab, out)) return;
        out["result"] = editSegmentsOfTab(data, tab, -1);
        out["segments"] = data.tabs[tab].segments;
    },
    R"({"segments": [{"name": "Rail", "section": "HEA 200", "clearance": "10", "breakPoints": ["2", "4"]},
                     {"name": "Purlin", "section": "IPE 300", "clearance": "5", "breakAtEveryPoint": true}]})");
} // namespace
