#pragma once

#include "workflow/FrameMessageLoop.h"

#include <functional>
#include <thread>

namespace qv {

class OutputCentre;

// The owner thread of a front end without a window: a FrameMessageLoop running on a thread of its own from
// construction until Close (or destruction).
class HeadlessOwner {
public:
    HeadlessOwner();
    ~HeadlessOwner();
    HeadlessOwner(const HeadlessOwner&) = delete;
    HeadlessOwner& operator=(const HeadlessOwner&) = delete;

    OwnerBridge& Bridge() { return loop_; }
    // Runs `work` on the owner thread and waits for it; false once closed.
    bool Call(std::function<void()> work) { return loop_.Call(std::move(work)); }
    // Closes `centre` on the owner thread as the main window closes, then ends the owner thread.
    void Close(OutputCentre& centre);

private:
    FrameMessageLoop loop_;
    std::thread thread_;
};

} // namespace qv
