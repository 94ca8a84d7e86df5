#pragma once
// The table options of the editor: size of the table, header sizes and header texts.

#include "calc/Vor_Spread.h"

#include <ui/Window.h>

class DlgSpreadOptions : public ui::Dialog {
public:
    enum {
        IDD = 176,
        IDC_COLS = 1017,
        IDC_ROWS = 1019,
        IDC_HEADERWIDTH = 1021,
        IDC_HEADERHEIGHT = 1023,
        IDC_COLNAMES = 1025,
        IDC_ROWNAMES = 1002,
    };
    /// Works on the editor's grid, which it changes only on OK.
    explicit DlgSpreadOptions(Vor_Spread& table, ui::Window* parent = nullptr) : ui::Dialog(IDD, parent), m_table(table) {}

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    int fieldValue(int id) const;
    void resizeNameGrids();

    Vor_Spread& m_table;
    Vor_Spread m_colNames;
    Vor_Spread m_rowNames;
    bool m_filling = false;
};

/// Runs the table options on a grid; true when they were applied.
bool editTableOptions(Vor_Spread& table, ui::Window* parent);
