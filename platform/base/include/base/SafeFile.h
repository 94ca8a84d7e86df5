#pragma once
// The one careful file writer. Every save and export goes through it: the new content is written
// to a temporary file beside the target, flushed to disk and renamed over the target, so that the
// target holds either its whole old content or the whole new one. The new file keeps the mode of the
// one it replaces; writing through a symbolic link replaces the file the link points to and keeps
// the link. When anything fails the old file is untouched and no temporary file is left behind.

#include <string>
#include <string_view>

namespace base {

/// Writes a file in pieces and replaces the target only at `commit`.
class SafeFileWriter {
public:
    /// Nothing is touched until `open`.
    explicit SafeFileWriter(std::string path);
    /// Discards the temporary file unless `commit` succeeded.
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    /// Creates the temporary file beside the target; false with `error()` when that is impossible
    /// (no such folder, no permission, the target is a folder or a read-only file).
    bool open();
    /// Appends bytes; false (and every later call false) once a write failed.
    bool write(std::string_view bytes);
    /// The temporary file, for writers that must be handed a path (a PDF printer): they write it
    /// between `open` and `commit`; `write` is then not used.
    const std::string& tempPath() const { return m_temp; }
    /// Flushes, keeps the old file's mode, and renames over the target. False with `error()` when
    /// anything failed since `open`; the old file is then as it was.
    bool commit();
    /// Drops the temporary file; the target stays as it was.
    void discard();

    /// The message of the first failure: "cannot write PATH: reason".
    const std::string& error() const { return m_error; }
    /// The file that is replaced: the target, or the file a symbolic link at the target points to.
    const std::string& target() const { return m_target; }

private:
    bool fail(int err);

    std::string m_path;
    std::string m_target;
    std::string m_temp;
    std::string m_error;
    int m_fd = -1;
    bool m_failed = false;
    bool m_keepMode = false;
    unsigned m_mode = 0;
};

/// Writes a whole file with `SafeFileWriter`; false with a message in `error` when it failed.
bool writeFileSafely(const std::string& path, std::string_view bytes, std::string* error = nullptr);

/// Test hook: once `bytes` more bytes have been written by any safe writer, the next write fails
/// with `err` (ENOSPC to play a full disk). A negative `bytes` switches the hook off.
void failSafeWritesAfterForTesting(long long bytes, int err);

} // namespace base
