#pragma once
// The tab order of a designed dialog: row by row from the top, left to right within a row.

#include "designer/Vor_DesignerControl.h"

#include <vector>

/// Gives every control that can take the focus (not read-only, neither text nor group box) its
/// tab position from 1; others keep theirs. A row is the highest control left and every control
/// whose top lies within its height. Controls with edges upside down or beyond any sensible range
/// are sorted as if normalised, so the sort always ends.
void sortTabOrder(std::vector<Vor_DesignerControl>& controls);
