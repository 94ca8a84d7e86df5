#include "designer/Vor_DlgDesignerData.h"

#include "designer/DesignerFolder.h"
#include "designer/DesignerLayout.h"
#include "designer/SelectionTracker.h"
#include "designer/TabOrder.h"
#include "designer/TemplateReader.h"
#include "frame/AskText.h"

#include <base/FileRead.h>
#include <base/NumberText.h>
#include <base/SafeFile.h>
#include <host/FileUtils.h>
#include <host/LineFile.h>
#include <host/Texts.h>
#include <host/VorUtils.h>
#include <host/ui/CtrlUtils.h>
#include <ui/Control.h>
#include <ui/Dialog.h>
#include <ui/Painter.h>
#include <ui/Resources.h>
#include <ui/Script.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr ui::ColorRef kButtonFace = ui::rgb(240, 240, 240);
constexpr ui::ColorRef kWhite = ui::rgb(255, 255, 255);
constexpr ui::ColorRef kGridDot = ui::rgb(110, 110, 110);
constexpr ui::ColorRef kTabOrderBack = ui::rgb(0, 90, 170);
/// Height of a run-mode combo: room for its dropped list.
constexpr int kComboDropHeight = 200;
/// Icon of the flex buttons.
constexpr int kFlexIcon = 239;

int roundedPixel(double v) {
    double r = ObjectExportRoundTo(v, 1.0);
    if (!std::isfinite(r)) return 0;
    return static_cast<int>(std::clamp(r, -1e6, 1e6));
}
} // namespace

Vor_DlgDesignerData::Vor_DlgDesignerData() = default;

Vor_DlgDesignerData::Vor_DlgDesignerData(const Vor_DlgDesignerData&) {}

Vor_DlgDesignerData& Vor_DlgDesignerData::operator=(const Vor_DlgDesignerData& other) {
    if (this != &other) reset();
    return *this;
}

Vor_DlgDesignerData::~Vor_DlgDesignerData() {
    reset();
}

void Vor_DlgDesignerData::reset() {
    if (m_dlg) ui::setTabOrderSource(m_dlg, {});
    if (m_dlg && m_dlg->exists())
        for (auto& d : m_drawn)
            if (d->wnd()) m_dlg->destroyControl(d->wnd());
    if (m_dlg && m_dlg->exists())
        for (ui::Control* b : m_badges)
            m_dlg->destroyControl(b);
    m_badges.clear();
    m_drawn.clear();
    m_tracker.reset();
    m_initialised = m_updating = m_designMode = false;
    m_dlg = nullptr;
    m_icon = ui::Image();
    m_bitmap = ui::Image();
    m_imageWidth = m_imageHeight = m_firstResId = m_lastResId = 0;
    m_typeListId = m_contentsLabelId = m_contentsFieldId = m_listLabelId = m_listFieldId = 0;
    m_templateName = Vor_String();
    m_controls.clear();
    m_unsavedPicture.clear();
}

// ---- set-up and state

bool Vor_DlgDesignerData::initialize(ui::Dialog* dlg, int firstResId, int lastResId, int typeListId,
                                     int contentsLabelId, int contentsFieldId, int listLabelId,
                                     int listFieldId, bool designMode) {
    if (!dlg) return false;
    m_dlg = dlg;
    m_firstResId = firstResId;
    m_lastResId = lastResId;
    m_designMode = designMode;
    m_initialised = true;
    ui::setTabOrderSource(dlg, [this] { return tabOrderIds(); });
    if (!designMode) return true;
    if (!m_tracker) m_tracker = std::make_unique<SelectionTracker>();
    m_typeListId = typeListId;
    m_contentsLabelId = contentsLabelId;
    m_contentsFieldId = contentsFieldId;
    m_listLabelId = listLabelId;
    m_listFieldId = listFieldId;
    Vor_StringArray types;
    for (int t = 0; t < kControlTypeCount; ++t)
        types.append(controlTypeListText(t));
    if (ui::Control* list = dlg->item(typeListId)) FillCombo(list, types);
    updatePropsOfCurSel();
    return true;
}

void Vor_DlgDesignerData::getImageSize(int& width, int& height) const {
    width = m_initialised ? m_imageWidth : 0;
    height = m_initialised ? m_imageHeight : 0;
}

bool Vor_DlgDesignerData::choosePicture(const Vor_String& path, std::string* error) {
    const std::string file = toSlashes(path).str();
    std::string bytes;
    if (!readWholeFile(file, bytes, error, kMaxPictureBytes)) return false;
    ui::Image picture = ui::Image::fromFile(file);
    if (picture.isNull() || picture.size().cx <= 0 || picture.size().cy <= 0) {
        if (error) *error = file + ": this file is no picture";
        return false;
    }
    m_bitmap = picture;
    m_bitmap.setTransparentColor(kWhite);
    m_imageWidth = m_bitmap.size().cx;
    m_imageHeight = m_bitmap.size().cy;
    m_unsavedPicture = std::move(bytes);
    return true;
}

void Vor_DlgDesignerData::attachBitmap(const Vor_String& path) {
    if (path.isEmpty() || !base::isRegularFile(toSlashes(path).str())) return;
    m_imageWidth = m_imageHeight = 0;
    m_bitmap = ui::Image::fromFile(toSlashes(path).str());
    if (m_bitmap.isNull()) return;
    m_bitmap.setTransparentColor(kWhite);
    m_imageWidth = m_bitmap.size().cx;
    m_imageHeight = m_bitmap.size().cy;
}

const Vor_DesignerControl* Vor_DlgDesignerData::getControl(const int& i) const {
    return i >= 0 && i < getNrControls() ? &m_controls[static_cast<std::size_t>(i)] : nullptr;
}

Vor_DesignerControl* Vor_DlgDesignerData::getControlWrite(const int& i) {
    return i >= 0 && i < getNrControls() ? &m_controls[static_cast<std::size_t>(i)] : nullptr;
}

Vor_DesignerControl* Vor_DlgDesignerData::getControlFromRes(const int& resId) {
    int i;
    return findCtrlFromResource(resId, i) ? getControlWrite(i) : nullptr;
}

bool Vor_DlgDesignerData::findCtrlFromResource(const int& resId, int& i) const {
    if (resId < 1) return false;
    for (int k = 0; k < getNrControls(); ++k)
        if (m_controls[static_cast<std::size_t>(k)].resId == resId) {
            i = k;
            return true;
        }
    return false;
}

int Vor_DlgDesignerData::append(Vor_DesignerControl& ctrl) {
    // the lowest id of the range that no control holds, in one pass over the controls
    ctrl.resId = 0;
    if (m_firstResId > 0 && m_lastResId >= m_firstResId) {
        std::vector<char> used(static_cast<std::size_t>(m_lastResId - m_firstResId) + 1, 0);
        for (const Vor_DesignerControl& c : m_controls)
            if (c.resId >= m_firstResId && c.resId <= m_lastResId)
                used[static_cast<std::size_t>(c.resId - m_firstResId)] = 1;
        const auto freeId = std::find(used.begin(), used.end(), 0);
        if (freeId != used.end()) ctrl.resId = m_firstResId + static_cast<int>(freeId - used.begin());
    }
    m_controls.push_back(ctrl);
    return ctrl.resId;
}

bool Vor_DlgDesignerData::canAppend() const {
    return getNrControls() < kMaxControls && m_firstResId > 0 &&
           getNrControls() <= m_lastResId - m_firstResId;
}

void Vor_DlgDesignerData::removeControl(const int& i) {
    if (i >= 0 && i < getNrControls()) m_controls.erase(m_controls.begin() + i);
}

void Vor_DlgDesignerData::getAllCtrlNames(Vor_StringArray& names) const {
    for (const Vor_DesignerControl& c : m_controls)
        if (c.type == ctVarEdit) names.append(c.contents);
}

bool Vor_DlgDesignerData::isADynControl(const int& resId) const {
    int k;
    CControlRect* r;
    return findDrawnCtrlFromResource(resId, k, r);
}

bool Vor_DlgDesignerData::getDynControlType(const int& resId, Vor_ControlType& type) const {
    int i;
    if (!findCtrlFromResource(resId, i)) return false;
    type = static_cast<Vor_ControlType>(m_controls[static_cast<std::size_t>(i)].type);
    return true;
}

bool Vor_DlgDesignerData::isTypeBoltCount(const int& resId) const {
    Vor_ControlType t;
    return getDynControlType(resId, t) && (t == ctBoltCount1 || t == ctBoltCount2);
}

void Vor_DlgDesignerData::setControls(const std::vector<Vor_DesignerControl>& controls) {
    std::vector<int> selected = getSelectedIds();
    m_controls = controls;
    redrawAllControls();
    selectCtrls(selected);
}

// ---- coordinates

double Vor_DlgDesignerData::pixelsToFactor(bool horizontal, double pixels) const {
    const int size = horizontal ? m_imageWidth : m_imageHeight;
    // Without a picture there is nothing to be a fraction of; 0 keeps factors finite.
    return size > 0 ? pixels / size : 0.0;
}

double Vor_DlgDesignerData::factorToPixels(bool horizontal, double factor) const {
    return factor * (horizontal ? m_imageWidth : m_imageHeight);
}

ui::Rect Vor_DlgDesignerData::pixelRect(const Vor_DesignerControl& c) const {
    return {roundedPixel(getTopLeftX(c)) - m_origin.x, roundedPixel(getTopLeftY(c)) - m_origin.y,
            roundedPixel(getBottomRightX(c)) - m_origin.x, roundedPixel(getBottomRightY(c)) - m_origin.y};
}

void Vor_DlgDesignerData::setViewOrigin(ui::Point origin) {
    if (origin == m_origin) return;
    getSizeFromAllControls();
    const std::vector<int> selected = getSelectedIds();
    m_origin = origin;
    redrawAllControls();
    selectCtrls(selected);
    if (m_dlg) m_dlg->invalidate();
}

// ---- drawing

const CControlRect* Vor_DlgDesignerData::getDrawnControl(int k) const {
    return k >= 0 && k < getNrDrawnControls() ? m_drawn[static_cast<std::size_t>(k)].get() : nullptr;
}

ui::Control* Vor_DlgDesignerData::drawnWindow(int resId) const {
    int k;
    CControlRect* r;
    return findDrawnCtrlFromResource(resId, k, r) ? r->wnd() : nullptr;
}

bool Vor_DlgDesignerData::findDrawnCtrlFromResource(const int& resId, int& k, CControlRect*& rect) const {
    for (std::size_t n = 0; n < m_drawn.size(); ++n)
        if (m_drawn[n]->resId() == resId && resId != 0) {
            k = static_cast<int>(n);
            rect = m_drawn[n].get();
            return true;
        }
    return false;
}

bool Vor_DlgDesignerData::getCtrlPtr(const int& i, ui::Control*& wnd) const {
    if (!getControl(i) || !m_dlg) return false;
    wnd = drawnWindow(m_controls[static_cast<std::size_t>(i)].resId);
    return wnd != nullptr;
}

bool Vor_DlgDesignerData::drawControl(Vor_DesignerControl& ctrl) {
    if (!m_initialised || !m_dlg || !m_dlg->exists()) return false;
    ui::Rect r = pixelRect(ctrl);
    const DesignerWindowKind kind = windowKindOf(ctrl.type);
    ui::Rect windowRect = r;
    if (!m_designMode && kind == DesignerWindowKind::ComboBox && r.height() < kComboDropHeight)
        r.bottom = r.top + kComboDropHeight;

    ui::ControlTemplate line;
    line.id = ctrl.resId;
    line.text = ctrl.contents.str();
    switch (kind) {
    case DesignerWindowKind::Static:
        line.kind = "LTEXT";
        break;
    case DesignerWindowKind::Edit:
        line.kind = "EDITTEXT";
        line.styles = {"WS_EX_CLIENTEDGE"};
        if (ctrl.type == ctBoltCount1 || ctrl.type == ctBoltCount2)
            line.styles.insert(line.styles.end(), {"ES_MULTILINE", "ES_AUTOVSCROLL"});
        else
            line.styles.push_back("ES_AUTOHSCROLL");
        break;
    case DesignerWindowKind::ComboBox:
        line.kind = "COMBOBOX";
        line.styles = {"WS_VSCROLL"};
        if (ctrl.type == ctVarCombo || ctrl.type == ctProfEditCombo)
            line.styles.insert(line.styles.end(), {"CBS_DROPDOWN", "CBS_AUTOHSCROLL"});
        else
            line.styles.push_back("CBS_DROPDOWNLIST");
        break;
    case DesignerWindowKind::Button:
        if (ctrl.type == ctGroupBox)
            line.kind = "GROUPBOX";
        else if (ctrl.type == ctCheckBox)
            line.kind = "AUTOCHECKBOX";
        else if (ctrl.type == ctFlexButton) {
            line.kind = "AUTOCHECKBOX";
            line.styles = {"BS_PUSHLIKE", "BS_VCENTER"};
        } else
            line.kind = "PUSHBUTTON";
        break;
    }
    const bool disabled = ctrl.readOnly || (m_designMode && kind != DesignerWindowKind::Static);
    if (disabled) line.styles.push_back("WS_DISABLED");
    // A run-mode combo is as high as its dropped list; the window shows its closed height.
    ui::Control* wnd = m_dlg->createControl(line, kind == DesignerWindowKind::ComboBox ? windowRect : r);
    if (!wnd) return false;
    if (m_designMode) wnd->setMouseTransparent(true);
    m_drawn.push_back(std::make_unique<CControlRect>(ctrl.resId, r, wnd));
    if (m_tracker) m_tracker->add(m_drawn.back().get());

    if (kind == DesignerWindowKind::ComboBox) FillDesCombo(ctrl, wnd);
    if (ctrl.type == ctChoiceCombo) setComboValue(wnd, ctrl.contents);
    if (ctrl.type == ctCheckBox) setCheckValue(wnd, ctrl.comboList);
    if (ctrl.type == ctFlexButton) setBtnIcon(wnd);
    return true;
}

void Vor_DlgDesignerData::redrawAllControls() {
    if (!m_designMode)
        sortAllControls();
    else if (m_tracker)
        m_tracker->clearSelection();
    // Every drawn window goes first, in either mode: drawing twice never leaves two windows with
    // one id behind.
    if (m_tracker) m_tracker->removeAll();
    const bool live = m_dlg && m_dlg->exists();
    if (live) m_dlg->setRedraw(false); // one repaint for the whole set
    if (live)
        for (auto& d : m_drawn)
            if (d->wnd()) m_dlg->destroyControl(d->wnd());
    m_drawn.clear();
    for (Vor_DesignerControl& c : m_controls)
        drawControl(c);
    refreshTabOrderBadges();
    if (live) {
        m_dlg->setRedraw(true);
        m_dlg->invalidate();
    }
}

void Vor_DlgDesignerData::removeAllDrawnCtrls() {
    for (const Vor_DesignerControl& c : m_controls)
        removeDrawnCtrlOnly(c.resId);
}

bool Vor_DlgDesignerData::removeDrawnCtrlOnly(const int& resId) {
    if (!m_tracker) return false;
    int k;
    CControlRect* r;
    if (!findDrawnCtrlFromResource(resId, k, r)) return false;
    m_tracker->remove(resId);
    if (r->wnd() && m_dlg && m_dlg->exists()) m_dlg->destroyControl(r->wnd());
    m_drawn.erase(m_drawn.begin() + k);
    return true;
}

int Vor_DlgDesignerData::OnEraseBkgnd(ui::Painter& p) {
    if (!m_initialised || !m_dlg) return 0;
    if (m_designMode) p.fillRect(m_dlg->clientRect(), kButtonFace);
    if (!m_bitmap.isNull())
        p.drawImage(ui::Rect::fromSize(-m_origin.x, -m_origin.y, m_imageWidth, m_imageHeight), m_bitmap);
    // the snap grid as dots over the picture
    if (m_designMode && m_snapGrid >= 4 && hasPicture())
        for (int y = m_snapGrid; y < m_imageHeight; y += m_snapGrid)
            for (int x = m_snapGrid; x < m_imageWidth; x += m_snapGrid)
                p.fillRect(ui::Rect::fromSize(x - m_origin.x, y - m_origin.y, 1, 1), kGridDot);
    return 0;
}

void Vor_DlgDesignerData::OnPaint(ui::Painter& p) {
    if (m_tracker) m_tracker->paint(p);
}

void Vor_DlgDesignerData::setShowTabOrder(bool show) {
    m_showTabOrder = show;
    refreshTabOrderBadges();
}

void Vor_DlgDesignerData::refreshTabOrderBadges() {
    const bool live = m_dlg && m_dlg->exists();
    if (live)
        for (ui::Control* b : m_badges)
            m_dlg->destroyControl(b);
    m_badges.clear();
    if (!live || !m_designMode || !m_showTabOrder) return;
    // the tab positions the controls take when the dialog is shown, where they lie now
    getSizeFromAllControls();
    std::vector<Vor_DesignerControl> ordered = m_controls;
    sortTabOrder(ordered);
    for (const Vor_DesignerControl& c : ordered) {
        if (c.tabOrder <= 0) continue;
        const ui::Rect r = pixelRect(c);
        const std::string number = std::to_string(c.tabOrder);
        ui::ControlTemplate line;
        line.kind = "VorView";
        ui::Control* badge = m_dlg->createControl(
            line, ui::Rect::fromSize(r.left, r.top, 8 + 7 * static_cast<int>(number.size()), 15));
        if (!badge) continue;
        badge->setMouseTransparent(true);
        badge->setPaintHandler([number, size = badge->clientRect()](ui::Painter& p) {
            p.fillRect(size, kTabOrderBack);
            p.setPen(kWhite);
            p.drawText(size, number,
                       ui::Painter::DT_CENTER | ui::Painter::DT_VCENTER | ui::Painter::DT_SINGLELINE);
        });
        m_badges.push_back(badge);
    }
}

int Vor_DlgDesignerData::OnSetCursor(ui::Point point) {
    if (!m_tracker || !m_dlg) return 0;
    ui::CursorShape shape = m_tracker->cursorAt(point);
    m_dlg->setClientCursor(shape);
    return shape == ui::CursorShape::Arrow ? 0 : 1;
}

void Vor_DlgDesignerData::OnLButtonDown(bool ctrl, bool shift, ui::Point point) {
    if (!m_initialised || !m_tracker) return;
    if (m_tracker->press(point, ctrl, shift) && m_dlg) m_dlg->invalidate();
}

bool Vor_DlgDesignerData::OnMouseMove(ui::Point point) {
    if (!m_tracker || !m_tracker->move(point)) return false;
    for (CControlRect* r : m_tracker->moving())
        if (r->wnd()) r->wnd()->moveWindow(r->rect());
    if (m_dlg) m_dlg->invalidate();
    return true;
}

bool Vor_DlgDesignerData::OnLButtonUp(ui::Point point) {
    if (!m_tracker) return false;
    OnMouseMove(point);
    const SelectionTracker::Drag drag = m_tracker->drag();
    if (!m_tracker->release(point)) return false;
    // a move or a size ends on the snap grid, in the picture's pixels
    if (m_snapGrid > 1 && (drag == SelectionTracker::Drag::Move || drag == SelectionTracker::Drag::Resize))
        for (CControlRect* r : m_tracker->moving()) {
            const ui::Rect& o = r->rect();
            const ui::Rect onPicture{o.left + m_origin.x, o.top + m_origin.y, o.right + m_origin.x,
                                     o.bottom + m_origin.y};
            const ui::Rect s = drag == SelectionTracker::Drag::Move
                                   ? designer::snapMoved(onPicture, m_snapGrid)
                                   : designer::snapResized(onPicture, m_snapGrid);
            r->setRect(
                {s.left - m_origin.x, s.top - m_origin.y, s.right - m_origin.x, s.bottom - m_origin.y});
            if (r->wnd()) r->wnd()->moveWindow(r->rect());
        }
    if (m_dlg) m_dlg->invalidate();
    return true;
}

// ---- values

bool Vor_DlgDesignerData::getComboValue(ui::Control* combo, Vor_String& value) const {
    if (!combo) return false;
    value = Vor_String(combo->curSel());
    return true;
}

bool Vor_DlgDesignerData::setComboValue(ui::Control* combo, const Vor_String& value) {
    if (!combo) return false;
    double n = 0;
    if (base::readTypedNumber(value.str(), n) != base::TypedNumber::Number) n = -1;
    ui::Control::Silence quiet(*combo);
    combo->setCurSel(n >= 0 && n < combo->count() ? static_cast<int>(n) : -1);
    return true;
}

bool Vor_DlgDesignerData::getCheckValue(ui::Control* button, Vor_String& value) const {
    if (!button) return false;
    const int state = button->checkState();
    // texts: dialString 695
    value = state == ui::BST_INDETERMINATE ? dialString(695) : Vor_String(state == ui::BST_CHECKED ? 1 : 0);
    return true;
}

bool Vor_DlgDesignerData::setCheckValue(ui::Control* button, const Vor_String& value) {
    if (!button) return false;
    if (value.equal(dialString(695), false)) {
        button->setTriState(true);
        button->setCheck(ui::BST_INDETERMINATE);
        return true;
    }
    double n = 0;
    if (base::readTypedNumber(value.str(), n) != base::TypedNumber::Number) n = 0;
    button->setTriState(false);
    button->setCheck(n > 0 ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    return true;
}

void Vor_DlgDesignerData::setBtnIcon(ui::Control* button) {
    if (!button) return;
    if (m_icon.isNull()) m_icon = ui::Image::fromResource(kFlexIcon);
    if (!m_icon.isNull()) button->setImage(m_icon);
}

bool Vor_DlgDesignerData::getCtrlValue(const int& resId, Vor_String& value) const {
    ui::Control* wnd = drawnWindow(resId);
    int i;
    if (!wnd || !findCtrlFromResource(resId, i)) return false;
    const int type = m_controls[static_cast<std::size_t>(i)].type;
    if (type == ctCheckBox) return getCheckValue(wnd, value);
    if (type == ctChoiceCombo) return getComboValue(wnd, value);
    value = Vor_String(wnd->text());
    return true;
}

bool Vor_DlgDesignerData::setCtrlValue(const int& resId, const Vor_String& value) {
    ui::Control* wnd = drawnWindow(resId);
    int i;
    if (!wnd || !findCtrlFromResource(resId, i)) return false;
    const int type = m_controls[static_cast<std::size_t>(i)].type;
    if (type == ctCellButton1 || type == ctCellButton2) return true;
    if (type == ctCheckBox) return setCheckValue(wnd, value);
    if (type == ctChoiceCombo) return setComboValue(wnd, value);
    ui::Control::Silence quiet(*wnd);
    wnd->setText(value.str());
    return true;
}

bool Vor_DlgDesignerData::setCtrlReadOnly(const int& resId, const bool& readOnly) {
    int i;
    if (!m_dlg || !findCtrlFromResource(resId, i)) return false;
    const int type = m_controls[static_cast<std::size_t>(i)].type;
    if (type != ctVarEdit && type != ctVarCombo) return false;
    ui::Control* wnd = drawnWindow(resId);
    if (!wnd) return false;
    if (wnd->isEnabled() == readOnly) wnd->enableWindow(!readOnly);
    return true;
}

bool Vor_DlgDesignerData::getFocusedDynControl(int& resId) const {
    if (!m_dlg || !m_dlg->exists()) return false;
    for (const auto& d : m_drawn)
        if (d->wnd() && d->wnd()->hasFocus()) {
            resId = d->resId();
            return true;
        }
    ui::Control* focus = m_dlg->focusControl();
    if (!focus) return false;
    resId = focus->id();
    int i;
    return findCtrlFromResource(resId, i);
}

bool Vor_DlgDesignerData::findEditCtrlWithContents(Vor_String contents, int& i) const {
    for (int k = 0; k < getNrControls(); ++k) {
        const Vor_DesignerControl& c = m_controls[static_cast<std::size_t>(k)];
        if ((c.type == ctVarEdit || c.type == ctVarCombo) && c.contents.equal(contents, false)) {
            i = k;
            return true;
        }
    }
    return false;
}

void Vor_DlgDesignerData::FillDesCombo(const Vor_DesignerControl& ctrl, ui::Control* combo) {
    if (!combo) return;
    ui::Control::Silence quiet(*combo);
    combo->resetContent();
    if (ctrl.type == ctChoiceCombo) {
        // texts: dialString 1395-1398
        for (int n : {1395, 1396, 1397, 1398, 695})
            combo->addString(dialString(n).str());
        return;
    }
    Vor_StringArray items = ctrl.comboItems;
    if (items.length() == 0) ctrl.getComboItemsFromFile(items);
    if (items.length() == 0) return;
    for (int k = 0; k < items.length(); ++k)
        combo->addString(items[k].str());
    const int at = combo->findStringExact(ctrl.contents.str());
    if (at >= 0)
        combo->setCurSel(at);
    else
        combo->setText(ctrl.contents.str());
}

// ---- property panel

int Vor_DlgDesignerData::getCurSel() const {
    if (!m_tracker) return -1;
    int i;
    const int id = m_tracker->currentSelectionId();
    return id > 0 && findCtrlFromResource(id, i) ? i : -1;
}

void Vor_DlgDesignerData::updatePropsOfCurSel() {
    if (!m_tracker) return;
    m_updating = true;
    if (m_designMode) {
        const int selected = m_tracker->currentSelectionId();
        updateProps(getCurSel());
        if (selected > 0) m_tracker->select(selected, true);
    }
    m_updating = false;
}

void Vor_DlgDesignerData::updateProps(int i) {
    if (!m_designMode || !m_dlg) return;
    ui::Control* types = m_dlg->item(m_typeListId);
    ui::Control* contents = m_dlg->item(m_contentsFieldId);
    ui::Control* list = m_dlg->item(m_listFieldId);
    ui::Control* contentsLabel = m_dlg->item(m_contentsLabelId);
    ui::Control* listLabel = m_dlg->item(m_listLabelId);
    if (!types || !contents || !list) return;
    const bool wasUpdating = m_updating;
    m_updating = true;
    auto set = [](ui::Control* c, const Vor_String& text, bool enable) {
        if (!c) return;
        ui::Control::Silence quiet(*c);
        c->setText(text.str());
        c->enableWindow(enable);
    };
    const Vor_DesignerControl* c = getControl(i);
    if (!c) {
        {
            ui::Control::Silence quiet(*types);
            types->setCurSel(-1);
        }
        for (ui::Control* ctl : {types, contents, list, contentsLabel, listLabel})
            set(ctl, Vor_String(), false);
    } else {
        {
            ui::Control::Silence quiet(*types);
            types->setCurSel(c->type);
            types->enableWindow(true);
        }
        set(contentsLabel, contentsLabelText(c->type), true);
        set(contents, c->contents, true);
        const bool hasList = typeHasListField(c->type);
        set(listLabel, hasList ? listHintText(c->type) : Vor_String(), hasList);
        set(list, hasList ? c->getMergedExtComboList() : Vor_String(), hasList);
    }
    m_updating = wasUpdating;
}

void Vor_DlgDesignerData::readProps(int i) {
    Vor_DesignerControl* c = getControlWrite(i);
    if (!m_designMode || !c || !m_dlg) return;
    ui::Control* types = m_dlg->item(m_typeListId);
    ui::Control* contents = m_dlg->item(m_contentsFieldId);
    ui::Control* list = m_dlg->item(m_listFieldId);
    if (!types || !contents || !list) return;
    if (types->curSel() >= 0) c->type = types->curSel();
    c->contents = Vor_String(contents->text());
    c->setSplitExtComboList(Vor_String(list->text()));
}

void Vor_DlgDesignerData::propsOfCurSelUpdated() {
    if (!m_tracker || m_updating || !m_designMode) return;
    const int selected = m_tracker->currentSelectionId();
    const int i = getCurSel();
    if (i < 0) return;
    const Vor_DesignerControl before = m_controls[static_cast<std::size_t>(i)];
    readProps(i);
    const Vor_DesignerControl& now = m_controls[static_cast<std::size_t>(i)];
    if (!now.contents.equal(before.contents, true))
        if (ui::Control* wnd = drawnWindow(now.resId)) {
            wnd->invalidate();
            wnd->setText(now.contents.str());
        }
    if (now.type != before.type) {
        getSizeFromAllControls();
        redrawAllControls();
        if (selected > 0) m_tracker->select(selected, true);
        if (m_dlg) m_dlg->invalidate();
    }
}

void Vor_DlgDesignerData::getSizeFromControl(int i) {
    Vor_DesignerControl* c = getControlWrite(i);
    if (!m_dlg || !c || m_drawn.size() != m_controls.size() || !hasPicture()) return;
    // The tracker's rectangle is where the person put the control; a combo's window may be shorter
    // than the rectangle it was drawn for.
    const ui::Rect& r = m_drawn[static_cast<std::size_t>(i)]->rect();
    if (m_drawn[static_cast<std::size_t>(i)]->resId() != c->resId) return;
    // unchanged rectangles keep their factors exactly, also those between two pixels
    if (r == pixelRect(*c)) return;
    c->topLeftX = pixelsToFactor(true, r.left + m_origin.x);
    c->topLeftY = pixelsToFactor(false, r.top + m_origin.y);
    c->bottomRightX = pixelsToFactor(true, r.right + m_origin.x);
    c->bottomRightY = pixelsToFactor(false, r.bottom + m_origin.y);
}

void Vor_DlgDesignerData::getSizeFromAllControls() {
    if (!m_designMode) return;
    for (int i = 0; i < getNrControls(); ++i)
        getSizeFromControl(i);
}

// ---- layout editing

std::vector<int> Vor_DlgDesignerData::getSelectedIds() const {
    return m_tracker ? m_tracker->selectedIds() : std::vector<int>();
}

void Vor_DlgDesignerData::selectCtrls(const std::vector<int>& resIds) {
    if (!m_tracker) return;
    m_tracker->clearSelection();
    for (int id : resIds)
        m_tracker->addToSelection(id);
}

bool Vor_DlgDesignerData::addNewControl(Vor_ControlType type) {
    // Factors are fractions of the picture: without one a new control would have no place.
    if (!hasPicture() || !canAppend()) return false;
    getSizeFromAllControls();
    // A new control starts at a fifth of the picture, one step off any control already there, and
    // becomes the selection, so that it can be moved at once.
    std::vector<ui::Rect> taken;
    for (const Vor_DesignerControl& c : m_controls)
        taken.push_back(pixelRect(c));
    const ui::Size size{30, 18};
    const int step = m_snapGrid > 1 ? m_snapGrid : 10;
    const ui::Point start{designer::snap(m_imageWidth / 5, m_snapGrid) - m_origin.x,
                          designer::snap(m_imageHeight / 5, m_snapGrid) - m_origin.y};
    const ui::Point at = designer::newControlPlace(taken, start, size, step,
                                                   {m_imageWidth - m_origin.x, m_imageHeight - m_origin.y});
    Vor_DesignerControl c;
    c.type = type;
    // texts: dialString 171
    c.contents = dialString(171);
    setTopLeftX(c, at.x + m_origin.x);
    setTopLeftY(c, at.y + m_origin.y);
    setBottomRightX(c, at.x + m_origin.x + size.cx);
    setBottomRightY(c, at.y + m_origin.y + size.cy);
    const int id = append(c);
    drawControl(m_controls.back());
    refreshTabOrderBadges();
    selectCtrls({id});
    if (m_dlg) m_dlg->invalidate();
    return true;
}

bool Vor_DlgDesignerData::removeCurControls() {
    if (!m_tracker) return false;
    getSizeFromAllControls();
    for (int id : m_tracker->selectedIds()) {
        removeDrawnCtrlOnly(id);
        int i;
        if (findCtrlFromResource(id, i)) removeControl(i);
    }
    refreshTabOrderBadges();
    return true;
}

void Vor_DlgDesignerData::copyCurCtrls() {
    if (!m_tracker || m_tracker->selected().empty()) return;
    getSizeFromAllControls();
    std::vector<int> copies;
    for (int id : m_tracker->selectedIds()) {
        int i;
        if (!findCtrlFromResource(id, i)) continue;
        if (!canAppend()) break;
        Vor_DesignerControl c = m_controls[static_cast<std::size_t>(i)];
        setTopLeftX(c, getTopLeftX(c) + 20);
        setTopLeftY(c, getTopLeftY(c) + 20);
        setBottomRightX(c, getBottomRightX(c) + 20);
        setBottomRightY(c, getBottomRightY(c) + 20);
        copies.push_back(append(c));
        drawControl(m_controls.back());
    }
    redrawAllControls();
    selectCtrls(copies);
    if (m_dlg) m_dlg->invalidate();
}

void Vor_DlgDesignerData::changeCtrlSize(int i, bool horizontal, double pixels) {
    Vor_DesignerControl* c = getControlWrite(i);
    if (!c) return;
    if (horizontal)
        setBottomRightX(*c, getTopLeftX(*c) + pixels);
    else
        setBottomRightY(*c, getTopLeftY(*c) + pixels);
}

void Vor_DlgDesignerData::changeCtrlSize(bool horizontal) {
    if (!m_tracker || m_tracker->selected().empty()) return;
    getSizeFromAllControls();
    // texts: dialString 90, dialString 744, dialString 825-826, dialString 1-2
    TextQuestion q;
    q.caption = dialString(horizontal ? 90 : 744);
    q.prompt = dialString(horizontal ? 825 : 826);
    q.text = horizontal ? "30" : "18";
    q.okText = dialString(1);
    q.cancelText = dialString(2);
    if (!askText(m_dlg, q)) return;
    // the leading number of the text, 0 when there is none
    std::string t = q.text.str();
    t.erase(0, t.find_first_not_of(" \t"));
    std::size_t end = 0;
    while (end < t.size() && (std::isdigit(static_cast<unsigned char>(t[end])) || t[end] == '.' ||
                              t[end] == ',' || (end == 0 && (t[0] == '-' || t[0] == '+'))))
        ++end;
    double value = 0;
    if (base::readTypedNumber(t.substr(0, end), value) != base::TypedNumber::Number) value = 0;
    const std::vector<int> ids = m_tracker->selectedIds();
    for (int id : ids) {
        int i;
        if (findCtrlFromResource(id, i)) changeCtrlSize(i, horizontal, value);
    }
    redrawAllControls();
    selectCtrls(ids);
    if (m_dlg) m_dlg->invalidate();
}

bool Vor_DlgDesignerData::findMostLeftCtrl(std::vector<int> resIds, int& i) const {
    double mostLeft = 100000;
    bool found = false;
    for (int id : resIds) {
        int k;
        if (!findCtrlFromResource(id, k)) continue;
        const double left = getTopLeftX(m_controls[static_cast<std::size_t>(k)]);
        if (!found || left < mostLeft) {
            mostLeft = left;
            i = k;
            found = true;
        }
    }
    return found;
}

bool Vor_DlgDesignerData::outlineCurCtrls() {
    if (!m_tracker || m_tracker->selected().empty()) return false;
    getSizeFromAllControls();
    const std::vector<int> ids = m_tracker->selectedIds();
    int ref;
    if (!findMostLeftCtrl(ids, ref)) return false;
    const double bottom = getBottomRightY(m_controls[static_cast<std::size_t>(ref)]);
    for (int id : ids) {
        int i;
        if (!findCtrlFromResource(id, i) || i == ref) continue;
        Vor_DesignerControl& c = m_controls[static_cast<std::size_t>(i)];
        const double height = getHeight(c);
        setBottomRightY(c, bottom);
        setTopLeftY(c, bottom - height);
    }
    redrawAllControls();
    selectCtrls(ids);
    return true;
}

bool Vor_DlgDesignerData::stickRightCurCtrls() {
    if (!m_tracker || m_tracker->selected().size() != 2) return false;
    getSizeFromAllControls();
    const std::vector<int> ids = m_tracker->selectedIds();
    int ref;
    if (!findMostLeftCtrl(ids, ref)) return false;
    const Vor_DesignerControl r = m_controls[static_cast<std::size_t>(ref)];
    for (int id : ids) {
        int i;
        if (!findCtrlFromResource(id, i) || i == ref) continue;
        Vor_DesignerControl& c = m_controls[static_cast<std::size_t>(i)];
        const double width = getWidth(c);
        c.topLeftY = r.topLeftY;
        c.bottomRightY = r.bottomRightY;
        setTopLeftX(c, getBottomRightX(r));
        setBottomRightX(c, getBottomRightX(r) + width);
    }
    redrawAllControls();
    selectCtrls(ids);
    return true;
}

bool Vor_DlgDesignerData::arrangeCurCtrls(
    const std::function<std::vector<ui::Rect>(std::vector<ui::Rect>)>& how, std::size_t least) {
    if (!m_tracker || m_tracker->selected().size() < std::max<std::size_t>(least, 1)) return false;
    getSizeFromAllControls();
    const std::vector<int> ids = m_tracker->selectedIds();
    std::vector<int> indexes;
    std::vector<ui::Rect> rects;
    for (int id : ids) {
        int i;
        if (!findCtrlFromResource(id, i)) continue;
        indexes.push_back(i);
        rects.push_back(pixelRect(m_controls[static_cast<std::size_t>(i)]));
    }
    const std::vector<ui::Rect> placed = how(rects);
    if (placed.size() != rects.size()) return false;
    for (std::size_t k = 0; k < placed.size(); ++k) {
        if (placed[k] == rects[k]) continue; // untouched controls keep their exact factors
        Vor_DesignerControl& c = m_controls[static_cast<std::size_t>(indexes[k])];
        setTopLeftX(c, placed[k].left + m_origin.x);
        setTopLeftY(c, placed[k].top + m_origin.y);
        setBottomRightX(c, placed[k].right + m_origin.x);
        setBottomRightY(c, placed[k].bottom + m_origin.y);
    }
    redrawAllControls();
    selectCtrls(ids);
    if (m_dlg) m_dlg->invalidate();
    return true;
}

void Vor_DlgDesignerData::selectAllCtrls() {
    if (!m_tracker) return;
    m_tracker->clearSelection();
    for (const Vor_DesignerControl& c : m_controls)
        if (c.resId > 0) m_tracker->addToSelection(c.resId);
    if (m_dlg) m_dlg->invalidate();
}

std::vector<Vor_DesignerControl> Vor_DlgDesignerData::selectedControls() {
    std::vector<Vor_DesignerControl> out;
    getSizeFromAllControls();
    for (int id : getSelectedIds()) {
        int i;
        if (findCtrlFromResource(id, i)) out.push_back(m_controls[static_cast<std::size_t>(i)]);
    }
    return out;
}

int Vor_DlgDesignerData::pasteCtrls(const std::vector<Vor_DesignerControl>& controls, ui::Point offset) {
    if (!hasPicture() || controls.empty()) return 0;
    getSizeFromAllControls();
    std::vector<int> pasted;
    for (Vor_DesignerControl c : controls) {
        if (!canAppend()) break;
        c.readOnly = false;
        c.tabOrder = 0;
        setTopLeftX(c, getTopLeftX(c) + offset.x);
        setTopLeftY(c, getTopLeftY(c) + offset.y);
        setBottomRightX(c, getBottomRightX(c) + offset.x);
        setBottomRightY(c, getBottomRightY(c) + offset.y);
        pasted.push_back(append(c));
    }
    redrawAllControls();
    selectCtrls(pasted);
    if (m_dlg) m_dlg->invalidate();
    return static_cast<int>(pasted.size());
}

bool Vor_DlgDesignerData::moveCurCtrls(int dx, int dy) {
    if (!m_tracker || m_tracker->selected().empty()) return false;
    for (CControlRect* r : m_tracker->selected()) {
        const ui::Rect& o = r->rect();
        r->setRect({o.left + dx, o.top + dy, o.right + dx, o.bottom + dy});
        if (r->wnd()) r->wnd()->moveWindow(r->rect());
    }
    getSizeFromAllControls();
    refreshTabOrderBadges();
    if (m_dlg) m_dlg->invalidate();
    return true;
}

void Vor_DlgDesignerData::sortAllControls() {
    sortTabOrder(m_controls);
}

std::vector<int> Vor_DlgDesignerData::tabOrderIds() const {
    std::vector<const Vor_DesignerControl*> ordered;
    for (const Vor_DesignerControl& c : m_controls)
        if (c.tabOrder > 0) ordered.push_back(&c);
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const Vor_DesignerControl* a, const Vor_DesignerControl* b) { return a->tabOrder < b->tabOrder; });
    std::vector<int> ids;
    for (const Vor_DesignerControl* c : ordered)
        ids.push_back(c->resId);
    return ids;
}

// ---- flex buttons

bool Vor_DlgDesignerData::getFlexBtnsInGroup(const Vor_String& group, Vor_Array<int>& all,
                                             Vor_Array<int>& withField3) const {
    all.removeAll();
    withField3.removeAll();
    if (group.isEmpty()) return true;
    for (int i = 0; i < getNrControls(); ++i) {
        const Vor_DesignerControl& c = m_controls[static_cast<std::size_t>(i)];
        if (c.type != ctFlexButton || !c.flexGroup.equal(group, false)) continue;
        all.append(i);
        if (!c.flexField3.isEmpty()) withField3.append(i);
    }
    return true;
}

void Vor_DlgDesignerData::getFlexBtnsGroups(Vor_StringArray& names) const {
    names = Vor_StringArray();
    for (const Vor_DesignerControl& c : m_controls) {
        if (c.type != ctFlexButton) continue;
        bool known = false;
        for (int k = 0; k < names.length() && !known; ++k)
            known = names[k].equal(c.flexGroup, false);
        if (!known) names.append(c.flexGroup);
    }
}

bool Vor_DlgDesignerData::findFlexButton(const Vor_String& group, const Vor_String& name, int& i) const {
    for (int k = 0; k < getNrControls(); ++k) {
        const Vor_DesignerControl& c = m_controls[static_cast<std::size_t>(k)];
        if (c.type == ctFlexButton && c.flexGroup.equal(group, false) && c.contents.equal(name, false)) {
            i = k;
            return true;
        }
    }
    return false;
}

bool Vor_DlgDesignerData::getAllFlexVarsOfGroup(const Vor_String& group, Vor_StringArray& names) const {
    names = Vor_StringArray();
    for (const Vor_DesignerControl& c : m_controls)
        if (c.type == ctFlexButton && c.flexGroup.equal(group, false)) names.append(c.contents);
    return true;
}

bool Vor_DlgDesignerData::getFlexBtnGroupName(const int& resId, Vor_String& group, Vor_String& name) const {
    int i;
    if (!findCtrlFromResource(resId, i)) return false;
    const Vor_DesignerControl& c = m_controls[static_cast<std::size_t>(i)];
    if (c.type != ctFlexButton) return false;
    group = c.flexGroup;
    name = c.contents;
    return true;
}

bool Vor_DlgDesignerData::getSetFlexBtnStatus(const bool& set, const int& i, int& status) {
    const Vor_DesignerControl* c = getControl(i);
    if (!c || c->type != ctFlexButton || !m_dlg) return false;
    ui::Control* wnd = drawnWindow(c->resId);
    if (!wnd) return false;
    if (set) {
        if (status == ui::BST_INDETERMINATE) status = ui::BST_UNCHECKED;
        wnd->setCheck(status);
    } else {
        status = wnd->checkState();
    }
    return true;
}

bool Vor_DlgDesignerData::getFlexBtnStatus(const int& i, int& status) {
    return getSetFlexBtnStatus(false, i, status);
}

bool Vor_DlgDesignerData::setFlexBtnStatus(const Vor_String& group, const Vor_String& name,
                                           const int& status) {
    int i;
    if (!findFlexButton(group, name, i)) return false;
    int s = status;
    return getSetFlexBtnStatus(true, i, s);
}

bool Vor_DlgDesignerData::hideAllFlexBtns(const Vor_String& group) {
    Vor_Array<int> all, withField3;
    getFlexBtnsInGroup(group, all, withField3);
    for (int k = 0; k < all.length(); ++k)
        if (ui::Control* wnd = drawnWindow(m_controls[static_cast<std::size_t>(all[k])].resId))
            wnd->showWindow(ui::SW_HIDE);
    return true;
}

// ---- focus and Tab

bool Vor_DlgDesignerData::containsEditableCtrls() const {
    return std::any_of(m_controls.begin(), m_controls.end(),
                       [](const Vor_DesignerControl& c) { return !c.readOnly; });
}

bool Vor_DlgDesignerData::findCtrlWithTabOrder(const int& tab, int& i) const {
    for (int k = 0; k < getNrControls(); ++k)
        if (m_controls[static_cast<std::size_t>(k)].tabOrder == tab) {
            i = k;
            return true;
        }
    return false;
}

bool Vor_DlgDesignerData::handleTabKey(const int& key, Vor_TabMsgHandle& result, bool shift) {
    result = tmNotHandled;
    if (key != ui::VK_TAB || !m_initialised) return false;
    if (!containsEditableCtrls()) return false;
    int resId = 0, i;
    if (!getFocusedDynControl(resId) || resId == 0 || !findCtrlFromResource(resId, i)) return false;
    const int t = m_controls[static_cast<std::size_t>(i)].tabOrder;
    int target;
    if (shift) {
        if (t < 2 || !findCtrlWithTabOrder(t - 1, target)) {
            result = tmBeforeFirst;
            return true;
        }
    } else if (!findCtrlWithTabOrder(t + 1, target)) {
        result = tmPastLast;
        return true;
    }
    setFocusToCtrl(target);
    result = tmHandled;
    return true;
}

bool Vor_DlgDesignerData::setFocusToCtrl(const int& i) {
    const Vor_DesignerControl* c = getControl(i);
    if (!c || i >= getNrDrawnControls()) return false;
    ui::Control* wnd = m_drawn[static_cast<std::size_t>(i)]->wnd();
    if (!wnd) return false;
    wnd->setFocus();
    if (windowKindOf(c->type) == DesignerWindowKind::Edit && m_dlg) wnd->setSel(0, -1);
    return true;
}

bool Vor_DlgDesignerData::setFocusToCtrl(bool first) {
    if (!containsEditableCtrls()) return false;
    int target = -1;
    if (first) {
        if (!findCtrlWithTabOrder(1, target)) return false;
    } else {
        int highest = 0;
        for (int k = 0; k < getNrControls(); ++k)
            if (m_controls[static_cast<std::size_t>(k)].tabOrder > highest) {
                highest = m_controls[static_cast<std::size_t>(k)].tabOrder;
                target = k;
            }
    }
    if (target >= 0) setFocusToCtrl(target);
    return true;
}

// ---- template files

bool Vor_DlgDesignerData::getNameFromFile(const Vor_String& path, Vor_String& name) const {
    return templateNameFromPath(path, name);
}

bool Vor_DlgDesignerData::readFromFile(const Vor_String& path, bool withBitmap, std::string* error) {
    const Vor_String file = toSlashes(path);
    Vor_String name;
    if (!templateNameFromPath(file, name, error)) return false;
    Vor_PropertiesList props;
    if (props.readFromFile(file, error) != Acad::eOk) return false;
    std::vector<Vor_DesignerControl> read;
    std::string fault;
    if (!readTemplateControls(props, read, &fault)) {
        if (error) *error = file.str() + ": " + fault;
        return false;
    }
    m_templateName = name;
    // the ids of the range in order (what append gives an empty list), without a search per control
    for (std::size_t k = 0; k < read.size(); ++k) {
        const long long id = static_cast<long long>(m_firstResId) + static_cast<long long>(k);
        read[k].resId = m_firstResId > 0 && id <= m_lastResId ? static_cast<int>(id) : 0;
    }
    m_controls = std::move(read);
    m_unsavedPicture.clear();
    if (withBitmap) attachBitmap(changeExtension(file, "bmp"));
    return true;
}

bool Vor_DlgDesignerData::writeToFile(const Vor_String& path, std::string* error) {
    const Vor_String file = toSlashes(path);
    Vor_String name;
    if (!templateNameFromPath(file, name, error)) return false;
    getSizeFromAllControls();
    if (std::string fault = templateWriteFault(m_controls); !fault.empty()) {
        if (error) *error = file.str() + ": " + fault;
        return false;
    }
    ObjectExportCreateDirectory(getFolder(file));
    if (templateProperties(m_controls).writeToFile(file, error) != Acad::eOk) return false;
    const Vor_String oldName = m_templateName;
    m_templateName = name;
    // The picture goes beside the template: a newly chosen one, else the old name's under a new name.
    const Vor_String newBitmap = changeExtension(file, "bmp");
    std::string bytes = m_unsavedPicture;
    if (bytes.empty() && !oldName.isEmpty()) {
        const Vor_String oldBitmap = getDesignerRootFolder() + oldName + ".bmp";
        if (samePath(oldBitmap, newBitmap) || !fileExists(oldBitmap) ||
            !readWholeFile(oldBitmap.str(), bytes, nullptr, kMaxPictureBytes))
            return true; // no picture to take along
    }
    if (bytes.empty()) return true;
    std::string why;
    if (!base::writeFileSafely(newBitmap.str(), bytes, &why)) {
        if (error) *error = file.str() + ": the template was saved, but not its picture: " + why;
        return false;
    }
    m_unsavedPicture.clear();
    return true;
}

void GetImageDlgCtrlNames(const Vor_String& path, Vor_StringArray& names) {
    Vor_DlgDesignerData engine;
    if (engine.readFromFile(path, false)) engine.getAllCtrlNames(names);
}
