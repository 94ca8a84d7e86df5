#pragma once
// Helpers shared by the grid widget's sources.

#include <sheet/Sheet.h>

#include <QString>

#include <string>
#include <vector>

namespace sheet::control {

inline constexpr int kComboButton = 15; // width of the drop-down button drawn in combo-box cells

inline QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

/// Whether a check-box cell is on: a non-zero number or true, otherwise the text "1".
bool isChecked(const Sheet& s, int col, int row);
/// The items of a combo-box cell type, which holds them joined with tab characters.
std::vector<std::string> comboItems(const std::string& items);

} // namespace sheet::control
