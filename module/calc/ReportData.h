#pragma once
// What a report is made of, as the report builder takes it: the data, its JSON form (the launcher's
// argument), its budgets and the fitting of the column widths. No engine, no window.

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <nlohmann/json_fwd.hpp>

#include <string>
#include <vector>

/// Budgets of a report: its columns, its rows (data rows and the rows that sums, pictures and
/// merged spans name) and its cells. Numbers beyond them are refused, in the JSON form and in
/// buildReport, with a message naming the field.
inline constexpr int kMaxReportColumns = 10'000;
inline constexpr int kMaxReportRows = 100'000;
inline constexpr long long kMaxReportCells = 4'000'000;
/// Column widths and the table width, millimetres.
inline constexpr double kMaxReportWidthMm = 10'000;
/// The most decimals of a number column; a negative number makes a text column.
inline constexpr int kMaxReportDecimals = 15;

/// A sum: rows `from` .. `to` of a column added up in row `row` of the same column (all 0-based).
struct ReportSum {
    int col = 0;
    int from = 0;
    int to = 0;
    int row = 0;
    bool operator==(const ReportSum&) const = default;
};

/// A picture laid into the table at a cell (0-based); it spans the columns its width needs.
struct ReportPicture {
    Vor_String file;
    int col = 0;
    int row = 0;
    bool operator==(const ReportPicture&) const = default;
};

/// A block shown as one cell: columns and rows first .. last, 0-based.
struct ReportSpan {
    int col1 = 0, col2 = 0, row1 = 0, row2 = 0;
    bool operator==(const ReportSpan&) const = default;
};

/// What a report is made of.
struct ReportTableData {
    Vor_StringArray columnNames;
    std::vector<int> decimals; ///< per column: >= 0 a number column with that many decimals, < 0 text
    std::vector<Vor_StringArray> rows;
    std::vector<double> columnWidths; ///< millimetres
    double tableWidth = 0;            ///< millimetres; 0 keeps the given widths
    bool allowWiden = false;          ///< narrower columns may grow to the table width
    std::vector<ReportSum> sums;
    std::vector<ReportPicture> pictures;
    std::vector<ReportSpan> merged;
    bool multiLine = false; ///< text columns wrap their texts
    Vor_String headerFile;
    Vor_String footerFile;
    Vor_StringArray varNames;
    Vor_StringArray varValues;
    Vor_String templateFile;
    Vor_String outputFile;
};

/// The report data from its JSON form (the launcher's argument); throws on malformed data.
void from_json(const nlohmann::json& j, ReportTableData& d);

/// The fixed sample report of the editor's developer test: four columns, three rows, one sum.
ReportTableData sampleReport(const std::string& templateFile, const std::string& outputFile);

/// The first number of the data outside its budget, as a message naming the field
/// ("Report: sums[0].row is 2147483647, not a whole number from 0 to 99999"); empty when all fit.
std::string reportRangeFault(const ReportTableData& d);

/// Column widths in millimetres fitted to the table width: shrunk when wider, widened when
/// narrower and widening is allowed; as given when no table width is set.
std::vector<double> fitReportWidths(const ReportTableData& d);
