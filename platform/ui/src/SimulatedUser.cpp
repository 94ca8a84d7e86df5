// The simulated user: a person's clicks, typing and choices on real widgets, and the state dump.

#include <ui/Application.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include "Internal_p.h"
#include "Script_p.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTextEdit>
#include <QTreeWidget>

#include <algorithm>
#include <sstream>

namespace ui {

namespace {
const char* kindName(ControlKind k) {
    switch (k) {
    case ControlKind::Static:
        return "static";
    case ControlKind::Picture:
        return "picture";
    case ControlKind::GroupBox:
        return "group";
    case ControlKind::Edit:
        return "edit";
    case ControlKind::PushButton:
        return "button";
    case ControlKind::CheckBox:
        return "check";
    case ControlKind::RadioButton:
        return "radio";
    case ControlKind::ComboBox:
        return "combo";
    case ControlKind::CheckCombo:
        return "checkcombo";
    case ControlKind::ListBox:
        return "list";
    case ControlKind::ListView:
        return "listview";
    case ControlKind::TabControl:
        return "tabs";
    case ControlKind::RichEdit:
        return "richedit";
    case ControlKind::ToolBar:
        return "toolbar";
    case ControlKind::Placeholder:
        return "view";
    case ControlKind::Slider:
        return "slider";
    case ControlKind::Progress:
        return "progress";
    }
    return "?";
}
} // namespace

bool usable(Control& c, std::string& error, const char* action) {
    if (!c.exists()) {
        error = "control " + std::to_string(c.id()) + " no longer exists";
        return false;
    }
    // Visible within its dialog is not enough: a person cannot reach a control of a dialog (or a tab
    // page) that is hidden itself.
    if (!c.isVisible() || !c.widget()->isVisible()) {
        error = "cannot " + std::string(action) + " control " + std::to_string(c.id()) + ": it is hidden";
        return false;
    }
    if (!c.isEnabled()) {
        error = "cannot " + std::string(action) + " control " + std::to_string(c.id()) + ": it is disabled";
        return false;
    }
    return true;
}

bool SimulatedUser::mouse(Dialog& d, MouseEvent::Kind kind, Point at, bool ctrl, bool shift,
                          std::string& error) {
    if (!d.exists()) {
        error = "the dialog is closed";
        return false;
    }
    MouseEvent e;
    e.kind = kind;
    e.button = kind == MouseEvent::Move ? MouseEvent::None : MouseEvent::Left;
    e.buttons = kind == MouseEvent::Release ? MouseEvent::None : MouseEvent::Left;
    e.pos = at;
    e.ctrl = ctrl;
    e.shift = shift;
    Dialog::Hooks::mouse(d, e);
    processEvents();
    return true;
}

void SimulatedUser::focus(Control& c) {
    if (!c.exists()) return;
    if (Window* top = c.owner()) {
        if (top->widget() && !top->widget()->isActiveWindow()) {
            top->widget()->activateWindow();
            QApplication::setActiveWindow(top->widget());
        }
    }
    c.setFocus();
    processEvents();
}

bool SimulatedUser::click(Control& c, std::string& error) {
    if (!usable(c, error, "click")) return false;
    auto* b = qobject_cast<QAbstractButton*>(c.widget());
    if (!b) {
        error = "control " + std::to_string(c.id()) + " is a " + kindName(c.kind()) + ", not a button";
        return false;
    }
    if (b->focusPolicy() != Qt::NoFocus) focus(c);
    if (!c.exists()) return true;
    b->click();
    processEvents();
    return true;
}

bool SimulatedUser::doubleClick(Control& c, std::string& error) {
    if (!usable(c, error, "double-click")) return false;
    if (auto* l = qobject_cast<QListWidget*>(c.widget())) {
        QListWidgetItem* it = l->currentItem();
        if (!it) {
            error = "nothing selected to double-click in list " + std::to_string(c.id());
            return false;
        }
        emit l->itemDoubleClicked(it);
    } else if (auto* t = qobject_cast<QTreeWidget*>(c.widget())) {
        QTreeWidgetItem* it = t->currentItem();
        if (!it) {
            error = "nothing selected to double-click in list " + std::to_string(c.id());
            return false;
        }
        emit t->itemDoubleClicked(it, 0);
    } else if (c.kind() == ControlKind::PushButton) {
        c.notify(BN_DOUBLECLICKED);
    } else if (c.kind() == ControlKind::ComboBox) {
        c.notify(CBN_DBLCLK);
    } else {
        error = "control " + std::to_string(c.id()) + " takes no double click";
        return false;
    }
    processEvents();
    return true;
}

bool SimulatedUser::type(Control& c, const std::string& text, std::string& error) {
    if (!usable(c, error, "type into")) return false;
    if (c.isReadOnly()) {
        error = "cannot type into control " + std::to_string(c.id()) + ": it is read-only";
        return false;
    }
    QWidget* w = c.widget();
    focus(c);
    if (!c.exists()) return true;
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->selectAll();
        e->insert(qs(text));
        if (e->text() != qs(text) && e->maxLength() < static_cast<int>(qs(text).size())) {
            // a limited field keeps what fits, as it does for a person
        }
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        p->selectAll();
        p->insertPlainText(qs(text));
    } else if (auto* r = qobject_cast<QTextEdit*>(w)) {
        r->selectAll();
        r->insertPlainText(qs(text));
    } else if (auto* cb = qobject_cast<QComboBox*>(w);
               cb && cb->lineEdit() && !cb->lineEdit()->isReadOnly()) {
        cb->lineEdit()->selectAll();
        cb->lineEdit()->insert(qs(text));
    } else {
        error = "cannot type into control " + std::to_string(c.id()) + ", a " + kindName(c.kind());
        return false;
    }
    processEvents();
    return true;
}

bool SimulatedUser::select(Control& c, int index, std::string& error) {
    if (!usable(c, error, "select in")) return false;
    if (index < 0 || index >= c.count()) {
        error = "control " + std::to_string(c.id()) + " has no item " + std::to_string(index) + " (it has " +
                std::to_string(c.count()) + ")";
        return false;
    }
    focus(c);
    if (!c.exists()) return true;
    QWidget* w = c.widget();
    if (c.kind() == ControlKind::CheckCombo) {
        auto* m = qobject_cast<QStandardItemModel*>(qobject_cast<QComboBox*>(w)->model());
        QStandardItem* it = m->item(index);
        it->setCheckState(it->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
        cb->setCurrentIndex(index);
        emit cb->activated(index);
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        if (l->selectionMode() == QAbstractItemView::MultiSelection) {
            l->item(index)->setSelected(!l->item(index)->isSelected());
        } else {
            l->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        }
    } else if (auto* t = qobject_cast<QTreeWidget*>(w)) {
        t->setCurrentItem(t->topLevelItem(index), 0,
                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else if (auto* tb = qobject_cast<QTabBar*>(w)) {
        tb->setCurrentIndex(index);
    } else {
        error = "control " + std::to_string(c.id()) + " has nothing to select";
        return false;
    }
    processEvents();
    return true;
}

bool SimulatedUser::select(Control& c, const std::string& text, std::string& error) {
    int i = c.findStringExact(text);
    if (i < 0) {
        std::string items;
        for (int k = 0; k < c.count() && k < 20; ++k)
            items += (k ? ", " : "") + quote(c.itemText(k));
        error =
            "control " + std::to_string(c.id()) + " has no item " + quote(text) + " (items: " + items + ")";
        return false;
    }
    return select(c, i, error);
}

bool SimulatedUser::pick(Control& c, int index, std::string& error) {
    if (!usable(c, error, "pick in")) return false;
    auto* cb = qobject_cast<QComboBox*>(c.widget());
    if (!cb || c.kind() != ControlKind::CheckCombo) {
        error = "control " + std::to_string(c.id()) + " is not a check combo";
        return false;
    }
    if (index < 0 || index >= c.count()) {
        error = "control " + std::to_string(c.id()) + " has no item " + std::to_string(index);
        return false;
    }
    focus(c);
    cb->showPopup();
    processEvents();
    QAbstractItemView* view = cb->view();
    const QRect r = view->visualRect(view->model()->index(index, 0));
    const QPoint at(r.right() - 2, r.center().y()); // on the text, clear of the check box
    QMouseEvent release(QEvent::MouseButtonRelease, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &release);
    if (cb->view()->isVisible()) cb->hidePopup();
    processEvents();
    if (cb->currentIndex() != index) {
        error = "control " + std::to_string(c.id()) + ": a click on item " + std::to_string(index) +
                " did not make it the current one";
        return false;
    }
    return true;
}

bool SimulatedUser::check(Control& c, int state, std::string& error) {
    if (!usable(c, error, "check")) return false;
    auto* b = qobject_cast<QAbstractButton*>(c.widget());
    if (!b || (c.kind() != ControlKind::CheckBox && c.kind() != ControlKind::RadioButton)) {
        error = "control " + std::to_string(c.id()) + " is not a check box or radio button";
        return false;
    }
    if (c.kind() == ControlKind::RadioButton && state != BST_CHECKED) {
        error = "a radio button cannot be switched off by clicking it";
        return false;
    }
    if (state == BST_INDETERMINATE) {
        auto* cb = qobject_cast<QCheckBox*>(b);
        if (!cb || !cb->isTristate()) {
            error = "check box " + std::to_string(c.id()) + " has no third state";
            return false;
        }
    }
    for (int i = 0; i < 3 && c.exists() && c.checkState() != state; ++i) {
        if (!click(c, error)) return false;
    }
    if (c.exists() && c.checkState() != state) {
        error = "check box " + std::to_string(c.id()) + " did not reach the state asked for";
        return false;
    }
    return true;
}

bool SimulatedUser::rightClick(Control& c, std::string& error) {
    if (!usable(c, error, "right-click")) return false;
    QWidget* w = c.embedded() ? c.embedded() : c.widget();
    QPoint local(w->width() / 2, w->height() / 2);
    QContextMenuEvent e(QContextMenuEvent::Mouse, local, w->mapToGlobal(local));
    QCoreApplication::sendEvent(w, &e);
    processEvents();
    return true;
}

bool SimulatedUser::key(Dialog& d, const KeyEvent& key, std::string& error) {
    if (!d.exists()) {
        error = "the dialog is closed";
        return false;
    }
    d.sendKey(key);
    processEvents();
    return true;
}

bool SimulatedUser::menu(Dialog& d, int commandId, std::string& error) {
    Menu* m = d.menu();
    if (!m) {
        error = d.describe() + " has no menu";
        return false;
    }
    if (!m->hasItem(commandId)) {
        error = "the menu of " + d.describe() + " has no item " + std::to_string(commandId);
        return false;
    }
    Dialog::Hooks::initMenuPopup(d, *m);
    if (!m->isEnabled(commandId)) {
        error = "menu item " + std::to_string(commandId) + " \"" + m->itemText(commandId) + "\" is disabled";
        return false;
    }
    d.sendCommand(commandId, 0);
    processEvents();
    return true;
}

bool SimulatedUser::toolbar(Dialog& d, int commandId, std::string& error) {
    ToolBar* t = d.toolBar();
    if (!t) {
        error = d.describe() + " has no toolbar";
        return false;
    }
    auto ids = t->buttonIds();
    if (std::find(ids.begin(), ids.end(), commandId) == ids.end()) {
        error = "the toolbar has no button " + std::to_string(commandId);
        return false;
    }
    if (!t->isButtonEnabled(commandId)) {
        error = "toolbar button " + std::to_string(commandId) + " is disabled";
        return false;
    }
    d.sendCommand(commandId, 0);
    processEvents();
    return true;
}

void SimulatedUser::close(Dialog& d) {
    Dialog::Hooks::close(d);
    processEvents();
}

std::string SimulatedUser::stateOf(const Control& c) {
    std::string s;
    s += c.isEnabled() ? " enabled" : " disabled";
    s += c.isVisible() ? " visible" : " hidden";
    if (c.kind() == ControlKind::CheckBox || c.kind() == ControlKind::RadioButton) {
        int st = c.checkState();
        s += st == BST_CHECKED ? " checked" : st == BST_INDETERMINATE ? " indeterminate" : " unchecked";
    }
    if (c.isReadOnly()) s += " read-only";
    if (c.hasFocus()) s += " focus";
    return s;
}

std::string SimulatedUser::dump(const Dialog& d) {
    std::ostringstream o;
    Rect r = d.windowRect();
    o << "dialog " << d.templateId() << " " << quote(d.windowText()) << "\n";
    o << "rect " << r.left << " " << r.top << " " << r.right << " " << r.bottom << "\n";
    if (Menu* m = d.menu()) {
        o << "menu";
        for (int id : m->commandIds())
            o << " " << id << (m->isEnabled(id) ? "" : "(disabled)");
        o << "\n";
    }
    if (ToolBar* t = d.toolBar()) {
        o << "toolbar";
        for (int id : t->buttonIds())
            o << " " << id << (t->isButtonEnabled(id) ? "" : "(disabled)");
        o << "\n";
    }
    for (Control* c : d.controls()) {
        o << "  " << c->id() << " " << kindName(c->kind()) << " " << quote(c->text()) << stateOf(*c);
        int n = c->count();
        if (n > 0) {
            o << " items[" << n << "]";
            if (c->curSel() >= 0) o << " sel " << c->curSel();
            for (int i = 0; i < n && i < 12; ++i)
                o << " " << quote(c->itemText(i));
            if (n > 12) o << " ...";
        }
        o << "\n";
    }
    return o.str();
}

} // namespace ui
