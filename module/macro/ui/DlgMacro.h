#pragma once
// The macro dialog: one page per tab of the edited macros. Every value a person changes goes into
// the drawing at once (the page commits through the dialog), so the connection in the drawing
// follows the dialog while it stays open. Filters choose which of the selected macros and which
// tabs are edited; buttons turn the view, switch the clash check, load and save property files,
// apply the macro again and select other macros. Modal through StartDlgMacro, modeless through
// StartDlgMacroModeless (DlgMacroModeless.h).

#include "frame/TabbedPages.h"
#include "macro/ui/DlgMacroPage.h"

#include <host/MacroData.h>
#include <host/ui/CButtonST.h>
#include <host/ui/CResizer.h>
#include <ui/Dialog.h>

#include "frame/VorExport.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class DlgMacro : public ui::Dialog, public MacroPageHost {
public:
    enum {
        IDD = 8131,
        IDC_TABS = 8097,
        IDC_SELECT_OTHER = 1176,
        IDC_VIEW_STANDARD = 1181,
        IDC_VIEW_FRONT = 1182,
        IDC_VIEW_SIDE = 1183,
        IDC_VIEW_TOP = 1184,
        IDC_CLASH = 1292,
        IDC_LOAD = 1299,
        IDC_SAVE = 1302,
        IDC_FILTER1 = 1177,
        IDC_FILTER2 = 1178,
        IDC_FILTER1_GROUP = 1179,
        IDC_FILTER2_GROUP = 1180,
        IDC_REAPPLY = 1293,
    };
    /// Size rules (pixels): before the first resize, and the margins around the largest page after it.
    static constexpr ui::Size kFirstMinSize{280, 300};
    static constexpr int kPageMarginX = 47;
    static constexpr int kMinWidthWithPages = 395;
    static constexpr int kPageMarginY = 160;

    explicit DlgMacro(ui::Window* parent = nullptr);
    ~DlgMacro() override;

    int registryIndex = -1; ///< slot among the modeless dialogs; -1 for a modal dialog
    Vor_String name = "Macro";
    MacroData data; ///< the dialog's copy of the edited macros

    // MacroPageHost
    MacroData& macroData() override { return data; }
    int registrySlot() const override { return registryIndex; }
    bool commitPage(DlgMacroPage& page) override;
    void hideForPick() override;
    void showAfterPick() override;

    /// The key the window's place is kept under: "DLG_MACRO_EDITVARS_" and the group, the number of
    /// macros or the macro's name, made a safe key of the settings store.
    std::string placementName() const;
    /// The page of data tab `tab` (null for a tab of a kind without a page).
    DlgMacroPage* pageOfTab(int tab) const;
    /// The data tab shown on tab `ctrlTab` of the tab control, -1 for none.
    int tabOfControlTab(int ctrlTab) const;
    /// The data tab of the page shown, -1 for none.
    int currentTab() const;
    /// Shows the page of data tab `tab`; false when it has none.
    bool showTab(int tab);
    /// The minimum size the pages ask for, as the size rules give it.
    ui::Size wantedMinSize() const;

    /// Loads and saves property files through the filtered file dialog (buttons 1299 and 1302).
    bool loadPropertyFile();
    bool savePropertyFile();
    /// Stores and commits every page (before a property file is written).
    bool commitAllPages();
    /// Close, OK, Cancel and the close box: the view back to standard, the flag for the host, and
    /// the modeless end or the modal OK.
    void closeProcedure();

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override { closeProcedure(); }
    void onCancel() override { closeProcedure(); }
    void onClose() override { closeProcedure(); }
    void onSize(int width, int height) override;
    void onDestroy() override;

private:
    void buildPages();
    void destroyPages();
    void fillFilters();
    void filterChanged(bool first);
    void selectOtherMacros();
    void enableFileButtons();
    void fitSize();
    void growToPages();
    void reloadPages();
    void refreshClashBox();

    std::array<CButtonST, 8> m_buttons;
    std::vector<std::unique_ptr<DlgMacroPage>> m_pages; ///< one per data tab, null where none was made
    std::vector<int> m_pageKinds;
    std::vector<int> m_tabOfCtrl; ///< data tab shown on each tab of the tab control
    TabbedPages m_tabbed;
    CResizer m_resizer;
    bool m_resized = false;
    bool m_pagesShown = false;
    bool m_sizing = false;
    int m_currentPage = -1;
};

/// Edits `data` in a modal macro dialog; afterwards `data` is the dialog's copy, however it ended.
VOR_EXPORT void StartDlgMacro(MacroData& data);
