#pragma once
// FROMTABLE, the spreadsheet function that looks a value up in another calculation table, as
// functions over grids: which cell a call names, what it hands back, what it prints. The dialog that
// loads the consulted table (DlgFormulas) only strings these together, so that every rule is
// testable without a window.

#include "calc/TSpread.h"

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>
#include <sheet/Sheet.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

class Vor_Spread;

/// The function's name in formulas and its argument count bounds.
inline constexpr const char* kFromTableName = "FROMTABLE";
inline constexpr int kFromTableMinArgs = 2;
inline constexpr int kFromTableMaxArgs = 4;

/// The sheet in which formulas are being evaluated; null until a DlgFormulas sets it.
extern Vor_Spread* gCurrentFormulaSheet;

/// A table file name as the add-on's tables write it, made a path on this machine: '\' becomes '/',
/// the developer folder "c:\a\" is the installation folder's "a/", and a relative name is taken
/// from `baseFolder` (the calling table's folder) when one is given.
std::string resolveTablePath(const std::string& name, const std::string& baseFolder = {});

/// An argument as the text FROMTABLE compares: whole and floating numbers as decimal text (point,
/// shortest form), text as it is, a cell reference as the data text of that cell of the calling
/// sheet, a range as empty text. False for anything else (the look-up for it counts as not found).
bool fromTableArgText(const sheet::FnValue& arg, const TSpread* caller, std::string& out);

/// The cell of the consulted table that a call names, {-1, -1} when none: with 2 or 3 arguments
/// the reference in argument 2 (coordinates in the consulted table); with 4 the row whose key
/// column (header = text 2) holds text 4, in the column whose header is text 3. Header and key
/// comparisons ignore letter case.
sheet::CellPos fromTableTarget(const TSpread& table, const TSpread* caller,
                               std::span<const sheet::FnValue> args);

/// Reads a cell of the consulted table into `result`: check-box cells as whole numbers, number
/// cells as floating values, every other cell as its data text.
void readFromTableResult(const TSpread& table, int col, int row, sheet::FnValue& result);

/// The command-line line that reports a result ("Result is long: 5\n", ...); empty unless status 0.
std::string fromTableResultLine(const sheet::FnValue& result);

/// Everything FROMTABLE does once the consulted table is to be loaded into `table`: `load` loads
/// a file into it (and registers FROMTABLE on it), false on failure. Fills `result`, writes the
/// 3-argument form's cell of `caller`, and returns what is to be printed.
std::string evaluateFromTable(TSpread& table, TSpread* caller, sheet::FnValue* result,
                              std::span<const sheet::FnValue> args,
                              const std::function<bool(const std::string& path)>& load,
                              const std::string& callerFolder = {});

/// The most cells ReadSSFile gives back (names and values together).
inline constexpr long long kMaxReadTableCells = 1'000'000;

/// What ReadSSFile gives back from a loaded table: the title (the data text of A1), the column
/// header texts and the data text of every cell, row by row. The table's declared size decides the
/// shape when it stays within kMaxReadTableCells; a table that declares more gives its used part
/// (up to the last row and column holding something). Only stored cells are read, so a table
/// declaring millions of empty cells costs what it holds. False, with the reason in `error` and
/// all three emptied, when even the used part is over the budget.
bool readTableCells(const TSpread& table, Vor_String& title, Vor_StringArray& names,
                    Vor_Array<Vor_StringArray>& values, std::string* error = nullptr);

/// The tables whose evaluation is under way, outermost first. A FROMTABLE that names one of them
/// would consult a table that is still being evaluated and, table by table, never end: such a call
/// gives no result instead.
class FromTableChain {
public:
    /// Puts a table on the chain for the life of the guard (an empty path puts nothing).
    class Link {
    public:
        explicit Link(const std::string& path);
        ~Link();
        Link(const Link&) = delete;
        Link& operator=(const Link&) = delete;

    private:
        bool m_pushed = false;
    };
    /// True when the table (by resolved path, any letter case of the name) is under evaluation.
    static bool contains(const std::string& path);
    static std::size_t depth();
    /// The deepest nesting of distinct tables; a deeper call gives no result.
    static constexpr std::size_t kMaxDepth = 32;

private:
    static std::vector<std::string>& links();
};
