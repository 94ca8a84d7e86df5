#pragma once
// Numbers to text and back without regard to the process locale: the windowing layer sets the C
// locale from the desktop, and a decimal-comma desktop must not change what a file or formula holds.
// Files and formulas always use the decimal point; what a person types is read by `readTypedNumber`.

#include <string>
#include <string_view>

namespace base {

/// The shortest text that reads back as the same double ("0.1", "2.25", "1e+61"); false for NaN and
/// infinities, which have no text of their own.
bool formatShortest(double value, std::string& out);
/// `value` with exactly `decimals` digits after the point (0 to 340), correct for every finite
/// double: the exact binary value rounded to `decimals` ("2.25" with 2; 1e60 gives its 61 digits,
/// "999999999999999949387135297074018866963645011013410073083904.00"); false for NaN and
/// infinities.
bool formatFixed(double value, int decimals, std::string& out);
/// `value` in C's "%.*g" form with `digits` significant digits (1 to 17); false for NaN and
/// infinities.
bool formatGeneral(double value, int digits, std::string& out);

/// Reads a whole text as a number in the file form: optional spaces around, a sign, digits with an
/// optional decimal point, an optional exponent ("-1.5e3"). No hexadecimal, "inf" or "nan"; a result
/// beyond the double range is refused. False leaves `out` as it was.
bool parseNumber(std::string_view text, double& out);

/// The number at the start of a text, as C's atof takes it but always with the decimal point: spaces,
/// a sign, digits with an optional point and exponent; what follows is ignored ("12.5 mm" gives
/// 12.5). Gives 0 when the text does not begin with a number or the number is beyond the double
/// range; `used`, when given, receives the count of characters read (0 for no number).
double parseLeadingNumber(std::string_view text, std::size_t* used = nullptr);

/// The whole number at the start of a text, as C's atol takes it: spaces, a sign, digits; what
/// follows is ignored. Gives 0 when there is none or it does not fit in 64 bits; `used`, when
/// given, receives the count of characters read (0 for no number).
long long parseLeadingInteger(std::string_view text, std::size_t* used = nullptr);

/// What `readTypedNumber` made of a text.
enum class TypedNumber {
    Number,    ///< read: "1,5", "1.5", "1.234,5", "1,234.5", "-2e3"
    Empty,     ///< nothing but spaces
    Ambiguous, ///< separators that allow two readings or none: "1,234,5", "1.23.456", "1,2.3"
    NotNumber, ///< not a number at all: "abc", "1x", "--1"
};

/// Reads a number the way a person meant it, with a decimal comma or a decimal point. A single
/// separator, or the last of two kinds, is the decimal separator; grouping separators are accepted
/// only where no other reading exists: every group after the first of three digits, of the other
/// kind than the decimal separator ("1.234,5", "1,234.5", "1.234.567"). Anything else is refused,
/// never silently changed. `out` is set only for `TypedNumber::Number`.
TypedNumber readTypedNumber(std::string_view text, double& out);

} // namespace base
