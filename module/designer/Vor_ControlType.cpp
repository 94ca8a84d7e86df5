#include "designer/Vor_ControlType.h"

#include <host/Texts.h>

namespace {
struct TypeTexts {
    int list;     ///< dialString of the type-list text, 0 for the bolt counts (composed)
    int contents; ///< dialString of the contents label, 0 for none
    int hint[3];  ///< dialStrings of the list hints, 0 ends
};

// texts: dialString 799-823, dialString 827-831, dialString 833-834, dialString 1315-1320
// texts: dialString 1341-1342, dialString 1403-1406, dialString 1428-1431, dialString 705
// texts: string 2220
const TypeTexts kTexts[kControlTypeCount] = {
    {799, 827, {1403}},
    {800, 827, {1403}},
    {801, 828, {}},
    {802, 828, {833}},
    {0, 829, {}},
    {0, 829, {}},
    {804, 829, {}},
    {805, 0, {}},
    {806, 0, {}},
    {807, 0, {}},
    {808, 0, {}},
    {809, 0, {}},
    {810, 0, {}},
    {811, 830, {}},
    {812, 830, {}},
    {813, 830, {}},
    {814, 830, {}},
    {815, 830, {}},
    {816, 831, {}},
    {817, 831, {}},
    {818, 831, {}},
    {819, 831, {}},
    {820, 831, {}},
    {821, 831, {834}},
    {822, 831, {}},
    {823, 827, {1316, 1317, 1318}},
    {1315, 827, {1316, 1317, 1320}},
    {1341, 0, {1342}},
    {1404, 1406, {}},
    {1405, 827, {828}},
    {1428, 1429, {705, 1430, 1431}},
};

// The cell buttons have a fourth hint; the table keeps three, so it is added here.
constexpr int kCellFactorHint = 1319;

bool inRange(int type) {
    return type >= 0 && type < kControlTypeCount;
}
} // namespace

DesignerWindowKind windowKindOf(int type) {
    switch (type) {
    case ctGroupBox:
    case ctPatternProps:
    case ctPatternButton:
    case ctProfButton1:
    case ctProfButton2:
    case ctArrayButton:
    case ctCellButton1:
    case ctCellButton2:
    case ctCheckBox:
    case ctFlexButton:
        return DesignerWindowKind::Button;
    case ctVarEdit:
    case ctBoltCount1:
    case ctBoltCount2:
    case ctPatternEdit1:
    case ctPatternEdit2:
    case ctPatternEdit3:
    case ctPatternEdit4:
    case ctArrayEdit1:
    case ctArrayEdit2:
    case ctArrayEdit3:
    case ctArrayEdit4:
    case ctArrayEdit5:
    case ctArrayEdit6:
        return DesignerWindowKind::Edit;
    case ctVarCombo:
    case ctPatternList:
    case ctProfSection:
    case ctProfOffsetType:
    case ctProfEditCombo:
    case ctListCombo:
    case ctChoiceCombo:
        return DesignerWindowKind::ComboBox;
    default:
        return DesignerWindowKind::Static;
    }
}

Vor_String controlTypeListText(int type) {
    if (!inRange(type)) return Vor_String();
    if (type == ctBoltCount1 || type == ctBoltCount2) {
        // texts: dialString 803
        Vor_String s = dialString(803);
        s.append(type == ctBoltCount1 ? " 1: " : " 2: ");
        s.append(string(2220));
        return s;
    }
    return dialString(kTexts[type].list);
}

Vor_String contentsLabelText(int type) {
    if (!inRange(type) || kTexts[type].contents == 0) return Vor_String();
    return dialString(kTexts[type].contents);
}

Vor_String listHintText(int type) {
    if (!inRange(type)) return Vor_String();
    Vor_String hint;
    for (int n : kTexts[type].hint) {
        if (n == 0) break;
        if (!hint.isEmpty()) hint.append(";");
        hint.append(dialString(n));
    }
    if (type == ctCellButton1 || type == ctCellButton2) {
        hint.append(";");
        hint.append(dialString(kCellFactorHint));
    }
    return hint;
}

bool typeHasListField(int type) {
    switch (type) {
    case ctText:
    case ctGroupBox:
    case ctVarCombo:
    case ctArrayEdit6:
    case ctCellButton1:
    case ctCellButton2:
    case ctListCombo:
    case ctCheckBox:
    case ctFlexButton:
        return true;
    default:
        return false;
    }
}

bool typeTakesFocus(int type) {
    return type != ctText && type != ctGroupBox;
}
