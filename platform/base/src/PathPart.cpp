#include <base/PathPart.h>

namespace base {

std::string pathPartFault(std::string_view name) {
    if (name.empty()) return "the name is empty";
    if (name == "." || name == "..") return "\"" + std::string(name) + "\" names a folder, not a file";
    if (name.size() > kMaxPathPartBytes) return "the name is longer than 255 bytes";
    for (const char c : name) {
        if (c == '/' || c == '\\') return "the name holds a folder separator";
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return "the name holds a control character";
    }
    return {};
}

} // namespace base
