#include "Args.h"
#include "Commands.h"
#include "MachineLink.h"
#include "PageJob.h"

#include "app/UiBridge.h"
#include "link/LinkMonitorThread.h"
#include "link/ManualCommandQueue.h"
#include "model/PageState.h"
#include "output/JobThread.h"
#include "output/KnifeList.h"
#include "tasks/TaskListRow.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace qv::cli {

namespace {

using namespace std::chrono_literals;

constexpr auto kReadyWait = 60s;

int Usage()
{
    std::fprintf(stderr, "usage: quorvane-cli send FILE.ctask (--net ADDR[:PORT] | --usb) [--page N] [--settings DIR]\n");
    return 2;
}

// The frame of a program without a window: the job thread's WM_JOB_FINISHED waits here until the main
// thread has handled it, as it waits for a window's handler.
class FinishedMailbox : public UiBridge {
public:
    void SendToFrame(FrameMessage message, intptr_t wParam, intptr_t) override
    {
        if (message != FrameMessage::WM_JOB_FINISHED)
            return;
        std::unique_lock lock(mutex_);
        result_ = wParam;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !result_; });
    }

    // Waits up to `span` for the end of the job; when it came, `handle` runs before the job thread goes on.
    template <typename Handle>
    std::optional<intptr_t> Take(std::chrono::milliseconds span, Handle handle)
    {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, span, [this] { return result_.has_value(); }))
            return std::nullopt;
        const intptr_t result = *result_;
        handle();
        result_.reset();
        changed_.notify_all();
        return result;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<intptr_t> result_;
};

} // namespace

// quorvane-cli send FILE.ctask (--net ADDR[:PORT] | --usb) [--page N] [--settings DIR]
// Brings the link up as the program does (the link monitor handshakes and polls), then outputs the Auto pages
// of the task file in list order, or only page N, one job at a time: each waits until the machine is ready,
// shows the machine's status line while it runs and ends with its result. A failed page stops the rest, as
// the task list halts after a failure. Exit status 0 when every page was completed.
int RunSend(const std::vector<std::string>& words)
{
    const Args args(words, {"net", "page", "settings"});
    if (!args.error().empty() || args.positional().size() != 1 || args.Value("net").has_value() == args.Flag("usb"))
        return Usage();

    CSettings settings;
    MachineParams params;
    if (const int status = LoadSettingsOption(args.Value("settings"), settings, params))
        return status;
    const std::string& path = args.positional().front();
    CQuorvaneDoc doc;
    if (const TaskFileResult opened = doc.Open(path); opened != TaskFileResult::Ok) {
        std::fprintf(stderr, "%s\n", TaskFileMessage(opened, path, settings.Language).c_str());
        return 1;
    }
    std::vector<std::size_t> pages;
    if (const auto page = args.Value("page")) {
        const auto n = ParseInt(*page);
        if (!n)
            return Usage();
        if (*n < 1 || static_cast<std::size_t>(*n) > doc.pages.size()) {
            std::fprintf(stderr, "%s: no page %d (the task list holds %zu)\n", path.c_str(), *n, doc.pages.size());
            return 1;
        }
        pages.push_back(static_cast<std::size_t>(*n - 1));
    } else {
        for (std::size_t i = 0; i < doc.pages.size(); ++i) {
            if (doc.pages[i]->state == PageState::Auto)
                pages.push_back(i);
        }
    }

    MachineLink machine(settings, params);
    if (!machine.Choose(args))
        return 2;
    LinkState& link = machine.state;
    ManualCommandQueue queue;
    LinkMonitorThread monitor(machine.protocol, link, queue, settings);
    COnePage jobPage;
    KnifeList knives;
    const auto buffers = std::make_unique<JobBuffers>();
    const auto raster = std::make_unique<CRasterEngine>();
    FinishedMailbox frame;
    const bool onlyPage = doc.pages.size() == 1;
    JobThread jobs({jobPage, knives, *buffers, *raster, params, settings, link, machine.protocol, queue,
                    machine.notifier, frame, [onlyPage] { return onlyPage; }});
    StatusLineChanges statusLine(link, params, settings);
    const auto showStatus = [&] {
        if (const auto line = statusLine.Next()) {
            std::printf("  %s\n", line->c_str());
            std::fflush(stdout);
        }
    };
    monitor.Start();

    int completed = 0;
    for (const std::size_t index : pages) {
        const COnePage& page = *doc.pages[index];
        const TaskListRow row = MakeTaskListRow(page, index, settings.Language);
        std::printf("page %s %s\n", row.number.c_str(), row.name.c_str());
        if (page.curves.empty()) {
            std::printf("  no curves: skipped\n");
            continue;
        }
        const auto deadline = std::chrono::steady_clock::now() + kReadyWait;
        while (!(link.Connected && link.status.load().type == kStatusReady) &&
               std::chrono::steady_clock::now() < deadline) {
            showStatus();
            std::this_thread::sleep_for(100ms);
        }
        showStatus();
        if (!(link.Connected && link.status.load().type == kStatusReady)) {
            std::printf("  the machine is not ready\n");
            break;
        }
        jobs.PrepareJob(page);
        std::optional<intptr_t> result;
        while (!(result = frame.Take(JobThread::kProgressPause, [&] { jobs.ReleaseJob(); })))
            showStatus();
        showStatus();
        if (*result != JobThread::Completed) {
            std::printf("  failed\n");
            break;
        }
        std::printf("  %s\n", PageStateText(PageState::Done, settings.Language).c_str());
        ++completed;
    }
    jobs.Stop();
    monitor.Stop();
    std::printf("%d of %zu pages completed\n", completed, pages.size());
    return completed == static_cast<int>(pages.size()) ? 0 : 1;
}

} // namespace qv::cli
