#pragma once
// The one careful file reader's first step: only regular files are read. A folder, a device
// (/dev/zero), a FIFO or a socket is refused with a message instead of blocking or reading for ever,
// and a file larger than the caller's budget is refused from its size before anything is allocated.

#include <cstddef>
#include <string>

namespace base {

/// True when `path` names a regular file (a symbolic link counts as what it points to).
bool isRegularFile(const std::string& path);

/// Reads all bytes of the regular file `path` into `bytes`. False with a message naming the file in
/// `error` when it is no regular file, cannot be read, or holds more than `maxBytes` bytes (a file
/// that grows past the budget while it is read is refused too); `bytes` is then left as it was.
bool readRegularFile(const std::string& path, std::string& bytes, std::size_t maxBytes,
                     std::string* error = nullptr);

} // namespace base
