#include "calc/ui/ControlResizer.h"

#include <ui/Window.h>

void ControlResizer::place(int& nearEdge, int& farEdge, int code, int delta) {
    switch (code) {
    case kStretch:
        farEdge += delta;
        break;
    case kFollow:
        nearEdge += delta;
        farEdge += delta;
        break;
    default:
        break; // kStay, and codes that hold neither edge to the far side
    }
}

void ControlResizer::init(ui::Dialog* dialog) {
    m_dialog = dialog;
    m_rects.clear();
    m_codes.clear();
    if (!dialog || !dialog->exists()) return;
    ui::Rect c = dialog->clientRect();
    m_client = {c.width(), c.height()};
    for (ui::Control* ctl : dialog->controls()) {
        ui::Rect r = ctl->windowRect();
        ui::Point tl = dialog->screenToClient({r.left, r.top});
        m_rects[ctl->id()] = ui::Rect::fromSize(tl.x, tl.y, r.width(), r.height());
    }
}

bool ControlResizer::add(int id, int horizontal, int vertical) {
    if (!m_rects.count(id)) return false;
    m_codes[id] = {horizontal, vertical};
    return true;
}

void ControlResizer::resize(int width, int height) {
    if (!m_dialog || !m_dialog->exists()) return;
    const int dx = width - m_client.cx, dy = height - m_client.cy;
    for (const auto& [id, codes] : m_codes) {
        ui::Control* c = m_dialog->item(id);
        if (!c) continue;
        ui::Rect r = m_rects[id];
        place(r.left, r.right, codes.first, dx);
        place(r.top, r.bottom, codes.second, dy);
        c->moveWindow(r.left, r.top, std::max(0, r.width()), std::max(0, r.height()));
    }
}
