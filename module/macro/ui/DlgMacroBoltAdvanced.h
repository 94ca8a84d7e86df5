#pragma once
// The bolt properties of a tab: assembly, diameter, lengths, the yes/no properties (undecided while
// the edited macros differ, decided once clicked), the hole columns, the slotted holes one at a
// time, and the nuts and washers on a picture of the bolt.

#include "calc/Vor_Spread.h"

#include <host/MacroRecords.h>
#include <ui/Dialog.h>

#include <array>

class DlgMacroBoltAdvanced : public ui::Dialog {
public:
    enum {
        IDD = 8140,
        IDC_ASSEMBLY_LABEL = 1111,
        IDC_ASSEMBLY = 1091,
        IDC_DIAMETER_LABEL = 1112,
        IDC_DIAMETER = 1092,
        IDC_PENETRATION_LABEL = 1121,
        IDC_PENETRATION = 1103,
        IDC_ADDED_LABEL = 1123,
        IDC_ADDED = 1102,
        IDC_TOLERANCE_LABEL = 1126,
        IDC_TOLERANCE = 1104,
        IDC_TAPPED = 1110,
        IDC_REVERSE = 1116,
        IDC_COUNTERSUNK = 1115,
        IDC_WORKSHOP = 1095,
        IDC_SPECIAL = 1343,
        IDC_SPECIAL_LABEL = 1344,
        IDC_HOLE_COLUMNS_GROUP = 1365,
        IDC_HOLE_COLUMNS = 1196,
        IDC_SLOTS_GROUP = 1109,
        IDC_SLOTS = 1108,
        IDC_SLOT_ACTIVE = 1120,
        IDC_SLOT_RADIUS_LABEL = 1117,
        IDC_SLOT_RADIUS = 1119,
        IDC_SLOT_LENGTH_LABEL = 1113,
        IDC_SLOT_LENGTH = 1118,
        IDC_SLOT_ANGLE_LABEL = 1114,
        IDC_SLOT_ANGLE = 1022,
        IDC_SLOT_OFFSET_LABEL = 1124,
        IDC_SLOT_OFFSET = 1125,
        IDC_SLOT_CHOICE_LABEL = 1122,
        IDC_SLOT_CHOICE = 1324,
        IDC_PICTURE = 1178,
        IDC_NUT1 = 8713,
        IDC_NUT2 = 8714,
        IDC_NUT1_LABEL = 8669,
        IDC_NUT2_LABEL = 8667,
        IDC_WASHER1 = 8710,
        IDC_WASHER2 = 8711,
        IDC_WASHERS = 8712,
        IDC_WASHER1_LABEL = 8665,
        IDC_WASHER2_LABEL = 8675,
        IDC_WASHERS_LABEL = 8672,
    };
    /// The picture of the bolt, in the installation's icons folder.
    static constexpr const char* kPictureFile = "DrawBolt2.bmp";
    /// The hole columns the grid shows.
    static constexpr int kHoleColumns = 5;

    explicit DlgMacroBoltAdvanced(ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent) {}

    MacroBoltData data; ///< the dialog's copy; the caller's only on OK

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;
    void onDestroy() override;

private:
    struct TriBox {
        int id;
        TriState MacroBoltData::*value;
    };
    static const std::array<TriBox, 5> kTriBoxes;

    void fillDiameters(const Vor_String& assembly, const Vor_String& keep, bool addMissing);
    void loadTriBox(const TriBox& box);
    void triBoxClicked(int id);
    void loadSlot(int index);
    void storeSlot();
    void slotsChanged();
    void enableSlotFields(bool enable);
    void store();

    Vor_Spread m_grid;
    int m_shownSlot = -1;
    std::array<bool, 5> m_undecided{}; ///< per box of kTriBoxes: still shows undecided
};
