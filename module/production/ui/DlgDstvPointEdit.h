#pragma once
// The point editor: the rules of one DSTV points group, one shown at a time in its controls.
#include "production/DstvPointRules.h"

#include <ui/Dialog.h>

class DlgDstvPointEdit : public ui::Dialog {
public:
    enum {
        IDD = 233,
        IDC_RULES = 1325,
        IDC_RULES_LABEL = 1326,
        IDC_NEW_RULE = 1327,
        IDC_DELETE_RULE = 1328,
        IDC_NAME_LABEL = 1123,
        IDC_NAME = 1000,
        IDC_PLACE = 1175,
        IDC_BY_EXTENT = 1355,
        IDC_SIDE1 = 1330,
        IDC_SIDE2 = 1338,
        IDC_BY_INTERSECTION = 1356,
        IDC_START_DIR = 1332,
        IDC_MIDDLE = 1333,
        IDC_PLATE_LABEL = 1335,
        IDC_PLATE = 1334,
        IDC_DISTANCE_LABEL = 1124,
        IDC_DISTANCE = 1001,
        IDC_FULL_HOLE = 1336,
        IDC_THICKNESS_BASED = 1337,
        IDC_SIZE_LABEL = 1125,
        IDC_SIZE = 1002,
    };
    explicit DlgDstvPointEdit(ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent) {}

    Vor_Array<Vor_DstvPointInfo> rules; ///< the dialog's copy; complete after OK
    int currentIndex() const { return m_current; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    void fillRuleList();
    void showRule();
    void storeRule();
    DstvRuleControls readControls() const;
    void applyEnabling();
    void updateSizeLabel();
    void chooseRadio(int id);
    void keepSidesApart(int changed);
    void newRule();
    void deleteRule();

    int m_current = -1;
};
