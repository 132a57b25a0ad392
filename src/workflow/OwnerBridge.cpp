#include "workflow/OwnerBridge.h"

#include <condition_variable>

namespace qv {

// Held by the bridge and by every piece of posted work, so work that runs after its sender went (or after
// the bridge is gone) finds it still there.
struct OwnerBridge::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool closed = false;
    int inHand = 0; // posted work the owner thread runs now
};

namespace {

struct Errand {
    std::function<void()> work;
    bool finished = false;
};

} // namespace

OwnerBridge::OwnerBridge() : shared_(std::make_shared<Shared>()) {}

void OwnerBridge::SetFrameHandler(FrameHandler handler)
{
    handler_ = std::move(handler);
}

void OwnerBridge::SendToFrame(FrameMessage message, intptr_t wParam, intptr_t lParam)
{
    Call([this, message, wParam, lParam] {
        if (handler_)
            handler_(message, wParam, lParam);
    });
}

bool OwnerBridge::Call(std::function<void()> work)
{
    if (OnOwnerThread()) {
        if (Closed())
            return false;
        work();
        return true;
    }
    auto errand = std::make_shared<Errand>();
    errand->work = std::move(work);
    {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->closed)
            return false;
    }
    Post([shared = shared_, errand] {
        {
            const std::lock_guard lock(shared->mutex);
            if (shared->closed)
                return;
            ++shared->inHand;
        }
        errand->work();
        const std::lock_guard lock(shared->mutex);
        --shared->inHand;
        errand->finished = true;
        shared->changed.notify_all();
    });
    std::unique_lock lock(shared_->mutex);
    shared_->changed.wait(lock, [&] { return errand->finished || shared_->closed; });
    return errand->finished;
}

void OwnerBridge::Close()
{
    const std::lock_guard lock(shared_->mutex);
    shared_->closed = true;
    shared_->changed.notify_all();
}

void OwnerBridge::CloseAndWait()
{
    Close();
    if (OnOwnerThread())
        return;
    std::unique_lock lock(shared_->mutex);
    shared_->changed.wait(lock, [&] { return shared_->inHand == 0; });
}

bool OwnerBridge::Closed() const
{
    const std::lock_guard lock(shared_->mutex);
    return shared_->closed;
}

} // namespace qv
