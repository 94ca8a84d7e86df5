#pragma once
// The find-and-replace window of one grid: F3 finds the next match, F5 replaces in the whole grid.

#include "calc/SpreadSearch.h"
#include "calc/Vor_Spread.h"

#include <ui/Window.h>

#include <vector>

class DlgFindReplace : public ui::Dialog, public SpreadFindWindow {
public:
    enum {
        IDD = 8991,
        IDC_FINDNEXT = 1204,
        IDC_REPLACE = 1205,
        IDC_FINDLABEL = 1206,
        IDC_FIND = 1207,
        IDC_REPLACELABEL = 1208,
        IDC_REPLACEWITH = 1209,
        IDC_KEYS = 1210,
    };
    explicit DlgFindReplace(Vor_Spread& grid);

    /// Shows the window (made on first use), with or without the replace part.
    void show(bool replace) override;
    void close() override;
    /// Finds the next match and shows it; false when there was none (after the question).
    bool findNext();
    /// Replaces in every matching cell; the number of cells changed.
    int replaceAll();

    /// The text a cell is searched in: the formula with its '=' (as the cell's editor shows it) for
    /// a formula cell, else the stored value text.
    static Vor_String searchText(const Vor_Spread& grid, int col, int row);
    /// Writes a replaced search text back: a formula cell keeps a formula, and a formula that no
    /// longer reads is refused (false, the cell as it was); other cells take the text as data.
    static bool writeReplaced(Vor_Spread& grid, int col, int row, const Vor_String& text);

protected:
    bool onInitDialog() override;
    void onDestroy() override;
    bool onCommand(int id, int code) override;
    bool preTranslateKey(const ui::KeyEvent& key) override;
    void onCancel() override { showWindow(ui::SW_HIDE); }

private:
    SpreadSearch search() const;
    void showMatch(const SpreadMatch& m, int length);
    Vor_String findText() const;
    void setTexts(bool replace);
    /// Shows or hides the replace row; the rows below it close the gap it leaves.
    void layOut(bool replace);

    Vor_Spread& m_grid;
    bool m_replaceShown = true;  ///< as the template lays the window out
    std::vector<int> m_movedIds; ///< the controls moved up while the replace row is hidden
};
