#pragma once
// Keeps a dialog's controls anchored when it is resized. Each control gets a horizontal and a
// vertical code of the bits 1, 2 and 4: 6 (2 + 4) keeps the near edge and the far edge's distance to
// the dialog's far edge (the control stretches), 5 (1 + 4) moves it with the far edge, 3 (1 + 2)
// keeps it where it is.

#include <ui/Types.h>

#include <map>

namespace ui {
class Dialog;
}

class ControlResizer {
public:
    enum Code : int { kStay = 3, kFollow = 5, kStretch = 6 };

    /// Records the dialog's client size and the rectangle of every control.
    void init(ui::Dialog* dialog);
    /// Registers a control with its codes; false when it is not among the recorded ones.
    bool add(int id, int horizontal, int vertical);
    /// Places every registered control for the new client size.
    void resize(int width, int height);

    /// The arithmetic of one edge pair: the span (near, far) for a code and a change of size.
    static void place(int& nearEdge, int& farEdge, int code, int delta);

private:
    ui::Dialog* m_dialog = nullptr;
    ui::Size m_client;
    std::map<int, ui::Rect> m_rects;
    std::map<int, std::pair<int, int>> m_codes;
};
