#pragma once
// Finding texts in a grid in reading order: the columns of a row from a start column, then every
// following row from its first column. Pure, so that the order is testable without windows.

#include <host/Vor_String.h>

#include <functional>
#include <optional>

/// A match: the cell and the character position (not byte) of the find text in its value text.
struct SpreadMatch {
    int col = 0;
    int row = 0;
    int pos = 0;
    bool operator==(const SpreadMatch&) const = default;
};

class SpreadSearch {
public:
    using CellText = std::function<Vor_String(int col, int row)>;
    SpreadSearch(CellText text, int cols, int rows)
        : m_text(std::move(text))
        , m_cols(cols)
        , m_rows(rows) {}

    /// The first matching cell from (col, row) on, without wrapping; col below 1 counts as 1.
    std::optional<SpreadMatch> findFrom(int col, int row, const Vor_String& what) const;
    /// A further match inside one cell, behind character position `after`.
    std::optional<SpreadMatch> findInCell(int col, int row, const Vor_String& what, int after) const;
    /// Replaces in every matching cell; `write` gets each changed text and says whether the cell
    /// took it; the number of cells that took their text.
    int replaceAll(const Vor_String& what, const Vor_String& with,
                   const std::function<bool(int col, int row, const Vor_String&)>& write) const;

    /// Characters (code points) before byte position `bytes` of a UTF-8 text.
    static int charsBefore(const Vor_String& text, int bytes);
    /// Byte position of character position `chars`.
    static int bytesBefore(const Vor_String& text, int chars);

private:
    CellText m_text;
    int m_cols;
    int m_rows;
};
