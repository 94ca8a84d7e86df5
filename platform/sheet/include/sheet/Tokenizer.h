#pragma once
// First stage of the formula pipeline: formula text -> tokens.

#include <sheet/CellRef.h>
#include <sheet/Value.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sheet {

/// How one axis (column or row) of a reference is written.
enum class AxisMode : std::uint8_t {
    Relative = 0, ///< A1, R[-1]: moves when the formula is copied; value is an offset from the formula's cell
    Absolute = 1, ///< $A$1, R3: value is the column or row number
    Current = 2,  ///< #3, B#, the bare C of R1C1... written as "the formula's own column/row" (offset 0)
};

/// One axis of a cell reference.
struct RefAxis {
    AxisMode mode = AxisMode::Relative;
    std::int32_t value = 0;
    bool operator==(const RefAxis&) const = default;
    /// Column or row number seen from the formula's cell `host`.
    int resolve(int host) const { return mode == AxisMode::Absolute ? value : host + value; }
};

/// Why a formula was refused.
enum class ParseErrorCode : std::uint8_t {
    None = 0,
    Empty,               ///< nothing to evaluate
    UnexpectedCharacter, ///< a character the language does not know
    UnterminatedString,  ///< "abc without closing quote
    UnexpectedToken,     ///< an operator or value in a place where it cannot stand
    MissingParenthesis,  ///< ( without )
    BadReference,        ///< reference outside the sheet's limits
    RangeOperand,        ///< ':' between things that are not cell references
    UnknownFunction,     ///< reserved; unknown names evaluate to #NAME?
    ArgumentCount,       ///< too few or too many arguments for a function
    TooComplex,          ///< nesting or length beyond what the engine accepts
};

/// A refused formula: code, byte position of the fault and a message for people.
struct ParseError {
    ParseErrorCode code = ParseErrorCode::None;
    int position = 0;
    std::string message;
    explicit operator bool() const { return code != ParseErrorCode::None; }
};

/// Kinds of tokens.
enum class TokenKind : std::uint8_t {
    End,
    Number, ///< 12, 1.5e3
    String, ///< "text" with "" for a quote
    Error,  ///< #DIV/0!
    Ref,    ///< A1, $B$2, #3, R[1]C
    Name,   ///< SUM, TRUE, FROMTABLE
    Plus,
    Minus,
    Star,
    Slash,
    Caret,
    Amp,
    Percent,
    Eq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    LParen,
    RParen,
    Comma,
    Colon,
};

/// One token with its position in the formula text.
struct Token {
    TokenKind kind = TokenKind::End;
    int pos = 0;
    double number = 0;
    ErrorCode error = ErrorCode::None;
    std::string text; ///< string contents or name
    RefAxis col, row;
};

/// Splits formula text into tokens; `host` is the cell that holds the formula.
bool tokenize(std::string_view text, RefStyle style, CellPos host, std::vector<Token>& out, ParseError& err);

} // namespace sheet
