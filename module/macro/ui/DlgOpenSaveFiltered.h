#pragma once
// The filtered open/save dialog: a name chosen from (open) or typed over (save) one of two name lists
// of one folder, with the files' delete at hand. The macro dialog loads and saves property files
// with it; the caller fills the lists and reads `resultName` after OK.

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>
#include <host/ui/CButtonST.h>
#include <host/ui/CResizer.h>
#include <ui/Dialog.h>

#include <string>

class DlgOpenSaveFiltered : public ui::Dialog {
public:
    enum { IDD = 231, IDC_LIST = 1317, IDC_NAME = 1043, IDC_DELETE = 1087, IDC_FILTERED = 1382 };
    DlgOpenSaveFiltered()
        : ui::Dialog(IDD) {}

    int mode = 0;                  // 0 opens, other values save
    Vor_StringArray allNames;      // shown while 1382 is off
    Vor_StringArray filteredNames; // shown while 1382 is on
    Vor_String folder;             // with trailing '/'
    Vor_String extension;          // with its dot (".vmp")
    Vor_String resultName;         // out on OK

    /// The file a name stands for: folder + name + extension.
    Vor_String pathOf(const Vor_String& name) const { return folder + name + extension; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;
    void onSize(int, int) override { m_resizer.move(); }
    void onDestroy() override;

private:
    const Vor_StringArray& currentList() const;
    void fillList();
    void deleteSelected();
    /// False, after telling the person why, when `name` cannot be a file of the folder.
    bool acceptableName(const Vor_String& name);

    CButtonST m_delete;
    CResizer m_resizer;
};

/// The question asked before a save replaces an existing file; the line that the file is none of
/// the listed ones only when `name` is not in `allNames` (names compared without regard to case).
Vor_String overwriteQuestion(const Vor_String& name, const Vor_StringArray& allNames);
/// The question asked before a file is deleted.
Vor_String deleteQuestion(const Vor_String& name);
/// Why `name` cannot be a file of the dialog's folder (the person's message), or "" when it can.
Vor_String fileNameFault(const Vor_String& name);
