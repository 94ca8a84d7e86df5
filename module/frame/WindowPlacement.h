#pragma once
// The window placement store: sixteen dialogs keep their rectangle in the application profile.

#include <ui/Types.h>

#include <cstddef>
#include <optional>
#include <string>

namespace ui {
class Window;
}

/// Profile section of the placements.
inline constexpr const char* kPlacementSection = "VORLANEV8";

/// What the restore steps decide: where the window goes, or that it is shown maximised.
struct PlacementDecision {
    bool maximize = false;
    ui::Rect rect; ///< left, top and the size (already at least the minimum size)
};

/// The restore arithmetic. `stored*` hold the profile values, each defaulting to the current edge.
/// CX and CY are the larger of the full-screen client size and the work area's right/bottom edge.
PlacementDecision decidePlacement(const ui::Rect& current, int storedTop, int storedBottom, int storedLeft,
                                  int storedRight, int cx, int cy, bool keepSize, int minWidth,
                                  int minHeight);

/// Places the window from the store, or leaves it where it is (first use).
void restoreWindowPlacement(ui::Window* window, const std::string& key, bool keepSize, int minWidth,
                            int minHeight);
/// Writes the window's rectangle (top, bottom, left, right) under the key.
void saveWindowPlacement(ui::Window* window, const std::string& key);

/// Most bytes of a placement key made by safePlacementKey (before the edge suffix "_BOTTOM").
inline constexpr std::size_t kMaxPlacementKey = 96;
/// A placement key made from names a person chose (macro names, groups): letters, digits, '_' and
/// '-' stay, every other byte becomes '_', and the result is at most kMaxPlacementKey bytes. When
/// anything had to change, a short hash of the original text is appended, so that two names that
/// differ only in such bytes keep apart.
std::string safePlacementKey(const std::string& key);
