// DSTV point group files: any bytes read without crash or hang; the rules read are in range and
// survive a write and a second read unchanged.
#include <host/DlgDstvPoints.h>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Vor_Array<Vor_DstvPointInfo> rules;
    std::vector<std::string> messages;
    if (!DlgDstvPoints::parseGroup(bytes, "fuzz", rules, &messages)) return 0;
    for (const Vor_DstvPointInfo& r : rules)
        if (r.sideSelection1() < 0 || r.sideSelection1() > 3 || r.plateSelection() < 0 ||
            r.plateSelection() > 4)
            std::abort();
    Vor_Array<Vor_DstvPointInfo> back;
    messages.clear();
    if (!DlgDstvPoints::parseGroup(DlgDstvPoints::formatGroup(rules), "again", back, &messages) ||
        !messages.empty() || !(back == rules))
        std::abort();
    return 0;
}
