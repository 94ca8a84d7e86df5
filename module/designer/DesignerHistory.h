#pragma once
// Undo and redo of a designed dialog's layout and properties, as snapshots of its controls.

#include "designer/Vor_DesignerControl.h"

#include <cstddef>
#include <vector>

/// The steps of one designer session; a step is the whole control list before a change.
class DesignerHistory {
public:
    using Layout = std::vector<Vor_DesignerControl>;
    /// Most steps kept; the oldest go first.
    static constexpr std::size_t kMaxSteps = 200;

    /// Records `before` as a step when it differs from `after`; the redo steps are dropped.
    bool record(const Layout& before, const Layout& after);
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    /// The layout to go back to from `current`; false when there is none.
    bool undo(const Layout& current, Layout& out);
    bool redo(const Layout& current, Layout& out);
    void clear();

    /// Whether two layouts differ in anything the person sees or saves.
    static bool same(const Layout& a, const Layout& b);

private:
    std::vector<Layout> m_undo;
    std::vector<Layout> m_redo;
};
