#pragma once
// What the groups page and the types page of the section library editor share: a list of items,
// each with an enabled flag, a picture name and a name per user language. The list is a check
// combo: a click on an item's text shows that item, its check mark is the item's enabled flag. The
// pages' templates and control ids are named in LibGroupsPage.h and LibTypesPage.h.

#include "calc/Vor_Spread.h"

#include <host/DlgEditLibData.h>
#include <host/ui/CCheckComboBox.h>
#include <host/ui/CResizer.h>
#include <ui/Dialog.h>

class LibItemsPage : public ui::Dialog {
public:
    enum Kind { Groups, Types };
    enum {
        kGroupsTemplate = 8138,
        kTypesTemplate = 8139,
        kIdGroupList = 1194,
        kIdTypeList = 1199,
        kIdNew = 1189,
        kIdDelete = 1190,
        kIdEnabled = 1185,
        kIdImage = 1195,
        kIdNames = 1193,
        kIdGroup = 1196,
        kIdTable = 1198,
        kIdFrameGroups = 1108,
        kIdFrameTypes = 1081,
        kIdImageLabel = 1186,
        kIdGroupLabel = 1187,
        kIdNamesFrame = 1188,
        kIdTableLabel = 1192,
    };
    LibItemsPage(Kind kind, DlgEditLibData& data)
        : ui::Dialog(kind == Groups ? kGroupsTemplate : kTypesTemplate)
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
    void onSize(int, int) override {
        if (m_resizer.isInitialized()) m_resizer.move();
    }
    void onDestroy() override { m_resizer.reset(); }

private:
    int listId() const { return m_kind == Groups ? kIdGroupList : kIdTypeList; }
    int count() const { return m_kind == Groups ? m_data.m_groups.length() : m_data.m_types.length(); }
    Vor_String nameOf(int index) const;
    bool enabledOf(int index) const;
    void setEnabledOf(int index, bool enabled);
    void fillList(int select);
    void show(int index);
    /// Takes the check marks the person changed in the list into the items' enabled flags.
    void takeListMarks();

    Kind m_kind;
    DlgEditLibData& m_data;
    Vor_Spread m_names;
    CCheckComboBox m_list;
    CResizer m_resizer;
    Vor_Array<int> m_groupIds; ///< identifiers of the group combo's items (types page)
    int m_shown = -1;
};
