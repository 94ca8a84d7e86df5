#include "calc/ui/DlgFindReplace.h"

#include "calc/Vor_Spread.h"
#include "frame/WindowPlacement.h"

#include <host/Texts.h>
#include <ui/Agent.h>

namespace {
constexpr const char* kPlacementKey = "DLG_FINDREPLACE";
}

DlgFindReplace::DlgFindReplace(Vor_Spread& grid) : ui::Dialog(IDD), m_grid(grid) {}

bool DlgFindReplace::onInitDialog() {
    restoreWindowPlacement(this, kPlacementKey, true, 0, 0);
    return true;
}

void DlgFindReplace::onDestroy() { saveWindowPlacement(this, kPlacementKey); }

void DlgFindReplace::show(bool replace) {
    if (!exists() && !create()) return;
    for (int id : {int(IDC_REPLACEWITH), int(IDC_REPLACE), 1208})
        if (ui::Control* c = item(id)) c->showWindow(replace ? ui::SW_SHOW : ui::SW_HIDE);
    showWindow(ui::SW_SHOW);
    gotoDlgCtrl(IDC_FIND);
}

Vor_String DlgFindReplace::findText() const {
    ui::Control* c = item(IDC_FIND);
    return c ? Vor_String(c->text()) : Vor_String();
}

SpreadSearch DlgFindReplace::search() const {
    Vor_Spread& g = m_grid;
    return SpreadSearch(
        [&g](int col, int row) {
            Vor_String t;
            g.getText(col, row, kTextValue, t);
            return t;
        },
        g.maxCols(), g.maxRows());
}

void DlgFindReplace::showMatch(const SpreadMatch& m, int length) {
    m_grid.SetActiveCell(m.col, m.row);
    if (!sheet::SSGetEditMode(m_grid.handle())) sheet::SSSetEditMode(m_grid.handle(), true);
    sheet::SSSetSel(m_grid.handle(), m.pos, m.pos + length);
}

bool DlgFindReplace::findNext() {
    const Vor_String what = findText();
    if (what.isEmpty() || !m_grid.attached()) return false;
    const int length = SpreadSearch::charsBefore(what, what.length());
    SpreadSearch s = search();
    int col = 1, row = 1;
    m_grid.GetActiveCell(col, row);
    int start, end;
    if (sheet::SSGetEditMode(m_grid.handle()) && sheet::SSGetSel(m_grid.handle(), start, end) && end > start) {
        if (auto m = s.findInCell(col, row, what, start + 1)) {
            showMatch(*m, length);
            return true;
        }
    }
    if (auto m = s.findFrom(col + 1, row, what)) {
        showMatch(*m, length);
        return true;
    }
    int again = ui::messageBox(dialString(1142).str() + "\n" + dialString(1143).str() + "\n", dialString(1144).str(),
                               ui::MB_YESNO | ui::MB_ICONQUESTION, this);
    if (again != ui::IDYES) return false;
    if (auto m = s.findFrom(1, 1, what)) {
        showMatch(*m, length);
        return true;
    }
    ui::messageBox(dialString(1145).str(), dialString(1146).str(), ui::MB_OK | ui::MB_ICONINFORMATION, this);
    return false;
}

int DlgFindReplace::replaceAll() {
    const Vor_String what = findText();
    if (what.isEmpty() || !m_grid.attached()) return 0;
    ui::Control* with = item(IDC_REPLACEWITH);
    sheet::SSSetEditMode(m_grid.handle(), false);
    int count = search().replaceAll(what, with ? Vor_String(with->text()) : Vor_String(),
                                    [this](int col, int row, const Vor_String& t) { m_grid.setText(col, row, t); });
    if (count > 0) m_grid.setChanged(true);
    ui::messageBox(dialString(1147).str() + " " + std::to_string(count) + " " + dialString(1148).str(),
                   dialString(1149).str(), ui::MB_OK | ui::MB_ICONINFORMATION, this);
    m_grid.handle()->redraw();
    return count;
}

bool DlgFindReplace::onCommand(int id, int code) {
    if (code != ui::BN_CLICKED) return false;
    if (id == IDC_FINDNEXT) {
        findNext();
        return true;
    }
    if (id == IDC_REPLACE) {
        replaceAll();
        return true;
    }
    return false;
}

bool DlgFindReplace::preTranslateKey(const ui::KeyEvent& key) {
    if (key.vk == ui::VK_F3) {
        findNext();
        return true;
    }
    if (key.vk == ui::VK_F5) {
        replaceAll();
        return true;
    }
    return false;
}
