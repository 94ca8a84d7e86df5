// Macro drawings as the macro selection reads them: any drawing text whose macro groups hold any
// stored values gives its modules and property values, or a refusal that says why, never a crash.
#include <host/Settings.h>
#include <host/Vor_MacroPropsFilter.h>

#include <cad/DrawingFile.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 20) return 0;
    static const bool configured = configureSettings("", "", nullptr); // the bundled macro definitions
    (void)configured;
    cad::Drawing d;
    std::string error;
    if (!cad::readDrawingText(std::string_view(reinterpret_cast<const char*>(data), size), d, "fuzz.dwg",
                              &error))
        return 0;
    std::vector<MacroFeature> features;
    Vor_StringArray types;
    if (!macroDrawingFeatures(d, features, types, &error)) {
        if (error.empty()) std::abort(); // a refusal says why
        return 0;
    }
    for (const MacroFeature& f : features)
        if (f.module.isEmpty()) std::abort(); // every feature belongs to a module
    return 0;
}
