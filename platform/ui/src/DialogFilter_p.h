#pragma once
// The event filter on every widget of a dialog: keys, focus and context menus.

#include <ui/Control.h>
#include <ui/Dialog.h>
#include <ui/Types.h>

#include <QObject>

class QWidget;

#include <map>

namespace ui {

/// Watches keys, focus and context menus of every widget of a dialog.
class DialogFilter : public QObject {
public:
    DialogFilter(Dialog* d, QObject* parent)
        : QObject(parent)
        , m_dialog(d) {}
    Dialog* m_dialog;
    std::map<QObject*, Control*> controlOf;

    Control* find(QObject* o) const {
        while (o) {
            auto it = controlOf.find(o);
            if (it != controlOf.end()) return it->second;
            o = o->parent();
        }
        return nullptr;
    }

    /// Watches a widget of the dialog (and marks it, so that a key reaches pre-translation once).
    void watch(QWidget* w);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    /// Enter and Escape as a dialog handles them when pre-translation left them.
    bool defaultKey(const KeyEvent& k, Control* c);
};

} // namespace ui
