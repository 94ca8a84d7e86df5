#pragma once
// The report builder: turns report data (column names, rows of texts, sums, pictures, merged
// spans) into a calculation table file, styled by a template table whose row headers name the
// style rows "Title", "Regular", "Merged", "Total" and "Column Names".

#include "calc/ReportData.h"
#include "calc/TSpread.h"

#include <functional>
#include <string>

/// A picture's size in pixels; false when the file cannot be read.
using PictureSize = std::function<bool(const std::string& file, int& width, int& height)>;

/// Builds the report into `grid` (which it resizes and fills) and saves it to the output file;
/// `templateGrid` receives the template table when there is one. False, with the reason in
/// `error`, for data whose lists do not match (nothing is changed then) or a failed save.
bool buildReport(TSpread& grid, TSpread& templateGrid, const ReportTableData& data,
                 std::string* error = nullptr, const PictureSize& pictureSize = {});
