#include "library/ProfTableText.h"

#include <base/NumberText.h>
#include <host/LineFile.h>
#include <host/TextCodec.h>
#include <host/VorUtils.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kMaxProblems = 20; // a file damaged throughout names its first faults, then counts

bool isBlank(const Vor_StringArray& line) {
    return std::all_of(line.begin(), line.end(), [](const Vor_String& c) { return c.isEmpty(); });
}

} // namespace

namespace {

/// Splits one line as the forgiving reader does, handing each cell to `take` (false stops it).
template <class Take> bool splitForgiving(std::string_view line, Take&& take) {
    if (line.empty()) return true;
    std::string cell;
    bool quoted = false, atStart = true;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (quoted) {
            if (ch == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                cell += ch;
            }
        } else if (ch == ';') {
            if (!take(cell)) return false;
            cell.clear();
            atStart = true;
            continue;
        } else if (ch == '"' && atStart) {
            quoted = true;
        } else {
            cell += ch;
        }
        atStart = false;
    }
    return take(cell);
}

/// The lines of a text without their line ends (a last line without one counts).
template <class Take> bool forEachLine(std::string_view text, Take&& take) {
    for (int lineNo = 1; !text.empty(); ++lineNo) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!take(lineNo, line)) return false;
    }
    return true;
}

} // namespace

bool parseProfTextForgiving(std::string_view text, const std::string& source,
                            Vor_Array<Vor_StringArray>& lines, std::string* error) {
    using namespace lineTableBudget;
    std::string fault;
    const auto fail = [&](int lineNo, const std::string& what) {
        fault = source + (lineNo > 0 ? ":" + std::to_string(lineNo) : std::string()) + ": " + what;
        return false;
    };
    // The budgets of the strict reader hold here too, checked in a first pass that keeps nothing, so
    // that a text beyond them is refused before memory is taken for its cells.
    long long cells = 0;
    const bool within =
        text.size() <= kMaxFileBytes
            ? forEachLine(text,
                          [&](int lineNo, std::string_view line) {
                              if (lineNo > kMaxLines)
                                  return fail(lineNo, "more than " + std::to_string(kMaxLines) + " lines");
                              if (line.size() > kMaxLineBytes) return fail(lineNo, "line longer than 1 MiB");
                              int inLine = 0;
                              return splitForgiving(line, [&](const std::string&) {
                                  if (++inLine > kMaxCellsPerLine)
                                      return fail(lineNo, "more than " + std::to_string(kMaxCellsPerLine) +
                                                              " cells in a line");
                                  if (++cells > kMaxCells)
                                      return fail(lineNo, "more than " + std::to_string(kMaxCells) +
                                                              " cells in the file");
                                  return true;
                              });
                          })
            : fail(0, "the text is larger than 32 MiB");
    if (!within) {
        if (error) *error = fault;
        return false;
    }
    Vor_Array<Vor_StringArray> read;
    forEachLine(text, [&](int, std::string_view line) {
        Vor_StringArray row;
        splitForgiving(line, [&](const std::string& cell) {
            row.append(Vor_String(cell));
            return true;
        });
        read.append(std::move(row));
        return true;
    });
    lines = std::move(read);
    return true;
}

void interpretProfLines(const Vor_Array<Vor_StringArray>& lines, const Vor_String& fileName,
                        const Vor_StringArray& langs, ProfTableContent& out) {
    out = ProfTableContent();
    // Line numbers of the lines that hold something: blank lines carry no size and are left out.
    std::vector<int> lineNo;
    Vor_Array<Vor_StringArray> kept;
    for (int i = 0; i < lines.length(); ++i)
        if (!isBlank(lines[i])) {
            kept.append(lines[i]);
            lineNo.push_back(i + 1);
        }
    if (kept.length() != lines.length() && lines.length() > 1)
        out.problems.append(fileName + ": " + Vor_String(lines.length() - kept.length()) +
                            " empty lines left out");

    const bool headerFirst = !kept.isEmpty() && kept[0].length() >= 2 && kept[0][0].equal("SysName", false);
    // a file of one line is that line alone; a header after an empty type line is still a header
    if (kept.length() == 0 || (kept.length() == 1 && !(headerFirst && lines.length() > 1))) {
        out.rows = kept;
        return;
    }
    int first = 0;
    if (headerFirst) {
        // the header came first: the type line is missing
        out.typeCode = Vor_String();
        out.problems.append(fileName + ":" + Vor_String(lineNo[0]) +
                            ": no section type line; the section type is left open");
    } else {
        out.typeCode = kept[0].isEmpty() ? Vor_String() : kept[0][0];
        first = 1;
    }
    out.columnNames = kept[first];
    Vor_Array<Vor_StringArray> body;
    for (int i = first + 1; i < kept.length(); ++i)
        body.append(kept[i]);
    out.rows = body;
    out.hasHeader = true;

    // Notes on what a person should look at; every row stays as it was read.
    int firstValue = 2;
    while (firstValue < out.columnNames.length() && langs.contains(out.columnNames[firstValue], false))
        ++firstValue;
    const bool numericValues =
        isNumber(out.typeCode) && out.typeCode.toInt() >= 1 && out.typeCode.toInt() <= 17;
    std::unordered_map<std::string, int> seen;
    seen.reserve(static_cast<std::size_t>(out.rows.length()));
    Vor_StringArray notes;
    int count = 0;
    auto note = [&](int row, const Vor_String& what) {
        if (++count <= kMaxProblems)
            notes.append(fileName + ":" + Vor_String(lineNo[std::size_t(row + first + 1)]) + ": " + what);
    };
    for (int r = 0; r < out.rows.length(); ++r) {
        const Vor_StringArray& row = out.rows[r];
        if (row.length() > out.columnNames.length())
            note(r,
                 Vor_String(row.length() - out.columnNames.length()) + " cells more than the header names");
        if (row.isEmpty()) continue;
        auto [it, fresh] = seen.emplace(row[0].str(), r);
        if (!fresh)
            note(r, "the key \"" + row[0] + "\" is also on line " +
                        Vor_String(lineNo[std::size_t(it->second + first + 1)]));
        if (numericValues)
            for (int c = firstValue; c < row.length() && c < out.columnNames.length(); ++c) {
                double v = 0;
                if (!row[c].isEmpty() && base::readTypedNumber(row[c].str(), v) != base::TypedNumber::Number)
                    note(r, out.columnNames[c] + " \"" + row[c] + "\" is no number");
            }
    }
    if (count > kMaxProblems)
        notes.append(fileName + ": " + Vor_String(count - kMaxProblems) + " more notes");
    out.problems.append(notes);
}

bool parseProfText(std::string_view bytes, const Vor_String& fileName, const Vor_StringArray& langs,
                   ProfTableContent& out) {
    Vor_Array<Vor_StringArray> lines;
    std::string error;
    const bool strict = parseLineTable(bytes, fileName.str(), lines, &error);
    if (!strict) {
        std::string budget;
        if (bytes.size() > lineTableBudget::kMaxFileBytes ||
            !parseProfTextForgiving(decodeText(stripUtf8Bom(bytes)), fileName.str(), lines, &budget)) {
            out = ProfTableContent();
            out.problems.append(Vor_String(budget.empty() ? error : budget));
            return false;
        }
    }
    interpretProfLines(lines, fileName, langs, out);
    out.cleanly = strict;
    if (!strict) out.problems.insertAt(0, Vor_String(error + " (read line by line)"));
    return true;
}
