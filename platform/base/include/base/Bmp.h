#pragma once
// Windows bitmap files (BMP) without a windowing library: a picture's pixels written as a 24-bit
// uncompressed bitmap, and read back from the uncompressed 24- and 32-bit kinds. A reader that is
// handed any bytes: the header's sizes are checked against the budgets below and against the bytes
// there are before anything is allocated.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace base {

/// Pixels of a picture: `width` × `height`, rows from the top, each pixel 0xRRGGBB.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;
    bool operator==(const Pixels&) const = default;
};

/// Largest bitmap file read, in bytes (100 MiB).
inline constexpr std::size_t kMaxBmpBytes = std::size_t{100} << 20;
/// Widest and tallest bitmap read or written, in pixels.
inline constexpr int kMaxBmpSide = 16384;
/// Most pixels of a bitmap read or written (5,000 × 5,000; 100 MB as pixels in memory).
inline constexpr long long kMaxBmpPixels = 25'000'000;

/// The file bytes of a 24-bit bitmap of `pixels` (rows from the bottom, each padded to four bytes);
/// empty when the pixels are empty, beyond the budgets or fewer than width × height.
std::string encodeBmp(const Pixels& pixels);

/// Reads bitmap file bytes into `out`. False with a message in `error` (naming what is wrong: "not a
/// bitmap", "compressed", "16 bits a pixel", "larger than ...", "cut short") when they are no
/// uncompressed 24- or 32-bit bitmap within the budgets; `out` is then left as it was.
bool decodeBmp(std::string_view bytes, Pixels& out, std::string* error = nullptr);

} // namespace base
