#pragma once

#include "workflow/IntakeFile.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace qv {

// Which files of the data directory have stopped changing. Linux lets a program read a file that another
// one is still writing, so a file is taken only once a poll finds it as the previous poll did (the same
// file, size and modification time); a file first seen, or seen changed, waits for the next poll.
class SettledFiles {
public:
    void BeginPoll() { ++poll_; }
    // Records how `path` looks now; true when it looked the same at the previous poll.
    bool Settled(const std::string& path, const FileIdentity& now);
    // Forgets the files this poll did not see, so one dropped again later waits again.
    void EndPoll();

private:
    struct Seen {
        FileIdentity identity;
        uint64_t poll = 0;
    };
    std::unordered_map<std::string, Seen> seen_;
    uint64_t poll_ = 0;
};

} // namespace qv
