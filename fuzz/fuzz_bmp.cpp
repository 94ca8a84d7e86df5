// Bitmap files: any bytes are read or refused with a message, without a crash and within the
// budgets; a bitmap that was read writes as a 24-bit bitmap that reads back to the same pixels.
#include <base/Bmp.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    base::Pixels pixels;
    std::string error;
    if (!base::decodeBmp(bytes, pixels, &error)) {
        if (error.empty() || pixels.width != 0) std::abort(); // a refusal says why and leaves the pixels
        return 0;
    }
    if (pixels.width <= 0 || pixels.height <= 0 ||
        pixels.rgb.size() != static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height))
        std::abort();
    std::string written = base::encodeBmp(pixels);
    base::Pixels back;
    if (!base::decodeBmp(written, back, &error) || !(back == pixels)) std::abort();
    return 0;
}
