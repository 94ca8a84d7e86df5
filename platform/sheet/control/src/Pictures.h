#pragma once
// Pictures that cell types name: a file path, or "#<id>" (also a bare number) for a bitmap of the
// registered resources. Loaded once and kept, since the same few pictures repeat in every row.

#include <sheet/Style.h>

#include <QColor>
#include <QFont>
#include <QPixmap>

#include <string>

namespace sheet::control {

/// The picture a cell type names; a null pixmap when it cannot be found.
QPixmap cellPicture(const std::string& ref);
/// Forgets the loaded pictures (a file may have changed).
void clearPictureCache();
/// 0x00BBGGRR as a colour; `fallback` for kDefaultColor.
QColor qtColor(std::uint32_t c, const QColor& fallback);
/// A cell font; `pointScale` converts points for painters whose units are not device pixels.
QFont qtFont(const Font& f, double pointScale = 1.0);
/// The alignment bits of a cell style for Qt; `whenUnset` is the horizontal one without a choice.
Qt::Alignment qtAlignment(std::uint32_t style, Qt::Alignment whenUnset);

} // namespace sheet::control
