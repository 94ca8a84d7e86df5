#pragma once
// The DSTV points group dialog: every group of the DSTV points folder in a check combo with the
// standard group checked; new, delete, make standard, and edit in the point editor.
#include <host/DlgDstvPoints.h>
#include <ui/Dialog.h>

#include "frame/VorExport.h"

class DlgDstvGroups : public ui::Dialog {
public:
    enum {
        IDD = 234,
        IDC_GROUPS = 1336,
        IDC_NEW_GROUP = 1337,
        IDC_DELETE_GROUP = 1338,
        IDC_EDIT_GROUP = 1334,
        IDC_MAKE_STANDARD = 1335,
    };
    explicit DlgDstvGroups(ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent) {}

    /// The group chosen for the buttons, -1 for none.
    int selectedIndex() const { return m_selected; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;

private:
    /// Fills the list from the folder, checks the standard group and selects `select` (kept within
    /// the list).
    void fillGroups(int select);
    /// Shows the selected group and keeps the check mark on the standard group only.
    void showSelection();
    Vor_String selectedName() const;
    void newGroup();
    void deleteGroup();
    void makeStandard();
    void editGroup();

    DlgDstvPoints m_points;
    Vor_StringArray m_groups;
    int m_standard = -1;
    int m_selected = -1;
};

/// Opens the group dialog on the DSTV points folder of the library.
VOR_EXPORT void StartDSTVPointsDlg();
