#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace qv::sim {

// The virtual machine's sense of time, in milliseconds. The machine model never sleeps: it compares the
// clock with the ends of its timed phases whenever it is asked something, so tests drive it with a
// ManualClock and the process with the steady clock.
class SimClock {
public:
    virtual ~SimClock() = default;
    virtual int64_t NowMs() const = 0;
};

class SteadyClock : public SimClock {
public:
    int64_t NowMs() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

class ManualClock : public SimClock {
public:
    int64_t NowMs() const override { return now_; }
    void Advance(int64_t ms) { now_ += ms; }

private:
    std::atomic<int64_t> now_{0};
};

} // namespace qv::sim
