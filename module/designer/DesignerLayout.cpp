#include "designer/DesignerLayout.h"

#include <algorithm>
#include <numeric>

namespace designer {

namespace {
void moveTo(ui::Rect& r, int left, int top) {
    const int w = r.width(), h = r.height();
    r = ui::Rect::fromSize(left, top, w, h);
}
} // namespace

std::vector<ui::Rect> align(std::vector<ui::Rect> rects, Align how) {
    if (rects.empty()) return rects;
    const ui::Rect ref = rects.front();
    for (ui::Rect& r : rects) {
        switch (how) {
        case Align::Left:
            moveTo(r, ref.left, r.top);
            break;
        case Align::Right:
            moveTo(r, ref.right - r.width(), r.top);
            break;
        case Align::Top:
            moveTo(r, r.left, ref.top);
            break;
        case Align::Bottom:
            moveTo(r, r.left, ref.bottom - r.height());
            break;
        case Align::Centre:
            // centres as twice the centre, so that odd widths do not drift by rounding
            moveTo(r, r.left + ((ref.left + ref.right) - (r.left + r.right)) / 2, r.top);
            break;
        case Align::Middle:
            moveTo(r, r.left, r.top + ((ref.top + ref.bottom) - (r.top + r.bottom)) / 2);
            break;
        }
    }
    return rects;
}

std::vector<ui::Rect> distribute(std::vector<ui::Rect> rects, bool horizontal) {
    const std::size_t n = rects.size();
    if (n < 3) return rects;
    const auto lead = [horizontal](const ui::Rect& r) { return horizontal ? r.left : r.top; };
    const auto extent = [horizontal](const ui::Rect& r) { return horizontal ? r.width() : r.height(); };
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return lead(rects[a]) < lead(rects[b]); });
    const ui::Rect& first = rects[order.front()];
    const ui::Rect& last = rects[order.back()];
    long long used = 0;
    for (const ui::Rect& r : rects)
        used += extent(r);
    // the room between the first one's start and the last one's end, less what the controls fill
    const long long room = static_cast<long long>(lead(last)) + extent(last) - lead(first) - used;
    const long long gaps = static_cast<long long>(n) - 1;
    const long long gap = room >= 0 ? room / gaps : -((-room + gaps - 1) / gaps);
    long long extra = room - gap * gaps; // 0 <= extra < gaps
    long long at = lead(first) + extent(first);
    for (std::size_t k = 1; k + 1 < n; ++k) {
        ui::Rect& r = rects[order[k]];
        at += gap + (extra > 0 ? 1 : 0);
        if (extra > 0) --extra;
        if (horizontal)
            moveTo(r, static_cast<int>(at), r.top);
        else
            moveTo(r, r.left, static_cast<int>(at));
        at += extent(r);
    }
    return rects;
}

std::vector<ui::Rect> sameSize(std::vector<ui::Rect> rects, bool width, bool height) {
    if (rects.empty()) return rects;
    const ui::Rect ref = rects.front();
    for (ui::Rect& r : rects) {
        if (width) r.right = r.left + ref.width();
        if (height) r.bottom = r.top + ref.height();
    }
    return rects;
}

int snap(int v, int grid) {
    if (grid < 2) return v;
    const int half = grid / 2;
    return v >= 0 ? (v + half) / grid * grid : -((-v + half) / grid * grid);
}

ui::Rect snapMoved(const ui::Rect& r, int grid) {
    return ui::Rect::fromSize(snap(r.left, grid), snap(r.top, grid), r.width(), r.height());
}

ui::Rect snapResized(const ui::Rect& r, int grid) {
    if (grid < 2) return r;
    ui::Rect s{snap(r.left, grid), snap(r.top, grid), snap(r.right, grid), snap(r.bottom, grid)};
    s.right = std::max(s.right, s.left + grid);
    s.bottom = std::max(s.bottom, s.top + grid);
    return s;
}

ui::Point pasteOffset(int n, int step) {
    return {std::max(n, 0) * step, std::max(n, 0) * step};
}

ui::Point newControlPlace(const std::vector<ui::Rect>& existing, ui::Point start, ui::Size size, int step,
                          ui::Size picture) {
    step = std::max(step, 1);
    const auto taken = [&existing](ui::Point p) {
        return std::any_of(existing.begin(), existing.end(),
                           [p](const ui::Rect& r) { return r.left == p.x && r.top == p.y; });
    };
    ui::Point lineStart = start, p = start;
    // every control takes at most one place, so this many tries always find a free one
    for (std::size_t tries = 0; tries <= existing.size(); ++tries) {
        if (!taken(p)) return p;
        p = {p.x + step, p.y + step};
        if (p.x + size.cx > picture.cx || p.y + size.cy > picture.cy) {
            lineStart.x += step;
            if (lineStart.x + size.cx > picture.cx) lineStart.x = 0;
            p = lineStart;
        }
    }
    return p;
}

ui::Point clampOrigin(ui::Point origin, ui::Size picture, ui::Size view) {
    const int maxX = std::max(0, picture.cx - view.cx);
    const int maxY = std::max(0, picture.cy - view.cy);
    return {std::clamp(origin.x, 0, maxX), std::clamp(origin.y, 0, maxY)};
}

} // namespace designer
