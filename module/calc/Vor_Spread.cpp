#include "calc/Vor_Spread.h"

#include "frame/AskText.h"
#include "frame/ModuleEntry.h"

#include <cad/aced.h>
#include <host/Texts.h>
#include <sheet/control/GridWidget.h>
#include <ui/Agent.h>
#include <ui/Window.h>

#include <base/NumberText.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace {

using sheet::kAll;

/// Grids by the window they sit on, for isSpreadWindow.
std::map<const ui::Window*, Vor_Spread*>& grids() {
    static std::map<const ui::Window*, Vor_Spread*> g; // goes with the library when it is unloaded
    return g;
}

/// The value with two decimals, the way cells of the module hold numbers; false for NaN and
/// infinities, which have no text a table could hold.
bool twoDecimals(double v, std::string& out) {
    if (!base::formatFixed(v, 2, out)) return false;
    if (out == "-0.00") out = "0.00";
    return true;
}

/// The number at the start of a value text, as the classic reading takes it ("12 mm" is 12, a text
/// without a number 0), but always with the decimal point of files and formulas.
double leadingNumber(const std::string& s) {
    return base::parseLeadingNumber(s);
}

/// Makes a grid's find window; set by the area that holds the dialog.
Vor_Spread::FindWindowFactory& findFactory() {
    static Vor_Spread::FindWindowFactory f;
    return f;
}

// The colours of the standard look.
constexpr std::uint32_t kButtonFace = sheet::rgb(0xF0, 0xF0, 0xF0);
constexpr std::uint32_t kDarkBlue = 0x6A240A; // selected text on the button-face selection
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kGreyArea = 0xE6E6E6;

} // namespace

Vor_Spread::Vor_Spread() = default;

Vor_Spread::~Vor_Spread() {
    if (m_findWindow) m_findWindow->close();
    if (m_hWnd) m_hWnd->setListener(nullptr);
    if (m_window) grids().erase(m_window);
}

bool Vor_Spread::attach(ui::Dialog* parent, int controlId, bool keepRect) {
    if (!parent || m_hWnd) return false;
    ui::Control* placeholder = parent->item(controlId);
    if (!placeholder) return false;
    sheet::SpreadControl* c = sheet::createSpreadControl(placeholder);
    if (!c) return false;
    (void)keepRect; // the grid always takes the placeholder's rectangle
    m_parent = parent;
    m_controlId = controlId;
    m_window = placeholder;
    m_hWnd = c;
    c->setListener(this);
    grids()[placeholder] = this;
    SetMaxCols(0);
    SetMaxRows(0);
    for (int action = sheet::kActionClear; action <= sheet::kActionPopup; ++action)
        SetActionKey(action, false, false, 0);
    return true;
}

void Vor_Spread::setStandardLook(int editMode) {
    if (!m_hWnd) return;
    for (int off : {8, 12, 7, 26})
        SetBool(off, false);
    for (int on : {21, 34, 32, 22, 11, 3, 4, 18})
        SetBool(on, true);
    SetSelColor(kButtonFace, kDarkBlue);
    SetLockColor(kWhite, sheet::kDefaultColor);
    SetGrayAreaColor(kGreyArea, 0);
    SetBackColorStyle(0);
    SetBool(13, editMode == 1);
    SetBool(10, editMode != 1);
    SetBool(8, true);
}

int Vor_Spread::maxCols() const {
    return m_hWnd ? GetMaxCols() : -1;
}
int Vor_Spread::maxRows() const {
    return m_hWnd ? GetMaxRows() : -1;
}
bool Vor_Spread::setMaxCols(int n) {
    return m_hWnd && SetMaxCols(n);
}
bool Vor_Spread::setMaxRows(int n) {
    return m_hWnd && SetMaxRows(n);
}

bool Vor_Spread::growCols(int n, bool formatNew) {
    if (!m_hWnd || n <= 0) return false;
    int old = maxCols();
    if (!SetMaxCols(old + n)) return false;
    if (formatNew) styleHeader({old + 1, 0, old + n, 0}, false);
    return true;
}

bool Vor_Spread::growRows(int n, bool formatNew) {
    if (!m_hWnd || n <= 0) return false;
    int old = maxRows();
    if (!SetMaxRows(old + n)) return false;
    if (formatNew) styleHeader({0, old + 1, 0, old + n}, false);
    return true;
}

bool Vor_Spread::getText(int col, int row, int kind, Vor_String& out) const {
    if (!m_hWnd) return false;
    std::string s;
    int len = -1;
    switch (kind) {
    case kTextData:
        len = GetData(col, row, s);
        break;
    case kTextFormula:
        len = GetFormula(col, row, s);
        break;
    case kTextTag:
        len = GetCellTag(col, row, s);
        break;
    case kTextValue:
        len = GetValue(col, row, s);
        break;
    default:
        return false;
    }
    if (len < 0) return false;
    out = Vor_String(s);
    return true;
}

bool Vor_Spread::setText(int col, int row, const Vor_String& text) {
    return m_hWnd && SetData(col, row, text.str());
}
bool Vor_Spread::setFormula(int col, int row, const Vor_String& text) {
    return m_hWnd && SetFormula(col, row, text.str());
}
bool Vor_Spread::setTag(int col, int row, const Vor_String& text) {
    return m_hWnd && SetCellTag(col, row, text.str());
}

bool Vor_Spread::setTextRange(int col, int row, int col2, int row2, const Vor_String& text) {
    return m_hWnd && SetDataRange(col, row, col2, row2, text.str());
}

bool Vor_Spread::setFormulaRange(int col, int row, int col2, int row2, const Vor_String& text) {
    return m_hWnd && SetFormulaRange(col, row, col2, row2, text.str());
}

bool Vor_Spread::getDouble(int col, int row, double& out) const {
    Vor_String s;
    if (!getText(col, row, kTextValue, s)) return false;
    out = leadingNumber(s.str());
    return true;
}

bool Vor_Spread::setDouble(int col, int row, double v) {
    std::string text;
    return m_hWnd && twoDecimals(v, text) && setText(col, row, Vor_String(text));
}

bool Vor_Spread::setColumn(int col, const Vor_StringArray& texts, bool asFormula) {
    if (!m_hWnd || col < 0 || col > maxCols()) return false;
    int n = std::min(texts.length(), maxRows());
    for (int i = 0; i < n; ++i)
        asFormula ? setFormula(col, i + 1, texts[i]) : setText(col, i + 1, texts[i]);
    return true;
}

bool Vor_Spread::getColumn(int col, Vor_StringArray& out, int kind) const {
    if (!m_hWnd || col < 0 || col > maxCols()) return false;
    Vor_StringArray read;
    for (int r = 1; r <= maxRows(); ++r) {
        Vor_String s;
        getText(col, r, kind, s);
        read.append(s);
    }
    out = read;
    return true;
}

bool Vor_Spread::setRow(int row, const Vor_StringArray& texts) {
    if (!m_hWnd || row < 0 || row > maxRows()) return false;
    int n = std::min(texts.length(), maxCols());
    for (int i = 0; i < n; ++i)
        setText(i + 1, row, texts[i]);
    return true;
}

bool Vor_Spread::getRow(int row, Vor_StringArray& out) const {
    if (!m_hWnd || row < 0 || row > maxRows()) return false;
    Vor_StringArray read;
    for (int c = 1; c <= maxCols(); ++c) {
        Vor_String s;
        getText(c, row, kTextValue, s);
        read.append(s);
    }
    out = read;
    return true;
}

bool Vor_Spread::getAllRows(Vor_Array<Vor_StringArray>& out) const {
    if (!m_hWnd) return false;
    Vor_Array<Vor_StringArray> rows;
    for (int r = 1; r <= maxRows(); ++r) {
        Vor_StringArray row;
        getRow(r, row);
        rows.append(row);
    }
    out = rows;
    return true;
}

bool Vor_Spread::setColumnInts(int col, const std::vector<int>& values) {
    Vor_StringArray t;
    for (int v : values)
        t.append(Vor_String(v));
    return setColumn(col, t);
}

bool Vor_Spread::setColumnDoubles(int col, const std::vector<double>& values) {
    Vor_StringArray t;
    std::string text;
    for (double v : values) {
        if (!twoDecimals(v, text)) return false; // the whole column or nothing
        t.append(Vor_String(text));
    }
    return setColumn(col, t);
}

bool Vor_Spread::setColumnBools(int col, const std::vector<bool>& values) {
    Vor_StringArray t;
    for (bool v : values)
        t.append(v ? "1" : "0");
    return setColumn(col, t);
}

bool Vor_Spread::setColumnCombo(int col, const Vor_StringArray& items, bool editable) {
    if (!m_hWnd || col < 1 || col > maxCols() || maxRows() < 1) return false;
    std::string joined;
    for (int i = 0; i < items.length(); ++i)
        joined += (i ? "\t" : "") + items[i].str();
    sheet::CellType t;
    SetTypeComboBox(t, 0, joined, editable);
    return SetCellTypeRange(col, 1, col, maxRows(), t);
}

bool Vor_Spread::askHeaderText(bool row, Vor_String& text) {
    TextQuestion q;
    q.caption = dialString(1150);
    q.prompt = dialString(1151) + " " + dialString(row ? 1152 : 1153) + ":";
    q.text = dialString(171);
    q.okText = dialString(1);
    q.cancelText = dialString(2);
    askText(m_parent, q);
    text = q.text; // the initial text when cancelled
    return true;
}

EditHistory* Vor_Spread::enableHistory() {
    if (!m_hWnd) return nullptr;
    if (!m_history) m_history = std::make_unique<EditHistory>(m_hWnd->sheet());
    m_recorder = m_history.get();
    return m_history.get();
}

void Vor_Spread::aboutToReshape(int extraCols, int extraRows) {
    if (!m_recorder || !m_hWnd) return;
    // Rows and columns move and formulas everywhere follow them: the step keeps the whole table.
    aboutToResize();
    aboutToChange({0, 0, maxCols() + extraCols, maxRows() + extraRows});
}

bool Vor_Spread::insertRow(int row, bool askHeader, bool copyNeighbour) {
    if (!m_hWnd) return false;
    int rows = maxRows();
    if (row < 1 || row > rows + 1) {
        acutPrintf("*Error* Invalid index passed to insert.\n");
        return false;
    }
    ChangeScope scope(*this);
    aboutToReshape(0, 1);
    SetMaxRows(rows + 1);
    InsRow(row);
    styleHeader({0, row, 0, row}, false);
    if (copyNeighbour && row + 1 <= rows + 1) CopyRange(1, row + 1, maxCols(), row + 1, 1, row);
    if (askHeader) {
        Vor_String header;
        askHeaderText(true, header);
        setText(0, row, header);
    }
    return true;
}

bool Vor_Spread::insertColumn(int col, bool askHeader, bool copyNeighbour) {
    if (!m_hWnd) return false;
    int cols = maxCols();
    if (col < 1 || col > cols + 1) {
        acutPrintf("*Error* Invalid index passed to insert.\n");
        return false;
    }
    ChangeScope scope(*this);
    aboutToReshape(1, 0);
    SetMaxCols(cols + 1);
    InsCol(col);
    styleHeader({col, 0, col, 0}, false);
    if (copyNeighbour && col + 1 <= cols + 1) CopyRange(col + 1, 1, col + 1, maxRows(), col, 1);
    if (askHeader) {
        Vor_String header;
        askHeaderText(false, header);
        setText(col, 0, header);
    }
    return true;
}

bool Vor_Spread::moveCurrentRow(int delta) {
    int col, row;
    if (!m_hWnd || !GetActiveCell(col, row)) return false;
    int to = row + delta;
    if (row < 1 || to < 1 || to > maxRows()) return false;
    if (!MoveRow(row, to)) return false;
    SetActiveCell(col, to);
    return true;
}

bool Vor_Spread::moveCurrentRowUp() {
    return moveCurrentRow(-1);
}
bool Vor_Spread::moveCurrentRowDown() {
    return moveCurrentRow(+1);
}

sheet::CellType Vor_Spread::checkBoxType(bool framed) {
    sheet::CellType t;
    SetTypeCheckBox(t, 0, "", "#" + std::to_string(kUncheckedBitmap), "#" + std::to_string(kCheckedBitmap),
                    framed);
    return t;
}

bool Vor_Spread::setColumnCheckBoxes(int col, bool framed, bool spanHeader) {
    if (!m_hWnd || col < 1 || col > maxCols()) return false;
    if (maxRows() >= 1) SetCellTypeRange(col, 1, col, maxRows(), checkBoxType(framed));
    if (spanHeader) AddCellSpan(col, 0, 2, 1);
    return true;
}

bool Vor_Spread::setCheckBoxCell(int col, int row, bool framed) {
    return m_hWnd && SetCellType(col, row, checkBoxType(framed));
}

bool Vor_Spread::setCheck(int col, int row, bool on) {
    return setText(col, row, on ? "1" : "0");
}

bool Vor_Spread::setAllChecks(bool on) {
    if (!m_hWnd) return false;
    sheet::CellPos ul, lr;
    if (!GetSelectBlock(ul, lr)) {
        ul = {1, 1};
        lr = {maxCols(), maxRows()};
    }
    for (int c = std::max(1, ul.col); c <= lr.col; ++c)
        for (int r = std::max(1, ul.row); r <= lr.row; ++r) {
            sheet::CellType t;
            if (GetCellType(c, r, t) && t.kind == sheet::CellKind::CheckBox) setCheck(c, r, on);
        }
    return true;
}

bool Vor_Spread::setPictureCell(int col, int row, const Vor_String& file) {
    if (!m_hWnd) return false;
    sheet::CellType t;
    SetTypePicture(t, 0, file.str());
    return SetCellType(col, row, t);
}

bool Vor_Spread::styleHeader(const sheet::CellRange& block, bool bold) {
    if (!m_hWnd) return false;
    sheet::Font f;
    f.face = headerFontName.str();
    f.height = std::max(1, (headerFontHeight * 3 + 2) / 4); // pixels to points at 96 dpi
    f.weight = bold ? 700 : 400;
    return SetFontRange(block.col1, block.row1, block.col2, block.row2, f);
}

bool Vor_Spread::fitColumn(int col) {
    if (!m_hWnd || col < 0 || col > maxCols()) return false;
    double widest = 0;
    for (int r = 0; r <= maxRows(); ++r) {
        double w = 0, h = 0;
        CellTextSize(col, r, w, h);
        widest = std::max(widest, w);
    }
    return SetColWidthInPixels(col, static_cast<int>(widest + 0.5));
}

bool Vor_Spread::fitRow(int row) {
    if (!m_hWnd || row < 0 || row > maxRows()) return false;
    double tallest = 0;
    for (int c = 0; c <= maxCols(); ++c) {
        double w = 0, h = 0;
        CellTextSize(c, row, w, h);
        tallest = std::max(tallest, h);
    }
    return SetRowHeightInPixels(row, static_cast<int>(tallest + 0.5));
}

bool Vor_Spread::fitAll() {
    if (!m_hWnd) return false;
    for (int c = 0; c <= maxCols(); ++c)
        fitColumn(c);
    for (int r = 0; r <= maxRows(); ++r)
        fitRow(r);
    return true;
}

void Vor_Spread::setResizeMode(int mode, int a, int b, const std::vector<int>& cols,
                               const std::vector<int>& rows) {
    m_resizeMode = mode;
    m_resizeA = a;
    m_resizeB = b;
    m_resizeCols = cols;
    m_resizeRows = rows;
}

void Vor_Spread::refit() {
    switch (m_resizeMode) {
    case 1:
    case 2: {
        for (int c = 0; c <= maxCols(); ++c)
            fitColumn(c);
        for (int r = 0; r <= maxRows(); ++r)
            fitRow(r);
        break;
    }
    case 3: {
        // the column fitted, but never wider than the limit
        fitColumn(m_resizeA);
        int px;
        if (m_resizeB > 0 && GetColWidthInPixels(m_resizeA, px) && px > m_resizeB)
            SetColWidthInPixels(m_resizeA, m_resizeB);
        break;
    }
    case 4: {
        fitRow(m_resizeA);
        int px;
        if (m_resizeB > 0 && GetRowHeightInPixels(m_resizeA, px) && px > m_resizeB)
            SetRowHeightInPixels(m_resizeA, m_resizeB);
        break;
    }
    case 5:
        for (int c : m_resizeCols)
            fitColumn(c);
        for (int r : m_resizeRows)
            fitRow(r);
        break;
    default:
        break;
    }
}

void Vor_Spread::setFindWindowFactory(FindWindowFactory factory) {
    findFactory() = std::move(factory);
}

void Vor_Spread::showFind(bool replace) {
    if (!m_hWnd) return;
    if (!m_findWindow && findFactory()) m_findWindow = findFactory()(*this);
    if (m_findWindow) m_findWindow->show(replace);
}

void Vor_Spread::changedByCode(int col, int row) {
    if (m_hWnd && m_owner) m_owner->dataChanged(*m_hWnd, col, row);
}

sheet::PreviewControl* Vor_Spread::attachPreview(ui::Dialog* parent, int controlId) {
    ui::Control* placeholder = parent && m_hWnd ? parent->item(controlId) : nullptr;
    return placeholder ? sheet::createPreviewControl(placeholder, m_hWnd) : nullptr;
}

bool Vor_Spread::changed() const {
    return m_hWnd && GetBool(sheet::Sheet::kOptChangeMade);
}
void Vor_Spread::setChanged(bool flag) {
    if (m_hWnd) SetBool(sheet::Sheet::kOptChangeMade, flag);
}

bool Vor_Spread::isSpreadWindow(const ui::Window* window) {
    if (!window) return false;
    if (grids().count(window)) return true;
    auto* c = dynamic_cast<const ui::Control*>(window);
    return c && sheet::spreadControlOf(c) != nullptr;
}

bool Vor_Spread::runMenuCode(int code) {
    if (!m_hWnd) return false;
    int col = 1, row = 1;
    GetActiveCell(col, row);
    switch (code) {
    case kMenuCopy:
        return ClipboardCopy();
    case kMenuPaste:
        return ClipboardPaste();
    case kMenuInsertRow:
        return insertRow(std::max(1, row), false, true);
    case kMenuDeleteRow: {
        if (row < 1 || row > maxRows()) return false;
        ChangeScope scope(*this);
        aboutToReshape(0, 0);
        DelRow(row);
        return SetMaxRows(maxRows() - 1);
    }
    case kMenuInsertColumn:
        return insertColumn(std::max(1, col), true, true);
    case kMenuDeleteColumn: {
        if (col < 1 || col > maxCols()) return false;
        ChangeScope scope(*this);
        aboutToReshape(0, 0);
        DelCol(col);
        return SetMaxCols(maxCols() - 1);
    }
    case kMenuCheckAll:
        return setAllChecks(true);
    case kMenuUncheckAll:
        return setAllChecks(false);
    default:
        return false;
    }
}

// ---- notifications

bool Vor_Spread::leaveCell(sheet::SpreadControl& c, sheet::CellPos from, sheet::CellPos to) {
    return m_owner ? m_owner->leaveCell(c, from, to) : true;
}
void Vor_Spread::activeCellChanged(sheet::SpreadControl& c, sheet::CellPos from, sheet::CellPos to) {
    if (m_owner) m_owner->activeCellChanged(c, from, to);
}
void Vor_Spread::selectionChanged(sheet::SpreadControl& c, const sheet::CellRange& block) {
    if (m_owner) m_owner->selectionChanged(c, block);
}

void Vor_Spread::rightClick(sheet::SpreadControl& c, int col, int row, int x, int y) {
    if (m_owner) m_owner->rightClick(c, col, row, x, y);
    if (m_menuCodes.empty()) return;
    static const std::map<int, int> texts = {
        {kMenuCopy, 1154},         {kMenuPaste, 1155},        {kMenuInsertRow, 774}, {kMenuDeleteRow, 775},
        {kMenuInsertColumn, 1156}, {kMenuDeleteColumn, 1157}, {kMenuCheckAll, 1400}, {kMenuUncheckAll, 1401}};
    ui::PopupRequest req;
    req.screenPos = {x, y};
    for (int code : m_menuCodes) {
        auto it = texts.find(code);
        if (code == kMenuSeparator) {
            req.ids.push_back(0);
            req.texts.push_back({});
            req.enabled.push_back(false);
        } else if (it != texts.end()) {
            req.ids.push_back(code);
            req.texts.push_back(dialString(it->second).str());
            req.enabled.push_back(true);
        }
    }
    int chosen = ui::agent().popupMenu(req, m_parent);
    if (chosen > 0) runMenuCode(chosen);
}

void Vor_Spread::checkBoxToggled(sheet::SpreadControl& c, int col, int row, bool on) {
    if (m_owner) m_owner->checkBoxToggled(c, col, row, on);
}
void Vor_Spread::buttonClicked(sheet::SpreadControl& c, int col, int row) {
    if (m_owner) m_owner->buttonClicked(c, col, row);
}
void Vor_Spread::comboSelected(sheet::SpreadControl& c, int col, int row, int index) {
    if (m_owner) m_owner->comboSelected(c, col, row, index);
}
void Vor_Spread::dataChanged(sheet::SpreadControl& c, int col, int row) {
    if (m_owner) m_owner->dataChanged(c, col, row);
}
void Vor_Spread::editModeChanged(sheet::SpreadControl& c, int col, int row, bool editing, bool changed) {
    if (m_owner) m_owner->editModeChanged(c, col, row, editing, changed);
}
void Vor_Spread::rowMoved(sheet::SpreadControl& c, int from, int to) {
    if (m_owner) m_owner->rowMoved(c, from, to);
}
void Vor_Spread::doubleClick(sheet::SpreadControl& c, int col, int row) {
    if (m_owner) m_owner->doubleClick(c, col, row);
}
void Vor_Spread::userResized(sheet::SpreadControl& c, bool column, int index) {
    if (m_owner) m_owner->userResized(c, column, index);
}
void Vor_Spread::sizeChanged(sheet::SpreadControl& c, int width, int height) {
    refit();
    if (m_owner) m_owner->sizeChanged(c, width, height);
}
bool Vor_Spread::tabOut(sheet::SpreadControl& c, bool forward) {
    // At the last (or first) cell the owner is told, so that the focus can leave the grid.
    return m_owner ? m_owner->tabOut(c, forward) : false;
}
void Vor_Spread::destroyed(sheet::SpreadControl& c) {
    if (m_owner) m_owner->destroyed(c);
    if (m_window) grids().erase(m_window);
    if (m_recorder == m_history.get()) m_recorder = nullptr;
    m_history.reset(); // it kept the sheet that goes now
    m_hWnd = nullptr;
    m_window = nullptr;
}
