#pragma once
// The table options of the editor: size of the table, header sizes and header texts.

#include "calc/Vor_Spread.h"

#include <ui/Window.h>

#include <optional>
#include <vector>

class DlgSpreadOptions : public ui::Dialog {
public:
    enum {
        IDD = 176,
        IDC_ROWNAMES = 1002,
        IDC_ROWNAMES_LABEL = 1003,
        IDC_COLS_LABEL = 1016,
        IDC_COLS = 1017,
        IDC_ROWS_LABEL = 1018,
        IDC_ROWS = 1019,
        IDC_HEADERWIDTH_LABEL = 1020,
        IDC_HEADERWIDTH = 1021,
        IDC_HEADERHEIGHT_LABEL = 1022,
        IDC_HEADERHEIGHT = 1023,
        IDC_COLNAMES_LABEL = 1024,
        IDC_COLNAMES = 1025,
        IDC_SIZE_GROUP = 1026,
    };
    /// Most columns and rows a table may get here, and the largest header size in pixels.
    static constexpr int kLimit = 10000;

    /// Works on the editor's grid, which it changes only on OK.
    explicit DlgSpreadOptions(Vor_Spread& table, ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent)
        , m_table(table) {}

    /// The grid of column names (one row, a column per table column).
    Vor_Spread& columnNames() { return m_colNames; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    /// The field's whole number within [least, kLimit]; otherwise the person is told (text `why`)
    /// and the field gets the focus.
    std::optional<int> checkedField(int id, int least, int why);
    void resizeNameGrids();
    /// Keeps the names typed so far, so that a count typed anew (cleared, then typed) loses none.
    void keepNames();

    Vor_Spread& m_table;
    Vor_Spread m_colNames;
    Vor_Spread m_rowNames;
    std::vector<Vor_String> m_colTexts;
    std::vector<Vor_String> m_rowTexts;
    bool m_filling = false;
};

/// Runs the table options on a grid; true when they were applied.
bool editTableOptions(Vor_Spread& table, ui::Window* parent);
