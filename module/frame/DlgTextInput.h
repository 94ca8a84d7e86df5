#pragma once
// The small modal dialog that asks for one line of text; every visible text comes from the caller.

#include <host/Vor_String.h>
#include <ui/Window.h>

class DlgTextInput : public ui::Dialog {
public:
    enum { IDD = 8069, IDC_PROMPT = 8600, IDC_TEXT = 8003 };
    explicit DlgTextInput(ui::Window* parent = nullptr);

    Vor_String caption;
    Vor_String prompt;
    Vor_String text; ///< initial text; after OK, the confirmed text
    Vor_String okText;
    Vor_String cancelText;
    bool editable = true; ///< false shows the field disabled: only OK or Cancel
    bool accepted = false;

protected:
    bool onInitDialog() override;
    void onOK() override;
};
