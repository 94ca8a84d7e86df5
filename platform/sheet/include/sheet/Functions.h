#pragma once
// The table of built-in functions; each category file (FnMath.cpp, FnText.cpp, ...) adds its rows.

#include <sheet/Evaluator.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace sheet {

/// A built-in function: receives its argument operands, returns a value.
using FnImpl = Value (*)(CallArgs& args);

/// How the compiler treats a function.
enum class FnKind : std::uint8_t {
    Plain,   ///< arguments evaluated, then impl called
    If,      ///< only the branch taken is evaluated
    Choose,  ///< only the chosen argument is evaluated
    IfError, ///< the alternative is evaluated only for an error
};

/// One row of the function table.
struct FunctionDef {
    std::string_view name; ///< upper case
    std::uint8_t minArgs;
    std::uint8_t maxArgs; ///< kManyArgs for "any number"
    FnImpl impl;
    FnKind kind = FnKind::Plain;
};

inline constexpr std::uint8_t kManyArgs = 255;

/// Built-in function id of an upper-case name, -1 when unknown.
int findBuiltin(std::string_view upperName);
/// The row of a built-in function id.
const FunctionDef& builtin(int id);
/// Number of built-in functions.
int builtinCount();

// Category tables, each in its own file.
void addMathFunctions(std::vector<FunctionDef>& t);
void addTrigFunctions(std::vector<FunctionDef>& t);
void addStatisticsFunctions(std::vector<FunctionDef>& t);
void addLogicFunctions(std::vector<FunctionDef>& t);
void addLookupFunctions(std::vector<FunctionDef>& t);
void addTextFunctions(std::vector<FunctionDef>& t);

} // namespace sheet
