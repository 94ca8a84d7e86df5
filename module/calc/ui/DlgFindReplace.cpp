#include "calc/ui/DlgFindReplace.h"

#include "frame/CatalogueTexts.h"
#include "frame/WindowPlacement.h"

#include <host/Texts.h>
#include <ui/Agent.h>

namespace {
constexpr const char* kPlacementKey = "DLG_FINDREPLACE";

// Every grid of the module gets this window from its find command.
const bool registered =
    (Vor_Spread::setFindWindowFactory([](Vor_Spread& grid) -> std::unique_ptr<SpreadFindWindow> {
         return std::make_unique<DlgFindReplace>(grid);
     }),
     true);
} // namespace

DlgFindReplace::DlgFindReplace(Vor_Spread& grid)
    : ui::Dialog(IDD)
    , m_grid(grid) {}

bool DlgFindReplace::onInitDialog() {
    restoreWindowPlacement(this, kPlacementKey, true, 0, 0);
    return true;
}

void DlgFindReplace::onDestroy() {
    saveWindowPlacement(this, kPlacementKey);
}

void DlgFindReplace::close() {
    if (exists()) destroyWindow();
}

// texts: dialString 9010-9016
void DlgFindReplace::setTexts(bool replace) {
    setWindowText(dialString(replace ? 9010 : 1146).str());
    const std::pair<int, int> texts[] = {{IDC_FINDLABEL, 9011},
                                         {IDC_REPLACELABEL, 9012},
                                         {IDC_FINDNEXT, 9013},
                                         {IDC_REPLACE, 9014},
                                         {IDC_KEYS, replace ? 9015 : 9016}};
    setCatalogueTexts(*this, texts);
}

void DlgFindReplace::layOut(bool replace) {
    ui::Control* find = item(IDC_FIND);
    ui::Control* with = item(IDC_REPLACEWITH);
    for (int id : {int(IDC_REPLACEWITH), int(IDC_REPLACE), int(IDC_REPLACELABEL)})
        if (ui::Control* c = item(id)) c->showWindow(replace ? ui::SW_SHOW : ui::SW_HIDE);
    if (replace == m_replaceShown || !find || !with) return;
    const ui::Rect row = with->windowRect();
    const int step = row.top - find->windowRect().top;
    const int dy = replace ? step : -step;
    // Rows below the replace row move up into its place (and back down when it returns).
    if (!replace) {
        m_movedIds.clear();
        for (ui::Control* c : controls())
            if (c->windowRect().top >= row.bottom) m_movedIds.push_back(c->id());
    }
    for (int id : m_movedIds)
        if (ui::Control* c = item(id)) {
            const ui::Rect r = c->windowRect(); // on the screen; controls move in the dialog's client area
            const ui::Point at = screenToClient({r.left, r.top});
            c->moveWindow(ui::Rect::fromSize(at.x, at.y + dy, r.width(), r.height()));
        }
    ui::Rect w = windowRect();
    moveWindow(ui::Rect::fromSize(w.left, w.top, w.width(), w.height() + dy));
    m_replaceShown = replace;
}

void DlgFindReplace::show(bool replace) {
    if (!exists() && !create()) return;
    setTexts(replace);
    layOut(replace);
    showWindow(ui::SW_SHOW);
    gotoDlgCtrl(IDC_FIND);
}

Vor_String DlgFindReplace::findText() const {
    ui::Control* c = item(IDC_FIND);
    return c ? Vor_String(c->text()) : Vor_String();
}

Vor_String DlgFindReplace::searchText(const Vor_Spread& grid, int col, int row) {
    Vor_String t;
    if (grid.getText(col, row, kTextFormula, t) && !t.isEmpty()) return Vor_String("=" + t.str());
    grid.getText(col, row, kTextValue, t);
    return t;
}

bool DlgFindReplace::writeReplaced(Vor_Spread& grid, int col, int row, const Vor_String& text) {
    Vor_String formula;
    if (grid.getText(col, row, kTextFormula, formula) && !formula.isEmpty()) {
        const std::string& t = text.str();
        // A formula stays a formula: without its '=' it would become a constant.
        if (t.size() < 2 || t[0] != '=') return false;
        return grid.setFormula(col, row, Vor_String(t.substr(1)));
    }
    return grid.setText(col, row, text);
}

SpreadSearch DlgFindReplace::search() const {
    const Vor_Spread& g = m_grid;
    return SpreadSearch([&g](int col, int row) { return searchText(g, col, row); }, g.maxCols(), g.maxRows());
}

void DlgFindReplace::showMatch(const SpreadMatch& m, int length) {
    m_grid.SetActiveCell(m.col, m.row);
    if (!m_grid.GetEditMode()) m_grid.SetEditMode(true);
    m_grid.SetSel(m.pos, m.pos + length);
}

bool DlgFindReplace::findNext() {
    const Vor_String what = findText();
    if (what.isEmpty() || !m_grid.attached()) return false;
    const int length = SpreadSearch::charsBefore(what, what.length());
    SpreadSearch s = search();
    int col = 1, row = 1;
    m_grid.GetActiveCell(col, row);
    int start, end;
    if (m_grid.GetEditMode() && m_grid.GetSel(start, end) && end > start) {
        if (auto m = s.findInCell(col, row, what, start + 1)) {
            showMatch(*m, length);
            return true;
        }
    }
    if (auto m = s.findFrom(col + 1, row, what)) {
        showMatch(*m, length);
        return true;
    }
    int again = ui::messageBox(dialString(1142).str() + "\n" + dialString(1143).str() + "\n",
                               dialString(1144).str(), ui::MB_YESNO | ui::MB_ICONQUESTION, this);
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
    m_grid.SetEditMode(false);
    int count = 0;
    {
        Vor_Spread::ChangeScope change(m_grid); // one step to undo, however many cells
        count = search().replaceAll(what, with ? Vor_String(with->text()) : Vor_String(),
                                    [this](int col, int row, const Vor_String& t) {
                                        m_grid.aboutToChange({col, row, col, row});
                                        return writeReplaced(m_grid, col, row, t);
                                    });
        if (count > 0) {
            m_grid.setChanged(true);
            int col = 1, row = 1;
            m_grid.GetActiveCell(col, row);
            m_grid.changedByCode(col, row); // the owner's view of the cells (an edit bar) follows
        }
    }
    ui::messageBox(dialString(1147).str() + " " + std::to_string(count) + " " + dialString(1148).str(),
                   dialString(1149).str(), ui::MB_OK | ui::MB_ICONINFORMATION, this);
    m_grid.Redraw();
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
        // Without the replace row in sight F5 first shows it: nothing is replaced by a text the
        // person cannot see.
        if (!m_replaceShown)
            show(true);
        else
            replaceAll();
        return true;
    }
    return false;
}
