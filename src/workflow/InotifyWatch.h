#pragma once

#include "workflow/DataDirWatch.h"

#include <string>
#include <sys/types.h>

namespace qv {

// The data directory watched with inotify: a close after writing and a rename into the directory finish a
// file; a creation, a write, a removal or a rename away change it. An overflowed queue, a new directory or the
// directory replaced start afresh. Where inotify cannot be had (no instance left, no watch left, a filesystem
// without it) every call says so and the directory is only polled; the watch is tried again at every call.
class InotifyWatch : public DataDirWatch {
public:
    InotifyWatch() = default;
    ~InotifyWatch() override;
    InotifyWatch(const InotifyWatch&) = delete;
    InotifyWatch& operator=(const InotifyWatch&) = delete;

    DirectoryEvents Collect(const std::string& dir) override;

private:
    // Watches `dir` anew; empty on success, else why not.
    std::string Watch(const std::string& dir);
    void Unwatch();
    // Reads every queued event into `out`.
    void Drain(DirectoryEvents& out);

    int fd_ = -1;
    int wd_ = -1;
    std::string dir_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

} // namespace qv
