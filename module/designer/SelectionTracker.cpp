#include "designer/SelectionTracker.h"

#include <ui/Painter.h>

#include <algorithm>

namespace {
ui::Rect normalised(ui::Rect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

bool inside(const ui::Rect& inner, const ui::Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool hits(const ui::Rect& r, ui::Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
} // namespace

void SelectionTracker::add(CControlRect* rect) {
    if (rect) m_all.push_back(rect);
}

void SelectionTracker::remove(int resId) {
    CControlRect* r = find(resId);
    if (!r) return;
    clearSelection();
    m_all.erase(std::remove(m_all.begin(), m_all.end(), r), m_all.end());
    m_moving.clear();
    m_drag = Drag::None;
}

void SelectionTracker::removeAll() {
    clearSelection();
    m_all.clear();
    m_moving.clear();
    m_drag = Drag::None;
}

CControlRect* SelectionTracker::find(int resId) const {
    for (CControlRect* r : m_all)
        if (r->resId() == resId) return r;
    return nullptr;
}

bool SelectionTracker::isSelected(const CControlRect* r) const {
    return std::find(m_selected.begin(), m_selected.end(), r) != m_selected.end();
}

void SelectionTracker::select(int resId, bool clearFirst) {
    CControlRect* r = find(resId);
    if (!r) return;
    if (clearFirst) clearSelection();
    if (!isSelected(r)) m_selected.push_back(r);
    r->setSelected(true);
}

int SelectionTracker::currentSelectionId() const {
    return m_selected.size() == 1 ? m_selected.front()->resId() : -1;
}

std::vector<int> SelectionTracker::selectedIds() const {
    std::vector<int> ids;
    for (CControlRect* r : m_selected)
        ids.push_back(r->resId());
    return ids;
}

void SelectionTracker::clearSelection() {
    for (CControlRect* r : m_all)
        r->setSelected(false);
    m_selected.clear();
}

void SelectionTracker::addToSelection(int resId) {
    CControlRect* r = find(resId);
    if (r && !isSelected(r)) select(resId, false);
}

void SelectionTracker::toggle(int resId) {
    CControlRect* r = find(resId);
    if (!r) return;
    if (isSelected(r)) {
        m_selected.erase(std::remove(m_selected.begin(), m_selected.end(), r), m_selected.end());
        r->setSelected(false);
    } else {
        select(resId, false);
    }
}

std::vector<ui::Rect> SelectionTracker::handles(const ui::Rect& r) {
    const int h = kHandleSize;
    const int cx = (r.left + r.right) / 2 - h / 2;
    const int cy = (r.top + r.bottom) / 2 - h / 2;
    return {
        {r.left - h, r.top - h, r.left, r.top},         {cx, r.top - h, cx + h, r.top},
        {r.right, r.top - h, r.right + h, r.top},       {r.right, cy, r.right + h, cy + h},
        {r.right, r.bottom, r.right + h, r.bottom + h}, {cx, r.bottom, cx + h, r.bottom + h},
        {r.left - h, r.bottom, r.left, r.bottom + h},   {r.left - h, cy, r.left, cy + h},
    };
}

CControlRect* SelectionTracker::hitTest(ui::Point p, Hit& where) const {
    // Handles first: they lie outside the rectangles, on top of whatever is beside them.
    for (CControlRect* r : m_all) {
        if (!r->isSelected()) continue;
        std::vector<ui::Rect> hs = handles(r->rect());
        for (std::size_t k = 0; k < hs.size(); ++k)
            if (hits(hs[k], p)) {
                where = static_cast<Hit>(HitTopLeft + static_cast<int>(k));
                return r;
            }
    }
    // Then the rectangle the person sees on top: the newest window lies above the older ones, so
    // a field inside a group box is found before the group box.
    for (auto it = m_all.rbegin(); it != m_all.rend(); ++it)
        if (hits(normalised((*it)->rect()), p)) {
            where = HitInside;
            return *it;
        }
    where = HitNothing;
    return nullptr;
}

ui::CursorShape SelectionTracker::cursorAt(ui::Point p) const {
    Hit where;
    if (!hitTest(p, where)) return ui::CursorShape::Arrow;
    switch (where) {
    case HitTopLeft:
    case HitBottomRight:
        return ui::CursorShape::SizeNWSE;
    case HitTopRight:
    case HitBottomLeft:
        return ui::CursorShape::SizeNESW;
    case HitLeft:
    case HitRight:
        return ui::CursorShape::SizeWE;
    case HitTop:
    case HitBottom:
        return ui::CursorShape::SizeNS;
    default:
        return ui::CursorShape::Move;
    }
}

bool SelectionTracker::press(ui::Point p, bool ctrl, bool shift) {
    m_drag = Drag::None;
    m_moving.clear();
    m_startRects.clear();
    m_start = m_now = p;
    Hit where;
    CControlRect* r = hitTest(p, where);
    if (!r) {
        if (ctrl || shift) return false;
        clearSelection();
        m_drag = Drag::RubberBand;
        return true;
    }
    if (ctrl) {
        toggle(r->resId());
        return true;
    }
    if (shift) {
        addToSelection(r->resId());
        return true;
    }
    if (!r->isSelected()) clearSelection();
    addToSelection(r->resId());
    if (where != HitInside) {
        m_drag = Drag::Resize;
        m_handle = where;
        m_moving = {r};
    } else {
        m_drag = Drag::Move;
        m_moving = m_selected;
    }
    for (CControlRect* m : m_moving)
        m_startRects.push_back(m->rect());
    return true;
}

bool SelectionTracker::move(ui::Point p) {
    if (m_drag == Drag::None || p == m_now) return false;
    m_now = p;
    const int dx = p.x - m_start.x;
    const int dy = p.y - m_start.y;
    if (m_drag == Drag::Move) {
        for (std::size_t k = 0; k < m_moving.size(); ++k) {
            ui::Rect r = m_startRects[k];
            m_moving[k]->setRect({r.left + dx, r.top + dy, r.right + dx, r.bottom + dy});
        }
    } else if (m_drag == Drag::Resize) {
        ui::Rect r = m_startRects.front();
        switch (m_handle) {
        case HitTopLeft:
            r.left += dx, r.top += dy;
            break;
        case HitTop:
            r.top += dy;
            break;
        case HitTopRight:
            r.right += dx, r.top += dy;
            break;
        case HitRight:
            r.right += dx;
            break;
        case HitBottomRight:
            r.right += dx, r.bottom += dy;
            break;
        case HitBottom:
            r.bottom += dy;
            break;
        case HitBottomLeft:
            r.left += dx, r.bottom += dy;
            break;
        case HitLeft:
            r.left += dx;
            break;
        default:
            break;
        }
        m_moving.front()->setRect(normalised(r));
    }
    return true;
}

bool SelectionTracker::release(ui::Point p) {
    if (m_drag == Drag::None) return false;
    move(p);
    if (m_drag == Drag::RubberBand) {
        const ui::Rect b = band();
        for (CControlRect* r : m_all)
            if (inside(normalised(r->rect()), b)) addToSelection(r->resId());
    }
    m_drag = Drag::None;
    return true;
}

ui::Rect SelectionTracker::band() const {
    return normalised({m_start.x, m_start.y, m_now.x, m_now.y});
}

void SelectionTracker::paint(ui::Painter& p) const {
    p.setNoBrush();
    for (const CControlRect* r : m_selected) {
        const ui::Rect& rc = r->rect();
        p.setPen(0x000000);
        p.drawRect({rc.left - 1, rc.top - 1, rc.right + 1, rc.bottom + 1});
        for (const ui::Rect& h : handles(rc))
            p.fillRect(h, 0x000000);
    }
    if (m_drag == Drag::RubberBand) {
        p.setPen(0x000000, 1, ui::PenStyle::Dot);
        p.setNoBrush();
        p.drawRect(band());
    }
}
