#pragma once
// Pictures that cell types name: a file path, or "#<id>" (also a bare number) for a bitmap of the
// registered resources. Loaded once and kept, since the same few pictures repeat in every row.

#include <sheet/Style.h>

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPixmap>

#include <cstdint>
#include <string>

namespace sheet::control {

/// The largest picture file that is opened: tables come from elsewhere, and a picture is drawn in a cell.
inline constexpr std::int64_t kPictureFileBudget = 32 * 1024 * 1024;
/// The largest picture width and height in pixels (a small file may declare a huge image).
inline constexpr int kPictureMaxSide = 16384;

/// The picture a cell type names; a null pixmap when it cannot be found or is no sane picture.
QPixmap cellPicture(const std::string& ref);
/// Reads a picture file: only a regular file of at most kPictureFileBudget bytes, and never waits
/// (a path naming a FIFO, a terminal or a device is refused before anything reads from it).
bool readPictureFile(const std::string& path, QByteArray& bytes);
/// Forgets the loaded pictures (a file may have changed).
void clearPictureCache();
/// 0x00BBGGRR as a colour; `fallback` for kDefaultColor.
QColor qtColor(std::uint32_t c, const QColor& fallback);
/// A cell font; `pointScale` converts points for painters whose units are not device pixels.
QFont qtFont(const Font& f, double pointScale = 1.0);
/// The alignment bits of a cell style for Qt; `whenUnset` is the horizontal one without a choice.
Qt::Alignment qtAlignment(std::uint32_t style, Qt::Alignment whenUnset);

} // namespace sheet::control
