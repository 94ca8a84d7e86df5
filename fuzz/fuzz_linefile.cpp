// Line files (profile tables "*.pr"): cells separated by ';', quoted where needed. Any text must parse
// or be refused without a crash, and whatever the writer makes of parsed lines must parse back to them.
#include <host/LineFile.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
bool sameLines(const Vor_Array<Vor_StringArray>& a, const Vor_Array<Vor_StringArray>& b) {
    if (a.length() != b.length()) return false;
    for (int i = 0; i < a.length(); ++i) {
        if (a[i].length() != b[i].length()) return false;
        for (int k = 0; k < a[i].length(); ++k)
            if (a[i][k].str() != b[i][k].str()) return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 21) return 0;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    Vor_Array<Vor_StringArray> lines;
    std::string error;
    if (!parseLineTable(text, "fuzz", lines, &error)) {
        if (lines.length() != 0) std::abort(); // a refused text changes nothing
        return 0;
    }
    std::string written = formatLineTable(lines);
    Vor_Array<Vor_StringArray> again;
    if (!parseLineTable(written, "fuzz-written", again, &error) || !sameLines(lines, again)) std::abort();
    return 0;
}
