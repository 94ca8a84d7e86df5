// Profile table files as they come from other machines: any bytes load into a table without a
// crash, and a table that was read writes out and reads back to the same type, header and rows.
#include "library/ProfTableText.h"

#include <host/LineFile.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 21) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Vor_StringArray langs{"Nederlands", "English"};
    ProfTableContent first;
    if (!parseProfText(bytes, "F.pr", langs, first)) {
        if (!first.rows.isEmpty() || first.problems.length() != 1) std::abort(); // refused: nothing taken in
        return 0;
    }
    // whichever reader took the text, it kept to the budgets of table line files
    if (first.rows.length() > lineTableBudget::kMaxLines) std::abort();
    for (const Vor_StringArray& row : first.rows)
        if (row.length() > lineTableBudget::kMaxCellsPerLine) std::abort();
    if (first.columnNames.length() > lineTableBudget::kMaxCellsPerLine) std::abort();
    // the notes stay a screenful and a count, beside one note each on the file as a whole
    if (first.problems.length() > 24) std::abort();
    if (!first.hasHeader) return 0;
    // An empty type line before a header that does not start with "SysName" cannot be told from a
    // missing one; every other table comes back as it was read.
    if (first.typeCode.isEmpty() &&
        !(first.columnNames.length() >= 2 && first.columnNames[0].equal("SysName", false)))
        return 0;
    Vor_Array<Vor_StringArray> lines;
    lines.append(Vor_StringArray{first.typeCode});
    lines.append(first.columnNames);
    lines.append(first.rows);
    ProfTableContent second;
    parseProfText(formatLineTable(lines), "F.pr", langs, second);
    if (!second.hasHeader || !(second.typeCode == first.typeCode) ||
        !(second.columnNames == first.columnNames) || !(second.rows == first.rows))
        std::abort();
    return 0;
}
