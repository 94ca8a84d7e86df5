#pragma once
// The cutting stock dialog's exchange with its files, without a window: entry folders, default
// names, the newest file, reading and writing a list, and reading back every entry's newest files.
#include <host/DlgCSP2Data.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <cut/CuttingStock.h>

#include <ctime>
#include <string>

/// The folder of an entry: the library folder + "Cutting Stock/" + name + "/".
Vor_String csp2EntryFolder(const Vor_String& entryName);
/// The highest n among the folder's files Stock<n>.<ext> (names compared without regard to case;
/// text that is no number counts as 0); 0 when there is none.
int highestStockNumber(const Vor_String& folder, const Vor_String& ext);
/// "Stock" + (highest stock number + 1) + "." + ext.
Vor_String defaultNewFileName(const Vor_String& folder, const Vor_String& ext);
/// The file of the folder matching "*.<ext>" with the strictly latest modification time (so among
/// equal times the first listed stays); files whose time cannot be read are skipped.
bool newestCsp2File(const Vor_String& folder, const Vor_String& ext, Vor_String& path);
/// The chosen path with ".<ext>" appended unless its file name already ends in it (in any case).
/// Folders are kept exactly as given: on this system "Cutting Stock/HEA" and "cutting stock/hea"
/// are different folders.
Vor_String withCsp2Extension(const Vor_String& path, const Vor_String& ext);

/// Reads a list file: one row per non-empty line, cells split at the byte 0xBF (UTF-8, or the old
/// code page when the whole file is not UTF-8). False with a message when the file cannot be read;
/// `rows` is then unchanged.
bool readCsp2File(const Vor_String& path, Vor_Array<Vor_StringArray>& rows, std::string* error = nullptr);
/// Writes rows with the separator 0xBF, one line each, through the careful writer; false with a
/// message (the old file kept) when it cannot be written.
bool writeCsp2File(const Vor_String& path, const Vor_Array<Vor_StringArray>& rows,
                   std::string* error = nullptr);

/// The modification time as "%d %B, %Y (%H:%M)" in local time with English month names; "" when the
/// time cannot be formatted.
Vor_String csp2FileDate(std::time_t time);

/// Reads the newest "shp" and "buy" files of every entry into its lists 2 and 3 and gives the lines
/// of the report: a rule, then per entry a line for each file (read, or not found), an empty line
/// between them, and a rule. A file that cannot be read keeps the entry's rows and says why.
Vor_StringArray importAllCsp2(DlgCSP2Data& data);

/// For every entry: writes list 2 as a new "shp" file and list 1 (length, cost, count) as a new
/// "stk" file in its folder, runs the optimiser on the folder, and reads the "buy" file it wrote
/// into list 3. Gives the report lines: per entry the bars, cost and bounds, or why not.
Vor_StringArray optimiseAllCsp2(DlgCSP2Data& data, const cut::Settings& settings = {});
