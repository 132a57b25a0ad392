#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <stop_token>
#include <thread>

namespace qv {

class CSettings;
class UiBridge;

// Drives the intake with blocking sends to the frame. Its first pass asks for the reload of the last task
// list (WM_RELOAD_LAST_TASKS) when LastTaskPath exists and goes straight on; every later pass asks for a
// data-directory poll (WM_POLL_DATA_DIR), and with AutoDelFinish on, every fourth counted pass also for the
// removal of Done pages (WM_REMOVE_DONE_PAGES), then sleeps 500 ms. Ends once AppStopping is set.
class FileWatcherThread {
public:
    using Sleeper = std::function<void(std::chrono::milliseconds)>;
    static constexpr std::chrono::milliseconds kTick{500};
    static constexpr int kPassesPerRemoval = 4;

    FileWatcherThread(const CSettings& settings, UiBridge& frame, Sleeper sleep = {});
    ~FileWatcherThread();
    FileWatcherThread(const FileWatcherThread&) = delete;
    FileWatcherThread& operator=(const FileWatcherThread&) = delete;

    void Start();
    void Stop();
    // Set from Start() until the thread has left its loop.
    bool Running() const { return running_; }

private:
    void Run(std::stop_token stop);

    const CSettings& settings_;
    UiBridge& frame_;
    Sleeper sleep_;
    std::atomic<bool> running_{false};
    std::jthread thread_;
};

} // namespace qv
