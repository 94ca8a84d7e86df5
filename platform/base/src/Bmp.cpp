// Windows bitmap files: the file header (14 bytes), an information header of 40 bytes or more
// (the later kinds add fields after the first 40, which are all this reader needs), then the rows.

#include <base/Bmp.h>

namespace base {

namespace {

void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xff);
    s += static_cast<char>((v >> 8) & 0xff);
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xffff);
    put16(s, v >> 16);
}
std::uint32_t get16(std::string_view s, std::size_t at) {
    return static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8;
}
std::uint32_t get32(std::string_view s, std::size_t at) {
    return get16(s, at) | get16(s, at + 2) << 16;
}

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;

bool fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

} // namespace

std::string encodeBmp(const Pixels& p) {
    if (p.width <= 0 || p.height <= 0 || p.width > kMaxBmpSide || p.height > kMaxBmpSide ||
        static_cast<long long>(p.width) * p.height > kMaxBmpPixels ||
        p.rgb.size() < static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height))
        return {};
    const std::size_t stride = (static_cast<std::size_t>(p.width) * 3 + 3) / 4 * 4;
    const std::size_t data = stride * static_cast<std::size_t>(p.height);
    std::string s;
    s.reserve(kFileHeader + kInfoHeader + data);
    s += "BM";
    put32(s, static_cast<std::uint32_t>(kFileHeader + kInfoHeader + data));
    put32(s, 0); // reserved
    put32(s, kFileHeader + kInfoHeader);
    put32(s, kInfoHeader);
    put32(s, static_cast<std::uint32_t>(p.width));
    put32(s, static_cast<std::uint32_t>(p.height)); // positive: rows from the bottom
    put16(s, 1);                                    // planes
    put16(s, 24);                                   // bits a pixel
    put32(s, 0);                                    // uncompressed
    put32(s, static_cast<std::uint32_t>(data));
    put32(s, 3780); // 96 dots an inch, in dots a metre
    put32(s, 3780);
    put32(s, 0); // colours used
    put32(s, 0); // important colours
    for (int y = p.height - 1; y >= 0; --y) {
        const std::uint32_t* row = p.rgb.data() + static_cast<std::size_t>(y) * p.width;
        for (int x = 0; x < p.width; ++x) {
            s += static_cast<char>(row[x] & 0xff);         // blue
            s += static_cast<char>((row[x] >> 8) & 0xff);  // green
            s += static_cast<char>((row[x] >> 16) & 0xff); // red
        }
        s.append(stride - static_cast<std::size_t>(p.width) * 3, '\0');
    }
    return s;
}

bool decodeBmp(std::string_view s, Pixels& out, std::string* error) {
    if (s.size() > kMaxBmpBytes)
        return fail(error, "the bitmap is larger than " + std::to_string(kMaxBmpBytes >> 20) + " MiB");
    if (s.size() < kFileHeader + kInfoHeader || s.substr(0, 2) != "BM")
        return fail(error, "not a bitmap (no BM header)");
    const std::uint32_t offset = get32(s, 10), headerSize = get32(s, 14);
    if (headerSize < kInfoHeader || headerSize > s.size() - kFileHeader)
        return fail(error, "not a bitmap kind that can be read (information header of " +
                               std::to_string(headerSize) + " bytes)");
    const auto width = static_cast<std::int32_t>(get32(s, 18));
    const auto rawHeight = static_cast<std::int32_t>(get32(s, 22));
    const std::uint32_t planes = get16(s, 26), bits = get16(s, 28), compression = get32(s, 30);
    if (planes != 1) return fail(error, "not a bitmap (" + std::to_string(planes) + " planes)");
    if (compression != 0)
        return fail(error, "the bitmap is compressed (method " + std::to_string(compression) + ")");
    if (bits != 24 && bits != 32)
        return fail(error, "the bitmap has " + std::to_string(bits) + " bits a pixel; 24 or 32 can be read");
    // A negative height means rows from the top; the smallest 32-bit number has no positive twin.
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN)
        return fail(error, "the bitmap has no pixels (" + std::to_string(width) + " × " +
                               std::to_string(rawHeight) + ")");
    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
    if (width > kMaxBmpSide || height > kMaxBmpSide || width * height > kMaxBmpPixels)
        return fail(error, "the bitmap's " + std::to_string(width) + " × " + std::to_string(height) +
                               " pixels are more than " + std::to_string(kMaxBmpSide) + " a side or " +
                               std::to_string(kMaxBmpPixels) + " in all");
    const std::size_t bytesPerPixel = bits / 8;
    const std::size_t stride = (static_cast<std::size_t>(width) * bytesPerPixel + 3) / 4 * 4;
    const std::size_t need = stride * static_cast<std::size_t>(height);
    if (offset < kFileHeader + headerSize || offset > s.size() || s.size() - offset < need)
        return fail(error, "the bitmap is cut short: its pixels need " + std::to_string(need) +
                               " bytes from byte " + std::to_string(offset) + ", the file has " +
                               std::to_string(s.size()));
    Pixels p;
    p.width = width;
    p.height = static_cast<int>(height);
    p.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::int64_t y = 0; y < height; ++y) {
        std::size_t row = offset + stride * static_cast<std::size_t>(topDown ? y : height - 1 - y);
        std::uint32_t* target = p.rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (std::int32_t x = 0; x < width; ++x) {
            std::size_t at = row + static_cast<std::size_t>(x) * bytesPerPixel;
            target[x] = static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
                        static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
                        static_cast<unsigned char>(s[at]);
        }
    }
    out = std::move(p);
    return true;
}

} // namespace base
