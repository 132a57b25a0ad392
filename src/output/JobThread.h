#pragma once

#include "link/LinkProtocol.h"
#include "output/JobPipeline.h"

#include <chrono>
#include <functional>
#include <stop_token>
#include <thread>

namespace qv {

class COnePage;
class CRasterEngine;
class JobBuffers;
class MachineParamsStore;
class ManualCommandQueue;
class Notifier;
class UiBridge;
struct AppOptions;
struct KnifeList;
struct LinkState;
struct SharedFlags;

// The process-wide objects a job works with; the program creates each once and hands them in by reference.
struct JobContext {
    COnePage& jobPage; // the prepared copy of the page being output; only the job thread reads it
    KnifeList& knives;
    JobBuffers& buffers;
    CRasterEngine& raster;
    // Read by PrepareJob alone, on the thread that owns the task list: the job takes a copy of both.
    const AppOptions& options;
    const MachineParamsStore& params;
    SharedFlags& flags; // AppStopping; NeedPanelConfirm, which a start with 53 renews
    LinkState& link;
    LinkProtocol& protocol; // the link monitor's own; the monitor is parked while a job runs
    ManualCommandQueue& queue;
    Notifier& notifier;
    UiBridge& frame; // receives WM_JOB_FINISHED
    // Whether the task list holds exactly one page, asked once per job right after a start with 53. It runs
    // on the job thread, so it must read a value the task list's owner keeps current (an atomic), never the
    // list itself. Empty: never the only page.
    std::function<bool()> onlyPageInList;
};

// Outputs one prepared page at a time, each on a thread of its own that lives from PrepareJob until it has
// reported the job's end. The job thread builds the knife records, waits until the link monitor has parked,
// reads the start point, checks the working area, plans the raster, starts the job on the machine (52 or 53),
// assembles bands and knife records in the job buffers, sends them in one bulk transfer followed by the
// segment table and the header, follows the progress every 200 ms (taking queued manual commands) until the
// machine stops working, and then sends WM_JOB_FINISHED (1 completed, 2 failed) and waits for the frame to
// handle it. A start command or a transfer that fails cancels the job on the machine (17); a cancel that
// cannot reach it is owed (LinkState::cancelOwed) and sent by the link monitor once the link is back.
//
// A job is completed only when the machine ends it ready or idle after working (also after a cancel from the
// panel). It fails when the machine ends it with a memory error or lost steps, when the machine restarted
// under it (status 0 or 1), or when no progress read has been answered for kSilentLimit: then the link is
// marked down, so the monitor reconnects by itself once the machine answers again.
//
// PrepareJob, ReleaseJob and Stop belong to the thread that owns the task list. A report can race the stop at
// exit, so the frame's bridge must not wait for a handler any more once AppStopping is set.
class JobThread {
public:
    using Sleeper = LinkProtocol::Sleeper;
    // Milliseconds on a monotonic clock: the job's measure of how long the machine has been silent.
    using Clock = std::function<int64_t()>;

    static constexpr std::chrono::milliseconds kBeforeStart{10};
    static constexpr std::chrono::milliseconds kRetryPause{10};
    static constexpr std::chrono::milliseconds kAfterManualCommand{10};
    static constexpr std::chrono::milliseconds kProgressPause{200};
    static constexpr std::chrono::milliseconds kSilentLimit{30000};
    static constexpr std::chrono::milliseconds kMonitorParkPoll{1};
    static constexpr int kRecordAttempts = 10;

    enum JobResult : intptr_t { Completed = 1, Failed = 2 };

    // `sleep` replaces the job thread's own pauses, which Stop() cuts short, and `clock` the steady clock;
    // tests pass a virtual clock and pauses that move it.
    explicit JobThread(JobContext context, Sleeper sleep = {}, Clock clock = {});
    ~JobThread();
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;

    // Takes the job's copy of the options and the machine records, prepares `page` into the job page (the
    // operator's page is never changed), sets jobThreadExists and starts the job thread. 0; -1 while a job
    // runs (jobThreadExists set), and nothing changes.
    int PrepareJob(const COnePage& page);

    // For the WM_JOB_FINISHED handler: the job is over, so the job page and the knife records are emptied and
    // jobThreadExists is cleared; the next PrepareJob may follow.
    void ReleaseJob();

    // At exit (also called by the destructor; not from inside the WM_JOB_FINISHED handler): ends a running job
    // at its next step without reporting, waits for its thread and clears jobThreadExists. Data the machine
    // has only partly received is cancelled there (17); a job it is already working on goes on. The job
    // thread also ends by itself, unreported, once AppStopping is set. Afterwards the job page may be emptied.
    void Stop();

private:
    void Body(std::stop_token stop, const JobSettings& settings);
    void Pause(std::stop_token stop, std::chrono::milliseconds span);
    int64_t Now() const;

    JobContext context_;
    Sleeper sleep_;
    Clock clock_;
    std::jthread current_;
    // The thread of the job before, which may still be returning from its report.
    std::jthread retired_;
};

} // namespace qv
