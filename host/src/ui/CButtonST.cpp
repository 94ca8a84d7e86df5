#include <host/ui/CButtonST.h>

#include <ui/Resources.h>
#include <ui/Window.h>

bool CButtonST::subclassDlgItem(int id, ui::Dialog* dlg) {
    ui::Control* c = dlg ? dlg->item(id) : nullptr;
    if (!c) return false;
    switch (c->kind()) {
    case ui::ControlKind::PushButton:
    case ui::ControlKind::CheckBox:
    case ui::ControlKind::RadioButton:
        break;
    default:
        return false;
    }
    m_dlg = dlg;
    m_id = id;
    return true;
}

// Looked up each time: the control lives only while the dialog's window does.
ui::Control* CButtonST::control() const {
    return m_dlg ? m_dlg->item(m_id) : nullptr;
}

bool CButtonST::apply(ui::Image image) {
    ui::Control* c = control();
    if (!c || image.isNull()) return false;
    c->setImage(image);
    // A picture-only button whose picture could not be found when it was made shows the resource
    // number as its text; the picture takes its place now.
    if (c->hasStyle("BS_ICON") || c->hasStyle("BS_BITMAP")) c->setText("");
    m_image = image;
    return true;
}

bool CButtonST::setIcon(int iconId) {
    const ui::ImageTemplate* t = ui::Resources::image(iconId);
    if (!t) return false;
    return apply(ui::Image::fromResource(iconId));
}

bool CButtonST::setBitmaps(int bitmapId) {
    if (!ui::Resources::image(bitmapId)) return false;
    return apply(ui::Image::fromResource(bitmapId));
}

bool CButtonST::setBitmaps(int bitmapId, ui::ColorRef transparent) {
    if (!ui::Resources::image(bitmapId)) return false;
    ui::Image image = ui::Image::fromResource(bitmapId);
    image.setTransparentColor(transparent);
    return apply(image);
}

bool CButtonST::setBitmapFromFile(const Vor_String& path, ui::ColorRef transparent) {
    ui::Image image = ui::Image::fromFile(path.str());
    image.setTransparentColor(transparent);
    return apply(image);
}

bool CButtonST::setImage(const ui::Image& image) {
    return apply(image);
}

void CButtonST::setTooltipText(const Vor_String& tip) {
    if (ui::Control* c = control()) c->setToolTip(tip.str());
}

Vor_String CButtonST::getTooltipText() const {
    ui::Control* c = control();
    return c ? Vor_String(c->toolTip()) : Vor_String();
}

void CButtonST::setCheck(int state) {
    if (ui::Control* c = control()) c->setCheck(state);
}

int CButtonST::getCheck() const {
    ui::Control* c = control();
    return c ? c->checkState() : ui::BST_UNCHECKED;
}
