#include "frame/AskText.h"

#include "frame/DlgTextInput.h"

bool askText(ui::Window* parent, TextQuestion& q) {
    DlgTextInput dlg(parent);
    dlg.caption = q.caption;
    dlg.prompt = q.prompt;
    dlg.text = q.text;
    dlg.okText = q.okText;
    dlg.cancelText = q.cancelText;
    if (dlg.doModal() != ui::IDOK) return false;
    q.text = dlg.text;
    return true;
}
