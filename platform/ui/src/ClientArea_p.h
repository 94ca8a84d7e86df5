#pragma once
// The client area of a dialog: hosts the controls and forwards paint, size and mouse to the dialog.

#include <ui/Dialog.h>
#include <ui/Painter.h>

#include "Internal_p.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace ui {

/// Client area of a dialog, below its menu bar and toolbar.
class ClientArea : public QWidget {
public:
    ClientArea(Dialog* d, QWidget* parent)
        : QWidget(parent)
        , m_dialog(d) {
        setMouseTracking(false);
    }
    Dialog* m_dialog;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter qp(this);
        Painter p(qp);
        Dialog::Hooks::paint(*m_dialog, p);
    }
    void resizeEvent(QResizeEvent*) override { Dialog::Hooks::size(*m_dialog, width(), height()); }
    bool mouse(QMouseEvent* e, MouseEvent::Kind kind) {
        return Dialog::Hooks::mouse(*m_dialog, mouseEventOf(e, kind));
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (!mouse(e, MouseEvent::Press)) QWidget::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (!mouse(e, MouseEvent::Release)) QWidget::mouseReleaseEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!mouse(e, MouseEvent::Move)) QWidget::mouseMoveEvent(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (!mouse(e, MouseEvent::DoubleClick)) QWidget::mouseDoubleClickEvent(e);
    }
};

} // namespace ui
