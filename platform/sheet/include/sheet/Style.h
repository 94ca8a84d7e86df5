#pragma once
// Cell appearance (font, colours, borders, lock) and the cell types with their parameters.
// Both are interned in tables so that a cell carries only two small numbers.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace sheet {

/// Colours are Windows COLORREF values 0x00BBGGRR; kDefaultColor means "the grid's own colour".
inline constexpr std::uint32_t kDefaultColor = 0xFF000000u;
/// 0x00BBGGRR from red, green and blue.
constexpr std::uint32_t rgb(int r, int g, int b) {
    return std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16);
}

/// A font description.
struct Font {
    std::string face = "Arial";
    int height = 10;  ///< points
    int weight = 400; ///< 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;
    bool operator==(const Font&) const = default;
};

/// Border sides as bits: 1 left, 2 right, 4 top, 8 bottom.
enum BorderSide : std::uint8_t { kBorderLeft = 1, kBorderRight = 2, kBorderTop = 4, kBorderBottom = 8 };

/// One border line: style code 0 (none) to 15 and colour.
struct BorderLine {
    std::uint8_t style =
        0; ///< 0 none, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot, 6 double, 11-15 thick variants
    std::uint32_t color = 0;
    bool operator==(const BorderLine&) const = default;
};

/// Everything about how a cell looks, except its type.
struct CellStyle {
    Font font;
    std::uint32_t textColor = kDefaultColor;
    std::uint32_t backColor = kDefaultColor;
    BorderLine border[4]; ///< left, right, top, bottom
    bool locked = false;
    bool operator==(const CellStyle&) const = default;
};

/// Kinds of cells.
enum class CellKind : std::uint8_t {
    General = 0,    ///< no type set: texts and numbers as typed
    Edit = 1,       ///< text edit; maxLength, multiLine
    Number = 2,     ///< number; decimals, minimum, maximum, thousands separator
    Picture = 3,    ///< picture file; stretch, keep proportions
    ComboBox = 4,   ///< list of items (tab separated); editable
    CheckBox = 5,   ///< data "1" / "0"; pictures for off and on, framed
    Button = 6,     ///< push button with text
    StaticText = 7, ///< read-only text
};

/// Style bits of a cell type: alignment, rotation and kind options.
enum TypeStyleBits : std::uint32_t {
    kAlignLeft = 0x100000,
    kAlignCenter = 0x200000,
    kAlignRight = 0x400000,
    kAlignHMask = 0x700000,
    kAlignTop = 0x10000,
    kAlignVCenter = 0x20000,
    kAlignBottom = 0x40000,
    kAlignVMask = 0x70000,
    kRotationMask = 0x7000000, ///< 0x1000000..0x5000000: vertical, 270, 180, 90, vertical right-to-left
    kNegativeRed = 0x10000000, ///< number: negative values in red
    kWordWrap = 0x4,           ///< text: long texts wrap
    kPictureStretch = 0x2,     ///< picture: stretch to the cell
    kPictureKeepRatio = 0x4,   ///< picture: keep the proportions
};

/// A cell type with every parameter any kind can have (unused ones stay at their defaults).
struct CellType {
    CellKind kind = CellKind::General;
    std::uint32_t style = 0;
    int maxLength = 0;      ///< edit: 0 = no limit
    bool multiLine = false; ///< edit
    int decimals = 2;       ///< number
    double minimum = -1e15; ///< number
    double maximum = 1e15;  ///< number
    bool thousands = false; ///< number
    std::string picture;    ///< picture file; check box: picture when off
    std::string picture2;   ///< check box: picture when on
    std::string items;      ///< combo box items joined by tabs
    bool editable = false;  ///< combo box
    bool framed = false;    ///< check box
    std::string text;       ///< button, check box caption
    bool operator==(const CellType&) const = default;
};

/// Interns values of T: equal values share one small id; id 0 is the default value.
template <class T> class InternTable {
public:
    // The default value is indexed like any other, so interning it gives id 0 and not a second copy
    // (a loaded table would otherwise mark every plain cell as formatted).
    InternTable() { clear(); }
    /// Id of `v`, added when new; 0xFFFF when the table is full.
    std::uint16_t intern(const T& v) {
        for (auto [it, end] = m_index.equal_range(hash(v)); it != end; ++it)
            if (m_items[it->second] == v) return it->second;
        if (m_items.size() >= 0xFFFF) return 0xFFFF;
        m_items.push_back(v);
        auto id = std::uint16_t(m_items.size() - 1);
        m_index.emplace(hash(v), id);
        return id;
    }
    const T& get(std::uint16_t id) const { return id < m_items.size() ? m_items[id] : m_items[0]; }
    std::size_t size() const { return m_items.size(); }
    void clear() {
        m_items.assign(1, T());
        m_index.clear();
        m_index.emplace(hash(m_items[0]), 0);
    }

private:
    static std::size_t hash(const T& v);
    std::vector<T> m_items;
    std::unordered_multimap<std::size_t, std::uint16_t> m_index;
};

template <> std::size_t InternTable<CellStyle>::hash(const CellStyle& s);
template <> std::size_t InternTable<CellType>::hash(const CellType& t);

} // namespace sheet
