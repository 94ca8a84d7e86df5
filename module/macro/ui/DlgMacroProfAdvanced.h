#pragma once
// The profile advanced dialog: where a profile group's section lies on its line, its rotation and
// orientation, the segment it follows, and the second section of a morphed profile. It never writes
// the model itself: every read and write goes through the opener's callback, after every change,
// so the drawing follows each one.

#include "macro/KrMACallBackData.h"

#include <cad/acadstd.h>
#include <host/MacroRecords.h>
#include <host/Vor_StringArray.h>
#include <host/ui/CButtonST.h>
#include <ui/Dialog.h>

#include "frame/VorExport.h"

class DlgMacroProfAdvanced : public ui::Dialog {
public:
    enum {
        IDD = 220,
        IDC_DONT_SHOW = 1257,
        IDC_GROUP_LABEL = 1187,
        IDC_GROUP = 1223,
        IDC_PROFILE_LABEL = 1188,
        IDC_PROFILE = 1250,
        IDC_PROFILE_CHOOSE = 1251,
        IDC_PROFILE2_LABEL = 1189,
        IDC_TRANSITION_LABEL = 1254,
        IDC_TRANSITION_TYPE_LABEL = 1255,
        IDC_PROFILE2 = 1190,
        IDC_PROFILE2_CHOOSE = 1248,
        IDC_TRANSITION_START = 1191,
        IDC_TRANSITION_END = 1249,
        IDC_TRANSITION_TYPE = 1256,
        IDC_OFFSETS_GROUP = 1227,
        IDC_OFFSET_TYPE = 1228,
        IDC_PICK_POINT = 1229,
        IDC_OFFSET_X_LABEL = 1230,
        IDC_OFFSET_Y_LABEL = 1231,
        IDC_OFFSET_X = 1234,
        IDC_OFFSET_Y = 1235,
        IDC_PICTURE = 1159,
        IDC_INSERT_1 = 1232,
        IDC_INSERT_2 = 1236,
        IDC_INSERT_3 = 1237,
        IDC_INSERT_4 = 1049,
        IDC_INSERT_5 = 1050,
        IDC_INSERT_6 = 1051,
        IDC_INSERT_7 = 1052,
        IDC_INSERT_8 = 1053,
        IDC_INSERT_9 = 1054,
        IDC_ROTATION_GROUP = 1216,
        IDC_ROT_0 = 1233,
        IDC_ROT_90 = 1238,
        IDC_ROT_180 = 1239,
        IDC_ROT_270 = 1240,
        IDC_ROT_VARIES = 1247,
        IDC_ROT_OTHER = 1241,
        IDC_ROT_OTHER_EDIT = 1242,
        IDC_ORIENT_GROUP = 1217,
        IDC_ORIENT_WCS = 1243,
        IDC_ORIENT_VARIES = 1244,
        IDC_ORIENT_PICKED = 1245,
        IDC_PICK_KIND = 1253,
        IDC_FROM_PREVIEW = 1350,
        IDC_NEW_COORDSYS = 1351,
        IDC_PICK_PLANE = 1246,
        IDC_BASE_PLANE = 1252,
        IDC_MIRRORED = 1354,
        IDC_ON_SEGMENT = 1224,
        IDC_SEGMENT_LABEL = 1225,
        IDC_SEGMENT = 1226,
        IDC_ZOOM = 1320,
    };
    /// The nine insertion-point radios, row by row from the top left.
    static constexpr int kInsertionRadios[9] = {IDC_INSERT_1, IDC_INSERT_2, IDC_INSERT_3,
                                                IDC_INSERT_4, IDC_INSERT_5, IDC_INSERT_6,
                                                IDC_INSERT_7, IDC_INSERT_8, IDC_INSERT_9};
    /// The rotation radios in the order of RotationChoice.
    static constexpr int kRotationRadios[6] = {IDC_ROT_0,   IDC_ROT_90,     IDC_ROT_180,
                                               IDC_ROT_270, IDC_ROT_VARIES, IDC_ROT_OTHER};

    DlgMacroProfAdvanced()
        : ui::Dialog(IDD) {}

    MacroProfData props;           ///< the group's placement as the callback last gave it
    KrMACallBackData callBackData; ///< handed to every call of the callback
    KrMACallBack callBack = nullptr;
    bool hideGroup = false;   ///< the group name is shown but not edited
    bool flagUsed = false;    ///< the opener asked about check box 1257 (second launch form)
    bool flag = false;        ///< in: shown with the check box; out: true when it was left unchecked
    AcDbObjectId temporaryId; ///< a coordinate system the dialog made from the preview, null when none

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    bool preTranslateKey(const ui::KeyEvent& key) override;
    void onOK() override;
    void onDestroy() override;

private:
    void fillCombos();
    void showMorphed();
    void showPicture();
    void loadControls();
    void storeControls();
    void apply();
    /// Hides the dialog for an interaction with the drawing and comes back afterwards.
    template <class F> void withDrawing(F&& interaction);
    void pickSectionPoint();
    void pickPlane();
    void makeCoordSys(bool fromPreview);
    void checkOnly(const int* ids, int count, int checked);
    void call(KrMACallBackType type);

    CButtonST m_profileChoose, m_profile2Choose, m_zoom;
    Vor_StringArray m_sections, m_sections2; ///< system names behind the two profile combos
    int m_rotation = 0;                      ///< the checked rotation radio (RotationChoice)
    int m_orientationRadio = 0;              ///< the checked orientation radio id, 0 for none
    bool m_morphShown = false;
};

/// Edits the placement of profile group `group` of tab `moduleName` in a copy of `data`; every change
/// goes into the drawing at once. Afterwards `data` holds the edited placement; with the preview
/// flag set, the preview object and a coordinate system made from it are erased and forgotten.
VOR_EXPORT void StartDlgMacroProfAdv(MacroData& data, const Vor_String& moduleName, const Vor_String& group,
                                     bool hideGroup);
/// Edits a profile placement through `callBack` for the objects `ids`; nothing without ids. `flag`
/// in: show the "do not show again" check box; out: true unless it was checked.
VOR_EXPORT void StartDlgMacroProfAdv(AcArray<AcDbObjectId>* ids, bool& flag, KrMACallBack callBack);
