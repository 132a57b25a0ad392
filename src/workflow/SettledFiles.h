#pragma once

#include "workflow/DataDirWatch.h"
#include "workflow/IntakeFile.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace qv {

// Which files of the data directory their writers have finished with. Linux lets a program read a file that
// another one is still writing, and a writer may pause for seconds mid-file (a network share, a slow stick).
// A file is taken only once a poll finds it as the previous poll did (the same file, size and modification
// time) and either its writer closed it or it was renamed in since it last changed (the watch's events), or,
// with nothing known of its writer (found at start-up, after the watch overflowed, in a directory that can
// only be polled), it has stayed so for kQuietTime and no process of this user holds it open for writing.
class SettledFiles {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kQuietTime{3};

    enum class Verdict {
        Wait,
        Take,
        // Take it unless a process holds it open for writing.
        TakeUnlessHeld,
    };

    // What the watch saw since the previous poll; before BeginPoll.
    void Apply(const DirectoryEvents& events);
    void BeginPoll(Clock::time_point now);
    // Records how the file `name` looks now and says what the intake may do with it.
    Verdict Check(const std::string& name, const FileIdentity& identity);
    // Forgets the files this poll did not see, so one dropped again later waits again.
    void EndPoll();

private:
    struct Seen {
        FileIdentity identity;
        uint64_t poll = 0;
        Clock::time_point since; // when a poll first found it looking as it does now
    };
    std::unordered_map<std::string, Seen> seen_;
    // Closed after writing or renamed in, and not changed since.
    std::unordered_set<std::string> finished_;
    uint64_t poll_ = 0;
    Clock::time_point now_;
};

} // namespace qv
