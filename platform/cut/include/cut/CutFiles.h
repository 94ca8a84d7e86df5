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
/// Budgets of a "shp" or "stk" file read from a folder (as for the host's plain line files).
inline constexpr std::size_t kMaxExchangeFileBytes = 32u << 20;
inline constexpr long kMaxExchangeFileLines = 1000000;

using Row = std::vector<std::string>;

/// A line of a file that could not be used, and why ("line 4: length "abc" is not a number").
using FileMessage = Message;

/// The rows of a file's bytes: lines split at the separator, decoded to UTF-8. A last line without a
/// line end counts; "\r\n" ends a line too; a leading byte order mark is dropped.
std::vector<Row> splitRows(std::string_view bytes);
/// The bytes of rows: fields joined by the separator, each row followed by "\n".
std::string joinRows(const std::vector<Row>& rows);

/// Parts from the rows of a "shp" file: mark, length, quantity (a missing quantity is 1). Empty
/// lines are skipped; a row whose length or quantity is not a positive number is left out with a
/// message, so one bad line never loses the others. A mark already used by an earlier row is kept
/// with a message (the plan then names those parts by mark and length). At most 1000 messages are
/// listed, then one that counts the rest.
std::vector<Part> readParts(const std::vector<Row>& rows, std::vector<FileMessage>& messages);
/// Stock lengths from the rows of a "stk" file: length, cost (default 1), bars at hand (empty: any
/// number). Bad rows are left out with a message, as for parts.
std::vector<StockLength> readStock(const std::vector<Row>& rows, std::vector<FileMessage>& messages);
/// The rows of a "stk" file for stock lengths (what readStock reads back).
std::vector<Row> stockRows(const std::vector<StockLength>& stock);
/// The rows of a "shp" file for parts (what readParts reads back).
std::vector<Row> partRows(const std::vector<Part>& parts);

/// The rows of a "buy" file for a plan: one row per pattern with the stock length, the number of
/// bars cut that way and the pattern ("A1 x2 + B7 | offcut 35.5"; a mark that several parts share
/// is followed by the length, "A (1250)"); then a summary row ("Total", bars, cost and the least
/// cost any plan can have) and one row per part that fits no stock length.
std::vector<Row> buyRows(const std::vector<Part>& parts, const Result& result);

/// A number as the files hold it: the shortest text with a decimal point, never by the locale.
std::string numberText(double value);

/// Why writing an exchange file at `path` is refused: a symbolic link there that points to no file
/// (writing through it would create a file wherever it points). "" when the path may be written; a
/// link to an existing file is written through, as the careful writer does.
std::string danglingLinkFault(const std::string& path);
/// Writes an exchange file through the careful writer, refusing a link to nothing.
bool writeExchangeFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

/// What an entry's folder holds for a run.
struct FolderInput {
    std::string partsFile; ///< the newest "shp" file
    std::vector<Part> parts;
    std::vector<StockLength> stock; ///< of the newest "stk" file, else the default
    std::vector<FileMessage> messages;
    std::string error; ///< why the folder cannot be planned
    Message fault;     ///< `error` with its kind and parameters (None: a file could not be read)
};
/// Reads the newest "shp" file of a folder (ending in '/') and the stock lengths of its newest "stk"
/// file (else `defaultStock`), each a regular file within kMaxExchangeFileBytes and
/// kMaxExchangeFileLines. False with `error` when there are no parts or a file cannot be read.
bool readFolder(const std::string& folder, const std::vector<StockLength>& defaultStock, FolderInput& in);

/// What optimising one entry's folder did.
struct FolderRun {
    bool ok = false;
    std::string partsFile; ///< the newest "shp" file read
    std::string buyFile;   ///< the "buy" file written
    std::vector<FileMessage> messages;
    Result result;
    std::string error; ///< why nothing was written
    Message fault;     ///< `error` with its kind and parameters (None: a file could not be read or written)
};

/// Optimises one entry folder (ending in '/'): reads the newest "shp" file, the stock lengths of the
/// folder's newest "stk" file (else of `defaultStock`), and writes the plan to a new "buy" file named
/// Stock<n+1>.buy (n the highest of any name Stock<n>.buy there, a link too). Nothing is written
/// when the parts cannot be read or the input is refused by `inputFault`.
FolderRun optimiseFolder(const std::string& folder, const std::vector<StockLength>& defaultStock,
                         const Settings& settings);

/// The newest file of a folder whose extension is `ext` (without regard to case); among equal times
/// the first by name. Empty when there is none.
std::string newestFile(const std::string& folder, const std::string& ext);
/// One more than the highest n of the folder's names Stock<n>.<ext> (without regard to case), of
/// files, links (to nothing too) and anything else.
int nextStockNumber(const std::string& folder, const std::string& ext);

} // namespace cut
