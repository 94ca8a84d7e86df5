#pragma once
// Internals shared by the windowing layer's sources.

#include <ui/Window.h>

#include <QString>
#include <QWidget>

class QComboBox;
class QEventLoop;
class QMouseEvent;
class QRect;

namespace ui {

inline QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string ss(const QString& s) {
    return s.toUtf8().toStdString();
}

/// The timer table; a manual clock when the agent keeps one.
class Timers {
public:
    static void set(Window* w, int id, int ms);
    static void kill(Window* w, int id);
    static void killAll(Window* w);
    static void advance(int ms);
    static bool has(Window* w, int id);
};

/// Entry points from the toolkit into a dialog's protected hooks.
struct Dialog::Hooks {
    static bool initDialog(Dialog& d) { return d.onInitDialog(); }
    static bool command(Dialog& d, int id, int code) { return d.onCommand(id, code); }
    static void ok(Dialog& d) { d.onOK(); }
    static void cancel(Dialog& d) { d.onCancel(); }
    static bool preTranslate(Dialog& d, const KeyEvent& k) { return d.preTranslateKey(k); }
    static void size(Dialog& d, int w, int h) { d.onSize(w, h); }
    static void paint(Dialog& d, Painter& p) { d.onPaint(p); }
    static bool mouse(Dialog& d, const MouseEvent& e) { return d.onMouse(e); }
    static void contextMenu(Dialog& d, int id, Point p) { d.onContextMenu(id, p); }
    static void close(Dialog& d) { d.onClose(); }
    static void destroy(Dialog& d) { d.onDestroy(); }
    static void initMenuPopup(Dialog& d, Menu& m) { d.onInitMenuPopup(m); }
    static void moved(Dialog& d) { d.onMove(); }
};

/// Tells a dialog's widget which loop runs it, so that ending the dialog quits the loop.
void setDialogLoop(QWidget* w, QEventLoop* loop);

/// Translates a toolkit key to a virtual key code (0 when it has none).
int virtualKeyOf(int qtKey);
/// And back, for sending keys.
int qtKeyOf(int vk);

/// Label texts: "&File" shows as "File" in statics ("&&" stays "&").
QString stripMnemonic(const QString& s);

/// The length limit of an edit that has none. The toolkit's own default (32,767 characters) would
/// silently cut longer texts, which the classic edit controls never did unless told to.
inline constexpr int kNoTextLimit = 2147483647;

/// A toolkit rectangle as left, top, right, bottom.
Rect rectOf(const QRect& r);
bool sameTextIgnoringCase(const QString& a, const QString& b);
/// A toolkit mouse event as the dialogs' and custom views' hooks see it.
MouseEvent mouseEventOf(const QMouseEvent* e, MouseEvent::Kind kind);
/// A check combo shows its checked items, joined by commas, in its edit part.
void refreshCheckComboText(QComboBox* c);

} // namespace ui
