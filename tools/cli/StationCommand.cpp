#include "Args.h"
#include "Commands.h"
#include "MachineLink.h"
#include "StderrNotifier.h"
#include "Usage.h"

#include "app/DataPlace.h"
#include "hpgl/CHpglFile.h"
#include "link/LibusbBackend.h"
#include "link/SleepUnlessStopped.h"
#include "tasks/TaskListRow.h"
#include "view/ImportReportText.h"
#include "workflow/HeadlessOwner.h"
#include "workflow/OutputCentre.h"
#include "workflow/SettledFiles.h"
#include "workflow/WorkflowObserver.h"

#include <chrono>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace qv::cli {

namespace {

// One line per event on standard output, flushed at once: whoever reads it through a pipe sees each event as
// it happens.
void PrintLine(const char* format, ...)
{
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The events of the workflow as lines, on the owner thread. `settings` is the centre's, set once the centre
// exists (no event comes before it starts).
class ConsoleObserver : public WorkflowObserver {
public:
    const CSettings* settings = nullptr;

    void FileRead(const std::string& path, int32_t result, std::size_t pages, bool deleted) override
    {
        if (result == HpglLoadResult::Ok) {
            PrintLine("taken %s: %zu page%s%s", path.c_str(), pages, pages == 1 ? "" : "s",
                      deleted ? ", file deleted" : "");
            return;
        }
        // A drawing not taken is never deleted: gone from its place, it was moved to unread/.
        PrintLine("refused %s: %s%s", path.c_str(),
                  result == HpglLoadResult::BadSize     ? "too small or too large"
                  : result == HpglLoadResult::NoDrawing ? "no drawing"
                  : result == HpglLoadResult::TooLarge  ? "too large"
                                                        : "content rejected",
                  deleted ? ", moved to unread/" : "");
    }
    void DrawingReported(const std::string& path, const ImportReport& report) override
    {
        // In English like the event words around it, whatever the settings' language.
        PrintLine("report %s", ImportReportLine(path, report, 1).c_str());
    }
    void PageStateChanged(std::size_t index, const COnePage& page, int32_t from) override
    {
        const TaskListRow row = MakeTaskListRow(page, index, settings->Language);
        PrintLine("page %s %s: %s -> %s", row.number.c_str(), row.name.c_str(),
                  PageStateText(from, settings->Language).c_str(), row.state.c_str());
    }
    void DataDirWatched(const std::string& dir, const std::string& failure) override
    {
        if (failure.empty())
            PrintLine("watching %s: a file is taken once its writer has closed it or it was renamed in", dir.c_str());
        else
            PrintLine("polling %s (%s): a file is taken after %llds unchanged and not open for writing", dir.c_str(),
                      failure.c_str(), static_cast<long long>(SettledFiles::kQuietTime.count()));
    }
    void PagesRemoved(std::size_t count) override { PrintLine("removed %zu page%s", count, count == 1 ? "" : "s"); }
    void TaskListReloaded(std::size_t pages) override
    {
        PrintLine("reloaded %s: %zu page%s", settings->LastTaskPath.c_str(), pages, pages == 1 ? "" : "s");
    }
};

// The panel's status line as it changes: the link coming and going, READY with the head position, and a
// job's progress "Working...%d/%d".
void FollowStatus(std::stop_token stop, const OutputCentre& centre)
{
    StatusLineChanges status([&centre] { return centre.StatusLine(); });
    do {
        if (const auto line = status.Next())
            PrintLine("status %s", line->c_str());
    } while (SleepUnlessStopped(stop, std::chrono::milliseconds(100)));
}

} // namespace

// quorvane-cli station [--dir EXEDIR] [--net ADDR[:PORT] | --usb]
// The output centre without a window, in EXEDIR as the program's directory (by default the program's own files'
// place: beside it when writable, else the user's data directory): loads its settings, keeps the
// link, reloads the last task list, takes every drawing dropped into the data directory and outputs the Auto
// pages one after the other. SIGINT or SIGTERM closes it as the main window closes.
int RunStation(const std::vector<std::string>& words)
{
    const Args args(words, {"dir", "net"}, {"usb"});
    const auto dir = args.Value("dir");
    const auto net = args.Value("net");
    if (!args.error().empty() || !args.positional().empty() || (net && args.Flag("usb")))
        return WrongWords("station", args.error());
    std::string home;
    if (dir) {
        std::error_code ec;
        if (!std::filesystem::is_directory(*dir, ec)) {
            std::fprintf(stderr, "%s: no such directory\n", dir->c_str());
            return 2;
        }
        home = *dir;
    } else {
        const DataPlace place = ChooseDataPlace(ExecutableDirectory());
        if (!place.error.empty()) {
            std::fprintf(stderr, "quorvane-cli station: %s\n", place.error.c_str());
            return 1;
        }
        if (!place.besideProgram)
            PrintLine("the program's directory is not writable: its files are kept in %s", place.dir.c_str());
        home = place.dir;
    }

    // Every thread inherits the blocked signals; they arrive only through sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::optional<NetAddress> address;
    if (net && !(address = ParseMachineAddress(*net)))
        return 2;

    StderrNotifier notifier;
    LibusbBackend usb;
    ConsoleObserver observer;
    HeadlessOwner owner;
    OutputCentre centre(home, owner.Bridge(), notifier, usb, observer);
    observer.settings = &centre.Settings();

    // The centre's calls belong to its owner thread, from the first on.
    owner.Call([&] {
        if (args.Flag("usb"))
            centre.SetConnection(false);
        if (address) {
            centre.SetConnection(true);
            centre.SetMachineAddress(address->ip, address->port);
        }
        const CSettings& settings = centre.Settings();
        PrintLine("data directory %s", settings.DataDir.c_str());
        PrintLine("task list %s", settings.LastTaskPath.c_str());
        if (settings.ConnectViaNet != 0) {
            const auto ip = centre.Params().settings.machineIp;
            PrintLine("machine %u.%u.%u.%u:%u", ip[0], ip[1], ip[2], ip[3], address ? address->port : kMachineTcpPort);
        } else {
            PrintLine("machine on USB");
        }
        centre.Start();
    });
    std::jthread status([&centre](std::stop_token stop) { FollowStatus(stop, centre); });
    PrintLine("running");

    int signal = 0;
    sigwait(&stopSignals, &signal);
    PrintLine("closing");
    status.request_stop();
    status.join();
    owner.Close(centre);
    PrintLine("closed");
    return 0;
}

} // namespace qv::cli
