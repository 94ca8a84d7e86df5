#pragma once
// The designed controls of a macro page bound to the values of the page's tab: each control shows
// one element of the tab (a cell, a pattern, a profile group, an array, a cut, the drawing choice),
// found by the control's name, and the element records the control's resource id so that a change
// can be traced back to it. The designer page and the profile page both show one; what a click on
// a designed control does (dimension controls, flex buttons, the record dialogs) lives here too.

#include "designer/DesignedPage.h"

#include <host/MacroData.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <functional>
#include <string>
#include <vector>

class DlgMacroPage;

class DesignedTabBinding {
public:
    /// Child ids of the designed controls start here, clear of the pages' own controls.
    static constexpr int kFirstId = 34000;
    /// Most library drawings the drawing-file combo lists.
    static constexpr int kMaxDrawingFiles = 2000;

    explicit DesignedTabBinding(DlgMacroPage& page)
        : m_page(page) {}

    /// Lays the controls of the tab's designer template in `frame` of the page. False (nothing laid)
    /// when the tab names no template or it cannot be read; `error` then says why (empty without a
    /// template).
    bool open(const ui::Rect& frame, std::string* error = nullptr);
    void close() { m_designed.close(); }
    bool isOpen() const { return m_designed.isOpen(); }
    DesignedPage& designed() { return m_designed; }
    const DesignedPage& designed() const { return m_designed; }

    /// Forgets the tab's control references, binds every designed control to its element anew and
    /// shows the element's value.
    void bind();
    /// Stores the values of the bound controls into the tab, and the changes of buttons clicked
    /// since the last store (flex buttons, profile buttons).
    void store();
    /// Whether a designed control of a type from `firstType` to `lastType` names `name`.
    bool showsName(const Vor_String& name, int firstType, int lastType) const;

    /// What a command of the page meant for the designed part.
    enum class Result {
        NotMine,   ///< not a designed control's, or nothing to do for it
        Ignored,   ///< a designed control's, but nothing changed
        Changed,   ///< a value changed: the page stores and commits
        Committed, ///< a record dialog already wrote the change into the drawing: the page reloads
    };
    Result onCommand(int id, int code);

    /// The dimension control with child id `id` (types 25 and 26): asks for the wanted overall
    /// dimension and writes the linked value(s) that give it into their controls. False when nothing
    /// was written (not a dimension control, a part missing, a bad factor, Cancel, a refused text).
    bool runDimensionControl(int id);

    /// The library drawings the drawing-file combo offers (names without ".dwg", sorted), at most
    /// kMaxDrawingFiles, from `folder`.
    static Vor_StringArray drawingFilesIn(const Vor_String& folder);

private:
    MacroTabData& tab() const;
    void bindControl(const Vor_DesignerControl& c);
    void storeControl(const Vor_DesignerControl& c);
    Vor_String shownText(int resId) const;
    bool flexButtonClicked(int id);
    bool profileButtonClicked(int id);
    bool drawingFileChosen(const Vor_DesignerControl& c);

    DlgMacroPage& m_page;
    DesignedPage m_designed;
    /// Changes of buttons waiting for the next store: the commit keeps the tab as it was before it
    /// stores, so that it can tell what differs.
    std::vector<std::function<void(MacroTabData&)>> m_pending;
};

/// A linked name of a dimension control: a leading "-" stands for the negated value of the cell
/// named by the rest.
struct LinkedName {
    Vor_String name;
    bool negated = false;
};
LinkedName splitLinkedName(const Vor_String& text);
