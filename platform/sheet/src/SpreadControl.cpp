#include <sheet/SpreadControl.h>

#include <sheet/Export.h>
#include <sheet/SssFile.h>
#include <sheet/XlsWriter.h>

#include <algorithm>
#include <cmath>

namespace sheet {

namespace {

// Without a view (tests, headless use) copy and paste still work within the process.
std::string& localClipboard() {
    static auto* text = new std::string;
    return *text;
}

// Options that describe how this grid behaves rather than what the table holds; a loaded file
// does not change them.
constexpr int kControlOptions[] = {kOptUserBlockSelect, kOptUserResize, Sheet::kOptRedraw,
                                   kOptProtect,         kOptGridLines,  kOptEditModePermanent};

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

// Recalculation is held while a block is written cell by cell, then done once.
struct HoldRecalc {
    explicit HoldRecalc(Sheet& s)
        : s(s)
        , was(s.option(Sheet::kOptAutoRecalc)) {
        s.setOption(Sheet::kOptAutoRecalc, false);
    }
    ~HoldRecalc() { s.setOption(Sheet::kOptAutoRecalc, was); }
    Sheet& s;
    bool was;
};

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
    return PrintLayout(m_grid->sheet(), m_grid->printOptions).pageCount();
}

// --- entry points

namespace {

// In single-cell functions kAll addresses the header row or column.
int headerOr(int v) {
    return v == kAll ? 0 : v;
}

bool cellInside(SpreadControl* c, int& col, int& row) {
    if (!c) return false;
    col = headerOr(col);
    row = headerOr(row);
    return c->sheet().inside(col, row);
}

int giveText(std::string text, std::string& out) {
    out = std::move(text);
    return int(out.size());
}

// Applies a format change to a block; kAll spans whole columns or rows.
template <class Fn> bool onBlock(SpreadControl* c, int col, int row, int col2, int row2, Fn&& fn) {
    if (!c) return false;
    bool ok = fn(CellRange{col, row, col2, row2});
    if (ok) c->redraw();
    return ok;
}

} // namespace

bool SSSetBool(SpreadControl* c, int option, bool on) {
    if (!c || !c->sheet().setOption(option, on)) return false;
    if (option == kOptEditModePermanent && !on && c->editing()) c->commitEdit();
    c->redraw();
    return true;
}

bool SSGetBool(SpreadControl* c, int option) {
    return c && c->sheet().option(option);
}

SS_COORD SSGetMaxCols(SpreadControl* c) {
    return c ? c->sheet().maxCols() : -1;
}

SS_COORD SSGetMaxRows(SpreadControl* c) {
    return c ? c->sheet().maxRows() : -1;
}

namespace {
// After the grid shrank: the active cell and the block stay inside it.
void keepInside(SpreadControl* c) {
    Sheet& s = c->sheet();
    CellPos a = s.activeCell();
    if (c->editing() && (a.col > s.maxCols() || a.row > s.maxRows())) c->cancelEdit();
    s.setActiveCell(std::clamp(a.col, 1, std::max(1, s.maxCols())),
                    std::clamp(a.row, 1, std::max(1, s.maxRows())));
    CellRange sel = s.selection();
    if (sel.col1 != 0) {
        sel.col2 = std::min(sel.col2, s.maxCols());
        sel.row2 = std::min(sel.row2, s.maxRows());
        if (sel.col1 > sel.col2 || sel.row1 > sel.row2) sel = {};
        s.setSelection(sel);
    }
}
} // namespace

bool SSSetMaxCols(SpreadControl* c, SS_COORD n) {
    if (!c || !c->sheet().setMaxCols(n)) return false;
    keepInside(c);
    c->redraw();
    return true;
}

bool SSSetMaxRows(SpreadControl* c, SS_COORD n) {
    if (!c || !c->sheet().setMaxRows(n)) return false;
    keepInside(c);
    c->redraw();
    return true;
}

int SSGetData(SpreadControl* c, SS_COORD col, SS_COORD row, std::string& out) {
    if (!cellInside(c, col, row)) return -1;
    return giveText(c->sheet().data(col, row), out);
}

int SSGetDataLen(SpreadControl* c, SS_COORD col, SS_COORD row) {
    if (!cellInside(c, col, row)) return -1;
    return int(c->sheet().data(col, row).size());
}

bool SSSetData(SpreadControl* c, SS_COORD col, SS_COORD row, const std::string& text) {
    if (!cellInside(c, col, row) || !c->sheet().setData(col, row, text)) return false;
    c->redraw();
    return true;
}

bool SSSetDataRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2,
                    const std::string& text) {
    if (!c) return false;
    CellRange b = c->sheet().clampRange({col, row, col2, row2});
    if (b.col1 > b.col2 || b.row1 > b.row2) return false;
    {
        HoldRecalc hold(c->sheet());
        for (int x = b.col1; x <= b.col2; ++x)
            for (int y = b.row1; y <= b.row2; ++y)
                c->sheet().setData(x, y, text);
    }
    c->redraw();
    return true;
}

int SSGetFormula(SpreadControl* c, SS_COORD col, SS_COORD row, std::string& out) {
    if (!cellInside(c, col, row)) return -1;
    return giveText(c->sheet().formula(col, row), out);
}

int SSGetFormulaLen(SpreadControl* c, SS_COORD col, SS_COORD row) {
    if (!cellInside(c, col, row)) return -1;
    return int(c->sheet().formula(col, row).size());
}

bool SSSetFormula(SpreadControl* c, SS_COORD col, SS_COORD row, const std::string& formula) {
    if (!cellInside(c, col, row)) return false;
    ParseError err;
    if (!c->sheet().setFormula(col, row, formula, &err)) {
        c->setLastError("The formula cannot be read at position " + std::to_string(err.position + 1) + ": " +
                        err.message);
        return false;
    }
    c->redraw();
    return true;
}

bool SSSetFormulaRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2,
                       const std::string& formula) {
    if (!c) return false;
    CellRange b = c->sheet().clampRange({col, row, col2, row2});
    if (b.col1 > b.col2 || b.row1 > b.row2) return false;
    bool ok = true;
    {
        HoldRecalc hold(c->sheet());
        for (int x = b.col1; x <= b.col2 && ok; ++x)
            for (int y = b.row1; y <= b.row2 && ok; ++y)
                ok = c->sheet().setFormula(x, y, formula);
    }
    c->redraw();
    return ok;
}

int SSGetValue(SpreadControl* c, SS_COORD col, SS_COORD row, std::string& out) {
    if (!cellInside(c, col, row)) return -1;
    return giveText(c->sheet().valueText(col, row), out);
}

int SSGetValueLen(SpreadControl* c, SS_COORD col, SS_COORD row) {
    if (!cellInside(c, col, row)) return -1;
    return int(c->sheet().valueText(col, row).size());
}

bool SSSetValue(SpreadControl* c, SS_COORD col, SS_COORD row, const std::string& value) {
    return SSSetData(c, col, row, value);
}

bool SSGetFloat(SpreadControl* c, SS_COORD col, SS_COORD row, double& out) {
    if (!cellInside(c, col, row)) return false;
    Value v = c->sheet().value(col, row);
    if (!v.isNumber()) return false;
    out = v.number;
    return true;
}

bool SSGetBlockCommonText(SpreadControl* c, const CellRange& block, int kind, std::string& out) {
    if (!c || kind < 0 || kind > 3) return false;
    return c->sheet().blockCommonText(block, Sheet::CellText(kind), out);
}

bool SSSetFloat(SpreadControl* c, SS_COORD col, SS_COORD row, double v) {
    if (!cellInside(c, col, row) || !std::isfinite(v) || !c->sheet().setNumber(col, row, v)) return false;
    c->redraw();
    return true;
}

int SSGetCellTag(SpreadControl* c, SS_COORD col, SS_COORD row, std::string& out) {
    if (!cellInside(c, col, row)) return -1;
    return giveText(c->sheet().tag(col, row), out);
}

bool SSSetCellTag(SpreadControl* c, SS_COORD col, SS_COORD row, const std::string& tag) {
    return cellInside(c, col, row) && c->sheet().setTag(col, row, tag);
}

int SSGetCellNote(SpreadControl* c, SS_COORD col, SS_COORD row, std::string& out) {
    if (!cellInside(c, col, row)) return -1;
    return giveText(c->sheet().note(col, row), out);
}

bool SSSetCellNote(SpreadControl* c, SS_COORD col, SS_COORD row, const std::string& note) {
    if (!cellInside(c, col, row) || !c->sheet().setNote(col, row, note)) return false;
    c->redraw();
    return true;
}

bool SSSetCellNoteIndicator(SpreadControl* c, int indicator) {
    if (!c || indicator < 0 || indicator > 1) return false;
    c->noteIndicator = indicator;
    c->redraw();
    return true;
}

bool SSGetTextTip(SpreadControl* c, int& status, int& delayMs) {
    if (!c) return false;
    status = c->textTipStatus;
    delayMs = c->textTipDelay;
    return true;
}

bool SSSetTextTip(SpreadControl* c, int status, int delayMs) {
    if (!c || status < 0 || status > 4 || delayMs < 0) return false;
    c->textTipStatus = status;
    c->textTipDelay = delayMs;
    return true;
}

bool SSAddCellSpan(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD numCols, SS_COORD numRows) {
    if (!c || !c->sheet().addSpan(col, row, numCols, numRows)) return false;
    c->redraw();
    return true;
}

bool SSRemoveCellSpan(SpreadControl* c, SS_COORD col, SS_COORD row) {
    if (!c) return false;
    CellRange s;
    if (!c->sheet().spanAt(col, row, s) || !c->sheet().removeSpan(s.col1, s.row1)) return false;
    c->redraw();
    return true;
}

int SSGetCellSpan(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD& anchorCol, SS_COORD& anchorRow,
                  SS_COORD& numCols, SS_COORD& numRows) {
    CellRange s;
    if (!c || !c->sheet().spanAt(col, row, s)) return kSpanNo;
    anchorCol = s.col1;
    anchorRow = s.row1;
    numCols = s.col2 - s.col1 + 1;
    numRows = s.row2 - s.row1 + 1;
    return s.col1 == col && s.row1 == row ? kSpanAnchor : kSpanYes;
}

CellType* SSSetTypeEdit(SpreadControl* c, CellType& t, std::uint32_t style, int maxLength, bool multiLine) {
    if (!c || maxLength < 0) return nullptr;
    t = CellType{};
    t.kind = CellKind::Edit;
    t.style = style;
    t.maxLength = maxLength;
    t.multiLine = multiLine;
    return &t;
}

CellType* SSSetTypeNumber(SpreadControl* c, CellType& t, std::uint32_t style, int decimals, double minimum,
                          double maximum, bool thousands) {
    if (!c || decimals < 0 || decimals > 15 || !(minimum <= maximum)) return nullptr;
    t = CellType{};
    t.kind = CellKind::Number;
    t.style = style;
    t.decimals = decimals;
    t.minimum = minimum;
    t.maximum = maximum;
    t.thousands = thousands;
    return &t;
}

CellType* SSSetTypePicture(SpreadControl* c, CellType& t, std::uint32_t style, const std::string& picture) {
    if (!c) return nullptr;
    t = CellType{};
    t.kind = CellKind::Picture;
    t.style = style;
    t.picture = picture;
    return &t;
}

CellType* SSSetTypeComboBox(SpreadControl* c, CellType& t, std::uint32_t style, const std::string& items,
                            bool editable) {
    if (!c) return nullptr;
    t = CellType{};
    t.kind = CellKind::ComboBox;
    t.style = style;
    t.items = items;
    t.editable = editable;
    return &t;
}

CellType* SSSetTypeCheckBox(SpreadControl* c, CellType& t, std::uint32_t style, const std::string& text,
                            const std::string& pictureOff, const std::string& pictureOn, bool framed) {
    if (!c) return nullptr;
    t = CellType{};
    t.kind = CellKind::CheckBox;
    t.style = style;
    t.text = text;
    t.picture = pictureOff;
    t.picture2 = pictureOn;
    t.framed = framed;
    return &t;
}

CellType* SSSetTypeButton(SpreadControl* c, CellType& t, std::uint32_t style, const std::string& text) {
    if (!c) return nullptr;
    t = CellType{};
    t.kind = CellKind::Button;
    t.style = style;
    t.text = text;
    return &t;
}

CellType* SSSetTypeStaticText(SpreadControl* c, CellType& t, std::uint32_t style) {
    if (!c) return nullptr;
    t = CellType{};
    t.kind = CellKind::StaticText;
    t.style = style;
    return &t;
}

bool SSSetCellType(SpreadControl* c, SS_COORD col, SS_COORD row, const CellType& t) {
    return SSSetCellTypeRange(c, col, row, col, row, t);
}

bool SSSetCellTypeRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2,
                        const CellType& t) {
    return onBlock(c, col, row, col2, row2, [&](const CellRange& r) { return c->sheet().setCellType(r, t); });
}

bool SSGetCellType(SpreadControl* c, SS_COORD col, SS_COORD row, CellType& out) {
    if (!cellInside(c, col, row)) return false;
    out = c->sheet().cellType(col, row);
    return true;
}

bool SSSetColor(SpreadControl* c, SS_COORD col, SS_COORD row, std::uint32_t back, std::uint32_t text) {
    return SSSetColorRange(c, col, row, col, row, back, text);
}

bool SSSetColorRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2,
                     std::uint32_t back, std::uint32_t text) {
    return onBlock(c, col, row, col2, row2,
                   [&](const CellRange& r) { return c->sheet().setColors(r, back, text); });
}

bool SSGetColor(SpreadControl* c, SS_COORD col, SS_COORD row, std::uint32_t& back, std::uint32_t& text) {
    if (!cellInside(c, col, row)) return false;
    const CellStyle& s = c->sheet().style(col, row);
    back = s.backColor;
    text = s.textColor;
    return true;
}

bool SSSetSelColor(SpreadControl* c, std::uint32_t back, std::uint32_t text) {
    if (!c) return false;
    c->selBackColor = back;
    c->selTextColor = text;
    c->redraw();
    return true;
}

bool SSSetBackColorStyle(SpreadControl* c, int style) {
    if (!c || style < 0 || style > 3) return false;
    c->backColorStyle = style;
    c->redraw();
    return true;
}

bool SSSetGrayAreaColor(SpreadControl* c, std::uint32_t back, std::uint32_t text) {
    if (!c) return false;
    c->grayBackColor = back;
    c->grayTextColor = text;
    c->redraw();
    return true;
}

bool SSSetLockColor(SpreadControl* c, std::uint32_t back, std::uint32_t text) {
    if (!c) return false;
    c->lockBackColor = back;
    c->lockTextColor = text;
    c->redraw();
    return true;
}

bool SSSetFont(SpreadControl* c, SS_COORD col, SS_COORD row, const Font& font) {
    return SSSetFontRange(c, col, row, col, row, font);
}

bool SSSetFontRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2,
                    const Font& font) {
    if (font.height <= 0 || font.face.empty()) return false;
    return onBlock(c, col, row, col2, row2, [&](const CellRange& r) { return c->sheet().setFont(r, font); });
}

bool SSGetFont(SpreadControl* c, SS_COORD col, SS_COORD row, Font& out) {
    if (!cellInside(c, col, row)) return false;
    out = c->sheet().style(col, row).font;
    return true;
}

bool SSSetBorder(SpreadControl* c, SS_COORD col, SS_COORD row, int sides, int style, std::uint32_t color) {
    return SSSetBorderRange(c, col, row, col, row, sides, style, color);
}

bool SSSetBorderRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2, int sides,
                      int style, std::uint32_t color) {
    if (sides < 0 || sides > 15 || style < 0 || style > 15) return false;
    return onBlock(c, col, row, col2, row2,
                   [&](const CellRange& r) { return c->sheet().setBorder(r, sides, style, color); });
}

bool SSGetBorder(SpreadControl* c, SS_COORD col, SS_COORD row, int& sides, int& style, std::uint32_t& color) {
    if (!cellInside(c, col, row)) return false;
    const CellStyle& s = c->sheet().style(col, row);
    sides = 0;
    style = 0;
    color = 0;
    for (int i = 3; i >= 0; --i)
        if (s.border[i].style != 0) {
            sides |= 1 << i;
            style = s.border[i].style;
            color = s.border[i].color;
        }
    return true;
}

bool SSSetLock(SpreadControl* c, SS_COORD col, SS_COORD row, bool locked) {
    return SSSetLockRange(c, col, row, col, row, locked);
}

bool SSSetLockRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2, bool locked) {
    return onBlock(c, col, row, col2, row2,
                   [&](const CellRange& r) { return c->sheet().setLock(r, locked); });
}

bool SSGetLock(SpreadControl* c, SS_COORD col, SS_COORD row) {
    return cellInside(c, col, row) && c->sheet().style(col, row).locked;
}

bool SSSetColWidth(SpreadControl* c, SS_COORD col, double width) {
    if (!c || !c->sheet().setColWidth(col, width)) return false;
    c->redraw();
    return true;
}

bool SSGetColWidth(SpreadControl* c, SS_COORD col, double& width) {
    if (!c || !c->sheet().inside(headerOr(col), 0)) return false;
    width = c->sheet().colWidth(headerOr(col));
    return true;
}

bool SSSetColWidthInPixels(SpreadControl* c, SS_COORD col, int pixels) {
    if (!c || !c->sheet().setColWidthPixels(col, pixels)) return false;
    c->redraw();
    return true;
}

bool SSGetColWidthInPixels(SpreadControl* c, SS_COORD col, int& pixels) {
    if (!c || !c->sheet().inside(headerOr(col), 0)) return false;
    pixels = c->sheet().colWidthPixels(headerOr(col));
    return true;
}

bool SSSetRowHeight(SpreadControl* c, SS_COORD row, double height) {
    if (!c || !c->sheet().setRowHeight(row, height)) return false;
    c->redraw();
    return true;
}

bool SSGetRowHeight(SpreadControl* c, SS_COORD row, double& height) {
    if (!c || !c->sheet().inside(0, headerOr(row))) return false;
    height = c->sheet().rowHeight(headerOr(row));
    return true;
}

bool SSSetRowHeightInPixels(SpreadControl* c, SS_COORD row, int pixels) {
    if (!c || !c->sheet().setRowHeightPixels(row, pixels)) return false;
    c->redraw();
    return true;
}

bool SSGetRowHeightInPixels(SpreadControl* c, SS_COORD row, int& pixels) {
    if (!c || !c->sheet().inside(0, headerOr(row))) return false;
    pixels = c->sheet().rowHeightPixels(headerOr(row));
    return true;
}

bool SSGetMaxTextCellSize(SpreadControl* c, SS_COORD col, SS_COORD row, double& width, double& height) {
    if (!cellInside(c, col, row)) return false;
    double w, h;
    c->cellTextSize(col, row, w, h);
    width = c->sheet().pixelsToWidth(w);
    height = c->sheet().pixelsToHeight(h);
    return true;
}

bool SSGetMaxTextColWidth(SpreadControl* c, SS_COORD col, double& width) {
    if (!c) return false;
    col = headerOr(col);
    const Sheet& s = c->sheet();
    if (col < 0 || col > s.maxCols()) return false;
    double best = 0, w, h;
    for (int r = 0; r <= s.maxRows(); ++r) {
        // Only cells that show something count; an empty header still shows its letter.
        if (r > 0 && !s.isUsed(col, r)) continue;
        c->cellTextSize(col, r, w, h);
        best = std::max(best, w);
    }
    width = s.pixelsToWidth(best);
    return true;
}

bool SSGetMaxTextRowHeight(SpreadControl* c, SS_COORD row, double& height) {
    if (!c) return false;
    row = headerOr(row);
    const Sheet& s = c->sheet();
    if (row < 0 || row > s.maxRows()) return false;
    double best = 0, w, h;
    for (int col = 0; col <= s.maxCols(); ++col) {
        if (col > 0 && !s.isUsed(col, row)) continue;
        c->cellTextSize(col, row, w, h);
        best = std::max(best, h);
    }
    height = s.pixelsToHeight(best);
    return true;
}

bool SSSetUnitType(SpreadControl* c, int unitType) {
    if (!c || unitType < 0 || unitType > 2) return false;
    c->sheet().setUnitType(UnitType(unitType));
    return true;
}

int SSGetUnitType(SpreadControl* c) {
    return c ? int(c->sheet().unitType()) : -1;
}

bool SSSetAutoSizeVisible(SpreadControl* c, SS_COORD visibleCols, SS_COORD visibleRows) {
    if (!c || visibleCols < 0 || visibleRows < 0) return false;
    c->autoSizeCols = visibleCols;
    c->autoSizeRows = visibleRows;
    return true;
}

bool SSGetActiveCell(SpreadControl* c, SS_COORD& col, SS_COORD& row) {
    if (!c) return false;
    CellPos a = c->sheet().activeCell();
    col = a.col;
    row = a.row;
    return true;
}

bool SSSetActiveCell(SpreadControl* c, SS_COORD col, SS_COORD row) {
    if (!c || col < 1 || row < 1 || col > c->sheet().maxCols() || row > c->sheet().maxRows()) return false;
    return c->setActiveFromCode(col, row);
}

bool SSGetSelectBlock(SpreadControl* c, SS_CELLCOORD& ul, SS_CELLCOORD& lr) {
    if (!c) return false;
    CellRange b = c->selectedBlock();
    ul = {b.col1, b.row1};
    lr = {b.col2, b.row2};
    return c->hasBlock();
}

bool SSSetSelectBlock(SpreadControl* c, const SS_CELLCOORD& ul, const SS_CELLCOORD& lr) {
    if (!c) return false;
    // Code may select blocks even where the user may not.
    bool userBlocks = c->sheet().option(kOptUserBlockSelect);
    c->sheet().setOption(kOptUserBlockSelect, true);
    bool ok = c->selectBlock(ul, lr);
    c->sheet().setOption(kOptUserBlockSelect, userBlocks);
    return ok;
}

bool SSGetSel(SpreadControl* c, int& start, int& end) {
    if (!c || !c->editing()) return false;
    start = c->editSelStart();
    end = c->editSelEnd();
    return true;
}

bool SSSetSel(SpreadControl* c, int start, int end) {
    if (!c || !c->editing() || start < 0) return false;
    c->setEditSel(start, end);
    if (c->view()) c->view()->editorChanged();
    return true;
}

bool SSGetCellSendingMsg(SpreadControl* c, SS_COORD& col, SS_COORD& row) {
    if (!c) return false;
    col = c->sendingCell.col;
    row = c->sendingCell.row;
    return true;
}

bool SSGetClientRect(SpreadControl* c, SSRect& rect) {
    if (!c) return false;
    rect = c->view() ? c->view()->clientRect() : SSRect{};
    return true;
}

bool SSSetEditMode(SpreadControl* c, bool on) {
    if (!c) return false;
    return on ? c->beginEdit() : c->commitEdit();
}

bool SSGetEditMode(SpreadControl* c) {
    return c && c->editing();
}

bool SSSetEditEnterAction(SpreadControl* c, int action) {
    if (!c || action < 0 || action > int(EnterAction::NextRow)) return false;
    c->enterAction = EnterAction(action);
    return true;
}

bool SSSetOperationMode(SpreadControl* c, int mode) {
    if (!c || mode < 0 || mode > int(OperationMode::Extended)) return false;
    if (c->editing()) c->cancelEdit();
    c->operationMode = OperationMode(mode);
    c->redraw();
    return true;
}

bool SSSetCursor(SpreadControl* c, int type, int shape) {
    if (!c) return false;
    c->cursorType = type;
    c->cursorShape = shape;
    return true;
}

bool SSSetActionKey(SpreadControl* c, int action, bool shift, bool ctrl, int key) {
    if (!c || action < kActionClear || action > kActionPopup || key < 0 || key > 0xff) return false;
    c->actionKeys[action] = {key, shift, ctrl};
    return true;
}

namespace {
bool band(SpreadControl* c, bool ok) {
    if (!ok) return false;
    if (c->editing()) c->cancelEdit();
    c->redraw();
    return true;
}
} // namespace

bool SSInsRow(SpreadControl* c, SS_COORD row) {
    return c && band(c, c->sheet().insertRows(row, 1));
}

bool SSInsCol(SpreadControl* c, SS_COORD col) {
    return c && band(c, c->sheet().insertCols(col, 1));
}

bool SSDelRow(SpreadControl* c, SS_COORD row) {
    return c && band(c, c->sheet().deleteRows(row, 1));
}

bool SSDelCol(SpreadControl* c, SS_COORD col) {
    return c && band(c, c->sheet().deleteCols(col, 1));
}

namespace {
template <class Op>
bool blockOp(SpreadControl* c, int col, int row, int col2, int row2, int dstCol, int dstRow, Op op) {
    if (!c) return false;
    CellRange r = c->sheet().clampRange({col, row, col2, row2});
    CellPos dst{dstCol == kAll ? 1 : dstCol, dstRow == kAll ? 1 : dstRow};
    return band(c, op(r, dst));
}
} // namespace

bool SSCopyRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2, SS_COORD dstCol,
                 SS_COORD dstRow) {
    return blockOp(c, col, row, col2, row2, dstCol, dstRow,
                   [&](const CellRange& r, CellPos d) { return c->sheet().copyRange(r, d); });
}

bool SSMoveRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2, SS_COORD dstCol,
                 SS_COORD dstRow) {
    return blockOp(c, col, row, col2, row2, dstCol, dstRow,
                   [&](const CellRange& r, CellPos d) { return c->sheet().moveRange(r, d); });
}

bool SSSwapRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2, SS_COORD dstCol,
                 SS_COORD dstRow) {
    return blockOp(c, col, row, col2, row2, dstCol, dstRow,
                   [&](const CellRange& r, CellPos d) { return c->sheet().swapRange(r, d); });
}

bool SSSetRefStyle(SpreadControl* c, int style) {
    if (!c || style < 0 || style > 2) return false;
    c->sheet().setRefStyle(RefStyle(style));
    return true;
}

int SSGetRefStyle(SpreadControl* c) {
    return c ? int(c->sheet().refStyle()) : -1;
}

bool SSReCalcCell(SpreadControl* c, SS_COORD col, SS_COORD row) {
    if (!c || !c->sheet().recalcCell(col, row)) return false;
    c->redraw();
    return true;
}

bool SSReCalc(SpreadControl* c) {
    if (!c) return false;
    c->sheet().recalc();
    c->redraw();
    return true;
}

bool SSAddCustomFunctionExt(SpreadControl* c, const std::string& name, int minArgs, int maxArgs,
                            CustomFunction fn, long flags) {
    if (!c || name.empty() || !fn || minArgs < 0 || maxArgs < minArgs) return false;
    c->sheet().addCustomFunction(name, minArgs, maxArgs, std::move(fn));
    return true;
}

namespace {
bool fileResult(SpreadControl* c, const FileResult& r) {
    if (!r) c->setLastError(r.error);
    return r.ok;
}
} // namespace

bool SSSaveToFile(SpreadControl* c, const std::string& path, bool dataOnly) {
    if (!c) return false;
    if (c->editing() && !c->commitEdit()) c->cancelEdit();
    if (!fileResult(c, saveSheet(c->sheet(), path))) return false;
    // What is on disk now is the table as it is: nothing is changed any more.
    c->sheet().setOption(Sheet::kOptChangeMade, false);
    return true;
}

bool SSLoadFromFile(SpreadControl* c, const std::string& path) {
    if (!c) return false;
    Sheet& s = c->sheet();
    bool keep[std::size(kControlOptions)];
    for (std::size_t i = 0; i < std::size(kControlOptions); ++i)
        keep[i] = s.option(kControlOptions[i]);
    if (!fileResult(c, loadSheet(s, path))) return false;
    if (c->editing()) c->cancelEdit();
    for (std::size_t i = 0; i < std::size(kControlOptions); ++i)
        s.setOption(kControlOptions[i], keep[i]);
    s.setOption(Sheet::kOptChangeMade, false);
    keepInside(c);
    c->redraw();
    return true;
}

bool SSExportToTextFile(SpreadControl* c, const std::string& path, unsigned flags) {
    return c && fileResult(c, exportTextFile(c->sheet(), path, flags));
}

bool SSExportToHTML(SpreadControl* c, const std::string& path, const std::string& title) {
    return c && fileResult(c, exportHtmlFile(c->sheet(), path, title));
}

bool SSExportToExcel(SpreadControl* c, const std::string& path, const std::string& sheetName) {
    return c && fileResult(c, exportXlsFile(c->sheet(), path, sheetName.empty() ? "Sheet1" : sheetName));
}

bool SSClipboardCopy(SpreadControl* c) {
    return c && c->copyToClipboard();
}

bool SSClipboardPaste(SpreadControl* c) {
    return c && c->pasteFromClipboard();
}

bool SSPrint(SpreadControl* c, const std::string& jobName) {
    if (!c) return false;
    if (!c->view()) {
        c->setLastError("The grid has no window to print from.");
        return false;
    }
    if (c->editing() && !c->commitEdit()) c->cancelEdit();
    std::string error;
    if (!c->view()->print(jobName, error)) {
        c->setLastError(error);
        return false;
    }
    return true;
}

bool SSPrintTo(SpreadControl* c, const PrintTarget& target, const std::string& jobName) {
    if (!c) return false;
    if (!c->view()) {
        c->setLastError("The grid has no window to print from.");
        return false;
    }
    if (c->editing() && !c->commitEdit()) c->cancelEdit();
    std::string error;
    if (!c->view()->printTo(target, jobName, error)) {
        c->setLastError(error);
        return false;
    }
    return true;
}

bool SSSetPrintOptions(SpreadControl* c, const PrintOptions& options) {
    if (!c || !(options.pageWidth > 0) || !(options.pageHeight > 0) || options.marginLeft < 0 ||
        options.marginRight < 0 || options.marginTop < 0 || options.marginBottom < 0 ||
        options.marginLeft + options.marginRight >= options.pageWidth ||
        options.marginTop + options.marginBottom + options.headerHeight + options.footerHeight >=
            options.pageHeight)
        return false;
    c->printOptions = options;
    c->redraw();
    return true;
}

bool SSGetPrintOptions(SpreadControl* c, PrintOptions& out) {
    if (!c) return false;
    out = c->printOptions;
    return true;
}

int SSGetPrintPageCount(SpreadControl* c) {
    if (!c) return -1;
    return PrintLayout(c->sheet(), c->printOptions).pageCount();
}

bool SSGetPrintBlock(SpreadControl* c, CellRange& out) {
    if (!c) return false;
    out = printedBlock(c->sheet(), c->printOptions);
    return true;
}

bool SSSetAppearance(SpreadControl* c, int appearance) {
    if (!c || appearance < 0 || appearance > 2) return false;
    c->appearance = appearance;
    c->redraw();
    return true;
}

bool SSReset(SpreadControl* c) {
    if (!c) return false;
    c->reset();
    return true;
}

bool SpvSethWndSpread(PreviewControl* p, SpreadControl* grid) {
    if (!p) return false;
    p->setGrid(grid);
    return true;
}

bool SpvSetPageViewType(PreviewControl* p, int type) {
    if (!p || type < 0 || type > 4) return false;
    p->viewType = type;
    if (type == 1) p->percentage = 100;
    if (p->redraw) p->redraw();
    return true;
}

bool SpvSetPageViewPercentage(PreviewControl* p, int percent) {
    if (!p || percent < 10 || percent > 400) return false;
    p->percentage = percent;
    if (p->redraw) p->redraw();
    return true;
}

int SpvGetPageViewPercentage(PreviewControl* p) {
    return p ? p->percentage : -1;
}

bool SpvSetPageCurrent(PreviewControl* p, int page) {
    if (!p || page < 1 || page > p->pageCount()) return false;
    p->currentPage = page;
    if (p->redraw) p->redraw();
    return true;
}

int SpvGetPageCurrent(PreviewControl* p) {
    return p ? p->currentPage : -1;
}

int SpvGetPageCount(PreviewControl* p) {
    return p ? p->pageCount() : -1;
}

bool SpvSetAllowUserZoom(PreviewControl* p, bool allow) {
    if (!p) return false;
    p->allowUserZoom = allow;
    return true;
}

} // namespace sheet
