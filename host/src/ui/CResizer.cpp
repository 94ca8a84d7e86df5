#include <host/ui/CResizer.h>

#include <ui/Window.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

int edgeOf(const ui::Rect& r, int side) {
    switch (side) {
    case CResizer::eLeft:
        return r.left;
    case CResizer::eTop:
        return r.top;
    case CResizer::eRight:
        return r.right;
    case CResizer::eBottom:
        return r.bottom;
    case CResizer::eXCenter:
        return (r.left + r.right) / 2;
    case CResizer::eYCenter:
        return (r.top + r.bottom) / 2;
    default:
        return 0;
    }
}

bool keepsSize(int mode) {
    return mode == CResizer::eWidth || mode == CResizer::eHeight;
}

} // namespace

std::string CResizer::check(const Rule& rule) {
    const Border* borders[] = {&rule.left, &rule.top, &rule.right, &rule.bottom};
    const char* names[] = {"left", "top", "right", "bottom"};
    for (int i = 0; i < 4; ++i) {
        const Border& b = *borders[i];
        if (b.mode < eFixed || b.mode > eHeight)
            return "control " + std::to_string(rule.id) + ": unknown mode " + std::to_string(b.mode) +
                   " for the " + names[i] + " edge";
        if (!keepsSize(b.mode) && (b.side < eLeft || b.side > eYCenter))
            return "control " + std::to_string(rule.id) + ": unknown side " + std::to_string(b.side) +
                   " for the " + names[i] + " edge";
    }
    return {};
}

std::map<int, ui::Rect> CResizer::arrange(const std::vector<Rule>& rules,
                                          const std::map<int, ui::Rect>& start, ui::Size startClient,
                                          ui::Size client) {
    const ui::Rect startDialog{0, 0, startClient.cx, startClient.cy};
    const ui::Rect newDialog{0, 0, client.cx, client.cy};
    std::map<int, const Rule*> ruleOf;
    for (const Rule& r : rules)
        if (r.id != 0 && start.count(r.id) && check(r).empty())
            ruleOf.emplace(r.id, &r); // the first rule wins

    std::map<int, ui::Rect> placed;
    std::map<int, bool> busy;
    std::function<ui::Rect(int)> place;

    // The reference's start and new rectangles; a reference caught in a loop stays where it was.
    auto reference = [&](int refId, ui::Rect& before, ui::Rect& after) {
        auto s = refId == 0 ? start.end() : start.find(refId);
        if (s == start.end()) {
            before = startDialog;
            after = newDialog;
            return;
        }
        before = s->second;
        after = ruleOf.count(refId) && !busy[refId] ? place(refId) : s->second;
    };

    // One edge that follows its reference (modes fixed and proportional).
    auto follow = [&](const Border& b, int ownStart, bool alongX) {
        ui::Rect before, after;
        reference(b.refId, before, after);
        int distance = ownStart - edgeOf(before, b.side);
        if (b.mode == eProportional) {
            int from = alongX ? startClient.cx : startClient.cy;
            int to = alongX ? client.cx : client.cy;
            if (from > 0) distance = static_cast<int>(std::lround(static_cast<double>(distance) * to / from));
        }
        return edgeOf(after, b.side) + distance;
    };

    // Both edges of one axis: a size-keeping edge is placed from the other one.
    auto axis = [&](const Border& nearB, const Border& farB, int nearStart, int farStart, bool alongX,
                    int& nearOut, int& farOut) {
        int size = farStart - nearStart;
        bool keepNear = keepsSize(nearB.mode), keepFar = keepsSize(farB.mode);
        if (keepNear && keepFar) { // nothing to follow: the control stays
            nearOut = nearStart;
            farOut = farStart;
        } else if (keepNear) {
            farOut = follow(farB, farStart, alongX);
            nearOut = farOut - size;
        } else if (keepFar) {
            nearOut = follow(nearB, nearStart, alongX);
            farOut = nearOut + size;
        } else {
            nearOut = follow(nearB, nearStart, alongX);
            farOut = std::max(nearOut, follow(farB, farStart, alongX)); // never a negative size
        }
    };

    place = [&](int id) -> ui::Rect {
        if (auto p = placed.find(id); p != placed.end()) return p->second;
        const Rule& r = *ruleOf.at(id);
        const ui::Rect& s = start.at(id);
        busy[id] = true;
        ui::Rect out;
        axis(r.left, r.right, s.left, s.right, true, out.left, out.right);
        axis(r.top, r.bottom, s.top, s.bottom, false, out.top, out.bottom);
        busy[id] = false;
        placed[id] = out;
        return out;
    };

    for (const auto& [id, rule] : ruleOf)
        place(id);
    return placed;
}

bool CResizer::init(ui::Dialog* dlg, const std::vector<Rule>& rules) {
    reset();
    if (!dlg || !dlg->exists()) return false;
    bool allSound = true;
    for (const Rule& r : rules) {
        if (!dlg->item(r.id) || !check(r).empty()) {
            allSound = false;
            continue;
        }
        m_rules.push_back(r);
    }
    // Every control is recorded, ruled or not, since any of them can be a reference.
    for (ui::Control* c : dlg->controls()) {
        if (c->id() <= 0) continue; // anonymous labels cannot be named by a rule
        ui::Rect screen = c->windowRect();
        ui::Point topLeft = dlg->screenToClient({screen.left, screen.top});
        m_start[c->id()] = ui::Rect::fromSize(topLeft.x, topLeft.y, screen.width(), screen.height());
    }
    ui::Rect client = dlg->clientRect();
    m_startClient = {client.width(), client.height()};
    m_dlg = dlg;
    return allSound;
}

void CResizer::move() {
    if (!m_dlg || !m_dlg->exists()) return;
    ui::Rect client = m_dlg->clientRect();
    for (const auto& [id, r] : arrange(m_rules, m_start, m_startClient, {client.width(), client.height()}))
        if (ui::Control* c = m_dlg->item(id)) c->moveWindow(r, true);
}

void CResizer::reset() {
    m_dlg = nullptr;
    m_rules.clear();
    m_start.clear();
    m_startClient = {};
}
