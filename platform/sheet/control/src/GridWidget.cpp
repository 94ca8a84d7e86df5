#include "GridWidget_p.h"

#include "PagePainter.h"
#include "Pictures.h"
#include "PreviewWidget_p.h"

#include <sheet/control/GridWidget.h>

#include <ui/Agent.h>
#include <ui/Application.h>
#include <ui/Script.h>
#include <ui/Window.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QToolTip>

#include <algorithm>
#include <limits>

namespace sheet::control {

namespace {

constexpr int kEdgeGrip = 3;     // pixels either side of a header edge that start a resize
constexpr int kComboButton = 15; // width of the drop-down button drawn in combo-box cells
const QColor kGridLine(0xD4, 0xD4, 0xD4);
const QColor kHeaderLine(0xA0, 0xA0, 0xA0);
const QColor kActiveFrame(0x20, 0x20, 0x20);

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Editor positions: the control counts code points, QLineEdit counts UTF-16 units.
int toUtf16(const QString& s, int codePoints) {
    int i = 0;
    for (int n = 0; i < s.size() && n < codePoints; ++n)
        i += s.at(i).isHighSurrogate() && i + 1 < s.size() ? 2 : 1;
    return i;
}

int toCodePoints(const QString& s, int utf16) {
    int n = 0;
    for (int i = 0; i < utf16 && i < s.size(); ++n)
        i += s.at(i).isHighSurrogate() && i + 1 < s.size() ? 2 : 1;
    return n;
}

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

bool isChecked(const Sheet& s, int col, int row) {
    Value v = s.value(col, row);
    if (v.isNumber() || v.isBool()) return v.number != 0;
    return s.data(col, row) == "1";
}

std::vector<std::string> comboItems(const std::string& items) {
    std::vector<std::string> out;
    if (items.empty()) return out;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = items.find('\t', start);
        out.push_back(items.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return out;
        start = tab + 1;
    }
}

int qtKeyOf(char32_t ch) {
    if (ch >= 'a' && ch <= 'z') return int(ch - 'a' + 'A');
    if (ch > 0x20 && ch < 0x7f) return int(ch);
    return ch == ' ' ? Qt::Key_Space : Qt::Key_unknown;
}

} // namespace

// --- scripts: a person typing into cells and selecting blocks

class GridScriptAccess : public ui::GridAccess {
public:
    explicit GridScriptAccess(GridWidget& g)
        : m_g(g) {}

    bool typeCell(int col, int row, const std::string& text, std::string& error) override {
        SpreadControl& c = m_g.control();
        if (!checkCell(col, row, error)) return false;
        const CellType t = c.sheet().cellType(col, row);
        if (t.kind == CellKind::CheckBox) {
            bool want = text == "1";
            if (text != "1" && text != "0") {
                error = "a check-box cell takes 1 or 0";
                return false;
            }
            if (isChecked(c.sheet(), col, row) == want)
                return click(col, row, Qt::LeftButton, {}, error, false);
            if (!click(col, row, Qt::LeftButton, {}, error)) return false;
            if (isChecked(c.sheet(), col, row) != want) {
                error = "the check box at " + cellName(col, row) + " did not switch (locked or read-only)";
                return false;
            }
            return true;
        }
        if (!click(col, row, Qt::LeftButton, {}, error)) return false;
        if (!c.canEdit(col, row)) {
            error = "cell " + cellName(col, row) + " cannot be edited";
            return false;
        }
        if (t.kind == CellKind::ComboBox && !t.editable) {
            auto items = comboItems(t.items);
            auto it = std::find(items.begin(), items.end(), text);
            if (it == items.end()) {
                error = "\"" + text + "\" is not in the list of cell " + cellName(col, row);
                return false;
            }
            if (!m_g.dropDown()) {
                error = "the list of cell " + cellName(col, row) + " does not open";
                return false;
            }
            int index = int(it - items.begin());
            m_g.comboList()->setCurrentIndex(index);
            emit m_g.comboList()->activated(index);
            ui::processEvents();
            return true;
        }
        QString q = qs(text);
        if (q.isEmpty()) {
            // An empty text: open the editor, select everything and delete it.
            key(&m_g, Qt::Key_F2, {}, {});
            if (!c.editing()) c.beginEdit();
            if (!c.editing()) {
                error = "cell " + cellName(col, row) + " does not open for editing";
                return false;
            }
            key(m_g.editor(), Qt::Key_A, Qt::ControlModifier, {});
            key(m_g.editor(), Qt::Key_Backspace, {}, {});
        } else if (c.editing()) {
            // the editor is open already (option 13): replace what it holds
            key(m_g.editor(), Qt::Key_A, Qt::ControlModifier, {});
            key(m_g.editor(), Qt::Key_unknown, {}, q);
        } else {
            char32_t first = q.toUcs4().value(0);
            QString head = QString::fromUcs4(&first, 1);
            key(&m_g, qtKeyOf(first), {}, head);
            if (!c.editing()) {
                error = "typing does not open cell " + cellName(col, row) + " for editing";
                return false;
            }
            if (q.size() > head.size()) key(m_g.editor(), Qt::Key_unknown, {}, q.mid(head.size()));
        }
        key(m_g.editor(), Qt::Key_Return, {}, "\r");
        // With the editor always open (option 13) it opens again on the next cell: only an editor
        // still on this cell means the text was refused.
        CellPos now = c.sheet().activeCell();
        if (c.editing() && now.col == col && now.row == row) {
            error = "cell " + cellName(col, row) + " refused \"" + text + "\": " + c.lastError();
            key(m_g.editor(), Qt::Key_Escape, {}, {});
            return false;
        }
        return true;
    }

    std::string cellText(int col, int row) const override { return m_g.control().sheet().data(col, row); }

    bool selectCells(int col1, int row1, int col2, int row2, std::string& error) override {
        if (!checkCell(col1, row1, error) || !checkCell(col2, row2, error)) return false;
        if (!click(col1, row1, Qt::LeftButton, {}, error, false)) return false;
        if (!(col1 == col2 && row1 == row2) &&
            !click(col2, row2, Qt::LeftButton, Qt::ShiftModifier, error, false))
            return false;
        CellRange want{std::min(col1, col2), std::min(row1, row2), std::max(col1, col2),
                       std::max(row1, row2)};
        if (!(m_g.control().selectedBlock() == want)) {
            error = "the grid did not select the block (block selection may be switched off)";
            return false;
        }
        return true;
    }

    bool rightClickCell(int col, int row, std::string& error) override {
        if (!checkCell(col, row, error)) return false;
        m_g.showCell(col, row);
        QRect r = m_g.cellRect(col, row);
        QPoint local = r.center();
        QWidget* vp = m_g.viewport();
        QMouseEvent press(QEvent::MouseButtonPress, local, vp->mapToGlobal(local), Qt::RightButton,
                          Qt::RightButton, {});
        QCoreApplication::sendEvent(vp, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, local, vp->mapToGlobal(local), Qt::RightButton,
                            Qt::NoButton, {});
        QCoreApplication::sendEvent(vp, &release);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, local, vp->mapToGlobal(local));
        QCoreApplication::sendEvent(vp, &menu);
        ui::processEvents();
        return true;
    }

private:
    bool checkCell(int col, int row, std::string& error) const {
        const Sheet& s = m_g.control().sheet();
        if (col < 1 || row < 1 || col > s.maxCols() || row > s.maxRows()) {
            error = "cell " + std::to_string(col) + "," + std::to_string(row) + " is outside the grid (" +
                    std::to_string(s.maxCols()) + " columns, " + std::to_string(s.maxRows()) + " rows)";
            return false;
        }
        if (!m_g.isEnabled() || !m_g.isVisible()) {
            error = "the grid is disabled or hidden";
            return false;
        }
        return true;
    }

    bool click(int col, int row, Qt::MouseButton button, Qt::KeyboardModifiers mods, std::string& error,
               bool mustActivate = true) {
        m_g.showCell(col, row);
        QRect r = m_g.cellRect(col, row);
        if (r.isEmpty()) {
            error = "cell " + cellName(col, row) + " cannot be brought into view";
            return false;
        }
        QWidget* vp = m_g.viewport();
        QPoint local = r.center();
        m_g.setFocus(Qt::MouseFocusReason);
        QMouseEvent press(QEvent::MouseButtonPress, local, vp->mapToGlobal(local), button, button, mods);
        QCoreApplication::sendEvent(vp, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, local, vp->mapToGlobal(local), button, Qt::NoButton,
                            mods);
        QCoreApplication::sendEvent(vp, &release);
        ui::processEvents();
        CellRange span{col, row, col, row};
        m_g.control().sheet().spanAt(col, row, span);
        if (mustActivate && !(m_g.control().sheet().activeCell() == CellPos{span.col1, span.row1})) {
            error = "the grid did not move to cell " + cellName(col, row);
            return false;
        }
        return true;
    }

    void key(QWidget* target, int k, Qt::KeyboardModifiers mods, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, k, mods, text);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, k, mods, text);
        QCoreApplication::sendEvent(target, &release);
        ui::processEvents();
    }

    GridWidget& m_g;
};

// --- the widget

void CellCombo::hidePopup() {
    QComboBox::hidePopup();
    hide();
    if (parentWidget() && parentWidget()->parentWidget()) parentWidget()->parentWidget()->setFocus();
}

GridWidget::GridWidget(QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_ctl(std::make_unique<SpreadControl>()) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    // Editor and list exist from the start so that the dialog's key watch covers them too.
    m_editor = new QLineEdit(viewport());
    m_editor->setFrame(false);
    m_editor->hide();
    m_editor->installEventFilter(this);
    m_combo = new CellCombo(viewport());
    m_combo->hide();
    connect(m_editor, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_syncing) return;
        m_ctl->setEditText(text.toStdString());
        if (qs(m_ctl->editText()) != text) { // longer than the cell takes
            m_syncing = true;
            m_editor->setText(qs(m_ctl->editText()));
            m_syncing = false;
        }
    });
    auto selChanged = [this] {
        if (m_syncing || !m_ctl->editing()) return;
        QString t = m_editor->text();
        if (m_editor->hasSelectedText()) {
            int s = m_editor->selectionStart();
            m_ctl->setEditSel(toCodePoints(t, s), toCodePoints(t, s + int(m_editor->selectedText().size())));
        } else {
            int p = toCodePoints(t, m_editor->cursorPosition());
            m_ctl->setEditSel(p, p);
        }
    };
    connect(m_editor, &QLineEdit::selectionChanged, this, selChanged);
    connect(m_editor, &QLineEdit::cursorPositionChanged, this, selChanged);
    connect(m_combo, &QComboBox::activated, this, [this](int index) {
        CellPos at = m_comboCell;
        m_combo->hide();
        setFocus();
        m_ctl->chooseComboItem(at.col, at.row, index);
    });
    m_ctl->setView(this);
    updateScrollBars();
}

GridWidget::~GridWidget() {
    // The editor and the list die with the widget; they must not call back into a control that is gone.
    m_editor->removeEventFilter(this);
    disconnect(m_editor, nullptr, this, nullptr);
    disconnect(m_combo, nullptr, this, nullptr);
    if (m_placeholder) ui::setGridAccess(m_placeholder, nullptr);
    m_ctl->setView(nullptr);
    m_ctl.reset(); // tells the listener while the widget is still whole
}

void GridWidget::placed(ui::Control* placeholder) {
    m_placeholder = placeholder;
    // The filter installed last runs first: the editor's Enter, Escape and Tab must be handled
    // here before the dialog turns them into OK and Cancel.
    m_editor->removeEventFilter(this);
    m_editor->installEventFilter(this);
    m_access = std::make_unique<GridScriptAccess>(*this);
    ui::setGridAccess(placeholder, m_access.get());
}

int GridWidget::headerWidth() const {
    return m_ctl->sheet().colWidthPixels(0);
}

int GridWidget::headerHeight() const {
    return m_ctl->sheet().rowHeightPixels(0);
}

void GridWidget::layoutBands(std::vector<Band>& cols, std::vector<Band>& rows) const {
    const Sheet& s = m_ctl->sheet();
    const int w = viewport()->width(), h = viewport()->height();
    cols.clear();
    rows.clear();
    for (int c = m_leftCol, x = headerWidth(); c <= s.maxCols() && x < w; ++c) {
        int cw = s.colWidthPixels(c);
        if (cw > 0) cols.push_back({c, x, cw});
        x += cw;
    }
    for (int r = m_topRow, y = headerHeight(); r <= s.maxRows() && y < h; ++r) {
        int rh = s.rowHeightPixels(r);
        if (rh > 0) rows.push_back({r, y, rh});
        y += rh;
    }
}

int GridWidget::lastPageStart(bool rowsWanted) const {
    const Sheet& s = m_ctl->sheet();
    int avail = rowsWanted ? viewport()->height() - headerHeight() : viewport()->width() - headerWidth();
    int i = rowsWanted ? s.maxRows() : s.maxCols();
    int used = 0;
    for (; i >= 1; --i) {
        int size = rowsWanted ? s.rowHeightPixels(i) : s.colWidthPixels(i);
        if (used + size > avail && used > 0) break;
        used += size;
    }
    return std::max(1, i + 1);
}

void GridWidget::updateScrollBars() {
    const Sheet& s = m_ctl->sheet();
    // Showing or hiding a scroll bar changes the viewport, and with it what fits: settle first.
    for (int pass = 0; pass < 3; ++pass) {
        const QSize before = viewport()->size();
        int lastTop = lastPageStart(true), lastLeft = lastPageStart(false);
        std::vector<Band> cols, rows;
        layoutBands(cols, rows);
        QScrollBar* v = verticalScrollBar();
        QScrollBar* h = horizontalScrollBar();
        m_topRow = std::clamp(m_topRow, 1, std::max(1, std::min(lastTop, s.maxRows())));
        m_leftCol = std::clamp(m_leftCol, 1, std::max(1, std::min(lastLeft, s.maxCols())));
        QSignalBlocker bv(v), bh(h);
        v->setRange(0, std::max(0, lastTop - 1));
        v->setPageStep(std::max(1, int(rows.size()) - 1));
        h->setRange(0, std::max(0, lastLeft - 1));
        h->setPageStep(std::max(1, int(cols.size()) - 1));
        v->setValue(m_topRow - 1);
        h->setValue(m_leftCol - 1);
        if (viewport()->size() == before) break;
    }
}

void GridWidget::scrollContentsBy(int, int) {
    m_topRow = verticalScrollBar()->value() + 1;
    m_leftCol = horizontalScrollBar()->value() + 1;
    if (m_ctl->editing()) editorChanged();
    if (m_combo->isVisible()) m_combo->hidePopup();
    viewport()->update();
}

int GridWidget::spanStart(int index, int anchor, int first, int pos, bool cols) const {
    // The position of `anchor` given that `index` (first visible) starts at `pos`.
    const Sheet& s = m_ctl->sheet();
    if (anchor >= first) {
        int limit = cols ? viewport()->width() : viewport()->height();
        for (int i = first; i < anchor && pos <= limit; ++i)
            pos += cols ? s.colWidthPixels(i) : s.rowHeightPixels(i);
        return pos;
    }
    for (int i = anchor; i < first; ++i)
        pos -= cols ? s.colWidthPixels(i) : s.rowHeightPixels(i);
    return pos;
}

QRect GridWidget::cellRect(int col, int row) const {
    const Sheet& s = m_ctl->sheet();
    if (!s.inside(col, row)) return {};
    CellRange span{col, row, col, row};
    if (col > 0 && row > 0) s.spanAt(col, row, span);
    int x = col == 0 ? 0 : spanStart(m_leftCol, span.col1, m_leftCol, headerWidth(), true);
    int y = row == 0 ? 0 : spanStart(m_topRow, span.row1, m_topRow, headerHeight(), false);
    int w = 0, h = 0;
    for (int c = span.col1; c <= span.col2; ++c)
        w += s.colWidthPixels(c);
    for (int r = span.row1; r <= span.row2; ++r)
        h += s.rowHeightPixels(r);
    QRect r(x, y, w, h);
    QRect area = viewport()->rect();
    if (col > 0) area.setLeft(headerWidth());
    if (row > 0) area.setTop(headerHeight());
    return r.intersects(area) ? r : QRect();
}

bool GridWidget::cellAt(QPoint p, int& col, int& row) const {
    const Sheet& s = m_ctl->sheet();
    col = row = -1;
    if (p.x() < 0 || p.y() < 0) return false;
    if (p.x() < headerWidth()) {
        col = 0;
    } else {
        for (int c = m_leftCol, x = headerWidth(); c <= s.maxCols() && x <= p.x(); ++c) {
            x += s.colWidthPixels(c);
            if (p.x() < x) col = c;
        }
    }
    if (p.y() < headerHeight()) {
        row = 0;
    } else {
        for (int r = m_topRow, y = headerHeight(); r <= s.maxRows() && y <= p.y(); ++r) {
            y += s.rowHeightPixels(r);
            if (p.y() < y) row = r;
        }
    }
    if (col < 0 || row < 0) return false;
    CellRange span;
    if (col > 0 && row > 0 && s.spanAt(col, row, span)) col = span.col1, row = span.row1;
    return true;
}

int GridWidget::edgeAt(QPoint p, bool& column) const {
    const Sheet& s = m_ctl->sheet();
    if (!s.option(kOptUserResize)) return -1;
    if (p.y() < headerHeight()) {
        column = true;
        if (std::abs(p.x() - headerWidth()) <= kEdgeGrip) return 0;
        for (int c = m_leftCol, x = headerWidth(); c <= s.maxCols() && x < viewport()->width(); ++c) {
            x += s.colWidthPixels(c);
            if (std::abs(p.x() - x) <= kEdgeGrip) return c;
        }
    } else if (p.x() < headerWidth()) {
        column = false;
        for (int r = m_topRow, y = headerHeight(); r <= s.maxRows() && y < viewport()->height(); ++r) {
            y += s.rowHeightPixels(r);
            if (std::abs(p.y() - y) <= kEdgeGrip) return r;
        }
    }
    return -1;
}

// --- drawing

void GridWidget::paintEvent(QPaintEvent*) {
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

// --- SpreadView

void GridWidget::redraw() {
    // Callers fill grids cell by cell; the scroll bars and the editor catch up once per turn of
    // the event loop, not once per cell.
    viewport()->update();
    if (m_redrawPending) return;
    m_redrawPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_redrawPending = false;
            updateScrollBars();
            if (m_ctl->editing()) editorChanged();
        },
        Qt::QueuedConnection);
}

void GridWidget::editorChanged() {
    if (m_ctl->editing()) {
        CellPos a = m_ctl->sheet().activeCell();
        QRect r = cellRect(a.col, a.row);
        if (r.isEmpty()) {
            showCell(a.col, a.row);
            r = cellRect(a.col, a.row);
        }
        const CellStyle& st = m_ctl->sheet().style(a.col, a.row);
        const CellType& t = m_ctl->sheet().cellType(a.col, a.row);
        if (t.kind == CellKind::ComboBox) r.setRight(r.right() - kComboButton);
        m_syncing = true;
        m_editor->setFont(qtFont(st.font));
        m_editor->setMaxLength(t.maxLength > 0 ? t.maxLength : std::numeric_limits<int>::max());
        QString text = qs(m_ctl->editText());
        if (m_editor->text() != text) m_editor->setText(text);
        int s = toUtf16(text, m_ctl->editSelStart()), e = toUtf16(text, m_ctl->editSelEnd());
        if (e > s)
            m_editor->setSelection(s, e - s);
        else
            m_editor->setCursorPosition(s);
        m_syncing = false;
        m_editor->setGeometry(r.adjusted(1, 1, -1, -1));
        if (!m_editor->isVisible()) {
            m_editor->show();
            // While a cell is edited the grid's focus is the editor's: a click on the grid keeps
            // the editor's selection instead of clearing it.
            setFocusProxy(m_editor);
            m_editor->setFocus(Qt::OtherFocusReason);
        }
    } else if (m_editor->isVisible()) {
        bool had = m_editor->hasFocus();
        setFocusProxy(nullptr);
        m_editor->hide();
        if (had) setFocus(Qt::OtherFocusReason);
    }
    viewport()->update();
}

void GridWidget::showCell(int col, int row) {
    const Sheet& s = m_ctl->sheet();
    if (col < 1 || row < 1 || col > s.maxCols() || row > s.maxRows()) return;
    auto firstFor = [&](int index, int first, int avail, bool cols) {
        if (index < first) return index;
        int used = 0;
        for (int i = first; i <= index; ++i)
            used += cols ? s.colWidthPixels(i) : s.rowHeightPixels(i);
        if (used <= avail) return first;
        // Scroll so that `index` is the last one fully in view.
        int start = index;
        used = cols ? s.colWidthPixels(index) : s.rowHeightPixels(index);
        while (start > 1) {
            int size = cols ? s.colWidthPixels(start - 1) : s.rowHeightPixels(start - 1);
            if (used + size > avail) break;
            used += size;
            --start;
        }
        return start;
    };
    bool moved = false;
    for (int pass = 0; pass < 2; ++pass) { // a scroll bar that appears takes room from the view
        int top = firstFor(row, m_topRow, viewport()->height() - headerHeight(), false);
        int left = firstFor(col, m_leftCol, viewport()->width() - headerWidth(), true);
        if (top == m_topRow && left == m_leftCol) break;
        m_topRow = top;
        m_leftCol = left;
        moved = true;
        updateScrollBars();
    }
    if (moved) {
        if (m_ctl->editing()) editorChanged();
        viewport()->update();
    }
}

SSRect GridWidget::clientRect() const {
    return {0, 0, viewport()->width(), viewport()->height()};
}

void GridWidget::textSize(const std::string& text, const Font& font, double& width, double& height) const {
    QFontMetrics fm(qtFont(font), viewport());
    QRect r = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, qs(text));
    width = r.width();
    height = r.height();
}

bool GridWidget::print(const std::string& jobName, std::string& error) {
    ui::PrintRequest request;
    request.landscape = m_ctl->printOptions.landscape;
    ui::Window* owner = m_placeholder ? static_cast<ui::Window*>(m_placeholder->owner()) : nullptr;
    if (!ui::agent().printDialog(request, owner)) {
        error = "Printing was cancelled.";
        return false;
    }
    PrintOptions o = m_ctl->printOptions;
    if (request.fromPage > 1) o.firstPage = request.fromPage;
    if (request.toPage > 0) o.lastPage = request.toPage;
    if (request.landscape) o.landscape = true;
    PrintTarget target;
    if (request.outputFile.empty()) target.printerName = request.printerName;
    target.outputFile = request.outputFile;
    target.copies = request.copies;
    return printGrid(m_ctl->sheet(), o, target, jobName, error);
}

bool GridWidget::printTo(const PrintTarget& target, const std::string& jobName, std::string& error) {
    return printGrid(m_ctl->sheet(), m_ctl->printOptions, target, jobName, error);
}

void GridWidget::editRefused(const std::string& reason) {
    // Through the agent, so that a script answers it like any other question.
    ui::Window* owner = m_placeholder ? static_cast<ui::Window*>(m_placeholder->owner()) : nullptr;
    ui::messageBox(reason, owner ? owner->windowText() : std::string(), ui::MB_OK | ui::MB_ICONEXCLAMATION,
                   owner);
}

void GridWidget::setClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(qs(text));
}

std::string GridWidget::clipboardText() const {
    return QGuiApplication::clipboard()->text().toStdString();
}

QSize GridWidget::sizeHint() const {
    const Sheet& s = m_ctl->sheet();
    int w = headerWidth() + 2 * frameWidth(), h = headerHeight() + 2 * frameWidth();
    int cols = m_ctl->autoSizeCols > 0 ? m_ctl->autoSizeCols : 4;
    int rows = m_ctl->autoSizeRows > 0 ? m_ctl->autoSizeRows : 8;
    for (int c = 1; c <= cols; ++c)
        w += c <= s.maxCols() ? s.colWidthPixels(c) : 64;
    for (int r = 1; r <= rows; ++r)
        h += r <= s.maxRows() ? s.rowHeightPixels(r) : 20;
    return {w, h};
}

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

// --- public entry

namespace sheet {

using control::GridWidget;
using control::PreviewWidget;

SpreadControl* createSpreadControl(ui::Control* placeholder) {
    if (!placeholder || placeholder->kind() != ui::ControlKind::Placeholder || !placeholder->widget())
        return nullptr;
    auto* w = new GridWidget;
    placeholder->embed(w);
    if (placeholder->embedded() != w) {
        delete w;
        return nullptr;
    }
    w->placed(placeholder);
    return &w->control();
}

PreviewControl* createPreviewControl(ui::Control* placeholder, SpreadControl* grid) {
    if (!placeholder || placeholder->kind() != ui::ControlKind::Placeholder || !placeholder->widget())
        return nullptr;
    auto* w = new PreviewWidget(grid);
    placeholder->embed(w);
    if (placeholder->embedded() != w) {
        delete w;
        return nullptr;
    }
    return &w->control();
}

SpreadControl* spreadControlOf(const ui::Control* placeholder) {
    return placeholder ? spreadControlOf(placeholder->embedded()) : nullptr;
}

PreviewControl* previewControlOf(const ui::Control* placeholder) {
    return placeholder ? previewControlOf(placeholder->embedded()) : nullptr;
}

QWidget* createGridWidget(QWidget* parent) {
    return new GridWidget(parent);
}

QWidget* createPreviewWidget(SpreadControl* grid, QWidget* parent) {
    return new PreviewWidget(grid, parent);
}

SpreadControl* spreadControlOf(QWidget* widget) {
    auto* g = dynamic_cast<GridWidget*>(widget);
    return g ? &g->control() : nullptr;
}

PreviewControl* previewControlOf(QWidget* widget) {
    auto* p = dynamic_cast<PreviewWidget*>(widget);
    return p ? &p->control() : nullptr;
}

} // namespace sheet
