#pragma once
// The base of everything with a screen presence. Dialog code talks to the window classes only; the
// toolkit stays behind them.

#include <ui/Image.h>
#include <ui/Types.h>

#include <string>

class QWidget;

namespace ui {

/// Base of everything with a screen presence.
class Window {
public:
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool exists() const { return m_widget != nullptr; }
    /// The outer rectangle in screen coordinates, as the window reports it.
    Rect windowRect() const;
    /// The client rectangle (0, 0, width, height).
    Rect clientRect() const;
    /// Moves in the parent's client coordinates (screen for top-level windows); size includes the frame.
    void moveWindow(const Rect& r, bool repaint = true);
    void moveWindow(int x, int y, int width, int height, bool repaint = true);
    void showWindow(int cmd);
    bool isVisible() const;
    bool isMaximized() const;
    void enableWindow(bool enable);
    bool isEnabled() const;
    void setWindowText(const std::string& text);
    std::string windowText() const;
    void setFocus();
    bool hasFocus() const;
    void invalidate();
    void setFont(const FontSpec& font);
    void setToolTip(const std::string& tip);
    /// Off: changes are not painted until it is switched on again (many changes, one repaint).
    void setRedraw(bool redraw);
    /// The picture in the title bar.
    void setWindowIcon(const Image& icon);
    std::string toolTip() const;
    /// Timers: onTimer(id) is called every `ms` until killed. Under a scripted agent the clock is
    /// advanced by the script, so tests never wait.
    void setTimer(int id, int ms);
    void killTimer(int id);
    /// Screen point to client point of this window and back.
    Point screenToClient(Point p) const;
    Point clientToScreen(Point p) const;

    QWidget* widget() const { return m_widget; } ///< for the windowing layer and its peers only

protected:
    Window() = default;
    void attach(QWidget* w) { m_widget = w; }
    virtual void timerFired(int id) {}
    friend class Timers;
    QWidget* m_widget = nullptr;
};

} // namespace ui

// Code that includes this header reaches every window class through it.
#include <ui/Control.h>
#include <ui/Dialog.h>
#include <ui/Menu.h>
#include <ui/ToolBar.h>
