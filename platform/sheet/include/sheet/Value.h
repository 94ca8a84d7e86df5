#pragma once
// Cell values as the formula language sees them: empty, number, text, boolean or an error value.

#include <base/NumberText.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sheet {

/// Error values; they travel through formulas as ordinary values.
enum class ErrorCode : std::uint8_t {
    None = 0,
    Null,     ///< #NULL!  empty intersection
    Div0,     ///< #DIV/0! division by zero
    Value,    ///< #VALUE! wrong kind of operand
    Ref,      ///< #REF!   reference to a deleted or impossible cell
    Name,     ///< #NAME?  unknown function
    Num,      ///< #NUM!   number out of the domain of a function
    NA,       ///< #N/A    value not available (look-ups)
    Circular, ///< #CIRC!  the cell is part of a circular reference
};

/// Kind of a value.
enum class ValueKind : std::uint8_t { Empty, Number, Text, Bool, Error };

/// One value of the formula language.
struct Value {
    ValueKind kind = ValueKind::Empty;
    ErrorCode error = ErrorCode::None;
    double number = 0.0;
    std::string text;

    static Value empty() { return {}; }
    static Value num(double v) { return Value{ValueKind::Number, ErrorCode::None, v, {}}; }
    static Value str(std::string s) { return Value{ValueKind::Text, ErrorCode::None, 0.0, std::move(s)}; }
    static Value boolean(bool b) { return Value{ValueKind::Bool, ErrorCode::None, b ? 1.0 : 0.0, {}}; }
    static Value err(ErrorCode e) { return Value{ValueKind::Error, e, 0.0, {}}; }

    bool isEmpty() const { return kind == ValueKind::Empty; }
    bool isNumber() const { return kind == ValueKind::Number; }
    bool isText() const { return kind == ValueKind::Text; }
    bool isBool() const { return kind == ValueKind::Bool; }
    bool isError() const { return kind == ValueKind::Error; }
    bool operator==(const Value& o) const;
};

/// The printed form of an error ("#DIV/0!").
std::string_view errorText(ErrorCode e);
/// Parses an error literal at the start of `s` (case-insensitive); returns its length or 0.
std::size_t matchErrorLiteral(std::string_view s, ErrorCode& out);

/// Shortest text that reads back as the same double, at most 15 significant digits ("0.1", "1E+20").
std::string formatGeneral(double v);
/// Reads a whole text as a number ("12.5", " 1e3 ", "-4"); nothing for other texts.
std::optional<double> parseNumber(std::string_view s);
/// Reads a number as a person typed it into a number cell: decimal comma or point, grouping only
/// where no other reading exists (base::readTypedNumber), and an optional trailing '%' ("12,5%" is
/// 0.125). `out` is set only for base::TypedNumber::Number.
base::TypedNumber readTypedNumber(std::string_view s, double& out);
/// Formats with fixed decimals and optional thousands separator ("1,234.50").
std::string formatFixed(double v, int decimals, bool thousands, char decimalPoint = '.',
                        char thousandsSep = ',');

/// Value as text the way a formula sees it (numbers in general format, TRUE/FALSE, error text).
std::string toText(const Value& v);
/// Value as number: empty 0, booleans 0/1, numeric texts parsed; otherwise #VALUE! in `err`.
double toNumber(const Value& v, ErrorCode& err);
/// Value as boolean: numbers non-zero, texts TRUE/FALSE; otherwise #VALUE! in `err`.
bool toBool(const Value& v, ErrorCode& err);
/// Excel ordering: numbers < texts (case-insensitive) < booleans; empty compares as 0 or "".
int compareValues(const Value& a, const Value& b);
/// Case-insensitive ASCII equality.
bool equalsNoCase(std::string_view a, std::string_view b);
/// ASCII upper-case copy.
std::string upper(std::string_view s);

} // namespace sheet
