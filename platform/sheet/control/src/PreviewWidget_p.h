#pragma once
// The print preview widget: one page of a grid's printout at a chosen zoom.

#include <sheet/SpreadControl.h>

#include <QAbstractScrollArea>

namespace sheet::control {

class PreviewWidget : public QAbstractScrollArea {
public:
    explicit PreviewWidget(SpreadControl* grid, QWidget* parent = nullptr);
    ~PreviewWidget() override;

    PreviewControl& control() { return m_ctl; }
    /// Device pixels per point at the current view type and zoom.
    double pixelsPerPoint() const;
    /// Where the current page lies in the viewport.
    QRect pageRect() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void changed();
    void updateScrollBars();

    PreviewControl m_ctl;
    bool m_pending = false;
};

} // namespace sheet::control
