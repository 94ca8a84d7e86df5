#pragma once
// Numbered resources (dialog templates, menus, toolbars, string tables, bitmaps and icons) read
// from resource scripts in the familiar RC shape. Each module registers its own resource set;
// look-up searches the current set first, then every other registered set.

#include <ui/Types.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

/// A file embedded beside a resource script (a picture named by a BITMAP or ICON line).
struct EmbeddedFile {
    std::string name;
    std::string bytes;
};

/// One control line of a dialog template.
struct ControlTemplate {
    std::string kind;                ///< LTEXT, EDITTEXT, PUSHBUTTON, ... or the class of a CONTROL line
    int id = -1;                     ///< control id; -1 (IDC_STATIC) for anonymous statics
    std::string text;                ///< caption or, for pictures, the resource id as text
    Rect rect;                       ///< in dialog units, relative to the client area
    std::vector<std::string> styles; ///< style words, e.g. "ES_MULTILINE", "NOT WS_VISIBLE"
    int line = 0;                    ///< line in the script, for messages
    bool hasStyle(const std::string& s) const;
};

/// A dialog template: caption, size in dialog units, styles and controls.
struct DialogTemplate {
    int id = 0;
    Rect rect; ///< in dialog units
    std::string caption;
    std::vector<std::string> styles;
    std::string fontFace = "MS Shell Dlg";
    int fontSize = 8;
    int menuId = 0; ///< MENU line of the template, 0 for none
    std::vector<ControlTemplate> controls;
    std::string source; ///< "file:line" of the template, for messages
    bool hasStyle(const std::string& s) const;
    const ControlTemplate* control(int id) const;
};

/// A menu item or popup; popups hold children.
struct MenuItemTemplate {
    std::string text;
    int id = 0; ///< command id; 0 for popups and separators
    bool separator = false;
    bool grayed = false;
    bool checked = false;
    std::vector<MenuItemTemplate> children;
    bool isPopup() const { return !separator && id == 0; }
};

struct MenuTemplate {
    int id = 0;
    std::vector<MenuItemTemplate> items;
};

/// A toolbar: buttons with command ids, icon names and tool tips; id 0 is a separator.
struct ToolbarButtonTemplate {
    int id = 0;
    std::string icon; ///< freedesktop icon name or an embedded picture's name
    std::string tip;
};

struct ToolbarTemplate {
    int id = 0;
    int buttonWidth = 16;
    int buttonHeight = 15;
    std::vector<ToolbarButtonTemplate> buttons;
};

/// A picture resource: an embedded file and, optionally, a freedesktop icon name preferred to it.
struct ImageTemplate {
    int id = 0;
    bool icon = false;     ///< ICON rather than BITMAP
    std::string file;      ///< embedded file name
    std::string themeName; ///< e.g. "list-add"; empty when none fits
};

/// The resources of one module, parsed from its script.
class ResourceSet {
public:
    std::string name;
    std::map<int, DialogTemplate> dialogs;
    std::map<int, MenuTemplate> menus;
    std::map<int, ToolbarTemplate> toolbars;
    std::map<int, ImageTemplate> images; ///< bitmaps and icons share one number space here
    std::map<int, std::string> strings;
    std::map<std::string, std::string> files; ///< embedded files by name
};

/// Parses a resource script. On failure returns false and sets `error` to "file:line: what".
bool parseResourceScript(const std::string& text, const std::string& sourceName, ResourceSet& out,
                         std::string& error);

/// The registry of resource sets and the current one.
class Resources {
public:
    /// Registers a set from embedded bytes; called by generated code when a library is loaded.
    /// A malformed script is reported on standard error and its set stays empty.
    static void addEmbedded(const std::string& setName, const std::string& sourceName,
                            const std::string& script, std::vector<EmbeddedFile> files);
    /// Registers a parsed set under its name, replacing one of the same name.
    static void add(std::shared_ptr<ResourceSet> set);
    /// Removes a set (when its library is unloaded).
    static void remove(const std::string& setName);
    static bool has(const std::string& setName);
    /// The error met while parsing an embedded set, empty when none.
    static std::string loadError(const std::string& setName);

    /// Makes a set the one searched first; returns the previous one's name.
    static std::string setCurrent(const std::string& setName);
    static std::string current();

    /// The dialog template `id`; `setName` receives the name of the set that holds it.
    static const DialogTemplate* dialog(int id, std::string* setName = nullptr);
    static const MenuTemplate* menu(int id);
    static const ToolbarTemplate* toolbar(int id);
    static const ImageTemplate* image(int id, std::string* setName = nullptr);
    static std::optional<std::string> string(int id);
    /// The bytes of an embedded file of the set that holds image `id`.
    static const std::string* fileOfImage(int id);
};

/// Dialog units to pixels, fixed so that layouts do not hang on one font's metrics.
int dluToPixelsX(int dlu);
int dluToPixelsY(int dlu);
Rect dluToPixels(const Rect& r);

} // namespace ui
