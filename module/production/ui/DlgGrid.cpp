#include "production/ui/DlgGrid.h"

#include "frame/CatalogueTexts.h"
#include "frame/DialogOnCopy.h"
#include "frame/LauncherTable.h"

#include <host/Texts.h>
#include <host/VorJson.h>
#include <ui/Control.h>

namespace {
Vor_String textOf(const ui::Dialog* d, int id) {
    const ui::Control* c = d->item(id);
    return c ? Vor_String(c->text()) : Vor_String();
}

void setTextOf(ui::Dialog* d, int id, const Vor_String& text) {
    if (ui::Control* c = d->item(id)) c->setText(text.str());
}
} // namespace

bool DlgGrid::onInitDialog() {
    setWindowText(dialString(1463).str());
    // texts: dialString 1463-1469
    const std::pair<int, int> texts[] = {
        {IDC_FRAME1, 1464},      {IDC_FRAME2, 1465},      {IDC_COUNT1_LABEL, 1466}, {IDC_COUNT2_LABEL, 1466},
        {IDC_DIST1_LABEL, 1467}, {IDC_DIST2_LABEL, 1467}, {IDC_NAME1_LABEL, 1468},  {IDC_NAME2_LABEL, 1468},
        {IDC_OPTION, 1469},      {ui::IDOK, 1},           {ui::IDCANCEL, 2}};
    setCatalogueTexts(*this, texts);
    setTextOf(this, IDC_COUNT1, Vor_String(data.firstCount));
    setTextOf(this, IDC_DIST1, data.firstDistances);
    setTextOf(this, IDC_NAME1, data.firstName);
    setTextOf(this, IDC_COUNT2, Vor_String(data.secondCount));
    setTextOf(this, IDC_DIST2, data.secondDistances);
    setTextOf(this, IDC_NAME2, data.secondName);
    if (ui::Control* c = item(IDC_OPTION)) c->setCheck(data.option ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    return true;
}

void DlgGrid::onOK() {
    data.firstCount = readGridCount(textOf(this, IDC_COUNT1));
    data.firstDistances = textOf(this, IDC_DIST1);
    data.firstName = textOf(this, IDC_NAME1);
    data.secondCount = readGridCount(textOf(this, IDC_COUNT2));
    data.secondDistances = textOf(this, IDC_DIST2);
    data.secondName = textOf(this, IDC_NAME2);
    const ui::Control* option = item(IDC_OPTION);
    data.option = option && option->checkState() == ui::BST_CHECKED;
    endDialog(ui::IDOK);
}

bool StartDlgGrid(KrGridDlgData& data) {
    return runDialogOnCopy<DlgGrid>(data);
}

namespace {
const bool registered =
    registerDataLauncher("StartDlgGrid", &StartDlgGrid,
                         R"({"firstCount": 6, "firstDistances": "6000 2*7200 6000 5400", "firstName": "A",
        "secondCount": 4, "secondDistances": "3*6000", "secondName": "1", "option": true})");
} // namespace
