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
/// Which arguments of a custom function name a cell only as a position (FROMTABLE's cell of the
/// table it consults): a reference there is no input of the formula, so it makes no dependency and
/// no cycle. Given the argument count and a 0-based argument index.
using PositionArguments = bool (*)(int argc, int index);
/// Declares the position arguments of a custom function by its name (any case). Programs compiled
/// afterwards mark those references (Instr::spare & kPositionRef); declare before tables load.
void setPositionArguments(std::string_view name, PositionArguments rule);

/// Prints a program back as formula text (without '=') in the given style for the cell `host`.
std::string printFormula(const Program& p, RefStyle style, CellPos host);

} // namespace sheet
