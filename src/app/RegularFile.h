#pragma once

#include <optional>
#include <string>

#include <sys/stat.h>

namespace qv {

// A regular file open for reading, closed with the object. It is opened without blocking, so a FIFO or a
// device put where a file was expected is refused instead of stalling the caller; that flag changes nothing
// for reading a regular file.
class RegularFile {
public:
    // Empty when `path` cannot be opened or is not a regular file; `status` receives the file's status.
    static std::optional<RegularFile> Open(const std::string& path, struct stat& status);

    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&&) = delete;
    RegularFile(const RegularFile&) = delete;
    ~RegularFile();

    int fd() const { return fd_; }

private:
    explicit RegularFile(int fd) : fd_(fd) {}

    int fd_;
};

} // namespace qv
