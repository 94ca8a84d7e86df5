#include <host/ui/CImageListCtrl.h>

#include <host/FileUtils.h>
#include <ui/Control.h>
#include <ui/Dialog.h>
#include <ui/Picture.h>

bool CImageListCtrl::subclassDlgItem(int id, ui::Dialog* dlg) {
    ui::Control* c = dlg ? dlg->item(id) : nullptr;
    if (!c || c->kind() != ui::ControlKind::ListView) return false;
    m_dlg = dlg;
    m_id = id;
    c->setImageSize({m_width, m_height});
    return true;
}

ui::Control* CImageListCtrl::control() const {
    return m_dlg ? m_dlg->item(m_id) : nullptr;
}

void CImageListCtrl::setThumbnailSize(int width, int height) {
    m_width = width;
    m_height = height;
    if (ui::Control* c = control()) c->setImageSize({width, height});
}

void CImageListCtrl::draw(const Vor_StringArray& pictures, const Vor_StringArray& labels,
                          const std::map<std::string, ui::Image>& fallback) {
    m_names = pictures;
    m_labels.removeAll();
    ui::Control* c = control();
    if (c) c->resetContent();
    for (int i = 0; i < pictures.length(); ++i) {
        const Vor_String label = i < labels.length() ? labels[i] : removeExtension(getFileName(pictures[i]));
        m_labels.append(label);
        if (!c) continue;
        ui::Image image;
        ui::Picture picture;
        // a picture drawn in memory is newer than whatever file could not be replaced by it
        if (const auto it = fallback.find(pictures[i].str()); it != fallback.end())
            image = it->second;
        else if (ui::Picture::loadBmp(pictures[i].str(), picture))
            image = picture.toImage();
        else
            image = ui::Image::filled(m_width, m_height, ui::rgb(255, 255, 255));
        c->insertItem(-1, label.str(), image);
    }
}

Vor_String CImageListCtrl::selectedName() const {
    const ui::Control* c = control();
    const int at = c ? c->curSel() : -1;
    return at >= 0 && at < m_names.length() ? m_names[at] : Vor_String();
}
