#pragma once
// Geometry, colours and the numeric vocabulary of the windowing layer. Message-box flags and
// answers, end codes, notification codes and key codes keep their classic values so that numbers
// written in dialog code mean what they always meant.

#include <cstdint>
#include <string>

namespace ui {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    bool operator==(const Size&) const = default;
};

/// A rectangle by its edges; right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
    static Rect fromSize(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
};

/// An RGB colour in the classic 0x00BBGGRR layout.
using ColorRef = std::uint32_t;
constexpr ColorRef rgb(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xff) | ((g & 0xff) << 8) | ((b & 0xff) << 16));
}
constexpr int redOf(ColorRef c) {
    return c & 0xff;
}
constexpr int greenOf(ColorRef c) {
    return (c >> 8) & 0xff;
}
constexpr int blueOf(ColorRef c) {
    return (c >> 16) & 0xff;
}

/// A font description as dialogs exchange it.
struct FontSpec {
    std::string face = "Tahoma";
    int pointSize = 8; ///< points, as the font dialog shows them
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    ColorRef color = 0; ///< text colour chosen in the font dialog
    bool operator==(const FontSpec&) const = default;
};

// End codes and message-box answers.
enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

// Message-box flags.
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_TYPEMASK = 0xf,
    MB_ICONERROR = 0x10, ///< also MB_ICONHAND, MB_ICONSTOP
    MB_ICONHAND = 0x10,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30, ///< also MB_ICONWARNING
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40, ///< also MB_ICONASTERISK
    MB_ICONASTERISK = 0x40,
    MB_ICONMASK = 0xf0,
    MB_DEFBUTTON1 = 0x000,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
};

// Command notification codes, as the owning dialog receives them.
enum : int {
    BN_CLICKED = 0,
    BN_DOUBLECLICKED = 5,
    CBN_SELCHANGE = 1,
    CBN_DBLCLK = 2,
    CBN_SETFOCUS = 3,
    CBN_KILLFOCUS = 4,
    CBN_EDITCHANGE = 5,
    CBN_DROPDOWN = 7,
    CBN_CLOSEUP = 8,
    LBN_SELCHANGE = 1,
    LBN_DBLCLK = 2,
    LBN_SETFOCUS = 4,
    LBN_KILLFOCUS = 5,
    EN_SETFOCUS = 0x100,
    EN_KILLFOCUS = 0x200,
    EN_CHANGE = 0x300,
    TCN_SELCHANGE = -551,   ///< tab control: another tab was chosen
    LVN_ITEMCHANGED = -101, ///< list view: selection moved
    NM_DBLCLK = -3,         ///< list view: item double-clicked
    NM_RCLICK = -5,         ///< right click on a control
};

// Check states of buttons.
enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2 };

// Show commands.
enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3,
    SW_SHOW = 5,
    SW_RESTORE = 9
};

// Virtual key codes.
enum : int {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0d,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1b,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2d,
    VK_DELETE = 0x2e,
    VK_F1 = 0x70,
    VK_F2 = 0x71,
    VK_F3 = 0x72,
    VK_F4 = 0x73,
    VK_F5 = 0x74,
    VK_F6 = 0x75,
    VK_F7 = 0x76,
    VK_F8 = 0x77,
    VK_F9 = 0x78,
    VK_F10 = 0x79,
    VK_F11 = 0x7a,
    VK_F12 = 0x7b,
    // Letters and digits are their ASCII capitals: 'A' .. 'Z', '0' .. '9'.
};

/// Mouse cursors a window can show.
enum class CursorShape {
    Arrow,
    Move,     ///< four arrows, over something that can be dragged
    SizeNWSE, ///< top-left and bottom-right handles
    SizeNESW, ///< top-right and bottom-left handles
    SizeWE,   ///< left and right handles
    SizeNS,   ///< top and bottom handles
    Cross,    ///< rubber-band selection
};

/// A key press as keyboard pre-translation sees it.
struct KeyEvent {
    int vk = 0; ///< virtual key code (VK_RETURN, 'C', ...)
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    int focusId = 0;  ///< id of the control that has the focus, 0 for none
    std::string text; ///< the character typed, if any
};

/// A mouse event in client coordinates of the window that receives it.
struct MouseEvent {
    enum Kind { Press, Release, Move, DoubleClick, Wheel } kind = Press;
    enum Button { None = 0, Left = 1, Right = 2, Middle = 4 };
    int button = None;  ///< the button that changed
    int buttons = None; ///< buttons held
    Point pos;
    bool ctrl = false;
    bool shift = false;
    int wheelDelta = 0; ///< 120 per notch
};

/// Converts a key name as scripts spell it ("Enter", "F3", "Tab", "C") to its code; 0 if unknown.
int keyCodeFromName(const std::string& name);
/// The name of a key code as scripts spell it.
std::string keyName(int vk);

} // namespace ui
