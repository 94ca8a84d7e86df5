#include "DrawingView.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace {

constexpr double kMarginPx = 20;              // around the zoom box
constexpr double kMarkerPx = 14;              // coordinate-system axes, block-reference markers
constexpr double kPickPx = 6;                 // how near a click must come to an entity
constexpr double kMinHolePx = 2.5;            // the smallest circle a hole is drawn with
constexpr std::size_t kSmoothEntities = 5000; // more are drawn without smoothing

/// Whether any of a box, as this view projects it, lies on the screen. A marker's shapes reach a
/// little beyond its box (axes, diamond): the margin of the visible rectangle covers them.
bool onScreen(const cad::Extents& box, const view::ViewBasis& basis, const view::ScreenFit& f,
              const QRectF& visible) {
    if (box.isEmpty()) return true;
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (double x : {box.min.x, box.max.x})
        for (double y : {box.min.y, box.max.y})
            for (double z : {box.min.z, box.max.z}) {
                cad::Point2d px = f.toScreen(view::project(basis, {x, y, z}));
                minX = std::min(minX, px.x), maxX = std::max(maxX, px.x);
                minY = std::min(minY, px.y), maxY = std::max(maxY, px.y);
            }
    return maxX >= visible.left() && minX <= visible.right() && maxY >= visible.top() &&
           minY <= visible.bottom();
}

} // namespace

DrawingView::DrawingView(QWidget* parent)
    : QWidget(parent) {
    setMinimumHeight(240);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_listener = cad::curDrawing().addListener([this](const cad::DrawingChange&) {
        ++m_repaintsAsked;
        update();
    });
}

DrawingView::~DrawingView() {
    cad::curDrawing().removeListener(m_listener);
    if (cad::pickServer() == this) cad::setPickServer(nullptr);
    if (m_loop) m_loop->quit();
}

view::ScreenFit DrawingView::fit(const view::ViewBasis& basis) const {
    const cad::Drawing& d = cad::curDrawing();
    cad::Extents box = d.zoomBox().isEmpty() ? d.extentsAll() : d.zoomBox();
    return view::fitBox(basis, box, width(), height(), kMarginPx);
}

void DrawingView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0x20, 0x24, 0x2a));
    const cad::Drawing& d = cad::curDrawing();
    // Smooth lines cost several times as much: a large drawing is drawn without.
    p.setRenderHint(QPainter::Antialiasing, d.size() <= kSmoothEntities);
    view::ViewBasis basis = view::viewBasis(d.viewDirection());
    view::ScreenFit f = fit(basis);
    double marker = kMarkerPx / f.scale;
    // Highlighted entities last, so that they show on top.
    std::vector<AcDbObjectId> ids = d.ids();
    std::stable_partition(ids.begin(), ids.end(), [&](AcDbObjectId id) { return !d.isHighlighted(id); });
    QRectF visible = QRectF(rect()).adjusted(-2, -2, 2, 2);
    std::vector<QPointF> points;
    for (AcDbObjectId id : ids) {
        const cad::Entity* e = d.get(id);
        if (!e || e->kind() == cad::EntityKind::MacroGroup) continue;
        if (!onScreen(e->extents(), basis, f, visible)) continue;
        bool lit = d.isHighlighted(id) || (!e->owner.isNull() && d.isHighlighted(e->owner));
        QColor colour = lit            ? QColor(0xff, 0xb0, 0x20)
                        : e->temporary ? QColor(0x5c, 0xc8, 0xff)
                                       : QColor(0xc8, 0xcc, 0xd2);
        for (const view::Shape& s : view::entityShapes(*e, basis, marker)) {
            QPen pen(colour, lit ? 2.0 : 1.2);
            if (e->temporary) pen.setStyle(Qt::DashLine);
            if (s.thin) {
                pen.setWidthF(0.8);
                pen.setStyle(Qt::DashDotLine);
            }
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            if (s.kind == view::Shape::Circle) {
                cad::Point2d c = f.toScreen(s.centre);
                double r = std::max(kMinHolePx, s.radius * f.scale);
                p.drawEllipse(QPointF(c.x, c.y), r, r);
                continue;
            }
            points.clear();
            for (const cad::Point2d& q : s.points) {
                cad::Point2d px = f.toScreen(q);
                points.push_back({px.x, px.y});
            }
            p.drawPolyline(points.data(), static_cast<int>(points.size()));
        }
    }
    if (m_pending) {
        p.setPen(QColor(0xff, 0xb0, 0x20));
        p.drawText(rect().adjusted(8, 6, -8, -6), Qt::AlignLeft | Qt::AlignTop,
                   QString::fromStdString(m_pending->prompt));
    }
}

cad::PickResult DrawingView::answer(const cad::PickRequest& request, const cad::Drawing&) {
    if (m_pending || !isVisible()) return {};
    m_pending = request;
    m_result = {};
    setFocus();
    update();
    QEventLoop loop;
    m_loop = &loop;
    QPointer<DrawingView> self(this);
    loop.exec();
    if (!self) return {}; // the window was closed during the pick
    m_loop = nullptr;
    m_pending.reset();
    update();
    return m_result;
}

void DrawingView::finishPick(const cad::PickResult& result) {
    m_result = result;
    if (m_loop) m_loop->quit();
}

void DrawingView::mousePressEvent(QMouseEvent* event) {
    if (!m_pending || event->button() != Qt::LeftButton) return;
    const cad::Drawing& d = cad::curDrawing();
    view::ViewBasis basis = view::viewBasis(d.viewDirection());
    view::ScreenFit f = fit(basis);
    cad::Point2d at = f.toPlane(event->position().x(), event->position().y());
    cad::PickResult r;
    switch (m_pending->kind) {
    case cad::PickKind::Point:
    case cad::PickKind::Plane: {
        cad::Extents box = d.zoomBox().isEmpty() ? d.extentsAll() : d.zoomBox();
        r.point = view::pointOnViewPlane(basis, at, box);
        r.plane = {r.point, basis.eye};
        r.ok = true;
        break;
    }
    case cad::PickKind::Object:
    case cad::PickKind::Objects:
    case cad::PickKind::CoordSys: {
        std::vector<cad::EntityKind> allowed = m_pending->allowed;
        if (m_pending->kind == cad::PickKind::CoordSys) allowed = {cad::EntityKind::CoordSys};
        AcDbObjectId id = view::nearestEntity(d, basis, at, kPickPx / f.scale, allowed, kMarkerPx / f.scale);
        if (id.isNull()) return; // a click beside everything: keep waiting
        r.ids = {id};
        if (const auto* cs = std::get_if<cad::CoordSysEntity>(&d.get(id)->geometry)) r.coordSys = cs->cs;
        r.ok = true;
        break;
    }
    }
    finishPick(r);
}

void DrawingView::keyPressEvent(QKeyEvent* event) {
    if (m_pending && event->key() == Qt::Key_Escape) {
        finishPick({});
        return;
    }
    QWidget::keyPressEvent(event);
}
