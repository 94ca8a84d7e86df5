// The entry points on cells: contents, tags and notes, spans, cell types, formats and sizes.
#include <sheet/SpreadControl.h>

#include "SpreadControl_p.h"

#include <algorithm>
#include <cmath>

namespace sheet {

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
    c->fitRowHeights();
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
    c->fitRowHeights();
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

} // namespace sheet
