#pragma once
// The filter of the macro selection: the macro drawings of a library folder, what each holds (its
// macros' modules and their property values), and which of them pass the modules and values that
// are switched on. docs/formats.md ("Macro drawings and their filter") says what texts, flags and
// rows mean.

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <cad/Drawing.h>

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

/// Budgets of the drawing scan.
inline constexpr int kMaxMacroDrawings = 2000;
inline constexpr int kMaxFilterModules = 64;
inline constexpr int kMaxFilterValuesPerModule = 32; ///< more distinct values of a module are left out
inline constexpr int kMinThumbnailSide = 16;
inline constexpr int kMaxThumbnailSide = 512;

class Vor_MacroPropsFilter {
public:
    /// Scans the macro drawings. texts[0]: their folder below the library folder (default
    /// "Macros/Drawings/"); texts[1]: a macro type the drawings must hold (empty: any). flags[0]:
    /// whether property values are offered beside the modules (default true). `first` and `second`
    /// are the thumbnail width and height, kept within kMinThumbnailSide..kMaxThumbnailSide.
    /// Everything switches on. False when the folder cannot be listed (then there are no drawings).
    bool initialize(const Vor_StringArray& texts, const Vor_Array<bool>& flags, int first, int second);

    /// The first two values held: the thumbnail width and height.
    int width() const { return m_width; }
    int height() const { return m_height; }

    /// Every macro drawing of the folder (full paths, sorted), also those that could not be read.
    Vor_StringArray getAllDwgFiles() const;
    /// Per module (sorted): entry 0 the module, entries 1.. its property values (sorted). `second`:
    /// per row the same entries' origin ("" for the module, else the cell or profile group the value
    /// comes from); `flags`: per row whether each entry is switched on. False when no drawing holds
    /// a module (the arrays are then left alone).
    bool getMergedProperties(Vor_Array<Vor_StringArray>& rows, Vor_Array<Vor_StringArray>& second,
                             Vor_Array<Vor_Array<bool>>& flags) const;
    /// Switches a module on or off; false when no drawing holds it.
    bool setModuleStatus(const Vor_String& module, bool on);
    /// Switches a property value of a module on or off; false when no drawing holds that pair.
    bool setModulePropStatus(const Vor_String& module, const Vor_String& prop, bool on);
    /// The drawings that pass: read cleanly, holding the type asked for, and every module and every
    /// property value they hold switched on. Sorted.
    Vor_StringArray getFilteredMacros() const;
    /// One message per drawing that could not be read, or folder that could not be listed.
    const Vor_StringArray& problems() const { return m_problems; }

private:
    struct Drawing {
        std::string path;
        bool readCleanly = false;
        std::set<std::string> modules;                        ///< case-folded names
        std::set<std::pair<std::string, std::string>> values; ///< (module, value), case-folded
    };
    struct Entry {
        Vor_String text;   ///< as first seen
        Vor_String origin; ///< where the value comes from
        bool on = true;
    };
    struct Module {
        Vor_String name;
        std::map<std::string, Entry> values; ///< by case-folded value
        bool on = true;
    };

    int m_width = 96, m_height = 96;
    std::vector<Drawing> m_drawings;
    std::map<std::string, Module> m_modules; ///< by case-folded name
    Vor_StringArray m_problems;
};

/// One property value of a module of a macro, and where it comes from.
struct MacroFeature {
    Vor_String module; ///< "Endplate"
    Vor_String value;  ///< "S355", "IPE 300"; empty for the module alone
    Vor_String origin; ///< "grade", "Beam"
};
/// What a macro drawing holds as the filter sees it: every module of its macros, each also with its
/// property values (cells whose value is a text and no number, and the sections of profile groups).
/// False with a message when the drawing cannot be read or a macro's definition is missing.
/// `types` gets the macro types it holds.
bool macroDrawingFeatures(const std::string& path, std::vector<MacroFeature>& features,
                          Vor_StringArray& types, std::string* error = nullptr);
/// The same for a drawing in memory; the message then names no file.
bool macroDrawingFeatures(const cad::Drawing& drawing, std::vector<MacroFeature>& features,
                          Vor_StringArray& types, std::string* error = nullptr);
