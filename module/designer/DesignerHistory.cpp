#include "designer/DesignerHistory.h"

namespace {
bool sameControl(const Vor_DesignerControl& a, const Vor_DesignerControl& b) {
    return a.type == b.type && a.resId == b.resId && a.topLeftX == b.topLeftX && a.topLeftY == b.topLeftY &&
           a.bottomRightX == b.bottomRightX && a.bottomRightY == b.bottomRightY && a.contents == b.contents &&
           a.getMergedExtComboList() == b.getMergedExtComboList();
}
} // namespace

bool DesignerHistory::same(const Layout& a, const Layout& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (!sameControl(a[k], b[k])) return false;
    return true;
}

bool DesignerHistory::record(const Layout& before, const Layout& after) {
    if (same(before, after)) return false;
    m_undo.push_back(before);
    if (m_undo.size() > kMaxSteps) m_undo.erase(m_undo.begin());
    m_redo.clear();
    return true;
}

bool DesignerHistory::undo(const Layout& current, Layout& out) {
    if (m_undo.empty()) return false;
    Layout now = current; // `current` may be `out`
    out = m_undo.back();
    m_undo.pop_back();
    m_redo.push_back(std::move(now));
    return true;
}

bool DesignerHistory::redo(const Layout& current, Layout& out) {
    if (m_redo.empty()) return false;
    Layout now = current;
    out = m_redo.back();
    m_redo.pop_back();
    m_undo.push_back(std::move(now));
    return true;
}

void DesignerHistory::clear() {
    m_undo.clear();
    m_redo.clear();
}
