#pragma once
// The print commands of a calculation table: the print settings dialog on the corner-cell
// properties, and the print run with its preview loop.

#include "calc/PrintTable.h"

#include <host/Vor_String.h>

class Vor_Spread;
namespace ui {
class Window;
}

/// Runs the print settings dialog on the table's properties; on OK writes them anew (variables kept),
/// keeps the printer chosen in page setup and raises the change flag. True on OK.
bool editPrintSettings(Vor_Spread& grid, TablePrinter& printer, ui::Window* owner,
                       const Vor_String& documentPath = Vor_String());

/// The print run: asks the print dialog, sets the print options with the header and footer of the
/// table's files, fits the columns to the paper, then prints, or shows the preview (from which the
/// person may print or change the settings, and comes back). False when cancelled or failed; why a
/// print failed goes to *failure.
bool printTable(Vor_Spread& grid, bool preview, TablePrinter& printer, ui::Window* owner,
                const Vor_String& documentPath = Vor_String(), std::string* failure = nullptr);

/// Sets the grid's print options for a run as printTable does (settings from the corner tag, the
/// printer, the header and footer files, the page callback) and fits the columns; gTotalPages and
/// gPreviewMode follow. False when the options do not fit the paper.
bool preparePrintRun(Vor_Spread& grid, const ui::PrinterInfo& printer, bool preview,
                     const ui::PrintRequest& request, const Vor_String& documentPath);
