// The entry points on the grid as a whole: options and size, active cell and selection, editing,
// rows, columns and blocks, recalculation, files and exports, printing and the print preview.
#include <sheet/SpreadControl.h>

#include <sheet/Export.h>
#include <sheet/SssFile.h>
#include <sheet/XlsWriter.h>

#include <algorithm>

namespace sheet {

namespace {
// Options that describe how this grid behaves rather than what the table holds; a loaded file
// does not change them.
constexpr int kControlOptions[] = {kOptUserBlockSelect, kOptUserResize, Sheet::kOptRedraw,
                                   kOptProtect,         kOptGridLines,  kOptEditModePermanent};
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
    c->fitRowHeights();
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
