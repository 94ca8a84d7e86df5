#pragma once
// The report builder: turns report data (column names, rows of texts, sums, pictures, merged
// spans) into a calculation table file, styled by a template table whose row headers name the
// style rows "Title", "Regular", "Merged", "Total" and "Column Names".

#include "calc/TSpread.h"

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <nlohmann/json_fwd.hpp>

#include <functional>
#include <string>
#include <vector>

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

/// Column widths in millimetres fitted to the table width: shrunk when wider, widened when
/// narrower and widening is allowed; as given when no table width is set.
std::vector<double> fitReportWidths(const ReportTableData& d);

/// A picture's size in pixels; false when the file cannot be read.
using PictureSize = std::function<bool(const std::string& file, int& width, int& height)>;

/// Builds the report into `grid` (which it resizes and fills) and saves it to the output file;
/// `templateGrid` receives the template table when there is one. False, with the reason in
/// `error`, for data whose lists do not match (nothing is changed then) or a failed save.
bool buildReport(TSpread& grid, TSpread& templateGrid, const ReportTableData& data,
                 std::string* error = nullptr, const PictureSize& pictureSize = {});
