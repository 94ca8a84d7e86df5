#pragma once
// Second stage of the formula pipeline: tokens -> syntax tree.

#include <sheet/Tokenizer.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sheet {

/// Node kinds of the syntax tree.
enum class NodeKind : std::uint8_t {
    Number,
    String,
    Bool,
    Error,
    Ref,
    Range,
    Missing,
    Unary,   ///< op is TokenKind::Minus or Plus
    Binary,  ///< op is the operator's token kind
    Percent, ///< postfix %
    Paren,
    Call, ///< function call; name upper case, fn = built-in id or -1
};

/// One node; children index into Ast::nodes.
struct Node {
    NodeKind kind = NodeKind::Number;
    TokenKind op = TokenKind::End;
    int pos = 0;
    int fn = -1;
    double number = 0;
    ErrorCode error = ErrorCode::None;
    std::string text;
    RefAxis a[4];
    std::vector<int> children;
};

/// A parsed formula.
struct Ast {
    std::vector<Node> nodes;
    int root = -1;
};

/// Knows the names of custom functions and their argument counts when the formula is entered.
struct NameArity {
    virtual ~NameArity() = default;
    /// True and the bounds when `upperName` is a registered custom function.
    virtual bool customArity(const std::string& upperName, int& minArgs, int& maxArgs) const = 0;
};

/// Parses formula text (with or without a leading '='); `host` is the cell holding it.
bool parseFormula(std::string_view text, RefStyle style, CellPos host, Ast& out, ParseError& err,
                  const NameArity* custom = nullptr);

} // namespace sheet
