// Keys through pre-translation and the dialog's defaults; focus notifications; context menus.

#include "DialogFilter_p.h"

#include "Internal_p.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace ui {

namespace {
const char* const kWatched = "vorDialogFilterWatched";

QWidget* firstWatched(QWidget* w) {
    while (w && !w->property(kWatched).toBool())
        w = w->parentWidget();
    return w;
}
} // namespace

void DialogFilter::watch(QWidget* w) {
    w->installEventFilter(this);
    w->setProperty(kWatched, true);
}

bool DialogFilter::eventFilter(QObject* o, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress: {
        // A key the focused control leaves alone travels on to its parents, which this filter watches
        // too: only its first receiver runs pre-translation and the defaults, once per key.
        // That is the focused widget, or its nearest watched parent when it is not watched itself (the
        // editor a grid opens in a cell).
        QWidget* focus = QApplication::focusWidget();
        QWidget* top = m_dialog->widget();
        if (focus && top && top->isAncestorOf(focus) && o != firstWatched(focus)) return false;
        auto* ke = static_cast<QKeyEvent*>(e);
        int vk = virtualKeyOf(ke->key());
        if (!vk) return false;
        KeyEvent k;
        k.vk = vk;
        k.ctrl = ke->modifiers() & Qt::ControlModifier;
        k.shift = ke->modifiers() & Qt::ShiftModifier;
        k.alt = ke->modifiers() & Qt::AltModifier;
        k.text = ss(ke->text());
        Control* c = find(o);
        k.focusId = c ? c->id() : 0;
        QPointer<QObject> guard(o);
        if (Dialog::Hooks::preTranslate(*m_dialog, k)) return true;
        if (!guard) return true;
        return defaultKey(k, c);
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        Control* c = find(o);
        if (!c) return false;
        auto reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason == Qt::PopupFocusReason) return false; // a combo's own list opening
        bool in = e->type() == QEvent::FocusIn;
        if (c->kind() == ControlKind::Edit || c->kind() == ControlKind::RichEdit)
            c->notify(in ? EN_SETFOCUS : EN_KILLFOCUS);
        else if (c->kind() == ControlKind::ComboBox || c->kind() == ControlKind::CheckCombo)
            c->notify(in ? CBN_SETFOCUS : CBN_KILLFOCUS);
        else if (c->kind() == ControlKind::ListBox)
            c->notify(in ? LBN_SETFOCUS : LBN_KILLFOCUS);
        return false;
    }
    case QEvent::ContextMenu: {
        auto* ce = static_cast<QContextMenuEvent*>(e);
        Control* c = find(o);
        Dialog::Hooks::contextMenu(*m_dialog, c ? c->id() : 0, {ce->globalPos().x(), ce->globalPos().y()});
        return true;
    }
    default:
        return false;
    }
}

bool DialogFilter::defaultKey(const KeyEvent& k, Control* c) {
    if (c && c->kind() == ControlKind::Placeholder && c->embedded()) return false; // a grid wants every key
    if (k.vk == VK_ESCAPE) {
        m_dialog->sendCommand(IDCANCEL);
        return true;
    }
    if (k.vk == VK_RETURN) {
        if (c && (c->kind() == ControlKind::RichEdit ||
                  (c->kind() == ControlKind::Edit && c->isMultiLine() && c->hasStyle("ES_WANTRETURN"))))
            return false;
        if (c && c->kind() == ControlKind::PushButton) {
            m_dialog->sendCommand(c->id());
            return true;
        }
        int def = IDOK;
        for (Control* x : m_dialog->controls())
            if (x->isDefaultButton()) def = x->id();
        if (Control* b = m_dialog->item(def); b && !b->isEnabled()) return true;
        m_dialog->sendCommand(def);
        return true;
    }
    return false;
}

} // namespace ui
