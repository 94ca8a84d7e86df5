#pragma once
// Reading the controls of a template file, which comes from other people's machines: whatever the
// file holds, the result is a sane list of controls or a refusal.

#include "designer/Vor_DesignerControl.h"

#include <host/Vor_PropertiesList.h>

#include <vector>

/// Most controls a template may hold; a file that claims more is refused.
inline constexpr int kMaxTemplateControls = 10000;
/// Longest text a control keeps from a file, in bytes; longer ones are cut at a character's end.
inline constexpr int kMaxTemplateTextBytes = 4096;

/// The controls of a template's property list, in order: missing keys give defaults, factors that
/// are not finite become 0 and far ones are brought to within a picture's size of it, long texts
/// are cut. False (and `controls` untouched) for a count beyond kMaxTemplateControls.
bool readTemplateControls(const Vor_PropertiesList& props, std::vector<Vor_DesignerControl>& controls);
