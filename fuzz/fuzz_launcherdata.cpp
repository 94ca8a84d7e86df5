// The JSON that the levels dialog and the report builder take from their launchers. The first byte
// chooses which; the rest is the JSON text. What is malformed or out of range must be refused with
// an exception, never a crash or undefined behaviour; what is accepted must be usable: the levels'
// chains end and survive their round trip, and the report's numbers lie in their fields' ranges.
#include "calc/ReportData.h"

#include <host/KrLevelsDlgData.h>
#include <host/VorJson.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using nlohmann::json;

namespace {

void levels(const json& j) {
    KrLevelsDlgData d;
    try {
        d = j.get<KrLevelsDlgData>();
    } catch (const json::exception&) {
        return;
    }
    // The dialog asks one level at a time: the first and last levels stand for all (asking every
    // level of a long chain is quadratic by its nature, each question linear).
    for (int i = 0; i < d.count(); ++i) {
        if (i == 64 && d.count() > 128) i = d.count() - 64;
        Vor_String name, reference;
        double value = 0, absolute = 0;
        if (!d.getLevelData(i, name, reference, value, absolute) || !std::isfinite(absolute)) std::abort();
        if (i < 8) (void)d.updateLevel(i, reference);
    }
    const json out = d;
    if (!(out.get<KrLevelsDlgData>() == d)) std::abort();
}

void report(const json& j) {
    ReportTableData d;
    try {
        d = j.get<ReportTableData>();
    } catch (const json::exception&) {
        return;
    }
    // Each number was checked against its field when read; only the sizes of the whole remain.
    const std::string fault = reportRangeFault(d);
    if (!fault.empty() && fault.find("columns") == std::string::npos &&
        fault.find("rows") == std::string::npos)
        std::abort();
    for (double w : fitReportWidths(d))
        if (!std::isfinite(w) || w < 0) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 1 << 20) return 0; // the launchers' budget for their arguments
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    json j = json::parse(text.begin(), text.end(), nullptr, false);
    if (j.is_discarded()) return 0;
    if (data[0] & 1)
        report(j);
    else
        levels(j);
    return 0;
}
