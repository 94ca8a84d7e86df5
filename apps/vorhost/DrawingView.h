#pragma once
// The host's drawing pane: the current drawing's entities projected for the current view direction,
// fitted to the drawing's zoom box, repainted on every change the drawing reports. A pick served
// by the view waits for a click in it (Escape cancels); the arithmetic is in DrawingProjection.h.

#include <cad/DrawingProjection.h>

#include <cad/Pick.h>

#include <QWidget>

#include <optional>

class QEventLoop;

class DrawingView : public QWidget, public cad::PickServer {
public:
    explicit DrawingView(QWidget* parent = nullptr);
    ~DrawingView() override;
    /// Waits for a click that answers the request; cancel on Escape or when the view is hidden.
    cad::PickResult answer(const cad::PickRequest& request, const cad::Drawing& drawing) override;
    /// How many repaints the drawing's changes asked for.
    int repaintsAsked() const { return m_repaintsAsked; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// The fit of the current drawing to this view's pixels.
    view::ScreenFit fit(const view::ViewBasis& basis) const;
    void finishPick(const cad::PickResult& result);

    int m_listener = 0;
    int m_repaintsAsked = 0;
    void unhighlightPicked();
    std::optional<cad::PickRequest> m_pending;
    cad::PickResult m_result;
    QEventLoop* m_loop = nullptr;
};
