#pragma once
// The arithmetic of printing a calculation table, without windows: margins against the printer's
// unprintable edges, the print options of a run, the fitting of the columns to the paper, and the
// drawing of header and footer files on each page.

#include "calc/HeaderLabel.h"
#include "calc/TablePropertyList.h"

#include <sheet/PrintLayout.h>
#include <ui/Agent.h>

#include <string>
#include <vector>

/// Page count of the current print run, asked from the engine once the options are set.
extern int gTotalPages;
/// True while the current run is a preview.
extern bool gPreviewMode;

/// The printer a table prints on; none until it is first needed.
struct TablePrinter {
    bool chosen = false;
    ui::PrinterInfo info;
};

/// Device dots to millimetres at `dpi` (0 for a resolution that is no resolution).
double dotsToMm(int dots, int dpi);
/// A page margin as the engine takes it, in inches from where the printer can draw: what is left
/// of the table's margin beyond the unprintable edge, and 0 when the edge already covers it.
double engineMarginInches(int marginMm, double offsetMm);
/// A margin as the column fitting counts it, in inches: the table's margin less the unprintable
/// edge, or the edge itself when the margin does not exceed it.
double fitMarginInches(int marginMm, double offsetInches);
/// The width the columns may fill, in twips (1440 an inch): the drawing area less both margins and
/// a small safety strip.
double printableWidthTwips(int drawWidthDots, int dpi, double leftInches, double rightInches);
/// Fits columns 1..n (`widths`, twips) beside column 0 to `printable` twips, each keeping its share of
/// their sum. False, and the widths untouched, when they already fit or there is nothing to share
/// (every column hidden).
bool fitColumnWidths(std::vector<double>& widths, double col0, double printable);

/// A margin field read as the C library's atoi reads it: leading blanks, a sign, digits up to the
/// first other character; a text that is no number reads as 0, and a huge one stops at the int range.
int marginFromText(const std::string& text);
/// The printer after a page setup: orientation and paper (A3, A4, A5, Letter, Legal) as chosen; the
/// drawing area keeps its unprintable edges.
void applyPageSetup(ui::PrinterInfo& printer, const ui::PageSetupRequest& setup);

/// What a run needs beyond the table properties.
struct PrintRunSetup {
    ui::PrinterInfo printer;
    bool preview = false;
    int fromPage = 1, toPage = 0;              ///< 0: to the end
    sheet::CellRange block{};                  ///< col1 0: the used part of the table
    double headerHeight = 0, footerHeight = 0; ///< points kept for the header and footer pictures
};
/// The engine's print options for a run: paper from the printer (as it lies), margins against its
/// unprintable edges (none in preview), and the table's switches.
sheet::PrintOptions makePrintOptions(const TableProperties& props, const PrintRunSetup& setup);

/// A header or footer file as it prints: the file, where its picture lies, what its labels need.
struct PageBand {
    bool present = false; ///< false: the file is missing or damaged; the table prints without it
    HeaderFile file;
    std::string picture; ///< path of the picture, "" for none
    /// Height in points the band takes on a page whose printable width is `width` points: the
    /// picture scaled to that width.
    double heightFor(double width) const;
};

/// Reads a header or footer file for printing; a relative path (of the file or its picture) is
/// taken in the folder of `documentPath`. Not present when missing or unusable.
PageBand loadPageBand(const Vor_String& path, const Vor_String& documentPath);

/// Draws a band's picture in `area`, scaled to fit and centred across, and each label in its
/// rectangle scaled alike. `scale` is the engine's page scale.
void drawPageBand(sheet::Painter& painter, const sheet::PageRect& area, const PageBand& band, int page,
                  const LabelContext& context, double scale);
/// The font of a label: the band's standard font unless the label's codes override it.
sheet::Font labelFont(const PageBand& band, const RenderedLabel& label, double scale);
