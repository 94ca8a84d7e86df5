// Painting the grid: the visible cells, spans over them, the headers and the active cell's frame.
#include "GridWidget_p.h"

#include "GridUtil_p.h"
#include "Pictures.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionButton>

#include <algorithm>

namespace sheet::control {

namespace {

const QColor kGridLine(0xD4, 0xD4, 0xD4);
const QColor kHeaderLine(0xA0, 0xA0, 0xA0);
const QColor kActiveFrame(0x20, 0x20, 0x20);

Qt::Alignment cellAlignment(const CellType& t, const Value& v) {
    // Numbers line up on the right, as in every spreadsheet; typed text keeps to the left.
    return qtAlignment(t.style, v.isNumber() && t.kind != CellKind::Edit ? Qt::AlignRight : Qt::AlignLeft);
}

Qt::PenStyle penStyleOf(int style) {
    switch (style % 10) {
    case 2:
        return Qt::DashLine;
    case 3:
        return Qt::DotLine;
    case 4:
        return Qt::DashDotLine;
    case 5:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

} // namespace

// --- drawing

void GridWidget::paintEvent(QPaintEvent*) {
    if (m_ctl->sheet().hasRowsToFit()) {
        // Cells changed without a redraw (drawing was held): measure now, and let the scroll bars
        // catch up on the next turn.
        m_ctl->fitRowHeights();
        redraw();
    }
    QPainter p(viewport());
    const Sheet& s = m_ctl->sheet();
    // The grid may have shrunk since the scroll bars were last set.
    m_topRow = std::clamp(m_topRow, 1, std::max(1, s.maxRows()));
    m_leftCol = std::clamp(m_leftCol, 1, std::max(1, s.maxCols()));
    const SpreadControl& c = *m_ctl;
    const QRect all = viewport()->rect();
    const int hw = headerWidth(), hh = headerHeight();
    p.fillRect(all, qtColor(c.grayBackColor, QColor(0xE6, 0xE6, 0xE6)));

    std::vector<Band> cols, rows;
    layoutBands(cols, rows);
    const CellPos active = s.activeCell();
    const CellRange block = c.selectedBlock();
    const bool blockShown = c.hasBlock() || c.operationMode >= OperationMode::Row;

    // Spans that reach into the visible part are drawn whole, once, after the plain cells.
    std::vector<CellRange> spans;
    if (!cols.empty() && !rows.empty())
        for (const CellRange& sp : s.spans())
            if (sp.col2 >= cols.front().index && sp.col1 <= cols.back().index &&
                sp.row2 >= rows.front().index && sp.row1 <= rows.back().index)
                spans.push_back(sp);
    auto inSpan = [&](int col, int row) {
        for (const CellRange& sp : spans)
            if (sp.contains(col, row)) return true;
        return false;
    };

    p.save();
    p.setClipRect(QRect(hw, hh, all.width() - hw, all.height() - hh));
    for (const Band& r : rows)
        for (const Band& col : cols) {
            if (!spans.empty() && inSpan(col.index, r.index)) continue;
            bool sel =
                blockShown && block.contains(col.index, r.index) && !(active == CellPos{col.index, r.index});
            paintCell(p, col.index, r.index, QRect(col.pos, r.pos, col.size, r.size), sel);
        }
    for (const CellRange& sp : spans) {
        QRect rect = cellRect(sp.col1, sp.row1);
        if (rect.isEmpty()) continue;
        bool sel = blockShown && block.contains(sp.col1, sp.row1) && !(active == CellPos{sp.col1, sp.row1});
        paintCell(p, sp.col1, sp.row1, rect, sel);
    }
    if (!m_ctl->editing()) {
        QRect a = cellRect(active.col, active.row);
        if (!a.isEmpty() && active.col >= 1 && active.row >= 1 && s.maxCols() > 0 && s.maxRows() > 0) {
            p.setPen(QPen(kActiveFrame, 2));
            p.setBrush(Qt::NoBrush);
            p.drawRect(a.adjusted(1, 1, -1, -1));
        }
    }
    p.restore();

    // Headers last, so that nothing scrolled under them shows through.
    if (hh > 0) {
        p.save();
        p.setClipRect(QRect(hw, 0, all.width() - hw, hh));
        for (const Band& col : cols) {
            bool hl = (block.col1 <= col.index && col.index <= block.col2) || active.col == col.index;
            paintHeader(p, col.index, 0, QRect(col.pos, 0, col.size, hh), hl);
        }
        p.restore();
    }
    if (hw > 0) {
        p.save();
        p.setClipRect(QRect(0, hh, hw, all.height() - hh));
        for (const Band& r : rows) {
            bool hl = (block.row1 <= r.index && r.index <= block.row2) || active.row == r.index;
            paintHeader(p, 0, r.index, QRect(0, r.pos, hw, r.size), hl);
        }
        p.restore();
    }
    if (hw > 0 && hh > 0) paintHeader(p, 0, 0, QRect(0, 0, hw, hh), false);
}

void GridWidget::paintHeader(QPainter& p, int col, int row, const QRect& r, bool highlighted) {
    const Sheet& s = m_ctl->sheet();
    const CellStyle& st = s.style(col, row);
    QColor back = qtColor(st.backColor, qtColor(m_ctl->headerBackColor, QColor(0xF0, 0xF0, 0xF0)));
    if (highlighted) back = back.darker(112);
    p.fillRect(r, back);
    p.setPen(kHeaderLine);
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    std::string text = s.data(col, row);
    if (text.empty() && row == 0 && col > 0) text = columnName(col);
    if (text.empty() && col == 0 && row > 0) text = std::to_string(row);
    if (text.empty()) return;
    p.setFont(qtFont(st.font));
    p.setPen(qtColor(st.textColor, Qt::black));
    const CellType& t = s.cellType(col, row);
    Qt::Alignment a = (t.style & kAlignHMask) ? cellAlignment(t, Value{}) : Qt::AlignCenter;
    p.drawText(r.adjusted(2, 1, -2, -1), int(a) | Qt::TextWordWrap, qs(text));
}

void GridWidget::paintCell(QPainter& p, int col, int row, const QRect& r, bool selected) {
    const Sheet& s = m_ctl->sheet();
    const SpreadControl& c = *m_ctl;
    const CellStyle& st = s.style(col, row);
    const CellType& t = s.cellType(col, row);
    const bool lockedLook = s.option(kOptProtect) && st.locked;

    QColor back = qtColor(st.backColor, Qt::white);
    QColor fore = qtColor(st.textColor, Qt::black);
    if (lockedLook) {
        back = qtColor(c.lockBackColor, back);
        fore = qtColor(c.lockTextColor, fore);
    }
    if (selected) {
        back = qtColor(c.selBackColor, QColor(0xC0, 0xD8, 0xF0));
        fore = qtColor(c.selTextColor, fore);
    }
    const bool gridOverColor = c.backColorStyle == 1;
    p.fillRect(r, back);
    if (s.option(kOptGridLines)) {
        p.setPen(gridOverColor || st.backColor == kDefaultColor ? kGridLine : back.darker(108));
        if (c.backColorStyle != 2) p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        if (c.backColorStyle != 3) p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    }

    QRect inner = r.adjusted(2, 1, -3, -2);
    switch (t.kind) {
    case CellKind::CheckBox: {
        const bool on = isChecked(s, col, row);
        QPixmap pix = cellPicture(on ? t.picture2 : t.picture);
        QSize box = pix.isNull() ? QSize(13, 13) : pix.size();
        bool centred = t.text.empty() && !(t.style & kAlignHMask);
        int bx = centred ? inner.left() + (inner.width() - box.width()) / 2 : inner.left() + 1;
        if ((t.style & kAlignHMask) == kAlignRight) bx = inner.right() - box.width();
        QRect boxRect(bx, inner.top() + (inner.height() - box.height()) / 2, box.width(), box.height());
        if (!pix.isNull()) {
            p.drawPixmap(boxRect, pix);
        } else {
            QStyleOptionButton opt;
            opt.rect = boxRect;
            opt.state = QStyle::State_Enabled | (on ? QStyle::State_On : QStyle::State_Off);
            style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &opt, &p, this);
        }
        if (t.framed) {
            p.setPen(QColor(0x60, 0x60, 0x60));
            p.setBrush(Qt::NoBrush);
            p.drawRect(boxRect.adjusted(-1, -1, 0, 0));
        }
        if (!t.text.empty()) {
            p.setFont(qtFont(st.font));
            p.setPen(fore);
            QRect tr = inner;
            tr.setLeft(boxRect.right() + 4);
            p.drawText(tr, Qt::AlignLeft | Qt::AlignVCenter, qs(t.text));
        }
        break;
    }
    case CellKind::Button: {
        QStyleOptionButton opt;
        opt.rect = r.adjusted(1, 1, -2, -2);
        opt.state = QStyle::State_Enabled | QStyle::State_Raised;
        if (m_pressedButton == CellPos{col, row}) opt.state = QStyle::State_Enabled | QStyle::State_Sunken;
        std::string caption = t.text.empty() ? s.data(col, row) : t.text;
        opt.text = qs(caption);
        opt.fontMetrics = QFontMetrics(qtFont(st.font));
        p.save();
        p.setFont(qtFont(st.font));
        style()->drawControl(QStyle::CE_PushButton, &opt, &p, this);
        p.restore();
        break;
    }
    case CellKind::Picture: {
        // Only the cell type names a picture: the cell's text is data, never a path to open.
        QPixmap pix = cellPicture(t.picture);
        if (pix.isNull()) break;
        QSize size = pix.size();
        if (t.style & kPictureStretch)
            size =
                (t.style & kPictureKeepRatio) ? size.scaled(inner.size(), Qt::KeepAspectRatio) : inner.size();
        QRect target(QPoint(0, 0), size);
        Qt::Alignment a = (t.style & kAlignHMask) ? cellAlignment(t, Value{}) : Qt::AlignCenter;
        target = QStyle::alignedRect(Qt::LeftToRight, a, size, inner);
        p.save();
        p.setClipRect(r.adjusted(0, 0, -1, -1), Qt::IntersectClip);
        p.drawPixmap(target, pix);
        p.restore();
        break;
    }
    default: {
        QRect textRect = inner;
        if (t.kind == CellKind::ComboBox) {
            QRect button(r.right() - kComboButton, r.top() + 1, kComboButton, r.height() - 3);
            textRect.setRight(button.left() - 2);
            QStyleOptionButton opt;
            opt.rect = button;
            opt.state = QStyle::State_Enabled | QStyle::State_Raised;
            style()->drawPrimitive(QStyle::PE_PanelButtonTool, &opt, &p, this);
            opt.rect = button.adjusted(3, 3, -3, -3);
            p.setPen(Qt::black);
            style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &opt, &p, this);
        }
        std::string text = s.data(col, row);
        if (text.empty()) break;
        Value v = s.value(col, row);
        if (t.kind == CellKind::Number && (t.style & kNegativeRed) && v.isNumber() && v.number < 0 &&
            !selected)
            fore = Qt::red;
        p.save();
        p.setFont(qtFont(st.font));
        p.setPen(fore);
        p.setClipRect(r.adjusted(0, 0, -1, -1), Qt::IntersectClip);
        Qt::Alignment a = cellAlignment(t, v);
        int flags = int(a);
        if ((t.style & kWordWrap) || t.multiLine) flags |= Qt::TextWordWrap;
        int rotation = int((t.style & kRotationMask) >> 24);
        QString qtext = qs(text);
        if (rotation == 2 || rotation == 3 || rotation == 4) {
            // 270 reads upwards, 180 upside down, 90 downwards.
            int angle = rotation == 2 ? -90 : rotation == 3 ? 180 : 90;
            p.translate(textRect.center());
            p.rotate(angle);
            QRect rr = angle == 180 ? QRect(-textRect.width() / 2, -textRect.height() / 2, textRect.width(),
                                            textRect.height())
                                    : QRect(-textRect.height() / 2, -textRect.width() / 2, textRect.height(),
                                            textRect.width());
            p.drawText(rr, flags, qtext);
        } else if (rotation == 1 || rotation == 5) {
            // Stacked: one character a line.
            QString stacked;
            for (qsizetype i = 0; i < qtext.size(); ++i)
                stacked += (i ? QStringLiteral("\n") : QString()) + qtext.at(i);
            p.drawText(textRect, (flags & ~int(Qt::AlignHorizontal_Mask)) | Qt::AlignHCenter, stacked);
        } else {
            p.drawText(textRect, flags, qtext);
        }
        p.restore();
    }
    }

    if (c.noteIndicator == 0 && !s.note(col, row).empty()) {
        QPolygon tri;
        tri << QPoint(r.right() - 6, r.top()) << QPoint(r.right(), r.top()) << QPoint(r.right(), r.top() + 6);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::red);
        p.drawPolygon(tri);
    }

    // Borders: right and bottom lie on the cell's own last pixel, left and top on its first.
    for (int side = 0; side < 4; ++side) {
        const BorderLine& b = st.border[side];
        if (b.style == 0) continue;
        QPen pen(qtColor(b.color, Qt::black), b.style >= 11 ? 2 : 1, penStyleOf(b.style));
        p.setPen(pen);
        switch (side) {
        case 0:
            p.drawLine(r.left(), r.top(), r.left(), r.bottom());
            break;
        case 1:
            p.drawLine(r.right(), r.top(), r.right(), r.bottom());
            break;
        case 2:
            p.drawLine(r.left(), r.top(), r.right(), r.top());
            break;
        case 3:
            p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
            break;
        }
        if (b.style == 6) { // double line
            switch (side) {
            case 0:
                p.drawLine(r.left() + 2, r.top(), r.left() + 2, r.bottom());
                break;
            case 1:
                p.drawLine(r.right() - 2, r.top(), r.right() - 2, r.bottom());
                break;
            case 2:
                p.drawLine(r.left(), r.top() + 2, r.right(), r.top() + 2);
                break;
            case 3:
                p.drawLine(r.left(), r.bottom() - 2, r.right(), r.bottom() - 2);
                break;
            }
        }
    }
}

} // namespace sheet::control
