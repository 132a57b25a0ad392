#pragma once

#include "app/UiBridge.h"

#include <functional>
#include <memory>
#include <mutex>

namespace qv {

// What the owner thread runs for one of the frame's messages.
using FrameHandler = std::function<intptr_t(FrameMessage, intptr_t, intptr_t)>;

// The way from any thread to the one thread that owns the task list, written once for every front end: a
// front end supplies only how a piece of work is posted to its owner thread (the headless FrameMessageLoop,
// the window's Qt event loop) and how to tell that thread. A sender waits until its work has run there, as a
// window message waits for its handler.
//
// Close() lets every sender go: work still waiting is dropped, and a sender whose work is in hand returns at
// once instead of waiting for it. So a background thread blocked on the owner while the owner closes (and
// joins that very thread) always gets back. Work therefore owns what it refers to, never the sender's stack.
class OwnerBridge : public UiBridge {
public:
    OwnerBridge();
    ~OwnerBridge() override = default;
    OwnerBridge(const OwnerBridge&) = delete;
    OwnerBridge& operator=(const OwnerBridge&) = delete;

    // The handler of the frame's messages (the output centre's); set before any message can come.
    void SetFrameHandler(FrameHandler handler);

    // Handled on the owner thread; the caller waits (on the owner thread itself it is handled at once).
    void SendToFrame(FrameMessage message, intptr_t wParam, intptr_t lParam) override;

    // Runs `work` on the owner thread and waits for it to end (at once on the owner thread). False when the
    // bridge was closed before the work ended; the work then may still run to its end, or never run.
    bool Call(std::function<void()> work);

    // From any thread; once closed, the bridge stays closed.
    void Close();
    // Closes and, off the owner thread, also waits until the work the owner has in hand has ended, so what
    // that work refers to may go away. On the owner thread it only closes (the work in hand is the caller's).
    void CloseAndWait();
    bool Closed() const;

    virtual bool OnOwnerThread() const = 0;

protected:
    // Queues `work` to run on the owner thread once; it must not run it here and now.
    virtual void Post(std::function<void()> work) = 0;

private:
    struct Shared;

    std::shared_ptr<Shared> shared_;
    FrameHandler handler_;
};

} // namespace qv
