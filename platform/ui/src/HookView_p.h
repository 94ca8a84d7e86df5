#pragma once
// The widget of placeholders and custom views.

#include <ui/Control.h>
#include <ui/Painter.h>

#include "Internal_p.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace ui {

/// A placeholder or custom view: paints through the control's hook and fills an embedded view.
class HookView : public QFrame {
public:
    HookView(QWidget* parent)
        : QFrame(parent) {}
    Control* control = nullptr;
    QPointer<QWidget> embedded;

protected:
    void resizeEvent(QResizeEvent*) override {
        if (embedded) embedded->setGeometry(0, 0, width(), height());
    }
    void paintEvent(QPaintEvent* e) override {
        if (control && control->paintHandler) {
            QPainter qp(this);
            Painter p(qp);
            control->paintHandler(p);
        } else {
            QFrame::paintEvent(e);
        }
    }
    bool mouse(QMouseEvent* e, MouseEvent::Kind kind) {
        return control && control->mouseHandler && control->mouseHandler(mouseEventOf(e, kind));
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (!mouse(e, MouseEvent::Press)) QFrame::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (!mouse(e, MouseEvent::Release)) QFrame::mouseReleaseEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!mouse(e, MouseEvent::Move)) QFrame::mouseMoveEvent(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (!mouse(e, MouseEvent::DoubleClick)) QFrame::mouseDoubleClickEvent(e);
    }
};

} // namespace ui
