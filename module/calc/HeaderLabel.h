#pragma once
// The text of a header or footer label as it prints: placeholders filled in and formatting codes
// taken out. Pure: no file, no window, no engine.

#include <host/Vor_StringArray.h>

#include <optional>
#include <string>

/// Where a label's text sits in its rectangle.
enum class LabelAlign {
    Left,   ///< /L, and when no code says otherwise
    Center, ///< /C
    Right,  ///< /R
};

/// What the placeholders of a label stand for.
struct LabelContext {
    int totalPages = 0;
    Vor_StringArray varNames;  ///< table variables, matched without regard to letter case
    Vor_StringArray varValues; ///< same length as varNames
};

/// A label's text with what its codes asked for; an empty optional leaves the header file's
/// standard font as it is.
struct RenderedLabel {
    std::string text;
    LabelAlign align = LabelAlign::Left;
    std::optional<std::string> face; ///< /F"Arial"
    std::optional<double> height;    ///< /TH"12", in points
    std::optional<bool> bold;        ///< /B, /NB
    std::optional<bool> italic;      ///< /I, /NI
    std::optional<bool> underline;   ///< /UL, /NUL
    bool operator==(const RenderedLabel&) const = default;
};

/// Prepares a label text for page `page`: "%currentPage%", "%totalPages%" and "%Variable%" are
/// replaced (a word that names nothing stays as it is), then the first of each formatting code is
/// taken out. When several alignments are given /R wins over /C, and /C over /L.
RenderedLabel renderHeaderLabel(const std::string& text, int page, const LabelContext& context);

/// The placeholders alone (the first step of renderHeaderLabel).
std::string expandLabelPlaceholders(const std::string& text, int page, const LabelContext& context);
