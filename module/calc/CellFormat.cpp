#include "calc/CellFormat.h"

#include <ui/Resources.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>
#include <vector>

namespace cellformat {

namespace {

// Codes 7 to 10 have no line of their own in the grid, so the list skips them.
constexpr int kCodes[kLineStyleCount] = {0, 1, 2, 3, 4, 5, 6, 11, 12, 13, 14, 15};
constexpr int kPictureIds[kLineStyleCount] = {158, 160, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171};
constexpr int kSidePictureIds[4] = {8160, 8161, 8162, 8163}; // left, right, top, bottom
constexpr const char* kPictureSet = "vordlg-formatting-pictures";

constexpr int kLinePictureWidth = 32, kLinePictureHeight = 16, kSidePictureSize = 16;

int sideIndex(int side) {
    switch (side) {
    case sheet::kBorderLeft:
        return 0;
    case sheet::kBorderRight:
        return 1;
    case sheet::kBorderTop:
        return 2;
    case sheet::kBorderBottom:
        return 3;
    default:
        return -1;
    }
}

void put16(std::string& s, unsigned v) {
    s += char(v & 0xff);
    s += char((v >> 8) & 0xff);
}
void put32(std::string& s, unsigned v) {
    put16(s, v & 0xffff);
    put16(s, v >> 16);
}

} // namespace

int lineStyleCode(int listPos) {
    return listPos >= 0 && listPos < kLineStyleCount ? kCodes[listPos] : -1;
}

int lineStyleListPos(int code) {
    const int* end = kCodes + kLineStyleCount;
    const int* it = std::find(kCodes, end, code);
    return it == end ? -1 : int(it - kCodes);
}

int lineStylePictureId(int listPos) {
    return listPos >= 0 && listPos < kLineStyleCount ? kPictureIds[listPos] : 0;
}

int sidePictureId(int side) {
    int i = sideIndex(side);
    return i < 0 ? 0 : kSidePictureIds[i];
}

bool lineStylePixel(int code, int x, int y, int width, int height) {
    if (x < 2 || x >= width - 2 || y < 0 || y >= height) return false;
    const int mid = height / 2;
    const bool thick = code >= 11 && code <= 15;
    const int base = thick ? code - 10 : code;
    if (base < 1 || base > 6) return false; // 0: no line
    if (base == 6) return y == mid - 1 || y == mid + 1;
    if (y != mid && !(thick && y == mid + 1)) return false;
    // Dash patterns as on and off runs in line widths, like the pens the grid draws with.
    static const std::vector<int> patterns[] = {{}, {}, {4, 2}, {1, 2}, {4, 2, 1, 2}, {4, 2, 1, 2, 1, 2}};
    const std::vector<int>& runs = patterns[base];
    if (runs.empty()) return true;
    const int scale = thick ? 2 : 1;
    int period = 0;
    for (int r : runs)
        period += r * scale;
    int pos = (x - 2) % period;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (pos < runs[i] * scale) return i % 2 == 0;
        pos -= runs[i] * scale;
    }
    return false;
}

int sidePixel(int side, int x, int y, int size) {
    const int i = sideIndex(side);
    if (i < 0 || x < 0 || y < 0 || x >= size || y >= size) return 0;
    const int lo = 2, hi = size - 3; // the cell outline, two pixels in from the edge
    if (x < lo || x > hi || y < lo || y > hi) return 0;
    const bool onSide[4] = {x <= lo + 1, x >= hi - 1, y <= lo + 1, y >= hi - 1};
    if (onSide[i]) return 2;
    const bool onOutline = x == lo || x == hi || y == lo || y == hi;
    return onOutline && (x + y) % 2 == 0 ? 1 : 0;
}

std::string bitmapFile(int width, int height, const std::function<std::uint32_t(int x, int y)>& colorAt) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const unsigned imageSize = unsigned(rowBytes * height);
    std::string s;
    s.reserve(54 + imageSize);
    s += "BM";
    put32(s, 54 + imageSize);
    put32(s, 0);
    put32(s, 54);
    put32(s, 40);
    put32(s, unsigned(width));
    put32(s, unsigned(height));
    put16(s, 1);
    put16(s, 24);
    put32(s, 0); // no compression
    put32(s, imageSize);
    put32(s, 2835); // 72 dpi
    put32(s, 2835);
    put32(s, 0);
    put32(s, 0);
    for (int y = height - 1; y >= 0; --y) { // bottom-up rows
        int written = 0;
        for (int x = 0; x < width; ++x, written += 3) {
            std::uint32_t c = colorAt(x, y);
            s += char((c >> 16) & 0xff); // blue, green, red
            s += char((c >> 8) & 0xff);
            s += char(c & 0xff);
        }
        for (; written < rowBytes; ++written)
            s += '\0';
    }
    return s;
}

void registerPictures() {
    if (ui::Resources::has(kPictureSet)) return;
    auto set = std::make_shared<ui::ResourceSet>();
    set->name = kPictureSet;
    auto add = [&](int id, std::string bytes) {
        std::string name = "picture" + std::to_string(id) + ".bmp";
        set->images[id] = ui::ImageTemplate{id, false, name, {}};
        set->files[name] = std::move(bytes);
    };
    constexpr std::uint32_t kWhite = 0xFFFFFF, kBlack = 0, kFace = 0xF0F0F0, kFaint = 0xA0A0A0;
    for (int pos = 0; pos < kLineStyleCount; ++pos) {
        const int code = kCodes[pos];
        add(kPictureIds[pos], bitmapFile(kLinePictureWidth, kLinePictureHeight, [&](int x, int y) {
                return lineStylePixel(code, x, y, kLinePictureWidth, kLinePictureHeight) ? kBlack : kWhite;
            }));
    }
    for (int side : {sheet::kBorderLeft, sheet::kBorderRight, sheet::kBorderTop, sheet::kBorderBottom})
        add(sidePictureId(side), bitmapFile(kSidePictureSize, kSidePictureSize, [&](int x, int y) {
                int p = sidePixel(side, x, y, kSidePictureSize);
                return p == 2 ? kBlack : p == 1 ? kFaint : kFace;
            }));
    ui::Resources::add(std::move(set));
}

BorderSettings bordersOf(const TSpread& grid, int col, int row) {
    BorderSettings s;
    int sides = 0, style = 0;
    std::uint32_t color = 0;
    if (!grid.GetBorder(col, row, sides, style, color) || sides == 0) return s;
    s.sides = std::uint16_t(sides);
    s.style = std::uint16_t(style);
    s.color = color;
    return s;
}

bool applyBorders(TSpread& grid, const sheet::CellRange& b, const BorderSettings& s) {
    const int sides = s.sides & 15;
    if (s.style > 15) return false; // refused before anything changes, not halfway through
    // The dialog shows every side as on or off, so a side switched off must lose its line; a single
    // call would only touch the chosen sides and leave the others as they were.
    if (sides != 15 && !grid.SetBorderRange(b.col1, b.row1, b.col2, b.row2, 15 & ~sides, 0, 0)) return false;
    return sides == 0 || grid.SetBorderRange(b.col1, b.row1, b.col2, b.row2, sides, s.style, s.color);
}

FontSettings fontOf(const TSpread& grid, int col, int row) {
    FontSettings s;
    grid.GetFont(col, row, s.font);
    grid.GetColor(col, row, s.backColor, s.textColor);
    return s;
}

ui::FontSpec fontSpecOf(const FontSettings& s) {
    ui::FontSpec f;
    f.face = s.font.face;
    f.pointSize = s.font.height;
    f.bold = s.font.weight >= 600;
    f.italic = s.font.italic;
    f.underline = s.font.underline;
    f.strikeOut = s.font.strikeOut;
    f.color = s.textColor == sheet::kDefaultColor ? 0 : s.textColor;
    return f;
}

void takeFontSpec(FontSettings& s, const ui::FontSpec& chosen) {
    const ui::FontSpec offered = fontSpecOf(s);
    if (!chosen.face.empty()) s.font.face = chosen.face;
    if (chosen.pointSize > 0) s.font.height = chosen.pointSize;
    if (chosen.bold != offered.bold) s.font.weight = chosen.bold ? 700 : 400;
    s.font.italic = chosen.italic;
    s.font.underline = chosen.underline;
    s.font.strikeOut = chosen.strikeOut;
    // Only a colour the person picked replaces the text colour: the grid's own colour is offered as
    // black, and taking that back would pin every cell to black.
    if ((chosen.color & 0xFFFFFF) != offered.color) s.textColor = chosen.color & 0xFFFFFF;
}

bool applyFont(TSpread& grid, const sheet::CellRange& b, const FontSettings& s) {
    return grid.SetFontRange(b.col1, b.row1, b.col2, b.row2, s.font) &&
           grid.SetColorRange(b.col1, b.row1, b.col2, b.row2, s.backColor, s.textColor);
}

int horizontalIndex(std::uint32_t style, int kind) {
    for (int i = 0; i < 3; ++i)
        if ((style & sheet::kAlignHMask) == kHorizontalBits[i]) return i;
    return kind == kKindNumber ? 1 : kind == kKindPicture ? 2 : 0;
}

int verticalIndex(std::uint32_t style) {
    for (int i = 0; i < 3; ++i)
        if ((style & sheet::kAlignVMask) == kVerticalBits[i]) return i;
    return 2;
}

int rotationIndex(std::uint32_t style) {
    for (int i = 0; i < 6; ++i)
        if ((style & sheet::kRotationMask) == kRotationBits[i]) return i;
    return 0;
}

std::uint32_t firstOptionBit(int kind) {
    switch (kind) {
    case kKindNumber:
        return sheet::kNegativeRed;
    case kKindText:
        return sheet::kWordWrap;
    case kKindPicture:
        return sheet::kPictureStretch;
    default:
        return 0;
    }
}

std::uint32_t secondOptionBit(int kind) {
    return kind == kKindPicture ? std::uint32_t(sheet::kPictureKeepRatio) : 0u;
}

std::uint32_t composeStyle(int kind, int h, int v, int rot, bool first, bool second) {
    std::uint32_t s = 0;
    if (h >= 0 && h < 3) s |= kHorizontalBits[h];
    if (v >= 0 && v < 3) s |= kVerticalBits[v];
    if (kind != kKindPicture && rot >= 0 && rot < 6) s |= kRotationBits[rot];
    if (first) s |= firstOptionBit(kind);
    if (second) s |= secondOptionBit(kind);
    return s;
}

CellTypeSettings cellTypeSettingsOf(const sheet::CellType& t) {
    CellTypeSettings s;
    switch (t.kind) {
    case sheet::CellKind::Number:
        s.kind = kKindNumber;
        s.style = t.style;
        s.decimals = std::uint8_t(std::clamp(t.decimals, 0, 15));
        break;
    case sheet::CellKind::Edit:
        s.kind = kKindText;
        s.style = t.style | (t.multiLine ? std::uint32_t(sheet::kWordWrap) : std::uint32_t(0));
        s.maxLength = std::uint16_t(std::clamp(t.maxLength, 0, 0xFFFF));
        break;
    case sheet::CellKind::Picture:
        s.kind = kKindPicture;
        s.style = t.style;
        s.pictureFile = t.picture;
        break;
    default:
        // The option bits of other kinds mean other things; only alignment and rotation carry over.
        s.kind = kKindText;
        s.style = t.style & (sheet::kAlignHMask | sheet::kAlignVMask | sheet::kRotationMask);
        break;
    }
    return s;
}

bool makeCellType(TSpread& grid, const CellTypeSettings& s, sheet::CellType& out) {
    const sheet::CellType defaults;
    switch (s.kind) {
    case kKindNumber:
        return grid.SetTypeNumber(out, s.style, std::min<int>(s.decimals, 15), defaults.minimum,
                                  defaults.maximum) != nullptr;
    case kKindText:
        return grid.SetTypeEdit(out, s.style, s.maxLength,
                                (s.style & std::uint32_t(sheet::kWordWrap)) != 0) != nullptr;
    case kKindPicture:
        return grid.SetTypePicture(out, s.style, s.pictureFile) != nullptr;
    default:
        return false;
    }
}

int fieldNumber(const std::string& text, int most) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        v = std::min<long long>(v * 10 + (text[i] - '0'), INT_MAX); // saturates instead of overflowing
    if (negative) return 0;
    return int(std::min<long long>(v, most));
}

} // namespace cellformat
