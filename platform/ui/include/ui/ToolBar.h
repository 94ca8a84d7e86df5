#pragma once
// The toolbar of a dialog, from a TOOLBAR resource.

#include <string>
#include <vector>

class QWidget;

namespace ui {

class Dialog;

/// A toolbar with command buttons, icons and tool tips.
class ToolBar {
public:
    ToolBar(Dialog* owner, int toolbarId, QWidget* widget);
    ~ToolBar();
    void enableButton(int commandId, bool enable);
    bool isButtonEnabled(int commandId) const;
    void checkButton(int commandId, bool check);
    std::string buttonTip(int commandId) const;
    std::vector<int> buttonIds() const;
    int height() const;
    QWidget* widget() const { return m_widget; }

private:
    Dialog* m_owner;
    int m_id;
    QWidget* m_widget;
};

} // namespace ui
