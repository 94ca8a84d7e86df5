#pragma once
// The profile selection dialog: a section chosen by group, type and size, with its picture.

#include <host/DlgEditLibData.h>
#include <host/DlgSelectProfData.h>
#include <ui/Dialog.h>

class DlgSelectProf : public ui::Dialog {
public:
    enum {
        IDD = 9700,
        IDC_GROUP_LABEL = 1001,
        IDC_GROUP = 1002,
        IDC_TYPE_LABEL = 1003,
        IDC_TYPE = 1004,
        IDC_SIZE_LABEL = 1005,
        IDC_SIZE = 1006,
        IDC_FILTER_LABEL = 1007,
        IDC_FILTER = 1008,
        IDC_PICTURE = 1009,
        IDC_NAME = 1010,
    };
    explicit DlgSelectProf(DlgSelectProfData& data)
        : ui::Dialog(IDD)
        , m_data(data) {}

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    void showGroup(int group);
    void showType(int type);
    void showSizes(const Vor_String& select);
    void showChoice();
    /// Types (indexes into m_lib.m_types) listed for the selected group.
    Vor_Array<int> m_typeIndexes;
    Vor_StringArray m_sizes;     ///< system names (or user section paths) of the size list
    Vor_StringArray m_userFiles; ///< drawings of "User Sections/"
    Vor_String m_typeCode;
    DlgEditLibData m_lib;
    DlgSelectProfData& m_data;
};
