#pragma once
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>
#include <ui/Dialog.h>
class DlgOpenSaveFiltered : public ui::Dialog {
public:
    enum { IDD = 231, IDC_LIST = 1317, IDC_NAME = 1043, IDC_DELETE = 1087, IDC_FILTERED = 1382 };
    DlgOpenSaveFiltered()
        : ui::Dialog(IDD) {}
    int mode = 0;
    Vor_StringArray allNames;
    Vor_StringArray filteredNames;
    Vor_String folder;
    Vor_String extension;
    Vor_String resultName;
};
