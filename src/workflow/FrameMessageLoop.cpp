#include "workflow/FrameMessageLoop.h"

namespace qv {

FrameMessageLoop::FrameMessageLoop(Handler handler) : handler_(std::move(handler)) {}

void FrameMessageLoop::Run()
{
    std::unique_lock lock(mutex_);
    owner_ = std::this_thread::get_id();
    while (true) {
        wake_.wait(lock, [this] { return quit_ || !items_.empty(); });
        if (quit_)
            break;
        const std::shared_ptr<Item> item = items_.front();
        items_.pop_front();
        item->started = true;
        lock.unlock();
        item->work();
        lock.lock();
        item->finished = true;
        finished_.notify_all();
    }
    items_.clear();
    owner_ = {};
    finished_.notify_all();
}

void FrameMessageLoop::Quit()
{
    const std::lock_guard lock(mutex_);
    quit_ = true;
    wake_.notify_all();
    finished_.notify_all();
}

bool FrameMessageLoop::OnOwnerThread() const
{
    const std::lock_guard lock(mutex_);
    return owner_ == std::this_thread::get_id();
}

bool FrameMessageLoop::Call(const std::function<void()>& work)
{
    if (OnOwnerThread()) {
        work();
        return true;
    }
    auto item = std::make_shared<Item>();
    item->work = work;
    std::unique_lock lock(mutex_);
    if (quit_)
        return false;
    items_.push_back(item);
    wake_.notify_one();
    // Work in hand is always waited for: it may refer to the caller's values.
    finished_.wait(lock, [&] { return item->finished || (quit_ && !item->started); });
    return item->finished;
}

void FrameMessageLoop::SendToFrame(FrameMessage message, intptr_t wParam, intptr_t lParam)
{
    Call([&] { handler_(message, wParam, lParam); });
}

} // namespace qv
