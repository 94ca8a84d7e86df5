#pragma once
// The arithmetic of the designer's layout commands on pixel rectangles, without windows: lining up,
// spreading out, equal sizes, the snap grid, where pasted copies and new controls go, and where the
// view of a large picture may scroll to. The first rectangle of a selection is its reference: the
// one the others are lined up with or sized to (the control selected first).

#include <ui/Types.h>

#include <vector>

namespace designer {

enum class Align {
    Left,   ///< left edges on the reference's left edge
    Right,  ///< right edges on the reference's right edge
    Top,    ///< top edges on the reference's top edge
    Bottom, ///< bottom edges on the reference's bottom edge
    Centre, ///< horizontal centres on the reference's (one column)
    Middle, ///< vertical centres on the reference's (one row)
};

/// The rectangles moved (never resized) so that they line up with the first one.
std::vector<ui::Rect> align(std::vector<ui::Rect> rects, Align how);

/// The rectangles spread out along one axis with equal gaps between neighbours, in the order of
/// their left (top) edges; the first and the last stay where they are. Fewer than three: unchanged.
/// Gaps that do not divide evenly give the first gaps one pixel more.
std::vector<ui::Rect> distribute(std::vector<ui::Rect> rects, bool horizontal);

/// The rectangles given the first one's width and/or height; left and top edges stay.
std::vector<ui::Rect> sameSize(std::vector<ui::Rect> rects, bool width, bool height);

/// `v` on the nearest multiple of `grid` (halves away from zero); `grid` below 2 leaves it.
int snap(int v, int grid);
/// A moved rectangle's top-left edge on the grid, its size kept.
ui::Rect snapMoved(const ui::Rect& r, int grid);
/// A resized rectangle's edges on the grid, at least one grid step wide and high.
ui::Rect snapResized(const ui::Rect& r, int grid);

/// How far the n-th paste (from 1) of the same copied controls lies from the originals: one step
/// right and down per paste, so that each paste shows apart from the last.
ui::Point pasteOffset(int n, int step);

/// Where a new control of `size` goes: at `start`, or one step right and down from there as long as
/// a control's top-left corner lies there, so that new controls do not land on each other; a place
/// that would leave the picture (`picture`, from 0,0) begins a new diagonal one step right of the
/// first.
ui::Point newControlPlace(const std::vector<ui::Rect>& existing, ui::Point start, ui::Size size, int step,
                          ui::Size picture);

/// The view origin (the picture's pixel at the top-left of the view) kept within what can be shown:
/// from 0 to the picture's size less the view's, never negative.
ui::Point clampOrigin(ui::Point origin, ui::Size picture, ui::Size view);

} // namespace designer
