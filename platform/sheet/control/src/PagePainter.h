#pragma once
// Drawing printed pages with Qt: the engine's page painter over a QPainter, printing to a printer
// or a PDF file, and pages for the preview.

#include <sheet/PrintLayout.h>
#include <sheet/SpreadControl.h>

#include <QPainter>

#include <string>

namespace sheet::control {

/// The engine's Painter on a QPainter whose units are points (1/72 inch).
class QtPagePainter : public Painter {
public:
    /// `pointScale` makes fonts come out in points on the painter's device (72 / device dpi).
    QtPagePainter(QPainter& p, double pointScale)
        : m_p(p)
        , m_pointScale(pointScale) {}
    void fillRect(const PageRect& r, std::uint32_t color) override;
    void drawLine(double x1, double y1, double x2, double y2, std::uint32_t color, double width) override;
    void drawText(const PageRect& r, const std::string& text, const Font& font, std::uint32_t color,
                  std::uint32_t align) override;
    void drawImage(const PageRect& r, const std::string& file) override;

private:
    QPainter& m_p;
    double m_pointScale;
};

/// Prints the sheet's pages with the options to the target: to its PDF file (written whole, then put
/// in place) or to the named printer. False with a reason.
bool printGrid(const Sheet& sheet, const PrintOptions& options, const PrintTarget& target,
               const std::string& jobName, std::string& error);
/// Size of the grid's pages in points, turned as they print.
QSizeF pageSizePoints(const SpreadControl& grid);
/// Draws page `number` with its top-left at the painter's origin, `pixelsPerPoint` device pixels a point.
void renderPage(QPainter& p, const SpreadControl& grid, int number, double pixelsPerPoint);

} // namespace sheet::control
