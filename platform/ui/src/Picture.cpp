// Pictures drawn without a window, and their bitmap files.

#include <ui/Picture.h>

#include <base/Bmp.h>
#include <base/FileRead.h>
#include <base/SafeFile.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace ui {

namespace {
QColor qcolor(ColorRef c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}
} // namespace

Picture::Picture()
    : m_image(std::make_unique<QImage>()) {}

Picture::Picture(int width, int height, ColorRef background)
    : Picture() {
    if (width <= 0 || height <= 0 || width > base::kMaxBmpSide || height > base::kMaxBmpSide ||
        static_cast<long long>(width) * height > base::kMaxBmpPixels)
        return;
    *m_image = QImage(width, height, QImage::Format_RGB32);
    m_image->fill(qcolor(background));
}

Picture::~Picture() = default;
Picture::Picture(const Picture& o)
    : m_image(std::make_unique<QImage>(*o.m_image)) {}
Picture& Picture::operator=(const Picture& o) {
    *m_image = *o.m_image;
    return *this;
}
Picture::Picture(Picture&& o) noexcept
    : m_image(std::make_unique<QImage>(std::move(*o.m_image))) {}
Picture& Picture::operator=(Picture&& o) noexcept {
    m_image->swap(*o.m_image);
    return *this;
}

bool Picture::isNull() const {
    return m_image->isNull();
}
int Picture::width() const {
    return m_image->width();
}
int Picture::height() const {
    return m_image->height();
}

ColorRef Picture::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_image->width() || y >= m_image->height()) return 0;
    QRgb p = m_image->pixel(x, y);
    return rgb(qRed(p), qGreen(p), qBlue(p));
}

void Picture::fill(ColorRef color) {
    if (!isNull()) m_image->fill(qcolor(color));
}

void Picture::paint(const std::function<void(Painter&)>& draw, bool smooth) {
    if (isNull()) return;
    QPainter qp(m_image.get());
    qp.setRenderHint(QPainter::Antialiasing, smooth);
    qp.setRenderHint(QPainter::TextAntialiasing, smooth);
    Painter p(qp);
    draw(p);
}

bool Picture::saveBmp(const std::string& path, std::string* error) const {
    if (isNull()) {
        if (error) *error = "cannot write " + path + ": the picture is empty";
        return false;
    }
    base::Pixels pixels;
    pixels.width = width();
    pixels.height = height();
    pixels.rgb.reserve(static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height));
    for (int y = 0; y < pixels.height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(m_image->constScanLine(y));
        for (int x = 0; x < pixels.width; ++x)
            pixels.rgb.push_back(row[x] & 0xffffff);
    }
    return base::writeFileSafely(path, base::encodeBmp(pixels), error);
}

bool Picture::loadBmp(const std::string& path, Picture& out, std::string* error) {
    std::string bytes;
    if (!base::readRegularFile(path, bytes, base::kMaxBmpBytes, error)) return false;
    base::Pixels pixels;
    std::string why;
    if (!base::decodeBmp(bytes, pixels, &why)) {
        if (error) *error = "cannot read " + path + ": " + why;
        return false;
    }
    QImage image(pixels.width, pixels.height, QImage::Format_RGB32);
    if (image.isNull()) {
        if (error) *error = "cannot read " + path + ": no memory for its pixels";
        return false;
    }
    for (int y = 0; y < pixels.height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < pixels.width; ++x)
            row[x] = 0xff000000u | pixels.rgb[static_cast<std::size_t>(y) * pixels.width + x];
    }
    *out.m_image = std::move(image);
    return true;
}

Image Picture::toImage() const {
    Image image;
    if (!isNull()) *image.m_pixmap = QPixmap::fromImage(*m_image);
    return image;
}

} // namespace ui
