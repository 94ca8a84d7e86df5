#pragma once
// The designer's mouse: selecting drawn controls by click, Ctrl-click, Shift-click and rubber band,
// moving the selection and resizing one control by its handles. It works on rectangles only; the
// engine moves the windows after it.

#include "designer/CControlRect.h"

#include <ui/Types.h>

#include <vector>

namespace ui {
class Painter;
}

/// Owns the selection of the drawn controls of one engine in design mode.
class SelectionTracker {
public:
    /// Handles lie outside the rectangle and are this many pixels wide.
    static constexpr int kHandleSize = 5;
    /// Where a point lies on a rectangle: nowhere, inside, or on one of the eight handles.
    enum Hit {
        HitNothing,
        HitInside,
        HitTopLeft,
        HitTop,
        HitTopRight,
        HitRight,
        HitBottomRight,
        HitBottom,
        HitBottomLeft,
        HitLeft
    };
    /// What a button press started.
    enum class Drag { None, RubberBand, Move, Resize };

    void add(CControlRect* rect);
    /// Drops the rectangle with that id; the whole selection is cleared first.
    void remove(int resId);
    void removeAll();
    /// Adds the rectangle with that id to the selection, optionally clearing it first.
    void select(int resId, bool clearFirst);
    /// The id of the only selected rectangle, -1 unless exactly one is selected.
    int currentSelectionId() const;
    std::vector<int> selectedIds() const;
    void clearSelection();
    void addToSelection(int resId);
    void toggle(int resId);
    const std::vector<CControlRect*>& all() const { return m_all; }
    const std::vector<CControlRect*>& selected() const { return m_selected; }

    /// What lies under a point and where on it: a handle of a selected rectangle, else the topmost
    /// (newest drawn) rectangle that holds the point.
    CControlRect* hitTest(ui::Point p, Hit& where) const;
    /// The cursor that shows what a press at the point would do.
    ui::CursorShape cursorAt(ui::Point p) const;

    /// Left button pressed: selects and starts a rubber band, a move or a resize. True when the
    /// selection or a rectangle may have changed.
    bool press(ui::Point p, bool ctrl, bool shift);
    /// The mouse moved with the button held; true when rectangles moved or the band changed.
    bool move(ui::Point p);
    /// Button released: a rubber band selects what lies wholly inside it; a move or resize ends.
    bool release(ui::Point p);
    Drag drag() const { return m_drag; }
    /// The rubber band while one is dragged, normalised.
    ui::Rect band() const;
    /// The rectangles whose place the running (or just ended) drag changed.
    const std::vector<CControlRect*>& moving() const { return m_moving; }

    /// Frames and handles of the selected rectangles, and the rubber band.
    void paint(ui::Painter& p) const;
    /// The eight handle rectangles of a rectangle, in Hit order from HitTopLeft.
    static std::vector<ui::Rect> handles(const ui::Rect& r);

private:
    CControlRect* find(int resId) const;
    bool isSelected(const CControlRect* r) const;

    std::vector<CControlRect*> m_all;
    std::vector<CControlRect*> m_selected;
    Drag m_drag = Drag::None;
    Hit m_handle = HitNothing;
    ui::Point m_start;
    ui::Point m_now;
    std::vector<CControlRect*> m_moving;
    std::vector<ui::Rect> m_startRects;
};
