#pragma once

#include "app/RegularFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>

struct stat;

namespace qv {

// Which file a path named when it was looked at, and how it looked: the same device and inode, size and
// modification time (to the nanosecond) mean the file was neither replaced nor written since.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t modifiedNs = 0;

    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const struct stat& st);

// A drawing opened for the intake: a regular file, opened without blocking (a FIFO or a device never stalls
// the task list's thread) and, for the data directory, held with a non-blocking exclusive flock, so a file
// another program still holds locked counts as one that cannot be opened. Closing releases the lock.
class IntakeFile {
public:
    // Empty when the path cannot be opened, is not a regular file, or (with `lock`) is locked elsewhere.
    static std::optional<IntakeFile> Open(const std::string& path, bool lock);

    const FileIdentity& identity() const { return identity_; }
    // A path that names exactly this opened file, whatever happens to its name meanwhile.
    std::string ReadPath() const;

private:
    IntakeFile(RegularFile file, FileIdentity identity) : file_(std::move(file)), identity_(identity) {}

    RegularFile file_;
    FileIdentity identity_;
};

// Deletes `path` only while it is still the file `identity` describes: a drawing written again or replaced
// under the same name since it was read is a new drawing and stays. False when nothing was deleted.
bool DeleteIfUnchanged(const std::string& path, const FileIdentity& identity);

} // namespace qv
