#include "link/LinkMonitorThread.h"

#include "app/SharedFlags.h"
#include "link/CommandCodes.h"
#include "link/LinkProtocol.h"
#include "link/LinkState.h"
#include "link/ManualCommandQueue.h"
#include "link/SleepUnlessStopped.h"

namespace qv {

LinkMonitorThread::LinkMonitorThread(LinkProtocol& protocol, LinkState& state, ManualCommandQueue& queue,
                                     const SharedFlags& flags)
    : protocol_(protocol), state_(state), queue_(queue), flags_(flags)
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
    return stop.stop_requested() || flags_.AppStopping != 0;
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
        // Unparked before the job check, parked again as soon as a job is seen: a job that set
        // jobThreadExists after this check waits for the pass to end (both sides sequentially consistent).
        state_.monitorParked = false;
        if (state_.jobThreadExists) {
            // The job owns the link, even when a poll failed as it started; look again shortly without
            // keeping a processor busy.
            state_.monitorParked = true;
            Pause(stop, kPass);
            continue;
        }
        if (!state_.Connected) {
            const bool shaken = protocol_.Handshake() == 0;
            if (shaken)
                state_.Connected = true;
            // The pass's exchanges are over: a job need not wait out the pause.
            state_.monitorParked = true;
            if (shaken)
                Pause(stop, kAfterHandshake);
            else if (Pause(stop, kAfterHandshake) && !state_.Connected)
                Pause(stop, kRetryExtra);
            continue;
        }
        // Before anything else the machine is to hear, as the link may have come back before a poll found it
        // down.
        if (state_.cancelOwed.exchange(false) && protocol_.Commu().SendCmd(cmd::kCancelJob) != 0)
            state_.cancelOwed = true;
        if (const auto code = queue_.Take())
            protocol_.Dispatch(*code, CommandSender::LinkMonitor);
        if (!Pause(stop, kPass))
            break;
        if (passes++ > kPassesBeforePoll) {
            protocol_.StatusPoll();
            passes = 0;
        }
    }
    state_.monitorParked = true;
    running_ = false;
}

} // namespace qv
