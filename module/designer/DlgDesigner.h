#pragma once
// The designer window: a designed dialog's picture with its controls, edited with the mouse, a row
// of command buttons and a property row; templates are opened and saved here.

#include "designer/DesignerHistory.h"
#include "designer/Vor_DlgDesignerData.h"
#include "frame/VorExport.h"

#include <host/Vor_String.h>
#include <host/ui/CButtonST.h>
#include <host/ui/CResizer.h>
#include <ui/Window.h>

#include <array>

class DlgDesigner : public ui::Dialog {
public:
    enum {
        IDD = 227,
        IDC_TYPE_GROUP = 1015,
        IDC_TYPE_LIST = 1005,
        IDC_CONTENTS_GROUP = 1016,
        IDC_CONTENTS = 1304,
        IDC_LIST_GROUP = 1017,
        IDC_LIST = 1305,
        IDC_OPEN = 1299,
        IDC_SAVE_AS = 1302,
        IDC_ADD = 1300,
        IDC_REMOVE = 1301,
        IDC_WIDTH = 1306,
        IDC_HEIGHT = 1307,
        IDC_ALIGN_BOTTOMS = 1200,
        IDC_PLACE_BESIDE = 1201,
        IDC_COPY = 1199,
        IDC_PICTURE = 1303,
        IDR_MENU = 229,
        ID_UNDO = 32900,
        ID_REDO = 32901,
        ID_COPY = 32902,
        ID_PASTE = 32903,
        ID_DUPLICATE = 32904,
        ID_DELETE = 32905,
        ID_SELECT_ALL = 32906,
        ID_ADD = 32907,
        ID_ALIGN_LEFT = 32910,
        ID_ALIGN_RIGHT = 32911,
        ID_ALIGN_TOP = 32912,
        ID_ALIGN_BOTTOM = 32913,
        ID_ALIGN_CENTRE = 32914,
        ID_ALIGN_MIDDLE = 32915,
        ID_DISTRIBUTE_ACROSS = 32916,
        ID_DISTRIBUTE_DOWN = 32917,
        ID_SAME_WIDTH = 32918,
        ID_SAME_HEIGHT = 32919,
        ID_SAME_SIZE = 32920,
        ID_SNAP = 32921,
        ID_TAB_ORDER = 32922,
    };
    /// Child ids handed out to the designed controls: one for every control a template may hold.
    static constexpr int kFirstResId = 33000;
    static constexpr int kLastResId = kFirstResId + Vor_DlgDesignerData::kMaxControls - 1;
    /// The snap grid's step in pixels while snapping is on.
    static constexpr int kSnapGrid = 8;
    /// How far one PageUp or PageDown scrolls a picture larger than the window, in pixels.
    static constexpr int kScrollStep = 120;

    explicit DlgDesigner(const Vor_String& startPath = Vor_String())
        : ui::Dialog(IDD)
        , m_startPath(startPath) {}

    Vor_DlgDesignerData& engine() { return m_engine; }
    bool isModified() const { return m_modified; }
    /// Scrolls the view of the picture by pixels, within what the picture has to show.
    void scrollBy(int dx, int dy);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    bool preTranslateKey(const ui::KeyEvent& key) override;
    bool onMouse(const ui::MouseEvent& event) override;
    void onPaint(ui::Painter& painter) override;
    void onSize(int width, int height) override;
    void onDestroy() override;
    void onClose() override;
    void onOK() override;
    void onCancel() override {}
    void onInitMenuPopup(ui::Menu& menu) override;

private:
    /// The save question; false when the person cancelled.
    bool askToSave();
    /// Saves under a name the person chooses; false when none was chosen.
    bool saveAs();
    void open();
    void attachPicture();
    void load(const Vor_String& path);
    /// Writes the template to `path`; a failure is shown and leaves the edits and the change flag.
    bool save(const Vor_String& path);
    /// A message of catalogue text `text`, ":" and the reason.
    void showFault(int text, const std::string& reason);
    void setTitle();
    void updateButtons();
    Vor_String chooseFile(bool open, bool picture, const Vor_String& folder);
    /// The layout as it stands, windows' positions taken over.
    DesignerHistory::Layout snapshot();
    /// Records a change made since `before` for undo.
    void changed(const DesignerHistory::Layout& before);
    void undoRedo(bool undo);
    /// Runs a command of the menu or the keys; false when it is none of the designer's.
    bool layoutCommand(int id);
    /// The part of the client area that shows the picture (above the property row).
    ui::Size viewSize() const;
    void enableCommands();

    Vor_DlgDesignerData m_engine;
    Vor_String m_startPath;
    bool m_modified = false;
    std::array<CButtonST, 10> m_buttons;
    CResizer m_resizer;
    DesignerHistory m_history;
    DesignerHistory::Layout m_beforeDrag;
    bool m_dragging = false;
    int m_typingField = 0;    ///< the property field typed in last, 0 after any other action
    int m_typingControl = -1; ///< and the control it belonged to
    std::vector<Vor_DesignerControl> m_clipboard; ///< controls copied, kept across templates
    int m_pastes = 0;                             ///< pastes since the last copy
};

/// Opens the designer on the template at `path` (may be empty); true when it was closed with OK.
VOR_EXPORT bool StartDlgDesigner(const Vor_String& path);
