#pragma once
// Internals shared by the grid control's sources.

#include <sheet/Sheet.h>

namespace sheet {

// Recalculation is held while a block is written cell by cell, then done once.
struct HoldRecalc {
    explicit HoldRecalc(Sheet& s)
        : s(s)
        , was(s.option(Sheet::kOptAutoRecalc)) {
        s.setOption(Sheet::kOptAutoRecalc, false);
    }
    ~HoldRecalc() { s.setOption(Sheet::kOptAutoRecalc, was); }
    Sheet& s;
    bool was;
};

} // namespace sheet
