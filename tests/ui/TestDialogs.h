#pragma once
// A resource set and a dialog class for the windowing layer's tests.

#include <ui/Resources.h>
#include <ui/Window.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace testui {

inline const char* kScript = R"(
500 MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "&Open", 601
        MENUITEM "&Print", 602, GRAYED
    END
    POPUP "Context"
    BEGIN
        MENUITEM "Copy", 611
        MENUITEM "Paste", 612
    END
END
510 TOOLBAR 16, 15
BEGIN
    BUTTON 601, "document-open", "Open a table"
    SEPARATOR
    BUTTON 602, "document-print", "Print"
    BUTTON 603
END
STRINGTABLE
BEGIN
    603, "Exports the table\nExport"
END
710 DIALOGEX 0, 0, 200, 150
STYLE WS_POPUP | WS_CAPTION
CAPTION "Edits and more"
BEGIN
    EDITTEXT 31, 5, 5, 100, 14, ES_AUTOHSCROLL
    EDITTEXT 32, 5, 22, 100, 14, ES_READONLY
    EDITTEXT 33, 5, 39, 100, 14, ES_NUMBER
    EDITTEXT 34, 5, 56, 100, 30, ES_MULTILINE
    EDITTEXT 35, 110, 5, 80, 14, NOT WS_VISIBLE
    COMBOBOX 36, 110, 22, 80, 60, CBS_DROPDOWN | WS_DISABLED
    LISTBOX 37, 110, 39, 80, 40, WS_DISABLED
    AUTOCHECKBOX "Hidden check", 38, 110, 85, 80, 10, NOT WS_VISIBLE
    CONTROL "", 39, "msctls_trackbar32", 0, 5, 90, 100, 14
    CONTROL "", 40, "msctls_progress32", 0, 5, 106, 100, 10
    LISTBOX 41, 110, 100, 80, 25, LBS_SORT
    COMBOBOX 43, 5, 118, 100, 60, CBS_DROPDOWN
    PUSHBUTTON "Apply", 42, 5, 132, 40, 14
    DEFPUSHBUTTON "OK", 1, 100, 132, 40, 14
    PUSHBUTTON "Cancel", 2, 150, 132, 40, 14
END
700 DIALOGEX 0, 0, 300, 220
STYLE WS_POPUP | WS_CAPTION | WS_THICKFRAME
CAPTION "All controls"
MENU 500
BEGIN
    LTEXT "&Label", 10, 5, 5, 60, 10
    EDITTEXT 11, 70, 5, 100, 14, ES_AUTOHSCROLL
    EDITTEXT 12, 70, 22, 100, 30, ES_MULTILINE | ES_WANTRETURN
    AUTOCHECKBOX "Check", 13, 5, 55, 60, 10
    AUTO3STATE "Three", 14, 70, 55, 60, 10
    AUTORADIOBUTTON "A", 15, 5, 70, 30, 10, WS_GROUP
    AUTORADIOBUTTON "B", 16, 40, 70, 30, 10
    AUTORADIOBUTTON "C", 17, 80, 70, 30, 10, WS_GROUP
    COMBOBOX 18, 5, 85, 100, 60, CBS_DROPDOWNLIST
    COMBOBOX 19, 110, 85, 100, 60, CBS_DROPDOWN | CBS_SORT
    LISTBOX 20, 5, 105, 100, 40, LBS_EXTENDEDSEL
    CONTROL "", 21, "SysTabControl32", 0, 110, 105, 100, 14
    CONTROL "", 22, "SysListView32", LVS_REPORT, 110, 122, 100, 30
    CONTROL "", 23, "VorCheckCombo", WS_TABSTOP, 5, 150, 100, 60
    CONTROL "", 24, "VorGrid", WS_TABSTOP, 215, 5, 80, 60
    GROUPBOX "Group", 25, 210, 70, 85, 40
    PUSHBUTTON "Hidden", 26, 215, 120, 40, 14, NOT WS_VISIBLE
    PUSHBUTTON "Off", 27, 215, 140, 40, 14, WS_DISABLED
    DEFPUSHBUTTON "OK", 1, 190, 200, 50, 14
    PUSHBUTTON "Cancel", 2, 245, 200, 50, 14
END
)";

/// Registers the test resources once per process.
inline void registerResources() {
    if (ui::Resources::has("testui")) return;
    auto set = std::make_shared<ui::ResourceSet>();
    set->name = "testui";
    std::string error;
    ASSERT_TRUE(ui::parseResourceScript(kScript, "testui.rc", *set, error)) << error;
    ui::Resources::add(set);
}

/// Records what reaches the dialog's hooks.
class Recorder : public ui::Dialog {
public:
    Recorder()
        : ui::Dialog(700) {}
    std::vector<std::pair<int, int>> commands;
    std::vector<int> keys;
    std::vector<int> timers;
    std::vector<int> contextIds;
    int eatKey = 0; ///< a key that pre-translation swallows
    bool eatAll = false;
    int okCalls = 0;
    int cancelCalls = 0;
    bool initRan = false;

    bool sawCommand(int id, int code) const {
        for (auto [i, c] : commands)
            if (i == id && c == code) return true;
        return false;
    }

protected:
    bool onInitDialog() override {
        initRan = true;
        item(18)->addString("zero");
        item(18)->addString("one");
        item(19)->addString("beta");
        item(19)->addString("alpha");
        item(20)->addString("a");
        item(20)->addString("b");
        item(20)->addString("c");
        item(21)->insertTab(0, "First");
        item(21)->insertTab(1, "Second");
        item(23)->addString("S235");
        item(23)->addString("S355");
        return true;
    }
    bool onCommand(int id, int code) override {
        commands.push_back({id, code});
        return false;
    }
    bool preTranslateKey(const ui::KeyEvent& k) override {
        keys.push_back(k.vk);
        return eatAll || k.vk == eatKey;
    }
    void onTimer(int id) override { timers.push_back(id); }
    void onContextMenu(int id, ui::Point) override { contextIds.push_back(id); }
    void onOK() override {
        ++okCalls;
        endDialog(ui::IDOK);
    }
    void onCancel() override {
        ++cancelCalls;
        endDialog(ui::IDCANCEL);
    }
};

} // namespace testui
