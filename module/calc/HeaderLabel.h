#pragma once
// The text of a header or footer label as it prints: placeholders filled in and formatting codes
// taken out. Pure: no file, no window, no engine.

#include <host/Vor_StringArray.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

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

    /// The value of the variable named `word` (any letter case; the first of a name counts), null
    /// for none. The names are indexed on the first question, so that every label of every page
    /// finds its variables without going through the list; change the lists only before that.
    const Vor_String* variable(const std::string& word) const;

    LabelContext() = default;
    /// A copy makes its own index when asked.
    LabelContext(const LabelContext& o)
        : totalPages(o.totalPages)
        , varNames(o.varNames)
        , varValues(o.varValues) {}
    LabelContext& operator=(const LabelContext& o) {
        totalPages = o.totalPages, varNames = o.varNames, varValues = o.varValues;
        m_index.reset();
        return *this;
    }

private:
    mutable std::shared_ptr<const std::unordered_map<std::string, int>> m_index;
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

/// The most bytes of text a label prints once its placeholders are filled in: a label is one line
/// of a page. What lies beyond is cut (at the end of a character), and placeholders beyond it are
/// not filled in, so a label that repeats a long variable costs no more than this.
inline constexpr std::size_t kMaxLabelBytes = 4096;

/// Prepares a label text for page `page`: "%currentPage%", "%totalPages%" and "%Variable%" are
/// replaced (a word that names nothing stays as it is), then the first of each formatting code is
/// taken out. When several alignments are given /R wins over /C, and /C over /L.
RenderedLabel renderHeaderLabel(const std::string& text, int page, const LabelContext& context);

/// The placeholders alone (the first step of renderHeaderLabel), within kMaxLabelBytes.
std::string expandLabelPlaceholders(const std::string& text, int page, const LabelContext& context);
