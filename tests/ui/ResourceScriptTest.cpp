// Reading resource scripts: what a good script yields and how a bad one is reported.

#include <ui/Resources.h>

#include <gtest/gtest.h>

using namespace ui;

namespace {

const char* kGood = R"(// a module's resources
#include "resource.h"
8134 BITMAP "on.png"
300 ICON "add.png" THEME "list-add"
STRINGTABLE
BEGIN
    57601 "Open a table\nOpen"
END
139 MENU
BEGIN
    POPUP "&Bestand"
    BEGIN
        MENUITEM "&Openen...", 57601
        MENUITEM SEPARATOR
        MENUITEM "Af&drukken", 57607, GRAYED
    END
END
150 TOOLBAR 16, 15
BEGIN
    BUTTON 57601, "document-open", "Open"
    SEPARATOR
END
8069 DIALOGEX 0, 0, 240, 82
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "Say ""hello"""
FONT 8, "MS Shell Dlg"
MENU 139
BEGIN
    LTEXT "Prompt", 8600, 7, 7, 226, 30
    EDITTEXT 8003, 7, 40, 226, 14, ES_AUTOHSCROLL | NOT WS_VISIBLE
    CONTROL "", 1001, "VorGrid", WS_TABSTOP, 4, 4, 100, 50
    DEFPUSHBUTTON "OK", 1, 129, 61, 50, 14
    LTEXT "", -1, 0, 0, 10, 10
    LTEXT "", -1, 0, 0, 10, 10
END
)";

TEST(ResourceScript, goodScriptYieldsEveryResource) {
    ResourceSet set;
    set.files["on.png"] = "x";
    set.files["add.png"] = "y";
    std::string error;
    ASSERT_TRUE(parseResourceScript(kGood, "good.rc", set, error)) << error;
    const DialogTemplate& d = set.dialogs.at(8069);
    EXPECT_EQ(d.caption, "Say \"hello\"") << "doubled quotes are one quote";
    EXPECT_EQ(d.rect, Rect::fromSize(0, 0, 240, 82));
    EXPECT_EQ(d.menuId, 139);
    ASSERT_EQ(d.controls.size(), 6u) << "anonymous statics may repeat id -1";
    EXPECT_TRUE(d.controls[1].hasStyle("NOT WS_VISIBLE"));
    EXPECT_TRUE(d.controls[1].hasStyle("ES_AUTOHSCROLL"));
    EXPECT_EQ(d.controls[2].kind, "VorGrid");
    EXPECT_EQ(d.controls[3].kind, "DEFPUSHBUTTON");
    EXPECT_EQ(set.menus.at(139).items.at(0).children.size(), 3u);
    EXPECT_TRUE(set.menus.at(139).items[0].children[2].grayed);
    EXPECT_TRUE(set.menus.at(139).items[0].children[1].separator);
    EXPECT_EQ(set.toolbars.at(150).buttons.size(), 2u);
    EXPECT_EQ(set.toolbars.at(150).buttons[0].icon, "document-open");
    EXPECT_EQ(set.images.at(300).themeName, "list-add");
    EXPECT_EQ(set.strings.at(57601), "Open a table\nOpen");
}

struct BadCase {
    const char* script;
    const char* message; ///< the error must hold this, "file:line: what"
};

TEST(ResourceScript, badScriptsAreRefusedNamingFileAndLine) {
    const BadCase cases[] = {
        {"100 DIALOGEX 0, 0, 10\nBEGIN\nEND\n", "bad.rc:1: expected ',' after width"},
        {"100 DIALOGEX 0, 0\nBEGIN\nEND\n", "bad.rc:1: expected ', width, height'"},
        {"100 DIALOGEX 0, 0, 10, 10\nCAPTION \"open\nBEGIN\nEND\n", "bad.rc:2: unterminated string"},
        {"100 DIALOGEX 0, 0, 10, 10\nBEGIN\n  FROB \"x\", 1, 0, 0, 1, 1\nEND\n",
         "bad.rc:3: unknown control keyword 'FROB'"},
        {"100 DIALOGEX 0, 0, 10, 10\nBEGIN\n  EDITTEXT 5, 0, 0, 1, 1\n  EDITTEXT 5, 0, 0, 1, 1\nEND\n",
         "bad.rc:4: control 5 appears twice"},
        {"100 DIALOGEX 0, 0, 10, 10\nBEGIN\n  EDITTEXT 5, 0, 0, 1, 1\n", "dialog 100 has no END"},
        {"100 DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n100 DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n",
         "bad.rc:4: dialog 100 is defined twice"},
        {"100 DIALOGEX 0, 0, 10, 10\nMENU 7\nBEGIN\nEND\n", "names menu 7, which the script does not define"},
        {"100 WIDGET\n", "bad.rc:1: unknown resource kind 'WIDGET'"},
        {"7 MENU\nBEGIN\n  MENUITEM \"x\", 0\nEND\n", "bad.rc:3: a menu item needs a positive command id"},
        {"5 BITMAP \"missing.png\"\n", "names the file \"missing.png\", which is not embedded"},
        {"100 DIALOGEX 0, 0, 10, 10\nBEGIN\n  CONTROL \"\", 1, \"NoSuchClass\", 0, 0, 0, 1, 1\nEND\n",
         "bad.rc:3: unknown control class \"NoSuchClass\""},
        {"100 DIALOGEX 0, 0, -1, 10\nBEGIN\nEND\n", "bad.rc:1: negative size"},
        {"100 DIALOGEX 0, 0, 1x, 10\n", "bad.rc:1: malformed number '1x'"},
    };
    for (const BadCase& c : cases) {
        ResourceSet set;
        set.files["present.png"] = "z"; // pictures are checked against the embedded files
        std::string error;
        EXPECT_FALSE(parseResourceScript(c.script, "bad.rc", set, error)) << c.script;
        EXPECT_NE(error.find(c.message), std::string::npos) << "got: " << error << "\nwant: " << c.message;
        EXPECT_TRUE(set.dialogs.empty()) << "a refused script leaves nothing half-read";
    }
}

TEST(ResourceScript, lookupSearchesTheCurrentSetFirst) {
    for (const char* name : {"first", "second"}) {
        auto set = std::make_shared<ResourceSet>();
        set->name = name;
        std::string error;
        std::string script = std::string("100 DIALOGEX 0, 0, 10, 10\nCAPTION \"") + name + "\"\nBEGIN\nEND\n";
        ASSERT_TRUE(parseResourceScript(script, "x.rc", *set, error)) << error;
        Resources::add(set);
    }
    std::string before = Resources::setCurrent("first");
    EXPECT_EQ(Resources::dialog(100)->caption, "first");
    Resources::setCurrent("second");
    EXPECT_EQ(Resources::dialog(100)->caption, "second");
    EXPECT_EQ(Resources::setCurrent(before), "second");
    Resources::remove("first");
    Resources::remove("second");
    EXPECT_EQ(Resources::dialog(100), nullptr);
}

TEST(ResourceScript, dialogUnitsScaleLikeTheClassicBaseUnits) {
    EXPECT_EQ(dluToPixelsX(4), 6);
    EXPECT_EQ(dluToPixelsY(8), 13);
    EXPECT_EQ(dluToPixels(Rect::fromSize(0, 0, 240, 82)).width(), 360);
}

} // namespace
