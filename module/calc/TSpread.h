#pragma once
// The thin window class over the grid control: every operation hands the control's handle and its
// arguments to one entry point of the control and returns what that gives.

#include <sheet/SpreadControl.h>

#include <string>

namespace ui {
class Control;
}

class TSpread {
public:
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
    int GetData(SS_COORD c, SS_COORD r, std::string& out) const { return sheet::SSGetData(m_hWnd, c, r, out); }
    bool SetData(SS_COORD c, SS_COORD r, const std::string& t) { return sheet::SSSetData(m_hWnd, c, r, t); }
    bool SetDataRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, const std::string& t) {
        return sheet::SSSetDataRange(m_hWnd, c, r, c2, r2, t);
    }
    int GetFormula(SS_COORD c, SS_COORD r, std::string& out) const { return sheet::SSGetFormula(m_hWnd, c, r, out); }
    bool SetFormula(SS_COORD c, SS_COORD r, const std::string& f) { return sheet::SSSetFormula(m_hWnd, c, r, f); }
    bool SetFormulaRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, const std::string& f) {
        return sheet::SSSetFormulaRange(m_hWnd, c, r, c2, r2, f);
    }
    int GetValue(SS_COORD c, SS_COORD r, std::string& out) const { return sheet::SSGetValue(m_hWnd, c, r, out); }
    int GetCellTag(SS_COORD c, SS_COORD r, std::string& out) const { return sheet::SSGetCellTag(m_hWnd, c, r, out); }
    bool SetCellTag(SS_COORD c, SS_COORD r, const std::string& t) { return sheet::SSSetCellTag(m_hWnd, c, r, t); }
    bool SetCellType(SS_COORD c, SS_COORD r, const sheet::CellType& t) { return sheet::SSSetCellType(m_hWnd, c, r, t); }
    bool SetCellTypeRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, const sheet::CellType& t) {
        return sheet::SSSetCellTypeRange(m_hWnd, c, r, c2, r2, t);
    }
    bool GetCellType(SS_COORD c, SS_COORD r, sheet::CellType& t) const { return sheet::SSGetCellType(m_hWnd, c, r, t); }
    bool AddCellSpan(SS_COORD c, SS_COORD r, SS_COORD nc, SS_COORD nr) { return sheet::SSAddCellSpan(m_hWnd, c, r, nc, nr); }
    bool SetColor(SS_COORD c, SS_COORD r, std::uint32_t back, std::uint32_t text) {
        return sheet::SSSetColor(m_hWnd, c, r, back, text);
    }
    bool SetSelColor(std::uint32_t back, std::uint32_t text) { return sheet::SSSetSelColor(m_hWnd, back, text); }
    bool SetBackColorStyle(int style) { return sheet::SSSetBackColorStyle(m_hWnd, style); }
    bool SetGrayAreaColor(std::uint32_t back, std::uint32_t text) { return sheet::SSSetGrayAreaColor(m_hWnd, back, text); }
    bool SetFontRange(SS_COORD c, SS_COORD r, SS_COORD c2, SS_COORD r2, const sheet::Font& f) {
        return sheet::SSSetFontRange(m_hWnd, c, r, c2, r2, f);
    }
    bool GetFont(SS_COORD c, SS_COORD r, sheet::Font& f) const { return sheet::SSGetFont(m_hWnd, c, r, f); }
    bool SetColWidthInPixels(SS_COORD c, int px) { return sheet::SSSetColWidthInPixels(m_hWnd, c, px); }
    bool SetRowHeightInPixels(SS_COORD r, int px) { return sheet::SSSetRowHeightInPixels(m_hWnd, r, px); }
    bool GetColWidthInPixels(SS_COORD c, int& px) const { return sheet::SSGetColWidthInPixels(m_hWnd, c, px); }
    bool GetRowHeightInPixels(SS_COORD r, int& px) const { return sheet::SSGetRowHeightInPixels(m_hWnd, r, px); }
    bool SetUnitType(int t) { return sheet::SSSetUnitType(m_hWnd, t); }
    bool GetActiveCell(SS_COORD& c, SS_COORD& r) const { return sheet::SSGetActiveCell(m_hWnd, c, r); }
    bool SetActiveCell(SS_COORD c, SS_COORD r) { return sheet::SSSetActiveCell(m_hWnd, c, r); }
    bool GetSelectBlock(sheet::CellPos& ul, sheet::CellPos& lr) const { return sheet::SSGetSelectBlock(m_hWnd, ul, lr); }
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
    bool ReCalc() { return sheet::SSReCalc(m_hWnd); }

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
