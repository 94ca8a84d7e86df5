// Table properties (the corner cell's tag) and header files: typed key/value texts that arrive with
// a table from another company. Any bytes must read without a crash; what reads and writes back must
// read again to the same list.
#include "calc/TablePropertyList.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
// The same list as written: doubles are written with two decimals, so they come back rounded.
bool sameAsWritten(const TablePropertyList& a, const TablePropertyList& b) {
    if (a.length() != b.length()) return false;
    for (int i = 0; i < a.length(); ++i) {
        const TypedValue &x = a.valueAt(i), &y = b.valueAt(i);
        if (!(a.keyAt(i) == b.keyAt(i)) || x.type != y.type || !(x.text == y.text)) return false;
        double slack = x.type == TypedValue::Double ? 0.005 + 1e-12 * std::fabs(x.number) : 0;
        if (!(std::fabs(x.number - y.number) <= slack)) return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 21) return 0; // beyond the readers' own budgets; those are tested elsewhere
    Vor_String text(std::string(reinterpret_cast<const char*>(data), size));

    TablePropertyList list;
    PropertyReadIssues issues;
    if (list.fromText(text, &issues)) {
        (void)issues.describe();
        Vor_String written;
        // An empty list writes the empty text, which the reader refuses as no property text at all.
        if (list.length() > 0 && list.toText(written)) {
            TablePropertyList again;
            PropertyReadIssues issues2;
            if (!again.fromText(written, &issues2) || !sameAsWritten(list, again)) std::abort();
        }
    }

    TableProperties props;
    (void)readTableProperties(text, props);
    Vor_String tag;
    if (writeTableProperties(tag, props)) {
        TableProperties back;
        if (readTableProperties(tag, back) && !(back == props)) std::abort();
    }

    // Header files are read from a path: one scratch file per fuzzing process.
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/vor_fuzz_header_" + std::to_string(getpid()) +
               ".ssh";
    }();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
        HeaderFile header;
        (void)readHeaderFile(Vor_String(path), header);
    }
    return 0;
}
