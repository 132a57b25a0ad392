#pragma once

#include "workflow/OwnerBridge.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace qv {

// The owner thread's message loop for programs without a window (the headless station, `quorvane-cli send`,
// the tests): the same discipline the window's event loop keeps. Background threads reach the owner with a
// blocking send; the owner runs each message or piece of work to its end before taking the next.
class FrameMessageLoop : public OwnerBridge {
public:
    FrameMessageLoop() = default;

    // Makes the calling thread the owner and handles messages and work until Quit().
    void Run();
    // From any thread: closes the bridge (every sender goes back unhandled) and Run returns after the item in
    // hand. Once quit, the loop stays quit.
    void Quit();

    bool OnOwnerThread() const override;

protected:
    void Post(std::function<void()> work) override;

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> items_;
    std::thread::id owner_;
    bool quit_ = false;
};

} // namespace qv
