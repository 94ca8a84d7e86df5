// The drawing view follows the current drawing's changes and answers a pending pick with a click.

#include "DrawingView.h"
#include "DrawingPaint.h"

#include <ui/Application.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class DrawingViewTest : public testing::Test {
protected:
    void SetUp() override {
        cad::curDrawing().clear();
        cad::Entity c;
        c.name = "C1";
        c.geometry = cad::Profile{"HEA 200", {0, 0, 0}, {0, 0, 3000}, 200, 190};
        column = cad::curDrawing().add(c);
        cad::curDrawing().changeView(cad::ViewDirection::Front);
        cad::curDrawing().zoomExtents();
        view.resize(400, 400);
        view.show();
        ui::processEvents();
    }
    void TearDown() override { cad::curDrawing().clear(); }
    /// Answers `request` with a left click at the model point's pixel, or with Escape.
    cad::PickResult pickWith(cad::PickKind kind, std::optional<cad::Point3d> clickAt) {
        QTimer::singleShot(0, &view, [this, clickAt] {
            if (!clickAt) {
                QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(&view, &esc);
                return;
            }
            view::ViewBasis b = view::viewBasis(cad::curDrawing().viewDirection());
            view::ScreenFit f = view::fitBox(b, cad::curDrawing().zoomBox(), view.width(), view.height(), 20);
            cad::Point2d px = f.toScreen(view::project(b, *clickAt));
            QPointF at(px.x, px.y);
            QMouseEvent press(QEvent::MouseButtonPress, at, view.mapToGlobal(at), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&view, &press);
        });
        return view.answer({kind, "pick: ", {}}, cad::curDrawing());
    }
    DrawingView view;
    AcDbObjectId column;
};

TEST_F(DrawingViewTest, everyChangeOfTheDrawingAsksForARepaint) {
    int before = view.repaintsAsked();
    cad::curDrawing().highlight(column);
    cad::curDrawing().changeView(cad::ViewDirection::Top);
    cad::curDrawing().modify(column, [](cad::Entity& e) { e.name = "C9"; });
    EXPECT_EQ(view.repaintsAsked(), before + 3) << "highlight, view and entity changes each repaint";
}

TEST_F(DrawingViewTest, aClickAnswersThePendingPick) {
    cad::PickResult r = pickWith(cad::PickKind::Object, cad::Point3d{0, 0, 1500});
    ASSERT_TRUE(r.ok) << "a click on the column's centre line picks it";
    EXPECT_EQ(r.ids, std::vector<AcDbObjectId>{column});
    r = pickWith(cad::PickKind::Point, cad::Point3d{500, 0, 1000});
    ASSERT_TRUE(r.ok);
    EXPECT_NEAR(r.point.x, 500, 10) << "a point pick gives the clicked point, within a pixel's size";
    EXPECT_NEAR(r.point.z, 1000, 10);
    EXPECT_FALSE(pickWith(cad::PickKind::Object, std::nullopt).ok) << "Escape cancels";
}

/// Whether any pixel within `r` pixels of (x, y) differs from the background.
bool inked(const QImage& image, int x, int y, int r = 1) {
    const QRgb ground = image.pixel(0, 0);
    for (int v = y - r; v <= y + r; ++v)
        for (int u = x - r; u <= x + r; ++u)
            if (image.rect().contains(u, v) && image.pixel(u, v) != ground) return true;
    return false;
}

// A small drawing is drawn with the painter, a large one coarsely into an image of its own: both
// show what is on screen, also a member that reaches in from far outside, and a marker whose box
// lies off screen but whose arms reach in.
TEST(DrawingPaint, smallAndLargeDrawingsShowWhatIsOnScreen) {
    for (int filler : {0, 6000}) {
        cad::Drawing d;
        cad::Entity beam;
        beam.geometry = cad::Profile{"IPE 300", {-1e7, 0, 500}, {1e7, 0, 500}, 150, 300};
        d.add(beam);
        cad::Entity cs;
        cs.geometry = cad::CoordSysEntity{{{-1005, 0, 100}}};
        d.add(cs);
        cad::Entity hole;
        hole.geometry = cad::BoltHole{{300, 0, 800}, {0, 1, 0}, 22, 20, "M20"};
        d.add(hole);
        // Far off to the side: in the index, never on screen.
        for (int i = 0; i < filler; ++i) {
            cad::Entity h = hole;
            std::get<cad::BoltHole>(h.geometry).position = {5e6 + i * 100.0, 0, 0};
            d.add(h);
        }
        view::ViewBasis front = view::viewBasis(cad::viewVector(cad::ViewDirection::Front));
        view::ScreenFit fit = view::fitBox(front, cad::Extents{{-1000, 0, 0}, {1000, 0, 1000}}, 400, 200, 0);
        QImage image(400, 200, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&image);
        view::PaintCount count = view::paintDrawing(p, image.size(), d, front, fit);
        p.end();
        const char* which = filler ? "a large drawing" : "a small drawing";
        EXPECT_EQ(count.entities + count.dots + count.specks, 3u) << which << ": the far holes are culled";
        cad::Point2d beamAt = fit.toScreen(view::project(front, {0, 0, 500}));
        EXPECT_TRUE(inked(image, 200, static_cast<int>(beamAt.y)))
            << which << ": the long beam crosses the view";
        cad::Point2d csAt = fit.toScreen(view::project(front, {-1005 + 10 / fit.scale, 0, 100}));
        EXPECT_TRUE(inked(image, static_cast<int>(csAt.x), static_cast<int>(csAt.y)))
            << which << ": the x arm of a marker just off screen reaches in";
        cad::Point2d holeAt = fit.toScreen(view::project(front, {300, 0, 800}));
        EXPECT_TRUE(inked(image, static_cast<int>(holeAt.x + view::kMinHolePx), static_cast<int>(holeAt.y)))
            << which << ": a small hole is drawn at least " << view::kMinHolePx << " pixels round";
        EXPECT_FALSE(inked(image, 100, 40, 3)) << which << ": empty model space stays empty";
    }
    // Zoomed in on one hole of a large drawing: its circle has the hole's size, wherever it is drawn.
    cad::Drawing d;
    for (int i = 0; i < 6000; ++i) {
        cad::Entity h;
        h.geometry = cad::BoltHole{{i * 100.0, 0, 0}, {0, 1, 0}, 22, 20, "M20"};
        d.add(h);
    }
    view::ViewBasis front = view::viewBasis(cad::viewVector(cad::ViewDirection::Front));
    for (double zoom :
         {40.0,
          1.0}) { // a circle of 110 pixels radius, written into the image; one of 4,400, drawn by the painter
        view::ScreenFit fit = view::fitBox(
            front, cad::Extents{{311 - zoom / 2, 0, -zoom / 4}, {311 + zoom / 2, 0, zoom / 4}}, 400, 200, 0);
        QImage image(400, 200, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&image);
        view::paintDrawing(p, image.size(), d, front, fit);
        p.end();
        EXPECT_TRUE(inked(image, 200, 100, 2))
            << "zoom " << zoom << ": the rim of the hole at 300 runs through 311";
        cad::Point2d inside = fit.toScreen(view::project(front, {308, 0, 0}));
        if (zoom > 1)
            EXPECT_FALSE(inked(image, static_cast<int>(inside.x), 100, 2)) << "and the inside is empty";
    }
}

} // namespace
