#include "production/ui/DlgInfo.h"

#include <ui/Control.h>

bool DlgInfo::onInitDialog() {
    setWindowText(m_data.caption.str());
    if (ui::Control* c = item(IDC_LABEL)) c->setText(m_data.caption.str());
    if (ui::Control* c = item(ui::IDOK)) c->setText(m_data.closeText.str());
    std::string text;
    for (const Vor_String& line : m_data.lines)
        text += line.str() + "\n";
    if (ui::Control* c = item(IDC_LINES)) c->setText(text);
    return true;
}

void ExportStartDlgInfo(const DlgInfoData& data, ui::Window* parent) {
    DlgInfo dlg(data, parent);
    dlg.doModal();
}
