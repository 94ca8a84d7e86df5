#pragma once
// The undo history of a table in the editor. A step keeps, for each block it touched, what the
// cells held before and after it (contents, formula, tag, note, type, style, spans) and, when the
// table changed size, the sizes before and after; so a step costs what the cells it changed cost,
// never a copy of the table.

#include <sheet/Sheet.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

/// Told about changes before they are made (Vor_Spread passes its owner's hooks on to it).
class SpreadChangeRecorder {
public:
    virtual ~SpreadChangeRecorder() = default;
    /// A change starts; changes nest, the outermost end closes the step.
    virtual void beginChange() = 0;
    /// The cells of `block` (headers allowed, beyond the grid allowed) are about to change.
    virtual void aboutToChange(const sheet::CellRange& block) = 0;
    /// The table's size or header sizes are about to change.
    virtual void aboutToResize() = 0;
    /// The change is done. Steps with the same non-zero `mergeKey` that follow each other without
    /// anything in between (typing in one field) become one step.
    virtual void endChange(int mergeKey) = 0;
};

class EditHistory : public SpreadChangeRecorder {
public:
    explicit EditHistory(sheet::Sheet& sheet)
        : m_sheet(sheet) {}

    /// Everything one cell holds.
    struct CellState {
        int col = 0, row = 0;
        sheet::Value value;
        sheet::ProgramPtr program;
        std::string tag, note;
        sheet::CellType type;
        sheet::CellStyle style;
        bool operator==(const CellState& o) const;
    };
    /// What a block held: its used cells (the others were empty) and the spans inside it.
    struct Snapshot {
        sheet::CellRange block;
        std::vector<CellState> cells;
        std::vector<sheet::CellRange> spans;
        std::vector<double> widths; ///< columns col1..col2 when the block covers whole columns
        bool operator==(const Snapshot&) const = default;
    };
    /// The table's size and header sizes.
    struct Shape {
        int cols = 0, rows = 0;
        double headerWidth = 0, headerHeight = 0;
        bool operator==(const Shape&) const = default;
    };

    // SpreadChangeRecorder
    void beginChange() override;
    void aboutToChange(const sheet::CellRange& block) override;
    void aboutToResize() override;
    void endChange(int mergeKey) override;
    /// True while a change is under way.
    bool recording() const { return m_depth > 0; }

    /// Records a change already made to one cell, given what it held before (for edits that the
    /// grid makes itself: typing in a cell, a check box, a combo box).
    void recordCellChange(const Snapshot& before);
    /// What a block holds now.
    Snapshot capture(const sheet::CellRange& block) const;

    bool canUndo() const { return m_pos > 0; }
    bool canRedo() const { return m_pos < m_steps.size(); }
    /// Puts the table back as it was before the last step (after it, for redo); false when there is none.
    bool undo();
    bool redo();
    /// No step can be merged into any more (the person moved on).
    void closeMerge() { m_mergeOpen = false; }
    /// The table as it is now is the saved one.
    void markSaved();
    /// True when the table differs from the saved one (as far as the history knows).
    bool atSavedState() const { return m_saved && *m_saved == m_pos; }
    /// Forgets every step (a table was opened); the table as it is counts as saved.
    void clear();
    std::size_t steps() const { return m_steps.size(); }
    /// Approximate bytes the history holds.
    std::size_t memoryUse() const;

private:
    struct Step {
        std::vector<Snapshot> before, after;
        std::optional<Shape> shapeBefore, shapeAfter;
        int mergeKey = 0;
    };
    Shape shape() const;
    void applyShape(const Shape& s);
    void restore(const Snapshot& s);
    void push(Step step);

    sheet::Sheet& m_sheet;
    std::vector<Step> m_steps;
    std::size_t m_pos = 0;                  ///< steps below this are done; from it on they can be redone
    std::optional<std::size_t> m_saved = 0; ///< m_pos of the saved table; none when no longer reachable
    int m_depth = 0;
    Step m_open;
    bool m_mergeOpen = false;
};
