#pragma once
// The spreadsheet engine: cells, formulas, recalculation, formatting and block operations.

#include <sheet/CellRef.h>
#include <sheet/Evaluator.h>
#include <sheet/Parser.h>
#include <sheet/Program.h>
#include <sheet/Style.h>
#include <sheet/Value.h>

#include <bitset>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sheet {

class Sheet;
struct CellRec;

/// A value exchanged with a custom function: status, kind and the value itself.
struct FnValue {
    enum Status : int { Ok = 0, Unreadable = 1, NoResult = 2 };
    enum Kind : int { Whole = 0, Floating = 1, Text = 2, Cell = 3, Range = 4 };
    int status = NoResult;
    int kind = Whole;
    std::int32_t whole = 0;
    double floating = 0;
    std::string text;
    CellRange cells; ///< Cell: (col1,row1); Range: all four
};

/// A custom function: fills `result` from `args`; `caller` is the sheet whose formula calls it
/// and `at` the calling cell. Returning false makes the cell show #VALUE!.
using CustomFunction =
    std::function<bool(Sheet& caller, CellPos at, FnValue& result, std::span<FnValue> args)>;

/// Units of column widths and row heights.
enum class UnitType : std::uint8_t {
    Normal = 0, ///< widths in characters of 7 pixels, heights in points
    Twips = 1,  ///< 1/1440 inch (15 per pixel at 96 dpi)
    Pixels = 2,
};

/// One spreadsheet. Cells are addressed from 1; row 0 and column 0 hold the header texts.
class Sheet : public EvalContext {
public:
    /// Boolean options with a fixed meaning; other numbers are kept for the grid control.
    static constexpr int kOptAutoRecalc = 7;
    static constexpr int kOptRedraw = 8;
    static constexpr int kOptChangeMade = 30;
    static constexpr int kOptionCount = 128;

    Sheet();
    ~Sheet() override;
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    /// Takes over the contents of `other` (a freshly loaded sheet), keeping this sheet's custom functions.
    /// False, and nothing changes, while either sheet's custom function is under way.
    bool swapContents(Sheet& other);
    /// Empties the sheet and returns every setting to its initial value (custom functions stay).
    void reset();

    // --- size and options
    int maxCols() const { return m_maxCols; }
    int maxRows() const { return m_maxRows; }
    /// Sets the column count; cells beyond it are removed. False for counts outside 0..limit.
    bool setMaxCols(int n);
    /// Sets the row count; cells beyond it are removed.
    bool setMaxRows(int n);
    bool option(int n) const { return n >= 0 && n < kOptionCount && m_options[std::size_t(n)]; }
    /// Sets a numbered option; switching automatic recalculation on recalculates what is pending.
    bool setOption(int n, bool on);
    RefStyle refStyle() const { return m_refStyle; }
    void setRefStyle(RefStyle s) { m_refStyle = s; }

    // --- contents
    // Edits that would grow the cell store past its budget (docs/table-file.md), or that meet an
    // allocation failure, are refused: they return false and never throw.

    /// Sets what the cell holds as typed text (a number when the text is one); removes a formula.
    bool setData(int col, int row, std::string_view text);
    /// The text the cell shows, formatted by its type (computed value for formula cells).
    std::string data(int col, int row) const;
    /// The unformatted value as text.
    std::string valueText(int col, int row) const;
    /// The value of a cell as formulas see it.
    Value value(int col, int row) const;
    /// Sets a number.
    bool setNumber(int col, int row, double v);
    /// Sets a value of any kind (used by loaders and paste).
    bool setValue(int col, int row, const Value& v);
    /// Sets a formula ('=' optional); empty text removes it. A refused formula leaves the cell as it
    /// was and reports code and position in `err`.
    bool setFormula(int col, int row, std::string_view text, ParseError* err = nullptr);
    /// Sets an already compiled formula (loader, copy).
    bool setProgram(int col, int row, ProgramPtr p);
    /// The formula in the current reference style, without '='; empty when none.
    std::string formula(int col, int row) const;
    /// The formula in a given style.
    std::string formula(int col, int row, RefStyle style) const;
    bool hasFormula(int col, int row) const;
    ProgramPtr program(int col, int row) const;
    bool setTag(int col, int row, std::string_view text);
    std::string tag(int col, int row) const;
    bool setNote(int col, int row, std::string_view text);
    std::string note(int col, int row) const;
    /// Which text of a cell blockCommonText compares.
    enum class CellText {
        Data = 0,    ///< the shown text (data())
        Formula = 1, ///< the formula in the current reference style, without '='
        Tag = 2,     ///< the cell tag
        Value = 3,   ///< the unformatted value (valueText())
    };
    /// True when every cell of the block (clipped to the grid) has the same text of that kind,
    /// which is then in `out` (empty for a block outside the grid). Visits stored cells only and stops at the
    /// first difference, so a whole 10,000 x 10,000 selection costs what its stored cells cost.
    bool blockCommonText(const CellRange& r, CellText kind, std::string& out) const;
    /// Removes contents (data, formula, tag, note) of a block; formats stay.
    void clearContents(const CellRange& r);
    /// Removes everything of a block, formats included.
    void clearAll(const CellRange& r);
    /// True when the cell holds data, formula, tag, note, type or style.
    bool isUsed(int col, int row) const;
    /// The smallest block holding every used cell from (1,1); zero size when empty.
    CellPos usedExtent() const;

    // --- formats
    bool setCellType(const CellRange& r, const CellType& t);
    const CellType& cellType(int col, int row) const;
    bool setStyle(const CellRange& r, const CellStyle& s);
    const CellStyle& style(int col, int row) const;
    /// Changes one aspect of the style of every cell of a block.
    bool setFont(const CellRange& r, const Font& f);
    bool setColors(const CellRange& r, std::uint32_t back, std::uint32_t text);
    bool setBorder(const CellRange& r, int sides, int lineStyle, std::uint32_t color);
    bool setLock(const CellRange& r, bool locked);

    // --- spans
    /// Joins a block into one shown cell; refused when it overlaps another span.
    bool addSpan(int col, int row, int numCols, int numRows);
    bool removeSpan(int col, int row);
    /// The span that covers a cell.
    bool spanAt(int col, int row, CellRange& out) const;
    const std::vector<CellRange>& spans() const { return m_spans; }

    // --- sizes
    UnitType unitType() const { return m_unit; }
    void setUnitType(UnitType u) { m_unit = u; }
    double colWidth(int col) const;
    bool setColWidth(int col, double w);
    int colWidthPixels(int col) const;
    bool setColWidthPixels(int col, int px);
    double rowHeight(int row) const;
    bool setRowHeight(int row, double h);
    int rowHeightPixels(int row) const;
    bool setRowHeightPixels(int row, int px);
    /// True when the row's height was set (by the person, a file or code) rather than left at the
    /// default; such a row keeps its height whatever its cells hold.
    bool rowHeightSet(int row) const;
    /// The height a row at the default height has grown to so that its wrapped texts show whole
    /// (0: not grown). The grid control measures it; rowHeightPixels() gives it, files never store it.
    int grownRowHeight(int row) const;
    /// Sets the grown height of a row (data rows only; below the default height counts as none,
    /// above kMaxGrownRowPx is cut to it).
    void setGrownRowHeight(int row, int px);
    /// Rows first..last back to no grown height.
    void clearGrownRows(int first, int last);
    /// The tallest a row grows for its wrapped texts, in pixels.
    static constexpr int kMaxGrownRowPx = 800;
    /// Notes that rows first..last may need another grown height (their texts, looks or column
    /// widths changed). Cells, formats, widths, spans and loads note their rows themselves.
    void markRowsToFit(int first, int last);
    bool hasRowsToFit() const;
    /// Hands the noted rows over as runs fn(first, last), in order, and forgets them.
    void takeRowsToFit(const std::function<void(int, int)>& fn);
    /// Units <-> pixels in the current unit type.
    double widthToPixels(double w) const;
    double pixelsToWidth(double px) const;
    double heightToPixels(double h) const;
    double pixelsToHeight(double px) const;

    // --- active cell and selection
    CellPos activeCell() const { return m_active; }
    void setActiveCell(int col, int row) { m_active = {col, row}; }
    /// The selected block; col1 == 0 when nothing is selected.
    CellRange selection() const { return m_selection; }
    void setSelection(const CellRange& r) { m_selection = r; }

    // --- recalculation
    /// Recalculates every formula.
    void recalc();
    /// Recalculates one formula cell (and any pending cells it reads).
    bool recalcCell(int col, int row);
    /// Formulas evaluated since the counter was last reset (for tests and measurements).
    std::uint64_t evaluations() const { return m_evaluations; }
    void resetEvaluations() { m_evaluations = 0; }
    /// Registers a custom function by name (any case) with its argument count bounds.
    void addCustomFunction(std::string_view name, int minArgs, int maxArgs, CustomFunction fn);
    bool hasCustomFunction(std::string_view name) const;

    // --- rows, columns and blocks
    bool insertRows(int row, int count);
    bool deleteRows(int row, int count);
    bool insertCols(int col, int count);
    bool deleteCols(int col, int count);
    /// Copies a block (contents and formats); relative references shift with the copy.
    bool copyRange(const CellRange& src, CellPos dst);
    /// Moves a block; references to the moved cells follow them.
    bool moveRange(const CellRange& src, CellPos dst);
    /// Exchanges two blocks of the same size that do not overlap; references follow the cells.
    bool swapRange(const CellRange& a, CellPos b);

    // --- iteration for savers and exporters
    /// Calls fn(col, row) for every used cell in column order, headers included.
    void forEachUsed(const std::function<void(int, int)>& fn) const;
    /// Calls fn(col, row, value) for every cell of a block that holds a value, column by column.
    /// Costs what the block's stored cells cost, however large the block: the walk a range reader
    /// (a function over a range, a dependency check) needs.
    void forEachStoredCell(const CellRange& r, const std::function<void(int, int, const Value&)>& fn) const;
    /// Approximate bytes held by the cell store (for the memory measurements).
    std::size_t memoryUse() const;

    // --- EvalContext
    Value cellValue(int col, int row) override { return value(col, row); }
    bool cellNumber(int col, int row, double& out) override;
    void forEachCell(const CellRange& r, const std::function<void(int, int, const Value&)>& fn) override;
    bool callCustom(std::string_view upperName, std::span<Operand> args, CellPos host, Value& out) override;

    /// Shown text of a value by a cell type (number decimals, check box...).
    std::string formatValue(const Value& v, const CellType& t) const;
    /// A block with kAll expanded to whole rows or columns and clipped to the grid.
    CellRange clampRange(const CellRange& r) const;
    /// True for a cell inside the grid (headers included).
    bool inside(int col, int row) const;

    /// Internal storage (SheetStore_p.h).
    struct Impl;

private:
    void removeFormula(CellRec& rec);
    /// setProgram for a program already interned.
    bool installProgram(int col, int row, ProgramPtr p);
    void cellChanged(int col, int row);
    void autoRecalc();
    void recalcPending();
    void evalSlot(std::uint32_t slot);
    void evalPath(std::uint32_t slot);
    bool changeStyle(const CellRange& r, const std::function<void(CellStyle&)>& change);
    bool changeStyleOf(const CellRange& b, const std::function<void(CellStyle&)>& change);
    void rebuildSpanIndex();
    template <class MapCell, class MapRange> void relocate(MapCell&& mapCell, MapRange&& mapRange);
    bool shiftBand(bool rows, int at, int count);
    /// True, and noted against the custom function under way, while this sheet recalculates: a
    /// custom function may write cell data, but never load, reset, reshape, re-formula or
    /// recalculate the sheet whose recalculation called it (freed cells, endless rounds).
    bool refuseWhileRecalculating();
    void moveCells(const std::vector<std::pair<CellPos, CellPos>>& moves, bool keepSource);

    std::unique_ptr<Impl> m_d;
    int m_maxCols = 0, m_maxRows = 0;
    std::bitset<kOptionCount> m_options;
    RefStyle m_refStyle = RefStyle::Default;
    UnitType m_unit = UnitType::Normal;
    CellPos m_active{1, 1};
    CellRange m_selection{};
    std::vector<CellRange> m_spans;
    std::uint64_t m_evaluations = 0;
    int m_customDepth = 0;            ///< custom functions of this sheet under way
    std::uint64_t m_refusedCalls = 0; ///< calls refused by refuseWhileRecalculating()

    friend struct SheetAccess;
};

} // namespace sheet
