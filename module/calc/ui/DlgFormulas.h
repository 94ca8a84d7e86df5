#pragma once
// The evaluation dialog: a second grid that loads a table to evaluate a cell, to look a value up
// for FROMTABLE, to read a table for another module, or to build a report; also a developer's test
// bench (reference style, save, load, recalculation).

#include "calc/Vor_Spread.h"

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>
#include <sheet/Sheet.h>
#include <ui/Window.h>

#include <memory>
#include <optional>

#include "calc/FromTable.h"
#include "frame/VorExport.h"

struct ReportTableData;

/// What DlgFormulas does when it opens.
enum FormulasMode : int {
    fmEvaluateCell = 1, ///< load the file, evaluate (evalCol, evalRow); stays open
    fmFromTable = 2,    ///< look a value up for a FROMTABLE call; stays open showing the table
    fmBuildReport = 3,  ///< build the report and end
    fmReadTable = 4,    ///< read title, column names and rows and end at once
};

class DlgFormulas : public ui::Dialog {
public:
    enum {
        IDD = 133,
        IDC_FILENAME = 1000,
        IDC_SAVE = 1001,
        IDC_GRID = 1004,
        IDC_STYLE_DEFAULT = 1005,
        IDC_STYLE_A1 = 1006,
        IDC_STYLE_R1C1 = 1007,
        IDC_TEMPLATE = 1008,
        IDC_LOAD = 1087,
        IDC_AUTOCALC = 1106,
        IDC_RECALC = 1107,
        IDC_FILE_LABEL = 1108,
        IDC_STYLE_GROUP = 1109,
    };

    explicit DlgFormulas(ui::Window* parent = nullptr);
    ~DlgFormulas() override;

    int mode = fmEvaluateCell;
    Vor_String fileName;
    int evalCol = 1, evalRow = 1;
    Vor_String evalText; ///< data text of the evaluated cell
    sheet::FnValue* result = nullptr;
    const sheet::FnValue* args = nullptr;
    short argCount = 0;
    Vor_Spread* callerSheet = nullptr;
    Vor_StringArray* names = nullptr;
    Vor_Array<Vor_StringArray>* values = nullptr;
    Vor_String title;
    const ReportTableData* report = nullptr;
    bool reportBuilt = false; ///< fmBuildReport: the report was written

    Vor_Spread& sheet() { return m_sheet; }
    /// Registers FROMTABLE on this dialog's grid: its formulas may look values up in other tables.
    void registerFromTable();
    /// Loads a table into the grid; the grid stays as it was when it fails.
    bool loadTable(const std::string& path);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    void setRefStyle(int style);
    void readTable();
    void evaluateFromTable();
    /// Called by the grid's formulas: runs a fresh dialog that looks the value up.
    bool fromTableCall(sheet::FnValue& result, std::span<sheet::FnValue> args);

    Vor_Spread m_sheet;
    Vor_Spread m_template;
    std::string m_loadedPath;                   ///< the table in the grid, resolved
    std::string m_callerFolder;                 ///< folder of the calling table: relative names start there
    std::optional<FromTableChain::Link> m_link; ///< that table, while this dialog evaluates it
};

/// Reads a calculation table: its title (cell A1), column names and the shown texts of every row.
/// A table that cannot be loaded gives empty results.
VOR_EXPORT void ReadSSFile(const Vor_String& file, Vor_String& title, Vor_StringArray& names,
                           Vor_Array<Vor_StringArray>& values);
/// Builds a report table file from report data (runs DlgFormulas in fmBuildReport); false when
/// the data do not match or the file could not be written.
bool buildReportTable(const ReportTableData& data);
/// Developer test: evaluates cell (1, 1) of the sample table "c:\a\t3.sss" and shows it.
VOR_EXPORT void EvaluateSS();
