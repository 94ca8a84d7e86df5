#pragma once
// Export to Excel 97-2003 workbooks: a BIFF8 stream inside a compound document file.

#include <sheet/SssFile.h>

#include <string>

namespace sheet {

class Sheet;

/// The sheet as the bytes of an .xls file (values, texts, merged cells, column widths, row heights,
/// fonts, colours, borders, alignment and number formats). False with a reason when the table is
/// larger than the format allows (65536 rows, 256 columns).
FileResult exportXls(const Sheet& s, std::string& bytes, const std::string& sheetName = "Sheet1");
/// Writes the .xls file with the careful file writer (see writeFileSafely).
FileResult exportXlsFile(const Sheet& s, const std::string& path, const std::string& sheetName = "Sheet1");

} // namespace sheet
