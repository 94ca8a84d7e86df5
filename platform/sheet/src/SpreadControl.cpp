// The grid control's state and the person's actions on it: moving, selecting, editing, clicks and
// the clipboard. The entry points are in SpreadControlCells.cpp and SpreadControlGrid.cpp.
#include <sheet/SpreadControl.h>

#include "SpreadControl_p.h"

#include <sheet/Export.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace sheet {

namespace {

// Without a view (tests, headless use) copy and paste still work within the process.
std::string& localClipboard() {
    static auto* text = new std::string;
    return *text;
}

std::size_t codePoints(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char ch : s)
        if ((ch & 0xC0) != 0x80) ++n;
    return n;
}

// The first `n` code points of a UTF-8 text.
std::string firstCodePoints(const std::string& s, std::size_t n) {
    std::size_t i = 0, seen = 0;
    for (; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (seen == n) break;
            ++seen;
        }
    }
    return s.substr(0, i);
}

std::vector<std::string> splitTabs(const std::string& items) {
    std::vector<std::string> out;
    if (items.empty()) return out;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = items.find('\t', start);
        out.push_back(items.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return out;
}

} // namespace

// --- SpreadControl

SpreadControl::SpreadControl() {
    reset();
}

SpreadControl::~SpreadControl() {
    std::vector<PreviewControl*> previews;
    previews.swap(m_previews); // setGrid(nullptr) unregisters from the list being walked
    for (PreviewControl* p : previews)
        p->setGrid(nullptr);
    if (m_listener) m_listener->destroyed(*this);
}

void SpreadControl::setView(SpreadView* v) {
    m_view = v;
}

void SpreadControl::redraw() {
    if (!m_sheet.option(Sheet::kOptRedraw)) return;
    if (m_view) m_view->redraw();
    for (PreviewControl* p : m_previews)
        if (p->redraw) p->redraw();
}

void SpreadControl::reset() {
    bool wasEditing = m_editing;
    m_editing = false;
    m_editText.clear();
    m_selStart = m_selEnd = 0;
    m_sheet.reset();
    // A fresh grid lets the user select blocks, resize columns and rows, and shows grid lines.
    m_sheet.setOption(kOptUserBlockSelect, true);
    m_sheet.setOption(kOptUserResize, true);
    m_sheet.setOption(kOptGridLines, true);
    enterAction = EnterAction::Down;
    operationMode = OperationMode::Normal;
    actionKeys[kActionClear] = {0x2e, false, false};   // Delete
    actionKeys[kActionCurrent] = {0x71, false, false}; // F2
    actionKeys[kActionPopup] = {0x73, false, false};   // F4
    selBackColor = rgb(0xC0, 0xD8, 0xF0);
    selTextColor = kDefaultColor;
    grayBackColor = rgb(0xE6, 0xE6, 0xE6);
    grayTextColor = 0;
    lockBackColor = lockTextColor = kDefaultColor;
    headerBackColor = rgb(0xF0, 0xF0, 0xF0);
    backColorStyle = 0;
    appearance = 1;
    noteIndicator = 0;
    textTipStatus = 0;
    textTipDelay = 500;
    autoSizeCols = autoSizeRows = 0;
    cursorType = cursorShape = 0;
    printOptions = PrintOptions{};
    sendingCell = {0, 0};
    m_anchor = {1, 1};
    if (wasEditing && m_view) m_view->editorChanged();
    redraw();
}

bool SpreadControl::hasBlock() const {
    CellRange s = m_sheet.selection();
    if (s.col1 == 0) return false;
    return !(s.col1 == s.col2 && s.row1 == s.row2);
}

CellRange SpreadControl::selectedBlock() const {
    if (hasBlock()) return m_sheet.selection();
    CellPos a = m_sheet.activeCell();
    return {a.col, a.row, a.col, a.row};
}

void SpreadControl::setActive(int col, int row) {
    CellPos from = m_sheet.activeCell();
    m_sheet.setActiveCell(col, row);
    if (!(from == CellPos{col, row})) {
        sendingCell = {col, row};
        if (m_listener) m_listener->activeCellChanged(*this, from, {col, row});
    }
}

void SpreadControl::notifySelection() {
    if (m_listener) m_listener->selectionChanged(*this, selectedBlock());
}

bool SpreadControl::moveActive(int col, int row, bool extend) {
    return moveTo(col, row, extend, true);
}

bool SpreadControl::setActiveFromCode(int col, int row) {
    if (m_editing && !commitEdit()) cancelEdit();
    return moveTo(col, row, false, false);
}

bool SpreadControl::moveTo(int col, int row, bool extend, bool ask) {
    if (m_sheet.maxCols() < 1 || m_sheet.maxRows() < 1) return false;
    col = std::clamp(col, 1, m_sheet.maxCols());
    row = std::clamp(row, 1, m_sheet.maxRows());
    if (m_editing && !(ask ? confirmEdit() : commitEdit())) return false;
    const bool rowModes = operationMode >= OperationMode::Row;
    if (extend && m_sheet.option(kOptUserBlockSelect) && !rowModes) {
        m_sheet.setSelection({std::min(m_anchor.col, col), std::min(m_anchor.row, row),
                              std::max(m_anchor.col, col), std::max(m_anchor.row, row)});
        m_extent = {col, row};
        notifySelection();
        if (m_view) m_view->showCell(col, row);
        redraw();
        return true;
    }
    CellPos from = m_sheet.activeCell();
    if (ask && !(from == CellPos{col, row}) && m_listener && !m_listener->leaveCell(*this, from, {col, row}))
        return false;
    CellRange before = selectedBlock();
    m_anchor = m_extent = {col, row};
    if (rowModes)
        m_sheet.setSelection({1, row, m_sheet.maxCols(), row});
    else
        m_sheet.setSelection({col, row, col, row});
    setActive(col, row);
    if (!(before == selectedBlock())) notifySelection();
    if (m_view) m_view->showCell(col, row);
    if (m_sheet.option(kOptEditModePermanent) && beginEdit()) {
        // Arriving in a cell selects its text, so that typing replaces it as in a fresh cell.
        setEditSel(0, -1);
        if (m_view) m_view->editorChanged();
    }
    redraw();
    return true;
}

bool SpreadControl::selectBlock(CellPos a, CellPos b) {
    if (m_sheet.maxCols() < 1 || m_sheet.maxRows() < 1) return false;
    if (m_editing && !commitEdit()) return false;
    CellRange r = m_sheet.clampRange({a.col, a.row, b.col, b.row});
    r.col1 = std::max(r.col1, 1);
    r.row1 = std::max(r.row1, 1);
    if (r.col1 > r.col2 || r.row1 > r.row2) return false;
    if (!m_sheet.option(kOptUserBlockSelect) && !(r.col1 == r.col2 && r.row1 == r.row2)) return false;
    int ac = a.col == kAll ? r.col1 : std::clamp(a.col, r.col1, r.col2);
    int ar = a.row == kAll ? r.row1 : std::clamp(a.row, r.row1, r.row2);
    CellPos from = m_sheet.activeCell();
    if (!(from == CellPos{ac, ar}) && m_listener && !m_listener->leaveCell(*this, from, {ac, ar}))
        return false;
    m_anchor = {ac, ar};
    m_extent = {b.col == kAll ? r.col2 : std::clamp(b.col, r.col1, r.col2),
                b.row == kAll ? r.row2 : std::clamp(b.row, r.row1, r.row2)};
    m_sheet.setSelection(r);
    setActive(ac, ar);
    notifySelection();
    redraw();
    return true;
}

bool SpreadControl::canEdit(int col, int row) const {
    if (operationMode == OperationMode::ReadOnly || operationMode >= OperationMode::Single) return false;
    if (col < 1 || row < 1 || col > m_sheet.maxCols() || row > m_sheet.maxRows()) return false;
    if (m_sheet.option(kOptProtect) && m_sheet.style(col, row).locked) return false;
    switch (m_sheet.cellType(col, row).kind) {
    case CellKind::StaticText:
    case CellKind::Picture:
    case CellKind::Button:
        return false;
    default:
        return true;
    }
}

bool SpreadControl::beginEdit(const std::string* replaceWith) {
    if (m_editing) return true;
    CellPos a = m_sheet.activeCell();
    if (!canEdit(a.col, a.row)) return false;
    const CellType& t = m_sheet.cellType(a.col, a.row);
    if (t.kind == CellKind::CheckBox) return false;
    if (t.kind == CellKind::ComboBox && !t.editable) return false;
    // What the cell holds in the editor's terms: typing the same again changes nothing, while a
    // typed value over a formula replaces the formula.
    m_editStart =
        m_sheet.hasFormula(a.col, a.row) ? "=" + m_sheet.formula(a.col, a.row) : m_sheet.data(a.col, a.row);
    // A grouped number opens without its grouping: "1,234" edited to "1,235" would read as a
    // decimal comma.
    if (const Value v = m_sheet.value(a.col, a.row);
        t.kind == CellKind::Number && t.thousands && v.isNumber() && !m_sheet.hasFormula(a.col, a.row))
        m_editStart = formatFixed(v.number, t.decimals, false);
    m_editing = true;
    m_editText.clear();
    setEditText(replaceWith ? *replaceWith : m_editStart);
    m_selStart = m_selEnd = int(codePoints(m_editText));
    sendingCell = a;
    if (m_listener) m_listener->editModeChanged(*this, a.col, a.row, true, false);
    if (m_view) m_view->editorChanged();
    redraw();
    return true;
}

void SpreadControl::setEditText(const std::string& text) {
    if (!m_editing) return;
    CellPos a = m_sheet.activeCell();
    const CellType& t = m_sheet.cellType(a.col, a.row);
    m_editText = t.maxLength > 0 ? firstCodePoints(text, std::size_t(t.maxLength)) : text;
    int n = int(codePoints(m_editText));
    m_selStart = std::min(m_selStart, n);
    m_selEnd = std::min(m_selEnd, n);
}

void SpreadControl::setEditSel(int start, int end) {
    int n = int(codePoints(m_editText));
    if (end < 0) end = n;
    m_selStart = std::clamp(start, 0, n);
    m_selEnd = std::clamp(end, m_selStart, n);
}

bool SpreadControl::writeCell(int col, int row, const std::string& text) {
    const CellType& t = m_sheet.cellType(col, row);
    if (text.size() > 1 && text[0] == '=' && t.kind != CellKind::Edit) {
        ParseError err;
        if (!m_sheet.setFormula(col, row, std::string_view(text).substr(1), &err)) {
            m_lastError = "The formula cannot be read at position " + std::to_string(err.position + 1) +
                          ": " + err.message;
            return false;
        }
        return true;
    }
    if (t.kind == CellKind::Number && !text.empty()) {
        // "1,5" and "1.5" are both one and a half; grouping counts only where it cannot be read
        // otherwise ("1.234,5"); anything else is refused so that the cell never holds a number
        // the person did not mean.
        double n = 0;
        switch (readTypedNumber(text, n)) {
        case base::TypedNumber::Number:
            break;
        case base::TypedNumber::Empty:
            return m_sheet.setData(col, row, "");
        case base::TypedNumber::Ambiguous:
            m_lastError = "\"" + text +
                          "\" can be read as more than one number. Type it with one decimal separator "
                          "and no thousands separators, for example 1234,5 or 1234.5.";
            return false;
        case base::TypedNumber::NotNumber:
            m_lastError = "\"" + text + "\" is not a number.";
            return false;
        }
        if (n < t.minimum || n > t.maximum) {
            m_lastError = "The number must lie between " + formatGeneral(t.minimum) + " and " +
                          formatGeneral(t.maximum) + ".";
            return false;
        }
        return m_sheet.setNumber(col, row, n);
    }
    return m_sheet.setData(col, row, text);
}

void SpreadControl::changedByUser(int col, int row) {
    m_sheet.setOption(Sheet::kOptChangeMade, true);
    sendingCell = {col, row};
    if (m_listener) m_listener->dataChanged(*this, col, row);
}

bool SpreadControl::confirmEdit() {
    if (!m_editing || commitEdit()) return true;
    if (m_view) m_view->editRefused(m_lastError);
    return false;
}

bool SpreadControl::commitEdit() {
    if (!m_editing) return true;
    CellPos a = m_sheet.activeCell();
    bool changed = m_editText != m_editStart;
    if (changed && !writeCell(a.col, a.row, m_editText)) return false;
    m_editing = false;
    if (changed) changedByUser(a.col, a.row);
    if (m_listener) m_listener->editModeChanged(*this, a.col, a.row, false, changed);
    if (m_view) m_view->editorChanged();
    redraw();
    return true;
}

void SpreadControl::cancelEdit() {
    if (!m_editing) return;
    m_editing = false;
    CellPos a = m_sheet.activeCell();
    if (m_listener) m_listener->editModeChanged(*this, a.col, a.row, false, false);
    if (m_view) m_view->editorChanged();
    redraw();
}

bool SpreadControl::pressEnter() {
    if (!confirmEdit()) return false;
    CellPos a = m_sheet.activeCell();
    int c = a.col, r = a.row;
    switch (enterAction) {
    case EnterAction::None:
    case EnterAction::Same:
        return true;
    case EnterAction::Up:
        --r;
        break;
    case EnterAction::Down:
        ++r;
        break;
    case EnterAction::Left:
        --c;
        break;
    case EnterAction::Right:
        ++c;
        break;
    case EnterAction::Next:
        if (++c > m_sheet.maxCols()) c = 1, ++r;
        break;
    case EnterAction::Previous:
        if (--c < 1) c = m_sheet.maxCols(), --r;
        break;
    case EnterAction::NextRow:
        c = 1, ++r;
        break;
    }
    if (c < 1 || r < 1 || c > m_sheet.maxCols() || r > m_sheet.maxRows()) return true; // stays at the edge
    return moveActive(c, r);
}

bool SpreadControl::pressTab(bool forward) {
    if (!confirmEdit()) return false;
    if (m_sheet.maxCols() < 1 || m_sheet.maxRows() < 1)
        return m_listener && m_listener->tabOut(*this, forward);
    CellPos a = m_sheet.activeCell();
    int c = a.col + (forward ? 1 : -1), r = a.row;
    if (c > m_sheet.maxCols()) c = 1, ++r;
    if (c < 1) c = m_sheet.maxCols(), --r;
    if (r < 1 || r > m_sheet.maxRows()) return m_listener && m_listener->tabOut(*this, forward);
    return moveActive(c, r);
}

bool SpreadControl::toggleCheck(int col, int row) {
    if (m_sheet.cellType(col, row).kind != CellKind::CheckBox || !canEdit(col, row)) return false;
    bool on = !(m_sheet.value(col, row).number != 0 || m_sheet.data(col, row) == "1");
    m_sheet.setData(col, row, on ? "1" : "0");
    changedByUser(col, row);
    if (m_listener) m_listener->checkBoxToggled(*this, col, row, on);
    redraw();
    return true;
}

bool SpreadControl::pressButton(int col, int row) {
    if (m_sheet.cellType(col, row).kind != CellKind::Button || operationMode == OperationMode::ReadOnly)
        return false;
    sendingCell = {col, row};
    if (m_listener) m_listener->buttonClicked(*this, col, row);
    return true;
}

bool SpreadControl::chooseComboItem(int col, int row, int index) {
    const CellType& t = m_sheet.cellType(col, row);
    if (t.kind != CellKind::ComboBox || !canEdit(col, row)) return false;
    auto items = splitTabs(t.items);
    if (index < 0 || index >= int(items.size())) return false;
    if (m_editing) cancelEdit();
    m_sheet.setData(col, row, items[std::size_t(index)]);
    changedByUser(col, row);
    if (m_listener) m_listener->comboSelected(*this, col, row, index);
    redraw();
    return true;
}

bool SpreadControl::clearSelection() {
    if (m_editing) cancelEdit();
    CellRange b = selectedBlock();
    bool any = false;
    HoldRecalc hold(m_sheet);
    for (int c = b.col1; c <= b.col2; ++c)
        for (int r = b.row1; r <= b.row2; ++r)
            if (canEdit(c, r) && !m_sheet.data(c, r).empty()) {
                m_sheet.clearContents({c, r, c, r});
                any = true;
            }
    if (any) changedByUser(b.col1, b.row1);
    redraw();
    return any;
}

bool SpreadControl::moveRow(int from, int to) {
    int n = m_sheet.maxRows();
    if (from < 1 || to < 1 || from > n || to > n || m_sheet.maxCols() < 1) return false;
    if (from == to) return true;
    if (m_editing && !commitEdit()) return false;
    // Adjacent swaps carry the row along; formulas that refer to the rows follow them.
    int step = to > from ? 1 : -1;
    for (int r = from; r != to; r += step)
        if (!m_sheet.swapRange({1, r, m_sheet.maxCols(), r}, {1, r + step})) return false;
    CellPos a = m_sheet.activeCell();
    if (a.row == from) {
        m_sheet.setActiveCell(a.col, to);
        m_anchor = m_extent = {a.col, to};
        m_sheet.setSelection({a.col, to, a.col, to});
    }
    m_sheet.setOption(Sheet::kOptChangeMade, true);
    sendingCell = {a.col, to};
    if (m_listener) m_listener->rowMoved(*this, from, to);
    if (m_view) m_view->showCell(a.col, to);
    redraw();
    return true;
}

bool SpreadControl::userResize(bool column, int index, int pixels) {
    bool ok = column ? m_sheet.setColWidthPixels(index, pixels) : m_sheet.setRowHeightPixels(index, pixels);
    if (!ok) return false;
    if (m_listener) m_listener->userResized(*this, column, index);
    redraw();
    return true;
}

bool SpreadControl::copyToClipboard() {
    if (m_sheet.maxCols() < 1 || m_sheet.maxRows() < 1) return false;
    std::string text = clipboardCopy(m_sheet, selectedBlock());
    if (m_view)
        m_view->setClipboardText(text);
    else
        localClipboard() = text;
    return true;
}

bool SpreadControl::pasteFromClipboard() {
    std::string text = m_view ? m_view->clipboardText() : localClipboard();
    if (text.empty()) return false;
    if (m_editing) cancelEdit();
    CellRange b = selectedBlock();
    if (!canEdit(b.col1, b.row1)) return false;
    CellRange written = clipboardPaste(m_sheet, {b.col1, b.row1}, text);
    if (written.col1 == 0) return false;
    changedByUser(written.col1, written.row1);
    redraw();
    return true;
}

void SpreadControl::rightClick(int col, int row, int screenX, int screenY) {
    sendingCell = {col, row};
    if (m_listener) m_listener->rightClick(*this, col, row, screenX, screenY);
}

void SpreadControl::doubleClick(int col, int row) {
    sendingCell = {col, row};
    if (m_listener) m_listener->doubleClick(*this, col, row);
}

void SpreadControl::sizeChanged(int width, int height) {
    if (m_listener) m_listener->sizeChanged(*this, width, height);
}

void SpreadControl::textSize(const std::string& text, const Font& font, double& width, double& height) const {
    if (m_view) return m_view->textSize(text, font, width, height);
    // An estimate for headless use: an average character is about 0.55 em wide.
    double em = font.height * 96.0 / 72.0;
    std::size_t longest = 0, lines = 1, run = 0;
    for (unsigned char ch : text) {
        if (ch == '\n') {
            ++lines;
            longest = std::max(longest, run);
            run = 0;
        } else if ((ch & 0xC0) != 0x80) {
            ++run;
        }
    }
    longest = std::max(longest, run);
    width = std::ceil(double(longest) * em * 0.55);
    height = std::ceil(double(lines) * em * 1.2);
}

void SpreadControl::cellTextSize(int col, int row, double& width, double& height) const {
    std::string text = m_sheet.data(col, row);
    if (text.empty() && row == 0 && col > 0) text = columnName(col);
    if (text.empty() && col == 0 && row > 0) text = std::to_string(row);
    const CellType& t = m_sheet.cellType(col, row);
    if (t.kind == CellKind::Button || t.kind == CellKind::CheckBox) text = t.text.empty() ? text : t.text;
    if (t.kind == CellKind::CheckBox) text = t.text; // the box shows its caption, not "1"/"0"
    width = height = 0;
    if (!text.empty()) textSize(text, m_sheet.style(col, row).font, width, height);
    width += t.kind == CellKind::CheckBox ? 22 : 6; // room for the box or the cell padding
    if (t.kind == CellKind::ComboBox) width += 16;  // the drop-down button
    height += 4;
}

int SpreadControl::wrappedCellHeight(int col, int row) const {
    const CellType& t = m_sheet.cellType(col, row);
    if (!t.multiLine && !(t.style & kWordWrap)) return 0;
    if (t.kind == CellKind::CheckBox || t.kind == CellKind::Button || t.kind == CellKind::Picture) return 0;
    if (t.style & kRotationMask) return 0; // turned text runs along the row, not down it
    CellRange span;
    if (m_sheet.spanAt(col, row, span)) return 0;
    const std::string text = m_sheet.data(col, row);
    if (text.empty()) return 0;
    // The grid draws text inside the cell less 2 pixels left, 3 right, 1 above and 2 below; a
    // drop-down cell also leaves room for its button.
    int width = m_sheet.colWidthPixels(col) - 5;
    if (t.kind == CellKind::ComboBox) width -= 18;
    if (width < 1) return 0;
    const Font& font = m_sheet.style(col, row).font;
    double h = m_view ? m_view->wrappedTextHeight(text, font, width) : -1;
    if (h < 0) {
        // The estimate of textSize, line by line: an average character is about 0.55 em wide.
        const double em = font.height * 96.0 / 72.0;
        const double perLine = std::max(1.0, std::floor(width / std::max(1.0, em * 0.55)));
        double lines = 0;
        std::size_t run = 0;
        auto endLine = [&] {
            lines += std::max(1.0, std::ceil(double(run) / perLine));
            run = 0;
        };
        for (unsigned char ch : text)
            if (ch == '\n')
                endLine();
            else if ((ch & 0xC0) != 0x80)
                ++run;
        endLine();
        h = std::ceil(lines * em * 1.2);
    }
    return int(std::ceil(h)) + 4;
}

void SpreadControl::fitRowHeights() {
    if (!m_sheet.hasRowsToFit()) return;
    const int cols = m_sheet.maxCols();
    m_sheet.takeRowsToFit([&](int first, int last) {
        // The stored cells of the noted rows, column by column: a table that declares millions of
        // empty rows costs what it holds.
        std::map<int, int> tallest;
        if (cols > 0)
            m_sheet.forEachStoredCell({1, first, cols, last}, [&](int col, int row, const Value&) {
                if (m_sheet.rowHeightSet(row)) return;
                if (int h = wrappedCellHeight(col, row); h > 0) tallest[row] = std::max(tallest[row], h);
            });
        m_sheet.clearGrownRows(first, last);
        for (const auto& [row, h] : tallest)
            m_sheet.setGrownRowHeight(row, h);
    });
}

void SpreadControl::addPreview(PreviewControl* p) {
    if (std::find(m_previews.begin(), m_previews.end(), p) == m_previews.end()) m_previews.push_back(p);
}

void SpreadControl::removePreview(PreviewControl* p) {
    std::erase(m_previews, p);
}

// --- PreviewControl

PreviewControl::PreviewControl(SpreadControl* grid) {
    setGrid(grid);
}

PreviewControl::~PreviewControl() {
    if (m_grid) m_grid->removePreview(this);
}

void PreviewControl::setGrid(SpreadControl* g) {
    if (m_grid == g) return;
    if (m_grid) m_grid->removePreview(this);
    m_grid = g;
    if (m_grid) m_grid->addPreview(this);
    currentPage = 1;
    if (redraw) redraw();
}

int PreviewControl::pageCount() const {
    if (!m_grid) return 0;
    m_grid->fitRowHeights();
    return PrintLayout(m_grid->sheet(), m_grid->printOptions).pageCount();
}

} // namespace sheet
