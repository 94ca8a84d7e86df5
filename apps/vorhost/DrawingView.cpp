#include "DrawingView.h"

#include "DrawingPaint.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace {

constexpr double kMarginPx = 20; // around the zoom box
constexpr double kPickPx = 6;    // how near a click must come to an entity

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
    const cad::Drawing& d = cad::curDrawing();
    view::ViewBasis basis = view::viewBasis(d.viewDirection());
    view::paintDrawing(p, size(), d, basis, fit(basis));
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

void DrawingView::unhighlightPicked() {
    for (AcDbObjectId id : m_result.ids)
        cad::curDrawing().highlight(id, false);
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
        // a macro group has no shape of its own: a click on one of its parts picks it
        const bool groups =
            std::find(allowed.begin(), allowed.end(), cad::EntityKind::MacroGroup) != allowed.end();
        AcDbObjectId id =
            view::nearestEntity(d, basis, at, kPickPx / f.scale,
                                groups ? std::vector<cad::EntityKind>{} : allowed, view::kMarkerPx / f.scale);
        if (groups)
            for (const cad::Entity* e = d.get(id); e && e->kind() != cad::EntityKind::MacroGroup;
                 e = d.get(id))
                id = e->owner;
        if (id.isNull()) return; // a click beside everything: keep waiting
        if (m_pending->kind == cad::PickKind::Objects) {
            // several: each click adds one (highlighted), Enter ends the pick
            if (std::find(m_result.ids.begin(), m_result.ids.end(), id) == m_result.ids.end()) {
                m_result.ids.push_back(id);
                cad::curDrawing().highlight(id, true);
            }
            return;
        }
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
        unhighlightPicked();
        finishPick({});
        return;
    }
    if (m_pending && m_pending->kind == cad::PickKind::Objects &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        cad::PickResult r = m_result;
        unhighlightPicked();
        r.ok = !r.ids.empty();
        finishPick(r);
        return;
    }
    QWidget::keyPressEvent(event);
}
