#pragma once
// What the cell formatting dialogs exchange with a grid: border, font-and-colour and cell-type
// settings, the line-style list, the style bits of alignment, rotation and kind options, and the
// conversions to and from the engine's types. Nothing here needs a window.

#include "calc/TSpread.h"

#include <sheet/SpreadControl.h>
#include <sheet/Style.h>
#include <ui/Types.h>

#include <cstdint>
#include <functional>
#include <string>

/// Border settings: which sides get a line, the line style code and its colour.
struct BorderSettings {
    std::uint16_t sides = 0; ///< kBorderLeft 1, kBorderRight 2, kBorderTop 4, kBorderBottom 8; 0 for none
    std::uint16_t style = 1; ///< line style code as the engine takes it (0 none, 1 solid, ...)
    std::uint32_t color = 0; ///< 0x00BBGGRR
    bool operator==(const BorderSettings&) const = default;
};

/// Font and colour settings; colours may be sheet::kDefaultColor ("the grid's own").
struct FontSettings {
    sheet::Font font;
    std::uint32_t textColor = sheet::kDefaultColor;
    std::uint32_t backColor = sheet::kDefaultColor;
    bool operator==(const FontSettings&) const = default;
};

/// The kinds the cell-type dialog offers, in the order of its list.
enum CellTypeKind : int {
    kKindNumber = 0,  ///< "Getal"
    kKindText = 1,    ///< "Tekst"
    kKindPicture = 2, ///< "Afbeelding"
};

/// Cell-type settings: the kind with its options; the fields of the other kinds are kept so that
/// switching the kind back and forth in the dialog loses nothing.
struct CellTypeSettings {
    int kind = kKindText;
    std::uint32_t style = 0;     ///< alignment, rotation and kind option bits (sheet::TypeStyleBits)
    std::uint8_t decimals = 2;   ///< number: digits after the decimal separator
    std::uint16_t maxLength = 0; ///< text: most characters; 0 = no limit
    std::string pictureFile;     ///< picture: the bitmap shown in the cell
    bool operator==(const CellTypeSettings&) const = default;
};

namespace cellformat {

// ---- line styles

/// Entries of the line-style list.
inline constexpr int kLineStyleCount = 12;
/// The style code at a list position (0 .. 11 give 0 .. 6, 11 .. 15); -1 outside the list.
int lineStyleCode(int listPos);
/// The list position of a style code; -1 for the codes the list does not offer (7 to 10, > 15).
int lineStyleListPos(int code);
/// The bitmap resource that pictures the entry at a list position (158, 160, 162, 163, ...); 0 outside.
int lineStylePictureId(int listPos);
/// Whether pixel (x, y) of a line-style picture of `width` × `height` is drawn in the line colour.
bool lineStylePixel(int code, int x, int y, int width, int height);
/// Pixel (x, y) of the square picture of a side toggle (one BorderSide bit): 0 background, 1 the
/// faint outline of the cell, 2 the chosen side.
int sidePixel(int side, int x, int y, int size);
/// The bitmap resource of a side toggle's picture; 0 for anything but one side bit.
int sidePictureId(int side);
/// A 24-bit BMP file of `width` × `height` with the colour (0x00BBGGRR) of each pixel.
std::string bitmapFile(int width, int height, const std::function<std::uint32_t(int x, int y)>& colorAt);
/// Registers the line-style and side pictures as bitmap resources (once; later calls do nothing).
void registerPictures();

/// The borders of a cell as SSGetBorder reports them; a cell without lines offers solid black.
BorderSettings bordersOf(const TSpread& grid, int col, int row);
/// Sets the block's borders so that each cell shows exactly the chosen sides; sides that are not
/// chosen lose their line. False when the grid refused.
bool applyBorders(TSpread& grid, const sheet::CellRange& block, const BorderSettings& s);

// ---- fonts and colours

/// Font and colours of a cell.
FontSettings fontOf(const TSpread& grid, int col, int row);
/// The font dialog's description of the font and text colour (the grid's own colour shows as black).
ui::FontSpec fontSpecOf(const FontSettings& s);
/// Takes the font dialog's answer: face, size and effects; weight and character set stay when the
/// boldness is unchanged; a colour other than the one offered becomes the text colour.
void takeFontSpec(FontSettings& s, const ui::FontSpec& chosen);
/// Font on the block, then background and text colours on the block.
bool applyFont(TSpread& grid, const sheet::CellRange& block, const FontSettings& s);

// ---- cell types and style bits

/// The horizontal alignment list ("Links", "Rechts", "Gecentreerd") and its bits.
inline constexpr std::uint32_t kHorizontalBits[3] = {sheet::kAlignLeft, sheet::kAlignRight,
                                                     sheet::kAlignCenter};
/// The vertical alignment list ("Boven", "Onder", "Gecentreerd") and its bits.
inline constexpr std::uint32_t kVerticalBits[3] = {sheet::kAlignTop, sheet::kAlignBottom,
                                                   sheet::kAlignVCenter};
/// The rotation list, from "0° (Normaal)" to "Verticaal, van rechts naar links".
inline constexpr std::uint32_t kRotationBits[6] = {0, 0x3000000, 0x4000000, 0x2000000, 0x1000000, 0x5000000};

/// The list index of the style's horizontal alignment; without alignment bits, the entry that
/// matches how the grid draws the kind by default (numbers right, text left, pictures centred).
int horizontalIndex(std::uint32_t style, int kind);
/// The list index of the vertical alignment; centred when none is set (as the grid draws it).
int verticalIndex(std::uint32_t style);
/// The list index of the rotation; 0 for none or an unknown code.
int rotationIndex(std::uint32_t style);
/// The option bit that check box 1018 stands for with a kind (red negatives, wrap, stretch).
std::uint32_t firstOptionBit(int kind);
/// The option bit of check box 1019 (keep proportions; pictures only, 0 otherwise).
std::uint32_t secondOptionBit(int kind);
/// Builds the style from the list indexes and the two check boxes; rotation only for number and text.
std::uint32_t composeStyle(int kind, int hIndex, int vIndex, int rotIndex, bool firstOption,
                           bool secondOption);

/// The settings that describe an engine cell type: number cells give the number kind with their
/// decimals, edit cells the text kind with their maximum length, picture cells the picture kind;
/// every other cell is offered as text.
CellTypeSettings cellTypeSettingsOf(const sheet::CellType& t);
/// Builds the engine's cell type through the grid's SSSetType* calls; false when the grid refused.
bool makeCellType(TSpread& grid, const CellTypeSettings& s, sheet::CellType& out);
/// Reads field 1017 as a number the way atoi does (leading blanks, a sign, digits; 0 for no
/// number) and keeps it within [0, most].
int fieldNumber(const std::string& text, int most);

} // namespace cellformat
