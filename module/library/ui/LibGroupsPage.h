#pragma once
// The groups page of the section library editor.

#include "library/ui/LibItemsPage.h"

class LibGroupsPage : public LibItemsPage {
public:
    enum {
        IDD = 8138,
        IDC_LIST = 1194,
        IDC_NEW = 1189,
        IDC_DELETE = 1190,
        IDC_ENABLED = 1185,
        IDC_IMAGE = 1195,
        IDC_NAMES = 1193,
        IDC_FRAME = 1108,
        IDC_IMAGE_LABEL = 1186,
        IDC_NAMES_FRAME = 1188,
    };
    explicit LibGroupsPage(DlgEditLibData& data)
        : LibItemsPage(Groups, data) {}
};
