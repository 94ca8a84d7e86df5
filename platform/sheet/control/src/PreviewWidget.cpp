#include "PreviewWidget_p.h"

#include "PagePainter.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace sheet::control {

namespace {
constexpr int kGap = 12; // grey space around the page
}

PreviewWidget::PreviewWidget(SpreadControl* grid, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_ctl(grid) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_ctl.redraw = [this] { changed(); };
    updateScrollBars();
}

PreviewWidget::~PreviewWidget() {
    m_ctl.redraw = nullptr;
}

void PreviewWidget::changed() {
    // Laying out the pages costs time on big tables: once per turn of the event loop is enough.
    viewport()->update();
    if (m_pending) return;
    m_pending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pending = false;
            updateScrollBars();
        },
        Qt::QueuedConnection);
}

double PreviewWidget::pixelsPerPoint() const {
    if (!m_ctl.grid()) return 1.0;
    QSizeF page = pageSizePoints(*m_ctl.grid());
    const double natural = logicalDpiX() / 72.0;
    const double w = std::max(1, viewport()->width() - 2 * kGap);
    const double h = std::max(1, viewport()->height() - 2 * kGap);
    switch (m_ctl.viewType) {
    case 0:
        return std::min(w / page.width(), h / page.height());
    case 1:
        return natural;
    case 3:
        return w / page.width();
    case 4:
        return h / page.height();
    default:
        return natural * m_ctl.percentage / 100.0;
    }
}

QRect PreviewWidget::pageRect() const {
    if (!m_ctl.grid()) return {};
    QSizeF page = pageSizePoints(*m_ctl.grid()) * pixelsPerPoint();
    int w = int(std::lround(page.width())), h = int(std::lround(page.height()));
    int x = w + 2 * kGap <= viewport()->width() ? (viewport()->width() - w) / 2
                                                : kGap - horizontalScrollBar()->value();
    int y = h + 2 * kGap <= viewport()->height() ? (viewport()->height() - h) / 2
                                                 : kGap - verticalScrollBar()->value();
    return QRect(x, y, w, h);
}

void PreviewWidget::updateScrollBars() {
    if (!m_ctl.grid()) {
        horizontalScrollBar()->setRange(0, 0);
        verticalScrollBar()->setRange(0, 0);
        return;
    }
    QSizeF page = pageSizePoints(*m_ctl.grid()) * pixelsPerPoint();
    int overW = int(page.width()) + 2 * kGap - viewport()->width();
    int overH = int(page.height()) + 2 * kGap - viewport()->height();
    horizontalScrollBar()->setRange(0, std::max(0, overW));
    verticalScrollBar()->setRange(0, std::max(0, overH));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setPageStep(viewport()->height());
}

void PreviewWidget::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), QColor(0x80, 0x80, 0x80));
    if (!m_ctl.grid()) return;
    int pages = m_ctl.pageCount();
    if (pages == 0) return;
    m_ctl.currentPage = std::clamp(m_ctl.currentPage, 1, pages);
    QRect page = pageRect();
    p.fillRect(page.translated(3, 3), QColor(0x40, 0x40, 0x40));
    p.fillRect(page, Qt::white);
    p.save();
    p.setClipRect(page);
    p.translate(page.topLeft());
    p.setRenderHint(QPainter::Antialiasing, false);
    renderPage(p, *m_ctl.grid(), m_ctl.currentPage, pixelsPerPoint());
    p.restore();
}

void PreviewWidget::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
}

void PreviewWidget::scrollContentsBy(int, int) {
    viewport()->update();
}

void PreviewWidget::keyPressEvent(QKeyEvent* e) {
    int page = m_ctl.currentPage;
    switch (e->key()) {
    case Qt::Key_PageDown:
        page += 1;
        break;
    case Qt::Key_PageUp:
        page -= 1;
        break;
    case Qt::Key_Home:
        page = 1;
        break;
    case Qt::Key_End:
        page = m_ctl.pageCount();
        break;
    default:
        return QAbstractScrollArea::keyPressEvent(e);
    }
    SpvSetPageCurrent(&m_ctl, page);
}

void PreviewWidget::wheelEvent(QWheelEvent* e) {
    if (m_ctl.allowUserZoom && (e->modifiers() & Qt::ControlModifier)) {
        // Zoom from what is shown now, whatever the view type was.
        double now = pixelsPerPoint() / (logicalDpiX() / 72.0) * 100.0;
        double next = e->angleDelta().y() > 0 ? now * 1.25 : now / 1.25;
        m_ctl.viewType = 2;
        SpvSetPageViewPercentage(&m_ctl, std::clamp(int(std::lround(next)), 10, 400));
        return;
    }
    QAbstractScrollArea::wheelEvent(e);
}

void PreviewWidget::mousePressEvent(QMouseEvent* e) {
    // A click switches between the whole page and its natural size.
    if (!m_ctl.allowUserZoom || e->button() != Qt::LeftButton) return;
    SpvSetPageViewType(&m_ctl, m_ctl.viewType == 0 ? 1 : 0);
}

} // namespace sheet::control
