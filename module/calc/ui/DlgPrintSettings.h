#pragma once
// The print settings of a calculation table: header and footer files, page margins in millimetres,
// the print switches and the printer's page setup. It edits the table properties of the corner
// cell; OK writes them anew.

#include "calc/PrintTable.h"
#include "calc/TablePropertyList.h"

#include <ui/Window.h>

class DlgPrintSettings : public ui::Dialog {
public:
    enum {
        IDD = 184,
        IDC_HEADER = 1060,
        IDC_HEADER_BROWSE = 1059,
        IDC_HEADER_EDIT = 1072,
        IDC_FOOTER = 1063,
        IDC_FOOTER_BROWSE = 1064,
        IDC_FOOTER_EDIT = 1073,
        IDC_LEFT = 1066,
        IDC_RIGHT = 1069,
        IDC_TOP = 1068,
        IDC_BOTTOM = 1070,
        IDC_SMARTPRINT = 1067,
        IDC_COLORS = 1071,
        IDC_COLHEADER = 1020,
        IDC_ROWHEADER = 1021,
        IDC_SEPARATORS = 1022,
        IDC_BORDER = 1023,
        IDC_PAGESETUP = 1058,
        IDC_HEADER_GROUP = 1061,
        IDC_FOOTER_GROUP = 1062,
        IDC_MARGIN_GROUP = 1065,
        IDC_LEFT_LABEL = 1074,
        IDC_RIGHT_LABEL = 1075,
        IDC_TOP_LABEL = 1076,
        IDC_BOTTOM_LABEL = 1077,
        IDC_VARIABLES = 1078,
    };
    DlgPrintSettings(TablePrinter& printer, ui::Window* parent = nullptr);

    TableProperties props; ///< in: the table's properties; after OK, the fields read back
    Vor_String folder;     ///< where the file dialogs start when a field holds no path

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    /// The header or footer file dialog; a chosen file goes into `field`.
    void browse(int field);
    void pageSetup();

    TablePrinter& m_printer;
    TablePrinter m_chosenPrinter; ///< what page setup chose; the table's only after OK
};
