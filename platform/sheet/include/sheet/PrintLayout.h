#pragma once
// Print pagination of a sheet onto pages, drawn through an abstract painter so that the Qt side
// (or a test) decides where the strokes go.

#include <sheet/CellRef.h>
#include <sheet/Style.h>

#include <functional>
#include <string>
#include <vector>

namespace sheet {

class Sheet;

/// A rectangle in points (1/72 inch) on the page.
struct PageRect {
    double x = 0, y = 0, w = 0, h = 0;
};

/// What the layout draws with; the grid control implements it with QPainter.
class Painter {
public:
    virtual ~Painter() = default;
    virtual void fillRect(const PageRect& r, std::uint32_t color) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2, std::uint32_t color, double width) = 0;
    /// Text inside a rectangle; `align` holds the kAlign* bits of a cell type.
    virtual void drawText(const PageRect& r, const std::string& text, const Font& font, std::uint32_t color,
                          std::uint32_t align) = 0;
    virtual void drawImage(const PageRect& r, const std::string& file) = 0;
};

/// One page: its number and the block of cells it shows.
struct PageInfo {
    int number = 0; ///< from 1
    int total = 0;
    CellRange cells;               ///< columns and rows printed on this page
    double scale = 1.0;            ///< < 1 when "smart print" shrinks the table to the page width
    PageRect header, body, footer; ///< the areas of the page; the callback draws header and footer
};

/// Print options of a run.
struct PrintOptions {
    double pageWidth = 595.0, pageHeight = 842.0; ///< points, portrait (A4 by default)
    bool landscape = false;
    double marginLeft = 36, marginRight = 36, marginTop = 36, marginBottom = 36; ///< points
    double headerHeight = 0, footerHeight = 0; ///< space kept for the page callback
    bool colHeaders = true, rowHeaders = true, gridLines = true, colors = true, frame = true;
    bool smartPrint = false; ///< fit the width on one page and pick the orientation that needs less shrinking
    int firstPage = 1, lastPage = 0; ///< page range; lastPage 0 = to the end
    CellRange block{};               ///< print only this block (col1 == 0: the used part of the sheet)
    std::function<void(Painter&, const PageInfo&)> pageCallback; ///< draws header and footer of each page
};

/// The block a run prints: the options' block, or the used part of the sheet; whole rows or columns
/// end where the stored cells end, so the declared size of a sheet never matters.
CellRange printedBlock(const Sheet& s, const PrintOptions& o);

/// Splits a sheet into pages; pages run down first, then across. Only the bands of columns and
/// rows are kept; a page is made when it is asked for, so a table of millions of pages costs what
/// its bands cost.
class PrintLayout {
public:
    PrintLayout(const Sheet& s, const PrintOptions& o);
    /// Pages in the chosen range.
    int pageCount() const { return m_count; }
    /// Pages of the whole printout, whatever the range.
    int totalPages() const { return m_total; }
    /// True when smart print turned the page to landscape.
    bool landscape() const { return m_landscape; }
    double scale() const { return m_scale; }
    /// The `number`th page of the range (from 1 to pageCount()).
    PageInfo page(int number) const;
    /// Draws page `number` (from 1) and calls the page callback for it.
    void render(int number, Painter& p) const;

private:
    const Sheet& m_s;
    PrintOptions m_o;
    bool m_landscape = false;
    double m_scale = 1.0;
    double m_pageW = 0, m_pageH = 0;
    std::vector<std::pair<int, int>> m_colBands, m_rowBands; ///< first and last of each band
    int m_first = 1;                                         ///< number of the range's first page
    int m_count = 0, m_total = 0;
};

} // namespace sheet
