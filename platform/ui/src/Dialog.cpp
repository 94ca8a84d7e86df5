// Dialogs from templates: building, modal and modeless runs, commands, keys, menus and toolbars.

#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Painter.h>
#include <ui/Resources.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include "ControlFactory_p.h"
#include "DialogFilter_p.h"
#include "DialogWidget_p.h"
#include "HookView_p.h"
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
#include <cstdio>

namespace ui {

namespace {
// Dialogs with a window, oldest first.
std::vector<Dialog*>& liveDialogs() {
    static auto* live = new std::vector<Dialog*>; // outlives dialogs destroyed at exit
    return *live;
}
} // namespace

std::vector<Dialog*> Dialog::openDialogs() {
    return liveDialogs();
}

Dialog::Dialog(int templateId, Window* parent)
    : m_templateId(templateId)
    , m_parent(parent) {}

Dialog::~Dialog() {
    if (m_widget && !m_modal) agent().dialogDestroyed(*this); // a modeless window going with its object
    if (m_widget) teardown();
}

Window* Dialog::defaultParent() {
    return nullptr;
}

std::string Dialog::describe() const {
    std::string s = "dialog " + std::to_string(m_templateId);
    std::string cap = m_widget ? windowText() : std::string();
    if (cap.empty())
        if (const DialogTemplate* t = Resources::dialog(m_templateId)) cap = t->caption;
    if (!cap.empty()) s += " \"" + cap + "\"";
    return s;
}

bool Dialog::build(Window* parent) {
    const DialogTemplate* t = Resources::dialog(m_templateId, &m_resourceSet);
    if (!t) {
        std::fprintf(stderr, "dialog template %d is not among the resources\n", m_templateId);
        return false;
    }
    ensureApplication();
    bool child = t->hasStyle("WS_CHILD");
    QWidget* parentWidget = parent && parent->widget() ? parent->widget() : (child ? nullptr : mainWindow());
    auto* w = new DialogWidget(this, parentWidget, child);
    // Named after its template, so that a window left open can be told apart in messages.
    w->setObjectName(QString("dialog %1").arg(m_templateId));
    attach(w);
    liveDialogs().push_back(this);
    m_ended = false;
    m_endCode = 0;
    w->setWindowTitle(qs(t->caption));
    QFont font = w->font();
    if (t->fontSize > 0) font.setPointSize(std::clamp(t->fontSize + 1, 6, 14));
    w->setFont(font);

    auto* filter = new DialogFilter(this, w);
    filter->watch(w);

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
            h = std::min(
                h, std::max(dluToPixelsY(12), cw->sizeHint().height())); // the template height is the list's
        cw->setGeometry(r.left, r.top, r.width(), h);
        if (ct.hasStyle("NOT WS_VISIBLE")) cw->hide();
        if (ct.hasStyle("WS_DISABLED")) cw->setEnabled(false);
        if (ct.hasStyle("NOT WS_TABSTOP") || kind == ControlKind::Static || kind == ControlKind::GroupBox ||
            kind == ControlKind::Picture)
            cw->setFocusPolicy(kind == ControlKind::Placeholder ? Qt::StrongFocus : Qt::NoFocus);
        auto c = std::make_unique<Control>(this, ct.id, kind, cw);
        c->styles = ct.styles;
        if (kind == ControlKind::PushButton && qobject_cast<QPushButton*>(cw)->isDefault())
            m_defaultButton = ct.id;
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
        filter->watch(cw);
        for (auto* sub : cw->findChildren<QWidget*>()) {
            filter->watch(sub);
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
                                               : (QGuiApplication::primaryScreen()
                                                      ? QGuiApplication::primaryScreen()->availableGeometry()
                                                      : QRect(0, 0, 1280, 1024));
        w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
    }
    return true;
}

void Dialog::teardown() {
    auto* w = static_cast<DialogWidget*>(m_widget);
    if (!w) return;
    Timers::killAll(this);
    setTabOrderSource(this, {});
    for (auto& c : m_controls)
        Timers::killAll(c.get());
    for (QObject* o : w->findChildren<QObject*>())
        o->blockSignals(true);
    w->blockSignals(true);
    for (QObject* o : w->children())
        if (auto* f = dynamic_cast<DialogFilter*>(o)) {
            w->removeEventFilter(f);
            for (auto* c : w->findChildren<QWidget*>())
                c->removeEventFilter(f);
        }
    w->hide();
    attach(nullptr);
    liveDialogs().erase(std::remove(liveDialogs().begin(), liveDialogs().end(), this), liveDialogs().end());
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
        if (focusFirst)
            if (Control* c = firstTabControl()) {
                c->setFocus();
                if (auto* e = qobject_cast<QLineEdit*>(c->widget())) e->selectAll();
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
    if (parent) m_parent = parent; // the window it was made in is its parent from now on
    if (!build(m_parent)) return false;
    m_modal = false;
    bool focusFirst = Hooks::initDialog(*this);
    const DialogTemplate* t = Resources::dialog(m_templateId);
    if (m_widget && (!t || t->hasStyle("WS_VISIBLE") || !t->hasStyle("NOT WS_VISIBLE"))) {
        m_widget->show();
        applyPendingPlacement();
        if (focusFirst)
            if (Control* c = firstTabControl()) c->setFocus();
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
    for (const auto& c : m_controls)
        out.push_back(c.get());
    return out;
}

Control* Dialog::focusControl() const {
    QWidget* f = QApplication::focusWidget();
    if (!f) return nullptr;
    for (const auto& c : m_controls)
        if (c->widget() == f || c->widget()->isAncestorOf(f)) return c.get();
    return nullptr;
}

Control* Dialog::firstTabControl() const {
    if (!m_widget) return nullptr;
    for (const auto& c : m_controls)
        if (c->widget()->isVisibleTo(m_widget) && c->isEnabled() && c->widget()->focusPolicy() != Qt::NoFocus)
            return c.get();
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

int Dialog::clientTop() const {
    return 0;
}

void Dialog::sendCommand(int id, int code) {
    if (!m_widget) return;
    if (Hooks::command(*this, id, code)) return;
    if (code == BN_CLICKED && m_widget) {
        if (id == IDOK)
            Hooks::ok(*this);
        else if (id == IDCANCEL)
            Hooks::cancel(*this);
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
        std::function<void(QMenu*, const std::vector<Menu::Item>&)> fill = [&](QMenu* into,
                                                                               const auto& items) {
            for (const Menu::Item& it : items) {
                if (it.separator) {
                    into->addSeparator();
                    continue;
                }
                if (!it.children.empty() || it.id == 0) {
                    QMenu* sub = into->addMenu(qs(it.text));
                    QObject::connect(sub, &QMenu::aboutToShow, sub,
                                     [this, menu] { Hooks::initMenuPopup(*this, *menu); });
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
            QObject::connect(sub, &QMenu::aboutToShow, sub,
                             [this, menu] { Hooks::initMenuPopup(*this, *menu); });
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
        if (b.id == 0) {
            bar->addSeparator();
            continue;
        }
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
            if (auto s = Resources::string(b.id))
                tip = s->substr(s->find('\n') == std::string::npos ? 0 : s->find('\n') + 1);
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
            if (!it.children.empty()) {
                collect(it.children);
                continue;
            }
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

// Controls made at run time: built as template lines are, owned with the others, destroyed one by one.
Control* Dialog::createControl(const ControlTemplate& line, const Rect& pixels) {
    auto* w = static_cast<DialogWidget*>(m_widget);
    if (!w) return nullptr;
    ControlKind kind = kindOf(line);
    QWidget* cw = createWidget(line, kind, w->client);
    cw->setGeometry(pixels.left, pixels.top, std::max(0, pixels.width()), std::max(0, pixels.height()));
    if (line.hasStyle("WS_DISABLED")) cw->setEnabled(false);
    if (line.hasStyle("NOT WS_TABSTOP") || kind == ControlKind::Static || kind == ControlKind::GroupBox ||
        kind == ControlKind::Picture)
        cw->setFocusPolicy(Qt::NoFocus);
    auto c = std::make_unique<Control>(this, line.id, kind, cw);
    c->styles = line.styles;
    if (auto* hv = dynamic_cast<HookView*>(cw)) hv->control = c.get(); // its paint and mouse hooks
    DialogFilter* filter = nullptr;
    for (QObject* o : w->children())
        if (auto* f = dynamic_cast<DialogFilter*>(o)) filter = f;
    if (filter) {
        filter->controlOf[cw] = c.get();
        filter->watch(cw);
        for (auto* sub : cw->findChildren<QWidget*>())
            filter->watch(sub);
    }
    connectNotifications(c.get(), cw);
    if (!line.hasStyle("NOT WS_VISIBLE")) cw->show(); // the newest child lies on top already
    m_controls.push_back(std::move(c));
    return m_controls.back().get();
}

bool Dialog::destroyControl(Control* control) {
    auto it = std::find_if(m_controls.begin(), m_controls.end(),
                           [control](const std::unique_ptr<Control>& c) { return c.get() == control; });
    if (!control || it == m_controls.end() || !m_widget) return false;
    QWidget* cw = control->widget();
    for (QObject* o : m_widget->children())
        if (auto* f = dynamic_cast<DialogFilter*>(o)) {
            f->controlOf.erase(cw);
            for (auto* sub : cw->findChildren<QWidget*>())
                f->controlOf.erase(sub);
        }
    Timers::killAll(control);
    cw->blockSignals(true);
    for (QObject* o : cw->findChildren<QObject*>())
        o->blockSignals(true);
    m_controls.erase(it);
    cw->hide();
    cw->deleteLater();
    return true;
}

void Dialog::setMouseTracking(bool on) {
    if (auto* w = static_cast<DialogWidget*>(m_widget)) w->client->setMouseTracking(on);
}

void Dialog::setClientCursor(CursorShape shape) {
    m_cursor = shape;
    auto* w = static_cast<DialogWidget*>(m_widget);
    if (!w) return;
    static const std::pair<CursorShape, Qt::CursorShape> shapes[] = {
        {CursorShape::Arrow, Qt::ArrowCursor},        {CursorShape::Move, Qt::SizeAllCursor},
        {CursorShape::SizeNWSE, Qt::SizeFDiagCursor}, {CursorShape::SizeNESW, Qt::SizeBDiagCursor},
        {CursorShape::SizeWE, Qt::SizeHorCursor},     {CursorShape::SizeNS, Qt::SizeVerCursor},
        {CursorShape::Cross, Qt::CrossCursor}};
    for (auto [ours, qt] : shapes)
        if (ours == shape) w->client->setCursor(qt);
}

} // namespace ui
