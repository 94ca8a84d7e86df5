// The person's keys and mouse on the grid: moving, selecting, editing, resizing, cell buttons, the
// drop-down list and tool tips.
#include "GridWidget_p.h"

#include "GridUtil_p.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

namespace sheet::control {

// --- events

bool GridWidget::viewportEvent(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        int col, row;
        if (m_ctl->textTipStatus == 0 || !cellAt(he->pos(), col, row) || col < 1 || row < 1) {
            QToolTip::hideText();
            e->ignore();
            return true;
        }
        const Sheet& s = m_ctl->sheet();
        std::string tip = s.note(col, row);
        if (tip.empty()) {
            // The whole text, when the cell is too narrow to show it.
            double w, h;
            m_ctl->cellTextSize(col, row, w, h);
            if (w > cellRect(col, row).width()) tip = s.data(col, row);
        }
        if (tip.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(he->globalPos(), qs(tip), viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(e);
}

bool GridWidget::eventFilter(QObject* o, QEvent* e) {
    if (o == m_editor) {
        if (e->type() == QEvent::KeyPress) return editorKey(static_cast<QKeyEvent*>(e));
        if (e->type() == QEvent::ShortcutOverride) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_Escape || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                e->accept();
                return true;
            }
        }
        if (e->type() == QEvent::FocusOut && m_ctl->editing()) {
            auto reason = static_cast<QFocusEvent*>(e)->reason();
            QWidget* next = QApplication::focusWidget();
            // Focus going elsewhere in the dialog confirms the edit, as leaving a field does.
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && next != this &&
                next != m_editor && (!next || !isAncestorOf(next)))
                if (!m_ctl->confirmEdit()) m_ctl->cancelEdit(); // told why, the cell keeps its value
        }
    }
    return QAbstractScrollArea::eventFilter(o, e);
}

bool GridWidget::editorKey(QKeyEvent* e) {
    SpreadControl& c = *m_ctl;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        c.pressEnter();
        return true;
    case Qt::Key_Escape:
        c.cancelEdit();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!c.pressTab(e->key() == Qt::Key_Tab && !shift) && !c.editing())
            QAbstractScrollArea::focusNextPrevChild(e->key() == Qt::Key_Tab && !shift);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        CellPos a = c.sheet().activeCell();
        c.moveActive(a.col, a.row + (e->key() == Qt::Key_Up ? -1 : 1));
        return true;
    }
    default:
        if (actionKey(e, kActionPopup)) return dropDown();
        return false;
    }
}

bool GridWidget::actionKey(QKeyEvent* e, int action) const {
    const ActionKey& k = m_ctl->actionKeys[action];
    if (k.key == 0) return false;
    int vk = 0;
    switch (e->key()) {
    case Qt::Key_Delete:
        vk = 0x2e;
        break;
    case Qt::Key_Insert:
        vk = 0x2d;
        break;
    case Qt::Key_Backspace:
        vk = 0x08;
        break;
    case Qt::Key_Space:
        vk = 0x20;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        vk = 0x0d;
        break;
    default:
        if (e->key() >= Qt::Key_F1 && e->key() <= Qt::Key_F24)
            vk = 0x70 + (e->key() - Qt::Key_F1);
        else if (e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
            vk = 'A' + (e->key() - Qt::Key_A);
        else if (e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9)
            vk = '0' + (e->key() - Qt::Key_0);
    }
    return vk == k.key && k.shift == bool(e->modifiers() & Qt::ShiftModifier) &&
           k.ctrl == bool(e->modifiers() & Qt::ControlModifier);
}

bool GridWidget::focusNextPrevChild(bool next) {
    // Tab moves between cells; the focus leaves past the last cell (see keyPressEvent).
    if (m_ctl->sheet().maxCols() > 0 && m_ctl->sheet().maxRows() > 0 && hasFocus()) return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void GridWidget::keyPressEvent(QKeyEvent* e) {
    SpreadControl& c = *m_ctl;
    const Sheet& s = c.sheet();
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool alt = e->modifiers() & Qt::AltModifier;
    if (s.maxCols() < 1 || s.maxRows() < 1) return QAbstractScrollArea::keyPressEvent(e);
    if (actionKey(e, kActionClear)) return void(c.clearSelection());
    if (actionKey(e, kActionCurrent)) return void(c.beginEdit());
    if (actionKey(e, kActionPopup)) return void(dropDown());

    CellPos a = s.activeCell();
    CellPos from = shift ? c.extentCell() : a;
    int pageRows = std::max(1, verticalScrollBar()->pageStep());
    auto go = [&](int col, int row) { c.moveActive(col, row, shift); };
    switch (e->key()) {
    case Qt::Key_Up:
        if (alt) return void(a.row > 1 && c.moveRow(a.row, a.row - 1));
        return go(from.col, ctrl ? 1 : from.row - 1);
    case Qt::Key_Down:
        if (alt) return void(a.row < s.maxRows() && c.moveRow(a.row, a.row + 1));
        return go(from.col, ctrl ? s.maxRows() : from.row + 1);
    case Qt::Key_Left:
        return go(ctrl ? 1 : from.col - 1, from.row);
    case Qt::Key_Right:
        return go(ctrl ? s.maxCols() : from.col + 1, from.row);
    case Qt::Key_Home:
        return ctrl ? go(1, 1) : go(1, from.row);
    case Qt::Key_End:
        return ctrl ? go(s.maxCols(), s.maxRows()) : go(s.maxCols(), from.row);
    case Qt::Key_PageUp:
        return go(from.col, from.row - pageRows);
    case Qt::Key_PageDown:
        return go(from.col, from.row + pageRows);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return void(c.pressEnter());
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!c.pressTab(e->key() == Qt::Key_Tab && !shift) && !c.editing())
            QAbstractScrollArea::focusNextPrevChild(e->key() == Qt::Key_Tab && !shift);
        return;
    case Qt::Key_Space: {
        CellKind kind = s.cellType(a.col, a.row).kind;
        if (kind == CellKind::CheckBox) return void(c.toggleCheck(a.col, a.row));
        if (kind == CellKind::Button) return void(c.pressButton(a.col, a.row));
        break;
    }
    default:
        break;
    }
    QString text = e->text();
    if (c.editing() && !text.isEmpty()) {
        // The editor is open but the grid has the focus (a click on the grid): the key is the editor's.
        m_editor->setFocus();
        QCoreApplication::sendEvent(m_editor, e);
        return;
    }
    if (!ctrl && !alt && !text.isEmpty() && text.at(0).isPrint()) {
        std::string typed = text.toStdString();
        if (c.beginEdit(&typed)) return;
    }
    QAbstractScrollArea::keyPressEvent(e);
}

bool GridWidget::dropDown() {
    CellPos a = m_ctl->sheet().activeCell();
    const CellType& t = m_ctl->sheet().cellType(a.col, a.row);
    if (t.kind != CellKind::ComboBox || !m_ctl->canEdit(a.col, a.row)) return false;
    if (m_ctl->editing()) m_ctl->cancelEdit();
    QRect r = cellRect(a.col, a.row);
    if (r.isEmpty()) return false;
    m_comboCell = a;
    m_combo->clear();
    auto items = comboItems(t.items);
    for (const auto& item : items)
        m_combo->addItem(qs(item));
    auto it = std::find(items.begin(), items.end(), m_ctl->sheet().data(a.col, a.row));
    m_combo->setCurrentIndex(it == items.end() ? -1 : int(it - items.begin()));
    m_combo->setGeometry(r);
    m_combo->show();
    m_combo->showPopup();
    return true;
}

void GridWidget::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
    if (m_ctl->editing()) editorChanged();
    m_ctl->sizeChanged(width(), height());
}

void GridWidget::mousePressEvent(QMouseEvent* e) {
    SpreadControl& c = *m_ctl;
    const Sheet& s = c.sheet();
    QPoint pos = e->position().toPoint();
    int col, row;
    bool onCell = cellAt(pos, col, row);
    if (e->button() == Qt::RightButton) {
        if (onCell) c.rightClick(col, row, int(e->globalPosition().x()), int(e->globalPosition().y()));
        return;
    }
    if (e->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    bool column = false;
    int edge = edgeAt(pos, column);
    if (edge >= 0) {
        m_drag = column ? Drag::ResizeCol : Drag::ResizeRow;
        m_resizeIndex = edge;
        m_resizeOrigin = column ? s.colWidthPixels(edge) : s.rowHeightPixels(edge);
        m_resizeStart = column ? pos.x() : pos.y();
        return;
    }
    if (!onCell || s.maxCols() < 1 || s.maxRows() < 1) return;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    if ((col == 0 || row == 0) && !c.confirmEdit()) return; // a refused edit keeps its cell
    if (col == 0 && row == 0) {
        c.selectBlock({1, 1}, {kAll, kAll});
        return;
    }
    if (row == 0) {
        CellPos anchor = shift ? s.activeCell() : CellPos{col, 1};
        c.selectBlock({anchor.col, kAll}, {col, kAll});
        m_drag = Drag::Cols;
        m_lastDragCell = {col, 0};
        return;
    }
    if (col == 0) {
        CellPos anchor = shift ? s.activeCell() : CellPos{1, row};
        c.selectBlock({kAll, anchor.row}, {kAll, row});
        m_drag = Drag::Rows;
        m_lastDragCell = {0, row};
        return;
    }
    const bool wasActive = s.activeCell() == CellPos{col, row} && !c.hasBlock();
    if (!c.moveActive(col, row, shift)) return;
    if (shift) return;
    m_drag = Drag::Cells;
    m_lastDragCell = {col, row};
    switch (s.cellType(col, row).kind) {
    case CellKind::CheckBox:
        c.toggleCheck(col, row);
        break;
    case CellKind::Button:
        if (c.operationMode != OperationMode::ReadOnly) {
            m_pressedButton = {col, row};
            viewport()->update();
        }
        break;
    case CellKind::ComboBox: {
        QRect r = cellRect(col, row);
        if (wasActive || pos.x() >= r.right() - kComboButton) {
            m_drag = Drag::None;
            dropDown();
        }
        break;
    }
    default:
        break;
    }
}

void GridWidget::mouseMoveEvent(QMouseEvent* e) {
    SpreadControl& c = *m_ctl;
    QPoint pos = e->position().toPoint();
    if (m_drag == Drag::ResizeCol || m_drag == Drag::ResizeRow) {
        bool column = m_drag == Drag::ResizeCol;
        int size = std::max(0, m_resizeOrigin + (column ? pos.x() : pos.y()) - m_resizeStart);
        if (column)
            c.sheet().setColWidthPixels(m_resizeIndex, size);
        else
            c.sheet().setRowHeightPixels(m_resizeIndex, size);
        updateScrollBars();
        viewport()->update();
        return;
    }
    if (m_drag == Drag::None) {
        bool column = false;
        int edge = edgeAt(pos, column);
        viewport()->setCursor(edge < 0 ? Qt::ArrowCursor : column ? Qt::SplitHCursor : Qt::SplitVCursor);
        return;
    }
    // Dragging past the edge scrolls one band at a time.
    if (pos.y() > viewport()->height()) verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
    if (pos.x() > viewport()->width()) horizontalScrollBar()->setValue(horizontalScrollBar()->value() + 1);
    QPoint clamped(std::clamp(pos.x(), headerWidth(), viewport()->width() - 1),
                   std::clamp(pos.y(), headerHeight(), viewport()->height() - 1));
    int col, row;
    if (!cellAt(clamped, col, row) || CellPos{col, row} == m_lastDragCell) return;
    if (m_drag == Drag::Cells && col > 0 && row > 0) {
        m_lastDragCell = {col, row};
        if (m_pressedButton.col) {
            m_pressedButton = {0, 0};
            viewport()->update();
        }
        c.moveActive(col, row, true);
    } else if (m_drag == Drag::Cols && col > 0) {
        m_lastDragCell = {col, 0};
        CellPos a = c.sheet().activeCell();
        c.selectBlock({a.col, kAll}, {col, kAll});
    } else if (m_drag == Drag::Rows && row > 0) {
        m_lastDragCell = {0, row};
        CellPos a = c.sheet().activeCell();
        c.selectBlock({kAll, a.row}, {kAll, row});
    }
}

void GridWidget::mouseReleaseEvent(QMouseEvent* e) {
    SpreadControl& c = *m_ctl;
    if (m_drag == Drag::ResizeCol || m_drag == Drag::ResizeRow) {
        bool column = m_drag == Drag::ResizeCol;
        int size =
            column ? c.sheet().colWidthPixels(m_resizeIndex) : c.sheet().rowHeightPixels(m_resizeIndex);
        m_drag = Drag::None;
        c.userResize(column, m_resizeIndex, size);
        return;
    }
    m_drag = Drag::None;
    if (m_pressedButton.col) {
        CellPos b = m_pressedButton;
        m_pressedButton = {0, 0};
        viewport()->update();
        int col, row;
        if (cellAt(e->position().toPoint(), col, row) && CellPos{col, row} == b) c.pressButton(b.col, b.row);
    }
}

void GridWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    int col, row;
    if (e->button() != Qt::LeftButton || !cellAt(e->position().toPoint(), col, row)) return;
    SpreadControl& c = *m_ctl;
    c.doubleClick(col, row);
    if (col < 1 || row < 1) return;
    CellKind kind = c.sheet().cellType(col, row).kind;
    if (kind == CellKind::CheckBox) {
        c.toggleCheck(col, row); // the second click of a double click switches it back, as it would singly
        return;
    }
    if (c.sheet().activeCell() == CellPos{col, row}) c.beginEdit();
}

} // namespace sheet::control
