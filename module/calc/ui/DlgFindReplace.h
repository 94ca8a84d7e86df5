#pragma once
// The find-and-replace window of one grid: F3 finds the next match, F5 replaces in the whole grid.

#include "calc/SpreadSearch.h"

#include <ui/Window.h>

class Vor_Spread;

class DlgFindReplace : public ui::Dialog {
public:
    enum { IDD = 8991, IDC_FINDNEXT = 1204, IDC_REPLACE = 1205, IDC_FIND = 1207, IDC_REPLACEWITH = 1209 };
    explicit DlgFindReplace(Vor_Spread& grid);

    /// Shows the window (made on first use), with or without the replace part.
    void show(bool replace);
    /// Finds the next match and shows it; false when there was none (after the question).
    bool findNext();
    /// Replaces in every matching cell; the number of cells changed.
    int replaceAll();

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

    Vor_Spread& m_grid;
};
