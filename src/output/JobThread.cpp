#include "output/JobThread.h"

#include "app/CSettings.h"
#include "app/MessageCatalog.h"
#include "app/UiBridge.h"
#include "link/CommandCodes.h"
#include "link/ManualCommandQueue.h"
#include "link/SleepUnlessStopped.h"
#include "output/JobBuffers.h"
#include "output/JobStart.h"
#include "output/KnifeData.h"
#include "output/PrepareJob.h"
#include "output/RasterEngine.h"
#include "output/WorkingArea.h"

namespace qv {

namespace {

// The steps of one job on the job thread.
class JobRun {
public:
    JobRun(JobContext& c, std::function<void(std::chrono::milliseconds)> sleep, std::stop_token stop)
        : c_(c), sleep_(std::move(sleep)), stop_(stop)
    {
    }

    JobThread::JobResult Run()
    {
        c_.link.segmentCount = 0;
        c_.link.progressCount = 0;
        if (BuildKnifeData(c_.knives, c_.jobPage, c_.params, c_.settings, c_.notifier) != 0 || Stopping())
            return JobThread::Failed;
        const auto start = c_.protocol.ReadStartPoint();
        if (!start || CheckWorkingArea(c_.jobPage, c_.params, c_.settings, start->point, start->limits,
                                       c_.notifier) != 0)
            return JobThread::Failed;
        const auto plan = PlanJobRaster(c_.jobPage, c_.params, c_.notifier, c_.settings.Language);
        if (!plan)
            return JobThread::Failed;
        const JobStartRecord record = MakeJobStartRecord(c_.jobPage, c_.params, c_.settings, *plan, c_.knives);
        c_.link.segmentCount = record.segmentCount;

        sleep_(JobThread::kBeforeStart);
        if (Stopping())
            return JobThread::Failed;
        const uint8_t code = StartCommandCode(c_.settings);
        const int started = c_.protocol.Commu().WriteCmd(code, record.Encode());
        if (code == cmd::kStartJobNow)
            NoteStartWithoutConfirm(c_.settings, c_.onlyPageInList && c_.onlyPageInList());
        if (started != 0) {
            Tell(Msg::StartCommandFailed);
            return JobThread::Failed;
        }
        if (!Transfer(*plan)) {
            c_.protocol.Commu().SendCmd(cmd::kCancelJob);
            return JobThread::Failed;
        }
        return JobThread::Completed;
    }

private:
    bool Stopping() const { return stop_.stop_requested() || c_.settings.AppStopping != 0; }

    void Tell(Msg id)
    {
        c_.notifier.Show(MessageText(id, c_.settings.Language), "", MsgButtons::Ok, MsgIcon::Error);
    }

    // The job data, segment table and header, then the progress until the machine stops working. False when
    // the machine is left with an incomplete job.
    bool Transfer(const RasterPlan& plan)
    {
        if (c_.buffers.Assemble(c_.raster, c_.jobPage, c_.params, plan, c_.knives, c_.notifier,
                                c_.settings.Language) != JobBuffers::Ok ||
            Stopping())
            return false;
        const std::span<const uint8_t> data = c_.buffers.Data();
        const int sent = c_.protocol.Commu().SendBulk(data);
        if (sent < 0 || static_cast<std::size_t>(sent) != data.size()) {
            Tell(Msg::BulkTransferFailed);
            return false;
        }
        for (const SegmentRecord& record : c_.buffers.Segments()) {
            if (!SendRecord(cmd::kSegment, record.Encode()))
                return false;
        }
        if (!SendRecord(cmd::kJobHeader, c_.buffers.Header().Encode()))
            return false;
        FollowProgress();
        return true;
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

    // A failed read does not end it: only the machine leaving the working and paused states does (also after
    // a cancel from the panel), or the program stopping.
    void FollowProgress()
    {
        while (!Stopping()) {
            if (const auto code = c_.queue.Take()) {
                c_.protocol.Dispatch(*code, CommandSender::JobThread);
                sleep_(JobThread::kAfterManualCommand);
            }
            const auto progress = c_.protocol.ReadProgress();
            if (progress && progress->status.type != kStatusWorking && progress->status.type != kStatusPaused)
                return;
            sleep_(JobThread::kProgressPause);
        }
    }

    JobContext& c_;
    std::function<void(std::chrono::milliseconds)> sleep_;
    std::stop_token stop_;
};

} // namespace

JobThread::JobThread(JobContext context, Sleeper sleep) : context_(std::move(context)), sleep_(std::move(sleep)) {}

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
    PrepareJobPage(context_.jobPage, context_.knives, page, context_.params, context_.settings);
    context_.link.jobThreadExists = true;
    current_ = std::jthread([this](std::stop_token stop) { Body(stop); });
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

void JobThread::Body(std::stop_token stop)
{
    JobRun run(context_, [this, stop](std::chrono::milliseconds span) { Pause(stop, span); }, stop);
    const JobResult result = run.Run();
    if (!stop.stop_requested() && context_.settings.AppStopping == 0)
        context_.frame.SendToFrame(FrameMessage::WM_JOB_FINISHED, result, 0);
}

} // namespace qv
