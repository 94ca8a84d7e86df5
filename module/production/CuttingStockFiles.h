#pragma once
// The cutting stock dialog's exchange with its files, without a window: entry folders, default
// names, the newest file, reading and writing a list, and reading back every entry's newest files.
#include <host/DlgCSP2Data.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <cut/CuttingStock.h>

#include <atomic>
#include <ctime>
#include <functional>
#include <string>

/// The folder of an entry: the library folder + "Cutting Stock/" + name + "/". False with a message
/// when the name is no single path part (`base::pathPartFault`: empty, "." or "..", a '/' or '\',
/// a control character, too long), which could name a folder outside "Cutting Stock/".
bool csp2EntryFolder(const Vor_String& entryName, Vor_String& folder, std::string* error = nullptr);
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
/// message (the old file kept) when it cannot be written or the path is a link to nothing.
bool writeCsp2File(const Vor_String& path, const Vor_Array<Vor_StringArray>& rows,
                   std::string* error = nullptr);

/// The modification time for the import report, in local time with the month named in the chosen
/// language: "8 December 2026 (14:05)", "8 december 2026 (14:05)"; "" when the time cannot be read.
/// Only shown, never written to a file.
Vor_String csp2FileDate(std::time_t time);

/// A message of the optimiser or its file readers in the chosen language, from its kind and
/// parameters (the English `text` when it has no kind).
Vor_String cutMessageText(const cut::Message& message);

/// Reads the newest "shp" and "buy" files of every entry into its lists 2 and 3 and gives the lines
/// of the report: a rule, then per entry a line for each file (read, or not found), an empty line
/// between them, and a rule. A file that cannot be read keeps the entry's rows and says why.
Vor_StringArray importAllCsp2(DlgCSP2Data& data);

/// Where "Optimise all" stands, for the progress line: the entry and the optimiser's progress.
using Csp2Progress = std::function<void(const Vor_String& entry, const cut::Progress& progress)>;

/// For every entry: writes list 2 as a new "shp" file and list 1 (length, cost, count) as a new
/// "stk" file in its folder, runs the optimiser on the folder, and reads the "buy" file it wrote
/// into list 3. Gives the report lines: the kerf and minimum offcut, then per entry the bars, cost
/// and the least cost any plan has, or why not. A failure of one entry (even out of memory) is
/// reported and the others are planned; lists of entries not planned stay as they were. When
/// `settings.stop` is set the entry being planned keeps its best plan so far and the rest are not
/// planned. May run on a thread of its own: it touches nothing but `data` and the files.
Vor_StringArray optimiseAllCsp2(DlgCSP2Data& data, const cut::Settings& settings = {},
                                const Csp2Progress& progress = {});
