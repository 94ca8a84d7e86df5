#pragma once
// Texts in the order a person expects of sizes: numbers inside texts compare as numbers.

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

/// Compares two texts piece by piece: runs of digits (with one decimal point) as numbers, other
/// characters without regard to case ("80" < "100" < "100x50" < "120x8" < "120x10"). <0, 0 or >0.
int compareNatural(const Vor_String& a, const Vor_String& b);
/// Inserts `text` into `sorted` after every item that does not sort after it; its index.
int ObjectExportAddToSorted(Vor_StringArray& sorted, const Vor_String& text);
