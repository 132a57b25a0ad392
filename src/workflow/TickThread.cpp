#include "workflow/TickThread.h"

#include "app/SharedFlags.h"
#include "app/UiBridge.h"
#include "link/LinkState.h"
#include "link/SleepUnlessStopped.h"

namespace qv {

TickThread::TickThread(const SharedFlags& flags, const LinkState& link, UiBridge& frame, Sleeper sleep)
    : flags_(flags), link_(link), frame_(frame), sleep_(std::move(sleep))
{
}

TickThread::~TickThread()
{
    Stop();
}

void TickThread::Start()
{
    if (!thread_.joinable())
        thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

void TickThread::Stop()
{
    if (!thread_.joinable())
        return;
    thread_.request_stop();
    thread_.join();
}

void TickThread::Run(std::stop_token stop)
{
    while (!stop.stop_requested()) {
        if (sleep_)
            sleep_(kTick);
        else
            SleepUnlessStopped(stop, kTick);
        if (!stop.stop_requested() && flags_.AppStopping == 0 && !link_.jobThreadExists)
            frame_.SendToFrame(FrameMessage::WM_DISPATCH_JOB, 0, 0);
    }
}

} // namespace qv
