#pragma once
// The border dialog: four side toggles, the line-style picture list and the line colour, with a
// preview cell that shows the result on every change.

#include "calc/CellFormat.h"
#include "calc/Vor_Spread.h"

#include <ui/Window.h>

class DlgSpreadBorder : public ui::Dialog {
public:
    enum {
        IDD = 143,
        IDC_PREVIEW = 1001,
        IDC_GROUP = 1002,
        IDC_STYLE_LABEL = 1003,
        IDC_TOP = 1004,
        IDC_STYLE = 1005,
        IDC_COLOR = 1006,
        IDC_LEFT = 1010,
        IDC_BOTTOM = 1011,
        IDC_RIGHT = 1012,
    };
    explicit DlgSpreadBorder(ui::Window* parent = nullptr);

    BorderSettings settings; ///< what the dialog starts from; after OK, what the person chose
    /// The preview grid (its middle cell 2, 2 carries the borders).
    Vor_Spread& preview() { return m_preview; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    void readControls();
    void showPreview();

    BorderSettings m_work;
    Vor_Spread m_preview;
    bool m_ready = false;
};
