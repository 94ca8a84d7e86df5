#pragma once
// Reading and writing the controls of a template file, which comes from other people's machines:
// whatever the file holds, the result is the list of controls it describes or a refusal that says
// what is wrong. A template is only opened when every value in it is taken in unchanged, so that
// saving it again can lose nothing; and nothing is written that would not read back.

#include "designer/Vor_DesignerControl.h"

#include <host/Vor_PropertiesList.h>

#include <string>
#include <vector>

/// Most controls a template may hold; a file that claims more is refused.
inline constexpr int kMaxTemplateControls = 10000;
/// Longest text (a control's contents or its stored list text) a template holds, in bytes.
inline constexpr int kMaxTemplateTextBytes = 4096;
/// Edges lie within one picture's size of the picture: factors from -1 to 2.
inline constexpr double kMinTemplateFactor = -1.0;
inline constexpr double kMaxTemplateFactor = 2.0;

/// The controls of a template's property list, in order. Refused (false, `controls` untouched and
/// `error` naming the key) when the list holds no "nrOfControls" (not a template), a negative count
/// or one beyond kMaxTemplateControls, a key that is not one of the seven keys of a counted control,
/// a value of the wrong kind, a text beyond kMaxTemplateTextBytes, an edge outside the factors'
/// range, or a counted control without any key (the file ends early). A missing key of a control
/// that has others leaves its field at the default.
bool readTemplateControls(const Vor_PropertiesList& props, std::vector<Vor_DesignerControl>& controls,
                          std::string* error = nullptr);
/// Why these controls cannot be written as a template that reads back as they are, or "".
std::string templateWriteFault(const std::vector<Vor_DesignerControl>& controls);
/// The property list of a template holding these controls, keys in the file's order.
Vor_PropertiesList templateProperties(const std::vector<Vor_DesignerControl>& controls);
