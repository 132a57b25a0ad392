#pragma once

#include <atomic>
#include <chrono>
#include <stop_token>
#include <thread>

namespace qv {

class LinkProtocol;
class ManualCommandQueue;
struct LinkState;
struct SharedFlags;

// The thread that keeps the link: handshakes while Connected is clear (again 310 ms after a failure), and
// otherwise, in passes of about 2 ms, sends one queued manual command and after every 102 passes polls the
// status. It sends nothing while a job thread exists, and says so in LinkState::monitorParked, which is set
// whenever no pass is under way. A job's cancel that could not reach the machine (LinkState::cancelOwed) goes
// first in the next pass over a working link. It ends once AppStopping is set or Stop() is called.
class LinkMonitorThread {
public:
    static constexpr std::chrono::milliseconds kAfterHandshake{300};
    static constexpr std::chrono::milliseconds kRetryExtra{10};
    static constexpr std::chrono::milliseconds kPass{2};
    static constexpr int kPassesBeforePoll = 100; // a poll when the count before a pass exceeds this

    LinkMonitorThread(LinkProtocol& protocol, LinkState& state, ManualCommandQueue& queue, const SharedFlags& flags);
    ~LinkMonitorThread();
    LinkMonitorThread(const LinkMonitorThread&) = delete;
    LinkMonitorThread& operator=(const LinkMonitorThread&) = delete;

    // Starts the thread; the first start empties the ManualCommandQueue. Does nothing while it runs.
    void Start();
    // Asks the thread to end, cuts its pause short and waits for it.
    void Stop();
    // Set from Start() until the thread has left its loop.
    bool Running() const { return running_; }

private:
    void Run(std::stop_token stop);
    // False when the thread is to end.
    bool Pause(std::stop_token stop, std::chrono::milliseconds span);
    bool Stopping(std::stop_token stop) const;

    LinkProtocol& protocol_;
    LinkState& state_;
    ManualCommandQueue& queue_;
    const SharedFlags& flags_;
    std::atomic<bool> running_{false};
    bool started_ = false;
    std::jthread thread_;
};

} // namespace qv
