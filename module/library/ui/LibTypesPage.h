#pragma once
// The types page of the section library editor.

#include "library/ui/LibItemsPage.h"

class LibTypesPage : public LibItemsPage {
public:
    enum {
        IDD = 8139,
        IDC_LIST = 1199,
        IDC_NEW = 1189,
        IDC_DELETE = 1190,
        IDC_ENABLED = 1185,
        IDC_IMAGE = 1195,
        IDC_GROUP = 1196,
        IDC_TABLE = 1198,
        IDC_NAMES = 1193,
        IDC_FRAME = 1081,
        IDC_IMAGE_LABEL = 1186,
        IDC_GROUP_LABEL = 1187,
        IDC_NAMES_FRAME = 1188,
        IDC_TABLE_LABEL = 1192,
    };
    explicit LibTypesPage(DlgEditLibData& data)
        : LibItemsPage(Types, data) {}
};
