#pragma once
// A designed page run inside a host dialog: the controls of a designer template, live, over the
// template's picture in a frame rectangle of the dialog. It is what a dialog that shows designed
// pages needs of the designer (the run-mode preview, the macro pages): the controls with their
// ids, designer types and names, their values in and out, which one a person changed, and Tab
// along the template's tab order. Editing a template is the designer window's (DlgDesigner).

#include "designer/Vor_DlgDesignerData.h"

#include <host/Vor_String.h>
#include <ui/Types.h>

#include <functional>
#include <map>
#include <string>

namespace ui {
class Dialog;
class Painter;
} // namespace ui

class DesignedPage {
public:
    /// Most controls a page lays, so the ids firstId .. firstId + kMaxControls - 1 are the page's.
    static constexpr int kMaxControls = Vor_DlgDesignerData::kMaxControls;

    /// Reads template `path` (below the designer's root folder) and lays its controls on `host`,
    /// which must exist, with child ids from `firstId`; the picture's top-left corner goes to the
    /// top-left of `frame` (client pixels of the host). False, with the reason naming the file and
    /// nothing laid, when the template is not read cleanly (Vor_DlgDesignerData::readFromFile).
    bool open(ui::Dialog& host, const ui::Rect& frame, const Vor_String& path, int firstId,
              std::string* error = nullptr);
    /// Removes the page's windows (also done when the page goes).
    void close();
    bool isOpen() const { return m_open; }
    const ui::Rect& frame() const { return m_frame; }
    const Vor_String& templateName() const { return m_engine.getTemplateName(); }

    /// The page's controls, in the template's order: `type` (a Vor_ControlType), `contents` (the
    /// caption, or the bound variable's name of a value control) and `resId` (the child id).
    int count() const { return m_engine.getNrControls(); }
    const Vor_DesignerControl& control(int index) const { return *m_engine.getControl(index); }
    /// The index of the control with child id `id`, or -1.
    int indexOfId(int id) const;
    /// The index of the value control (variable edit or combo) bound to `name` (any case), or -1.
    int indexOfName(const Vor_String& name) const;

    /// The value a control shows (text; 0/1 of a check box; the chosen item's index of a choice
    /// combo); false for an id that is not the page's.
    bool text(int id, Vor_String& value) const { return m_engine.getCtrlValue(id, value); }
    /// Puts a value in a control, as text() reads it; no change is reported for it.
    bool setText(int id, const Vor_String& value) { return m_engine.setCtrlValue(id, value); }
    /// Puts values in by variable name; names that are no value control of the page are skipped.
    /// The number of values put in.
    int setValues(const std::map<std::string, std::string>& values);
    /// The values of every control that takes the focus, by its name (contents).
    std::map<std::string, std::string> values() const;

    /// Called with the control's index when a person changes a value on the page.
    void setChangedHandler(std::function<void(int index)> handler) { m_changed = std::move(handler); }
    /// The host's onCommand hands its commands on: true when it was a change of a page control
    /// (the handler has been told).
    bool onCommand(int id, int code);
    /// The host's preTranslateKey: Tab and Shift+Tab move along the page's tab order; `result`
    /// says whether the focus left the page past its last or before its first control.
    bool handleTabKey(const ui::KeyEvent& key, Vor_TabMsgHandle& result);
    /// Focuses the page's first (or last) control in tab order; false when none takes the focus.
    bool focus(bool first = true) { return m_engine.setFocusToCtrl(first); }
    /// The host's onPaint: the template's picture in the frame.
    void paint(ui::Painter& p) { m_engine.OnEraseBkgnd(p); }

    /// The run-mode engine underneath, for flex groups and read-only switches.
    Vor_DlgDesignerData& engine() { return m_engine; }

private:
    Vor_DlgDesignerData m_engine;
    ui::Rect m_frame;
    int m_firstId = 0;
    bool m_open = false;
    std::function<void(int)> m_changed;
};
