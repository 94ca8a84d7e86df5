// The toolbar of a dialog.

#include <ui/ToolBar.h>

#include "Internal_p.h"

#include <QAction>
#include <QToolBar>

namespace ui {

ToolBar::ToolBar(Dialog* owner, int toolbarId, QWidget* widget)
    : m_owner(owner)
    , m_id(toolbarId)
    , m_widget(widget) {}
ToolBar::~ToolBar() = default;

namespace {
QAction* actionOf(QWidget* bar, int id) {
    auto* tb = qobject_cast<QToolBar*>(bar);
    if (!tb) return nullptr;
    for (QAction* a : tb->actions())
        if (!a->isSeparator() && a->data().toInt() == id) return a;
    return nullptr;
}
} // namespace

void ToolBar::enableButton(int commandId, bool enable) {
    if (QAction* a = actionOf(m_widget, commandId)) a->setEnabled(enable);
}

bool ToolBar::isButtonEnabled(int commandId) const {
    QAction* a = actionOf(m_widget, commandId);
    return a && a->isEnabled();
}

void ToolBar::checkButton(int commandId, bool check) {
    if (QAction* a = actionOf(m_widget, commandId)) {
        a->setCheckable(true);
        a->setChecked(check);
    }
}

std::string ToolBar::buttonTip(int commandId) const {
    QAction* a = actionOf(m_widget, commandId);
    return a ? ss(a->toolTip()) : std::string();
}

std::vector<int> ToolBar::buttonIds() const {
    std::vector<int> ids;
    if (auto* tb = qobject_cast<QToolBar*>(m_widget))
        for (QAction* a : tb->actions())
            if (!a->isSeparator()) ids.push_back(a->data().toInt());
    return ids;
}

int ToolBar::height() const {
    return m_widget ? m_widget->sizeHint().height() : 0;
}

} // namespace ui
