#pragma once
// The groups page and the types page of the section library editor: a list of items, each with an
// enabled flag, a picture name and a name per user language.

#include "calc/Vor_Spread.h"

#include <host/DlgEditLibData.h>
#include <ui/Dialog.h>

class LibItemsPage : public ui::Dialog {
public:
    enum Kind { Groups, Types };
    enum {
        IDD_GROUPS = 8138,
        IDD_TYPES = 8139,
        IDC_GROUP_LIST = 1194,
        IDC_TYPE_LIST = 1199,
        IDC_NEW = 1189,
        IDC_DELETE = 1190,
        IDC_ENABLED = 1185,
        IDC_IMAGE = 1195,
        IDC_NAMES = 1193,
        IDC_GROUP = 1196,
        IDC_TABLE = 1198,
        IDC_FRAME_GROUPS = 1108,
        IDC_FRAME_TYPES = 1081,
        IDC_IMAGE_LABEL = 1186,
        IDC_GROUP_LABEL = 1187,
        IDC_NAMES_FRAME = 1188,
        IDC_TABLE_LABEL = 1192,
    };
    LibItemsPage(Kind kind, DlgEditLibData& data)
        : ui::Dialog(kind == Groups ? IDD_GROUPS : IDD_TYPES)
        , m_kind(kind)
        , m_data(data) {}

    /// Stores the shown item back into the data (before OK, or before another page shows it).
    void storeShown();
    /// Fills the lists anew from the data (the types page after groups changed).
    void refresh();
    int shown() const { return m_shown; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override {}
    void onCancel() override {}

private:
    int listId() const { return m_kind == Groups ? IDC_GROUP_LIST : IDC_TYPE_LIST; }
    int count() const { return m_kind == Groups ? m_data.m_groups.length() : m_data.m_types.length(); }
    Vor_String nameOf(int index) const;
    void fillList(int select);
    void show(int index);

    Kind m_kind;
    DlgEditLibData& m_data;
    Vor_Spread m_names;
    Vor_Array<int> m_groupIds; ///< identifiers of the group combo's items (types page)
    int m_shown = -1;
};
