#pragma once
// Pages of a dialog over one tab control: the dialog adds its pages (child dialogs it owns), and
// this shows the page whose tab is chosen, keeps every page in the tab control's display area, and
// gives each page back the control that had the keyboard focus when it was left.

#include <ui/Dialog.h>

#include <functional>
#include <string>
#include <vector>

class TabbedPages {
public:
    /// The tab control `tabControlId` of `owner`; call from the owner's onInitDialog.
    void attach(ui::Dialog* owner, int tabControlId);
    /// Adds a tab with `text` and creates `page` (a child template) hidden over the display area.
    /// The page is the caller's; it must outlive its window here (destroy() ends that). Returns
    /// the page's index, or -1 when the page's window could not be made.
    int addPage(ui::Dialog& page, const std::string& text);
    /// Runs before the shown page changes, with the page left (-1 for none) and the next one, so
    /// that the dialog stores what the left page shows and refreshes the next.
    void setBeforeShow(std::function<void(int left, int next)> handler) { m_beforeShow = std::move(handler); }

    /// Shows page `index` alone and selects its tab. The page left remembers its focused control
    /// (by id); the page shown gets its remembered control back, the first time its first control
    /// in tab order.
    void show(int index);
    /// The owner's onCommand: a change of tab shows its page. True when the command was that.
    bool onCommand(int id, int code);
    /// The owner's onSize: every page into the tab control's display area.
    void place();
    /// The owner's onDestroy: destroys the pages' windows.
    void destroy();

    int current() const { return m_current; }
    int count() const { return static_cast<int>(m_pages.size()); }
    ui::Dialog* page(int index) const;
    /// The control id page `index` gives the focus to when it is shown next; 0 for its first one.
    int focusToRestore(int index) const;

private:
    struct Page {
        ui::Dialog* dialog = nullptr;
        int focusId = 0; ///< the control focused when the page was left; 0: none yet
    };
    void rememberFocus();
    void restoreFocus(Page& page);

    ui::Dialog* m_owner = nullptr;
    int m_tabsId = 0;
    std::vector<Page> m_pages;
    int m_current = -1;
    std::function<void(int, int)> m_beforeShow;
};
