#pragma once
// Whether the texts of a window fit their controls. Templates are sized for one language; another
// language's texts are longer, and a text that is cut tells a person nothing. The check measures
// each visible label, button, check box, radio button, group box title and list heading with the
// font and style it is drawn with.

#include <string>
#include <vector>

namespace ui {

class Window;

/// One text that does not fit its control.
struct ClippedText {
    int id = -1;       ///< the control's id, -1 for a part the window made itself
    std::string text;  ///< the text as written
    std::string where; ///< "needs 132 px, has 120", for the message
};

/// The texts of the window's visible controls (nested windows included) that do not fit them.
std::vector<ClippedText> clippedTexts(const Window& window);

/// One line per clipped text ("control 1003 \"Alles vervangen (F5)\": needs 132 px, has 120").
std::string describeClippedTexts(const std::vector<ClippedText>& clipped);

} // namespace ui
