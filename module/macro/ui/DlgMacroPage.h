#pragma once
// A page of the macro dialog: one tab of the edited macros, shown in the dialog's tab control.
// A page shows its tab's values, and after a person changed one it asks the dialog that shows it
// to commit: the dialog keeps a copy of the tab, lets the page store its controls into the tab,
// and writes what differs into every edited macro of the drawing (then checks for clashes).

#include <host/MacroData.h>
#include <ui/Dialog.h>
#include <ui/Types.h>

#include <memory>

class DlgMacroPage;

/// What a page needs of the dialog that shows it (the macro dialog, or a test's stand-in).
class MacroPageHost {
public:
    virtual ~MacroPageHost() = default;
    /// The dialog's copy of the edited macros; a page's tab is `macroData().tabs[page.tabIndex()]`.
    virtual MacroData& macroData() = 0;
    /// The dialog's registry slot (-1 for a modal dialog), for the clash bookkeeping and the
    /// record dialogs a page opens.
    virtual int registrySlot() const = 0;
    /// Keeps a copy of the page's tab, lets the page store its controls (storeToTab), writes the
    /// differences into the drawing and runs the clash check. False when the page refused a value
    /// (the tab is then as it was) or the drawing refused the change.
    virtual bool commitPage(DlgMacroPage& page) = 0;
    /// Hides the dialog while the person picks in the drawing, and shows it again afterwards.
    virtual void hideForPick() = 0;
    virtual void showAfterPick() = 0;
};

/// Base of the designer page and the profile page.
class DlgMacroPage : public ui::Dialog {
public:
    DlgMacroPage(int templateId, MacroPageHost& host, int tabIndex)
        : ui::Dialog(templateId)
        , m_host(host)
        , m_tabIndex(tabIndex) {}

    int tabIndex() const { return m_tabIndex; }
    MacroPageHost& host() const { return m_host; }
    MacroTabData& tab() const { return m_host.macroData().tabs[m_tabIndex]; }

    /// Shows the tab's current values (designed controls are bound to the tab's elements anew).
    virtual void loadFromTab() = 0;
    /// Stores the controls into the tab. False, with a message shown to the person, when a value is
    /// refused; the tab is then unchanged.
    virtual bool storeToTab() = 0;
    /// Ends an edit still open in a grid cell, so that storeToTab sees it.
    virtual void finishEdits() {}
    /// The client size in pixels the page needs to show all its controls.
    virtual ui::Size neededSize() const = 0;
    /// A profile page: opens its advanced dialog (the profile details) at once.
    virtual bool isProfilePage() const { return false; }
    virtual void openAdvanced() {}

private:
    MacroPageHost& m_host;
    int m_tabIndex;
};

/// The page of tab `tabIndex` of the host's data: a designer page for kinds 0, 1 and 3, a profile
/// page for kind 2, null for any other kind (such a tab has no page and no tab label).
std::unique_ptr<DlgMacroPage> makeMacroPage(MacroPageHost& host, int tabIndex);
