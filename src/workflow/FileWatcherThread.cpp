#include "workflow/FileWatcherThread.h"

#include "app/CSettings.h"
#include "app/UiBridge.h"
#include "link/SleepUnlessStopped.h"

#include <filesystem>

namespace qv {

FileWatcherThread::FileWatcherThread(const CSettings& settings, UiBridge& frame, Sleeper sleep)
    : settings_(settings), frame_(frame), sleep_(std::move(sleep))
{
}

FileWatcherThread::~FileWatcherThread()
{
    Stop();
}

void FileWatcherThread::Start()
{
    if (running_)
        return;
    if (thread_.joinable())
        thread_.join();
    running_ = true;
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

void FileWatcherThread::Stop()
{
    if (!thread_.joinable())
        return;
    thread_.request_stop();
    thread_.join();
}

void FileWatcherThread::Run(std::stop_token stop)
{
    const auto running = [&] { return !stop.stop_requested() && settings_.AppStopping == 0; };
    std::error_code ec;
    if (running() && std::filesystem::exists(settings_.LastTaskPath, ec))
        frame_.SendToFrame(FrameMessage::WM_RELOAD_LAST_TASKS, 0, 0);
    int counted = 0;
    while (running()) {
        frame_.SendToFrame(FrameMessage::WM_POLL_DATA_DIR, 0, 0);
        if (settings_.autoDelFinish != 0 && ++counted == kPassesPerRemoval) {
            frame_.SendToFrame(FrameMessage::WM_REMOVE_DONE_PAGES, 0, 0);
            counted = 0;
        }
        if (sleep_)
            sleep_(kTick);
        else
            SleepUnlessStopped(stop, kTick);
    }
    running_ = false;
}

} // namespace qv
