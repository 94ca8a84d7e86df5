#pragma once
// The profile page of the macro dialog: one profile group of the tab at a time (chosen in the
// group combo), its section, offset type, base plane, rotation and the pick of a plane or a
// coordinate system; the profile details and the segmented profiles in their dialogs; and the tab's
// designed controls, if it has a template, in the frame at the top.
//
// What the page's combos stand for of the group's merged properties:
//   1212  the profile group shown (getProfGroups)
//   1213  the group's section (a profile combo of the section's table; button 1222 chooses another)
//   1221  the offset type (getOffsetTypeStrings; the varies entry leaves each macro's own)
//   1219  the base plane (getBasePlaneStrings)
//   1316  the rotation in degrees (editable: 0, 90, 180, 270 or any other typed)
//   1215  what button 1223 picks: a plane or a coordinate system; choosing one runs the pick
// A pick that ends well orients the profile by what was picked (orientation 2).

#include "macro/KrMACallBackData.h"
#include "macro/ui/DesignedTabBinding.h"
#include "macro/ui/DlgMacroPage.h"

#include <host/Vor_StringArray.h>

#include <optional>

class DlgMacroProfPage : public DlgMacroPage {
public:
    enum {
        IDD = 219,
        IDC_FRAME = 1196,
        IDC_GROUP_BOX = 1211,
        IDC_GROUP_LABEL = 1197,
        IDC_GROUP = 1212,
        IDC_SECTION_LABEL = 1198,
        IDC_SECTION = 1213,
        IDC_SECTION_CHOOSE = 1222,
        IDC_OFFSET_TYPE_LABEL = 1199,
        IDC_OFFSET_TYPE = 1221,
        IDC_BASE_PLANE_LABEL = 1200,
        IDC_BASE_PLANE = 1219,
        IDC_ROTATION_LABEL = 1201,
        IDC_ROTATION = 1316,
        IDC_PICK_KIND_LABEL = 1202,
        IDC_PICK_KIND = 1215,
        IDC_PICK = 1223,
        IDC_ADVANCED = 1114,
        IDC_SEGMENTED = 1210,
    };

    DlgMacroProfPage(MacroPageHost& host, int tabIndex)
        : DlgMacroPage(IDD, host, tabIndex)
        , m_binding(*this) {}

    void loadFromTab() override;
    bool storeToTab() override;
    ui::Size neededSize() const override;
    bool isProfilePage() const override { return true; }
    /// Opens the profile details of the group shown, every change of which reaches the drawing.
    void openAdvanced() override;

    /// The profile group shown.
    const Vor_String& group() const { return m_group; }
    DesignedTabBinding& binding() { return m_binding; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    bool preTranslateKey(const ui::KeyEvent& key) override;
    void onPaint(ui::Painter& p) override { m_binding.designed().paint(p); }
    void onDestroy() override;

private:
    /// Shows the group's merged properties in the page's combos.
    void showGroup();
    /// The page's combos over `props`; false when the page shows no group.
    void readCombos(MacroProfData& props) const;
    /// Commits `props` as the group's new properties (the page's own change).
    void commitProps(const MacroProfData& props);
    /// Commits what the controls show.
    void commit();
    void pick();
    void chooseSection();
    void layOut();
    static bool pageCallBack(KrMACallBackType type, const KrMACallBackData& data, MacroProfData& props);

    DesignedTabBinding m_binding;
    Vor_String m_group;
    Vor_StringArray m_sections;             ///< system names behind the section combo
    ui::Rect m_picture;                     ///< the designed part, empty without a template
    ui::Rect m_groupRect;                   ///< the group box, where the layout put it
    std::optional<MacroProfData> m_pending; ///< what storeToTab writes instead of the combos
    bool m_designedFirst = false;           ///< the change came from the page's combos
    bool m_loading = false;
};
