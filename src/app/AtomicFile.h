#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qv {

// Replaces the file at `path` by `bytes` so that a crash or a full disk leaves either the old file or the
// new one, never a truncated mix: the bytes go to a temporary file in the same directory, are flushed to
// disk, and the temporary file is renamed over the target. Returns false (and removes the temporary
// file) when any step fails, and at once when the target exists as anything but a regular file or a link.
bool WriteFileAtomically(const std::string& path, std::span<const char> bytes);

// The same replacement for a file written in pieces, so that a large one is never held whole in memory:
// Open, Write as often as needed, Commit. Until Commit succeeds the target is untouched; a writer destroyed
// without it removes its temporary file.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();

    bool Open(const std::string& path);
    bool Write(std::span<const char> bytes);
    bool Commit();

private:
    void Abandon();

    std::string path_;
    std::string temp_;
    int fd_ = -1;
};

// Writes `bytes` to `path` as WriteFileAtomically does, but only when nothing exists there yet; a path that
// cannot be looked at counts as taken, so nothing the operator put there is ever replaced.
void WriteFileIfMissing(const std::string& path, std::span<const uint8_t> bytes);

// Renames `from` to `to` unless something exists at `to`, which is then never replaced: false with errno
// EEXIST. On a file system without the no-replace rename it looks first, then renames.
bool RenameWithoutReplacing(const std::string& from, const std::string& to);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

} // namespace qv
