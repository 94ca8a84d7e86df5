#pragma once
// Moves and sizes the controls of a resizable dialog by anchoring rules: each edge of a control
// follows an edge of the dialog or of another control.

#include <ui/Types.h>

#include <map>
#include <string>
#include <vector>

namespace ui {
class Dialog;
}

/// Places a dialog's controls anew on every size change. A rule gives, for each edge of a control, a
/// mode, a reference (0 = the dialog's client area, else a control id) and the reference's edge:
/// - eFixed: the edge keeps its distance to the reference edge;
/// - eProportional: that distance grows and shrinks with the dialog's width (height for top and bottom);
/// - eWidth / eHeight: the edge keeps the control's size from the opposite edge (reference unused).
/// The order of the rules does not matter: a reference to a control with a rule of its own sees that
/// control's new place. Controls without a rule stay where they are; no control gets a negative size.
class CResizer {
public:
    enum Mode { eFixed = 1, eProportional = 2, eWidth = 3, eHeight = 4 };
    enum Side { eLeft = 1, eTop = 2, eRight = 3, eBottom = 4, eXCenter = 5, eYCenter = 6 };

    /// One edge's anchoring: mode, reference (0 = the dialog) and the reference's side.
    struct Border {
        int mode = eFixed;
        int refId = 0;
        int side = eLeft;
    };
    /// The anchoring of one control, e.g. {1015, {1, 0, 1}, {1, 0, 4}, {1, 0, 1}, {4, 0, 4}}.
    struct Rule {
        int id = 0;
        Border left, top, right, bottom;
    };

    /// The layout arithmetic on its own: the rectangles of the ruled controls for a new client size,
    /// from every control's rectangle and the client size at the start. Rules whose control has no
    /// start rectangle are left out; a reference without one counts as the dialog.
    static std::map<int, ui::Rect> arrange(const std::vector<Rule>& rules,
                                           const std::map<int, ui::Rect>& start, ui::Size startClient,
                                           ui::Size client);
    /// Checks a rule: known modes and sides; "" when sound, else what is wrong.
    static std::string check(const Rule& rule);

    /// Records the dialog's client size and the place of every control, and keeps the rules. Rules
    /// naming a control the dialog lacks, or unsound ones, are left out and make the result false
    /// (the others still work). False, and nothing kept, when the dialog has no window.
    bool init(ui::Dialog* dlg, const std::vector<Rule>& rules);
    /// Places the ruled controls for the dialog's present client size; call it from onSize.
    void move();
    bool isInitialized() const { return m_dlg != nullptr; }
    /// Forgets the dialog (before its window goes).
    void reset();

private:
    ui::Dialog* m_dlg = nullptr;
    std::vector<Rule> m_rules;
    std::map<int, ui::Rect> m_start;
    ui::Size m_startClient;
};
