#include "designer/DlgDesigner.h"

#include "designer/DesignerFolder.h"
#include "designer/DesignerLayout.h"
#include "frame/LauncherTable.h"
#include "frame/ModuleResourceScope.h"
#include "frame/WindowPlacement.h"

#include <base/SafeFile.h>
#include <host/FileUtils.h>
#include <host/Texts.h>
#include <host/VorJson.h>
#include <host/ui/CtrlUtils.h>
#include <host/ui/DlgOpenSave.h>
#include <ui/Agent.h>
#include <ui/Control.h>
#include <ui/Menu.h>
#include <ui/Painter.h>

namespace {
constexpr const char* kPlacement = "DLG_DLGDESIGNER";
constexpr int kWindowIcon = 148;

struct IconButton {
    int id;
    int icon; ///< 0 for the two text buttons
};
// texts: dialString 9967-9976
/// The tool tip of each button of the bottom row, in the order of kButtons.
constexpr int kButtonTips[] = {9967, 9968, 9969, 9970, 9971, 9972, 9973, 9974, 9975, 9976};

/// The text of each menu command; the popups are Edit, Arrange and View.
struct MenuText {
    int id;
    int text;
};
// texts: dialString 9943-9966
// clang-format off
constexpr MenuText kMenuTexts[] = {
    {DlgDesigner::ID_UNDO, 9946},          {DlgDesigner::ID_REDO, 9947},
    {DlgDesigner::ID_COPY, 9948},          {DlgDesigner::ID_PASTE, 9949},
    {DlgDesigner::ID_DUPLICATE, 9950},     {DlgDesigner::ID_DELETE, 9951},
    {DlgDesigner::ID_SELECT_ALL, 9952},    {DlgDesigner::ID_ADD, 9953},
    {DlgDesigner::ID_ALIGN_LEFT, 9954},    {DlgDesigner::ID_ALIGN_RIGHT, 9955},
    {DlgDesigner::ID_ALIGN_TOP, 9956},     {DlgDesigner::ID_ALIGN_BOTTOM, 9957},
    {DlgDesigner::ID_ALIGN_CENTRE, 9958},  {DlgDesigner::ID_ALIGN_MIDDLE, 9959},
    {DlgDesigner::ID_DISTRIBUTE_ACROSS, 9960}, {DlgDesigner::ID_DISTRIBUTE_DOWN, 9961},
    {DlgDesigner::ID_SAME_WIDTH, 9962},    {DlgDesigner::ID_SAME_HEIGHT, 9963},
    {DlgDesigner::ID_SAME_SIZE, 9964},     {DlgDesigner::ID_SNAP, 9965},
    {DlgDesigner::ID_TAB_ORDER, 9966},
};
// clang-format on
constexpr int kPopupTexts[] = {9943, 9944, 9945};

/// The commands that line up, spread or size the selection, with how many controls each needs.
struct Arrangement {
    int id;
    std::size_t least;
    std::vector<ui::Rect> (*how)(std::vector<ui::Rect>);
};
const Arrangement kArrangements[] = {
    {DlgDesigner::ID_ALIGN_LEFT, 2,
     [](std::vector<ui::Rect> r) { return designer::align(std::move(r), designer::Align::Left); }},
    {DlgDesigner::ID_ALIGN_RIGHT, 2,
     [](std::vector<ui::Rect> r) { return designer::align(std::move(r), designer::Align::Right); }},
    {DlgDesigner::ID_ALIGN_TOP, 2,
     [](std::vector<ui::Rect> r) { return designer::align(std::move(r), designer::Align::Top); }},
    {DlgDesigner::ID_ALIGN_BOTTOM, 2,
     [](std::vector<ui::Rect> r) { return designer::align(std::move(r), designer::Align::Bottom); }},
    {DlgDesigner::ID_ALIGN_CENTRE, 2,
     [](std::vector<ui::Rect> r) { return designer::align(std::move(r), designer::Align::Centre); }},
    {DlgDesigner::ID_ALIGN_MIDDLE, 2,
     [](std::vector<ui::Rect> r) { return designer::align(std::move(r), designer::Align::Middle); }},
    {DlgDesigner::ID_DISTRIBUTE_ACROSS, 3,
     [](std::vector<ui::Rect> r) { return designer::distribute(std::move(r), true); }},
    {DlgDesigner::ID_DISTRIBUTE_DOWN, 3,
     [](std::vector<ui::Rect> r) { return designer::distribute(std::move(r), false); }},
    {DlgDesigner::ID_SAME_WIDTH, 2,
     [](std::vector<ui::Rect> r) { return designer::sameSize(std::move(r), true, false); }},
    {DlgDesigner::ID_SAME_HEIGHT, 2,
     [](std::vector<ui::Rect> r) { return designer::sameSize(std::move(r), false, true); }},
    {DlgDesigner::ID_SAME_SIZE, 2,
     [](std::vector<ui::Rect> r) { return designer::sameSize(std::move(r), true, true); }},
};

const IconButton kButtons[] = {
    {DlgDesigner::IDC_OPEN, 232},        {DlgDesigner::IDC_SAVE_AS, 233},    {DlgDesigner::IDC_ADD, 212},
    {DlgDesigner::IDC_REMOVE, 206},      {DlgDesigner::IDC_WIDTH, 235},      {DlgDesigner::IDC_HEIGHT, 236},
    {DlgDesigner::IDC_ALIGN_BOTTOMS, 0}, {DlgDesigner::IDC_PLACE_BESIDE, 0}, {DlgDesigner::IDC_COPY, 223},
    {DlgDesigner::IDC_PICTURE, 231},
};

// The rows below the picture keep their distance to the dialog's bottom edge; the picture area
// above grows. The list field spans the whole width: its hint names up to five fields.
std::vector<CResizer::Rule> resizerRules() {
    using R = CResizer::Rule;
    std::vector<R> rules = {
        {1015, {1, 0, 1}, {1, 0, 4}, {1, 0, 1}, {4, 0, 4}},
        {1017, {1, 0, 1}, {1, 0, 4}, {1, 0, 3}, {4, 0, 4}},
        {1016, {1, 1015, 3}, {1, 0, 4}, {1, 0, 3}, {4, 0, 4}},
        {1005, {1, 1015, 1}, {1, 0, 4}, {1, 1015, 3}, {4, 0, 4}},
        {1304, {1, 1016, 1}, {1, 0, 4}, {1, 1016, 3}, {4, 0, 4}},
        {1305, {1, 1017, 1}, {1, 0, 4}, {1, 1017, 3}, {4, 0, 4}},
        {1, {1, 0, 3}, {1, 0, 4}, {3, 0, 3}, {4, 0, 4}},
    };
    for (const IconButton& b : kButtons)
        rules.push_back({b.id, {1, 0, 1}, {1, 0, 4}, {3, 0, 3}, {4, 0, 4}});
    return rules;
}
} // namespace

bool DlgDesigner::onInitDialog() {
    m_engine.initialize(this, kFirstResId, kLastResId, IDC_TYPE_LIST, IDC_CONTENTS_GROUP, IDC_CONTENTS,
                        IDC_LIST_GROUP, IDC_LIST, true);
    setWindowIcon(ui::Image::fromResource(kWindowIcon));
    for (std::size_t k = 0; k < std::size(kButtons); ++k) {
        m_buttons[k].subclassDlgItem(kButtons[k].id, this);
        if (kButtons[k].icon) m_buttons[k].setIcon(kButtons[k].icon);
        m_buttons[k].setTooltipText(dialString(kButtonTips[k]));
    }
    if (ui::Menu* m = menu()) {
        for (const MenuText& t : kMenuTexts)
            m->setItemText(t.id, dialString(t.text).str());
        for (std::size_t i = 0; i < std::size(kPopupTexts); ++i)
            m->setPopupText(static_cast<int>(i), dialString(kPopupTexts[i]).str());
    }
    // texts: dialString 836, dialString 285
    if (ui::Control* c = item(IDC_TYPE_GROUP)) c->setText(dialString(836).str());
    if (ui::Control* c = item(ui::IDOK)) c->setText(dialString(285).str());
    if (ui::Control* c = item(IDC_ALIGN_BOTTOMS)) c->setText("_ _");
    if (ui::Control* c = item(IDC_PLACE_BESIDE)) c->setText("| |");
    setTitle();
    m_resizer.init(this, resizerRules());
    setMinTrackSize({350, 250});
    restoreWindowPlacement(this, kPlacement, false, 0, 0);
    setMouseTracking(true);
    m_modified = false;
    if (!m_startPath.isEmpty() && fileExists(m_startPath)) load(m_startPath);
    updateButtons();
    enableCommands();
    return true;
}

void DlgDesigner::enableCommands() {
    ui::Menu* m = menu();
    if (!m) return;
    const std::size_t selected = m_engine.getSelectedIds().size();
    m->enableItem(ID_UNDO, m_history.canUndo());
    m->enableItem(ID_REDO, m_history.canRedo());
    for (int id : {ID_COPY, ID_DUPLICATE, ID_DELETE})
        m->enableItem(id, selected > 0);
    m->enableItem(ID_PASTE, !m_clipboard.empty() && m_engine.hasPicture());
    m->enableItem(ID_ADD, m_engine.hasPicture());
    for (const Arrangement& a : kArrangements)
        m->enableItem(a.id, selected >= a.least);
    m->checkItem(ID_SNAP, m_engine.snapGrid() > 0);
    m->checkItem(ID_TAB_ORDER, m_engine.showsTabOrder());
}

void DlgDesigner::onInitMenuPopup(ui::Menu&) {
    enableCommands();
}

ui::Size DlgDesigner::viewSize() const {
    const ui::Rect client = clientRect();
    int bottom = client.bottom;
    if (const ui::Control* row = item(IDC_TYPE_GROUP)) bottom = screenToClient({0, row->windowRect().top}).y;
    return {client.width(), std::max(0, bottom)};
}

void DlgDesigner::scrollBy(int dx, int dy) {
    int w = 0, h = 0;
    m_engine.getImageSize(w, h);
    const ui::Point from = m_engine.viewOrigin();
    m_engine.setViewOrigin(designer::clampOrigin({from.x + dx, from.y + dy}, {w, h}, viewSize()));
}

void DlgDesigner::load(const Vor_String& path) {
    m_engine.removeAllDrawnCtrls();
    std::string error;
    if (!m_engine.readFromFile(path, true, &error)) {
        // A template that is not read cleanly is not opened: the open one stays as it was.
        m_engine.redrawAllControls();
        m_engine.updatePropsOfCurSel();
        // texts: dialString 9940
        showFault(9940, error);
        return;
    }
    m_engine.setViewOrigin({0, 0}); // another picture starts at its corner
    m_engine.redrawAllControls();
    m_engine.updatePropsOfCurSel();
    invalidate();
    m_modified = false;
    m_history.clear();
    setTitle();
    updateButtons();
}

void DlgDesigner::showFault(int text, const std::string& reason) {
    ui::messageBox(dialString(text).str() + ":\n" + reason, dialString(843).str(),
                   ui::MB_OK | ui::MB_ICONEXCLAMATION, this);
}

bool DlgDesigner::save(const Vor_String& path) {
    std::string error;
    if (!m_engine.writeToFile(path, &error)) {
        // texts: dialString 9941
        showFault(9941, error);
        setTitle();
        return false;
    }
    m_modified = false;
    setTitle();
    return true;
}

void DlgDesigner::setTitle() {
    // texts: dialString 843
    Vor_String title = dialString(843);
    if (!m_engine.getTemplateName().isEmpty()) title += " - <" + m_engine.getTemplateName() + ">";
    setWindowText(title.str());
}

void DlgDesigner::updateButtons() {
    // A new control is placed as a fraction of the picture: there must be one first.
    EnDisCtrl(this, IDC_ADD, m_engine.hasPicture());
}

DesignerHistory::Layout DlgDesigner::snapshot() {
    m_engine.getSizeFromAllControls();
    return m_engine.controls();
}

void DlgDesigner::changed(const DesignerHistory::Layout& before) {
    // every change to the layout is one to save, also one made after a save
    if (m_history.record(before, snapshot())) m_modified = true;
}

void DlgDesigner::undoRedo(bool undo) {
    m_typingField = 0;
    DesignerHistory::Layout now = snapshot(), to;
    if (!(undo ? m_history.undo(now, to) : m_history.redo(now, to))) return;
    m_engine.setControls(to);
    m_engine.updatePropsOfCurSel();
    m_modified = true;
    invalidate();
}

bool DlgDesigner::onMouse(const ui::MouseEvent& e) {
    if (e.kind == ui::MouseEvent::Wheel) {
        const int pixels = -e.wheelDelta * kScrollStep / 3 / 120; // a notch is a third of a page
        if (e.shift)
            scrollBy(pixels, 0);
        else
            scrollBy(0, pixels);
        return true;
    }
    if (e.kind == ui::MouseEvent::Press && e.button == ui::MouseEvent::Left) {
        m_typingField = 0;
        m_beforeDrag = snapshot();
        m_dragging = true;
        m_engine.OnLButtonDown(e.ctrl, e.shift, e.pos);
        m_engine.updatePropsOfCurSel();
        m_modified = true;
        return true;
    }
    if (e.kind == ui::MouseEvent::Move) {
        if (m_dragging && (e.buttons & ui::MouseEvent::Left)) return m_engine.OnMouseMove(e.pos);
        m_engine.OnSetCursor(e.pos);
        return false;
    }
    if (e.kind == ui::MouseEvent::Release && m_dragging) {
        m_dragging = false;
        m_engine.OnLButtonUp(e.pos);
        changed(m_beforeDrag);
        m_engine.updatePropsOfCurSel();
        return true;
    }
    return false;
}

void DlgDesigner::onPaint(ui::Painter& painter) {
    m_engine.OnEraseBkgnd(painter);
    m_engine.OnPaint(painter);
}

void DlgDesigner::onSize(int, int) {
    m_resizer.move();
    invalidate();
}

void DlgDesigner::onDestroy() {
    saveWindowPlacement(this, kPlacement);
}

bool DlgDesigner::preTranslateKey(const ui::KeyEvent& key) {
    if (key.vk == ui::VK_ESCAPE) return true; // the designer closes only by OK or its close box
    if (key.ctrl && (key.vk == 'Z' || key.vk == 'Y')) {
        undoRedo(key.vk == 'Z');
        return true;
    }
    // A picture larger than the window scrolls by pages; Shift scrolls sideways, Home goes back.
    if (key.vk == ui::VK_PRIOR || key.vk == ui::VK_NEXT) {
        const int page = key.vk == ui::VK_NEXT ? kScrollStep : -kScrollStep;
        scrollBy(key.shift ? page : 0, key.shift ? 0 : page);
        return true;
    }
    // Arrows, Delete and the editing keys belong to the property fields while one has the focus.
    if (key.focusId == IDC_CONTENTS || key.focusId == IDC_LIST || key.focusId == IDC_TYPE_LIST) return false;
    if (key.vk == ui::VK_HOME) {
        scrollBy(-m_engine.viewOrigin().x, -m_engine.viewOrigin().y);
        return true;
    }
    if (key.ctrl && (key.vk == 'A' || key.vk == 'C' || key.vk == 'V')) {
        sendCommand(key.vk == 'A' ? ID_SELECT_ALL : key.vk == 'C' ? ID_COPY : ID_PASTE);
        return true;
    }
    const int step = key.shift ? 10 : 1;
    int dx = 0, dy = 0;
    switch (key.vk) {
    case ui::VK_LEFT:
        dx = -step;
        break;
    case ui::VK_RIGHT:
        dx = step;
        break;
    case ui::VK_UP:
        dy = -step;
        break;
    case ui::VK_DOWN:
        dy = step;
        break;
    case ui::VK_DELETE:
        sendCommand(IDC_REMOVE);
        return true;
    default:
        return false;
    }
    DesignerHistory::Layout before = snapshot();
    if (m_engine.moveCurCtrls(dx, dy)) changed(before);
    return true;
}

bool DlgDesigner::onCommand(int id, int code) {
    if ((id == IDC_TYPE_LIST && code == ui::CBN_SELCHANGE) ||
        ((id == IDC_CONTENTS || id == IDC_LIST) && code == ui::EN_CHANGE)) {
        // Typing on in one field of one control is one step to undo, not one per character.
        const int control = m_engine.getCurSel();
        const bool goingOn = id != IDC_TYPE_LIST && id == m_typingField && control == m_typingControl;
        DesignerHistory::Layout before = goingOn ? DesignerHistory::Layout() : snapshot();
        m_engine.propsOfCurSelUpdated();
        // another type shows another label and may take a list text
        if (id == IDC_TYPE_LIST) m_engine.updatePropsOfCurSel();
        if (!goingOn) changed(before);
        m_typingField = id == IDC_TYPE_LIST ? 0 : id;
        m_typingControl = control;
        return true;
    }
    m_typingField = 0;
    if (code != ui::BN_CLICKED) return false;
    if (layoutCommand(id)) {
        m_engine.updatePropsOfCurSel();
        invalidate();
        return true;
    }
    DesignerHistory::Layout before = snapshot();
    switch (id) {
    case IDC_OPEN:
        open();
        return true;
    case IDC_SAVE_AS:
        saveAs();
        return true;
    case IDC_PICTURE:
        attachPicture();
        return true;
    case IDC_ADD:
        m_engine.addNewControl(ctVarEdit);
        break;
    case IDC_REMOVE:
        m_engine.removeCurControls();
        invalidate();
        break;
    case IDC_WIDTH:
    case IDC_HEIGHT:
        m_engine.changeCtrlSize(id == IDC_WIDTH);
        break;
    case IDC_COPY:
        m_engine.copyCurCtrls();
        break;
    case IDC_ALIGN_BOTTOMS:
        m_engine.outlineCurCtrls();
        break;
    case IDC_PLACE_BESIDE:
        m_engine.stickRightCurCtrls();
        break;
    default:
        return false;
    }
    changed(before);
    m_engine.updatePropsOfCurSel();
    invalidate();
    return true;
}

bool DlgDesigner::layoutCommand(int id) {
    const auto step = [this] { return m_engine.snapGrid() > 0 ? m_engine.snapGrid() : 10; };
    switch (id) {
    case ID_UNDO:
    case ID_REDO:
        undoRedo(id == ID_UNDO);
        return true;
    case ID_SNAP:
        m_engine.setSnapGrid(m_engine.snapGrid() > 0 ? 0 : kSnapGrid);
        enableCommands();
        return true;
    case ID_TAB_ORDER:
        m_engine.setShowTabOrder(!m_engine.showsTabOrder());
        enableCommands();
        return true;
    case ID_SELECT_ALL:
        m_engine.selectAllCtrls();
        return true;
    case ID_COPY: {
        std::vector<Vor_DesignerControl> copied = m_engine.selectedControls();
        if (copied.empty()) return true;
        m_clipboard = std::move(copied);
        m_pastes = 0;
        enableCommands();
        return true;
    }
    case ID_DUPLICATE:
    case ID_DELETE:
    case ID_ADD:
        sendCommand(id == ID_DUPLICATE ? IDC_COPY : id == ID_DELETE ? IDC_REMOVE : IDC_ADD);
        return true;
    default:
        break;
    }
    const DesignerHistory::Layout before = snapshot();
    if (id == ID_PASTE) {
        if (m_clipboard.empty()) return true;
        const ui::Point offset = designer::pasteOffset(++m_pastes, step());
        m_engine.pasteCtrls(m_clipboard, offset);
        changed(before);
        return true;
    }
    for (const Arrangement& a : kArrangements)
        if (a.id == id) {
            if (m_engine.arrangeCurCtrls(a.how, a.least)) changed(before);
            return true;
        }
    return false;
}

bool DlgDesigner::askToSave() {
    if (!m_modified) return true;
    // texts: dialString 837-838
    const Vor_String text = dialString(838) + "\n<" + m_engine.getTemplateName() + ">";
    const int answer =
        ui::messageBox(text.str(), dialString(837).str(), ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION, this);
    if (answer == ui::IDCANCEL) return false;
    if (answer == ui::IDYES) {
        // A template without a name would be written as ".txt": ask for the name instead.
        if (m_engine.getTemplateName().isEmpty()) return saveAs();
        // A failed save keeps the window open with its edits.
        return save(templatePathFromName(m_engine.getTemplateName()));
    }
    return true;
}

Vor_String DlgDesigner::chooseFile(bool open, bool picture, const Vor_String& folder) {
    // texts: dialString 839-842
    const Vor_String filter = picture ? dialString(839) + " (*.bmp)" : dialString(840) + " (*.txt)";
    return DlgOpenSave::choose(open, picture ? "bmp" : "txt", filter, dialString(open ? 841 : 842), folder,
                               this);
}

bool DlgDesigner::saveAs() {
    const Vor_String folder = getFolder(getDesignerRootFolder() + m_engine.getTemplateName());
    const Vor_String path = chooseFile(false, false, folder);
    if (path.isEmpty()) return false;
    return save(path);
}

void DlgDesigner::open() {
    if (!askToSave()) return;
    const Vor_String folder = getFolder(getDesignerRootFolder() + m_engine.getTemplateName());
    const Vor_String path = chooseFile(true, false, folder);
    if (!path.isEmpty()) load(path);
}

void DlgDesigner::attachPicture() {
    const Vor_String chosen = chooseFile(true, true, getDesignerRootFolder());
    if (chosen.isEmpty()) return;
    // The picture is checked before anything changes, and the old one on disk stays until the
    // template is saved.
    std::string error;
    if (!m_engine.choosePicture(chosen, &error)) {
        // texts: dialString 9942
        showFault(9942, error);
        return;
    }
    invalidate();
    m_modified = true;
    updateButtons();
}

void DlgDesigner::onClose() {
    if (askToSave()) endDialog(ui::IDCANCEL);
}

void DlgDesigner::onOK() {
    if (askToSave()) endDialog(ui::IDOK);
}

bool StartDlgDesigner(const Vor_String& path) {
    ModuleResourceScope scope;
    DlgDesigner dlg(toSlashes(path));
    return dlg.doModal() == ui::IDOK;
}

namespace {
const bool registered = registerJsonLauncher(
    "StartDlgDesigner",
    [](const nlohmann::json& in, nlohmann::json& out) {
        // A full path, or a template name below the designer's root folder ("Beams\EndPlate").
        Vor_String path(in.value("path", std::string()));
        if (!path.isEmpty() && !toSlashes(path).startsWith("/")) path = templatePathFromName(path);
        out["result"] = StartDlgDesigner(path);
    },
    R"({"path": "EndPlate"})");
} // namespace
