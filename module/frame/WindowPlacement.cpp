// Restoring and saving window rectangles in the application profile.

#include "frame/WindowPlacement.h"

#include <ui/Application.h>
#include <ui/Window.h>

#include <algorithm>
#include <cstdint>

PlacementDecision decidePlacement(const ui::Rect& current, int storedTop, int storedBottom, int storedLeft,
                                  int storedRight, int cx, int cy, bool keepSize, int minWidth,
                                  int minHeight) {
    ui::Rect r = current;
    const int w = current.width();
    const int h = current.height();
    // Each stored edge is taken only inside its bounds; otherwise the window keeps its own edge.
    if (-5 < storedLeft && storedLeft < cx) r.left = storedLeft;
    if (!keepSize) {
        if (0 < storedRight && storedRight < cx + 5) r.right = storedRight;
    } else {
        r.right = r.left + w;
    }
    if (-5 < storedTop && storedTop < cy) r.top = storedTop;
    if (!keepSize) {
        if (0 < storedBottom && storedBottom < cy + 5) r.bottom = storedBottom;
    } else {
        r.bottom = r.top + h;
    }
    PlacementDecision d;
    if (r.bottom >= cy && r.right >= cx) {
        d.maximize = true;
        d.rect = r;
        return d;
    }
    d.rect =
        ui::Rect::fromSize(r.left, r.top, std::max(r.width(), minWidth), std::max(r.height(), minHeight));
    return d;
}

void restoreWindowPlacement(ui::Window* window, const std::string& key, bool keepSize, int minWidth,
                            int minHeight) {
    if (!window || !window->exists()) return;
    ui::Rect r = window->windowRect();
    const int top = ui::Profile::getInt(kPlacementSection, key + "_TOP", r.top);
    const int bottom = ui::Profile::getInt(kPlacementSection, key + "_BOTTOM", r.bottom);
    const int left = ui::Profile::getInt(kPlacementSection, key + "_LEFT", r.left);
    const int right = ui::Profile::getInt(kPlacementSection, key + "_RIGHT", r.right);
    ui::ScreenMetrics m = ui::screenMetrics();
    const int cx = std::max(m.fullScreenClient.cx, m.workArea.right);
    const int cy = std::max(m.fullScreenClient.cy, m.workArea.bottom);
    PlacementDecision d = decidePlacement(r, top, bottom, left, right, cx, cy, keepSize, minWidth, minHeight);
    if (d.maximize) {
        window->showWindow(ui::SW_SHOWMAXIMIZED);
        return;
    }
    window->moveWindow(d.rect, true);
}

void saveWindowPlacement(ui::Window* window, const std::string& key) {
    if (!window || !window->exists()) return;
    ui::Rect r = window->windowRect();
    ui::Profile::writeInt(kPlacementSection, key + "_TOP", r.top);
    ui::Profile::writeInt(kPlacementSection, key + "_BOTTOM", r.bottom);
    ui::Profile::writeInt(kPlacementSection, key + "_LEFT", r.left);
    ui::Profile::writeInt(kPlacementSection, key + "_RIGHT", r.right);
}

std::string safePlacementKey(const std::string& key) {
    std::string out;
    bool changed = false;
    for (unsigned char ch : key) {
        const bool keep = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
                          ch == '_' || ch == '-';
        out += keep ? static_cast<char>(ch) : '_';
        changed |= !keep;
    }
    constexpr std::size_t kHashPart = 9; // "_" and eight hex digits
    if (out.size() > kMaxPlacementKey) {
        out.resize(kMaxPlacementKey - kHashPart);
        changed = true;
    }
    if (!changed) return out;
    std::uint32_t h = 2166136261u; // FNV-1a of the original bytes
    for (unsigned char ch : key)
        h = (h ^ ch) * 16777619u;
    std::string hex = "_";
    for (int shift = 28; shift >= 0; shift -= 4)
        hex += "0123456789abcdef"[(h >> shift) & 0xf];
    return out + hex;
}
