#include "workflow/FrameMessageLoop.h"

namespace qv {

void FrameMessageLoop::Run()
{
    std::unique_lock lock(mutex_);
    owner_ = std::this_thread::get_id();
    while (true) {
        wake_.wait(lock, [this] { return quit_ || !items_.empty(); });
        if (quit_)
            break;
        const std::function<void()> work = std::move(items_.front());
        items_.pop_front();
        lock.unlock();
        work();
        lock.lock();
    }
    items_.clear();
    owner_ = {};
}

void FrameMessageLoop::Quit()
{
    Close();
    const std::lock_guard lock(mutex_);
    quit_ = true;
    wake_.notify_all();
}

bool FrameMessageLoop::OnOwnerThread() const
{
    const std::lock_guard lock(mutex_);
    return owner_ == std::this_thread::get_id();
}

void FrameMessageLoop::Post(std::function<void()> work)
{
    const std::lock_guard lock(mutex_);
    if (quit_)
        return;
    items_.push_back(std::move(work));
    wake_.notify_one();
}

} // namespace qv
