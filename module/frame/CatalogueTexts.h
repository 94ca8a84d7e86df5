#pragma once
// The texts of a dialog's controls from the dialog catalogue of the chosen language.

#include <span>
#include <utility>

namespace ui {
class Dialog;
}

/// Gives each control (first) the dialog text with the number second; controls the dialog lacks
/// are passed over, so that one table serves the variants of a template.
void setCatalogueTexts(ui::Dialog& dialog, std::span<const std::pair<int, int>> texts);
