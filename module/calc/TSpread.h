#pragma once
// The thin window class over the grid control: every operation hands the control's handle and its
// arguments to one entry point of the control and returns what that gives. It is the module's only
// door to the engine: a dialog that needs an operation not here adds one line below.

#include <sheet/SpreadControl.h>

#include <cstdint>
#include <functional>
#include <string>

namespace ui {
class Control;
}

class TSpread {
public:
    TSpread() = default;
    /// Binds an existing control (one without a window works too: logic is testable without one).
    explicit TSpread(sheet::SpreadControl* control)
        : m_hWnd(control) {}
    virtual ~TSpread() = default;
    /// The control's handle; null while no grid window exists.
    sheet::SpreadControl* handle() const { return m_hWnd; }
    /// The window (the placeholder control the grid sits on).
    ui::Control* window() const { return m_window; }
    static const char* runtimeClassName() { return "TSpread"; }

    using SS_COORD = sheet::SS_COORD;
    bool SetBool(int option, bool on) { return sheet::SSSetBool(m_hWnd, option, on); }
    bool GetBool(int option) const { return sheet::SSGetBool(m_hWnd, option); }
    SS_COORD GetMaxCols() const { return sheet::SSGetMaxCols(m_hWnd); }
    SS_COORD GetMaxRows() const { return sheet::SSGetMaxRows(m_hWnd); }
    bool SetMaxCols(SS_COORD n) { return sheet::SSSetMaxCols(m_hWnd, n); }
    bool SetMaxRows(SS_COORD n) { return sheet::SSSetMaxRows(m_hWnd, n); }
    /// Calls fn(col, row) for every cell of the block that holds a value, column by column: costs
    /// what the stored cells cost, however large the table says it is.
    void ForEachStoredCell(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2,
                           const std::function<void(int col, int row)>& fn) const {
        if (m_hWnd)
            m_hWnd->sheet().forEachStoredCell({c, r, c2, r2},
                                              [&](int col, int row, const sheet::Value&) { fn(col, row); });
    }
    int GetData(SS_COORD c, SS_COORD r, std::string& out) const {
        return sheet::SSGetData(m_hWnd, c, r, out);
    }
    bool SetData(SS_COORD c, SS_COORD r, const std::string& t) { return sheet::SSSetData(m_hWnd, c, r, t); }
    bool SetDataRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, const std::string& t) {
        return sheet::SSSetDataRange(m_hWnd, c, r, c2, r2, t);
    }
    int GetFormula(SS_COORD c, SS_COORD r, std::string& out) const {
        return sheet::SSGetFormula(m_hWnd, c, r, out);
    }
    bool SetFormula(SS_COORD c, SS_COORD r, const std::string& f) {
        return sheet::SSSetFormula(m_hWnd, c, r, f);
    }
    bool SetFormulaRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, const std::string& f) {
        return sheet::SSSetFormulaRange(m_hWnd, c, r, c2, r2, f);
    }
    int GetValue(SS_COORD c, SS_COORD r, std::string& out) const {
        return sheet::SSGetValue(m_hWnd, c, r, out);
    }
    int GetCellTag(SS_COORD c, SS_COORD r, std::string& out) const {
        return sheet::SSGetCellTag(m_hWnd, c, r, out);
    }
    bool SetCellTag(SS_COORD c, SS_COORD r, const std::string& t) {
        return sheet::SSSetCellTag(m_hWnd, c, r, t);
    }
    bool SetCellType(SS_COORD c, SS_COORD r, const sheet::CellType& t) {
        return sheet::SSSetCellType(m_hWnd, c, r, t);
    }
    bool SetCellTypeRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, const sheet::CellType& t) {
        return sheet::SSSetCellTypeRange(m_hWnd, c, r, c2, r2, t);
    }
    bool GetCellType(SS_COORD c, SS_COORD r, sheet::CellType& t) const {
        return sheet::SSGetCellType(m_hWnd, c, r, t);
    }
    bool AddCellSpan(SS_COORD c, SS_COORD r, SS_COORD nc, SS_COORD nr) {
        return sheet::SSAddCellSpan(m_hWnd, c, r, nc, nr);
    }
    bool SetColor(SS_COORD c, SS_COORD r, std::uint32_t back, std::uint32_t text) {
        return sheet::SSSetColor(m_hWnd, c, r, back, text);
    }
    bool SetSelColor(std::uint32_t back, std::uint32_t text) {
        return sheet::SSSetSelColor(m_hWnd, back, text);
    }
    bool SetBackColorStyle(int style) { return sheet::SSSetBackColorStyle(m_hWnd, style); }
    bool SetGrayAreaColor(std::uint32_t back, std::uint32_t text) {
        return sheet::SSSetGrayAreaColor(m_hWnd, back, text);
    }
    bool SetFontRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, const sheet::Font& f) {
        return sheet::SSSetFontRange(m_hWnd, c, r, c2, r2, f);
    }
    bool GetFont(SS_COORD c, SS_COORD r, sheet::Font& f) const { return sheet::SSGetFont(m_hWnd, c, r, f); }
    bool SetColWidthInPixels(SS_COORD c, int px) { return sheet::SSSetColWidthInPixels(m_hWnd, c, px); }
    bool SetRowHeightInPixels(SS_COORD r, int px) { return sheet::SSSetRowHeightInPixels(m_hWnd, r, px); }
    bool GetColWidthInPixels(SS_COORD c, int& px) const {
        return sheet::SSGetColWidthInPixels(m_hWnd, c, px);
    }
    bool GetRowHeightInPixels(SS_COORD r, int& px) const {
        return sheet::SSGetRowHeightInPixels(m_hWnd, r, px);
    }
    bool SetUnitType(int t) { return sheet::SSSetUnitType(m_hWnd, t); }
    bool GetActiveCell(SS_COORD& c, SS_COORD& r) const { return sheet::SSGetActiveCell(m_hWnd, c, r); }
    bool SetActiveCell(SS_COORD c, SS_COORD r) { return sheet::SSSetActiveCell(m_hWnd, c, r); }
    bool SetPrintOptions(const sheet::PrintOptions& o) { return sheet::SSSetPrintOptions(m_hWnd, o); }
    bool GetPrintOptions(sheet::PrintOptions& o) const { return sheet::SSGetPrintOptions(m_hWnd, o); }
    int GetPrintPageCount() const { return sheet::SSGetPrintPageCount(m_hWnd); }
    bool GetPrintBlock(sheet::CellRange& b) const { return sheet::SSGetPrintBlock(m_hWnd, b); }
    bool PrintTo(const sheet::PrintTarget& t, const std::string& job) {
        return sheet::SSPrintTo(m_hWnd, t, job);
    }
    bool GetSelectBlock(sheet::CellPos& ul, sheet::CellPos& lr) const {
        return sheet::SSGetSelectBlock(m_hWnd, ul, lr);
    }
    bool SetSelectBlock(const sheet::CellPos& ul, const sheet::CellPos& lr) {
        return sheet::SSSetSelectBlock(m_hWnd, ul, lr);
    }
    bool SetActionKey(int action, bool shift, bool ctrl, int key) {
        return sheet::SSSetActionKey(m_hWnd, action, shift, ctrl, key);
    }
    bool InsRow(SS_COORD r) { return sheet::SSInsRow(m_hWnd, r); }
    bool InsCol(SS_COORD c) { return sheet::SSInsCol(m_hWnd, c); }
    bool DelRow(SS_COORD r) { return sheet::SSDelRow(m_hWnd, r); }
    bool DelCol(SS_COORD c) { return sheet::SSDelCol(m_hWnd, c); }
    bool CopyRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, SS_COORD dc, SS_COORD dr) {
        return sheet::SSCopyRange(m_hWnd, c, r, c2, r2, dc, dr);
    }
    bool ClipboardCopy() { return sheet::SSClipboardCopy(m_hWnd); }
    bool ClipboardPaste() { return sheet::SSClipboardPaste(m_hWnd); }
    /// The clipboard's text as a paste would read it; empty without a view.
    std::string ClipboardText() const {
        return m_hWnd && m_hWnd->view() ? m_hWnd->view()->clipboardText() : std::string();
    }
    bool ReCalc() { return sheet::SSReCalc(m_hWnd); }
    bool ReCalcCell(SS_COORD c, SS_COORD r) { return sheet::SSReCalcCell(m_hWnd, c, r); }
    bool AddCustomFunction(const std::string& name, int minArgs, int maxArgs, sheet::CustomFunction fn) {
        return sheet::SSAddCustomFunctionExt(m_hWnd, name, minArgs, maxArgs, std::move(fn));
    }
    bool SetRefStyle(int style) { return sheet::SSSetRefStyle(m_hWnd, style); }
    bool GetFloat(SS_COORD c, SS_COORD r, double& v) const { return sheet::SSGetFloat(m_hWnd, c, r, v); }

    // values, notes and text tips
    bool SetFloat(SS_COORD c, SS_COORD r, double v) { return sheet::SSSetFloat(m_hWnd, c, r, v); }
    int GetCellNote(SS_COORD c, SS_COORD r, std::string& out) const {
        return sheet::SSGetCellNote(m_hWnd, c, r, out);
    }
    bool SetCellNote(SS_COORD c, SS_COORD r, const std::string& n) {
        return sheet::SSSetCellNote(m_hWnd, c, r, n);
    }
    bool SetCellNoteIndicator(int indicator) { return sheet::SSSetCellNoteIndicator(m_hWnd, indicator); }
    bool SetTextTip(int status, int delayMs) { return sheet::SSSetTextTip(m_hWnd, status, delayMs); }

    // cell types: each fills `t` and returns it (null without a control)
    sheet::CellType* SetTypeEdit(sheet::CellType& t, std::uint32_t style, int maxLength,
                                 bool multiLine = false) {
        return sheet::SSSetTypeEdit(m_hWnd, t, style, maxLength, multiLine);
    }
    sheet::CellType* SetTypeNumber(sheet::CellType& t, std::uint32_t style, int decimals, double minimum,
                                   double maximum, bool thousands = false) {
        return sheet::SSSetTypeNumber(m_hWnd, t, style, decimals, minimum, maximum, thousands);
    }
    sheet::CellType* SetTypePicture(sheet::CellType& t, std::uint32_t style, const std::string& picture) {
        return sheet::SSSetTypePicture(m_hWnd, t, style, picture);
    }
    sheet::CellType* SetTypeComboBox(sheet::CellType& t, std::uint32_t style, const std::string& items,
                                     bool editable = false) {
        return sheet::SSSetTypeComboBox(m_hWnd, t, style, items, editable);
    }
    sheet::CellType* SetTypeCheckBox(sheet::CellType& t, std::uint32_t style, const std::string& text,
                                     const std::string& off, const std::string& on, bool framed = false) {
        return sheet::SSSetTypeCheckBox(m_hWnd, t, style, text, off, on, framed);
    }
    sheet::CellType* SetTypeButton(sheet::CellType& t, std::uint32_t style, const std::string& text) {
        return sheet::SSSetTypeButton(m_hWnd, t, style, text);
    }
    sheet::CellType* SetTypeStaticText(sheet::CellType& t, std::uint32_t style) {
        return sheet::SSSetTypeStaticText(m_hWnd, t, style);
    }

    // colours, fonts and borders
    bool SetColorRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, std::uint32_t back,
                       std::uint32_t text) {
        return sheet::SSSetColorRange(m_hWnd, c, r, c2, r2, back, text);
    }
    bool GetColor(SS_COORD c, SS_COORD r, std::uint32_t& back, std::uint32_t& text) const {
        return sheet::SSGetColor(m_hWnd, c, r, back, text);
    }
    bool SetLockColor(std::uint32_t back, std::uint32_t text) {
        return sheet::SSSetLockColor(m_hWnd, back, text);
    }
    bool SetLockRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, bool locked) {
        return sheet::SSSetLockRange(m_hWnd, c, r, c2, r2, locked);
    }
    bool GetLock(SS_COORD c, SS_COORD r) const { return sheet::SSGetLock(m_hWnd, c, r); }
    bool SetFont(SS_COORD c, SS_COORD r, const sheet::Font& f) { return sheet::SSSetFont(m_hWnd, c, r, f); }
    bool SetBorder(SS_COORD c, SS_COORD r, int sides, int style, std::uint32_t color) {
        return sheet::SSSetBorder(m_hWnd, c, r, sides, style, color);
    }
    bool SetBorderRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, int sides, int style,
                        std::uint32_t color) {
        return sheet::SSSetBorderRange(m_hWnd, c, r, c2, r2, sides, style, color);
    }
    bool GetBorder(SS_COORD c, SS_COORD r, int& sides, int& style, std::uint32_t& color) const {
        return sheet::SSGetBorder(m_hWnd, c, r, sides, style, color);
    }
    int GetCellSpan(SS_COORD c, SS_COORD r, SS_COORD& ac, SS_COORD& ar, SS_COORD& nc, SS_COORD& nr) const {
        return sheet::SSGetCellSpan(m_hWnd, c, r, ac, ar, nc, nr);
    }

    // sizes and looks
    bool SetColWidth(SS_COORD c, double w) { return sheet::SSSetColWidth(m_hWnd, c, w); }
    bool SetRowHeight(SS_COORD r, double h) { return sheet::SSSetRowHeight(m_hWnd, r, h); }
    bool SetOperationMode(int mode) { return sheet::SSSetOperationMode(m_hWnd, mode); }
    bool SetAppearance(int appearance) { return sheet::SSSetAppearance(m_hWnd, appearance); }

    // the cell editor
    bool GetEditMode() const { return sheet::SSGetEditMode(m_hWnd); }
    bool SetEditMode(bool on) { return sheet::SSSetEditMode(m_hWnd, on); }
    bool GetSel(int& start, int& end) const { return sheet::SSGetSel(m_hWnd, start, end); }
    bool SetSel(int start, int end) { return sheet::SSSetSel(m_hWnd, start, end); }

    // files and exports: false with LastError() on failure, the sheet as it was
    bool SaveToFile(const std::string& path) { return sheet::SSSaveToFile(m_hWnd, path); }
    bool LoadFromFile(const std::string& path) { return sheet::SSLoadFromFile(m_hWnd, path); }
    bool ExportToTextFile(const std::string& path, unsigned flags) {
        return sheet::SSExportToTextFile(m_hWnd, path, flags);
    }
    bool ExportToHTML(const std::string& path) { return sheet::SSExportToHTML(m_hWnd, path); }
    bool ExportToExcel(const std::string& path) { return sheet::SSExportToExcel(m_hWnd, path); }

    // what the control does for its user, for the owner's commands
    std::string LastError() const { return m_hWnd ? m_hWnd->lastError() : std::string(); }
    bool IsEditing() const { return m_hWnd && m_hWnd->editing(); }
    bool ClearSelection() { return m_hWnd && m_hWnd->clearSelection(); }
    bool MoveRow(SS_COORD from, SS_COORD to) { return m_hWnd && m_hWnd->moveRow(from, to); }
    void Redraw() {
        if (m_hWnd) m_hWnd->redraw();
    }
    /// The size in pixels the cell's shown text needs; false without a control.
    bool CellTextSize(SS_COORD c, SS_COORD r, double& width, double& height) const {
        if (!m_hWnd) return false;
        m_hWnd->cellTextSize(c, r, width, height);
        return true;
    }

protected:
    sheet::SpreadControl* m_hWnd = nullptr;
    ui::Control* m_window = nullptr;

public:
    /// True, with the text in `out`, when every cell of the block has the same text of `kind`
    /// (0 data, 1 formula, 2 tag, 3 value); reads stored cells only and stops at the first difference.
    bool GetBlockCommonText(const sheet::CellRange& block, int kind, std::string& out) const {
        return sheet::SSGetBlockCommonText(m_hWnd, block, kind, out);
    }
};

/// The thin class over a print preview control, as TSpread is over the grid.
class TSpreadPreview {
public:
    explicit TSpreadPreview(sheet::PreviewControl* control = nullptr)
        : m_hWnd(control) {}
    /// Binds a preview control (from Vor_Spread::attachPreview); false for none.
    bool attach(sheet::PreviewControl* control) {
        m_hWnd = control;
        return m_hWnd != nullptr;
    }
    bool attached() const { return m_hWnd != nullptr; }

    bool SetPageViewType(int type) { return sheet::SpvSetPageViewType(m_hWnd, type); }
    bool SetPageViewPercentage(int percent) { return sheet::SpvSetPageViewPercentage(m_hWnd, percent); }
    int GetPageViewPercentage() const { return sheet::SpvGetPageViewPercentage(m_hWnd); }
    bool SetPageCurrent(int page) { return sheet::SpvSetPageCurrent(m_hWnd, page); }
    int GetPageCurrent() const { return sheet::SpvGetPageCurrent(m_hWnd); }
    int GetPageCount() const { return sheet::SpvGetPageCount(m_hWnd); }
    bool SetAllowUserZoom(bool allow) { return sheet::SpvSetAllowUserZoom(m_hWnd, allow); }

private:
    sheet::PreviewControl* m_hWnd;
};
