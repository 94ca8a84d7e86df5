#pragma once
// The four pages of the constraint editor (DlgEditConstraints.h): child dialogs on its tab control
// that hand what the person does to the editor. Each page's template and controls are its own.

#include <sheet/SpreadControl.h>
#include <ui/Dialog.h>

class DlgEditConstraints;

/// A page of the editor: its commands and grid events go to the editor.
class ConstraintEditorPage : public ui::Dialog, public sheet::SpreadListener {
public:
    ConstraintEditorPage(int templateId, DlgEditConstraints& editor, int index)
        : ui::Dialog(templateId)
        , m_editor(editor)
        , m_index(index) {}

protected:
    bool onCommand(int id, int code) override;
    void onOK() override {}
    void onCancel() override {}
    DlgEditConstraints& m_editor;
    int m_index; ///< the page's tab
};
