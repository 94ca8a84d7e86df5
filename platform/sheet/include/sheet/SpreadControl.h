#pragma once
// The state of one grid control and its entry points. The entry points keep the names and the
// argument conventions of the classic grid library (coordinates from 1, row 0 and column 0 are the
// headers, kAll = -32767 for "the header" or "all"), so that the binding above reads like the
// operations it passes on. The Qt widget (control/GridWidget.h) draws this state and feeds the
// person's actions back through the "user actions" below, so that all behaviour is testable here.

#include <sheet/CellRef.h>
#include <sheet/PrintLayout.h>
#include <sheet/Sheet.h>
#include <sheet/Style.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sheet {

/// A column or row number as the entry points take it.
using SS_COORD = int;
/// A cell position as the entry points take it.
using SS_CELLCOORD = CellPos;

class SpreadControl;
class PreviewControl;

/// A rectangle in pixels; right and bottom are exclusive.
struct SSRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

/// Numbered boolean options that the control itself interprets (the others are only kept).
enum SpreadOption : int {
    kOptUserBlockSelect = 3, ///< the user may select blocks (off: only single cells)
    kOptUserResize = 4,      ///< the user may drag column and row header edges
    // 7 automatic recalculation and 8 redraw (off holds repaints) are Sheet::kOptAutoRecalc, kOptRedraw
    kOptProtect = 10,           ///< locked cells cannot be edited
    kOptGridLines = 11,         ///< grid lines drawn
    kOptEditModePermanent = 13, ///< the cell editor opens on every cell that becomes current
    // 30 is Sheet::kOptChangeMade: set by every change the user makes
};

/// Where the active cell goes after Enter confirms an edit.
enum class EnterAction : int { None = 0, Up, Down, Left, Right, Next, Previous, Same, NextRow };

/// What the user may do with the grid.
enum class OperationMode : int {
    Normal = 0,   ///< select and edit cells
    ReadOnly = 1, ///< select cells, never edit them
    Row = 2,      ///< whole rows are selected; cells can be edited
    Single = 3,   ///< one whole row can be selected, nothing edited
    Multi = 4,    ///< several rows (Ctrl+click), nothing edited
    Extended = 5, ///< several rows (Shift/Ctrl+click), nothing edited
};

/// The three keyboard actions a caller can bind to keys (key 0 = unbound).
enum ActionKeyKind : int {
    kActionClear = 0,   ///< clears the contents of the selected cells (default: Delete)
    kActionCurrent = 1, ///< opens the editor on the active cell (default: F2)
    kActionPopup = 2,   ///< drops down the list of a combo-box cell (default: F4)
};

/// A key bound to an action; `key` is a virtual key code (VK_DELETE is 0x2e).
struct ActionKey {
    int key = 0;
    bool shift = false;
    bool ctrl = false;
};

/// Return values of SSGetCellSpan.
enum SpanKind : int { kSpanNo = 0, kSpanYes = 1, kSpanAnchor = 2 };

/// Notifications from the control to its owning dialog; every hook has an empty default.
class SpreadListener {
public:
    virtual ~SpreadListener() = default;
    /// The active cell is about to leave `from` for `to`; return false to keep it where it is.
    virtual bool leaveCell(SpreadControl& c, CellPos from, CellPos to) { return true; }
    /// The active cell moved (by the user or by code).
    virtual void activeCellChanged(SpreadControl& c, CellPos from, CellPos to) {}
    /// The selected block changed; `block` is the active cell alone when no block is selected.
    virtual void selectionChanged(SpreadControl& c, const CellRange& block) {}
    /// Right mouse button on a cell (col or row 0 for headers); the point is in screen pixels.
    virtual void rightClick(SpreadControl& c, int col, int row, int screenX, int screenY) {}
    /// The user switched a check-box cell on or off.
    virtual void checkBoxToggled(SpreadControl& c, int col, int row, bool on) {}
    /// The user pressed a button cell.
    virtual void buttonClicked(SpreadControl& c, int col, int row) {}
    /// The user picked an item of a combo-box cell.
    virtual void comboSelected(SpreadControl& c, int col, int row, int index) {}
    /// The user changed a cell's contents (edit confirmed, check box, combo, paste, clear).
    virtual void dataChanged(SpreadControl& c, int col, int row) {}
    /// The cell editor opened or closed on a cell; `changed` tells whether it wrote the cell.
    virtual void editModeChanged(SpreadControl& c, int col, int row, bool editing, bool changed) {}
    /// A row was moved from `from` to `to` (the user's Alt+Up/Alt+Down or moveRow).
    virtual void rowMoved(SpreadControl& c, int from, int to) {}
    /// Double click on a cell.
    virtual void doubleClick(SpreadControl& c, int col, int row) {}
    /// The user dragged a column (`column` true) or row edge to a new size.
    virtual void userResized(SpreadControl& c, bool column, int index) {}
    /// The control window changed size (pixels); the binding re-fits columns and rows here.
    virtual void sizeChanged(SpreadControl& c, int width, int height) {}
    /// Tab past the last cell (`forward`) or Shift+Tab before the first; return true when the owner
    /// moved the focus itself, false to let the focus go on to the next control of the dialog.
    virtual bool tabOut(SpreadControl& c, bool forward) { return false; }
    /// The control is being destroyed; the handle must not be used afterwards.
    virtual void destroyed(SpreadControl& c) {}
};

/// Where a print run goes: a PDF file, or a printer by name ("" for the system's default).
struct PrintTarget {
    std::string printerName;
    std::string outputFile; ///< set: a PDF file, written whole or not at all
    int copies = 1;
    /// The printer's unprintable edge at the left and top, in points: the page is drawn from there,
    /// as the printer's own origin lies there.
    double offsetX = 0, offsetY = 0;
    /// The paper in points, portrait; 0: the page of the print options is the paper.
    double paperWidth = 0, paperHeight = 0;
};

/// What the control needs from its view (the Qt widget); without a view the control still works.
class SpreadView {
public:
    virtual ~SpreadView() = default;
    /// Contents or looks changed: repaint what is visible.
    virtual void redraw() = 0;
    /// The editor opened, closed, or its text or selection was set by code.
    virtual void editorChanged() = 0;
    /// Scrolls so that the cell is visible.
    virtual void showCell(int col, int row) = 0;
    /// The client area in pixels.
    virtual SSRect clientRect() const = 0;
    /// The size a text needs in a font, in pixels.
    virtual void textSize(const std::string& text, const Font& font, double& width, double& height) const = 0;
    /// The height in pixels a text needs in a font when it wraps at `width` pixels; negative when the
    /// view cannot tell (the control then estimates).
    virtual double wrappedTextHeight(const std::string& text, const Font& font, int width) const {
        return -1;
    }
    /// Prints the grid (the agent's print dialog chooses printer or PDF file); false with a reason.
    virtual bool print(const std::string& jobName, std::string& error) = 0;
    /// Prints the grid with its print options to a target chosen beforehand; false with a reason.
    virtual bool printTo(const PrintTarget& target, const std::string& jobName, std::string& error) {
        error = "This view cannot print.";
        return false;
    }
    /// The person's edit was refused (not a number, out of bounds, a formula that does not read);
    /// the view tells the person why. The editor is still open on the cell.
    virtual void editRefused(const std::string& reason) {}
    virtual void setClipboardText(const std::string& text) = 0;
    virtual std::string clipboardText() const = 0;
};

/// One grid control: an engine sheet plus everything its entry points and its view need.
class SpreadControl {
public:
    SpreadControl();
    ~SpreadControl();
    SpreadControl(const SpreadControl&) = delete;
    SpreadControl& operator=(const SpreadControl&) = delete;

    Sheet& sheet() { return m_sheet; }
    const Sheet& sheet() const { return m_sheet; }
    /// The listener gets the notifications (not owned; null for none).
    void setListener(SpreadListener* l) { m_listener = l; }
    SpreadListener* listener() const { return m_listener; }
    /// The view that draws the control (not owned; null for none).
    void setView(SpreadView* v);
    SpreadView* view() const { return m_view; }
    /// Asks the view to repaint unless drawing is switched off (option 8).
    void redraw();
    /// The reason of the last failed file operation or print.
    const std::string& lastError() const { return m_lastError; }
    void setLastError(std::string e) { m_lastError = std::move(e); }

    // --- settings the entry points keep
    EnterAction enterAction = EnterAction::Down;
    OperationMode operationMode = OperationMode::Normal;
    ActionKey actionKeys[3];
    std::uint32_t selBackColor = rgb(0xC0, 0xD8, 0xF0);  ///< selected cells' background
    std::uint32_t selTextColor = kDefaultColor;          ///< selected cells' text; default: the cell's own
    std::uint32_t grayBackColor = rgb(0xE6, 0xE6, 0xE6); ///< area right of and below the grid
    std::uint32_t grayTextColor = 0;
    std::uint32_t lockBackColor = kDefaultColor; ///< locked cells while protected
    std::uint32_t lockTextColor = kDefaultColor;
    std::uint32_t headerBackColor = rgb(0xF0, 0xF0, 0xF0);
    int backColorStyle =
        0;              ///< 0 cell colours over grid lines, 1 under them, 2/3 over horizontal/vertical only
    int appearance = 1; ///< 0 flat, 1 sunken frame, 2 raised frame
    int noteIndicator = 0;  ///< 0 a red corner on cells with a note, 1 none
    int textTipStatus = 0;  ///< 0 off, 1 fixed, 2 floating, 3 fixed with focus, 4 floating with focus
    int textTipDelay = 500; ///< milliseconds
    int autoSizeCols = 0;   ///< columns the control asks room for (0: whatever it is given)
    int autoSizeRows = 0;
    int cursorType = 0, cursorShape = 0; ///< kept for the caller
    PrintOptions printOptions;
    CellPos sendingCell{0, 0}; ///< the cell the latest notification is about

    /// Returns the control to its initial state; the sheet is emptied (custom functions stay).
    void reset();

    // --- user actions: what the view calls for a person's input (each notifies the listener)
    /// Moves the active cell, as clicking or an arrow key does; `extend` grows the block from the
    /// anchor instead. Confirms an open edit first; false when the edit or the listener refused.
    bool moveActive(int col, int row, bool extend = false);
    /// Moves the active cell from code: an open edit is confirmed (or dropped when refused) and the
    /// listener is told, but not asked.
    bool setActiveFromCode(int col, int row);
    /// The far corner of the block that Shift+arrow keys and Shift+click extend (the anchor is the
    /// active cell).
    CellPos extentCell() const { return m_extent; }
    /// Selects a block from the anchor cell `a` to `b`, as dragging does; whole rows or columns
    /// when col or row of both is kAll. The active cell becomes `a`.
    bool selectBlock(CellPos a, CellPos b);
    /// True when the block is more than the active cell.
    bool hasBlock() const;
    /// The selected block, or the active cell alone.
    CellRange selectedBlock() const;
    /// True when the user may change this cell (mode, lock with protection, cell kind).
    bool canEdit(int col, int row) const;
    /// Opens the editor on the active cell. `replaceWith` set: typing started it, the text replaces
    /// the contents; otherwise the editor shows the cell's text (formula with '=' when it has one).
    bool beginEdit(const std::string* replaceWith = nullptr);
    bool editing() const { return m_editing; }
    const std::string& editText() const { return m_editText; }
    /// The editor's text as the person changes it (the view calls this on every keystroke).
    void setEditText(const std::string& text);
    /// Selection in the editor, in characters (UTF-8 code points); end -1 = to the end.
    void setEditSel(int start, int end);
    int editSelStart() const { return m_selStart; }
    int editSelEnd() const { return m_selEnd; }
    /// Writes the editor's text to the cell ('=' makes a formula; number cells take numbers within
    /// their bounds only, typed with a decimal comma or point). False, with the editor still open
    /// and the reason in lastError(), when the text is refused; the cell keeps its value.
    bool commitEdit();
    /// Confirms an open edit as the person's own action does (Enter, Tab, moving away): a refused
    /// text is reported to the view, which tells the person, and the editor stays open.
    bool confirmEdit();
    /// Closes the editor without writing.
    void cancelEdit();
    /// Enter in the editor: confirm, then move as the enter action says.
    bool pressEnter();
    /// Tab / Shift+Tab: next or previous cell in reading order. Past the last (first) cell the
    /// listener is told; false then, unless it took the focus, so that the view lets the focus go.
    bool pressTab(bool forward);
    /// Clicking a check-box cell: switches it and notifies.
    bool toggleCheck(int col, int row);
    /// A button cell was pressed.
    bool pressButton(int col, int row);
    /// An item of a combo-box cell was chosen.
    bool chooseComboItem(int col, int row, int index);
    /// Clears the contents of the selected block (the clear action key).
    bool clearSelection();
    /// Moves a whole row to another place (the rows between shift) and notifies rowMoved.
    bool moveRow(int from, int to);
    /// The user dragged a column or row edge to `pixels`.
    bool userResize(bool column, int index, int pixels);
    /// Copies the selected block to the clipboard; pastes the clipboard at the active cell.
    bool copyToClipboard();
    bool pasteFromClipboard();
    /// Notifies a right click and remembers the cell.
    void rightClick(int col, int row, int screenX, int screenY);
    /// Notifies a double click.
    void doubleClick(int col, int row);
    /// The window changed size.
    void sizeChanged(int width, int height);

    /// Text size in pixels through the view, or an estimate (7 pixels a character) without one.
    void textSize(const std::string& text, const Font& font, double& width, double& height) const;
    /// The size in pixels the cell's shown text needs (with a little padding).
    void cellTextSize(int col, int row, double& width, double& height) const;
    /// The row height in pixels a cell's wrapped text needs at its column's width (padding
    /// included); 0 for a cell that does not wrap (no multi-line or word-wrap type, a check box,
    /// button or picture, turned text, part of a span).
    int wrappedCellHeight(int col, int row) const;
    /// Measures the rows whose cells, looks or column widths changed since the last call: a row at
    /// the default height grows to hold its tallest wrapped text and shrinks back (never below the
    /// default) when that text gets shorter or its column wider; rows whose height was set keep it.
    /// Only the noted rows are measured, each over its stored cells. The view calls this before it
    /// lays out or paints, the print and preview before they lay out pages.
    void fitRowHeights();

    // used by the preview controls that show this grid
    void addPreview(PreviewControl* p);
    void removePreview(PreviewControl* p);

private:
    void setActive(int col, int row);
    bool moveTo(int col, int row, bool extend, bool ask);
    void notifySelection();
    bool writeCell(int col, int row, const std::string& text);
    void changedByUser(int col, int row);

    Sheet m_sheet;
    SpreadListener* m_listener = nullptr;
    SpreadView* m_view = nullptr;
    std::string m_lastError;
    bool m_editing = false;
    std::string m_editText;
    std::string m_editStart; ///< what the editor began with: an unchanged text writes nothing
    int m_selStart = 0, m_selEnd = 0;
    CellPos m_anchor{1, 1};
    CellPos m_extent{1, 1};
    std::vector<PreviewControl*> m_previews;
};

/// The state of one print preview control: which grid, which page, which zoom.
class PreviewControl {
public:
    explicit PreviewControl(SpreadControl* grid = nullptr);
    ~PreviewControl();
    PreviewControl(const PreviewControl&) = delete;
    PreviewControl& operator=(const PreviewControl&) = delete;

    SpreadControl* grid() const { return m_grid; }
    void setGrid(SpreadControl* g);
    /// Pages of the grid with its print options (0 without a grid).
    int pageCount() const;
    /// Asks the view to repaint (set by the preview widget).
    std::function<void()> redraw;

    int viewType = 0;          ///< 0 whole page, 1 normal size, 2 percentage, 3 page width, 4 page height
    int percentage = 100;      ///< zoom for view type 2, 10 .. 400
    int currentPage = 1;       ///< from 1
    bool allowUserZoom = true; ///< clicks and the wheel with Ctrl zoom

private:
    SpreadControl* m_grid = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Entry points. A null handle does nothing and reports failure (false, -1 for counts). Cell
// arguments count from 1; in single-cell functions kAll or 0 addresses the header row or column.
// In block and format functions kAll means every column or row.

// options
bool SSSetBool(SpreadControl* c, int option, bool on); ///< true on success
bool SSGetBool(SpreadControl* c, int option);

// grid size
SS_COORD SSGetMaxCols(SpreadControl* c);
SS_COORD SSGetMaxRows(SpreadControl* c);
bool SSSetMaxCols(SpreadControl* c, SS_COORD n);
bool SSSetMaxRows(SpreadControl* c, SS_COORD n);

// contents: getters return the length and fill `out` (-1 and `out` unchanged outside the grid)
int SSGetData(SpreadControl* c, SS_COORD col, SS_COORD row, std::string& out);
int SSGetDataLen(SpreadControl* c, SS_COORD col, SS_COORD row);
bool SSSetData(SpreadControl* c, SS_COORD col, SS_COORD row, const std::string& text);
bool SSSetDataRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2,
                    const std::string& text);
int SSGetFormula(SpreadControl* c, SS_COORD col, SS_COORD row, std::string& out); ///< without '='
int SSGetFormulaLen(SpreadControl* c, SS_COORD col, SS_COORD row);
/// Sets a formula; false (cell unchanged) when it does not parse. Empty text removes it.
bool SSSetFormula(SpreadControl* c, SS_COORD col, SS_COORD row, const std::string& formula);
/// Sets the same formula text in every cell of the block ('#' references follow each cell).
bool SSSetFormulaRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2,
                       const std::string& formula);
int SSGetValue(SpreadControl* c, SS_COORD col, SS_COORD row, std::string& out);
int SSGetValueLen(SpreadControl* c, SS_COORD col, SS_COORD row);
bool SSSetValue(SpreadControl* c, SS_COORD col, SS_COORD row, const std::string& value);
bool SSGetFloat(SpreadControl* c, SS_COORD col, SS_COORD row, double& out); ///< false for non-numbers
/// Texts of a block compared without reading every cell: true, with the text in `out`, when every
/// cell of the block has the same text of `kind` (0 shown data, 1 formula, 2 tag, 3 value); false
/// when they differ, for a null handle or an unknown kind. kAll spans whole columns or rows. Only
/// stored cells are visited and the first difference ends the walk, so a whole large table costs
/// no more than its contents.
bool SSGetBlockCommonText(SpreadControl* c, const CellRange& block, int kind, std::string& out);
bool SSSetFloat(SpreadControl* c, SS_COORD col, SS_COORD row, double v);

// tag, note, text tips
int SSGetCellTag(SpreadControl* c, SS_COORD col, SS_COORD row, std::string& out);
bool SSSetCellTag(SpreadControl* c, SS_COORD col, SS_COORD row, const std::string& tag);
int SSGetCellNote(SpreadControl* c, SS_COORD col, SS_COORD row, std::string& out);
bool SSSetCellNote(SpreadControl* c, SS_COORD col, SS_COORD row, const std::string& note);
bool SSSetCellNoteIndicator(SpreadControl* c, int indicator); ///< 0 shown, 1 hidden
bool SSGetTextTip(SpreadControl* c, int& status, int& delayMs);
bool SSSetTextTip(SpreadControl* c, int status, int delayMs);

// spans
bool SSAddCellSpan(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD numCols, SS_COORD numRows);
bool SSRemoveCellSpan(SpreadControl* c, SS_COORD col, SS_COORD row);
/// kSpanAnchor for the top-left cell of a span, kSpanYes for its other cells, kSpanNo otherwise.
int SSGetCellSpan(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD& anchorCol, SS_COORD& anchorRow,
                  SS_COORD& numCols, SS_COORD& numRows);

// cell types: the SSSetType* functions fill `t` and return it (null for a null handle)
CellType* SSSetTypeEdit(SpreadControl* c, CellType& t, std::uint32_t style, int maxLength,
                        bool multiLine = false);
CellType* SSSetTypeNumber(SpreadControl* c, CellType& t, std::uint32_t style, int decimals, double minimum,
                          double maximum, bool thousands = false);
CellType* SSSetTypePicture(SpreadControl* c, CellType& t, std::uint32_t style, const std::string& picture);
/// `items` joined with tab characters.
CellType* SSSetTypeComboBox(SpreadControl* c, CellType& t, std::uint32_t style, const std::string& items,
                            bool editable = false);
/// Pictures: a file path or "#<bitmap id>" of the current resources; empty draws a plain box.
CellType* SSSetTypeCheckBox(SpreadControl* c, CellType& t, std::uint32_t style, const std::string& text,
                            const std::string& pictureOff, const std::string& pictureOn, bool framed = false);
CellType* SSSetTypeButton(SpreadControl* c, CellType& t, std::uint32_t style, const std::string& text);
CellType* SSSetTypeStaticText(SpreadControl* c, CellType& t, std::uint32_t style);
bool SSSetCellType(SpreadControl* c, SS_COORD col, SS_COORD row, const CellType& t);
bool SSSetCellTypeRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2,
                        const CellType& t);
bool SSGetCellType(SpreadControl* c, SS_COORD col, SS_COORD row, CellType& out);

// colours (0x00BBGGRR; kDefaultColor = the grid's own)
bool SSSetColor(SpreadControl* c, SS_COORD col, SS_COORD row, std::uint32_t back, std::uint32_t text);
bool SSSetColorRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2,
                     std::uint32_t back, std::uint32_t text);
bool SSGetColor(SpreadControl* c, SS_COORD col, SS_COORD row, std::uint32_t& back, std::uint32_t& text);
bool SSSetSelColor(SpreadControl* c, std::uint32_t back, std::uint32_t text);
bool SSSetBackColorStyle(SpreadControl* c, int style);
bool SSSetGrayAreaColor(SpreadControl* c, std::uint32_t back, std::uint32_t text);
bool SSSetLockColor(SpreadControl* c, std::uint32_t back, std::uint32_t text);

// fonts, borders, locking
bool SSSetFont(SpreadControl* c, SS_COORD col, SS_COORD row, const Font& font);
bool SSSetFontRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2,
                    const Font& font);
bool SSGetFont(SpreadControl* c, SS_COORD col, SS_COORD row, Font& out);
/// `sides`: kBorderLeft | kBorderRight | kBorderTop | kBorderBottom; style 0 removes the line.
bool SSSetBorder(SpreadControl* c, SS_COORD col, SS_COORD row, int sides, int style, std::uint32_t color);
bool SSSetBorderRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2, int sides,
                      int style, std::uint32_t color);
/// The sides that have a line, and style and colour of the first of them.
bool SSGetBorder(SpreadControl* c, SS_COORD col, SS_COORD row, int& sides, int& style, std::uint32_t& color);
bool SSSetLock(SpreadControl* c, SS_COORD col, SS_COORD row, bool locked);
bool SSSetLockRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2, bool locked);
bool SSGetLock(SpreadControl* c, SS_COORD col, SS_COORD row);

// sizes (widths and heights in the unit type's units; kAll sets every column or row)
bool SSSetColWidth(SpreadControl* c, SS_COORD col, double width);
bool SSGetColWidth(SpreadControl* c, SS_COORD col, double& width);
bool SSSetColWidthInPixels(SpreadControl* c, SS_COORD col, int pixels);
bool SSGetColWidthInPixels(SpreadControl* c, SS_COORD col, int& pixels);
bool SSSetRowHeight(SpreadControl* c, SS_COORD row, double height);
bool SSGetRowHeight(SpreadControl* c, SS_COORD row, double& height);
bool SSSetRowHeightInPixels(SpreadControl* c, SS_COORD row, int pixels);
bool SSGetRowHeightInPixels(SpreadControl* c, SS_COORD row, int& pixels);
/// The size the cell's text needs, in the unit type's units.
bool SSGetMaxTextCellSize(SpreadControl* c, SS_COORD col, SS_COORD row, double& width, double& height);
/// The widest text of a column (header included), in width units.
bool SSGetMaxTextColWidth(SpreadControl* c, SS_COORD col, double& width);
/// The tallest text of a row (header included), in height units.
bool SSGetMaxTextRowHeight(SpreadControl* c, SS_COORD row, double& height);
bool SSSetUnitType(SpreadControl* c, int unitType); ///< 0 normal, 1 twips, 2 pixels
int SSGetUnitType(SpreadControl* c);
bool SSSetAutoSizeVisible(SpreadControl* c, SS_COORD visibleCols, SS_COORD visibleRows);

// active cell, selection, editor selection, client area
bool SSGetActiveCell(SpreadControl* c, SS_COORD& col, SS_COORD& row);
bool SSSetActiveCell(SpreadControl* c, SS_COORD col, SS_COORD row);
/// The selected block (clipped to the grid); false, with both corners at the active cell, when no
/// block is selected.
bool SSGetSelectBlock(SpreadControl* c, SS_CELLCOORD& ul, SS_CELLCOORD& lr);
bool SSSetSelectBlock(SpreadControl* c, const SS_CELLCOORD& ul, const SS_CELLCOORD& lr);
/// Text selection in the open cell editor, in characters; false when no editor is open.
bool SSGetSel(SpreadControl* c, int& start, int& end);
bool SSSetSel(SpreadControl* c, int start, int end);
bool SSGetCellSendingMsg(SpreadControl* c, SS_COORD& col, SS_COORD& row);
bool SSGetClientRect(SpreadControl* c, SSRect& rect);

// editing behaviour
bool SSSetEditMode(SpreadControl* c, bool on); ///< opens (true) or confirms and closes the editor
bool SSGetEditMode(SpreadControl* c);
bool SSSetEditEnterAction(SpreadControl* c, int action); ///< EnterAction values
bool SSSetOperationMode(SpreadControl* c, int mode);     ///< OperationMode values
bool SSSetCursor(SpreadControl* c, int type, int shape);
/// Binds an ActionKeyKind to a key; key 0 unbinds it.
bool SSSetActionKey(SpreadControl* c, int action, bool shift, bool ctrl, int key);

// rows, columns and blocks (insert and delete keep the grid size: what is pushed out is lost)
bool SSInsRow(SpreadControl* c, SS_COORD row);
bool SSInsCol(SpreadControl* c, SS_COORD col);
bool SSDelRow(SpreadControl* c, SS_COORD row);
bool SSDelCol(SpreadControl* c, SS_COORD col);
bool SSCopyRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2, SS_COORD dstCol,
                 SS_COORD dstRow);
bool SSMoveRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2, SS_COORD dstCol,
                 SS_COORD dstRow);
bool SSSwapRange(SpreadControl* c, SS_COORD col, SS_COORD row, SS_COORD col2, SS_COORD row2, SS_COORD dstCol,
                 SS_COORD dstRow);

// formulas and recalculation
bool SSSetRefStyle(SpreadControl* c, int style); ///< 0 default, 1 A1, 2 R1C1
int SSGetRefStyle(SpreadControl* c);
bool SSReCalcCell(SpreadControl* c, SS_COORD col, SS_COORD row);
bool SSReCalc(SpreadControl* c);
/// Registers a function that formulas of this grid can call; flags are kept for the caller.
bool SSAddCustomFunctionExt(SpreadControl* c, const std::string& name, int minArgs, int maxArgs,
                            CustomFunction fn, long flags = 0);

// files and exports (false with SpreadControl::lastError() on failure; the sheet stays as it was)
bool SSSaveToFile(SpreadControl* c, const std::string& path, bool dataOnly = false);
bool SSLoadFromFile(SpreadControl* c, const std::string& path);
/// `flags`: TextExportFlags (0x19 = "|" between columns, CR LF, shown texts).
bool SSExportToTextFile(SpreadControl* c, const std::string& path, unsigned flags);
bool SSExportToHTML(SpreadControl* c, const std::string& path, const std::string& title = {});
bool SSExportToExcel(SpreadControl* c, const std::string& path, const std::string& sheetName = "Sheet1");

// clipboard: the selected block (or active cell) as tab-separated text; paste at the active cell
bool SSClipboardCopy(SpreadControl* c);
bool SSClipboardPaste(SpreadControl* c);

// printing
/// Prints through the view (printer or PDF file, as the print dialog answers).
bool SSPrint(SpreadControl* c, const std::string& jobName);
/// Prints with the grid's print options to a printer or PDF file chosen beforehand.
bool SSPrintTo(SpreadControl* c, const PrintTarget& target, const std::string& jobName);
bool SSSetPrintOptions(SpreadControl* c, const PrintOptions& options);
bool SSGetPrintOptions(SpreadControl* c, PrintOptions& out);
int SSGetPrintPageCount(SpreadControl* c);
/// The block that prints with the grid's print options (the used part of the sheet unless a block
/// is chosen); false without a grid.
bool SSGetPrintBlock(SpreadControl* c, CellRange& out);

// appearance, reset
bool SSSetAppearance(SpreadControl* c, int appearance);
bool SSReset(SpreadControl* c);

// print preview control
bool SpvSethWndSpread(PreviewControl* p, SpreadControl* grid);
bool SpvSetPageViewType(PreviewControl* p, int type);
bool SpvSetPageViewPercentage(PreviewControl* p, int percent); ///< 10 .. 400
int SpvGetPageViewPercentage(PreviewControl* p);
bool SpvSetPageCurrent(PreviewControl* p, int page); ///< false outside 1 .. page count
int SpvGetPageCurrent(PreviewControl* p);
int SpvGetPageCount(PreviewControl* p);
bool SpvSetAllowUserZoom(PreviewControl* p, bool allow);

} // namespace sheet
