#include "FormulaShapes_p.h"

#include <sheet/CellRef.h>

namespace sheet {

namespace {
constexpr std::size_t kMaxText = 1024;  // longer formulas are rare; compiling them is fine
constexpr std::size_t kMaxShapes = 256; // distinct shapes remembered before starting afresh
constexpr char kRunMark = '\x01';

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

/// A digit run as a row number: at most 8 digits, no leading zero (its text could not be made
/// from a number); -1 otherwise.
long rowNumber(std::string_view run) {
    if (run.empty() || run.size() > 8 || run[0] == '0') return -1;
    long v = 0;
    for (char c : run)
        v = v * 10 + (c - '0');
    return v;
}

/// The next run of a '\0'-separated list, advancing pos.
std::string_view nextRun(const std::string& runs, std::size_t& pos) {
    const std::size_t end = runs.find('\0', pos);
    std::string_view r(runs.data() + pos, end - pos);
    pos = end + 1;
    return r;
}
} // namespace

bool FormulaShapes::split(std::string_view text, std::uint8_t style) {
    if (text.size() > kMaxText) return false;
    m_shape.clear();
    m_runs.clear();
    m_shape.push_back(char('0' + style));
    for (std::size_t i = 0; i < text.size();) {
        if (!isDigit(text[i])) {
            if (text[i] == kRunMark || text[i] == '\0') return false;
            m_shape.push_back(text[i++]);
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        m_shape.push_back(kRunMark);
        m_runs.append(text.data() + start, i - start);
        m_runs.push_back('\0');
    }
    return true;
}

ProgramPtr FormulaShapes::find(std::string_view text, int col, int row, std::uint8_t style) {
    if (m_shapes.empty() || !split(text, style)) return nullptr;
    auto it = m_shapes.find(m_shape);
    if (it == m_shapes.end()) return nullptr;
    const Entry& e = it->second;
    if (!e.learnt || e.col != col) return nullptr;
    const long moved = long(row) - e.row;
    std::size_t a = 0, b = 0;
    for (Run kind : e.kinds) {
        std::string_view now = nextRun(m_runs, a), then = nextRun(e.runs, b);
        if (kind == Run::Stays) {
            if (now != then) return nullptr;
            continue;
        }
        const long v = rowNumber(now);
        if (v < 1 || v > kMaxRowLimit || v != rowNumber(then) + moved) return nullptr;
    }
    return e.prog;
}

void FormulaShapes::learn(std::string_view text, int col, int row, std::uint8_t style,
                          const ProgramPtr& prog) {
    if (!prog || !split(text, style)) return;
    auto it = m_shapes.find(m_shape);
    if (it == m_shapes.end()) {
        if (m_shapes.size() >= kMaxShapes) m_shapes.clear();
        m_shapes.emplace(m_shape, Entry{col, row, m_runs, {}, prog, false});
        return;
    }
    Entry& e = it->second;
    auto restart = [&] { e = Entry{col, row, m_runs, {}, prog, false}; };
    if (e.learnt) return; // learnt; this formula simply did not fit the rule
    if (e.col != col || e.prog != prog) return restart();
    if (e.row == row) return;
    // Two examples with the same program: each run either kept its text or moved with the row.
    const long moved = long(row) - e.row;
    std::vector<Run> kinds;
    std::size_t a = 0, b = 0;
    while (a < m_runs.size()) {
        std::string_view now = nextRun(m_runs, a), then = nextRun(e.runs, b);
        if (now == then) {
            kinds.push_back(Run::Stays);
            continue;
        }
        const long v = rowNumber(now), w = rowNumber(then);
        if (v < 0 || w < 0 || v - w != moved) return restart();
        kinds.push_back(Run::Moves);
    }
    e.kinds = std::move(kinds);
    e.learnt = true;
}

} // namespace sheet
