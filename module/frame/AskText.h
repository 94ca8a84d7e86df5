#pragma once
// One line of text asked of the person, for code that must not depend on a dialog class.

#include <host/Vor_String.h>

namespace ui {
class Window;
}

/// What the text question shows; `text` is the initial text and, after OK, the confirmed one.
struct TextQuestion {
    Vor_String caption;
    Vor_String prompt;
    Vor_String text;
    Vor_String okText;
    Vor_String cancelText;
};

/// Asks with the text-input dialog; true on OK. On Cancel `q.text` keeps the initial text.
bool askText(ui::Window* parent, TextQuestion& q);
