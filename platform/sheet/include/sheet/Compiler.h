#pragma once
// Third stage of the formula pipeline: syntax tree -> compiled program; and the way back to text.

#include <sheet/Parser.h>
#include <sheet/Program.h>

#include <string>

namespace sheet {

/// Turns a syntax tree into a program.
ProgramPtr compile(const Ast& ast);
/// Parses and compiles in one go; null with `err` set for a refused formula.
ProgramPtr compileFormula(std::string_view text, RefStyle style, CellPos host, ParseError& err,
                          const NameArity* custom = nullptr);
/// Prints a program back as formula text (without '=') in the given style for the cell `host`.
std::string printFormula(const Program& p, RefStyle style, CellPos host);

} // namespace sheet
