#include "calc/SpreadSearch.h"

namespace {
bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}
} // namespace

int SpreadSearch::charsBefore(const Vor_String& text, int bytes) {
    int n = 0;
    const std::string& s = text.str();
    for (int i = 0; i < bytes && i < static_cast<int>(s.size()); ++i)
        if (!isContinuation(static_cast<unsigned char>(s[static_cast<size_t>(i)]))) ++n;
    return n;
}

int SpreadSearch::bytesBefore(const Vor_String& text, int chars) {
    const std::string& s = text.str();
    int n = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (!isContinuation(static_cast<unsigned char>(s[i]))) {
            if (n == chars) return static_cast<int>(i);
            ++n;
        }
    }
    return static_cast<int>(s.size());
}

std::optional<SpreadMatch> SpreadSearch::findInCell(int col, int row, const Vor_String& what,
                                                    int after) const {
    if (what.isEmpty()) return std::nullopt;
    Vor_String t = m_text(col, row);
    int at = t.find(what, bytesBefore(t, after), false);
    if (at < 0) return std::nullopt;
    return SpreadMatch{col, row, charsBefore(t, at)};
}

std::optional<SpreadMatch> SpreadSearch::findFrom(int col, int row, const Vor_String& what) const {
    if (what.isEmpty()) return std::nullopt;
    for (int r = std::max(row, 1); r <= m_rows; ++r)
        for (int c = (r == row ? std::max(col, 1) : 1); c <= m_cols; ++c) {
            Vor_String t = m_text(c, r);
            if (t.hasSubString(what, false))
                return SpreadMatch{c, r, charsBefore(t, t.findFirst(what, false))};
        }
    return std::nullopt;
}

int SpreadSearch::replaceAll(const Vor_String& what, const Vor_String& with,
                             const std::function<bool(int, int, const Vor_String&)>& write) const {
    int count = 0;
    int col = 1, row = 1;
    while (auto m = findFrom(col, row, what)) {
        Vor_String t = m_text(m->col, m->row);
        t.replaceSubString(what, with, false);
        if (write(m->col, m->row, t)) ++count;
        // go on from the next column of the same row, so each cell counts once
        col = m->col + 1;
        row = m->row;
        if (col > m_cols) {
            col = 1;
            ++row;
        }
    }
    return count;
}
