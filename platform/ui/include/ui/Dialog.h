#pragma once
// A dialog made from a numbered template, modal or modeless.

#include <ui/Window.h>

#include <memory>
#include <string>
#include <vector>

namespace ui {

class Control;
class Menu;
class Painter;
class ToolBar;
struct ControlTemplate;

/// A dialog made from a numbered template, run modally through the agent or created modeless.
class Dialog : public Window {
public:
    /// Builds nothing yet: the window exists from doModal() or create() on.
    explicit Dialog(int templateId, Window* parent = nullptr);
    ~Dialog() override;

    int templateId() const { return m_templateId; }
    /// Runs the dialog modally until endDialog(); returns the end code (-1 if it could not be made).
    int doModal();
    /// Creates the dialog modeless and shows it unless its template hides it; false on failure.
    bool create(Window* parent = nullptr);
    /// Destroys a modeless dialog's window (onDestroy runs first).
    void destroyWindow();
    /// Ends a modal dialog with `code`; for a modeless dialog it hides the window.
    void endDialog(int code);
    bool isModal() const { return m_modal; }
    bool hasEnded() const { return m_ended; }
    int endCode() const { return m_endCode; }

    /// The control with this id, or null.
    Control* item(int id) const;
    std::vector<Control*> controls() const;
    Control* focusControl() const;
    /// The first control in tab order that takes the keyboard focus now (shown, enabled, a tab
    /// stop), or null; the control a dialog or a page focuses first.
    Control* firstTabControl() const;
    void gotoDlgCtrl(int id);
    void setMinTrackSize(Size size);
    Size minTrackSize() const { return m_minTrack; }
    /// The text of the dialog's template, for messages.
    std::string describe() const;
    /// The resource set the template came from, i.e. the module the dialog belongs to; "" before
    /// the window is built.
    const std::string& resourceSet() const { return m_resourceSet; }
    /// Every dialog whose window exists (modal or modeless), oldest first. A module asks this
    /// before it lets itself be unloaded.
    static std::vector<Dialog*> openDialogs();

    Menu* menu() const { return m_menu.get(); }
    /// Replaces the menu bar with the MENU resource `menuId`.
    bool setMenu(int menuId);
    /// Creates the toolbar resource at the top of the client area.
    ToolBar* createToolBar(int toolbarId);
    ToolBar* toolBar() const { return m_toolBar.get(); }
    /// The client area's top below menu bar and toolbar.
    int clientTop() const;

    /// Sends a command as if a control or menu had sent it (the dialog's own dispatch).
    void sendCommand(int id, int code = BN_CLICKED);
    /// Sends a key through pre-translation and then the default handling.
    void sendKey(const KeyEvent& key);

    /// Runs a popup menu (MENU resource `menuId`, sub-menu `subIndex`) at a screen point; returns
    /// the chosen command id or 0. The dialog's onInitMenuPopup may adjust the items first.
    int trackPopupMenu(int menuId, int subIndex, Point screenPos);

    // Controls made at run time (a designed dialog's child windows over its picture).
    /// Creates a control from a template line at a rectangle in client pixels; the newest lies on
    /// top. Null when the window does not exist.
    Control* createControl(const ControlTemplate& line, const Rect& pixels);
    /// Destroys a control made by createControl (template controls stay); false when it is none.
    bool destroyControl(Control* control);
    /// Whether mouse moves without a held button reach onMouse (for cursors over handles).
    void setMouseTracking(bool on);
    /// The mouse cursor over the client area.
    void setClientCursor(CursorShape shape);
    CursorShape clientCursor() const { return m_cursor; }

    /// The window given as parent, or null (the main window is then the owner).
    Window* parent() const { return m_parent; }
    /// Default parent for dialogs created with none: the application's main window.
    static Window* defaultParent();

protected:
    // Hooks, called by the layer. Each has the classic default behaviour.
    /// After the controls exist. Return true to let the layer focus the first control, false if
    /// the dialog set the focus itself.
    virtual bool onInitDialog() { return true; }
    virtual void onOK() { endDialog(IDOK); }
    virtual void onCancel() { endDialog(IDCANCEL); }
    /// A command from a control or menu; return true when handled. Unhandled IDOK/IDCANCEL clicks
    /// call onOK/onCancel.
    virtual bool onCommand(int id, int code) { return false; }
    /// Every key press before the focused control sees it; return true to eat it.
    virtual bool preTranslateKey(const KeyEvent& key) { return false; }
    virtual void onSize(int width, int height) {}
    virtual void onTimer(int id) {}
    virtual void onPaint(Painter& painter) {}
    virtual bool onMouse(const MouseEvent& event) { return false; }
    /// Right click over a control (id) or the dialog (0), in screen coordinates.
    virtual void onContextMenu(int id, Point screenPos) {}
    /// The window's close box; default: like Cancel.
    virtual void onClose() { sendCommand(IDCANCEL); }
    virtual void onDestroy() {}
    virtual void onInitMenuPopup(Menu& menu) {}
    /// The dialog was moved or resized by the user or by code.
    virtual void onMove() {}

    void timerFired(int id) override { onTimer(id); }

public:
    // The layer's entry points into the hooks (not for dialog code).
    struct Hooks;
    friend struct Hooks;

private:
    bool build(Window* parent);
    void teardown();
    void applyPendingPlacement();

    int m_templateId;
    std::string m_resourceSet;
    Window* m_parent;
    bool m_modal = false;
    bool m_ended = false;
    int m_endCode = 0;
    Size m_minTrack;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::unique_ptr<Menu> m_menu;
    std::unique_ptr<ToolBar> m_toolBar;
    int m_defaultButton = IDOK;
    CursorShape m_cursor = CursorShape::Arrow;

    friend class DialogWidget;
    friend class SimulatedUser;
};

} // namespace ui
