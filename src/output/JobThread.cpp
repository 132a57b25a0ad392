#include "output/JobThread.h"

#include "app/AppOptions.h"
#include "app/MachineParamsStore.h"
#include "app/MessageCatalog.h"
#include "app/SharedFlags.h"
#include "app/UiBridge.h"
#include "link/CommandCodes.h"
#include "link/ManualCommandQueue.h"
#include "link/SleepUnlessStopped.h"
#include "output/JobBuffers.h"
#include "output/JobStart.h"
#include "output/KnifeList.h"
#include "output/PrepareJob.h"

namespace qv {

namespace {

// The steps of one job on the job thread.
class JobRun {
public:
    JobRun(JobContext& c, const JobSettings& settings, std::function<void(std::chrono::milliseconds)> sleep,
           std::function<int64_t()> now, std::stop_token stop)
        : c_(c), settings_(settings), pipeline_(c.jobPage, c.knives, settings, c.notifier), sleep_(std::move(sleep)),
          now_(std::move(now)), stop_(stop)
    {
    }

    JobThread::JobResult Run()
    {
        c_.link.segmentCount = 0;
        c_.link.progressCount = 0;
        if (!pipeline_.BuildKnives() || !WaitUntilMonitorParked())
            return JobThread::Failed;
        const auto start = c_.protocol.ReadStartPoint();
        if (!start)
            return JobThread::Failed;
        const std::optional<JobPlan> plan = pipeline_.Plan(*start);
        if (!plan)
            return JobThread::Failed;
        c_.link.segmentCount = plan->start.segmentCount;

        sleep_(JobThread::kBeforeStart);
        if (Stopping())
            return JobThread::Failed;
        const uint8_t code = StartCommandCode(c_.flags, settings_.options);
        const int started = c_.protocol.Commu().WriteCmd(code, plan->start.Encode());
        if (code == cmd::kStartJobNow)
            NoteStartWithoutConfirm(c_.flags, settings_.options, c_.onlyPageInList && c_.onlyPageInList());
        if (started != 0) {
            Tell(Msg::StartCommandFailed);
            // The machine may have started on a command whose acknowledgement was lost.
            Cancel();
            return JobThread::Failed;
        }
        switch (Transfer(*plan)) {
        case Outcome::Incomplete:
            Cancel();
            return JobThread::Failed;
        case Outcome::NotFinished:
            return JobThread::Failed;
        case Outcome::Finished:
            break;
        }
        return JobThread::Completed;
    }

private:
    // How the transfer and the progress loop end: the machine left the job's working state as after work or a
    // cancel; it holds an incomplete job (cancelled with 17); or it ended the job without finishing it.
    enum class Outcome { Finished, Incomplete, NotFinished };

    bool Stopping() const { return stop_.stop_requested() || c_.flags.AppStopping != 0; }

    void Cancel()
    {
        if (c_.protocol.Commu().SendCmd(cmd::kCancelJob) != 0)
            c_.link.cancelOwed = true;
    }

    void Tell(Msg id)
    {
        c_.notifier.Show(MessageText(id, settings_.options.Language), "", MsgButtons::Ok, MsgIcon::Error);
    }

    // The monitor may be inside a pass that began before it saw this job; the job owns the link only once it
    // has parked. False when the program stops first.
    bool WaitUntilMonitorParked()
    {
        while (!c_.link.monitorParked) {
            if (Stopping())
                return false;
            sleep_(JobThread::kMonitorParkPoll);
        }
        return !Stopping();
    }

    Outcome Transfer(const JobPlan& plan)
    {
        if (!pipeline_.Assemble(plan, c_.buffers, c_.raster) || Stopping())
            return Outcome::Incomplete;
        if (c_.protocol.Commu().SendBulk(c_.buffers.Data()) != BulkResult::Sent) {
            Tell(Msg::BulkTransferFailed);
            return Outcome::Incomplete;
        }
        for (const SegmentRecord& record : c_.buffers.Segments()) {
            if (!SendRecord(cmd::kSegment, record.Encode()))
                return Outcome::Incomplete;
        }
        if (!SendRecord(cmd::kJobHeader, c_.buffers.Header().Encode()))
            return Outcome::Incomplete;
        return FollowProgress();
    }

    // A segment record or the header: up to 10 attempts, 10 ms after each refusal. False after telling the
    // operator, or at once when the program stops.
    bool SendRecord(uint8_t code, std::span<const uint8_t> payload)
    {
        for (int attempt = 0; attempt < JobThread::kRecordAttempts; ++attempt) {
            if (Stopping())
                return false;
            if (c_.protocol.Commu().WriteCmd(code, payload) == 0)
                return true;
            sleep_(JobThread::kRetryPause);
        }
        Tell(Msg::SegmentCommandFailed);
        return false;
    }

    // Until the machine leaves the working and paused states, taking queued manual commands on the way. A
    // single failed read is tried again; a machine silent for kSilentLimit ends the job.
    Outcome FollowProgress()
    {
        int64_t lastAnswer = now_();
        while (!Stopping()) {
            if (const auto code = c_.queue.Take()) {
                c_.protocol.Dispatch(*code, CommandSender::JobThread);
                sleep_(JobThread::kAfterManualCommand);
            }
            if (const auto progress = c_.protocol.ReadProgress()) {
                lastAnswer = now_();
                const uint8_t type = progress->status.type;
                if (type != kStatusWorking && type != kStatusPaused)
                    return EndedBy(progress->status);
            } else if (now_() - lastAnswer >= JobThread::kSilentLimit.count()) {
                Tell(Msg::CommunicationFailed);
                c_.link.MarkDisconnected();
                return Outcome::NotFinished;
            }
            sleep_(JobThread::kProgressPause);
        }
        return Outcome::Finished;
    }

    // The status the machine left the job with. A machine that restarted (initialising or seeking its
    // origin) or reports an error has not finished the page, so the page must not count as done.
    Outcome EndedBy(MachineStatus status)
    {
        const int32_t language = settings_.options.Language;
        switch (status.type) {
        case kStatusInit:
        case kStatusSeekOrigin:
            Tell(Msg::JobMachineRestarted);
            return Outcome::NotFinished;
        case kStatusMemoryError:
        case kStatusStepperLostSteps: {
            const Msg text = status.type == kStatusMemoryError ? Msg::StatusMemoryError : Msg::StatusStepperLostSteps;
            c_.notifier.Show(FormatMessage(Msg::JobMachineFault, language, {MessageText(text, language)}), "",
                             MsgButtons::Ok, MsgIcon::Error);
            return Outcome::NotFinished;
        }
        default:
            return Outcome::Finished;
        }
    }

    JobContext& c_;
    const JobSettings& settings_;
    JobPipeline pipeline_;
    std::function<void(std::chrono::milliseconds)> sleep_;
    std::function<int64_t()> now_;
    std::stop_token stop_;
};

} // namespace

JobThread::JobThread(JobContext context, Sleeper sleep, Clock clock)
    : context_(std::move(context)), sleep_(std::move(sleep)), clock_(std::move(clock))
{
}

JobThread::~JobThread()
{
    Stop();
}

int JobThread::PrepareJob(const COnePage& page)
{
    if (context_.link.jobThreadExists)
        return -1;
    if (retired_.joinable())
        retired_.join();
    retired_ = std::move(current_);
    JobSettings settings{context_.options, context_.params.Get()};
    PrepareJobPage(context_.jobPage, context_.knives, page, settings.params, settings.options);
    context_.link.jobThreadExists = true;
    current_ = std::jthread([this, settings = std::move(settings)](std::stop_token stop) { Body(stop, settings); });
    return 0;
}

void JobThread::ReleaseJob()
{
    context_.jobPage.ClearCurves();
    context_.knives.Clear();
    context_.link.jobThreadExists = false;
}

void JobThread::Stop()
{
    current_.request_stop();
    if (current_.joinable())
        current_.join();
    if (retired_.joinable())
        retired_.join();
    context_.link.jobThreadExists = false;
}

void JobThread::Pause(std::stop_token stop, std::chrono::milliseconds span)
{
    if (sleep_)
        sleep_(span);
    else
        SleepUnlessStopped(stop, span);
}

int64_t JobThread::Now() const
{
    if (clock_)
        return clock_();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void JobThread::Body(std::stop_token stop, const JobSettings& settings)
{
    JobRun run(
        context_, settings, [this, stop](std::chrono::milliseconds span) { Pause(stop, span); },
        [this] { return Now(); }, stop);
    const JobResult result = run.Run();
    if (!stop.stop_requested() && context_.flags.AppStopping == 0)
        context_.frame.SendToFrame(FrameMessage::WM_JOB_FINISHED, result, 0);
}

} // namespace qv
