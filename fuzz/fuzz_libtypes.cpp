// The section types of the library ("prof/types.typ"): any text is read or refused without a crash,
// and types read without a fault write out and read back to the same types.
#include <host/DlgEditLibData.h>
#include <host/LineFile.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Vor_Array<Vor_StringArray> lines;
    if (!parseLineTable(text, "types.typ", lines)) return 0;
    const Vor_StringArray langs{"Nederlands", "English"};
    std::string faults;
    const Vor_Array<SectionType> types = sectionTypesOfLines(lines, langs, &faults);
    if (types.length() > lines.length()) std::abort(); // one type a line at most
    if (!faults.empty()) return 0;
    Vor_Array<Vor_StringArray> back;
    if (!parseLineTable(formatLineTable(linesOfSectionTypes(types, langs)), "back", back)) std::abort();
    std::string again;
    if (!(sectionTypesOfLines(back, langs, &again) == types) || !again.empty()) std::abort();
    return 0;
}
