#pragma once
// Internals shared by the scripted agent, its commands and the simulated user.

#include <string>

namespace ui {

class Control;

/// A whole script word as a number; false when anything but digits (and a sign) is left over.
bool toInt(const std::string& s, int& v);
/// A text in double quotes, with quotes, backslashes, tabs and line breaks escaped, as messages show it.
std::string quote(const std::string& s);
/// Whether a person could reach the control for `action`; if not, `error` says why.
bool usable(Control& c, std::string& error, const char* action);

} // namespace ui
