#include "macro/ui/DlgMacroDesignerPage.h"

#include "frame/CatalogueTexts.h"
#include "macro/EditTabRecords.h"
#include "macro/ui/DlgArray.h"

#include <host/Texts.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>
#include <ui/Resources.h>

#include <algorithm>

namespace {
// texts: dialString 10553
constexpr int kTextNameHeading = 10553; ///< heading of the grid's name column
constexpr int kTextValueHeading = 86;   ///< "Value"
constexpr int kMargin = 4;              ///< pixels around and between the parts of the page
constexpr int kRowHeight = 20;          ///< pixels of a grid row, the heading included

} // namespace

bool DlgMacroDesignerPage::onInitDialog() {
    static constexpr std::pair<int, int> kTexts[] = {
        {IDC_ASSEMBLY_LABEL, 275}, {IDC_DIAMETER_LABEL, 328}, {IDC_BOLTS_ADVANCED, 968}};
    setCatalogueTexts(*this, kTexts);
    m_grid.attach(this, IDC_GRID);
    m_grid.setStandardLook(1);
    m_grid.setOwnerListener(this);
    loadFromTab();
    return true;
}

void DlgMacroDesignerPage::onDestroy() {
    m_binding.close();
}

void DlgMacroDesignerPage::loadFromTab() {
    if (!exists()) return;
    m_loading = true;
    setRedraw(false); // the page is built in one go
    if (!m_binding.isOpen()) {
        // the picture's top-left corner sits at the page's margin; its size is the template's
        const ui::Rect frame = ui::Rect::fromSize(kMargin, kMargin, 0, 0);
        m_picture = {};
        if (m_binding.open(frame)) {
            int w = 0, h = 0;
            m_binding.designed().engine().getImageSize(w, h);
            m_picture = ui::Rect::fromSize(kMargin, kMargin, w, h);
        }
    }
    m_binding.bind();
    fillGrid();
    fillBoltRow();
    layOut();
    setRedraw(true);
    invalidate();
    m_loading = false;
}

void DlgMacroDesignerPage::fillGrid() {
    MacroTabData& t = tab();
    m_grid.SetEditMode(false);
    Vor_Array<Vor_StringArray> rows;
    Vor_Array<bool> editable;
    // each listed element's reference becomes minus its row, so that a positive one always names a
    // designed control and a negative one a row here
    for (MacroCell& c : t.cells) {
        if (c.ctrlRef > 0) continue;
        rows.append({c.name, c.value});
        editable.append(!c.flag);
        c.ctrlRef = -rows.length();
    }
    if (t.kind == kTabDesignedBolts)
        for (MacroPatternProps& p : t.patterns) {
            if (p.getCount(0) == -1 || m_binding.showsName(p.name, ctBoltCount1, ctPatternButton)) continue;
            rows.append({p.name, dialString(969)});
            editable.append(false);
            p.btnId = -rows.length();
        }
    for (DynArrayData& a : t.arrays) {
        if (m_binding.showsName(a.name, ctArrayEdit1, ctArrayButton)) continue;
        rows.append({a.name, dialString(969)});
        editable.append(false);
        a.btnId = -rows.length();
    }
    m_rows = rows.length();
    m_grid.setMaxCols(kCols);
    m_grid.setMaxRows(m_rows);
    m_grid.setText(kColName, 0, dialString(kTextNameHeading));
    m_grid.setText(kColValue, 0, dialString(kTextValueHeading));
    sheet::CellType fixedType, editType;
    m_grid.SetTypeStaticText(fixedType, 0);
    m_grid.SetTypeEdit(editType, 0, 255);
    for (int r = 1; r <= m_rows; ++r) {
        m_grid.setRow(r, rows[r - 1]);
        m_grid.SetCellTypeRange(kColName, r, kColName, r, fixedType);
        m_grid.SetCellTypeRange(kColValue, r, kColValue, r, editable[r - 1] ? editType : fixedType);
    }
    m_grid.fitColumn(kColName);
    m_grid.fitColumn(kColValue);
    ShowOrHideCtrl(this, IDC_GRID, m_rows > 0);
}

void DlgMacroDesignerPage::storeGrid() {
    MacroTabData& t = tab();
    for (MacroCell& c : t.cells) {
        const int row = -c.ctrlRef;
        if (c.ctrlRef >= 0 || row > m_rows || c.flag) continue;
        Vor_String v;
        if (m_grid.getText(kColValue, row, kTextData, v)) c.value = v;
    }
}

void DlgMacroDesignerPage::fillBoltRow() {
    const MacroTabData& t = tab();
    ShowOrHideCtrl(this,
                   {IDC_ASSEMBLY_LABEL, IDC_ASSEMBLY, IDC_DIAMETER_LABEL, IDC_DIAMETER, IDC_BOLTS_ADVANCED},
                   t.hasBolts);
    if (!t.hasBolts) return;
    Vor_StringArray assemblies;
    GetAssemblies(assemblies);
    // merged macros of different assemblies show the varies entry first
    if (isVaries(t.bolts.assembly)) assemblies.insertAt(0, variesText());
    int at = -1;
    if (!assemblies.find(t.bolts.assembly, at)) at = -1;
    FillCombo(this, IDC_ASSEMBLY, assemblies, at);
    fillDiameters(t.bolts.assembly, t.bolts.diameter);
}

void DlgMacroDesignerPage::fillDiameters(const Vor_String& assembly, const Vor_String& current) {
    Vor_StringArray diameters;
    if (!isVaries(assembly)) GetDiameters(assembly, diameters);
    if (isVaries(current)) diameters.insertAt(0, variesText());
    int at = -1;
    if (!diameters.find(current, at)) at = -1;
    FillCombo(this, IDC_DIAMETER, diameters, at);
}

void DlgMacroDesignerPage::layOut() {
    int y = m_picture.isEmpty() ? kMargin : m_picture.bottom + kMargin;
    const int width = std::max(m_picture.width(), ui::dluToPixelsX(300));
    if (ui::Control* g = item(IDC_GRID); g && m_rows > 0) {
        const int h = (std::min(m_rows, kMaxVisibleRows) + 1) * kRowHeight + 2;
        g->moveWindow(kMargin, y, width, h);
        y += h + kMargin;
    }
    if (tab().hasBolts) {
        // wide enough for the Dutch label "Samenstelling" and button "Geavanceerd..."
        const int aw = ui::dluToPixelsX(60), dw = ui::dluToPixelsX(40), cw = ui::dluToPixelsX(62),
                  bw = ui::dluToPixelsX(66);
        const int h = ui::dluToPixelsY(12), lh = ui::dluToPixelsY(8);
        int x = kMargin;
        const std::pair<int, int> parts[] = {
            {IDC_ASSEMBLY_LABEL, aw}, {IDC_ASSEMBLY, cw}, {IDC_DIAMETER_LABEL, dw}, {IDC_DIAMETER, cw}};
        for (const auto& [id, w] : parts) {
            if (ui::Control* c = item(id))
                c->moveWindow(
                    x, (id == IDC_ASSEMBLY_LABEL || id == IDC_DIAMETER_LABEL) ? y + (h - lh) / 2 : y, w, h);
            x += w + kMargin;
        }
        if (ui::Control* c = item(IDC_BOLTS_ADVANCED)) c->moveWindow(x, y, bw, h);
    }
}

ui::Size DlgMacroDesignerPage::neededSize() const {
    int right = 0, bottom = 0;
    if (!m_picture.isEmpty()) {
        right = m_picture.right;
        bottom = m_picture.bottom;
    }
    for (int id : {IDC_GRID, IDC_ASSEMBLY, IDC_DIAMETER, IDC_BOLTS_ADVANCED}) {
        const ui::Control* c = item(id);
        if (!c || !c->isVisible()) continue;
        const ui::Rect r = c->windowRect();
        const ui::Point tl = screenToClient({r.left, r.top});
        right = std::max(right, tl.x + r.width());
        bottom = std::max(bottom, tl.y + r.height());
    }
    return {right + kMargin, bottom + kMargin};
}

bool DlgMacroDesignerPage::storeToTab() {
    finishEdits();
    m_binding.store();
    storeGrid();
    MacroTabData& t = tab();
    if (t.hasBolts) {
        // the varies entry leaves each macro's own assembly and diameter
        if (const ui::Control* c = item(IDC_ASSEMBLY); c && c->curSel() >= 0) {
            const Vor_String a(c->itemText(c->curSel()));
            if (!isVaries(a)) t.bolts.assembly = a;
        }
        if (const ui::Control* c = item(IDC_DIAMETER); c && c->curSel() >= 0) {
            const Vor_String d(c->itemText(c->curSel()));
            if (!isVaries(d)) t.bolts.diameter = d;
        }
    }
    return true;
}

void DlgMacroDesignerPage::finishEdits() {
    if (m_grid.attached()) m_grid.SetEditMode(false);
}

void DlgMacroDesignerPage::commit() {
    if (m_loading) return;
    host().commitPage(*this);
    // what the drawing now holds (a flex button fixes cells, a dimension wrote its linked values)
    loadFromTab();
}

bool DlgMacroDesignerPage::onCommand(int id, int code) {
    if (m_loading) return false;
    switch (m_binding.onCommand(id, code)) {
    case DesignedTabBinding::Result::Changed:
        commit();
        return true;
    case DesignedTabBinding::Result::Committed:
        loadFromTab();
        return true;
    case DesignedTabBinding::Result::Ignored:
        return true;
    case DesignedTabBinding::Result::NotMine:
        break;
    }
    switch (id) {
    case IDC_ASSEMBLY:
        if (code == ui::CBN_SELCHANGE) {
            // another assembly offers its own diameters; the one chosen stays when it has it
            const ui::Control* a = item(IDC_ASSEMBLY);
            const ui::Control* d = item(IDC_DIAMETER);
            const Vor_String assembly(a && a->curSel() >= 0 ? a->itemText(a->curSel()) : std::string());
            const Vor_String diameter(d && d->curSel() >= 0 ? d->itemText(d->curSel()) : std::string());
            fillDiameters(assembly, diameter);
            if (ui::Control* dc = item(IDC_DIAMETER); dc && dc->curSel() < 0 && dc->count() > 0)
                dc->setCurSel(0);
            commit();
        }
        return true;
    case IDC_DIAMETER:
        if (code == ui::CBN_SELCHANGE) commit();
        return true;
    case IDC_BOLTS_ADVANCED:
        if (code == ui::BN_CLICKED) {
            storeToTab(); // the bolt dialog starts from what the row shows
            if (editBoltsOfTab(host().macroData(), tabIndex(), host().registrySlot())) loadFromTab();
        }
        return true;
    default:
        return false;
    }
}

bool DlgMacroDesignerPage::preTranslateKey(const ui::KeyEvent& key) {
    Vor_TabMsgHandle moved;
    if (!m_binding.designed().handleTabKey(key, moved)) return false;
    // past the designed controls the focus goes on to the page's own
    if (moved == tmPastLast || moved == tmBeforeFirst) {
        const int next = m_rows > 0 ? IDC_GRID : IDC_ASSEMBLY;
        if (ui::Control* c = item(next); c && c->isVisible()) c->setFocus();
    }
    return true;
}

void DlgMacroDesignerPage::dataChanged(sheet::SpreadControl&, int col, int row) {
    if (m_loading || col != kColValue || row < 1 || row > m_rows) return;
    commit();
}

void DlgMacroDesignerPage::doubleClick(sheet::SpreadControl&, int, int row) {
    if (m_loading || row < 1 || row > m_rows) return;
    MacroTabData& t = tab();
    MacroPageHost& h = host();
    // a pattern's or an array's row opens its dialog, which writes into the drawing itself
    if (t.findPatternWithBtnId(-row)) {
        editPatternOfTab(h.macroData(), tabIndex(), -row, h.registrySlot());
        loadFromTab();
    } else if (t.findArrayWithBtnId(-row)) {
        if (editArrayOfTab(h.macroData(), tabIndex(), -row, h.registrySlot())) loadFromTab();
    }
}
