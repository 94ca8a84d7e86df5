#pragma once
// The spreadsheet editor window of calculation tables: menu, toolbar, the grid and the edit bar.

#include "calc/EditHistory.h"
#include "calc/PrintTable.h"
#include "calc/Vor_Spread.h"
#include "calc/ui/ControlResizer.h"

#include <host/Vor_String.h>
#include <ui/Window.h>

#include <memory>
#include <optional>
#include <vector>

#include "frame/VorExport.h"

class DlgSpreadsheet : public ui::Dialog, private sheet::SpreadListener {
public:
    enum {
        IDD = 140,
        IDR_MENU = 139,
        IDR_CONTEXT = 138,
        IDR_TOOLBAR = 128,
        IDC_GRID = 1001,
        IDC_EQUALS = 1028,
        IDC_VARLABEL = 1029,
        IDC_VALUE = 1030,
        IDC_VARIABLE = 1031,
        IDC_FORMLABEL = 1032,
        IDC_FORMULA = 1033,
    };
    enum Command {
        ID_NEW = 32811,
        ID_OPEN = 32812,
        ID_SAVE = 32816,
        ID_SAVEAS = 32817,
        ID_EXPORT = 32818,
        ID_PRINT = 32831,
        ID_PREVIEW = 32832,
        ID_PRINTSETUP = 32830,
        ID_CUT = 32842,
        ID_COPY = 32843,
        ID_PASTE = 32844,
        ID_NOTE = 32806,
        ID_FONT = 32815,
        ID_BORDERS = 32813,
        ID_CELLTYPE = 32807,
        ID_OPTIONS = 32845,
        ID_LANGUAGE = 32846,
        ID_FITWIDTH = 32847,
        ID_UNDO = 32860,
        ID_REDO = 32861,
        ID_VARIABLES = 32862,
    };

    explicit DlgSpreadsheet(ui::Window* parent = nullptr);

    Vor_String fileName; ///< empty for a new, unnamed table
    Vor_Spread& grid() { return m_grid; }
    /// The edit bar's text when the selected cells differ, in the chosen language.
    static std::string variesText();

    /// Commands, also reachable from tests.
    bool open();
    bool save(bool askName);
    bool exportTable();
    /// Fits the width of every column of the selection to its widest text (header included).
    bool fitColumnWidths();
    /// The save prompt; false when the person chose Cancel or the save failed.
    bool savePrompt();
    /// Refreshes value, formula and variable fields from the selection.
    void refreshEditBar();
    /// Takes back the last change (puts it back for redo); the change flag follows the saved state.
    bool undo();
    bool redo();
    /// The developer test of the report builder: the sample report into "c:\a\test.sss".
    bool newReport();
    EditHistory* history() { return m_grid.history(); }

protected:
    bool onInitDialog() override;
    void onDestroy() override;
    void onSize(int width, int height) override;
    bool onCommand(int id, int code) override;
    bool preTranslateKey(const ui::KeyEvent& key) override;
    void onCancel() override;
    void onOK() override {}
    void onInitMenuPopup(ui::Menu& menu) override;

private:
    // grid notifications
    bool leaveCell(sheet::SpreadControl& c, sheet::CellPos from, sheet::CellPos to) override;
    void activeCellChanged(sheet::SpreadControl& c, sheet::CellPos from, sheet::CellPos to) override;
    void selectionChanged(sheet::SpreadControl& c, const sheet::CellRange& block) override;
    void rightClick(sheet::SpreadControl& c, int col, int row, int x, int y) override;
    void dataChanged(sheet::SpreadControl& c, int col, int row) override;

    bool runCommand(int id, int code);
    void setCaption();
    void editBarChanged(int field);
    /// Refreshes the edit bar after typing in `field`, leaving that field's text as typed.
    void refreshAfterTyping(int field);
    /// Starts typing a number for the cells of `b`: remembers what they hold.
    void startTypedNumber(const sheet::CellRange& b);
    /// Ends typing a number: a text that reads as no number, or as two, is refused with a message
    /// and the cells get back what they held before. False when refused.
    bool commitTypedNumber();
    bool isNumberCell(int col, int row) const;
    void editNote();
    void reportFailure(const std::string& what);
    /// The block the edit bar shows: the selection widened to the grid, or the current cell.
    sheet::CellRange editBlock() const;
    void enableCommands();
    /// Clears the selected cells (the Delete key), as one step.
    void clearCells();
    /// The block a paste at the current cell will write.
    sheet::CellRange pasteBlock() const;
    /// After undo or redo: the grid shows the table and the flag says whether it differs from the file.
    void afterHistory();
    /// Print, Print Preview and Print Setup.
    void printCommand(int id);

    Vor_Spread m_grid;
    /// The current cell as it is, for the edits the grid makes on its own (typing in the cell).
    std::optional<EditHistory::Snapshot> m_cellBefore;
    ControlResizer m_resizer;
    bool m_refreshPending = true;
    bool m_programSet[3] = {false, false, false};
    /// A cell as it was before a number was typed for it.
    struct TypedCell {
        int col, row;
        Vor_String data, formula;
    };
    bool m_typedNumber = false; ///< a number is being typed in the value field
    std::vector<TypedCell> m_typedBefore;
    bool m_typedWasChanged = false;
    TablePrinter m_printer; ///< the printer chosen for this table; none until first needed
};

/// Opens the editor on a new, unnamed calculation table (the command TEST).
VOR_EXPORT void SSEditor();
