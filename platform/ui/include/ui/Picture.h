#pragma once
// A picture to draw into without a window: a fixed number of pixels on a white ground, drawn on
// with the same painter paint hooks get, read pixel by pixel, and saved as a 24-bit Windows bitmap
// through the careful writer (a macro's preview is kept beside its drawing this way).

#include <ui/Image.h>
#include <ui/Painter.h>
#include <ui/Types.h>

#include <functional>
#include <memory>
#include <string>

class QImage;

namespace ui {

class Picture {
public:
    /// An empty picture (no pixels).
    Picture();
    /// `width` × `height` pixels of `background`; empty when either is not positive or the picture
    /// would be larger than a bitmap may be (see `base::kMaxBmpSide`, `base::kMaxBmpPixels`).
    Picture(int width, int height, ColorRef background = rgb(255, 255, 255));
    ~Picture();
    Picture(const Picture&);
    Picture& operator=(const Picture&);
    Picture(Picture&&) noexcept;
    Picture& operator=(Picture&&) noexcept;

    bool isNull() const;
    int width() const;
    int height() const;
    /// The colour of a pixel; 0 (black) outside the picture.
    ColorRef pixel(int x, int y) const;
    void fill(ColorRef color);

    /// Draws on the picture: the painter's coordinates are its pixels, lines are not smoothed unless
    /// `smooth` (exact pixels for a test; smoothed for a preview a person looks at).
    void paint(const std::function<void(Painter&)>& draw, bool smooth = false);

    /// Saves the picture as a 24-bit uncompressed bitmap through the careful writer: the old file
    /// stays whole when anything fails. False with a message naming the file in `error`.
    bool saveBmp(const std::string& path, std::string* error = nullptr) const;
    /// Reads an uncompressed 24- or 32-bit bitmap within the bitmap budgets into `out` (only a
    /// regular file); false with a message naming the file in `error`, `out` then as it was.
    static bool loadBmp(const std::string& path, Picture& out, std::string* error = nullptr);

    /// The picture as an image, for a dialog's picture control.
    Image toImage() const;

private:
    std::unique_ptr<QImage> m_image;
};

} // namespace ui
