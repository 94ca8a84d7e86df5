// Pictures from resources, the icon theme and files.

#include <ui/Image.h>
#include <ui/Painter.h>
#include <ui/Resources.h>

#include <QBitmap>
#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace ui {

Image::Image()
    : m_pixmap(std::make_unique<QPixmap>()) {}
Image::~Image() = default;
Image::Image(const Image& o)
    : m_pixmap(std::make_unique<QPixmap>(*o.m_pixmap)) {}
Image& Image::operator=(const Image& o) {
    *m_pixmap = *o.m_pixmap;
    return *this;
}

Image Image::fromResource(int id) {
    Image img;
    const ImageTemplate* t = Resources::image(id);
    if (!t) return img;
    if (!t->themeName.empty()) {
        img = fromTheme(t->themeName, t->icon ? 32 : 16);
        if (!img.isNull()) return img;
    }
    if (const std::string* bytes = Resources::fileOfImage(id))
        img.m_pixmap->loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                                   static_cast<uint>(bytes->size()));
    return img;
}

Image Image::fromFile(const std::string& path) {
    Image img;
    img.m_pixmap->load(QString::fromStdString(path));
    return img;
}

Image Image::fromTheme(const std::string& name, int size) {
    Image img;
    QIcon icon = QIcon::fromTheme(QString::fromStdString(name));
    if (!icon.isNull()) *img.m_pixmap = icon.pixmap(size, size);
    return img;
}

Image Image::filled(int width, int height, ColorRef color) {
    Image img;
    *img.m_pixmap = QPixmap(width, height);
    img.m_pixmap->fill(QColor(redOf(color), greenOf(color), blueOf(color)));
    return img;
}

bool Image::isNull() const {
    return m_pixmap->isNull();
}

Size Image::size() const {
    return {m_pixmap->width(), m_pixmap->height()};
}

void Image::setTransparentColor(ColorRef color) {
    if (isNull()) return;
    QColor c(redOf(color), greenOf(color), blueOf(color));
    m_pixmap->setMask(m_pixmap->createMaskFromColor(c, Qt::MaskInColor));
}

ColorRef Image::pixel(int x, int y) const {
    QImage im = m_pixmap->toImage();
    if (x < 0 || y < 0 || x >= im.width() || y >= im.height()) return 0;
    QRgb p = im.pixel(x, y);
    return rgb(qRed(p), qGreen(p), qBlue(p));
}

bool Image::save(const std::string& path) const {
    return m_pixmap->save(QString::fromStdString(path));
}

const QPixmap& Image::pixmap() const {
    return *m_pixmap;
}

// ---- Painter

namespace {
QColor qcolor(ColorRef c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}
QRect qrect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}
} // namespace

Painter::Painter(QPainter& p)
    : m_p(p) {}

void Painter::setPen(ColorRef color, int width, PenStyle style) {
    static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                          Qt::NoPen};
    m_p.setPen(QPen(qcolor(color), width, styles[static_cast<int>(style)]));
}

void Painter::setBrush(ColorRef color) {
    m_p.setBrush(qcolor(color));
}
void Painter::setNoBrush() {
    m_p.setBrush(Qt::NoBrush);
}

void Painter::setFont(const FontSpec& f) {
    QFont font(QString::fromStdString(f.face));
    font.setPointSize(std::max(1, f.pointSize));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    m_p.setFont(font);
}

void Painter::drawLine(int x1, int y1, int x2, int y2) {
    m_p.drawLine(x1, y1, x2, y2);
}
void Painter::drawRect(const Rect& r) {
    m_p.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
}
void Painter::fillRect(const Rect& r, ColorRef color) {
    m_p.fillRect(qrect(r), qcolor(color));
}
void Painter::drawEllipse(const Rect& r) {
    m_p.drawEllipse(qrect(r));
}

void Painter::drawCircle(Point c, int radius) {
    m_p.drawEllipse(QPoint(c.x, c.y), radius, radius);
}

void Painter::drawPolyline(const std::vector<Point>& points) {
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& p : points)
        polygon.append(QPoint(p.x, p.y));
    m_p.drawPolyline(polygon);
}

void Painter::drawText(const Rect& r, const std::string& text, int align) {
    int flags = 0;
    flags |= (align & DT_CENTER) ? Qt::AlignHCenter : (align & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    flags |= (align & DT_VCENTER) ? Qt::AlignVCenter : (align & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    if (align & DT_WORDBREAK) flags |= Qt::TextWordWrap;
    m_p.drawText(qrect(r), flags, QString::fromStdString(text));
}

void Painter::drawImage(const Rect& target, const Image& image) {
    if (!image.isNull()) m_p.drawPixmap(qrect(target), image.pixmap());
}

void Painter::drawFocusRect(const Rect& r) {
    QPen old = m_p.pen();
    m_p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    m_p.setBrush(Qt::NoBrush);
    m_p.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
    m_p.setPen(old);
}

Size Painter::textSize(const std::string& text) const {
    QFontMetrics fm(m_p.font());
    QRect b = fm.boundingRect(QRect(0, 0, 100000, 100000), 0, QString::fromStdString(text));
    return {b.width(), b.height()};
}

void Painter::setClip(const Rect& r) {
    m_p.setClipRect(qrect(r));
}

} // namespace ui
