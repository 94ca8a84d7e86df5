#pragma once
// Painting a drawing for a view direction and a fit: what the drawing view shows, also usable on an
// offscreen image (the repaint benchmark paints through this very function).

#include <cad/DrawingProjection.h>

#include <QSize>

class QPainter;

namespace view {

/// Pixel sizes of the drawing view's marks.
inline constexpr double kMarkerPx = 14;   ///< coordinate-system axes, block-reference markers
inline constexpr double kMinHolePx = 2.5; ///< the smallest circle a hole is drawn with

/// What one paint did, for tests and the benchmark.
struct PaintCount {
    std::size_t entities = 0; ///< entities drawn with their shapes
    std::size_t dots = 0;     ///< entities smaller than a pixel, drawn as a dot
    std::size_t specks = 0;   ///< entities of a few pixels, drawn as their box (a coarse paint)
};

/// Fills `size` with the background and paints every entity of `drawing` that can show there, seen
/// along `basis` and placed by `fit`; highlighted entities last, so that they show on top.
PaintCount paintDrawing(QPainter& painter, const QSize& size, const cad::Drawing& drawing,
                        const ViewBasis& basis, const ScreenFit& fit);

} // namespace view
