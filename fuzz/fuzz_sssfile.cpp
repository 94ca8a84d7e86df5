// Table files: loading any bytes must either succeed or leave the sheet exactly as it was.
#include <sheet/Sheet.h>
#include <sheet/SssFile.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20) return 0;
    sheet::Sheet s;
    s.setMaxCols(3);
    s.setMaxRows(3);
    s.setData(1, 1, "keep");
    std::string before = sheet::sheetToJson(s);
    sheet::FileResult r =
        sheet::sheetFromJson(s, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!r) {
        if (sheet::sheetToJson(s) != before) std::abort();
        return 0;
    }
    // A loaded table must survive its own round trip and recalculation.
    s.recalc();
    std::string once = sheet::sheetToJson(s);
    sheet::Sheet t;
    if (!sheet::sheetFromJson(t, once)) std::abort();
    return 0;
}
