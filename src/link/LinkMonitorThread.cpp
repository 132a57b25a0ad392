#include "link/LinkMonitorThread.h"

#include "app/CSettings.h"
#include "link/LinkProtocol.h"
#include "link/LinkState.h"
#include "link/ManualCommandQueue.h"
#include "link/SleepUnlessStopped.h"

namespace qv {

LinkMonitorThread::LinkMonitorThread(LinkProtocol& protocol, LinkState& state, ManualCommandQueue& queue,
                                     const CSettings& settings)
    : protocol_(protocol), state_(state), queue_(queue), settings_(settings)
{
}

LinkMonitorThread::~LinkMonitorThread()
{
    Stop();
}

void LinkMonitorThread::Start()
{
    if (running_)
        return;
    if (thread_.joinable())
        thread_.join();
    if (!started_) {
        queue_.Clear();
        started_ = true;
    }
    running_ = true;
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

void LinkMonitorThread::Stop()
{
    if (!thread_.joinable())
        return;
    thread_.request_stop();
    thread_.join();
}

bool LinkMonitorThread::Stopping(std::stop_token stop) const
{
    return stop.stop_requested() || settings_.AppStopping != 0;
}

bool LinkMonitorThread::Pause(std::stop_token stop, std::chrono::milliseconds span)
{
    SleepUnlessStopped(stop, span);
    return !Stopping(stop);
}

void LinkMonitorThread::Run(std::stop_token stop)
{
    int passes = 0;
    while (!Stopping(stop)) {
        if (state_.jobThreadExists) {
            // The job owns the link, even when a poll failed as it started; look again shortly without
            // keeping a processor busy.
            Pause(stop, kPass);
            continue;
        }
        if (!state_.Connected) {
            if (protocol_.Handshake() == 0) {
                state_.Connected = true;
                Pause(stop, kAfterHandshake);
            } else if (Pause(stop, kAfterHandshake) && !state_.Connected) {
                Pause(stop, kRetryExtra);
            }
            continue;
        }
        if (const auto code = queue_.Take())
            protocol_.Dispatch(*code, CommandSender::LinkMonitor);
        if (!Pause(stop, kPass))
            break;
        if (passes++ > kPassesBeforePoll) {
            protocol_.StatusPoll();
            passes = 0;
        }
    }
    running_ = false;
}

} // namespace qv
