#pragma once

#include "app/UiBridge.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace qv {

// The message loop of the thread that owns the task list, for programs without a window (the headless
// station, the tests): the same discipline the window's frame keeps. Background threads reach the owner with
// a blocking send; the owner runs each message or piece of work to its end before taking the next.
class FrameMessageLoop : public UiBridge {
public:
    using Handler = std::function<void(FrameMessage, intptr_t, intptr_t)>;

    explicit FrameMessageLoop(Handler handler);
    FrameMessageLoop(const FrameMessageLoop&) = delete;
    FrameMessageLoop& operator=(const FrameMessageLoop&) = delete;

    // Makes the calling thread the owner and handles messages and work until Quit().
    void Run();
    // From any thread: Run returns after the item in hand; everything still waiting, and everything sent or
    // called later, returns to its sender unhandled. Once quit, the loop stays quit.
    void Quit();

    // Handled on the owner thread; the caller waits. On the owner thread itself it is handled at once.
    void SendToFrame(FrameMessage message, intptr_t wParam, intptr_t lParam) override;
    // Runs `work` on the owner thread and waits for it to end (at once on the owner thread). False when the
    // loop has quit and the work was not run.
    bool Call(const std::function<void()>& work);

    bool OnOwnerThread() const;

private:
    struct Item {
        std::function<void()> work;
        bool started = false;
        bool finished = false;
    };

    Handler handler_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;       // the owner: work arrived, or quit
    std::condition_variable finished_;   // the senders: an item is finished, or quit
    std::deque<std::shared_ptr<Item>> items_;
    std::thread::id owner_;
    bool quit_ = false;
};

} // namespace qv
