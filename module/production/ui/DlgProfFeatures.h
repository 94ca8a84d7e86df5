#pragma once
// The profile features dialog: a profile and up to four rows of values whose labels the caller
// gives; row 3 holds two label/value pairs, of which the check box chooses one.
#include <host/DlgProfFeaturesData.h>
#include <ui/Dialog.h>

#include "frame/VorExport.h"

class DlgProfFeatures : public ui::Dialog {
public:
    enum {
        IDD = 241,
        IDC_CHECK = 1018,
        IDC_PROFILE_LABEL = 1188,
        IDC_PROFILE = 1250,
        IDC_OTHER_PROFILE = 1251,
        IDC_ROW1 = 1252,
        IDC_ROW3_COMBO = 1253,
        IDC_ROW1_LABEL = 1299,
        IDC_ROW2_LABEL = 1301,
        IDC_ROW2 = 1302,
        IDC_ROW3_LABEL = 1303,
        IDC_ROW3_EDIT = 1304,
        IDC_ROW4_LABEL = 1305,
        IDC_ROW4 = 1306,
    };
    explicit DlgProfFeatures(ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent) {}

    DlgProfFeaturesData data; ///< the dialog's copy; the caller's only on OK

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    int row3Id() const { return data.row3Combo ? IDC_ROW3_COMBO : IDC_ROW3_EDIT; }
    void showRow3();
    void storeRow3();

    Vor_StringArray m_sysNames; ///< the profile combo's sections, by index
};

/// Edits a profile's features; true and the edited data on OK, false (data untouched) otherwise.
VOR_EXPORT bool StartDlgProfFeatures(DlgProfFeaturesData& data);
