#pragma once
// Pure helpers on texts and text arrays.
//
// Splitting and joining: a text is split at every separator into n + 1 fields (n separators), and the
// empty text gives no fields; joining puts one separator between fields. So join(split(x)) == x for
// every text, and split(join(a)) == a for every array whose fields hold no separator, except that
// an array of one empty field joins to the empty text and splits back to no fields.
// A separator byte of 0x80 or more (0xA4, 0xBF in the add-on's files) is only matched where it stands
// alone, never inside a UTF-8 character ("ä" is C3 A4). The text is expected as its reader decoded it
// (TextCodec: the encoding is decided once per file); a byte left in a field that is not part of a
// UTF-8 character is read as Windows-1252.

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <type_traits>

/// The fields of text between separators.
Vor_StringArray strToArr(const Vor_String& text, char separator);
/// The fields joined with one separator between each two.
Vor_String arrToStr(const Vor_StringArray& fields, char separator);
/// Each line split into its fields.
Vor_Array<Vor_StringArray> arrToArrArr(const Vor_StringArray& lines, char separator);
/// Each row joined into one line.
Vor_StringArray arrArrToArr(const Vor_Array<Vor_StringArray>& rows, char separator);

/// Appends each argument to `to`: a text as one item, a Vor_StringArray item by item.
template <class... Items> void appStrs(Vor_StringArray& to, const Items&... items) {
    (
        [&] {
            if constexpr (std::is_convertible_v<Items, const Vor_Array<Vor_String>&>)
                to.append(static_cast<const Vor_Array<Vor_String>&>(items));
            else
                to.append(Vor_String(items));
        }(),
        ...);
}

/// An array of the given texts (or arrays, whose items are taken one by one).
template <class... Items> Vor_StringArray stringArr(const Items&... items) {
    Vor_StringArray out;
    appStrs(out, items...);
    return out;
}

/// True for a decimal number as a person types it: sign, digits, '.' decimals, exponent ("-12", "1.5e3",
/// ".5"); blanks around it are allowed; "", "1,5", "0x10", "inf" and "12mm" are not numbers.
bool isNumber(const Vor_String& text);

/// The text without the digits at its end ("Bolt12" gives "Bolt", "12" gives "").
Vor_String stripNumbersAtEnd(const Vor_String& text);

/// Byte index of the first digit in the text, or -1.
int findFirstNumbers(const Vor_String& text);

/// A text equal to none of `existing` (compared without regard to case, so that it also serves as a
/// file name): `base` itself when it is free, else base + "_" + the lowest free number from 1 ("200"
/// gives "200_1", then "200_2"); an empty base gives "1", "2", ...
Vor_String findNonExistingString(const Vor_StringArray& existing, const Vor_String& base);

/// True when two texts of the array are equal.
bool hasDuplicates(const Vor_StringArray& texts, bool caseSensitive = true);

/// `value` rounded to the nearest multiple of `step` (halves away from zero); a step of 0 keeps it.
double ObjectExportRoundTo(double value, double step);
