#include "macro/ui/DlgMacroPatternProps.h"

#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "macro/BoltDialogRules.h"
#include "macro/CommitTab.h"
#include "macro/EditTabRecords.h"
#include "macro/LauncherInput.h"

#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>

const DlgMacroPatternProps::Half DlgMacroPatternProps::kHalves[2] = {
    {IDC_ROWS_ON, IDC_ROWS_PARTS, IDC_ROWS_COUNT, IDC_ROWS_EQUAL, IDC_ROWS_SPACING, IDC_ROWS_GRID},
    {IDC_COLS_ON, IDC_COLS_PARTS, IDC_COLS_COUNT, IDC_COLS_EQUAL, IDC_COLS_SPACING, IDC_COLS_GRID}};

namespace {
bool isChecked(const ui::Dialog& d, int id) {
    const ui::Control* c = d.item(id);
    return c && c->checkState() == ui::BST_CHECKED;
}
void setChecked(ui::Dialog& d, int id, bool on) {
    if (ui::Control* c = d.item(id)) c->setCheck(on ? ui::BST_CHECKED : ui::BST_UNCHECKED);
}
Vor_String textOf(const ui::Dialog& d, int id, const Vor_String& fallback) {
    const ui::Control* c = d.item(id);
    return c ? Vor_String(c->text()) : fallback;
}
void setTextOf(ui::Dialog& d, int id, const Vor_String& text) {
    if (ui::Control* c = d.item(id)) c->setText(text.str());
}
/// The gaps of a half: one less than its count, none when the count is no number.
int gapsOf(const PatternHalf& h) {
    MacroPatternProps probe;
    probe.halves[0] = h;
    probe.halves[0].on = true;
    const int count = probe.getCount(0);
    return count > 1 ? std::min(count - 1, DlgMacroPatternProps::kMaxGaps) : 0;
}
} // namespace

DlgMacroPatternProps::DlgMacroPatternProps(MacroData& macros, int tabIndex, int patternIndex, int slot,
                                           ui::Window* parent)
    : ui::Dialog(IDD, parent)
    , m_macros(macros)
    , m_tab(tabIndex)
    , m_index(patternIndex)
    , m_slot(slot) {
    if (m_tab >= 0 && m_tab < m_macros.tabs.length() && m_index >= 0 &&
        m_index < m_macros.tabs[m_tab].patterns.length())
        pattern = m_macros.tabs[m_tab].patterns[m_index];
    m_original = pattern;
}

bool DlgMacroPatternProps::onInitDialog() {
    m_loading = true;
    setWindowText(dialString(1034).str());
    // texts: dialString 10401-10410
    const std::pair<int, int> texts[] = {{IDC_ROWS_ON, 10401},
                                         {IDC_COLS_ON, 10402},
                                         {IDC_ROWS_PARTS_LABEL, 10403},
                                         {IDC_COLS_PARTS_LABEL, 10403},
                                         {IDC_ROWS_COUNT_LABEL, 10404},
                                         {IDC_COLS_COUNT_LABEL, 10404},
                                         {IDC_ROWS_EQUAL, 10405},
                                         {IDC_COLS_EQUAL, 10405},
                                         {IDC_ROWS_SPACING_LABEL, 10406},
                                         {IDC_COLS_SPACING_LABEL, 10406},
                                         {IDC_EDGE_TOP_LABEL, 10408},
                                         {IDC_EDGE_SIDE_LABEL, 10409},
                                         {IDC_CLEARANCE_LABEL, 10410},
                                         {IDC_STAGGERED, 1051},
                                         {IDC_MIRROR, 1052},
                                         {IDC_MIRROR_HORIZONTALLY, 1053},
                                         {IDC_MIRROR_VERTICALLY, 1054},
                                         {ui::IDOK, 1},
                                         {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    // texts: dialString 695 994 996 1055
    const Vor_StringArray parts = MacroPatternProps::partsChoiceTexts();
    for (int h = 0; h < 2; ++h) {
        FillCombo(this, kHalves[h].parts, parts);
        Vor_Spread& g = m_grids[h];
        g.attach(this, kHalves[h].gridId);
        g.setStandardLook(1);
        g.setOwnerListener(this);
        g.setMaxCols(1);
        g.setText(1, 0, dialString(10407));
    }
    load();
    m_loading = false;
    return true;
}

void DlgMacroPatternProps::loadDistances(int half) {
    // one distance per gap of the count; the pattern keeps its own list until the grid is used
    const PatternHalf& h = pattern.halves[half];
    Vor_StringArray distances = h.distances;
    fitPatternDistances(distances, gapsOf(h), h.spacing);
    Vor_Spread& g = m_grids[half];
    g.setMaxRows(distances.length());
    if (distances.length() > 0) {
        sheet::CellType t;
        g.SetTypeEdit(t, 0, 40);
        g.SetCellTypeRange(1, 1, 1, distances.length(), t);
    }
    g.setColumn(1, distances);
}

void DlgMacroPatternProps::load() {
    for (int half = 0; half < 2; ++half) {
        const PatternHalf& h = pattern.halves[half];
        setChecked(*this, kHalves[half].on, h.on);
        if (ui::Control* c = item(kHalves[half].parts)) c->setCurSel(h.partsChoice);
        setTextOf(*this, kHalves[half].count, h.count);
        setChecked(*this, kHalves[half].equal, h.equalSpacing);
        setTextOf(*this, kHalves[half].spacing, h.spacing);
        loadDistances(half);
    }
    setTextOf(*this, IDC_EDGE_TOP, pattern.edgeTop);
    setTextOf(*this, IDC_EDGE_SIDE, pattern.edgeSide);
    setTextOf(*this, IDC_CLEARANCE, pattern.clearance);
    setChecked(*this, IDC_STAGGERED, pattern.staggered);
    setChecked(*this, IDC_MIRROR, pattern.mirror);
    setChecked(*this, IDC_MIRROR_HORIZONTALLY, pattern.mirrorHorizontally);
    setChecked(*this, IDC_MIRROR_VERTICALLY, pattern.mirrorVertically);
    enableControls();
}

void DlgMacroPatternProps::enableControls() {
    for (int half = 0; half < 2; ++half) {
        const Half& ids = kHalves[half];
        const bool on = isChecked(*this, ids.on);
        const bool equal = isChecked(*this, ids.equal);
        EnDisCtrl(this, {ids.parts, ids.count, ids.equal}, on);
        EnDisCtrl(this, ids.spacing, on && equal);
        EnDisCtrl(this, ids.gridId, on && !equal);
    }
    EnDisCtrl(this, {IDC_MIRROR_HORIZONTALLY, IDC_MIRROR_VERTICALLY}, isChecked(*this, IDC_MIRROR));
}

void DlgMacroPatternProps::store() {
    for (int half = 0; half < 2; ++half) {
        PatternHalf& h = pattern.halves[half];
        const Half& ids = kHalves[half];
        h.on = isChecked(*this, ids.on);
        if (const ui::Control* c = item(ids.parts); c && c->curSel() >= 0) h.partsChoice = c->curSel();
        h.count = textOf(*this, ids.count, h.count);
        h.equalSpacing = isChecked(*this, ids.equal);
        h.spacing = textOf(*this, ids.spacing, h.spacing);
        if (!h.equalSpacing) {
            // one distance per gap is what the grid shows; with one spacing the list is left alone
            Vor_StringArray distances;
            m_grids[half].getColumn(1, distances);
            h.distances = distances;
        }
    }
    pattern.edgeTop = textOf(*this, IDC_EDGE_TOP, pattern.edgeTop);
    pattern.edgeSide = textOf(*this, IDC_EDGE_SIDE, pattern.edgeSide);
    pattern.clearance = textOf(*this, IDC_CLEARANCE, pattern.clearance);
    pattern.staggered = isChecked(*this, IDC_STAGGERED);
    pattern.mirror = isChecked(*this, IDC_MIRROR);
    pattern.mirrorHorizontally = isChecked(*this, IDC_MIRROR_HORIZONTALLY);
    pattern.mirrorVertically = isChecked(*this, IDC_MIRROR_VERTICALLY);
}

bool DlgMacroPatternProps::commit(const MacroPatternProps& p) {
    if (m_tab < 0 || m_tab >= m_macros.tabs.length() || m_index < 0 ||
        m_index >= m_macros.tabs[m_tab].patterns.length())
        return false;
    const MacroTabData before = m_macros.tabs[m_tab];
    m_macros.tabs[m_tab].patterns[m_index] = p;
    return commitTab(m_macros, m_tab, before, m_slot);
}

void DlgMacroPatternProps::changed() {
    if (m_loading) return;
    store();
    commit(pattern);
}

bool DlgMacroPatternProps::onCommand(int id, int code) {
    if (m_loading) return false;
    for (int half = 0; half < 2; ++half) {
        const Half& ids = kHalves[half];
        if (id == ids.count && code == ui::EN_CHANGE) {
            // the grid lists one distance per gap of the new count
            store();
            m_loading = true;
            loadDistances(half);
            m_loading = false;
            store();
            commit(pattern);
            return true;
        }
    }
    switch (code) {
    case ui::EN_CHANGE:
    case ui::CBN_SELCHANGE:
        changed();
        return true;
    case ui::BN_CLICKED:
        if (id == ui::IDOK || id == ui::IDCANCEL) return false;
        enableControls();
        changed();
        return true;
    default:
        return false;
    }
}

void DlgMacroPatternProps::dataChanged(sheet::SpreadControl&, int, int) {
    changed();
}

void DlgMacroPatternProps::onOK() {
    m_grids[0].SetEditMode(false);
    m_grids[1].SetEditMode(false);
    changed();
    endDialog(ui::IDOK);
}

void DlgMacroPatternProps::onCancel() {
    // what was committed while the dialog was open is taken back
    m_loading = true;
    pattern = m_original;
    commit(m_original);
    endDialog(ui::IDCANCEL);
}

namespace {
const bool registered = registerJsonLauncher(
    "StartDlgMacroPatternProps",
    [](const nlohmann::json& in, nlohmann::json& out) {
        MacroData macros;
        const Vor_String wanted(in.value("pattern", std::string()));
        const int tab = macrosForLauncher(in, macros, [&wanted](const MacroTabData& t) {
            for (const MacroPatternProps& p : t.patterns)
                if (wanted.isEmpty() || p.name == wanted) return true;
            return false;
        });
        int index = 0;
        if (!wanted.isEmpty()) macros.tabs[tab].findPatternWithName(wanted, &index);
        out["result"] = editPatternAt(macros, tab, index, -1);
        out["pattern"] = macros.tabs[tab].patterns[index];
        out["data"] = macros;
    },
    R"({"macros": ["M1", "M2"], "tab": "Endplate", "pattern": "Bolts"})");
} // namespace
