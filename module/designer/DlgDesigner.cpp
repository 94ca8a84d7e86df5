#include "designer/DlgDesigner.h"

#include "designer/DesignerFolder.h"
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
#include <ui/Painter.h>

namespace {
constexpr const char* kPlacement = "DLG_DLGDESIGNER";
constexpr int kWindowIcon = 148;

struct IconButton {
    int id;
    int icon; ///< 0 for the two text buttons
};
const IconButton kButtons[] = {
    {DlgDesigner::IDC_OPEN, 232},        {DlgDesigner::IDC_SAVE_AS, 233},    {DlgDesigner::IDC_ADD, 212},
    {DlgDesigner::IDC_REMOVE, 206},      {DlgDesigner::IDC_WIDTH, 235},      {DlgDesigner::IDC_HEIGHT, 236},
    {DlgDesigner::IDC_ALIGN_BOTTOMS, 0}, {DlgDesigner::IDC_PLACE_BESIDE, 0}, {DlgDesigner::IDC_COPY, 223},
    {DlgDesigner::IDC_PICTURE, 231},
};

// The bottom row keeps its distance to the dialog's bottom edge; the picture area above grows.
std::vector<CResizer::Rule> resizerRules() {
    using R = CResizer::Rule;
    std::vector<R> rules = {
        {1015, {1, 0, 1}, {1, 0, 4}, {1, 0, 1}, {4, 0, 4}},
        {1017, {2, 0, 1}, {1, 0, 4}, {1, 0, 3}, {4, 0, 4}},
        {1016, {1, 1015, 3}, {1, 0, 4}, {1, 1017, 1}, {4, 0, 4}},
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
        m_buttons[k].setTooltipText("");
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
    return true;
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
    m_history.record(before, snapshot());
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
    // Arrows and Delete belong to the property fields while one of them has the focus.
    if (key.focusId == IDC_CONTENTS || key.focusId == IDC_LIST || key.focusId == IDC_TYPE_LIST) return false;
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
    if (m_engine.moveCurCtrls(dx, dy)) {
        changed(before);
        m_modified = true;
    }
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
        if (m_engine.addNewControl(ctVarEdit)) m_modified = true;
        break;
    case IDC_REMOVE:
        m_engine.removeCurControls();
        invalidate();
        m_modified = true;
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
