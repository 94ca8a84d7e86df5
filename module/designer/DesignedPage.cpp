#include "designer/DesignedPage.h"

#include "designer/Vor_ControlType.h"

#include <ui/Dialog.h>

bool DesignedPage::open(ui::Dialog& host, const ui::Rect& frame, const Vor_String& path, int firstId,
                        std::string* error) {
    close();
    if (!m_engine.initialize(&host, firstId, firstId + kMaxControls - 1, 0, 0, 0, 0, 0, false) ||
        !m_engine.readFromFile(path, true, error)) {
        m_engine = Vor_DlgDesignerData(); // nothing of the template stays
        return false;
    }
    m_frame = frame;
    m_firstId = firstId;
    // the picture's pixel at the host's client origin: the frame's corner shifted back
    m_engine.setViewOrigin({-frame.left, -frame.top});
    m_engine.redrawAllControls();
    m_open = true;
    return true;
}

void DesignedPage::close() {
    if (!m_open) return;
    m_engine = Vor_DlgDesignerData(); // removes the windows and forgets the host
    m_open = false;
}

int DesignedPage::indexOfId(int id) const {
    int i;
    return m_engine.findCtrlFromResource(id, i) ? i : -1;
}

int DesignedPage::indexOfName(const Vor_String& name) const {
    int i;
    return m_engine.findEditCtrlWithContents(name, i) ? i : -1;
}

int DesignedPage::setValues(const std::map<std::string, std::string>& values) {
    int put = 0;
    for (const auto& [name, value] : values)
        if (const int i = indexOfName(Vor_String(name));
            i >= 0 && setText(control(i).resId, Vor_String(value)))
            ++put;
    return put;
}

std::map<std::string, std::string> DesignedPage::values() const {
    std::map<std::string, std::string> out;
    for (int i = 0; i < count(); ++i) {
        const Vor_DesignerControl& c = control(i);
        Vor_String v;
        if (typeTakesFocus(c.type) && text(c.resId, v)) out[c.contents.str()] = v.str();
    }
    return out;
}

bool DesignedPage::onCommand(int id, int code) {
    if (!m_open || id < m_firstId || id >= m_firstId + kMaxControls) return false;
    const int i = indexOfId(id);
    if (i < 0) return false;
    const bool change =
        code == ui::EN_CHANGE || code == ui::CBN_SELCHANGE || code == ui::CBN_EDITCHANGE ||
        (code == ui::BN_CLICKED && (control(i).type == ctCheckBox || control(i).type == ctFlexButton));
    if (!change) return false;
    if (m_changed) m_changed(i);
    return true;
}

bool DesignedPage::handleTabKey(const ui::KeyEvent& key, Vor_TabMsgHandle& result) {
    result = tmNotHandled;
    return m_open && m_engine.handleTabKey(key.vk, result, key.shift);
}
