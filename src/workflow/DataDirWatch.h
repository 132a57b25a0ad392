#pragma once

#include <string>
#include <vector>

namespace qv {

// One thing that happened to a name in the data directory.
struct DirectoryEvent {
    enum class Kind {
        // A writer closed the file after writing, or it was renamed into the directory: whole as far as its
        // writer is concerned.
        Finished,
        // Created, written, removed or renamed away: whatever was known of it no longer holds.
        Changed,
    };
    std::string name;
    Kind kind = Kind::Changed;
};

// What a watch saw of the data directory since it was last asked.
struct DirectoryEvents {
    // Events come at all; false when the directory can only be polled, so nothing says when a writer is done.
    bool watching = false;
    // What happened before `events` is unknown: the watch is new (a start, another directory, the directory
    // replaced) or its queue overflowed. Every file then counts as one whose writer may not have finished.
    bool fresh = true;
    // In the order they happened.
    std::vector<DirectoryEvent> events;
    // Why the directory is not watched (empty while it is).
    std::string failure;
};

// Tells the intake which files of the data directory their writers have finished with. It is asked once per
// poll, on the thread that owns the task list, and never blocks.
class DataDirWatch {
public:
    virtual ~DataDirWatch() = default;
    // The events since the last call in `dir`; a call with another directory than before moves the watch.
    virtual DirectoryEvents Collect(const std::string& dir) = 0;
};

} // namespace qv
