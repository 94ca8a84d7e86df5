#pragma once
// The cell-type dialog: number, text or picture with alignment, rotation and the kind's options,
// and a preview cell that shows a sample value in the chosen type.

#include "calc/CellFormat.h"
#include "calc/Vor_Spread.h"

#include <ui/Window.h>

#include <map>

class DlgSpreadCellType : public ui::Dialog {
public:
    enum {
        IDD = 175,
        IDC_PREVIEW = 1001,
        IDC_GROUP = 1002,
        IDC_KIND = 1005,
        IDC_HALIGN = 1009,
        IDC_VALIGN = 1010,
        IDC_ROTATION = 1011,
        IDC_HALIGN_LABEL = 1012,
        IDC_VALIGN_LABEL = 1013,
        IDC_ROTATION_LABEL = 1014,
        IDC_KIND_LABEL = 1015,
        IDC_FIELD_LABEL = 1016,
        IDC_FIELD = 1017,
        IDC_OPTION = 1018,
        IDC_KEEP_RATIO = 1019,
        IDC_BROWSE = 1024,
    };
    explicit DlgSpreadCellType(ui::Window* parent = nullptr);

    CellTypeSettings settings; ///< what the dialog starts from; after OK, what the person chose
    /// The preview grid (its middle cell 2, 2 shows the sample).
    Vor_Spread& preview() { return m_preview; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    void showKind();
    void closeHiddenRows(bool picture);
    void readControls();
    void showPreview();
    void browse();

    CellTypeSettings m_work;
    bool m_firstOption[3] = {false, false, false}; ///< check box 1018 per kind
    Vor_Spread m_preview;
    bool m_ready = false;
    std::map<int, ui::Rect> m_home; ///< where each control lies with every row shown (client pixels)
    int m_homeHeight = 0;           ///< the dialog's height with every row shown
};
