#include "calc/EditHistory.h"

#include <algorithm>

namespace {

/// Blocks up to this many cells are read cell by cell; larger ones through the used cells of the
/// table, so that a whole-column format costs what the table holds, not what the block spans.
constexpr long long kCellByCellLimit = 1 << 16;

bool overlaps(const sheet::CellRange& a, const sheet::CellRange& b) {
    return a.col1 <= b.col2 && b.col1 <= a.col2 && a.row1 <= b.row2 && b.row1 <= a.row2;
}

} // namespace

bool EditHistory::CellState::operator==(const CellState& o) const {
    // a formula is kept as its compiled program, which edits replace and never change
    return col == o.col && row == o.row && program == o.program && (program || value == o.value) &&
           tag == o.tag && note == o.note && type == o.type && style == o.style;
}

EditHistory::Snapshot EditHistory::capture(const sheet::CellRange& block) const {
    Snapshot s;
    s.block = block;
    const sheet::CellRange b = m_sheet.clampRange(block);
    auto take = [&](int c, int r) {
        CellState cs;
        cs.col = c;
        cs.row = r;
        cs.program = m_sheet.program(c, r);
        if (!cs.program) cs.value = m_sheet.value(c, r);
        cs.tag = m_sheet.tag(c, r);
        cs.note = m_sheet.note(c, r);
        cs.type = m_sheet.cellType(c, r);
        cs.style = m_sheet.style(c, r);
        s.cells.push_back(std::move(cs));
    };
    if (b.col1 <= b.col2 && b.row1 <= b.row2) {
        const long long area = (long long)(b.col2 - b.col1 + 1) * (b.row2 - b.row1 + 1);
        if (area <= kCellByCellLimit) {
            for (int c = b.col1; c <= b.col2; ++c)
                for (int r = b.row1; r <= b.row2; ++r)
                    if (m_sheet.isUsed(c, r)) take(c, r);
        } else {
            m_sheet.forEachUsed([&](int c, int r) {
                if (c >= b.col1 && c <= b.col2 && r >= b.row1 && r <= b.row2) take(c, r);
            });
        }
    }
    for (const sheet::CellRange& span : m_sheet.spans())
        if (overlaps(span, b)) s.spans.push_back(span);
    // Whole columns (a block down to the last row) keep their widths: fitting a column is a change too.
    if (block.row1 <= 1 && block.row2 >= m_sheet.maxRows() && b.col1 <= b.col2 && b.col2 - b.col1 < 4096)
        for (int c = b.col1; c <= b.col2; ++c)
            s.widths.push_back(m_sheet.colWidth(c));
    return s;
}

void EditHistory::restore(const Snapshot& s) {
    const sheet::CellRange b = m_sheet.clampRange(s.block);
    if (b.col1 > b.col2 || b.row1 > b.row2) return;
    for (const sheet::CellRange& span : std::vector<sheet::CellRange>(m_sheet.spans()))
        if (overlaps(span, b)) m_sheet.removeSpan(span.col1, span.row1);
    m_sheet.clearAll(b);
    for (const CellState& cs : s.cells) {
        const sheet::CellRange one{cs.col, cs.row, cs.col, cs.row};
        if (!(cs.type == sheet::CellType{})) m_sheet.setCellType(one, cs.type);
        if (!(cs.style == sheet::CellStyle{})) m_sheet.setStyle(one, cs.style);
        if (cs.program)
            m_sheet.setProgram(cs.col, cs.row, cs.program);
        else if (!cs.value.isEmpty())
            m_sheet.setValue(cs.col, cs.row, cs.value);
        if (!cs.tag.empty()) m_sheet.setTag(cs.col, cs.row, cs.tag);
        if (!cs.note.empty()) m_sheet.setNote(cs.col, cs.row, cs.note);
    }
    for (const sheet::CellRange& span : s.spans)
        m_sheet.addSpan(span.col1, span.row1, span.col2 - span.col1 + 1, span.row2 - span.row1 + 1);
    for (std::size_t i = 0; i < s.widths.size(); ++i)
        m_sheet.setColWidth(b.col1 + int(i), s.widths[i]);
}

EditHistory::Shape EditHistory::shape() const {
    return {m_sheet.maxCols(), m_sheet.maxRows(), m_sheet.colWidth(0), m_sheet.rowHeight(0)};
}

void EditHistory::applyShape(const Shape& s) {
    m_sheet.setMaxCols(s.cols);
    m_sheet.setMaxRows(s.rows);
    m_sheet.setColWidth(0, s.headerWidth);
    m_sheet.setRowHeight(0, s.headerHeight);
}

void EditHistory::beginChange() {
    if (m_depth++ == 0) m_open = Step();
}

void EditHistory::aboutToChange(const sheet::CellRange& block) {
    if (m_depth == 0) return;
    m_open.before.push_back(capture(block));
}

void EditHistory::aboutToResize() {
    if (m_depth == 0 || m_open.shapeBefore) return;
    m_open.shapeBefore = shape();
}

void EditHistory::endChange(int mergeKey) {
    if (m_depth == 0 || --m_depth > 0) return;
    Step step = std::move(m_open);
    m_open = Step();
    if (step.shapeBefore) step.shapeAfter = shape();
    for (const Snapshot& b : step.before)
        step.after.push_back(capture(b.block));
    step.mergeKey = mergeKey;
    push(std::move(step));
}

void EditHistory::recordCellChange(const Snapshot& before) {
    if (m_depth > 0) return; // the change under way records it
    Step step;
    step.before.push_back(before);
    step.after.push_back(capture(before.block));
    push(std::move(step));
}

void EditHistory::push(Step step) {
    const bool noChange = step.before == step.after && step.shapeBefore == step.shapeAfter;
    // Typing goes on in the same place: one step, from before the first key to after the last.
    if (step.mergeKey != 0 && m_mergeOpen && m_pos == m_steps.size() && m_pos > 0 &&
        m_steps.back().mergeKey == step.mergeKey && m_saved != m_pos) {
        Step& last = m_steps.back();
        bool sameBlocks = last.after.size() == step.after.size();
        for (std::size_t i = 0; sameBlocks && i < step.after.size(); ++i)
            sameBlocks = last.after[i].block == step.after[i].block;
        if (sameBlocks && !step.shapeBefore) {
            last.after = std::move(step.after);
            if (last.before == last.after && last.shapeBefore == last.shapeAfter) {
                // typed back to what it was: no step at all
                m_steps.pop_back();
                --m_pos;
                m_mergeOpen = false;
            }
            return;
        }
    }
    if (noChange) return;
    m_steps.resize(m_pos); // what could be redone is gone
    if (m_saved && *m_saved > m_pos) m_saved.reset();
    m_steps.push_back(std::move(step));
    ++m_pos;
    m_mergeOpen = m_steps.back().mergeKey != 0;
}

bool EditHistory::undo() {
    if (m_depth > 0 || m_pos == 0) return false;
    m_mergeOpen = false;
    const Step& s = m_steps[--m_pos];
    if (s.shapeBefore) applyShape(*s.shapeBefore);
    // the earliest picture of a block wins where blocks overlap
    for (auto it = s.before.rbegin(); it != s.before.rend(); ++it)
        restore(*it);
    return true;
}

bool EditHistory::redo() {
    if (m_depth > 0 || m_pos == m_steps.size()) return false;
    m_mergeOpen = false;
    const Step& s = m_steps[m_pos++];
    if (s.shapeAfter) applyShape(*s.shapeAfter);
    for (const Snapshot& a : s.after)
        restore(a);
    return true;
}

void EditHistory::markSaved() {
    m_saved = m_pos;
    m_mergeOpen = false;
}

void EditHistory::clear() {
    m_steps.clear();
    m_pos = 0;
    m_saved = 0;
    m_mergeOpen = false;
}

std::size_t EditHistory::memoryUse() const {
    std::size_t bytes = m_steps.capacity() * sizeof(Step);
    auto snap = [&](const Snapshot& s) {
        bytes += sizeof(Snapshot) + s.cells.capacity() * sizeof(CellState) +
                 s.spans.capacity() * sizeof(sheet::CellRange) + s.widths.capacity() * sizeof(double);
        for (const CellState& c : s.cells) {
            bytes += c.tag.capacity() + c.note.capacity() + c.type.picture.capacity() +
                     c.type.items.capacity() + c.type.text.capacity() + c.style.font.face.capacity();
            if (c.value.kind == sheet::ValueKind::Text) bytes += c.value.text.capacity();
        }
    };
    for (const Step& s : m_steps) {
        for (const Snapshot& b : s.before)
            snap(b);
        for (const Snapshot& a : s.after)
            snap(a);
    }
    return bytes;
}
