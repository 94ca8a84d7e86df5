#pragma once
// Pictures: numbered bitmaps and icons of the current resource set, theme icons and files.

#include <ui/Types.h>

#include <memory>
#include <string>

class QPixmap;

namespace ui {

/// A picture with value semantics; empty when nothing could be loaded.
class Image {
public:
    Image();
    ~Image();
    Image(const Image&);
    Image& operator=(const Image&);

    /// A numbered BITMAP or ICON resource; a theme icon is preferred where the resource names one.
    static Image fromResource(int id);
    /// A picture file (PNG, BMP, JPEG, ...); empty if it cannot be read.
    static Image fromFile(const std::string& path);
    /// A freedesktop theme icon at the given size, empty if the theme lacks it.
    static Image fromTheme(const std::string& name, int size = 16);
    /// A solid picture, for tests and placeholders.
    static Image filled(int width, int height, ColorRef color);

    bool isNull() const;
    Size size() const;
    /// Makes every pixel of `color` transparent (the classic light-grey transparent colour).
    void setTransparentColor(ColorRef color);
    ColorRef pixel(int x, int y) const;
    bool save(const std::string& path) const;

    const QPixmap& pixmap() const; ///< for the windowing layer itself

private:
    friend class Picture;
    std::unique_ptr<QPixmap> m_pixmap;
};

} // namespace ui
