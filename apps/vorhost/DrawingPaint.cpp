#include "DrawingPaint.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <variant>

namespace view {

namespace {

constexpr std::size_t kSmoothEntities = 5000; // more are drawn coarsely: without smoothing, see below
constexpr double kDotPx = 1;                  // an entity smaller than this both ways is a dot
constexpr double kThinProfilePx = 2;          // a coarse paint draws a thinner profile as its line
constexpr double kSpeckPx = 4;                // and a smaller entity as its box, filled
constexpr double kRasterCirclePx = 4096;      // the largest circle it writes pixel by pixel

const QColor kBackground(0x20, 0x24, 0x2a);
const QColor kPlain(0xc8, 0xcc, 0xd2);
const QColor kTemporary(0x5c, 0xc8, 0xff);
const QColor kLit(0xff, 0xb0, 0x20);

/// Lines, circles, dots and boxes of one pixel's width written straight into an image. The raster
/// engine spends some two microseconds a line on pen set-up and clipping; a coarse paint of a large
/// drawing draws tens of thousands of short lines, which this does in a fraction of that.
class Raster {
public:
    explicit Raster(QImage& image)
        : m_bits(reinterpret_cast<std::uint32_t*>(image.bits()))
        , m_stride(image.bytesPerLine() / 4)
        , m_w(image.width())
        , m_h(image.height()) {}

    void line(double x0, double y0, double x1, double y1, std::uint32_t c) {
        if (!clip(x0, y0, x1, y1)) return;
        int ax = static_cast<int>(std::floor(x0)), ay = static_cast<int>(std::floor(y0));
        int bx = static_cast<int>(std::floor(x1)), by = static_cast<int>(std::floor(y1));
        int dx = std::abs(bx - ax), dy = -std::abs(by - ay), sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            pixel(ax, ay, c);
            if (ax == bx && ay == by) break;
            int e2 = 2 * err;
            if (e2 >= dy) err += dy, ax += sx;
            if (e2 <= dx) err += dx, ay += sy;
        }
    }
    void circle(double cx, double cy, double r, std::uint32_t c) {
        if (cx + r < -1 || cy + r < -1 || cx - r > m_w + 1 || cy - r > m_h + 1) return;
        int x0 = static_cast<int>(std::floor(cx)), y0 = static_cast<int>(std::floor(cy));
        int x = static_cast<int>(std::lround(r)), y = 0, err = 1 - x;
        while (x >= y) {
            for (auto [u, v] :
                 {std::pair{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}})
                pixel(x0 + u, y0 + v, c);
            ++y;
            if (err < 0) {
                err += 2 * y + 1;
            } else {
                --x;
                err += 2 * (y - x) + 1;
            }
        }
    }
    void box(double x0, double y0, double x1, double y1, std::uint32_t c) {
        int l = std::max(0, static_cast<int>(std::floor(std::max(x0, -1.0))));
        int t = std::max(0, static_cast<int>(std::floor(std::max(y0, -1.0))));
        int r = std::min(m_w - 1, static_cast<int>(std::floor(std::min(x1, m_w + 1.0))));
        int b = std::min(m_h - 1, static_cast<int>(std::floor(std::min(y1, m_h + 1.0))));
        if (l > r) return;
        for (int y = t; y <= b; ++y)
            std::fill(m_bits + y * m_stride + l, m_bits + y * m_stride + r + 1, c);
    }
    void pixel(int x, int y, std::uint32_t c) {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(m_w) &&
            static_cast<unsigned>(y) < static_cast<unsigned>(m_h))
            m_bits[static_cast<std::ptrdiff_t>(y) * m_stride + x] = c;
    }

private:
    /// Cuts a line to the image grown by a pixel (Liang–Barsky); false when nothing is left.
    bool clip(double& x0, double& y0, double& x1, double& y1) const {
        double t0 = 0, t1 = 1, dx = x1 - x0, dy = y1 - y0;
        auto edge = [&](double p, double q) {
            if (p == 0) return q >= 0;
            double r = q / p;
            if (p < 0) {
                if (r > t1) return false;
                t0 = std::max(t0, r);
            } else {
                if (r < t0) return false;
                t1 = std::min(t1, r);
            }
            return true;
        };
        if (!(std::isfinite(dx) && std::isfinite(dy))) return false;
        if (!edge(-dx, x0 + 1) || !edge(dx, m_w + 1 - x0) || !edge(-dy, y0 + 1) || !edge(dy, m_h + 1 - y0))
            return false;
        double sx = x0, sy = y0;
        x0 = sx + t0 * dx, y0 = sy + t0 * dy;
        x1 = sx + t1 * dx, y1 = sy + t1 * dy;
        return true;
    }

    std::uint32_t* m_bits;
    std::ptrdiff_t m_stride;
    int m_w, m_h;
};

/// What one pen draws through the painter: the lines, circles and dots of the entities of one look,
/// collected so that each look costs one pen change and one call per kind.
struct Batch {
    std::vector<QLineF> lines;
    std::vector<QLineF> thinLines; ///< centre lines
    std::vector<QPointF> dots;
    std::vector<QRectF> specks;
    struct Circle {
        QPointF centre;
        double radius;
    };
    std::vector<Circle> circles;
};

/// Puts shapes in screen pixels into a batch, or straight into the raster when there is one.
struct BatchSink : ShapeSink {
    const ScreenFit& f;
    Batch* batch = nullptr;
    Raster* raster = nullptr; ///< for the plain look of a coarse paint
    std::uint32_t colour = 0;
    explicit BatchSink(const ScreenFit& fit)
        : f(fit) {}
    void line(const cad::Point2d& a, const cad::Point2d& c, bool thin) {
        // Centre lines keep their dashes, which only the painter draws.
        if (raster && !thin)
            raster->line(a.x, a.y, c.x, c.y, colour);
        else
            (thin ? batch->thinLines : batch->lines).emplace_back(a.x, a.y, c.x, c.y);
    }
    void polyline(const cad::Point2d* points, std::size_t count, bool thin) override {
        cad::Point2d a = count ? f.toScreen(points[0]) : cad::Point2d{};
        for (std::size_t i = 1; i < count; ++i) {
            cad::Point2d c = f.toScreen(points[i]);
            line(a, c, thin);
            a = c;
        }
    }
    void circle(const cad::Point2d& centre, double radius) override {
        cad::Point2d c = f.toScreen(centre);
        double r = std::max(kMinHolePx, radius * f.scale);
        // A circle far larger than the view (a hole zoomed into) is left to the painter's arcs.
        if (raster && r < kRasterCirclePx)
            raster->circle(c.x, c.y, r, colour);
        else
            batch->circles.push_back({{c.x, c.y}, r});
    }
    void dot(const cad::Point2d& at) {
        if (raster)
            raster->pixel(static_cast<int>(std::floor(at.x)), static_cast<int>(std::floor(at.y)), colour);
        else
            batch->dots.emplace_back(at.x, at.y);
    }
    void speck(const cad::Point2d& a, const cad::Point2d& c) {
        if (raster)
            raster->box(a.x, a.y, c.x, c.y, colour);
        else
            batch->specks.push_back(QRectF(QPointF(a.x, a.y), QPointF(c.x, c.y)).normalized());
    }
};

/// The looks in the order they are drawn: plain, temporary, then highlighted on top.
enum Look { Plain, Temporary, Lit, LitTemporary, kLooks };

QPen penOf(int look, bool thin, bool smooth) {
    bool lit = look == Lit || look == LitTemporary;
    QColor colour = lit ? kLit : look == Temporary ? kTemporary : kPlain;
    // Without smoothing a pen of one pixel (width 0) takes the fast path of the raster engine.
    QPen pen(colour, lit ? 2.0 : smooth ? 1.2 : 0.0);
    if (look == Temporary || look == LitTemporary) pen.setStyle(Qt::DashLine);
    if (thin) {
        pen.setWidthF(smooth ? 0.8 : 0.0);
        pen.setStyle(Qt::DashDotLine);
    }
    return pen;
}

/// Whether an entity is drawn the same size at every zoom (a marker), so never as a dot.
bool isMarker(const cad::Entity& e) {
    return e.kind() == cad::EntityKind::CoordSys || e.kind() == cad::EntityKind::BlockRef;
}

} // namespace

PaintCount paintDrawing(QPainter& p, const QSize& size, const cad::Drawing& d, const ViewBasis& basis,
                        const ScreenFit& f) {
    PaintCount count;
    // Smooth lines cost several times as much: a large drawing is drawn coarsely, without.
    const bool coarse = d.size() > kSmoothEntities;
    p.setRenderHint(QPainter::Antialiasing, !coarse);
    const double marker = kMarkerPx / f.scale;
    // What lies beyond the pixels, by less than the widest pen, the smallest hole or a marker's arm,
    // can still show.
    const PlaneRect screen = visibleRect(f, size.width(), size.height());
    const double reach = std::max(marker, kMinHolePx / f.scale) + 2 / f.scale;

    // A coarse paint draws the background and the plain entities into an image of its own.
    QImage layer;
    std::optional<Raster> raster;
    if (coarse && !size.isEmpty()) {
        layer = QImage(size, QImage::Format_RGB32);
        layer.fill(kBackground);
        if (!layer.isNull()) raster.emplace(layer);
    }
    if (!raster) p.fillRect(QRectF(0, 0, size.width(), size.height()), kBackground);

    Batch batches[kLooks];
    BatchSink sink{f};
    visitEntitiesInRect(d, basis, screen, reach, [&](const cad::Entity& e, const PlaneRect& box) {
        bool lit = d.isHighlighted(e.id) || (!e.owner.isNull() && d.isHighlighted(e.owner));
        Look look = lit ? (e.temporary ? LitTemporary : Lit) : (e.temporary ? Temporary : Plain);
        sink.batch = &batches[look];
        sink.raster = look == Plain && raster ? &*raster : nullptr;
        sink.colour = kPlain.rgb();
        double w = (box.maxU - box.minU) * f.scale, h = (box.maxV - box.minV) * f.scale;
        if (!isMarker(e) && w < kDotPx && h < kDotPx) {
            sink.dot(f.toScreen({(box.minU + box.maxU) / 2, (box.minV + box.maxV) / 2}));
            ++count.dots;
            return;
        }
        if (coarse && !isMarker(e) && w < kSpeckPx && h < kSpeckPx) {
            sink.speck(f.toScreen({box.minU, box.maxV}), f.toScreen({box.maxU, box.minV}));
            ++count.specks;
            return;
        }
        ++count.entities;
        if (const auto* profile = std::get_if<cad::Profile>(&e.geometry);
            profile && coarse && std::max(profile->width, profile->height) * f.scale < kThinProfilePx) {
            sink.line(f.toScreen(project(basis, profile->start)), f.toScreen(project(basis, profile->end)),
                      false);
            return;
        }
        emitShapes(e, basis, marker, sink);
    });
    if (raster) p.drawImage(QPointF(0, 0), layer);

    p.setBrush(Qt::NoBrush);
    for (int look = 0; look < kLooks; ++look) {
        const Batch& b = batches[look];
        if (!b.thinLines.empty()) {
            p.setPen(penOf(look, true, !coarse));
            p.drawLines(b.thinLines.data(), static_cast<int>(b.thinLines.size()));
        }
        QPen pen = penOf(look, false, !coarse);
        p.setPen(pen);
        if (!b.lines.empty()) p.drawLines(b.lines.data(), static_cast<int>(b.lines.size()));
        for (const Batch::Circle& c : b.circles)
            p.drawEllipse(c.centre, c.radius, c.radius);
        for (const QRectF& r : b.specks)
            p.fillRect(r, pen.color());
        if (!b.dots.empty()) {
            pen.setStyle(Qt::SolidLine);
            p.setPen(pen);
            p.drawPoints(b.dots.data(), static_cast<int>(b.dots.size()));
        }
    }
    return count;
}

} // namespace view
