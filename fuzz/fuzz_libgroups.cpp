// The section groups of the library ("prof/groups.grp"): any text is read or refused without a crash,
// and groups read without a fault write out and read back to the same groups.
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
    if (!parseLineTable(text, "groups.grp", lines)) return 0;
    const Vor_StringArray langs{"Nederlands", "English"};
    std::string faults;
    const SectionGroupArray groups = sectionGroupsOfLines(lines, langs, &faults);
    if (groups.length() > lines.length()) std::abort(); // one group a line at most
    if (!faults.empty()) return 0;
    Vor_Array<Vor_StringArray> back;
    if (!parseLineTable(formatLineTable(linesOfSectionGroups(groups, langs)), "back", back)) std::abort();
    std::string again;
    if (!(sectionGroupsOfLines(back, langs, &again) == groups) || !again.empty()) std::abort();
    return 0;
}
