#pragma once
// The profile cuts dialog: the cuts of a profile in the drawing, each previewed when chosen; a cut
// can be removed and another profile picked in the drawing.
#include "production/ProfCutsPreviews.h"

#include <host/DlgProfCutsData.h>
#include <host/ui/CButtonST.h>
#include <ui/Dialog.h>

#include "frame/VorExport.h"

#include <memory>

class DlgProfCuts : public ui::Dialog {
public:
    enum {
        IDD = 235,
        IDC_REMOVE = 1087,
        IDC_CUTS = 1339,
        IDC_NO_PREVIEW = 1340,
        IDC_OTHER_PROFILE = 1341,
    };
    explicit DlgProfCuts(ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent) {}

    DlgProfCutsData data;    ///< the dialog's copy; the caller's only on OK
    bool previewFlag = true; ///< in: as remembered; out: as the person left it

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;
    void onCancel() override;

private:
    void fillCuts();
    void otherProfile();

    std::unique_ptr<ProfCutsPreviews> m_previews;
    CButtonST m_remove, m_other;
};

/// Shows the cuts of a profile; true on OK, with the edited data and the preview choice kept for
/// the next opening; false (data untouched) otherwise.
VOR_EXPORT bool StartEditProfCutsDlg(DlgProfCutsData& data);
