#pragma once
// The spreadsheet editor window of calculation tables.

#include "calc/Vor_Spread.h"

#include <host/Vor_String.h>
#include <ui/Window.h>

#include "frame/VorExport.h"

class DlgSpreadsheet : public ui::Dialog {
public:
    enum { IDD = 140, IDC_GRID = 1001 };
    explicit DlgSpreadsheet(ui::Window* parent = nullptr);

    Vor_String fileName; ///< empty for a new, unnamed table
    Vor_Spread& grid() { return m_grid; }

protected:
    bool onInitDialog() override;
    void onDestroy() override;
    void onSize(int width, int height) override;

private:
    Vor_Spread m_grid;
};

/// Opens the editor on a new, unnamed calculation table (the command TEST).
VOR_EXPORT void SSEditor();
