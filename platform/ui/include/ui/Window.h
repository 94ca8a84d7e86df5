#pragma once
// Windows, controls and dialogs built from numbered templates. Dialog code talks to these classes
// only; the toolkit stays behind them.

#include <ui/Image.h>
#include <ui/Types.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace ui {

class Dialog;
class Menu;
class Painter;
class ToolBar;

/// Kinds of controls a template can create.
enum class ControlKind {
    Static,      ///< LTEXT, RTEXT, CTEXT
    Picture,     ///< static with SS_BITMAP / SS_ICON, or a frame
    GroupBox,
    Edit,        ///< EDITTEXT; ES_MULTILINE, ES_READONLY, ES_PASSWORD, ES_NUMBER
    PushButton,  ///< PUSHBUTTON, DEFPUSHBUTTON; BS_BITMAP / BS_ICON
    CheckBox,    ///< CHECKBOX, AUTOCHECKBOX, AUTO3STATE; BS_PUSHLIKE shows it as a toggle button
    RadioButton, ///< RADIOBUTTON, AUTORADIOBUTTON
    ComboBox,    ///< CBS_DROPDOWN (editable), CBS_DROPDOWNLIST, CBS_OWNERDRAWFIXED (picture list)
    CheckCombo,  ///< combo whose items carry check boxes
    ListBox,     ///< LBS_MULTIPLESEL / LBS_EXTENDEDSEL for several
    ListView,    ///< LVS_ICON (thumbnails) or LVS_REPORT (columns)
    TabControl,
    RichEdit,
    ToolBar,
    Placeholder, ///< a frame that a grid, preview or custom view replaces
    Slider,
    Progress,
};

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

/// A control of a dialog, reached by its id. Operations that do not fit the control's kind do nothing.
class Control : public Window {
public:
    Control(Dialog* owner, int id, ControlKind kind, QWidget* widget);
    ~Control() override;

    int id() const { return m_id; }
    ControlKind kind() const { return m_kind; }
    Dialog* owner() const { return m_owner; }
    bool hasStyle(const std::string& style) const;

    // text of statics, buttons, edits and the edit part of combo boxes
    void setText(const std::string& text) { setWindowText(text); }
    std::string text() const { return windowText(); }

    // buttons
    int checkState() const;        ///< BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
    void setCheck(int state);
    void setImage(const Image& image);
    bool isDefaultButton() const;

    // edits
    void setSel(int start, int end); ///< end -1 selects to the end
    std::pair<int, int> getSel() const;
    void replaceSel(const std::string& text);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    void setLimitText(int maxChars);
    bool isMultiLine() const;

    // combo boxes and list boxes
    int addString(const std::string& text);
    int addString(const std::string& text, const Image& image); ///< picture lists
    int insertString(int index, const std::string& text);
    int deleteString(int index);
    void resetContent();
    int count() const;
    int curSel() const;            ///< -1 for none
    int setCurSel(int index);      ///< -1 clears; returns -1 (CB_ERR) for a bad index
    std::string itemText(int index) const;
    int findStringExact(const std::string& text, int startAfter = -1) const;
    int selectString(const std::string& text); ///< first item starting with text, case-insensitive
    void setItemData(int index, std::intptr_t data);
    std::intptr_t itemData(int index) const;
    bool isSelected(int index) const;          ///< multi-selection list boxes
    void setSelected(int index, bool selected);
    std::vector<int> selectedIndexes() const;
    bool itemChecked(int index) const;         ///< check combos
    void setItemChecked(int index, bool checked);
    void setDroppedWidth(int pixels);

    // tab control
    int insertTab(int index, const std::string& text);
    int curTab() const { return curSel(); }
    void setCurTab(int index) { setCurSel(index); }

    // list view
    void setImageSize(Size size);
    int insertColumn(int index, const std::string& heading, int width);
    int insertItem(int index, const std::string& text, const Image& image = Image());
    void setItemText(int index, int column, const std::string& text);
    std::string itemText(int index, int column) const;
    void ensureVisible(int index);

    // slider and progress
    void setRange(int low, int high);
    void setPos(int pos);
    int pos() const;

    /// Places a foreign view (grid, preview) over this placeholder, filling it; the control owns it.
    void embed(QWidget* view);
    QWidget* embedded() const { return m_embedded; }

    /// Paint and mouse hooks for custom views (placeholders, pictures).
    void setPaintHandler(std::function<void(Painter&)> paint);
    void setMouseHandler(std::function<bool(const MouseEvent&)> mouse);

    // used by the windowing layer
    void notify(int code);
    bool silent() const { return m_silent > 0; }
    struct Silence {
        explicit Silence(Control& c) : c(c) { ++c.m_silent; }
        ~Silence() { --c.m_silent; }
        Control& c;
    };
    std::vector<std::string> styles;
    std::function<void(Painter&)> paintHandler;
    std::function<bool(const MouseEvent&)> mouseHandler;

private:
    Dialog* m_owner;
    int m_id;
    ControlKind m_kind;
    int m_silent = 0;
    QWidget* m_embedded = nullptr;
    std::map<int, std::intptr_t> m_itemData;
};

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
    void gotoDlgCtrl(int id);
    void setMinTrackSize(Size size);
    Size minTrackSize() const { return m_minTrack; }
    /// The text of the dialog's template, for messages.
    std::string describe() const;

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
    Window* m_parent;
    bool m_modal = false;
    bool m_ended = false;
    int m_endCode = 0;
    Size m_minTrack;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::unique_ptr<Menu> m_menu;
    std::unique_ptr<ToolBar> m_toolBar;
    int m_defaultButton = IDOK;

    friend class DialogWidget;
    friend class SimulatedUser;
};

/// A menu bar or popup made from a MENU resource.
class Menu {
public:
    explicit Menu(int menuId);
    ~Menu();
    int id() const { return m_id; }
    bool hasItem(int commandId) const;
    void enableItem(int commandId, bool enable);
    bool isEnabled(int commandId) const;
    void checkItem(int commandId, bool check);
    bool isChecked(int commandId) const;
    void setItemText(int commandId, const std::string& text);
    std::string itemText(int commandId) const;
    /// Renames the popup at a position of the top level (a menu bar's "File", "Edit", ...).
    void setPopupText(int index, const std::string& text);
    std::string popupText(int index) const;
    /// Command ids of every item, in menu order.
    std::vector<int> commandIds() const;

    struct Item {
        int id = 0;
        std::string text;
        bool enabled = true;
        bool checked = false;
        bool separator = false;
        std::vector<Item> children;
    };
    const std::vector<Item>& items() const { return m_items; }
    /// The popup at `index` as a menu of its own (for popup menus from a bar resource).
    Menu subMenu(int index) const;

private:
    Menu() = default;
    Item* find(int commandId);
    const Item* find(int commandId) const;
    int m_id = 0;
    std::vector<Item> m_items;
    friend class MenuBarWidget;
public:
    std::function<void()> changed; ///< the layer redraws the bar when items change
};

/// A toolbar with command buttons, icons and tool tips.
class ToolBar {
public:
    ToolBar(Dialog* owner, int toolbarId, QWidget* widget);
    ~ToolBar();
    void enableButton(int commandId, bool enable);
    bool isButtonEnabled(int commandId) const;
    void checkButton(int commandId, bool check);
    std::string buttonTip(int commandId) const;
    std::vector<int> buttonIds() const;
    int height() const;
    QWidget* widget() const { return m_widget; }

private:
    Dialog* m_owner;
    int m_id;
    QWidget* m_widget;
};

} // namespace ui
