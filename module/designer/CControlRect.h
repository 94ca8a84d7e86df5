#pragma once
// One drawn control of a designed dialog: its pixel rectangle with resize handles, the child window
// made for it and whether it is selected.

#include <ui/Types.h>

namespace ui {
class Control;
}

/// A drawn designed control; the engine owns it, the tracker points to it.
class CControlRect {
public:
    CControlRect(int resId, const ui::Rect& rect, ui::Control* wnd)
        : m_resId(resId)
        , m_rect(rect)
        , m_wnd(wnd) {}

    int resId() const { return m_resId; }
    /// Where the control lies in the dialog's client area, in pixels.
    const ui::Rect& rect() const { return m_rect; }
    void setRect(const ui::Rect& r) { m_rect = r; }
    /// The child window, null for a rectangle without one (tests of the tracker alone).
    ui::Control* wnd() const { return m_wnd; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected) { m_selected = selected; }

private:
    int m_resId;
    ui::Rect m_rect;
    ui::Control* m_wnd;
    bool m_selected = false;
};
