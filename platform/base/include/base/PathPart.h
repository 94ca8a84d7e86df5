#pragma once
// Names that a person types or a file holds (a table, a template, a cutting-stock entry, a group)
// become one part of a path inside a library folder. Every area checks such a name here, once,
// before it joins it to a folder, so that no name can reach outside its folder.

#include <string>
#include <string_view>

namespace base {

/// Longest name a path part may have, in bytes (the file system's own limit).
inline constexpr std::size_t kMaxPathPartBytes = 255;

/// Why `name` is not a single path part, or "" when it is one: it must not be empty, "." or "..",
/// hold '/', '\' (old data writes folders with it), a NUL byte or another control character, or be
/// longer than `kMaxPathPartBytes` bytes.
std::string pathPartFault(std::string_view name);

/// True when `name` is a single path part (`pathPartFault` is empty).
inline bool isPathPart(std::string_view name) {
    return pathPartFault(name).empty();
}

} // namespace base
