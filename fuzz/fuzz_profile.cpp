// The application profile (an INI file) as another machine may have left it: any bytes, up to and
// beyond the size a profile may have. Reading it must neither crash nor hang, and a value written
// must read back, whether the file was taken or refused and the values live in memory.
#include <ui/Profile.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
std::string tempName(int which) {
    return "/tmp/vor_fuzz_profile_" + std::to_string(::getpid()) + "_" + std::to_string(which) + ".ini";
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The store reopens only when the file name changes: alternate between two names.
    static int which = 0;
    which ^= 1;
    const std::string path = tempName(which);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    ui::Profile::setFile(path);

    for (const char* entry : {"Language", "DLG_SPREADSHEET", "LastFolder", "Options", "x"}) {
        (void)ui::Profile::getString("VORLANEV8", entry, "default");
        (void)ui::Profile::getInt("VORLANEV8", entry, 7);
        (void)ui::Profile::has("VORLANEV8", entry);
    }
    (void)ui::Profile::getString("General", "a", "");

    const std::string value = "value " + std::to_string(size);
    ui::Profile::writeString("VORLANEV8", "FuzzCheck", value);
    if (ui::Profile::getString("VORLANEV8", "FuzzCheck", "") != value) std::abort();
    ui::Profile::writeInt("VORLANEV8", "FuzzNumber", int(size));
    if (ui::Profile::getInt("VORLANEV8", "FuzzNumber", -1) != int(size)) std::abort();
    std::remove(path.c_str());
    return 0;
}
