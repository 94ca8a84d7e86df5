// Macro definitions and the bolt library from files a person edits: malformed input is refused with
// a message, never a crash or a hang; an accepted definition's rule runs on its own default values
// (expressions, arrays and patterns within their budgets) and refuses or makes entities a drawing takes.
#include <host/MacroLibrary.h>
#include <host/Settings.h>

#include <cad/Entity.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > kMaxMacroDefinitionBytes + 2) return 0;
    static const bool configured = configureSettings("", "", nullptr); // the section library for "G.h"
    (void)configured;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string error;
    if (data[0] % 2 == 0) {
        std::vector<BoltAssembly> lib;
        if (!parseBoltLibrary(text, "fuzz", lib, &error) && error.empty()) std::abort();
        return 0;
    }
    MacroDefinition definition;
    if (!parseMacroDefinition(text, "fuzz", definition, &error)) {
        if (error.empty()) std::abort(); // a refusal says why
        return 0;
    }
    std::vector<GeneratedEntity> made;
    if (!generateMacro(definition, definition.tabs, cad::CoordSys{}, made, &error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    for (const GeneratedEntity& g : made)
        if (!cad::entityFault(g.entity).empty()) std::abort(); // the rule checks what it makes
    return 0;
}
