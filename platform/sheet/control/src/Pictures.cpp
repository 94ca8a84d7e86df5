#include "Pictures.h"

#include <ui/Image.h>

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QString>

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sheet::control {

namespace {
QHash<QString, QPixmap>& cache() {
    static auto* c = new QHash<QString, QPixmap>; // pixmaps may outlive static destruction order
    return *c;
}

bool resourceId(const std::string& ref, int& id) {
    std::string digits = !ref.empty() && ref[0] == '#' ? ref.substr(1) : ref;
    if (digits.empty() || digits.size() > 9) return false;
    for (char ch : digits)
        if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
    id = std::stoi(digits);
    return true;
}

QPixmap decodePicture(QByteArray& bytes) {
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer);
    QSize size = reader.size();
    if (size.isValid() && (size.width() > kPictureMaxSide || size.height() > kPictureMaxSide)) return {};
    QImage image = reader.read();
    if (image.isNull() || image.width() > kPictureMaxSide || image.height() > kPictureMaxSide) return {};
    return QPixmap::fromImage(image);
}
} // namespace

bool readPictureFile(const std::string& path, QByteArray& bytes) {
    bytes.clear();
    // Look before opening: opening some devices does something, and a FIFO's open waits for a writer.
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // The path may have changed since: open without waiting and look again at what was opened.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok =
        ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && st.st_size <= kPictureFileBudget;
    if (ok) {
        bytes.resize(qsizetype(st.st_size));
        qsizetype got = 0;
        while (got < bytes.size()) {
            ssize_t n = ::read(fd, bytes.data() + got, std::size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += n;
        }
        bytes.resize(got); // a file that shrank meanwhile
        ok = got > 0;
    }
    ::close(fd);
    if (!ok) bytes.clear();
    return ok;
}

QPixmap cellPicture(const std::string& ref) {
    if (ref.empty()) return {};
    QString key = QString::fromStdString(ref);
    auto it = cache().find(key);
    if (it != cache().end()) return *it;
    QPixmap pix;
    int id = 0;
    if (resourceId(ref, id))
        pix = ui::Image::fromResource(id).pixmap();
    else if (QByteArray bytes; readPictureFile(ref, bytes))
        pix = decodePicture(bytes);
    // A picture that is missing now may be registered later (resources of a module loaded after
    // the grid drew): only found pictures are kept.
    if (!pix.isNull()) cache().insert(key, pix);
    return pix;
}

void clearPictureCache() {
    cache().clear();
}

QColor qtColor(std::uint32_t c, const QColor& fallback) {
    if (c == kDefaultColor) return fallback;
    return QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff));
}

QFont qtFont(const Font& f, double pointScale) {
    QFont q(QString::fromStdString(f.face));
    q.setPointSizeF(std::max(1, f.height) * pointScale);
    q.setWeight(f.weight >= 700 ? QFont::Bold : f.weight <= 300 ? QFont::Light : QFont::Normal);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikeOut);
    return q;
}

Qt::Alignment qtAlignment(std::uint32_t style, Qt::Alignment whenUnset) {
    Qt::Alignment a;
    switch (style & kAlignHMask) {
    case kAlignLeft:
        a = Qt::AlignLeft;
        break;
    case kAlignCenter:
        a = Qt::AlignHCenter;
        break;
    case kAlignRight:
        a = Qt::AlignRight;
        break;
    default:
        a = whenUnset;
        break;
    }
    switch (style & kAlignVMask) {
    case kAlignTop:
        a |= Qt::AlignTop;
        break;
    case kAlignBottom:
        a |= Qt::AlignBottom;
        break;
    default:
        a |= Qt::AlignVCenter;
        break;
    }
    return a;
}

} // namespace sheet::control
