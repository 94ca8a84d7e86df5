// The base window over a Qt widget.

#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Painter.h>
#include <ui/Resources.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include "DialogWidget_p.h"
#include "HookView_p.h"
#include "Internal_p.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <algorithm>

namespace ui {

Window::~Window() = default;

Rect Window::windowRect() const {
    if (!m_widget) return {};
    if (m_widget->isWindow()) return rectOf(m_widget->frameGeometry());
    QPoint tl = m_widget->mapToGlobal(QPoint(0, 0));
    return Rect::fromSize(tl.x(), tl.y(), m_widget->width(), m_widget->height());
}

Rect Window::clientRect() const {
    if (!m_widget) return {};
    if (auto* d = dynamic_cast<DialogWidget*>(m_widget))
        return {0, 0, d->client->width(), d->client->height()};
    return {0, 0, m_widget->width(), m_widget->height()};
}

void Window::moveWindow(const Rect& r, bool repaint) {
    moveWindow(r.left, r.top, r.width(), r.height(), repaint);
}

void Window::moveWindow(int x, int y, int width, int height, bool repaint) {
    if (!m_widget) return;
    if (m_widget->isWindow()) {
        if (!m_widget->isVisible()) // the frame is known only once shown: placed again then
            m_widget->setProperty("vorPendingRect", QRect(x, y, width, height));
        QRect frame = m_widget->frameGeometry(), inner = m_widget->geometry();
        int extraW = frame.width() - inner.width(), extraH = frame.height() - inner.height();
        if (m_widget->isMaximized()) m_widget->showNormal();
        m_widget->move(x, y);
        m_widget->resize(std::max(0, width - extraW), std::max(0, height - extraH));
    } else {
        m_widget->setGeometry(x, y, width, height);
    }
    if (repaint) m_widget->update();
}

void Window::showWindow(int cmd) {
    if (!m_widget) return;
    switch (cmd) {
    case SW_HIDE:
        m_widget->hide();
        break;
    case SW_SHOWMAXIMIZED:
        m_widget->showMaximized();
        break;
    case SW_SHOWMINIMIZED:
        m_widget->showMinimized();
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        m_widget->showNormal();
        break;
    default:
        m_widget->show();
        break;
    }
}

bool Window::isVisible() const {
    return m_widget && m_widget->isVisibleTo(m_widget->window()) &&
           (m_widget->isWindow() ? m_widget->isVisible() : !m_widget->isHidden());
}
bool Window::isMaximized() const {
    return m_widget && m_widget->isMaximized();
}
void Window::enableWindow(bool enable) {
    if (m_widget) m_widget->setEnabled(enable);
}
bool Window::isEnabled() const {
    return m_widget && m_widget->isEnabled();
}

void Window::setWindowText(const std::string& text) {
    if (!m_widget) return;
    QString t = qs(text);
    if (m_widget->isWindow()) {
        m_widget->setWindowTitle(t);
        return;
    }
    if (auto* l = qobject_cast<QLabel*>(m_widget))
        l->setText(stripMnemonic(t));
    else if (auto* e = qobject_cast<QLineEdit*>(m_widget))
        e->setText(t);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) {
        QString n = t;
        n.replace("\r\n", "\n");
        p->setPlainText(n);
    } else if (auto* r = qobject_cast<QTextEdit*>(m_widget))
        r->setPlainText(t);
    else if (auto* b = qobject_cast<QAbstractButton*>(m_widget))
        b->setText(t);
    else if (auto* g = qobject_cast<QGroupBox*>(m_widget))
        g->setTitle(stripMnemonic(t));
    else if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        if (c->isEditable())
            c->setEditText(t);
        else {
            int i = c->findText(t, Qt::MatchFixedString);
            c->setCurrentIndex(i);
        }
    } else
        m_widget->setWindowTitle(t);
}

std::string Window::windowText() const {
    if (!m_widget) return {};
    if (m_widget->isWindow()) return ss(m_widget->windowTitle());
    if (auto* l = qobject_cast<QLabel*>(m_widget)) return ss(l->text());
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) return ss(e->text());
    if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) {
        QString t = p->toPlainText();
        t.replace("\n", "\r\n"); // multi-line edits hand back classic line ends
        return ss(t);
    }
    if (auto* r = qobject_cast<QTextEdit*>(m_widget)) return ss(r->toPlainText());
    if (auto* b = qobject_cast<QAbstractButton*>(m_widget)) return ss(b->text());
    if (auto* g = qobject_cast<QGroupBox*>(m_widget)) return ss(g->title());
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) return ss(c->currentText());
    return ss(m_widget->windowTitle());
}

void Window::setFocus() {
    if (!m_widget) return;
    if (m_widget->isWindow()) {
        m_widget->activateWindow();
        return;
    }
    QWidget* target = m_widget;
    if (auto* h = dynamic_cast<HookView*>(m_widget); h && h->embedded) target = h->embedded;
    target->setFocus(Qt::OtherFocusReason);
}

bool Window::hasFocus() const {
    if (!m_widget) return false;
    QWidget* f = QApplication::focusWidget();
    return f && (f == m_widget || m_widget->isAncestorOf(f));
}

void Window::invalidate() {
    if (!m_widget) return;
    m_widget->update();
    if (auto* d = dynamic_cast<DialogWidget*>(m_widget)) d->client->update();
}

void Window::setFont(const FontSpec& f) {
    if (!m_widget) return;
    QFont font(qs(f.face));
    font.setPointSize(std::max(1, f.pointSize));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    m_widget->setFont(font);
}

void Window::setToolTip(const std::string& tip) {
    if (m_widget) m_widget->setToolTip(qs(tip));
}
void Window::setRedraw(bool redraw) {
    if (m_widget) m_widget->setUpdatesEnabled(redraw);
}

void Window::setWindowIcon(const Image& icon) {
    if (m_widget && !icon.isNull()) m_widget->setWindowIcon(QIcon(icon.pixmap()));
}
std::string Window::toolTip() const {
    return m_widget ? ss(m_widget->toolTip()) : std::string();
}
void Window::setTimer(int id, int ms) {
    Timers::set(this, id, ms);
}
void Window::killTimer(int id) {
    Timers::kill(this, id);
}

Point Window::screenToClient(Point p) const {
    if (!m_widget) return p;
    QWidget* w = m_widget;
    if (auto* d = dynamic_cast<DialogWidget*>(m_widget)) w = d->client;
    QPoint q = w->mapFromGlobal(QPoint(p.x, p.y));
    return {q.x(), q.y()};
}

Point Window::clientToScreen(Point p) const {
    if (!m_widget) return p;
    QWidget* w = m_widget;
    if (auto* d = dynamic_cast<DialogWidget*>(m_widget)) w = d->client;
    QPoint q = w->mapToGlobal(QPoint(p.x, p.y));
    return {q.x(), q.y()};
}

} // namespace ui
