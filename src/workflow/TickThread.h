#pragma once

#include <chrono>
#include <functional>
#include <stop_token>
#include <thread>

namespace qv {

class UiBridge;
struct LinkState;
struct SharedFlags;

// Every 500 ms, while the program is not stopping and no job thread exists, asks the frame to dispatch the
// next page (WM_DISPATCH_JOB, a blocking send). Once AppStopping is set it only sleeps, until Stop().
class TickThread {
public:
    using Sleeper = std::function<void(std::chrono::milliseconds)>;
    static constexpr std::chrono::milliseconds kTick{500};

    // `sleep` replaces the thread's own pause (tests count passes with it).
    TickThread(const SharedFlags& flags, const LinkState& link, UiBridge& frame, Sleeper sleep = {});
    ~TickThread();
    TickThread(const TickThread&) = delete;
    TickThread& operator=(const TickThread&) = delete;

    void Start();
    // Cuts the thread's pause short and waits for it to end.
    void Stop();

private:
    void Run(std::stop_token stop);

    const SharedFlags& flags_;
    const LinkState& link_;
    UiBridge& frame_;
    Sleeper sleep_;
    std::jthread thread_;
};

} // namespace qv
