#pragma once
// The files the cutting stock dialog and the optimiser exchange, in an entry's folder under the
// library's "Cutting Stock/": parts to cut ("*.shp"), stock lengths ("*.stk") and bars to buy
// ("*.buy"). One row per line, fields separated by the single byte 0xBF; written as UTF-8, read as
// UTF-8 or, when the whole file is not UTF-8, as the old single-byte code page (Windows-1252).
#include <cut/CuttingStock.h>

#include <string>
#include <string_view>
#include <vector>

namespace cut {

/// The field separator of every exchange file.
inline constexpr char kFieldSeparator = '\xBF';

using Row = std::vector<std::string>;

/// A line of a file that could not be used, and why ("line 4: length "abc" is not a number").
struct FileMessage {
    int line = 0;
    std::string text;
};

/// The rows of a file's bytes: lines split at the separator, decoded to UTF-8. A last line without a
/// line end counts; "\r\n" ends a line too; a leading byte order mark is dropped.
std::vector<Row> splitRows(std::string_view bytes);
/// The bytes of rows: fields joined by the separator, each row followed by "\n".
std::string joinRows(const std::vector<Row>& rows);

/// Parts from the rows of a "shp" file: mark, length, quantity (a missing quantity is 1). Empty
/// lines are skipped; a row whose length or quantity is not a positive number is left out with a
/// message, so one bad line never loses the others.
std::vector<Part> readParts(const std::vector<Row>& rows, std::vector<FileMessage>& messages);
/// Stock lengths from the rows of a "stk" file: length, cost (default 1), bars at hand (empty: any
/// number). Bad rows are left out with a message, as for parts.
std::vector<StockLength> readStock(const std::vector<Row>& rows, std::vector<FileMessage>& messages);
/// The rows of a "stk" file for stock lengths (what readStock reads back).
std::vector<Row> stockRows(const std::vector<StockLength>& stock);
/// The rows of a "shp" file for parts (what readParts reads back).
std::vector<Row> partRows(const std::vector<Part>& parts);

/// The rows of a "buy" file for a plan: one row per pattern with the stock length, the number of
/// bars cut that way and the pattern ("A1 x2 + B7 | offcut 35.5"); then a summary row ("Total",
/// bars, cost and the LP bound) and one row per part that fits no stock length.
std::vector<Row> buyRows(const std::vector<Part>& parts, const Result& result);

/// A number as the files hold it: the shortest text with a decimal point, never by the locale.
std::string numberText(double value);

/// What optimising one entry's folder did.
struct FolderRun {
    bool ok = false;
    std::string partsFile; ///< the newest "shp" file read
    std::string buyFile;   ///< the "buy" file written
    std::vector<FileMessage> messages;
    Result result;
    std::string error; ///< why nothing was written
};

/// Optimises one entry folder (ending in '/'): reads the newest "shp" file, the stock lengths of the
/// folder's newest "stk" file (else of `defaultStock`), and writes the plan to a new "buy" file named
/// Stock<n+1>.buy. Nothing is written when the parts cannot be read.
FolderRun optimiseFolder(const std::string& folder, const std::vector<StockLength>& defaultStock,
                         const Settings& settings);

/// The newest file of a folder whose extension is `ext` (without regard to case); among equal times
/// the first by name. Empty when there is none.
std::string newestFile(const std::string& folder, const std::string& ext);
/// One more than the highest n of the folder's files Stock<n>.<ext> (names without regard to case).
int nextStockNumber(const std::string& folder, const std::string& ext);

} // namespace cut
