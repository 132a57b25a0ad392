#include "Args.h"
#include "Commands.h"
#include "MachineLink.h"
#include "StderrNotifier.h"

#include "hpgl/CHpglFile.h"
#include "link/LibusbBackend.h"
#include "link/SleepUnlessStopped.h"
#include "tasks/TaskListRow.h"
#include "workflow/Station.h"
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

int Usage()
{
    std::fprintf(stderr, "usage: quorvane-cli station --dir EXEDIR [--net ADDR[:PORT] | --usb]\n");
    return 2;
}

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

// The events of the workflow as lines. `settings` is the station's, set once the station exists (no event
// comes before it starts).
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
        PrintLine("refused %s: %s%s", path.c_str(),
                  result == HpglLoadResult::BadSize ? "too small or too large" : "content rejected",
                  deleted ? ", file deleted" : "");
    }
    void PageStateChanged(std::size_t index, const COnePage& page, int32_t from) override
    {
        const TaskListRow row = MakeTaskListRow(page, index, settings->Language);
        PrintLine("page %s %s: %s -> %s", row.number.c_str(), row.name.c_str(),
                  PageStateText(from, settings->Language).c_str(), row.state.c_str());
    }
    void PagesRemoved(std::size_t count) override { PrintLine("removed %zu page%s", count, count == 1 ? "" : "s"); }
    void TaskListReloaded(std::size_t pages) override
    {
        PrintLine("reloaded %s: %zu page%s", settings->LastTaskPath.c_str(), pages, pages == 1 ? "" : "s");
    }
};

// The panel's status line as it changes: the link coming and going, READY with the head position, and a
// job's progress "Working...%d/%d".
void FollowStatus(std::stop_token stop, const Station& station)
{
    StatusLineChanges status(station.link, station.params, station.settings);
    do {
        if (const auto line = status.Next())
            PrintLine("status %s", line->c_str());
    } while (SleepUnlessStopped(stop, std::chrono::milliseconds(100)));
}

} // namespace

// quorvane-cli station --dir EXEDIR [--net ADDR[:PORT] | --usb]
// The output centre without a window, in EXEDIR as the program's directory: loads its settings, keeps the
// link, reloads the last task list, takes every drawing dropped into the data directory and outputs the Auto
// pages one after the other. SIGINT or SIGTERM closes it as the main window closes.
int RunStation(const std::vector<std::string>& words)
{
    const Args args(words, {"dir", "net"});
    const auto dir = args.Value("dir");
    const auto net = args.Value("net");
    if (!args.error().empty() || !args.positional().empty() || !dir || (net && args.Flag("usb")))
        return Usage();
    std::error_code ec;
    if (!std::filesystem::is_directory(*dir, ec)) {
        std::fprintf(stderr, "%s: no such directory\n", dir->c_str());
        return 2;
    }

    // Every thread inherits the blocked signals; they arrive only through sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    StderrNotifier notifier;
    LibusbBackend usb;
    ConsoleObserver observer;
    Station station(*dir, notifier, usb, observer);
    observer.settings = &station.settings;

    if (args.Flag("usb"))
        station.settings.ConnectViaNet = 0;
    if (net) {
        station.settings.ConnectViaNet = 1;
        if (!TakeMachineAddress(*net, station.params.settings, station.commu.Eth()))
            return 2;
    }
    PrintLine("data directory %s", station.settings.DataDir.c_str());
    PrintLine("task list %s", station.settings.LastTaskPath.c_str());
    if (station.settings.ConnectViaNet != 0) {
        const auto& ip = station.params.settings.machineIp;
        PrintLine("machine %u.%u.%u.%u:%u", ip[0], ip[1], ip[2], ip[3], station.commu.Eth().Port());
    } else {
        PrintLine("machine on USB");
    }

    station.Start();
    std::jthread status([&station](std::stop_token stop) { FollowStatus(stop, station); });
    PrintLine("running");

    int signal = 0;
    sigwait(&stopSignals, &signal);
    PrintLine("closing");
    status.request_stop();
    status.join();
    station.Close();
    PrintLine("closed");
    return 0;
}

} // namespace qv::cli
