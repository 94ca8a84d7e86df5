// The general settings a macro group keeps, as a damaged or hostile drawing may hold them: the
// first byte says into how many pieces the rest is cut. Reading refuses with a message or gives a
// record; a record read must be kept and read back the same.
#include <host/MacroSettings.h>

#include <cad/Drawing.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 1 << 20) return 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t pieces = 1 + data[0] % 4;
    cad::Drawing d;
    cad::Entity group;
    group.name = "M1";
    group.geometry = cad::MacroGroup{};
    group.properties["macro"] = "Kopplaat";
    const std::size_t step = text.size() / pieces + 1;
    for (std::size_t p = 0; p < pieces && p * step < text.size(); ++p)
        group.properties[p == 0 ? std::string("@settings") : "@settings:" + std::to_string(p)] =
            text.substr(p * step, step);
    const AcDbObjectId id = d.add(group);
    if (id.isNull()) return 0;
    MacroSettingsData read;
    std::string error;
    if (!GetMacroSettings(d, id, read, &error)) {
        if (error.empty()) std::abort(); // a refusal always says why
        return 0;
    }
    if (!SetMacroSettings(d, id, read, &error)) return 0; // over the size budget once written in ASCII
    MacroSettingsData again;
    if (!GetMacroSettings(d, id, again, &error) || !(again == read)) std::abort();
    return 0;
}
