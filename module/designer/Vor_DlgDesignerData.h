#pragma once
// The engine of a designed dialog: holds its controls, draws its picture as the background of a
// host dialog and lays one child window per control over it. In design mode the controls are
// selected, moved and sized with the mouse and edited in a property panel of five host controls;
// in run mode they are live and their values are read and written here. A dialog that runs a
// designed page inside itself does so through DesignedPage (designer/DesignedPage.h).

#include "designer/CControlRect.h"
#include "designer/Vor_DesignerControl.h"
#include "frame/VorExport.h"

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>
#include <ui/Image.h>
#include <ui/Types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {
class Control;
class Dialog;
class Painter;
} // namespace ui
class SelectionTracker;

/// What the engine did with a Tab key.
enum Vor_TabMsgHandle : int {
    tmHandled = 0,    ///< the focus moved to another designed control
    tmNotHandled = 1, ///< not the engine's key
    tmPastLast = 2,   ///< Tab from the last tab position: the caller moves on
    tmBeforeFirst = 3 ///< Shift+Tab from the first tab position: the caller moves back
};

/// The controls of one designed dialog and their windows on a host dialog.
class VOR_EXPORT Vor_DlgDesignerData {
public:
    /// Most controls a template may hold, and longest text a control keeps from a file.
    static constexpr int kMaxControls = 10000;
    static constexpr int kMaxTextBytes = 4096;
    /// Largest picture file the designer takes in.
    static constexpr std::size_t kMaxPictureBytes = std::size_t(64) << 20;

    Vor_DlgDesignerData();
    /// A copy starts as a fresh engine: windows and selection belong to one dialog only.
    Vor_DlgDesignerData(const Vor_DlgDesignerData&);
    Vor_DlgDesignerData& operator=(const Vor_DlgDesignerData&);
    virtual ~Vor_DlgDesignerData();

    // Set-up and state
    bool initialize(ui::Dialog* dlg, int firstResId, int lastResId, int typeListId, int contentsLabelId,
                    int contentsFieldId, int listLabelId, int listFieldId, bool designMode);
    ui::Dialog* getDlgPtr() const { return m_initialised ? m_dlg : nullptr; }
    bool isDesignMode() const { return m_designMode; }
    void getImageSize(int& width, int& height) const;
    bool hasPicture() const { return m_imageWidth > 0 && m_imageHeight > 0; }
    /// Loads a picture file as the background; white is see-through. A missing file changes nothing.
    void attachBitmap(const Vor_String& path);
    /// Takes the picture file at `path` as the template's new picture: checked first (false with the
    /// reason, nothing changed, when it is no regular file, larger than kMaxPictureBytes or no
    /// picture), shown at once and written beside the template by the next successful save only.
    bool choosePicture(const Vor_String& path, std::string* error = nullptr);
    /// True while a chosen picture waits for the next save.
    bool hasUnsavedPicture() const { return !m_unsavedPicture.empty(); }
    const ui::Image& bitmap() const { return m_bitmap; }
    int getNrControls() const { return static_cast<int>(m_controls.size()); }
    const Vor_DesignerControl* getControl(const int& i) const;
    Vor_DesignerControl* getControlWrite(const int& i);
    Vor_DesignerControl* getControlFromRes(const int& resId);
    bool findCtrlFromResource(const int& resId, int& i) const;
    /// Appends a copy with the first free child id of the range (0 when all are taken); the id.
    int append(Vor_DesignerControl& ctrl);
    /// True while the id range has a free id for one more control (and the template's budget room).
    bool canAppend() const;
    void removeControl(const int& i);
    void getAllCtrlNames(Vor_StringArray& names) const;
    bool isADynControl(const int& resId) const;
    bool getDynControlType(const int& resId, Vor_ControlType& type) const;
    bool isTypeBoltCount(const int& resId) const;
    const Vor_String& getTemplateName() const { return m_templateName; }
    /// All controls, in order (for snapshots of the layout).
    const std::vector<Vor_DesignerControl>& controls() const { return m_controls; }
    /// Replaces the controls (ids kept) and redraws them; for undo and redo.
    void setControls(const std::vector<Vor_DesignerControl>& controls);

    // Coordinates: factors of the picture's size and pixels
    double pixelsToFactor(bool horizontal, double pixels) const;
    double factorToPixels(bool horizontal, double factor) const;
    double getTopLeftX(const Vor_DesignerControl& c) const { return factorToPixels(true, c.topLeftX); }
    double getTopLeftY(const Vor_DesignerControl& c) const { return factorToPixels(false, c.topLeftY); }
    double getBottomRightX(const Vor_DesignerControl& c) const {
        return factorToPixels(true, c.bottomRightX);
    }
    double getBottomRightY(const Vor_DesignerControl& c) const {
        return factorToPixels(false, c.bottomRightY);
    }
    void setTopLeftX(Vor_DesignerControl& c, double px) const { c.topLeftX = pixelsToFactor(true, px); }
    void setTopLeftY(Vor_DesignerControl& c, double px) const { c.topLeftY = pixelsToFactor(false, px); }
    void setBottomRightX(Vor_DesignerControl& c, double px) const {
        c.bottomRightX = pixelsToFactor(true, px);
    }
    void setBottomRightY(Vor_DesignerControl& c, double px) const {
        c.bottomRightY = pixelsToFactor(false, px);
    }
    double getWidth(const Vor_DesignerControl& c) const { return getBottomRightX(c) - getTopLeftX(c); }
    double getHeight(const Vor_DesignerControl& c) const { return getBottomRightY(c) - getTopLeftY(c); }
    /// Right edge = left edge + pixels.
    void setWidth(Vor_DesignerControl& c, double px) const { setBottomRightX(c, getTopLeftX(c) + px); }
    /// Top edge = bottom edge - pixels.
    void setHeight(Vor_DesignerControl& c, double px) const { setTopLeftY(c, getBottomRightY(c) - px); }
    /// The whole-pixel rectangle a control is drawn at (run-mode combos not yet lengthened), in
    /// the dialog's client pixels: the picture's pixels less the view origin.
    ui::Rect pixelRect(const Vor_DesignerControl& c) const;
    /// The picture's pixel shown at the client's top-left corner (design mode scrolls a picture
    /// larger than the window); setting it keeps the controls on the picture and the selection.
    ui::Point viewOrigin() const { return m_origin; }
    void setViewOrigin(ui::Point origin);

    // Drawing
    /// Removes the drawn windows and draws every control anew; twice in a row gives one set.
    void redrawAllControls();
    void removeAllDrawnCtrls();
    /// The picture over the button-face colour (design mode); 0.
    int OnEraseBkgnd(ui::Painter& p);
    /// Frames and handles of the selection (design mode).
    void OnPaint(ui::Painter& p);
    /// Sets the cursor over a drawn control or handle; 1 when it did.
    int OnSetCursor(ui::Point point);
    /// The mouse (design mode): selection, rubber band, moving and resizing.
    void OnLButtonDown(bool ctrl, bool shift, ui::Point point);
    /// True when a drag moved something and the dialog wants repainting.
    bool OnMouseMove(ui::Point point);
    bool OnLButtonUp(ui::Point point);
    /// The drawn controls in drawing order.
    int getNrDrawnControls() const { return static_cast<int>(m_drawn.size()); }
    const CControlRect* getDrawnControl(int k) const;

    // Values (run mode)
    bool getCtrlValue(const int& resId, Vor_String& value) const;
    bool setCtrlValue(const int& resId, const Vor_String& value);
    bool setCtrlReadOnly(const int& resId, const bool& readOnly);
    bool getFocusedDynControl(int& resId) const;
    bool findEditCtrlWithContents(Vor_String contents, int& i) const;

    // Property panel (design mode)
    void updatePropsOfCurSel();
    void updateProps(int i);
    void readProps(int i);
    void propsOfCurSelUpdated();
    int getCurSel() const;
    void getSizeFromAllControls();
    bool isUpdating() const { return m_updating; }

    // Layout editing (design mode)
    /// Appends and draws a new control; false while there is no picture to place it on.
    bool addNewControl(Vor_ControlType type);
    bool removeCurControls();
    void copyCurCtrls();
    /// Asks for a width or height and gives it to every selected control.
    void changeCtrlSize(bool horizontal);
    void changeCtrlSize(int i, bool horizontal, double pixels);
    bool outlineCurCtrls();
    bool stickRightCurCtrls();
    /// Moves the selected controls by whole pixels (arrow keys); false without a selection.
    bool moveCurCtrls(int dx, int dy);
    /// Gives the selected controls the rectangles `how` makes of theirs (in order of selection, the
    /// first being the reference); false with fewer than `least` selected.
    bool arrangeCurCtrls(const std::function<std::vector<ui::Rect>(std::vector<ui::Rect>)>& how,
                         std::size_t least);
    /// Selects every drawn control.
    void selectAllCtrls();
    /// Copies of the selected controls, in order of selection.
    std::vector<Vor_DesignerControl> selectedControls();
    /// Appends copies of `controls` moved by whole pixels, draws them and makes them the selection;
    /// the number appended (fewer when the id range is full).
    int pasteCtrls(const std::vector<Vor_DesignerControl>& controls, ui::Point offset);
    /// The snap grid in pixels, 0 for none: mouse moves and sizes end on it, new controls start on it.
    void setSnapGrid(int pixels) { m_snapGrid = pixels; }
    int snapGrid() const { return m_snapGrid; }
    /// Whether the tab position of each control is painted over it.
    void setShowTabOrder(bool show);
    bool showsTabOrder() const { return m_showTabOrder; }
    /// Computes the tab order of all controls.
    void sortAllControls();
    /// Child ids of the focusable controls in tab order.
    std::vector<int> tabOrderIds() const;
    /// The selected child ids, in order of selection.
    std::vector<int> getSelectedIds() const;
    /// Makes exactly these controls the selection.
    void selectCtrls(const std::vector<int>& resIds);

    // Flex buttons
    bool getFlexBtnsInGroup(const Vor_String& group, Vor_Array<int>& all, Vor_Array<int>& withField3) const;
    void getFlexBtnsGroups(Vor_StringArray& names) const;
    bool findFlexButton(const Vor_String& group, const Vor_String& name, int& i) const;
    bool getAllFlexVarsOfGroup(const Vor_String& group, Vor_StringArray& names) const;
    bool getFlexBtnGroupName(const int& resId, Vor_String& group, Vor_String& name) const;
    bool getFlexBtnStatus(const int& i, int& status);
    bool setFlexBtnStatus(const Vor_String& group, const Vor_String& name, const int& status);
    bool hideAllFlexBtns(const Vor_String& group);

    // Focus and Tab
    /// Moves the focus along the tab order for a Tab key (Shift+Tab backwards).
    bool handleTabKey(const int& key, Vor_TabMsgHandle& result, bool shift = false);
    /// Focuses the first or last control in tab order.
    bool setFocusToCtrl(bool first);

    // Template files
    /// Reads a template below the root folder. False, with the reason naming the file and the key or
    /// line in `error` and the engine unchanged, for a file outside the root folder, one that cannot
    /// be read or one that is not read cleanly (readTemplateControls): such a file is never opened, so
    /// it is never saved over with what was left of it.
    bool readFromFile(const Vor_String& path, bool withBitmap, std::string* error = nullptr);
    /// Writes the template to `path` below the root folder, with its picture beside it (a newly
    /// chosen one, or the old name's when the name changes), and takes the name. False with the
    /// reason, the old file and name kept, when the path is outside the root folder, a control
    /// would not read back (templateWriteFault) or the file cannot be written.
    bool writeToFile(const Vor_String& path, std::string* error = nullptr);

protected:
    bool getNameFromFile(const Vor_String& path, Vor_String& name) const;
    bool drawControl(Vor_DesignerControl& ctrl);
    bool removeDrawnCtrlOnly(const int& resId);
    bool findDrawnCtrlFromResource(const int& resId, int& k, CControlRect*& rect) const;
    bool getCtrlPtr(const int& i, ui::Control*& wnd) const;
    void getSizeFromControl(int i);
    void FillDesCombo(const Vor_DesignerControl& ctrl, ui::Control* combo);
    bool getComboValue(ui::Control* combo, Vor_String& value) const;
    bool setComboValue(ui::Control* combo, const Vor_String& value);
    bool getCheckValue(ui::Control* button, Vor_String& value) const;
    bool setCheckValue(ui::Control* button, const Vor_String& value);
    void setBtnIcon(ui::Control* button);
    bool findMostLeftCtrl(std::vector<int> resIds, int& i) const;
    bool getSetFlexBtnStatus(const bool& set, const int& i, int& status);
    bool setFocusToCtrl(const int& i);
    bool findCtrlWithTabOrder(const int& tab, int& i) const;
    bool containsEditableCtrls() const;

private:
    void reset();
    /// Lays a small numbered badge over the top-left corner of every control that takes a tab
    /// position while the tab order is shown (the controls' windows would hide a painted number).
    void refreshTabOrderBadges();
    ui::Control* drawnWindow(int resId) const;

    bool m_initialised = false;
    bool m_updating = false;
    ui::Dialog* m_dlg = nullptr;
    ui::Image m_icon;
    std::vector<std::unique_ptr<CControlRect>> m_drawn;
    std::unique_ptr<SelectionTracker> m_tracker;
    ui::Image m_bitmap;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    int m_firstResId = 0;
    int m_lastResId = 0;
    bool m_designMode = false;
    int m_typeListId = 0, m_contentsLabelId = 0, m_contentsFieldId = 0, m_listLabelId = 0, m_listFieldId = 0;
    Vor_String m_templateName;
    std::vector<Vor_DesignerControl> m_controls;
    std::string m_unsavedPicture; ///< bytes of a chosen picture not yet saved beside the template
    ui::Point m_origin;           ///< the picture's pixel at the client's top-left
    int m_snapGrid = 0;
    bool m_showTabOrder = false;
    std::vector<ui::Control*> m_badges; ///< the tab order's numbered badges
};
