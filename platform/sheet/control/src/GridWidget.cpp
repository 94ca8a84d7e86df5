// The grid widget: its set-up, layout and scrolling, the view the control talks to, script access
// and the public entry points. Painting and input have their own sources.
#include "GridWidget_p.h"

#include "GridUtil_p.h"
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
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <limits>

namespace sheet::control {

namespace {

constexpr int kEdgeGrip = 3; // pixels either side of a header edge that start a resize

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

int qtKeyOf(char32_t ch) {
    if (ch >= 'a' && ch <= 'z') return int(ch - 'a' + 'A');
    if (ch > 0x20 && ch < 0x7f) return int(ch);
    return ch == ' ' ? Qt::Key_Space : Qt::Key_unknown;
}

} // namespace

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
    m_ctl->fitRowHeights(); // rows grown or shrunk for their wrapped texts count here
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
        // With its signals blocked the scroll area does not learn the new ranges, and it shows or
        // hides a bar only when told: a table opened with more rows than fit kept its vertical bar
        // hidden. The bars are shown as the ranges ask, at once, so that this loop settles on them.
        setVerticalScrollBarPolicy(v->maximum() > 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(h->maximum() > 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
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
    m_ctl->fitRowHeights();
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

double GridWidget::wrappedTextHeight(const std::string& text, const Font& font, int width) const {
    // As paintCell draws it: word wrap inside the text rectangle.
    QFontMetrics fm(qtFont(font), viewport());
    return fm
        .boundingRect(QRect(0, 0, width, 100000), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, qs(text))
        .height();
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
    m_ctl->fitRowHeights(); // the paper shows the rows as tall as the screen does
    return printGrid(m_ctl->sheet(), o, target, jobName, error);
}

bool GridWidget::printTo(const PrintTarget& target, const std::string& jobName, std::string& error) {
    m_ctl->fitRowHeights();
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
