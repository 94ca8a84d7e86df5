// Windows, controls and dialogs over Qt widgets.

#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Painter.h>
#include <ui/Resources.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include "Internal_p.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSlider>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

namespace ui {

QString stripMnemonic(const QString& s) {
    QString out;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') { out += '&'; ++i; }
            continue;
        }
        out += s[i];
    }
    return out;
}

namespace {

Rect urect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

bool ieq(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

/// Client area of a dialog: hosts the controls and forwards paint and mouse to the dialog.
class ClientArea : public QWidget {
public:
    ClientArea(Dialog* d, QWidget* parent) : QWidget(parent), m_dialog(d) { setMouseTracking(false); }
    Dialog* m_dialog;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter qp(this);
        Painter p(qp);
        Dialog::Hooks::paint(*m_dialog, p);
    }
    void resizeEvent(QResizeEvent*) override { Dialog::Hooks::size(*m_dialog, width(), height()); }
    bool mouse(QMouseEvent* e, MouseEvent::Kind kind) {
        MouseEvent m;
        m.kind = kind;
        m.pos = {static_cast<int>(e->position().x()), static_cast<int>(e->position().y())};
        m.button = e->button() == Qt::LeftButton ? MouseEvent::Left : e->button() == Qt::RightButton ? MouseEvent::Right
                   : e->button() == Qt::MiddleButton ? MouseEvent::Middle : MouseEvent::None;
        m.buttons = (e->buttons() & Qt::LeftButton ? MouseEvent::Left : 0) |
                    (e->buttons() & Qt::RightButton ? MouseEvent::Right : 0);
        m.ctrl = e->modifiers() & Qt::ControlModifier;
        m.shift = e->modifiers() & Qt::ShiftModifier;
        return Dialog::Hooks::mouse(*m_dialog, m);
    }
    void mousePressEvent(QMouseEvent* e) override { if (!mouse(e, MouseEvent::Press)) QWidget::mousePressEvent(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { if (!mouse(e, MouseEvent::Release)) QWidget::mouseReleaseEvent(e); }
    void mouseMoveEvent(QMouseEvent* e) override { if (!mouse(e, MouseEvent::Move)) QWidget::mouseMoveEvent(e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (!mouse(e, MouseEvent::DoubleClick)) QWidget::mouseDoubleClickEvent(e);
    }
};

/// A placeholder or custom view: paints through the control's hook and fills an embedded view.
class HookView : public QFrame {
public:
    HookView(QWidget* parent) : QFrame(parent) {}
    Control* control = nullptr;
    QPointer<QWidget> embedded;

protected:
    void resizeEvent(QResizeEvent*) override {
        if (embedded) embedded->setGeometry(0, 0, width(), height());
    }
    void paintEvent(QPaintEvent* e) override {
        if (control && control->paintHandler) {
            QPainter qp(this);
            Painter p(qp);
            control->paintHandler(p);
        } else {
            QFrame::paintEvent(e);
        }
    }
    bool mouse(QMouseEvent* e, MouseEvent::Kind kind) {
        if (!control || !control->mouseHandler) return false;
        MouseEvent m;
        m.kind = kind;
        m.pos = {static_cast<int>(e->position().x()), static_cast<int>(e->position().y())};
        m.button = e->button() == Qt::LeftButton ? MouseEvent::Left : e->button() == Qt::RightButton ? MouseEvent::Right
                                                                                                    : MouseEvent::None;
        m.buttons = (e->buttons() & Qt::LeftButton ? MouseEvent::Left : 0) |
                    (e->buttons() & Qt::RightButton ? MouseEvent::Right : 0);
        m.ctrl = e->modifiers() & Qt::ControlModifier;
        m.shift = e->modifiers() & Qt::ShiftModifier;
        return control->mouseHandler(m);
    }
    void mousePressEvent(QMouseEvent* e) override { if (!mouse(e, MouseEvent::Press)) QFrame::mousePressEvent(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { if (!mouse(e, MouseEvent::Release)) QFrame::mouseReleaseEvent(e); }
    void mouseMoveEvent(QMouseEvent* e) override { if (!mouse(e, MouseEvent::Move)) QFrame::mouseMoveEvent(e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (!mouse(e, MouseEvent::DoubleClick)) QFrame::mouseDoubleClickEvent(e);
    }
};

} // namespace

/// The top-level widget of a dialog: menu bar, toolbar and client area.
class DialogWidget : public QWidget {
public:
    DialogWidget(Dialog* d, QWidget* parent, bool child)
        : QWidget(parent, child ? Qt::Widget : Qt::Dialog), m_dialog(d) {
        client = new ClientArea(d, this);
    }
    Dialog* m_dialog;
    ClientArea* client;
    QMenuBar* menuBar = nullptr;
    QWidget* toolBar = nullptr;
    QEventLoop* loop = nullptr;
    QSize clientSize;

    int chromeHeight() const {
        return (menuBar ? menuBar->sizeHint().height() : 0) + (toolBar ? toolBar->sizeHint().height() : 0);
    }
    void layoutChrome() {
        int y = 0;
        if (menuBar) {
            int h = menuBar->sizeHint().height();
            menuBar->setGeometry(0, 0, width(), h);
            y += h;
        }
        if (toolBar) {
            int h = toolBar->sizeHint().height();
            toolBar->setGeometry(0, y, width(), h);
            y += h;
        }
        client->setGeometry(0, y, width(), std::max(0, height() - y));
    }

protected:
    void resizeEvent(QResizeEvent*) override { layoutChrome(); }
    void moveEvent(QMoveEvent*) override { Dialog::Hooks::moved(*m_dialog); }
    void closeEvent(QCloseEvent* e) override {
        e->ignore(); // the dialog decides, as its close box does
        Dialog::Hooks::close(*m_dialog);
    }
};

namespace {

/// Watches keys, focus and context menus of every widget of a dialog.
class DialogFilter : public QObject {
public:
    DialogFilter(Dialog* d, QObject* parent) : QObject(parent), m_dialog(d) {}
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

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        switch (e->type()) {
        case QEvent::KeyPress: {
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

    bool defaultKey(const KeyEvent& k, Control* c) {
        if (c && c->kind() == ControlKind::Placeholder && c->embedded()) return false; // a grid wants every key
        if (k.vk == VK_ESCAPE) {
            m_dialog->sendCommand(IDCANCEL);
            return true;
        }
        if (k.vk == VK_RETURN) {
            if (c && (c->kind() == ControlKind::RichEdit || (c->kind() == ControlKind::Edit && c->isMultiLine() &&
                                                           c->hasStyle("ES_WANTRETURN"))))
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
};

ControlKind kindOf(const ControlTemplate& t) {
    const std::string& k = t.kind;
    if (k == "LTEXT" || k == "RTEXT" || k == "CTEXT") return ControlKind::Static;
    if (k == "ICON") return ControlKind::Picture;
    if (k == "GROUPBOX") return ControlKind::GroupBox;
    if (k == "EDITTEXT" || k == "Edit") return ControlKind::Edit;
    if (k == "PUSHBUTTON" || k == "DEFPUSHBUTTON") return ControlKind::PushButton;
    if (k == "CHECKBOX" || k == "AUTOCHECKBOX" || k == "AUTO3STATE" || k == "STATE3") return ControlKind::CheckBox;
    if (k == "RADIOBUTTON" || k == "AUTORADIOBUTTON") return ControlKind::RadioButton;
    if (k == "COMBOBOX" || k == "ComboBox") return ControlKind::ComboBox;
    if (k == "VorCheckCombo") return ControlKind::CheckCombo;
    if (k == "LISTBOX" || k == "ListBox") return ControlKind::ListBox;
    if (k == "SysListView32") return ControlKind::ListView;
    if (k == "SysTabControl32") return ControlKind::TabControl;
    if (k.rfind("RichEdit", 0) == 0 || k == "RICHEDIT50W") return ControlKind::RichEdit;
    if (k == "ToolbarWindow32") return ControlKind::ToolBar;
    if (k == "msctls_trackbar32") return ControlKind::Slider;
    if (k == "msctls_progress32") return ControlKind::Progress;
    if (k == "VorGrid" || k == "VorPreview" || k == "VorView") return ControlKind::Placeholder;
    if (k == "Button") {
        if (t.hasStyle("BS_GROUPBOX")) return ControlKind::GroupBox;
        if (t.hasStyle("BS_AUTOCHECKBOX") || t.hasStyle("BS_CHECKBOX") || t.hasStyle("BS_AUTO3STATE") ||
            t.hasStyle("BS_3STATE"))
            return ControlKind::CheckBox;
        if (t.hasStyle("BS_AUTORADIOBUTTON") || t.hasStyle("BS_RADIOBUTTON")) return ControlKind::RadioButton;
        return ControlKind::PushButton;
    }
    if (k == "Static") {
        if (t.hasStyle("SS_BITMAP") || t.hasStyle("SS_ICON") || t.hasStyle("SS_BLACKFRAME") ||
            t.hasStyle("SS_ETCHEDFRAME") || t.hasStyle("SS_GRAYFRAME") || t.hasStyle("SS_WHITEFRAME") ||
            t.hasStyle("SS_OWNERDRAW"))
            return ControlKind::Picture;
        return ControlKind::Static;
    }
    return ControlKind::Static;
}

Image imageFromText(const std::string& text) {
    try {
        size_t used = 0;
        int id = std::stoi(text, &used);
        if (used == text.size()) return Image::fromResource(id);
    } catch (...) {
    }
    Image fromTheme = Image::fromTheme(text, 16);
    return fromTheme;
}

} // namespace

// ---------------------------------------------------------------- Window

Window::~Window() = default;

Rect Window::windowRect() const {
    if (!m_widget) return {};
    if (m_widget->isWindow()) return urect(m_widget->frameGeometry());
    QPoint tl = m_widget->mapToGlobal(QPoint(0, 0));
    return Rect::fromSize(tl.x(), tl.y(), m_widget->width(), m_widget->height());
}

Rect Window::clientRect() const {
    if (!m_widget) return {};
    if (auto* d = dynamic_cast<DialogWidget*>(m_widget)) return {0, 0, d->client->width(), d->client->height()};
    return {0, 0, m_widget->width(), m_widget->height()};
}

void Window::moveWindow(const Rect& r, bool repaint) { moveWindow(r.left, r.top, r.width(), r.height(), repaint); }

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
    case SW_HIDE: m_widget->hide(); break;
    case SW_SHOWMAXIMIZED: m_widget->showMaximized(); break;
    case SW_SHOWMINIMIZED: m_widget->showMinimized(); break;
    case SW_RESTORE:
    case SW_SHOWNORMAL: m_widget->showNormal(); break;
    default: m_widget->show(); break;
    }
}

bool Window::isVisible() const { return m_widget && m_widget->isVisibleTo(m_widget->window()) && (m_widget->isWindow() ? m_widget->isVisible() : !m_widget->isHidden()); }
bool Window::isMaximized() const { return m_widget && m_widget->isMaximized(); }
void Window::enableWindow(bool enable) { if (m_widget) m_widget->setEnabled(enable); }
bool Window::isEnabled() const { return m_widget && m_widget->isEnabled(); }

void Window::setWindowText(const std::string& text) {
    if (!m_widget) return;
    QString t = qs(text);
    if (m_widget->isWindow()) { m_widget->setWindowTitle(t); return; }
    if (auto* l = qobject_cast<QLabel*>(m_widget)) l->setText(stripMnemonic(t));
    else if (auto* e = qobject_cast<QLineEdit*>(m_widget)) e->setText(t);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) {
        QString n = t;
        n.replace("\r\n", "\n");
        p->setPlainText(n);
    } else if (auto* r = qobject_cast<QTextEdit*>(m_widget)) r->setPlainText(t);
    else if (auto* b = qobject_cast<QAbstractButton*>(m_widget)) b->setText(t);
    else if (auto* g = qobject_cast<QGroupBox*>(m_widget)) g->setTitle(stripMnemonic(t));
    else if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        if (c->isEditable()) c->setEditText(t);
        else {
            int i = c->findText(t, Qt::MatchFixedString);
            c->setCurrentIndex(i);
        }
    } else m_widget->setWindowTitle(t);
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

void Window::setToolTip(const std::string& tip) { if (m_widget) m_widget->setToolTip(qs(tip)); }
std::string Window::toolTip() const { return m_widget ? ss(m_widget->toolTip()) : std::string(); }
void Window::setTimer(int id, int ms) { Timers::set(this, id, ms); }
void Window::killTimer(int id) { Timers::kill(this, id); }

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

// ---------------------------------------------------------------- Control

Control::Control(Dialog* owner, int id, ControlKind kind, QWidget* widget) : m_owner(owner), m_id(id), m_kind(kind) {
    attach(widget);
}

Control::~Control() { Timers::killAll(this); setGridAccess(this, nullptr); }

bool Control::hasStyle(const std::string& style) const {
    return std::find(styles.begin(), styles.end(), style) != styles.end();
}

void Control::notify(int code) {
    if (m_silent > 0 || !m_owner || !m_owner->exists()) return;
    m_owner->sendCommand(m_id, code);
}

int Control::checkState() const {
    if (auto* c = qobject_cast<QCheckBox*>(m_widget)) {
        switch (c->checkState()) {
        case Qt::Checked: return BST_CHECKED;
        case Qt::PartiallyChecked: return BST_INDETERMINATE;
        default: return BST_UNCHECKED;
        }
    }
    if (auto* b = qobject_cast<QAbstractButton*>(m_widget)) return b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    return BST_UNCHECKED;
}

void Control::setCheck(int state) {
    Silence s(*this);
    if (auto* c = qobject_cast<QCheckBox*>(m_widget)) {
        if (state == BST_INDETERMINATE) c->setTristate(true);
        c->setCheckState(state == BST_CHECKED ? Qt::Checked : state == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                                                          : Qt::Unchecked);
    } else if (auto* b = qobject_cast<QAbstractButton*>(m_widget)) {
        if (b->isCheckable()) b->setChecked(state == BST_CHECKED);
    }
}

void Control::setImage(const Image& image) {
    if (auto* b = qobject_cast<QAbstractButton*>(m_widget)) {
        b->setIcon(QIcon(image.pixmap()));
        b->setIconSize(image.pixmap().size());
    } else if (auto* l = qobject_cast<QLabel*>(m_widget)) {
        l->setPixmap(image.pixmap());
    }
}

bool Control::isDefaultButton() const {
    auto* b = qobject_cast<QPushButton*>(m_widget);
    return b && b->isDefault();
}

void Control::setSel(int start, int end) {
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) {
        int len = static_cast<int>(e->text().size());
        if (start == -1) { e->deselect(); return; }
        if (end < 0 || end > len) end = len;
        start = std::clamp(start, 0, len);
        e->setSelection(start, end - start);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) {
        QTextCursor c = p->textCursor();
        int len = p->document()->characterCount() - 1;
        if (end < 0 || end > len) end = len;
        c.setPosition(std::clamp(start, 0, len));
        c.setPosition(end, QTextCursor::KeepAnchor);
        p->setTextCursor(c);
    } else if (auto* c = qobject_cast<QComboBox*>(m_widget); c && c->lineEdit()) {
        int len = static_cast<int>(c->lineEdit()->text().size());
        if (end < 0 || end > len) end = len;
        c->lineEdit()->setSelection(std::clamp(start, 0, len), end - start);
    }
}

std::pair<int, int> Control::getSel() const {
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) {
        if (!e->hasSelectedText()) return {e->cursorPosition(), e->cursorPosition()};
        return {e->selectionStart(), e->selectionEnd()};
    }
    if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) {
        QTextCursor c = p->textCursor();
        return {c.selectionStart(), c.selectionEnd()};
    }
    if (auto* c = qobject_cast<QComboBox*>(m_widget); c && c->lineEdit()) {
        auto* e = c->lineEdit();
        if (!e->hasSelectedText()) return {e->cursorPosition(), e->cursorPosition()};
        return {e->selectionStart(), e->selectionEnd()};
    }
    return {0, 0};
}

void Control::replaceSel(const std::string& text) {
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) e->insert(qs(text));
    else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) p->insertPlainText(qs(text));
    else if (auto* c = qobject_cast<QComboBox*>(m_widget); c && c->lineEdit()) c->lineEdit()->insert(qs(text));
}

void Control::setReadOnly(bool ro) {
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) e->setReadOnly(ro);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) p->setReadOnly(ro);
    else if (auto* r = qobject_cast<QTextEdit*>(m_widget)) r->setReadOnly(ro);
}

bool Control::isReadOnly() const {
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) return e->isReadOnly();
    if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) return p->isReadOnly();
    if (auto* r = qobject_cast<QTextEdit*>(m_widget)) return r->isReadOnly();
    return false;
}

void Control::setLimitText(int maxChars) {
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) e->setMaxLength(maxChars > 0 ? maxChars : 32767);
    else if (auto* c = qobject_cast<QComboBox*>(m_widget); c && c->lineEdit())
        c->lineEdit()->setMaxLength(maxChars > 0 ? maxChars : 32767);
}

bool Control::isMultiLine() const { return qobject_cast<QPlainTextEdit*>(m_widget) != nullptr; }

namespace {
bool sorted(const Control& c) { return c.hasStyle("CBS_SORT") || c.hasStyle("LBS_SORT") || c.hasStyle("LBS_STANDARD"); }
QStandardItemModel* checkModel(QWidget* w) {
    auto* c = qobject_cast<QComboBox*>(w);
    return c ? qobject_cast<QStandardItemModel*>(c->model()) : nullptr;
}
void refreshCheckComboText(QComboBox* c) {
    auto* m = qobject_cast<QStandardItemModel*>(c->model());
    if (!m || !c->lineEdit()) return;
    QStringList on;
    for (int i = 0; i < m->rowCount(); ++i)
        if (m->item(i)->checkState() == Qt::Checked) on << m->item(i)->text();
    QSignalBlocker b(c->lineEdit());
    c->lineEdit()->setText(on.join(", "));
}
} // namespace

int Control::addString(const std::string& text) { return addString(text, Image()); }

int Control::addString(const std::string& text, const Image& image) {
    Silence s(*this);
    QString t = qs(text);
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        int at = c->count();
        if (sorted(*this))
            for (at = 0; at < c->count() && c->itemText(at).compare(t, Qt::CaseInsensitive) <= 0; ++at) {}
        if (m_kind == ControlKind::CheckCombo) {
            auto* m = checkModel(c);
            auto* item = new QStandardItem(t);
            item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
            item->setData(Qt::Unchecked, Qt::CheckStateRole);
            m->insertRow(at, item);
            c->setCurrentIndex(-1); // a check combo shows its checked items, not a current one
            refreshCheckComboText(c);
        } else if (!image.isNull()) {
            c->insertItem(at, QIcon(image.pixmap()), t);
        } else {
            c->insertItem(at, t);
        }
        if (c->isEditable() && m_kind != ControlKind::CheckCombo && c->count() == 1) c->setCurrentIndex(-1);
        return at;
    }
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        int at = l->count();
        if (sorted(*this))
            for (at = 0; at < l->count() && l->item(at)->text().compare(t, Qt::CaseInsensitive) <= 0; ++at) {}
        auto* item = image.isNull() ? new QListWidgetItem(t) : new QListWidgetItem(QIcon(image.pixmap()), t);
        l->insertItem(at, item);
        return at;
    }
    return -1;
}

int Control::insertString(int index, const std::string& text) {
    Silence s(*this);
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        if (index < 0 || index > c->count()) index = c->count();
        c->insertItem(index, qs(text));
        return index;
    }
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (index < 0 || index > l->count()) index = l->count();
        l->insertItem(index, qs(text));
        return index;
    }
    return -1;
}

int Control::deleteString(int index) {
    Silence s(*this);
    if (index < 0 || index >= count()) return -1;
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) c->removeItem(index);
    else if (auto* l = qobject_cast<QListWidget*>(m_widget)) delete l->takeItem(index);
    return count();
}

void Control::resetContent() {
    Silence s(*this);
    m_itemData.clear();
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        QString keep = c->isEditable() ? c->currentText() : QString();
        c->clear();
        if (c->isEditable() && m_kind != ControlKind::CheckCombo) c->setEditText(keep);
    } else if (auto* l = qobject_cast<QListWidget*>(m_widget)) l->clear();
    else if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) t->clear();
    else if (auto* tb = qobject_cast<QTabBar*>(m_widget))
        while (tb->count()) tb->removeTab(0);
}

int Control::count() const {
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) return c->count();
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) return l->count();
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) return t->topLevelItemCount();
    if (auto* tb = qobject_cast<QTabBar*>(m_widget)) return tb->count();
    return 0;
}

int Control::curSel() const {
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        if (c->isEditable() && c->currentIndex() >= 0 && c->currentText() != c->itemText(c->currentIndex())) return -1;
        return c->currentIndex();
    }
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (l->selectionMode() == QAbstractItemView::SingleSelection) {
            auto sel = l->selectedItems();
            return sel.isEmpty() ? -1 : l->row(sel.first());
        }
        return l->currentRow();
    }
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        auto sel = t->selectedItems();
        return sel.isEmpty() ? -1 : t->indexOfTopLevelItem(sel.first());
    }
    if (auto* tb = qobject_cast<QTabBar*>(m_widget)) return tb->currentIndex();
    if (auto* lw = qobject_cast<QListWidget*>(m_widget)) return lw->currentRow();
    return -1;
}

int Control::setCurSel(int index) {
    Silence s(*this);
    int n = count();
    bool bad = index < -1 || index >= n;
    if (bad) index = -1;
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) c->setCurrentIndex(index);
    else if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        l->clearSelection();
        l->setCurrentRow(index);
        if (index >= 0) l->item(index)->setSelected(true);
    } else if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        t->clearSelection();
        if (index >= 0) { t->topLevelItem(index)->setSelected(true); t->setCurrentItem(t->topLevelItem(index)); }
    } else if (auto* tb = qobject_cast<QTabBar*>(m_widget)) {
        if (index >= 0) tb->setCurrentIndex(index);
    }
    return bad ? -1 : index;
}

std::string Control::itemText(int index) const {
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) return index >= 0 && index < c->count() ? ss(c->itemText(index)) : "";
    if (auto* l = qobject_cast<QListWidget*>(m_widget))
        return index >= 0 && index < l->count() ? ss(l->item(index)->text()) : "";
    if (auto* tb = qobject_cast<QTabBar*>(m_widget)) return ss(tb->tabText(index));
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget))
        return index >= 0 && index < t->topLevelItemCount() ? ss(t->topLevelItem(index)->text(0)) : "";
    return {};
}

int Control::findStringExact(const std::string& text, int startAfter) const {
    QString t = qs(text);
    int n = count();
    for (int k = 0; k < n; ++k) {
        int i = (startAfter + 1 + k) % std::max(n, 1);
        if (ieq(qs(itemText(i)), t)) return i;
    }
    return -1;
}

int Control::selectString(const std::string& text) {
    QString t = qs(text);
    for (int i = 0; i < count(); ++i)
        if (qs(itemText(i)).startsWith(t, Qt::CaseInsensitive)) return setCurSel(i);
    return -1;
}

void Control::setItemData(int index, std::intptr_t data) {
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) c->setItemData(index, QVariant::fromValue<qlonglong>(data));
    else if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (auto* it = l->item(index)) it->setData(Qt::UserRole, QVariant::fromValue<qlonglong>(data));
    } else m_itemData[index] = data;
}

std::intptr_t Control::itemData(int index) const {
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) return static_cast<std::intptr_t>(c->itemData(index).toLongLong());
    if (auto* l = qobject_cast<QListWidget*>(m_widget))
        return l->item(index) ? static_cast<std::intptr_t>(l->item(index)->data(Qt::UserRole).toLongLong()) : 0;
    auto it = m_itemData.find(index);
    return it == m_itemData.end() ? 0 : it->second;
}

bool Control::isSelected(int index) const {
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) return l->item(index) && l->item(index)->isSelected();
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget))
        return t->topLevelItem(index) && t->topLevelItem(index)->isSelected();
    return index >= 0 && index == curSel();
}

void Control::setSelected(int index, bool selected) {
    Silence s(*this);
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (index == -1) {
            for (int i = 0; i < l->count(); ++i) l->item(i)->setSelected(selected);
        } else if (auto* it = l->item(index)) it->setSelected(selected);
    } else if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        if (auto* it = t->topLevelItem(index)) it->setSelected(selected);
    }
}

std::vector<int> Control::selectedIndexes() const {
    std::vector<int> out;
    for (int i = 0; i < count(); ++i)
        if (isSelected(i)) out.push_back(i);
    return out;
}

bool Control::itemChecked(int index) const {
    auto* m = checkModel(m_widget);
    return m && m->item(index) && m->item(index)->checkState() == Qt::Checked;
}

void Control::setItemChecked(int index, bool checked) {
    Silence s(*this);
    auto* m = checkModel(m_widget);
    if (!m || !m->item(index)) return;
    m->item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    refreshCheckComboText(qobject_cast<QComboBox*>(m_widget));
}

void Control::setDroppedWidth(int pixels) {
    if (auto* c = qobject_cast<QComboBox*>(m_widget)) c->view()->setMinimumWidth(pixels);
}

int Control::insertTab(int index, const std::string& text) {
    Silence s(*this);
    if (auto* tb = qobject_cast<QTabBar*>(m_widget)) return tb->insertTab(index, qs(text));
    return -1;
}

void Control::setImageSize(Size size) {
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) l->setIconSize(QSize(size.cx, size.cy));
    else if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) t->setIconSize(QSize(size.cx, size.cy));
}

int Control::insertColumn(int index, const std::string& heading, int width) {
    auto* t = qobject_cast<QTreeWidget*>(m_widget);
    if (!t) return -1;
    int n = t->columnCount();
    QStringList labels;
    for (int i = 0; i < n; ++i) labels << t->headerItem()->text(i);
    if (n == 1 && labels[0].isEmpty() && t->property("vorColumns").toInt() == 0) { labels.clear(); n = 0; }
    index = std::clamp(index, 0, n);
    labels.insert(index, qs(heading));
    t->setColumnCount(static_cast<int>(labels.size()));
    t->setHeaderLabels(labels);
    t->setColumnWidth(index, width);
    t->setProperty("vorColumns", static_cast<int>(labels.size()));
    t->header()->setVisible(true);
    return index;
}

int Control::insertItem(int index, const std::string& text, const Image& image) {
    Silence s(*this);
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        if (index < 0 || index > t->topLevelItemCount()) index = t->topLevelItemCount();
        auto* it = new QTreeWidgetItem(QStringList{qs(text)});
        if (!image.isNull()) it->setIcon(0, QIcon(image.pixmap()));
        t->insertTopLevelItem(index, it);
        return index;
    }
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (index < 0 || index > l->count()) index = l->count();
        auto* it = image.isNull() ? new QListWidgetItem(qs(text)) : new QListWidgetItem(QIcon(image.pixmap()), qs(text));
        l->insertItem(index, it);
        return index;
    }
    return insertString(index, text);
}

void Control::setItemText(int index, int column, const std::string& text) {
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        if (auto* it = t->topLevelItem(index)) it->setText(column, qs(text));
    } else if (auto* l = qobject_cast<QListWidget*>(m_widget); l && column == 0) {
        if (auto* it = l->item(index)) it->setText(qs(text));
    } else if (auto* tb = qobject_cast<QTabBar*>(m_widget)) tb->setTabText(index, qs(text));
}

std::string Control::itemText(int index, int column) const {
    if (auto* t = qobject_cast<QTreeWidget*>(m_widget))
        return t->topLevelItem(index) ? ss(t->topLevelItem(index)->text(column)) : "";
    return column == 0 ? itemText(index) : "";
}

void Control::ensureVisible(int index) {
    if (auto* l = qobject_cast<QListWidget*>(m_widget)) {
        if (auto* it = l->item(index)) l->scrollToItem(it);
    } else if (auto* t = qobject_cast<QTreeWidget*>(m_widget)) {
        if (auto* it = t->topLevelItem(index)) t->scrollToItem(it);
    }
}

void Control::setRange(int low, int high) {
    if (auto* s = qobject_cast<QSlider*>(m_widget)) s->setRange(low, high);
    else if (auto* p = qobject_cast<QProgressBar*>(m_widget)) p->setRange(low, high);
}

void Control::setPos(int p) {
    Silence s(*this);
    if (auto* sl = qobject_cast<QSlider*>(m_widget)) sl->setValue(p);
    else if (auto* pb = qobject_cast<QProgressBar*>(m_widget)) pb->setValue(p);
}

int Control::pos() const {
    if (auto* sl = qobject_cast<QSlider*>(m_widget)) return sl->value();
    if (auto* pb = qobject_cast<QProgressBar*>(m_widget)) return pb->value();
    return 0;
}

void Control::embed(QWidget* view) {
    auto* h = dynamic_cast<HookView*>(m_widget);
    if (!h || !view) return;
    if (h->embedded && h->embedded != view) delete h->embedded.data();
    view->setParent(h);
    view->setGeometry(0, 0, h->width(), h->height());
    view->show();
    h->embedded = view;
    h->setFrameShape(QFrame::NoFrame);
    m_embedded = view;
    if (auto* f = m_owner ? m_owner->widget() : nullptr) {
        for (QObject* o : f->children())
            if (auto* filter = dynamic_cast<DialogFilter*>(o)) {
                view->installEventFilter(filter);
                for (auto* w : view->findChildren<QWidget*>()) w->installEventFilter(filter);
            }
    }
}

void Control::setPaintHandler(std::function<void(Painter&)> paint) {
    paintHandler = std::move(paint);
    if (m_widget) m_widget->update();
}

void Control::setMouseHandler(std::function<bool(const MouseEvent&)> mouse) { mouseHandler = std::move(mouse); }

// ---------------------------------------------------------------- Dialog

Dialog::Dialog(int templateId, Window* parent) : m_templateId(templateId), m_parent(parent) {}

Dialog::~Dialog() {
    if (m_widget && !m_modal) agent().dialogDestroyed(*this); // a modeless window going with its object
    if (m_widget) teardown();
}

Window* Dialog::defaultParent() { return nullptr; }

std::string Dialog::describe() const {
    std::string s = "dialog " + std::to_string(m_templateId);
    std::string cap = m_widget ? windowText() : std::string();
    if (cap.empty())
        if (const DialogTemplate* t = Resources::dialog(m_templateId)) cap = t->caption;
    if (!cap.empty()) s += " \"" + cap + "\"";
    return s;
}

namespace {

QWidget* createWidget(const ControlTemplate& t, ControlKind kind, QWidget* parent) {
    QString text = qs(t.text);
    switch (kind) {
    case ControlKind::Static: {
        auto* l = new QLabel(stripMnemonic(text), parent);
        l->setWordWrap(!t.hasStyle("SS_LEFTNOWORDWRAP"));
        Qt::Alignment a = t.kind == "RTEXT" || t.hasStyle("SS_RIGHT") ? Qt::AlignRight
                          : t.kind == "CTEXT" || t.hasStyle("SS_CENTER") ? Qt::AlignHCenter : Qt::AlignLeft;
        l->setAlignment(a | (t.hasStyle("SS_CENTERIMAGE") ? Qt::AlignVCenter : Qt::AlignTop));
        if (t.hasStyle("SS_SUNKEN") || t.hasStyle("WS_BORDER")) l->setFrameShape(QFrame::Panel), l->setFrameShadow(QFrame::Sunken);
        return l;
    }
    case ControlKind::Picture: {
        auto* l = new QLabel(parent);
        if (t.hasStyle("SS_BLACKFRAME") || t.hasStyle("SS_GRAYFRAME") || t.hasStyle("SS_ETCHEDFRAME"))
            l->setFrameShape(QFrame::Box);
        if (!t.text.empty()) {
            Image im = imageFromText(t.text);
            if (!im.isNull()) l->setPixmap(im.pixmap());
        }
        l->setAlignment(t.hasStyle("SS_CENTERIMAGE") ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
        return l;
    }
    case ControlKind::GroupBox: return new QGroupBox(stripMnemonic(text), parent);
    case ControlKind::Edit: {
        if (t.hasStyle("ES_MULTILINE")) {
            auto* p = new QPlainTextEdit(parent);
            p->setPlainText(text);
            p->setTabChangesFocus(true);
            p->setReadOnly(t.hasStyle("ES_READONLY"));
            p->setLineWrapMode(t.hasStyle("ES_AUTOHSCROLL") || t.hasStyle("WS_HSCROLL") ? QPlainTextEdit::NoWrap
                                                                                       : QPlainTextEdit::WidgetWidth);
            return p;
        }
        auto* e = new QLineEdit(text, parent);
        e->setReadOnly(t.hasStyle("ES_READONLY"));
        if (t.hasStyle("ES_PASSWORD")) e->setEchoMode(QLineEdit::Password);
        if (t.hasStyle("ES_NUMBER")) e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
        if (t.hasStyle("ES_RIGHT")) e->setAlignment(Qt::AlignRight);
        if (t.hasStyle("ES_CENTER")) e->setAlignment(Qt::AlignHCenter);
        return e;
    }
    case ControlKind::PushButton: {
        auto* b = new QPushButton(parent);
        if (t.hasStyle("BS_BITMAP") || t.hasStyle("BS_ICON")) {
            Image im = imageFromText(t.text);
            if (!im.isNull()) { b->setIcon(QIcon(im.pixmap())); b->setIconSize(im.pixmap().size()); }
            else b->setText(text);
        } else {
            b->setText(text);
        }
        b->setAutoDefault(false);
        b->setDefault(t.kind == "DEFPUSHBUTTON" || t.hasStyle("BS_DEFPUSHBUTTON"));
        return b;
    }
    case ControlKind::CheckBox: {
        if (t.hasStyle("BS_PUSHLIKE")) {
            auto* b = new QPushButton(text, parent);
            b->setCheckable(true);
            if (t.hasStyle("BS_BITMAP") || t.hasStyle("BS_ICON")) {
                Image im = imageFromText(t.text);
                if (!im.isNull()) { b->setText(QString()); b->setIcon(QIcon(im.pixmap())); b->setIconSize(im.pixmap().size()); }
            }
            return b;
        }
        auto* c = new QCheckBox(text, parent);
        c->setTristate(t.kind == "AUTO3STATE" || t.kind == "STATE3" || t.hasStyle("BS_AUTO3STATE") ||
                       t.hasStyle("BS_3STATE"));
        return c;
    }
    case ControlKind::RadioButton: {
        auto* r = new QRadioButton(text, parent);
        r->setAutoExclusive(false);
        return r;
    }
    case ControlKind::ComboBox:
    case ControlKind::CheckCombo: {
        auto* c = new QComboBox(parent);
        bool editable = kind == ControlKind::CheckCombo || t.hasStyle("CBS_DROPDOWN") || t.hasStyle("CBS_SIMPLE") ||
                        (!t.hasStyle("CBS_DROPDOWNLIST") && t.kind == "COMBOBOX" && !t.hasStyle("CBS_OWNERDRAWFIXED"));
        c->setEditable(editable);
        if (editable) c->setInsertPolicy(QComboBox::NoInsert);
        if (kind == ControlKind::CheckCombo) {
            c->setModel(new QStandardItemModel(c));
            c->lineEdit()->setReadOnly(true);
        }
        if (t.hasStyle("CBS_OWNERDRAWFIXED")) c->setIconSize(QSize(32, 16));
        return c;
    }
    case ControlKind::ListBox: {
        auto* l = new QListWidget(parent);
        if (t.hasStyle("LBS_EXTENDEDSEL")) l->setSelectionMode(QAbstractItemView::ExtendedSelection);
        else if (t.hasStyle("LBS_MULTIPLESEL")) l->setSelectionMode(QAbstractItemView::MultiSelection);
        else l->setSelectionMode(QAbstractItemView::SingleSelection);
        return l;
    }
    case ControlKind::ListView: {
        if (t.hasStyle("LVS_REPORT")) {
            auto* tr = new QTreeWidget(parent);
            tr->setRootIsDecorated(false);
            tr->setHeaderHidden(t.hasStyle("LVS_NOCOLUMNHEADER"));
            tr->setSelectionMode(t.hasStyle("LVS_SINGLESEL") ? QAbstractItemView::SingleSelection
                                                             : QAbstractItemView::ExtendedSelection);
            return tr;
        }
        auto* l = new QListWidget(parent);
        l->setViewMode(QListView::IconMode);
        l->setResizeMode(QListView::Adjust);
        l->setMovement(QListView::Static);
        l->setIconSize(QSize(64, 64));
        l->setSelectionMode(t.hasStyle("LVS_SINGLESEL") ? QAbstractItemView::SingleSelection
                                                        : QAbstractItemView::ExtendedSelection);
        return l;
    }
    case ControlKind::TabControl: {
        auto* tb = new QTabBar(parent);
        tb->setDrawBase(true);
        tb->setExpanding(false);
        return tb;
    }
    case ControlKind::RichEdit: {
        auto* r = new QTextEdit(parent);
        r->setAcceptRichText(false);
        r->setPlainText(text);
        r->setReadOnly(t.hasStyle("ES_READONLY"));
        return r;
    }
    case ControlKind::ToolBar: return new QToolBar(parent);
    case ControlKind::Slider: return new QSlider(Qt::Horizontal, parent);
    case ControlKind::Progress: return new QProgressBar(parent);
    case ControlKind::Placeholder: {
        auto* h = new HookView(parent);
        h->setFrameShape(t.hasStyle("WS_BORDER") ? QFrame::Box : QFrame::NoFrame);
        return h;
    }
    }
    return new QLabel(parent);
}

void connectNotifications(Control* c, QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        QObject::connect(b, &QAbstractButton::clicked, w, [c] { c->notify(BN_CLICKED); });
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        QObject::connect(e, &QLineEdit::textChanged, w, [c] { c->notify(EN_CHANGE); });
    }
    if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        QObject::connect(p, &QPlainTextEdit::textChanged, w, [c] { c->notify(EN_CHANGE); });
    }
    if (auto* r = qobject_cast<QTextEdit*>(w)) {
        QObject::connect(r, &QTextEdit::textChanged, w, [c] { c->notify(EN_CHANGE); });
    }
    if (auto* cb = qobject_cast<QComboBox*>(w)) {
        if (c->kind() == ControlKind::CheckCombo) {
            auto* m = qobject_cast<QStandardItemModel*>(cb->model());
            QObject::connect(m, &QStandardItemModel::itemChanged, w, [c, cb] {
                refreshCheckComboText(cb);
                c->notify(CBN_SELCHANGE);
            });
        } else {
            QObject::connect(cb, qOverload<int>(&QComboBox::activated), w, [c] { c->notify(CBN_SELCHANGE); });
            if (cb->lineEdit())
                QObject::connect(cb->lineEdit(), &QLineEdit::textEdited, w, [c] { c->notify(CBN_EDITCHANGE); });
        }
    }
    if (auto* l = qobject_cast<QListWidget*>(w)) {
        bool listView = c->kind() == ControlKind::ListView;
        QObject::connect(l, &QListWidget::itemSelectionChanged, w,
                         [c, listView] { c->notify(listView ? LVN_ITEMCHANGED : LBN_SELCHANGE); });
        QObject::connect(l, &QListWidget::itemDoubleClicked, w,
                         [c, listView] { c->notify(listView ? NM_DBLCLK : LBN_DBLCLK); });
    }
    if (auto* t = qobject_cast<QTreeWidget*>(w)) {
        QObject::connect(t, &QTreeWidget::itemSelectionChanged, w, [c] { c->notify(LVN_ITEMCHANGED); });
        QObject::connect(t, &QTreeWidget::itemDoubleClicked, w, [c] { c->notify(NM_DBLCLK); });
    }
    if (auto* tb = qobject_cast<QTabBar*>(w)) {
        QObject::connect(tb, &QTabBar::currentChanged, w, [c] { c->notify(TCN_SELCHANGE); });
    }
    if (auto* s = qobject_cast<QSlider*>(w)) {
        QObject::connect(s, &QSlider::valueChanged, w, [c] { c->notify(0); });
    }
}

} // namespace

bool Dialog::build(Window* parent) {
    const DialogTemplate* t = Resources::dialog(m_templateId);
    if (!t) {
        std::fprintf(stderr, "dialog template %d is not among the resources\n", m_templateId);
        return false;
    }
    ensureApplication();
    bool child = t->hasStyle("WS_CHILD");
    QWidget* parentWidget = parent && parent->widget() ? parent->widget() : (child ? nullptr : mainWindow());
    auto* w = new DialogWidget(this, parentWidget, child);
    attach(w);
    m_ended = false;
    m_endCode = 0;
    w->setWindowTitle(qs(t->caption));
    QFont font = w->font();
    if (t->fontSize > 0) font.setPointSize(std::clamp(t->fontSize + 1, 6, 14));
    w->setFont(font);

    auto* filter = new DialogFilter(this, w);
    w->installEventFilter(filter);

    if (t->menuId) setMenu(t->menuId);

    Rect px = dluToPixels(t->rect);
    w->clientSize = QSize(px.width(), px.height());
    QButtonGroup* group = nullptr;
    for (const ControlTemplate& ct : t->controls) {
        ControlKind kind = kindOf(ct);
        QWidget* cw = createWidget(ct, kind, w->client);
        Rect r = dluToPixels(ct.rect);
        int h = r.height();
        if (kind == ControlKind::ComboBox || kind == ControlKind::CheckCombo)
            h = std::min(h, std::max(dluToPixelsY(12), cw->sizeHint().height())); // the template height is the list's
        cw->setGeometry(r.left, r.top, r.width(), h);
        if (ct.hasStyle("NOT WS_VISIBLE")) cw->hide();
        if (ct.hasStyle("WS_DISABLED")) cw->setEnabled(false);
        if (ct.hasStyle("NOT WS_TABSTOP") || kind == ControlKind::Static || kind == ControlKind::GroupBox ||
            kind == ControlKind::Picture)
            cw->setFocusPolicy(kind == ControlKind::Placeholder ? Qt::StrongFocus : Qt::NoFocus);
        auto c = std::make_unique<Control>(this, ct.id, kind, cw);
        c->styles = ct.styles;
        if (kind == ControlKind::PushButton && qobject_cast<QPushButton*>(cw)->isDefault()) m_defaultButton = ct.id;
        if (auto* hv = dynamic_cast<HookView*>(cw)) hv->control = c.get();
        if (ct.hasStyle("WS_GROUP") || !group) group = nullptr;
        if (kind == ControlKind::RadioButton) {
            if (!group) {
                group = new QButtonGroup(w);
                group->setExclusive(ct.kind == "AUTORADIOBUTTON" || ct.hasStyle("BS_AUTORADIOBUTTON"));
            }
            group->addButton(static_cast<QAbstractButton*>(cw));
        }
        filter->controlOf[cw] = c.get();
        cw->installEventFilter(filter);
        for (auto* sub : cw->findChildren<QWidget*>()) {
            sub->installEventFilter(filter);
        }
        connectNotifications(c.get(), cw);
        m_controls.push_back(std::move(c));
    }

    int chrome = w->chromeHeight();
    w->resize(px.width(), px.height() + chrome);
    w->layoutChrome();
    if (!t->hasStyle("WS_THICKFRAME") && !child) {
        // fixed-size dialogs keep their template size; resizable ones honour the minimum tracking size
    }
    if (!child) {
        QWidget* over = parentWidget ? parentWidget->window() : nullptr;
        QRect area = over && over->isVisible() ? over->frameGeometry()
                                               : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                                                   : QRect(0, 0, 1280, 1024));
        w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
    }
    return true;
}

void Dialog::teardown() {
    auto* w = static_cast<DialogWidget*>(m_widget);
    if (!w) return;
    Timers::killAll(this);
    for (auto& c : m_controls) Timers::killAll(c.get());
    for (QObject* o : w->findChildren<QObject*>()) o->blockSignals(true);
    w->blockSignals(true);
    for (QObject* o : w->children())
        if (auto* f = dynamic_cast<DialogFilter*>(o)) {
            w->removeEventFilter(f);
            for (auto* c : w->findChildren<QWidget*>()) c->removeEventFilter(f);
        }
    w->hide();
    attach(nullptr);
    m_controls.clear();
    m_menu.reset();
    m_toolBar.reset();
    w->deleteLater();
}

int Dialog::doModal() {
    if (m_widget) return -1;
    if (!build(m_parent)) return -1;
    m_modal = true;
    bool focusFirst = Hooks::initDialog(*this);
    if (!m_ended) {
        m_widget->show();
        applyPendingPlacement();
        m_widget->raise();
        m_widget->activateWindow();
        QApplication::setActiveWindow(m_widget);
        if (focusFirst) {
            for (auto& c : m_controls)
                if (c->widget()->isVisibleTo(m_widget) && c->isEnabled() && c->widget()->focusPolicy() != Qt::NoFocus) {
                    c->setFocus();
                    if (auto* e = qobject_cast<QLineEdit*>(c->widget())) e->selectAll();
                    break;
                }
        }
        processEvents();
        agent().runModal(*this);
    }
    int code = m_endCode;
    if (m_widget) {
        Hooks::destroy(*this);
        teardown();
    }
    m_modal = false;
    processEvents();
    return code;
}

bool Dialog::create(Window* parent) {
    if (m_widget) return true;
    if (!build(parent ? parent : m_parent)) return false;
    m_modal = false;
    bool focusFirst = Hooks::initDialog(*this);
    const DialogTemplate* t = Resources::dialog(m_templateId);
    if (m_widget && (!t || t->hasStyle("WS_VISIBLE") || !t->hasStyle("NOT WS_VISIBLE"))) {
        m_widget->show();
        applyPendingPlacement();
        if (focusFirst)
            for (auto& c : m_controls)
                if (c->widget()->isVisibleTo(m_widget) && c->isEnabled() && c->widget()->focusPolicy() != Qt::NoFocus) {
                    c->setFocus();
                    break;
                }
    }
    if (m_widget) agent().dialogCreated(*this);
    return m_widget != nullptr;
}

void Dialog::destroyWindow() {
    if (!m_widget) return;
    Hooks::destroy(*this);
    agent().dialogDestroyed(*this);
    teardown();
}

void Dialog::applyPendingPlacement() {
    QVariant pending = m_widget ? m_widget->property("vorPendingRect") : QVariant();
    if (!pending.isValid()) return;
    m_widget->setProperty("vorPendingRect", QVariant());
    if (m_widget->isMaximized()) return;
    QRect r = pending.toRect();
    moveWindow(r.x(), r.y(), r.width(), r.height());
}

void setDialogLoop(QWidget* w, QEventLoop* loop) {
    if (auto* d = dynamic_cast<DialogWidget*>(w)) d->loop = loop;
}

void Dialog::endDialog(int code) {
    m_endCode = code;
    if (m_modal) {
        m_ended = true;
        if (auto* w = static_cast<DialogWidget*>(m_widget); w && w->loop) w->loop->quit();
    } else if (m_widget) {
        m_widget->hide();
    }
}

Control* Dialog::item(int id) const {
    for (const auto& c : m_controls)
        if (c->id() == id) return c.get();
    return nullptr;
}

std::vector<Control*> Dialog::controls() const {
    std::vector<Control*> out;
    for (const auto& c : m_controls) out.push_back(c.get());
    return out;
}

Control* Dialog::focusControl() const {
    QWidget* f = QApplication::focusWidget();
    if (!f) return nullptr;
    for (const auto& c : m_controls)
        if (c->widget() == f || c->widget()->isAncestorOf(f)) return c.get();
    return nullptr;
}

void Dialog::gotoDlgCtrl(int id) {
    if (Control* c = item(id)) {
        c->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(c->widget())) e->selectAll();
    }
}

void Dialog::setMinTrackSize(Size size) {
    m_minTrack = size;
    if (m_widget) m_widget->setMinimumSize(std::max(0, size.cx), std::max(0, size.cy));
}

int Dialog::clientTop() const { return 0; }

void Dialog::sendCommand(int id, int code) {
    if (!m_widget) return;
    if (Hooks::command(*this, id, code)) return;
    if (code == BN_CLICKED && m_widget) {
        if (id == IDOK) Hooks::ok(*this);
        else if (id == IDCANCEL) Hooks::cancel(*this);
    }
}

void Dialog::sendKey(const KeyEvent& key) {
    if (!m_widget) return;
    // A real key event through the focused widget, so pre-translation, the default keys and the
    // widget's own handling all run as they do for a person.
    QWidget* target = QApplication::focusWidget();
    if (!target || (target != m_widget && !m_widget->isAncestorOf(target))) target = m_widget;
    Qt::KeyboardModifiers mods;
    if (key.ctrl) mods |= Qt::ControlModifier;
    if (key.shift) mods |= Qt::ShiftModifier;
    if (key.alt) mods |= Qt::AltModifier;
    int qk = qtKeyOf(key.vk);
    if (key.vk == VK_TAB && key.shift) qk = Qt::Key_Backtab;
    QKeyEvent press(QEvent::KeyPress, qk, mods, qs(key.text));
    QCoreApplication::sendEvent(target, &press);
    if (m_widget && target) {
        QKeyEvent release(QEvent::KeyRelease, qk, mods, qs(key.text));
        if (QApplication::focusWidget()) QCoreApplication::sendEvent(QApplication::focusWidget(), &release);
    }
}

bool Dialog::setMenu(int menuId) {
    if (!Resources::menu(menuId)) return false;
    m_menu = std::make_unique<Menu>(menuId);
    auto* w = static_cast<DialogWidget*>(m_widget);
    if (!w) return true;
    if (!w->menuBar) w->menuBar = new QMenuBar(w);
    Menu* menu = m_menu.get();
    auto rebuild = [this, w, menu] {
        w->menuBar->clear();
        std::function<void(QMenu*, const std::vector<Menu::Item>&)> fill = [&](QMenu* into, const auto& items) {
            for (const Menu::Item& it : items) {
                if (it.separator) { into->addSeparator(); continue; }
                if (!it.children.empty() || it.id == 0) {
                    QMenu* sub = into->addMenu(qs(it.text));
                    QObject::connect(sub, &QMenu::aboutToShow, sub, [this, menu] { Hooks::initMenuPopup(*this, *menu); });
                    fill(sub, it.children);
                    continue;
                }
                QAction* a = into->addAction(qs(it.text));
                a->setEnabled(it.enabled);
                a->setCheckable(it.checked);
                a->setChecked(it.checked);
                int id = it.id;
                QObject::connect(a, &QAction::triggered, w, [this, id] { sendCommand(id, 0); });
            }
        };
        for (const Menu::Item& top : menu->items()) {
            if (top.children.empty() && top.id) {
                QAction* a = w->menuBar->addAction(qs(top.text));
                int id = top.id;
                a->setEnabled(top.enabled);
                QObject::connect(a, &QAction::triggered, w, [this, id] { sendCommand(id, 0); });
                continue;
            }
            QMenu* sub = w->menuBar->addMenu(qs(top.text));
            QObject::connect(sub, &QMenu::aboutToShow, sub, [this, menu] { Hooks::initMenuPopup(*this, *menu); });
            fill(sub, top.children);
        }
    };
    menu->changed = rebuild;
    rebuild();
    w->layoutChrome();
    return true;
}

ToolBar* Dialog::createToolBar(int toolbarId) {
    const ToolbarTemplate* t = Resources::toolbar(toolbarId);
    auto* w = static_cast<DialogWidget*>(m_widget);
    if (!t || !w) return nullptr;
    auto* bar = new QToolBar(w);
    bar->setIconSize(QSize(std::max(16, t->buttonWidth), std::max(16, t->buttonHeight)));
    for (const ToolbarButtonTemplate& b : t->buttons) {
        if (b.id == 0) { bar->addSeparator(); continue; }
        Image im;
        if (!b.icon.empty()) {
            im = Image::fromTheme(b.icon, 16);
            if (im.isNull()) {
                // an embedded picture of the same name, or a numbered picture resource
                try {
                    im = Image::fromResource(std::stoi(b.icon));
                } catch (...) {
                }
            }
        }
        std::string tip = b.tip;
        if (tip.empty())
            if (auto s = Resources::string(b.id)) tip = s->substr(s->find('\n') == std::string::npos ? 0 : s->find('\n') + 1);
        QAction* a = im.isNull() ? bar->addAction(qs(tip.empty() ? std::to_string(b.id) : tip))
                                 : bar->addAction(QIcon(im.pixmap()), qs(tip));
        a->setToolTip(qs(tip));
        a->setData(b.id);
        int id = b.id;
        QObject::connect(a, &QAction::triggered, w, [this, id] { sendCommand(id, 0); });
    }
    w->toolBar = bar;
    bar->show();
    QSize client = w->client->size();
    w->resize(w->width(), client.height() + w->chromeHeight());
    w->layoutChrome();
    m_toolBar = std::make_unique<ToolBar>(this, toolbarId, bar);
    return m_toolBar.get();
}

int Dialog::trackPopupMenu(int menuId, int subIndex, Point screenPos) {
    if (!Resources::menu(menuId)) return 0;
    Menu bar(menuId);
    Menu popup = subIndex >= 0 ? bar.subMenu(subIndex) : bar;
    Hooks::initMenuPopup(*this, popup);
    PopupRequest req;
    req.screenPos = screenPos;
    std::function<void(const std::vector<Menu::Item>&)> collect = [&](const auto& items) {
        for (const Menu::Item& it : items) {
            if (it.separator) continue;
            if (!it.children.empty()) { collect(it.children); continue; }
            req.ids.push_back(it.id);
            req.texts.push_back(it.text);
            req.enabled.push_back(it.enabled);
        }
    };
    collect(popup.items());
    int chosen = agent().popupMenu(req, this);
    if (chosen) {
        auto it = std::find(req.ids.begin(), req.ids.end(), chosen);
        if (it == req.ids.end() || !req.enabled[static_cast<size_t>(it - req.ids.begin())]) return 0;
    }
    return chosen;
}

// ---------------------------------------------------------------- Menu

namespace {
Menu::Item toItem(const MenuItemTemplate& t) {
    Menu::Item it;
    it.id = t.id;
    it.text = t.text;
    it.enabled = !t.grayed;
    it.checked = t.checked;
    it.separator = t.separator;
    for (const auto& c : t.children) it.children.push_back(toItem(c));
    return it;
}
} // namespace

Menu::Menu(int menuId) : m_id(menuId) {
    if (const MenuTemplate* t = Resources::menu(menuId))
        for (const auto& i : t->items) m_items.push_back(toItem(i));
}

Menu::~Menu() = default;

Menu::Item* Menu::find(int commandId) {
    std::function<Item*(std::vector<Item>&)> f = [&](std::vector<Item>& items) -> Item* {
        for (Item& it : items) {
            if (!it.separator && it.id == commandId && it.children.empty()) return &it;
            if (Item* x = f(it.children)) return x;
        }
        return nullptr;
    };
    return f(m_items);
}

const Menu::Item* Menu::find(int commandId) const { return const_cast<Menu*>(this)->find(commandId); }

bool Menu::hasItem(int commandId) const { return find(commandId) != nullptr; }

void Menu::enableItem(int commandId, bool enable) {
    if (Item* it = find(commandId); it && it->enabled != enable) {
        it->enabled = enable;
        if (changed) changed();
    }
}

bool Menu::isEnabled(int commandId) const {
    const Item* it = find(commandId);
    return it && it->enabled;
}

void Menu::checkItem(int commandId, bool check) {
    if (Item* it = find(commandId); it && it->checked != check) {
        it->checked = check;
        if (changed) changed();
    }
}

bool Menu::isChecked(int commandId) const {
    const Item* it = find(commandId);
    return it && it->checked;
}

void Menu::setItemText(int commandId, const std::string& text) {
    if (Item* it = find(commandId)) {
        it->text = text;
        if (changed) changed();
    }
}

std::string Menu::itemText(int commandId) const {
    const Item* it = find(commandId);
    return it ? it->text : std::string();
}

void Menu::setPopupText(int index, const std::string& text) {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return;
    m_items[static_cast<size_t>(index)].text = text;
    if (changed) changed();
}

std::string Menu::popupText(int index) const {
    return index >= 0 && index < static_cast<int>(m_items.size()) ? m_items[static_cast<size_t>(index)].text : "";
}

std::vector<int> Menu::commandIds() const {
    std::vector<int> ids;
    std::function<void(const std::vector<Item>&)> f = [&](const std::vector<Item>& items) {
        for (const Item& it : items) {
            if (!it.separator && it.children.empty() && it.id) ids.push_back(it.id);
            f(it.children);
        }
    };
    f(m_items);
    return ids;
}

Menu Menu::subMenu(int index) const {
    Menu m;
    m.m_id = m_id;
    if (index >= 0 && index < static_cast<int>(m_items.size())) m.m_items = m_items[static_cast<size_t>(index)].children;
    return m;
}

// ---------------------------------------------------------------- ToolBar

ToolBar::ToolBar(Dialog* owner, int toolbarId, QWidget* widget) : m_owner(owner), m_id(toolbarId), m_widget(widget) {}
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

int ToolBar::height() const { return m_widget ? m_widget->sizeHint().height() : 0; }

// ---------------------------------------------------------------- keys

int virtualKeyOf(int k) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return VK_F1 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
    }
}

int qtKeyOf(int vk) {
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
    if (vk >= VK_F1 && vk <= VK_F12) return Qt::Key_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_RETURN: return Qt::Key_Return;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_TAB: return Qt::Key_Tab;
    case VK_BACK: return Qt::Key_Backspace;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    default: return 0;
    }
}

} // namespace ui
