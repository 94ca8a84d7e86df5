#include "calc/ui/DlgPrintSettings.h"

#include "calc/ui/TableVariablesDialog.h"
#include "frame/CatalogueTexts.h"

#include <host/FileUtils.h>
#include <host/Texts.h>
#include <ui/Agent.h>
#include <ui/Control.h>

namespace {
struct Switch {
    int id;
    bool TableProperties::*field;
};
constexpr Switch kSwitches[] = {
    {DlgPrintSettings::IDC_SMARTPRINT, &TableProperties::smartPrint},
    {DlgPrintSettings::IDC_COLORS, &TableProperties::colors},
    {DlgPrintSettings::IDC_COLHEADER, &TableProperties::colHeader},
    {DlgPrintSettings::IDC_ROWHEADER, &TableProperties::rowHeader},
    {DlgPrintSettings::IDC_SEPARATORS, &TableProperties::cellSeperators},
    {DlgPrintSettings::IDC_BORDER, &TableProperties::border},
};
struct Margin {
    int id;
    int TableProperties::*field;
};
constexpr Margin kMargins[] = {
    {DlgPrintSettings::IDC_LEFT, &TableProperties::marginLeft},
    {DlgPrintSettings::IDC_RIGHT, &TableProperties::marginRight},
    {DlgPrintSettings::IDC_TOP, &TableProperties::marginTop},
    {DlgPrintSettings::IDC_BOTTOM, &TableProperties::marginBottom},
};
} // namespace

DlgPrintSettings::DlgPrintSettings(TablePrinter& printer, ui::Window* parent)
    : ui::Dialog(IDD, parent)
    , m_printer(printer)
    , m_chosenPrinter(printer) {}

bool DlgPrintSettings::onInitDialog() {
    // texts: dialString 9290-9308, dialString 9617
    setWindowText(dialString(9290).str());
    const std::pair<int, int> texts[] = {{IDC_HEADER_GROUP, 9291},  {IDC_HEADER_BROWSE, 9292},
                                         {IDC_HEADER_EDIT, 9293},   {IDC_FOOTER_GROUP, 9294},
                                         {IDC_FOOTER_BROWSE, 9292}, {IDC_FOOTER_EDIT, 9293},
                                         {IDC_MARGIN_GROUP, 9295},  {IDC_LEFT_LABEL, 9296},
                                         {IDC_RIGHT_LABEL, 9297},   {IDC_TOP_LABEL, 9298},
                                         {IDC_BOTTOM_LABEL, 9299},  {IDC_SMARTPRINT, 9300},
                                         {IDC_COLORS, 9301},        {IDC_COLHEADER, 9302},
                                         {IDC_ROWHEADER, 9303},     {IDC_SEPARATORS, 9304},
                                         {IDC_BORDER, 9305},        {IDC_PAGESETUP, 9306},
                                         {IDC_VARIABLES, 9617},     {ui::IDOK, 1},
                                         {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    item(IDC_HEADER)->setText(props.headerFile.str());
    item(IDC_FOOTER)->setText(props.footerFile.str());
    for (const Margin& m : kMargins)
        item(m.id)->setText(std::to_string(props.*m.field));
    for (const Switch& s : kSwitches)
        item(s.id)->setCheck((props.*s.field) ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    return true;
}

bool DlgPrintSettings::onCommand(int id, int code) {
    if (code != ui::BN_CLICKED) return false;
    switch (id) {
    case IDC_HEADER_BROWSE:
        browse(IDC_HEADER);
        return true;
    case IDC_FOOTER_BROWSE:
        browse(IDC_FOOTER);
        return true;
    case IDC_HEADER_EDIT:
    case IDC_FOOTER_EDIT:
        // There is no header editor here: the path is only read.
        (void)item(id == IDC_HEADER_EDIT ? IDC_HEADER : IDC_FOOTER)->text();
        return true;
    case IDC_PAGESETUP:
        pageSetup();
        return true;
    case IDC_VARIABLES:
        // The variables the header and footer labels name; they reach the table with OK.
        editTableVariables(props.varNames, props.varValues, this);
        return true;
    default:
        return false;
    }
}

void DlgPrintSettings::browse(int field) {
    ui::FileRequest r;
    r.title = dialString(9307).str();
    r.filter = dialString(9308).str() + "|*.ssh||";
    r.defaultExtension = "ssh";
    const Vor_String current = toSlashes(Vor_String(item(field)->text()));
    r.folder = current.isEmpty() ? folder.str() : getFolder(current).str();
    r.fileName = getFileName(current).str();
    if (ui::agent().fileDialog(r, this)) item(field)->setText(r.fileName);
}

void DlgPrintSettings::pageSetup() {
    if (!m_chosenPrinter.chosen) {
        m_chosenPrinter.info = ui::agent().defaultPrinter();
        m_chosenPrinter.chosen = true;
    }
    ui::PageSetupRequest r;
    r.paper = m_chosenPrinter.info.paper;
    r.landscape = m_chosenPrinter.info.landscape;
    if (ui::agent().pageSetupDialog(r, this)) applyPageSetup(m_chosenPrinter.info, r);
}

void DlgPrintSettings::onOK() {
    props.headerFile = item(IDC_HEADER)->text();
    props.footerFile = item(IDC_FOOTER)->text();
    for (const Margin& m : kMargins)
        props.*m.field = marginFromText(item(m.id)->text());
    for (const Switch& s : kSwitches)
        props.*s.field = item(s.id)->checkState() == ui::BST_CHECKED;
    m_printer = m_chosenPrinter;
    endDialog(ui::IDOK);
}
