#include "frame/DlgTextInput.h"

DlgTextInput::DlgTextInput(ui::Window* parent)
    : ui::Dialog(IDD, parent) {}

bool DlgTextInput::onInitDialog() {
    setWindowText(caption.str());
    if (ui::Control* c = item(IDC_PROMPT)) c->setText(prompt.str());
    if (ui::Control* c = item(IDC_TEXT)) c->setText(text.str());
    if (ui::Control* c = item(ui::IDOK)) c->setText(okText.str());
    if (ui::Control* c = item(ui::IDCANCEL)) c->setText(cancelText.str());
    ui::Control* edit = item(IDC_TEXT);
    if (!edit) return true;
    if (!editable) edit->enableWindow(false);
    // The whole text is selected so that typing replaces it.
    edit->setFocus();
    edit->setSel(0, -1);
    return false;
}

void DlgTextInput::onOK() {
    ui::Control* edit = item(IDC_TEXT);
    Vor_String entered = edit ? Vor_String(edit->text()) : text;
    if (editable && entered.isEmpty()) return; // nothing typed: the dialog stays open
    text = entered;
    accepted = true;
    endDialog(ui::IDOK);
}
