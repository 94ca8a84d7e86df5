// Application object, main window, screen metrics, timers and key names.

#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Timer.h>
#include <ui/Window.h>

#include "Internal_p.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cctype>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>

namespace ui {

namespace {
int g_argc = 1;
char g_arg0[] = "vorhost";
char* g_argv[] = {g_arg0, nullptr};
bool g_offscreen = false;
QPointer<QWidget> g_mainWindow;
std::optional<ScreenMetrics> g_virtualScreen;
} // namespace

namespace {
// The offscreen platform reports every window operation it cannot do; those lines say nothing.
QtMessageHandler g_previousHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith("This plugin does not support") ||
        message.startsWith("QStandardPaths: XDG_RUNTIME_DIR"))
        return;
    if (g_previousHandler) g_previousHandler(type, context, message);
}
} // namespace

void ensureApplication(bool offscreen) {
    if (QApplication::instance()) return;
    g_previousHandler = qInstallMessageHandler(quietHandler);
    const char* env = std::getenv("QT_QPA_PLATFORM");
    bool noDisplay = !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
    if (offscreen || noDisplay) {
        if (!env || std::string(env) != "offscreen") setenv("QT_QPA_PLATFORM", "offscreen", 1);
        g_offscreen = true;
    } else if (env && std::string(env) == "offscreen") {
        g_offscreen = true;
    }
    auto* app = new QApplication(g_argc, g_argv);
    app->setApplicationName("vorhost");
    app->setOrganizationName("vorlane");
    app->setQuitOnLastWindowClosed(false);
    // The offscreen platform knows no icon folders of its own: name the desktop's.
    QStringList paths = QIcon::themeSearchPaths();
    for (const char* dir : {"/usr/share/icons", "/usr/local/share/icons"})
        if (!paths.contains(dir)) paths << dir;
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::themeName().isEmpty() || g_offscreen) QIcon::setThemeName("Adwaita");
}

bool isOffscreen() {
    return g_offscreen;
}

void processEvents() {
    if (!QCoreApplication::instance()) return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void setMainWindow(QWidget* window) {
    g_mainWindow = window;
}
QWidget* mainWindow() {
    return g_mainWindow.data();
}

bool grabToFile(QWidget* widget, const std::string& path, std::string& error) {
    if (!widget) widget = g_mainWindow.data();
    if (!widget) {
        error = "there is no window to take a picture of";
        return false;
    }
    processEvents();
    QPixmap pix = widget->window()->grab();
    QFileInfo fi(QString::fromStdString(path));
    if (!fi.absoluteDir().exists() && !QDir().mkpath(fi.absolutePath())) {
        error = "cannot create the folder of " + path;
        return false;
    }
    if (!pix.save(QString::fromStdString(path), "PNG")) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

// ---- Screen

ScreenMetrics screenMetrics() {
    if (g_virtualScreen) return *g_virtualScreen;
    ScreenMetrics m;
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) {
        m.fullScreenClient = {1920, 1080};
        m.workArea = {0, 0, 1920, 1080};
        return m;
    }
    QRect a = s->availableGeometry();
    QRect g = s->geometry();
    m.workArea = {a.left(), a.top(), a.left() + a.width(), a.top() + a.height()};
    // The client area of a maximised window: the work area less a caption bar.
    m.fullScreenClient = {a.width(), std::max(0, a.height() - 23)};
    (void)g;
    return m;
}

void setVirtualScreen(std::optional<ScreenMetrics> metrics) {
    g_virtualScreen = metrics;
}

// ---- Timers

namespace {
struct TimerEntry {
    int interval = 0;
    long long due = 0;
    QTimer* qtimer = nullptr;
    /// A timer of no window (its key's window is null) calls this; shared so that a callback that
    /// kills its own timer is not destroyed while it runs.
    std::shared_ptr<std::function<void()>> callback;
};
struct TimerTable {
    std::map<std::pair<Window*, int>, TimerEntry> entries;
    long long now = 0;
    int lastFreeId = 0; ///< the last id given to a timer of no window
};
TimerTable& timers() {
    static auto* t = new TimerTable; // outlives every window
    return *t;
}
} // namespace

void Timers::set(Window* w, int id, int ms) {
    kill(w, id);
    TimerEntry e;
    e.interval = std::max(1, ms);
    e.due = timers().now + e.interval;
    if (!agent().manualClock() && w->widget()) {
        e.qtimer = new QTimer(w->widget());
        QObject::connect(e.qtimer, &QTimer::timeout, [w, id] { w->timerFired(id); });
        e.qtimer->start(e.interval);
    }
    timers().entries[{w, id}] = e;
}

void Timers::kill(Window* w, int id) {
    auto it = timers().entries.find({w, id});
    if (it == timers().entries.end()) return;
    if (it->second.qtimer) {
        it->second.qtimer->stop();
        it->second.qtimer->deleteLater();
    }
    timers().entries.erase(it);
}

void Timers::killAll(Window* w) {
    std::vector<int> ids;
    for (const auto& [k, e] : timers().entries)
        if (k.first == w) ids.push_back(k.second);
    for (int id : ids)
        kill(w, id);
}

void Timers::advance(int ms) {
    long long target = timers().now + ms;
    while (true) {
        // fire the earliest due timer, one at a time, since a handler may kill or set timers
        auto& entries = timers().entries;
        auto best = entries.end();
        for (auto it = entries.begin(); it != entries.end(); ++it)
            if (!it->second.qtimer && it->second.due <= target &&
                (best == entries.end() || it->second.due < best->second.due))
                best = it;
        if (best == entries.end()) break;
        timers().now = best->second.due;
        best->second.due += best->second.interval;
        Window* w = best->first.first;
        int id = best->first.second;
        if (w) {
            w->timerFired(id);
        } else {
            auto callback = best->second.callback;
            (*callback)();
        }
    }
    timers().now = target;
}

bool Timers::has(Window* w, int id) {
    return timers().entries.count({w, id}) > 0;
}

int setTimer(int ms, std::function<void()> callback) {
    int id = ++timers().lastFreeId;
    TimerEntry e;
    e.interval = std::max(1, ms);
    e.due = timers().now + e.interval;
    e.callback = std::make_shared<std::function<void()>>(std::move(callback));
    if (!agent().manualClock()) {
        e.qtimer = new QTimer;
        QObject::connect(e.qtimer, &QTimer::timeout, [call = e.callback] { (*call)(); });
        e.qtimer->start(e.interval);
    }
    timers().entries[{nullptr, id}] = std::move(e);
    return id;
}

bool killTimer(int id) {
    if (id <= 0 || !Timers::has(nullptr, id)) return false;
    Timers::kill(nullptr, id);
    return true;
}

// ---- Key names

namespace {
const std::pair<const char*, int> kKeys[] = {
    {"Enter", VK_RETURN},  {"Return", VK_RETURN},  {"Escape", VK_ESCAPE}, {"Esc", VK_ESCAPE},
    {"Tab", VK_TAB},       {"Backspace", VK_BACK}, {"Space", VK_SPACE},   {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT}, {"End", VK_END},        {"Home", VK_HOME},     {"Left", VK_LEFT},
    {"Up", VK_UP},         {"Right", VK_RIGHT},    {"Down", VK_DOWN},     {"Insert", VK_INSERT},
    {"Delete", VK_DELETE}, {"F1", VK_F1},          {"F2", VK_F2},         {"F3", VK_F3},
    {"F4", VK_F4},         {"F5", VK_F5},          {"F6", VK_F6},         {"F7", VK_F7},
    {"F8", VK_F8},         {"F9", VK_F9},          {"F10", VK_F10},       {"F11", VK_F11},
    {"F12", VK_F12}};
}

int keyCodeFromName(const std::string& name) {
    for (const auto& [n, vk] : kKeys) {
        std::string a = n, b = name;
        for (auto& c : a)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (auto& c : b)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (a == b) return vk;
    }
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return std::toupper(static_cast<unsigned char>(name[0]));
    return 0;
}

std::string keyName(int vk) {
    for (const auto& [n, code] : kKeys)
        if (code == vk) return n;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
    return "#" + std::to_string(vk);
}

} // namespace ui
