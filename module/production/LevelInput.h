#pragma once
// What the levels dialog reads and asks: a level's height as typed, its text, and the name of a
// new level, refused while it is taken.
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <functional>

/// How often the name of a new level is asked before the dialog gives up.
constexpr int kMaxLevelNameAsks = 20;

/// A height as a person typed it: "1,5" and "1.5" are 1.5; otherwise the number at the start of
/// the text ("3600 mm" gives 3600), 0 when there is none.
double readLevelValue(const Vor_String& text);
/// A height as the dialog shows it: three decimals ("3600.000"), whatever the locale.
Vor_String formatLevelValue(double value);
/// True when `name` is one of `names` or the world level "wcs", without regard to case.
bool levelNameTaken(const Vor_StringArray& names, const Vor_String& name);

/// Asks for the name of a new level until one is free: `ask` puts the question (false: the person
/// cancelled) with `name` as its initial text and answer; `refuse` tells the person that the name
/// is taken. At most kMaxLevelNameAsks questions; false when cancelled or every answer was taken.
bool askNewLevelName(const Vor_StringArray& names, Vor_String& name,
                     const std::function<bool(Vor_String&)>& ask, const std::function<void()>& refuse);
