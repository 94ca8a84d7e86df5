#include "designer/TabOrder.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
/// A candidate's edges as the sort sees them: finite, top not below bottom.
struct Edges {
    int index;
    double left, top, bottom;
};

double sortable(double v) {
    // NaN counts as the top-left corner; infinities as far edges (still finite numbers).
    if (std::isnan(v)) return 0.0;
    const double far = 1e9;
    return std::clamp(v, -far, far);
}
} // namespace

void sortTabOrder(std::vector<Vor_DesignerControl>& controls) {
    std::vector<Edges> candidates;
    for (int i = 0; i < static_cast<int>(controls.size()); ++i) {
        const Vor_DesignerControl& c = controls[static_cast<std::size_t>(i)];
        if (c.readOnly || !typeTakesFocus(c.type)) continue;
        double top = sortable(c.topLeftY), bottom = sortable(c.bottomRightY);
        if (top > bottom) std::swap(top, bottom);
        candidates.push_back({i, sortable(c.topLeftX), top, bottom});
    }
    int next = 1;
    while (!candidates.empty()) {
        // Row head: the highest candidate, the first of equal tops winning.
        std::size_t head = 0;
        for (std::size_t k = 1; k < candidates.size(); ++k)
            if (candidates[k].top < candidates[head].top) head = k;
        const double rowBottom = candidates[head].bottom;
        std::vector<Edges> row;
        std::vector<Edges> rest;
        for (const Edges& e : candidates)
            (e.top <= rowBottom ? row : rest).push_back(e);
        candidates.swap(rest);
        std::stable_sort(row.begin(), row.end(),
                         [](const Edges& a, const Edges& b) { return a.left < b.left; });
        for (const Edges& e : row)
            controls[static_cast<std::size_t>(e.index)].tabOrder = next++;
    }
}
