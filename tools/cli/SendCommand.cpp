#include "Args.h"
#include "Commands.h"
#include "MachineLink.h"
#include "StderrNotifier.h"
#include "Usage.h"

#include "link/LibusbBackend.h"
#include "model/PageState.h"
#include "tasks/TaskListRow.h"
#include "workflow/HeadlessOwner.h"
#include "workflow/OutputCentre.h"
#include "workflow/WorkflowObserver.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace qv::cli {

namespace {

using namespace std::chrono_literals;

constexpr auto kReadyWait = 60s;
constexpr auto kLook = 100ms;

void Print(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// The pages to output, in list order, and how far the dispatch has come with them: told by the centre's
// events on the owner thread, read by the main thread.
class SendProgress : public WorkflowObserver {
public:
    struct Target {
        std::string heading; // "page N NAME", numbered as the file lists it
        bool hasCurves;
    };

    void Begin(std::vector<Target> targets, int32_t language)
    {
        const std::lock_guard lock(mutex_);
        targets_ = std::move(targets);
        language_ = language;
        lastEvent_ = std::chrono::steady_clock::now();
    }

    void PageStateChanged(std::size_t, const COnePage& page, int32_t from) override
    {
        const std::lock_guard lock(mutex_);
        lastEvent_ = std::chrono::steady_clock::now();
        if (next_ >= targets_.size() || failed_)
            return;
        if (from == PageState::Auto && page.state == PageState::Printing) {
            Print(targets_[next_].heading);
            running_ = true;
        } else if (from == PageState::Printing && running_) {
            running_ = false;
            if (page.state == PageState::Done) {
                Print("  " + PageStateText(PageState::Done, language_));
                ++completed_;
                ++next_;
            } else {
                Print("  failed");
                failed_ = true;
            }
        }
    }
    void PagesRemoved(std::size_t count) override
    {
        // The dispatch drops Auto pages without curves on its way, in list order.
        const std::lock_guard lock(mutex_);
        for (; count > 0 && next_ < targets_.size() && !targets_[next_].hasCurves; --count, ++next_) {
            Print(targets_[next_].heading);
            Print("  no curves: skipped");
        }
    }

    // True once every page is through, a page failed, or no page started for kReadyWait.
    bool Over()
    {
        const std::lock_guard lock(mutex_);
        if (!failed_ && !running_ && next_ < targets_.size() &&
            std::chrono::steady_clock::now() - lastEvent_ > kReadyWait) {
            Print(targets_[next_].heading);
            Print("  the machine is not ready");
            failed_ = true;
        }
        return failed_ || next_ >= targets_.size();
    }
    int Completed() const
    {
        const std::lock_guard lock(mutex_);
        return completed_;
    }
    std::size_t Count() const
    {
        const std::lock_guard lock(mutex_);
        return targets_.size();
    }

private:
    mutable std::mutex mutex_;
    std::vector<Target> targets_;
    int32_t language_ = 0;
    std::size_t next_ = 0;
    bool running_ = false;
    bool failed_ = false;
    int completed_ = 0;
    std::chrono::steady_clock::time_point lastEvent_;
};

} // namespace

// quorvane-cli send FILE.ctask (--net ADDR[:PORT] | --usb) [--page N] [--settings DIR]
// Outputs the Auto pages of the task file in list order, or only page N, through the output centre as the
// program does: the link monitor handshakes and polls, the tick dispatches one page at a time once the
// machine is ready, a failed page stops the rest. Shows the machine's status line while a page runs and each
// page's result. The settings directory is only read. Exit status 0 when every page was completed, 1 when a
// page failed or none was Auto.
int RunSend(const std::vector<std::string>& words)
{
    const Args args(words, {"net", "page", "settings"}, {"usb"});
    if (!args.error().empty() || args.positional().size() != 1 || args.Value("net").has_value() == args.Flag("usb"))
        return WrongWords("send", args.error());
    const auto settingsDir = args.Value("settings");
    std::error_code ec;
    if (settingsDir && !std::filesystem::is_directory(*settingsDir, ec)) {
        std::fprintf(stderr, "%s: no such directory\n", settingsDir->c_str());
        return 2;
    }
    std::optional<NetAddress> address;
    if (const auto net = args.Value("net"); net && !(address = ParseMachineAddress(*net)))
        return 2;
    std::optional<int> page;
    if (const auto text = args.Value("page"); text && !(page = ParseInt(*text)))
        return WrongWords("send", args.error());

    StderrNotifier notifier;
    LibusbBackend usb;
    SendProgress progress;
    HeadlessOwner owner;
    OutputCentre centre(settingsDir.value_or(ExecutableDirectory()), owner.Bridge(), notifier, usb, progress,
                        CentreMode::OutputOnly);

    const std::string& path = args.positional().front();
    int status = 0;
    owner.Call([&] {
        AppOptions options = centre.Settings().Options();
        // Each page once: the ageing mode would output it for ever.
        options.RepeatCut = 0;
        options.ConnectViaNet = address ? 1 : 0;
        centre.ApplyOptions(options);
        if (address)
            centre.SetMachineAddress(address->ip, address->port);
        if (centre.OpenTaskList(path) != ListOpening::Opened) {
            status = 1;
            return;
        }
        const auto& pages = centre.TaskList().pages;
        if (page && (*page < 1 || static_cast<std::size_t>(*page) > pages.size())) {
            std::fprintf(stderr, "%s: no page %d (the task list holds %zu)\n", path.c_str(), *page, pages.size());
            status = 1;
            return;
        }
        std::vector<SendProgress::Target> targets;
        std::vector<std::ptrdiff_t> others;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const bool chosen = page ? i == static_cast<std::size_t>(*page - 1) : pages[i]->state == PageState::Auto;
            if (chosen) {
                const TaskListRow row = MakeTaskListRow(*pages[i], i, options.Language);
                targets.push_back({"page " + row.number + " " + row.name, !pages[i]->curves.empty()});
            } else {
                others.push_back(static_cast<std::ptrdiff_t>(i));
            }
        }
        if (targets.empty()) {
            std::fprintf(stderr, "%s: no page is Auto, so nothing was sent; --page N sends page N\n", path.c_str());
            status = 1;
            return;
        }
        progress.Begin(std::move(targets), options.Language);
        if (page) {
            const std::ptrdiff_t chosen = *page - 1;
            centre.SetStateOfRows(others, PageState::Manual);
            centre.SetStateOfRows(std::span(&chosen, 1), PageState::Auto);
        }
        centre.Start();
    });

    if (status == 0) {
        StatusLineChanges statusLine([&centre] { return centre.StatusLine(); });
        while (!progress.Over()) {
            if (const auto line = statusLine.Next())
                Print("  " + *line);
            std::this_thread::sleep_for(kLook);
        }
    }
    owner.Close(centre);
    if (status != 0)
        return status;
    Print(std::to_string(progress.Completed()) + " of " + std::to_string(progress.Count()) + " pages completed");
    return progress.Completed() == static_cast<int>(progress.Count()) ? 0 : 1;
}

} // namespace qv::cli
