#include "calc/FromTable.h"

#include "calc/Vor_Spread.h"

#include <base/NumberText.h>
#include <host/FileUtils.h>
#include <host/Settings.h>
#include <sheet/Compiler.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

Vor_Spread* gCurrentFormulaSheet = nullptr;

namespace {

namespace fs = std::filesystem;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char ch) { return char(std::tolower(ch)); });
    return s;
}

bool equalNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && lower(a) == lower(b);
}

std::string dataText(const TSpread& t, int col, int row) {
    std::string s;
    t.GetData(col, row, s);
    return s;
}

/// The first column 1 .. count whose header text is `name`; -1 when none.
int columnNamed(const TSpread& table, const std::string& name) {
    const int cols = table.GetMaxCols();
    for (int c = 1; c <= cols; ++c)
        if (equalNoCase(dataText(table, c, 0), name)) return c;
    return -1;
}

std::string comparable(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::path(path), ec);
    return lower(ec ? path : p.string());
}

} // namespace

namespace {
// With 2 or 3 arguments the reference names a cell of the consulted table, and the third argument
// a cell of the calling sheet that receives the text: the calling sheet's cells are not read there,
// so FROMTABLE("t.sss", A1) may stand in A1 itself.
const bool positionsDeclared = [] {
    sheet::setPositionArguments(kFromTableName,
                                [](int argc, int index) { return (argc == 2 || argc == 3) && index >= 1; });
    return true;
}();
} // namespace

std::string resolveTablePath(const std::string& name, const std::string& baseFolder) {
    std::string path = toSlashes(Vor_String(name)).str();
    // "c:/a/..." is where the developers kept their sample tables; here they come with the add-on.
    if (path.size() > 5 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
        path[2] == '/' && (path[3] == 'a' || path[3] == 'A') && path[4] == '/')
        return folderWithSlash(gSettings.vorDir).str() + "a/" + path.substr(5);
    if (!path.empty() && path[0] != '/' && !baseFolder.empty())
        return folderWithSlash(Vor_String(baseFolder)).str() + path;
    return path;
}

bool fromTableArgText(const sheet::FnValue& arg, const TSpread* caller, std::string& out) {
    out.clear();
    switch (arg.kind) {
    case sheet::FnValue::Whole:
        out = std::to_string(arg.whole);
        return true;
    case sheet::FnValue::Floating:
        // The file form: the same on every machine, whatever its language.
        return base::formatShortest(arg.floating, out);
    case sheet::FnValue::Text:
        out = arg.text;
        return true;
    case sheet::FnValue::Cell:
        if (caller) out = dataText(*caller, arg.cells.col1, arg.cells.row1);
        return true;
    case sheet::FnValue::Range:
        return true;
    default:
        return false;
    }
}

sheet::CellPos fromTableTarget(const TSpread& table, const TSpread* caller,
                               std::span<const sheet::FnValue> args) {
    sheet::CellPos none{-1, -1};
    if (args.size() == 2 || args.size() == 3) {
        // The reference names a cell of the consulted table, not a value of the calling sheet.
        if (args[1].kind == sheet::FnValue::Cell) return {args[1].cells.col1, args[1].cells.row1};
        return none;
    }
    if (args.size() != 4) return none;
    std::string keyName, colName, key;
    if (!fromTableArgText(args[1], caller, keyName) || !fromTableArgText(args[2], caller, colName) ||
        !fromTableArgText(args[3], caller, key))
        return none;
    const int keyCol = columnNamed(table, keyName);
    const int col = columnNamed(table, colName);
    if (keyCol < 0 || col < 0) return none;
    const int rows = table.GetMaxRows();
    for (int r = 1; r <= rows; ++r)
        if (equalNoCase(dataText(table, keyCol, r), key)) return {col, r};
    return none;
}

void readFromTableResult(const TSpread& table, int col, int row, sheet::FnValue& result) {
    sheet::CellType t;
    std::string text;
    const bool typed = table.GetCellType(col, row, t);
    const bool read = table.GetData(col, row, text) >= 0;
    result.status = read && typed ? sheet::FnValue::Ok : sheet::FnValue::Unreadable;
    switch (t.kind) {
    case sheet::CellKind::CheckBox: {
        result.kind = sheet::FnValue::Whole;
        double v = 0;
        if (!base::parseNumber(text, v)) v = 0; // a check box with no data is off
        result.whole = std::int32_t(v);
        break;
    }
    case sheet::CellKind::Number: {
        result.kind = sheet::FnValue::Floating;
        double v = 0;
        if (!table.GetFloat(col, row, v)) {
            // an empty number cell reads as 0; anything else that is no number cannot be read
            if (!text.empty()) result.status = sheet::FnValue::Unreadable;
            v = 0;
        }
        result.floating = v;
        break;
    }
    default:
        result.kind = sheet::FnValue::Text;
        result.text = text;
        break;
    }
}

std::string fromTableResultLine(const sheet::FnValue& r) {
    if (r.status != sheet::FnValue::Ok) return {};
    switch (r.kind) {
    case sheet::FnValue::Whole:
        return "Result is long: " + std::to_string(r.whole) + "\n";
    case sheet::FnValue::Floating: {
        std::string n;
        if (!base::formatFixed(r.floating, 6, n)) n = "nan";
        return "Result is double: " + n + "\n";
    }
    case sheet::FnValue::Text:
        return "Result is string: " + r.text + "\n";
    case sheet::FnValue::Cell:
        return "Result is cell\n";
    case sheet::FnValue::Range:
        return "Result is range\n";
    default:
        return {};
    }
}

std::string evaluateFromTable(TSpread& table, TSpread* caller, sheet::FnValue* result,
                              std::span<const sheet::FnValue> args,
                              const std::function<bool(const std::string& path)>& load,
                              const std::string& callerFolder) {
    if (!result || !caller) return {};
    result->status = sheet::FnValue::NoResult;
    if (args.empty()) return {};
    if (std::any_of(args.begin(), args.end(),
                    [](const sheet::FnValue& a) { return a.status != sheet::FnValue::Ok; }))
        return {};
    if (args[0].kind != sheet::FnValue::Text) return {};
    if (!load(resolveTablePath(args[0].text, callerFolder))) return {};
    const sheet::CellPos at = fromTableTarget(table, caller, args);
    if (at.col < 0 || at.row < 0) return {};
    table.ReCalcCell(at.col, at.row);
    if (args.size() == 3) {
        // The third argument's cell of the calling sheet receives the text; the formula itself
        // shows nothing.
        if (args[2].kind == sheet::FnValue::Cell)
            caller->SetData(args[2].cells.col1, args[2].cells.row1, dataText(table, at.col, at.row));
        return {};
    }
    readFromTableResult(table, at.col, at.row, *result);
    return fromTableResultLine(*result);
}

std::vector<std::string>& FromTableChain::links() {
    static std::vector<std::string> chain;
    return chain;
}

FromTableChain::Link::Link(const std::string& path) {
    if (path.empty()) return;
    links().push_back(comparable(path));
    m_pushed = true;
}

FromTableChain::Link::~Link() {
    if (m_pushed) links().pop_back();
}

bool FromTableChain::contains(const std::string& path) {
    if (path.empty()) return false;
    const std::string p = comparable(path);
    return std::find(links().begin(), links().end(), p) != links().end();
}

std::size_t FromTableChain::depth() {
    return links().size();
}

bool readTableCells(const TSpread& table, Vor_String& title, Vor_StringArray& names,
                    Vor_Array<Vor_StringArray>& values, std::string* error) {
    names.removeAll();
    values.removeAll();
    title = "";
    long long cols = table.GetMaxCols(), rows = table.GetMaxRows();
    if (cols <= 0) return true;
    if (cols * (rows + 1) > kMaxReadTableCells) {
        // The declared size is over the budget: the used part, found from the stored cells.
        long long usedCols = 0, usedRows = 0;
        table.ForEachStoredCell(1, 0, int(cols), int(rows), [&](int c, int r) {
            usedCols = std::max<long long>(usedCols, c);
            usedRows = std::max<long long>(usedRows, r);
        });
        cols = usedCols;
        rows = usedRows;
        if (cols * (rows + 1) > kMaxReadTableCells) {
            if (error)
                *error = "the used part of the table, " + std::to_string(cols) + " columns of " +
                         std::to_string(rows) + " rows, holds more than " +
                         std::to_string(kMaxReadTableCells) + " cells";
            return false;
        }
    }
    std::string text;
    table.GetData(1, 1, text);
    title = Vor_String(text);
    std::vector<std::vector<std::string>> cells(std::size_t(rows + 1),
                                                std::vector<std::string>(std::size_t(cols)));
    table.ForEachStoredCell(1, 0, int(cols), int(rows), [&](int c, int r) {
        table.GetData(c, r, cells[std::size_t(r)][std::size_t(c - 1)]);
    });
    for (std::string& name : cells[0])
        names.append(Vor_String(std::move(name)));
    for (std::size_t r = 1; r < cells.size(); ++r) {
        Vor_StringArray row;
        for (std::string& cell : cells[r])
            row.append(Vor_String(std::move(cell)));
        values.append(std::move(row));
    }
    return true;
}
