#pragma once
// The macro library: one definition file per macro type under `libDir + "Macros/"` ("Kopplaat.json",
// docs/formats.md "Macro definitions"). A definition gives the tabs of the type with their default
// values, and the rule that makes the macro's entities from its values: a list of elements (plates,
// bolt groups, profiles, cut markers, coordinate systems, library drawings) whose numbers are small
// expressions over the macro's values ("bp/2", "Beam.h/2 - hp").
//
// Names in expressions: a cell by its name ("tp"); of a pattern P: "P.rows", "P.cols",
// "P.rowSpacing", "P.colSpacing", "P.edgeTop", "P.edgeSide"; of a profile group G: "G.h", "G.w",
// "G.tw", "G.tf" (from the section library); of a tab T's bolt data: "T.d" (diameter), "T.tol"
// (hole tolerance); inside a repeated element: "i" (from 0) and "pos" (its offset along the array).

#include <host/MacroData.h>

#include <cad/Entity.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// Budgets of the definition reader.
inline constexpr std::size_t kMaxMacroDefinitionBytes = 256u << 10;
inline constexpr int kMaxMacroTabs = 32;
inline constexpr int kMaxMacroRecordsPerTab = 200; ///< cells, patterns, profiles, ... each
inline constexpr int kMaxMacroElements = 200;
inline constexpr int kMaxMacroJsonDepth = 12;
inline constexpr std::size_t kMaxMacroExpressionBytes = 256;
/// Most entities one element may make through an array or a pattern.
inline constexpr int kMaxMacroRepeat = 1000;

/// One element of a rule: what it makes, from which record, and the expressions of its numbers.
struct MacroElement {
    enum Kind { Plate, Bolts, Profile, CoordSys, Cut, Block };
    using Vec = std::array<std::string, 3>;
    std::string key; ///< names what it made ("EP"; "ST#2" for the second of an array)
    Kind kind = Plate;
    std::string condition; ///< made only when this is not 0 ("" always)
    std::string repeat;    ///< an array's name: made once per position
    Vec origin{"0", "0", "0"}, xaxis{"1", "0", "0"}, yaxis{"0", "1", "0"};
    Vec end{"1000", "0", "0"}, u{"1", "0", "0"}, v{"0", "-1", "0"}, axis{"0", "0", "1"},
        normal{"1", "0", "0"};
    std::string width = "0", height = "0", thickness = "0", length = "0", size = "0";
    std::string pattern, boltTab, group, tab;
    int insertion = 4;
    std::vector<std::pair<std::string, std::string>> props;
};

/// A macro type as its definition file gives it.
class MacroDefinition {
public:
    MacroDefinition();
    ~MacroDefinition();
    MacroDefinition(const MacroDefinition&);
    MacroDefinition& operator=(const MacroDefinition&);

    Vor_String type;              ///< "Kopplaat"
    Vor_String title;             ///< the dialog's title
    Vor_Array<MacroTabData> tabs; ///< with their default values
    /// Keeps a cell equal to a value of a pattern: whichever of the two changed is copied to the other.
    struct Link {
        Vor_String module, cell, pattern;
        int value = 0; ///< MacroPatternProps::value index
    };
    std::vector<Link> links;
    std::vector<MacroElement> elements;
};

/// One entity of a macro as the rule makes it: `key` names the element (and the repetition) that
/// made it; it is kept in the entity's "gen" property, so that a regenerated macro updates the
/// entity that has the same key.
struct GeneratedEntity {
    std::string key;
    cad::Entity entity;
};

/// Reads a definition from its text; false with "SOURCE: why" in `error` (nothing kept).
bool parseMacroDefinition(std::string_view text, const std::string& source, MacroDefinition& into,
                          std::string* error = nullptr);
/// The definition of `type` from `libDir + "Macros/" + type + ".json"`, kept while the file is
/// unchanged; null with a message when it cannot be read or the type's name is no file name.
std::shared_ptr<const MacroDefinition> macroDefinition(const Vor_String& type, std::string* error = nullptr);
/// The macro types of the library folder (names of the definition files without extension), sorted.
Vor_StringArray macroTypes();

/// Makes the entities of a macro from its values, in local coordinates of `placement` turned into
/// model coordinates. False with a message naming the element and the value at fault (a value that
/// is no number, an unknown name, a count beyond kMaxMacroRepeat).
bool generateMacro(const MacroDefinition& definition, const Vor_Array<MacroTabData>& tabs,
                   const cad::CoordSys& placement, std::vector<GeneratedEntity>& out,
                   std::string* error = nullptr);

/// Width, height, web and flange thickness of a section ("IPE 300") from the section library
/// (`libDir + "prof/IPE.pr"`, columns Width, Height, Web thickness, Flange thickness); false when the
/// table or the row is missing.
struct SectionSize {
    double width = 0, height = 0, web = 0, flange = 0;
};
bool sectionSize(const Vor_String& section, SectionSize& size);

/// A small expression ("bp/2 - 10"): numbers, names, + - * / and brackets. Evaluates with `lookUp`
/// giving the value of a name (false: unknown). False with a message for a malformed expression.
bool evaluateMacroExpression(std::string_view text,
                             const std::function<bool(const std::string&, double&)>& lookUp, double& value,
                             std::string* error = nullptr);

/// One assembly of the bolt library (`libDir + "Bolts/assemblies.txt"`, docs/formats.md): its name
/// ("8.8"), standard and description, and per diameter its thread pitch, head (width across flats,
/// height; 0 for an anchor rod), nut height, washer (outer diameter, thickness) and hole tolerance.
struct BoltAssembly {
    Vor_String name, standard, description;
    struct Size {
        double diameter = 0, pitch = 0, headWidth = 0, headHeight = 0, nutHeight = 0, washerDiameter = 0,
               washerThickness = 0, holeTolerance = 0;
    };
    std::vector<Size> sizes;
};
/// Budgets of the bolt library reader.
inline constexpr std::size_t kMaxBoltLibraryBytes = 1u << 20;
inline constexpr int kMaxBoltAssemblies = 100;
inline constexpr int kMaxBoltSizes = 50;
/// Reads the bolt library's text; false with "SOURCE:LINE: why" (nothing kept).
bool parseBoltLibrary(std::string_view text, const std::string& source, std::vector<BoltAssembly>& out,
                      std::string* error = nullptr);
/// The bolt library of the library folder, kept while the file is unchanged; empty when it cannot
/// be read (the message in `error`).
std::vector<BoltAssembly> boltLibrary(std::string* error = nullptr);
