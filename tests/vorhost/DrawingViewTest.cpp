// The drawing view follows the current drawing's changes and answers a pending pick with a click.

#include "DrawingView.h"

#include <ui/Application.h>

#include <QCoreApplication>
#include <QMouseEvent>
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

} // namespace
