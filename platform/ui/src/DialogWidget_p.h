#pragma once
// The top-level widget of a dialog.

#include <ui/Dialog.h>

#include "ClientArea_p.h"
#include "Internal_p.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QWidget>

#include <algorithm>

class QEventLoop;

namespace ui {

/// The top-level widget of a dialog: menu bar, toolbar and client area.
class DialogWidget : public QWidget {
public:
    DialogWidget(Dialog* d, QWidget* parent, bool child)
        : QWidget(parent, child ? Qt::Widget : Qt::Dialog)
        , m_dialog(d) {
        client = new ClientArea(d, this);
    }
    Dialog* m_dialog;
    ClientArea* client;
    QMenuBar* menuBar = nullptr;
    QWidget* toolBar = nullptr;
    QEventLoop* loop = nullptr;
    QSize clientSize;

    int chromeHeight() const {
        return (menuBar ? menuBar->sizeHint().height() : 0) + (toolBar ? toolBar->sizeHint().height() : 0);
    }
    void layoutChrome() {
        int y = 0;
        if (menuBar) {
            int h = menuBar->sizeHint().height();
            menuBar->setGeometry(0, 0, width(), h);
            y += h;
        }
        if (toolBar) {
            int h = toolBar->sizeHint().height();
            toolBar->setGeometry(0, y, width(), h);
            y += h;
        }
        client->setGeometry(0, y, width(), std::max(0, height() - y));
    }

protected:
    void resizeEvent(QResizeEvent*) override { layoutChrome(); }
    void moveEvent(QMoveEvent*) override { Dialog::Hooks::moved(*m_dialog); }
    void closeEvent(QCloseEvent* e) override {
        e->ignore(); // the dialog decides, as its close box does
        Dialog::Hooks::close(*m_dialog);
    }
};

} // namespace ui
