#pragma once

#include "workflow/IntakeFile.h"

#include <string>

namespace qv {

// The folder of the data directory that drawings which could not be taken are moved to; the watcher lists
// only the data directory's own files, so nothing in it is read again.
inline constexpr const char* kUnreadFolder = "unread/";

// What became of a file to be set aside.
struct UnreadMove {
    enum class Outcome {
        Moved,      // it is at `movedTo`
        Changed,    // gone, or no longer the file `identity` describes: nothing moved
        CannotMove, // still there, but "unread/" cannot be made or the file cannot be moved into it
    };
    Outcome outcome;
    std::string movedTo;
};

// Moves `path` into `dataDir`/unread/ (created when needed) only while it is still the file `identity`
// describes, so that a drawing that was refused or held no drawing is set aside, never destroyed unread. A
// name already taken there gets ".1", ".2", ... before it is ever overwritten.
UnreadMove MoveToUnread(const std::string& dataDir, const std::string& path, const FileIdentity& identity);

} // namespace qv
