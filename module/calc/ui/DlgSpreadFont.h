#pragma once
// The font and colours dialog: the font dialog, the text colour and the background colour, with a
// preview cell showing "Abc 123" as the cells will look.

#include "calc/CellFormat.h"
#include "calc/Vor_Spread.h"

#include <ui/Window.h>

class DlgSpreadFont : public ui::Dialog {
public:
    enum {
        IDD = 174,
        IDC_PREVIEW = 1001,
        IDC_GROUP = 1002,
        IDC_FONT = 1007,
        IDC_BACKCOLOR = 1008,
        IDC_TEXTCOLOR = 1009
    };
    explicit DlgSpreadFont(ui::Window* parent = nullptr);

    FontSettings settings; ///< what the dialog starts from; after OK, what the person chose
    /// The preview grid (its middle cell 2, 2 shows the sample text).
    Vor_Spread& preview() { return m_preview; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;

private:
    void showPreview();

    FontSettings m_work;
    Vor_Spread m_preview;
};
