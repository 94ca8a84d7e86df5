#include "macro/ui/DlgMacro.h"

#include "frame/CatalogueTexts.h"
#include "frame/LauncherTable.h"
#include "frame/WindowPlacement.h"
#include "macro/LauncherInput.h"
#include "macro/ui/DlgMacroDesignerPage.h"
#include "macro/ui/DlgMacroModeless.h"
#include "macro/ui/DlgMacroProfPage.h"
#include "macro/ui/DlgOpenSaveFiltered.h"

#include <cad/Pick.h>
#include <cad/aced.h>
#include <host/MacroLangs.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Agent.h>
#include <ui/Control.h>

#include <algorithm>

std::unique_ptr<DlgMacroPage> makeMacroPage(MacroPageHost& host, int tabIndex) {
    switch (host.macroData().tabs[tabIndex].kind) {
    case kTabDesigned:
    case kTabDesignedBolts:
    case kTabDesignedArrays:
        return std::make_unique<DlgMacroDesignerPage>(host, tabIndex);
    case kTabProfiles:
        return std::make_unique<DlgMacroProfPage>(host, tabIndex);
    default:
        return nullptr;
    }
}

namespace {
// The bitmap buttons of the top row: id, bitmap, tool tip.
struct PictureButton {
    int id;
    int bitmap;
    int tip;
};
constexpr PictureButton kPictureButtons[8] = {
    {DlgMacro::IDC_SELECT_OTHER, 217, 973}, {DlgMacro::IDC_VIEW_STANDARD, 218, 974},
    {DlgMacro::IDC_VIEW_FRONT, 220, 975},   {DlgMacro::IDC_VIEW_SIDE, 222, 976},
    {DlgMacro::IDC_VIEW_TOP, 221, 977},     {DlgMacro::IDC_CLASH, 237, 980},
    {DlgMacro::IDC_LOAD, 232, 978},         {DlgMacro::IDC_SAVE, 233, 979},
};

// How the controls follow the window: the tabs grow, the filters and buttons keep to the bottom.
std::vector<CResizer::Rule> resizerRules() {
    using R = CResizer;
    const R::Border left{R::eFixed, 0, R::eLeft}, right{R::eFixed, 0, R::eRight};
    const R::Border top{R::eFixed, 0, R::eTop}, bottom{R::eFixed, 0, R::eBottom};
    const R::Border keepWidth{R::eWidth, 0, R::eLeft}, keepHeight{R::eHeight, 0, R::eTop};
    const R::Border half{R::eProportional, 0, R::eRight};
    const R::Border fromHalf{R::eProportional, 0, R::eLeft};
    std::vector<R::Rule> rules = {
        {DlgMacro::IDC_TABS, left, top, right, bottom},
        {DlgMacro::IDC_FILTER1_GROUP, left, bottom, half, keepHeight},
        {DlgMacro::IDC_FILTER1, left, bottom, half, keepHeight},
        {DlgMacro::IDC_FILTER2_GROUP, fromHalf, bottom, right, keepHeight},
        {DlgMacro::IDC_FILTER2, fromHalf, bottom, right, keepHeight},
        {DlgMacro::IDC_REAPPLY, left, bottom, keepWidth, keepHeight},
        {ui::IDOK, keepWidth, bottom, right, keepHeight},
    };
    return rules;
}

int viewOfButton(int id) {
    switch (id) {
    case DlgMacro::IDC_VIEW_STANDARD:
        return 3;
    case DlgMacro::IDC_VIEW_FRONT:
        return 0;
    case DlgMacro::IDC_VIEW_SIDE:
        return 1;
    case DlgMacro::IDC_VIEW_TOP:
        return 2;
    default:
        return -1;
    }
}

// A tab's caption in the language of the interface (the library's translations, group "Macro").
Vor_String captionOf(const MacroTabData& tab) {
    return gMacroLangs.GetString("Macro", tab.caption);
}
} // namespace

DlgMacro::DlgMacro(ui::Window* parent)
    : ui::Dialog(IDD, parent) {}

DlgMacro::~DlgMacro() {
    // the pages are child windows of this dialog: they go before it
    destroyPages();
}

std::string DlgMacro::placementName() const {
    std::string page = "EDITVARS_";
    if (data.ids.length() != 1) {
        const int i = data.filter1Index;
        if (!data.groupKeys.isEmpty() && i >= 0 && i < data.groupKeys.length())
            page += "GROUP_" + data.groupKeys[i].str();
        else
            page += std::to_string(data.ids.length()) + "_MACROS";
    } else if (!data.macroNames.isEmpty()) {
        page += data.macroNames[0].str();
    }
    return safePlacementKey("DLG_MACRO_" + page);
}

DlgMacroPage* DlgMacro::pageOfTab(int tab) const {
    return tab >= 0 && tab < static_cast<int>(m_pages.size()) ? m_pages[tab].get() : nullptr;
}

int DlgMacro::tabOfControlTab(int ctrlTab) const {
    return ctrlTab >= 0 && ctrlTab < static_cast<int>(m_tabOfCtrl.size()) ? m_tabOfCtrl[ctrlTab] : -1;
}

int DlgMacro::currentTab() const {
    return tabOfControlTab(m_tabbed.current());
}

bool DlgMacro::showTab(int tab) {
    const auto it = std::find(m_tabOfCtrl.begin(), m_tabOfCtrl.end(), tab);
    if (it == m_tabOfCtrl.end()) return false;
    m_tabbed.show(static_cast<int>(it - m_tabOfCtrl.begin()));
    m_pagesShown = true;
    m_currentPage = tab;
    return true;
}

bool DlgMacro::onInitDialog() {
    const std::pair<int, int> texts[] = {
        {IDC_FILTER1_GROUP, 755}, {IDC_FILTER2_GROUP, 981}, {IDC_REAPPLY, 982}, {ui::IDOK, 285}};
    setCatalogueTexts(*this, texts);
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const PictureButton& b = kPictureButtons[i];
        if (!m_buttons[i].subclassDlgItem(b.id, this)) continue;
        m_buttons[i].setBitmaps(b.bitmap, ui::rgb(192, 192, 192));
        m_buttons[i].setTooltipText(dialString(b.tip));
    }
    setWindowText(data.dialogTitle.str());
    m_resizer.init(this, resizerRules());

    m_tabbed.attach(this, IDC_TABS);
    buildPages();
    int active = -1;
    if (data.findTab(data.activeTabName, active) && showTab(active) && data.openProfileDetails) {
        if (DlgMacroPage* page = pageOfTab(active); page && page->isProfilePage()) page->openAdvanced();
    }
    fillFilters();
    restoreWindowPlacement(this, placementName(), true, kFirstMinSize.cx, kFirstMinSize.cy);
    fitSize();
    clashInitDlgStarted(registryIndex);
    clashResetInfo(registryIndex, data.ids);
    refreshClashBox();
    return false; // the shown page has the focus
}

void DlgMacro::destroyPages() {
    m_tabbed.destroy();
    m_pages.clear();
    m_pageKinds.clear();
    m_tabOfCtrl.clear();
    m_currentPage = -1;
}

void DlgMacro::buildPages() {
    const int remembered = std::max(0, m_tabbed.current());
    ui::Control* tabs = item(IDC_TABS);
    setRedraw(false);
    if (tabs) tabs->resetContent();
    destroyPages();
    m_tabbed.attach(this, IDC_TABS);

    const int n = data.tabs.length();
    m_pages.resize(n);
    m_pageKinds.resize(n, -1);
    for (int i = 0; i < n; ++i) {
        m_pageKinds[i] = data.tabs[i].kind;
        std::unique_ptr<DlgMacroPage> page = makeMacroPage(*this, i);
        if (!page) continue; // a kind without a page: no tab label either
        if (m_tabbed.addPage(*page, captionOf(data.tabs[i]).str()) < 0) continue; // window not made
        page->loadFromTab();
        m_tabOfCtrl.push_back(i);
        m_pages[i] = std::move(page);
    }
    m_tabbed.place();
    if (!m_tabOfCtrl.empty()) {
        const int ctrl = std::min(remembered, static_cast<int>(m_tabOfCtrl.size()) - 1);
        m_tabbed.show(ctrl);
        m_pagesShown = true;
        m_currentPage = m_tabOfCtrl[ctrl];
    }
    setRedraw(true);
    enableFileButtons();
}

void DlgMacro::enableFileButtons() {
    Vor_String folder;
    const bool allowed = data.propListAllowed(folder);
    EnDisCtrl(this, {IDC_LOAD, IDC_SAVE}, allowed);
}

void DlgMacro::fillFilters() {
    FillCombo(this, IDC_FILTER1, data.filter1, data.filter1Index);
    FillCombo(this, IDC_FILTER2, data.filter2, data.filter2Index);
}

void DlgMacro::refreshClashBox() {
    if (ui::Control* c = item(IDC_CLASH)) c->setCheck(clashGetStatus() ? ui::BST_CHECKED : ui::BST_UNCHECKED);
}

ui::Size DlgMacro::wantedMinSize() const {
    if (!m_resized) return kFirstMinSize;
    int w = 0, h = 0;
    for (const auto& p : m_pages)
        if (p) {
            const ui::Size s = p->neededSize();
            w = std::max(w, s.cx);
            h = std::max(h, s.cy);
        }
    return {std::max(w + kPageMarginX, kMinWidthWithPages), h + kPageMarginY};
}

void DlgMacro::fitSize() {
    if (!exists()) return;
    m_resized = true; // the pages are known now: their sizes rule
    const ui::Size want = wantedMinSize();
    setMinTrackSize(want);
    const ui::Rect r = windowRect();
    int w = std::max(r.right - r.left, want.cx);
    int h = std::max(r.bottom - r.top, want.cy);
    if (w != r.right - r.left || h != r.bottom - r.top) moveWindow(r.left, r.top, w, h);
}

void DlgMacro::onSize(int, int) {
    if (!m_resizer.isInitialized()) return;
    m_resized = true;
    m_resizer.move();
    m_tabbed.place();
    growToPages();
}

void DlgMacro::growToPages() {
    // the pages fit whole in the tab control as this layout places it
    const ui::Control* tabs = item(IDC_TABS);
    if (m_sizing || !tabs) return;
    const ui::Rect area = tabs->displayArea();
    int dx = 0, dy = 0;
    for (const auto& p : m_pages)
        if (p) {
            const ui::Size need = p->neededSize();
            dx = std::max(dx, need.cx - area.width());
            dy = std::max(dy, need.cy - area.height());
        }
    if (dx <= 0 && dy <= 0) return;
    const ui::Rect r = windowRect();
    m_sizing = true;
    moveWindow(r.left, r.top, r.width() + std::max(dx, 0), r.height() + std::max(dy, 0));
    m_sizing = false;
}

void DlgMacro::reloadPages() {
    for (auto& p : m_pages)
        if (p) p->loadFromTab();
}

bool DlgMacro::commitPage(DlgMacroPage& page) {
    const int tab = page.tabIndex();
    if (tab < 0 || tab >= data.tabs.length()) return false;
    const MacroTabData before = data.tabs[tab];
    if (!page.storeToTab()) {
        data.tabs[tab] = before;
        return false;
    }
    Vor_StringArray names;
    Vor_Array<int> first, second;
    if (!data.tabs[tab].differences(before, names, first, second)) return true;
    const bool ok = UpdateModule(data.tabs[tab].moduleName, data, first, second);
    clashcheck(registryIndex, data.ids);
    return ok;
}

bool DlgMacro::commitAllPages() {
    bool ok = true;
    for (auto& p : m_pages) {
        if (!p) continue;
        p->finishEdits();
        const int tab = p->tabIndex();
        const MacroTabData before = data.tabs[tab];
        if (!p->storeToTab()) {
            data.tabs[tab] = before;
            ok = false;
            continue;
        }
        Vor_StringArray names;
        Vor_Array<int> first, second;
        if (data.tabs[tab].differences(before, names, first, second))
            ok = UpdateModule(data.tabs[tab].moduleName, data, first, second) && ok;
    }
    clashcheck(registryIndex, data.ids);
    return ok;
}

void DlgMacro::hideForPick() {
    BeginEditorCommand(this);
}

void DlgMacro::showAfterPick() {
    CompleteEditorCommand(this, true);
}

bool DlgMacro::loadPropertyFile() {
    DlgMacroPage* shown = pageOfTab(currentTab());
    const ui::Control* focused = shown ? shown->focusControl() : nullptr;
    const int focusId = focused ? focused->id() : 0;
    Vor_String folder;
    if (!data.propListAllowed(folder)) return false;

    DlgOpenSaveFiltered dlg;
    dlg.mode = 0;
    dlg.folder = folder;
    data.getPropFiles(dlg.folder, dlg.extension, dlg.allNames, dlg.filteredNames);
    if (dlg.doModal() != ui::IDOK) return false;

    const MacroData kept = data;
    int notSet = 0;
    Vor_String error;
    if (!data.readFromFile(dlg.folder + dlg.resultName + dlg.extension, notSet, &error)) {
        // nothing of a file that could not be read reaches the pages or the drawing
        data = kept;
        ui::messageBox((dialString(10600) + "\n" + error).str(), dialString(1126).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return false;
    }
    Vor_StringArray names;
    Vor_Array<Vor_Array<int>> first, second;
    data.differences(kept, names, first, second);
    if (notSet != 0) {
        const Vor_String text = dialString(1507) + ".\n" + dialString(1508) + " " + Vor_String(notSet) + " " +
                                dialString(1509) + ".\n\n" + dialString(1510);
        ui::messageBox(text.str(), dialString(1126).str(), ui::MB_OK | ui::MB_ICONINFORMATION, this);
    }
    removeAll(first, kChangedDrawingFile);
    bool ok = setAllToMacro(data, first, second);
    if (!ok) {
        // the drawing refused part of it: put back what was there and show that
        Vor_Array<Vor_Array<int>> back1, back2;
        kept.differences(data, names, back1, back2);
        data = kept;
        removeAll(back1, kChangedDrawingFile);
        setAllToMacro(data, back1, back2);
        ui::messageBox(dialString(10601).str(), dialString(1126).str(), ui::MB_OK | ui::MB_ICONEXCLAMATION,
                       this);
    }
    reloadPages();
    if (shown && focusId) shown->gotoDlgCtrl(focusId);
    refreshClashBox();
    clashcheck(registryIndex, data.ids);
    return ok;
}

bool DlgMacro::savePropertyFile() {
    commitAllPages();
    Vor_String folder;
    if (!data.propListAllowed(folder)) return false;
    DlgOpenSaveFiltered dlg;
    dlg.mode = 1;
    dlg.folder = folder;
    data.getPropFiles(dlg.folder, dlg.extension, dlg.allNames, dlg.filteredNames);
    if (dlg.doModal() != ui::IDOK) return false;
    Vor_String error;
    if (!data.writeToFile(dlg.folder + dlg.resultName + dlg.extension, &error)) {
        ui::messageBox((dialString(10602) + "\n" + error).str(), dialString(1127).str(),
                       ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
        return false;
    }
    return true;
}

void DlgMacro::filterChanged(bool first) {
    if (const ui::Control* c = item(IDC_FILTER1)) data.filter1Index = std::max(0, c->curSel());
    if (const ui::Control* c = item(IDC_FILTER2)) data.filter2Index = std::max(0, c->curSel());
    UpdateAllFilterModified(data, first);
    buildPages();
    fillFilters();
    fitSize();
}

void DlgMacro::selectOtherMacros() {
    hideForPick();
    const bool changed = SelectOtherMacros(data);
    showAfterPick();
    if (!changed) return;
    setWindowText(data.dialogTitle.str());
    buildPages();
    fillFilters();
    clashResetInfo(registryIndex, data.ids);
    fitSize();
}

bool DlgMacro::onCommand(int id, int code) {
    if (id == IDC_TABS && code == ui::TCN_SELCHANGE) {
        m_tabbed.onCommand(id, code);
        m_pagesShown = true;
        m_currentPage = currentTab();
        return true;
    }
    if ((id == IDC_FILTER1 || id == IDC_FILTER2) && code == ui::CBN_SELCHANGE) {
        filterChanged(id == IDC_FILTER1);
        return true;
    }
    if (code != ui::BN_CLICKED) return false;
    if (const int view = viewOfButton(id); view >= 0) {
        const DlgMacroPage* page = pageOfTab(currentTab());
        data.changeView(page ? page->tab().moduleName : Vor_String(), view);
        return true;
    }
    switch (id) {
    case IDC_SELECT_OTHER:
        selectOtherMacros();
        return true;
    case IDC_CLASH:
        if (const ui::Control* c = item(IDC_CLASH)) clashSetStatus(c->checkState() == ui::BST_CHECKED);
        return true;
    case IDC_LOAD:
        loadPropertyFile();
        return true;
    case IDC_SAVE:
        savePropertyFile();
        return true;
    case IDC_REAPPLY:
        if (data.reApply()) closeProcedure();
        return true;
    default:
        return false;
    }
}

void DlgMacro::closeProcedure() {
    const DlgMacroPage* page = pageOfTab(currentTab());
    data.changeView(page ? page->tab().moduleName : Vor_String(), 3);
    data.closedByUser = true;
    if (registryIndex >= 0) {
        EndDlgMacroModeless(registryIndex);
    } else {
        acedPostCommandPrompt();
        endDialog(ui::IDOK);
    }
}

void DlgMacro::onDestroy() {
    saveWindowPlacement(this, placementName());
    clashDlgClosed(registryIndex);
    m_resizer.reset();
    if (ui::Control* tabs = item(IDC_TABS)) tabs->resetContent();
    destroyPages();
}

void StartDlgMacro(MacroData& data) {
    DlgMacro dlg(nullptr);
    dlg.data = data;
    dlg.doModal();
    data = dlg.data;
}

namespace {
const bool registered = registerJsonLauncher(
    "StartDlgMacro",
    [](const nlohmann::json& in, nlohmann::json& out) {
        MacroData data;
        if (!readLauncherMacros(in, data, nullptr, out)) return;
        if (in.contains("activeTab")) data.activeTabName = in.at("activeTab").get<Vor_String>();
        StartDlgMacro(data);
        out["result"] = true;
        out["closedByUser"] = data.closedByUser;
        out["data"] = data;
    },
    R"({"macros": ["M1", "M2"]})");
} // namespace
