// The owner's message loop and the two threads that drive the workflow.
#include "WorkflowFixtures.h"

#include "workflow/FileWatcherThread.h"
#include "workflow/FrameMessageLoop.h"
#include "workflow/TickThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>

namespace qv::test {
namespace {

using FM = FrameMessage;

// Keeps the messages sent to it, from any thread.
class RecordingBridge : public UiBridge {
public:
    void SendToFrame(FrameMessage message, intptr_t, intptr_t) override
    {
        const std::lock_guard lock(mutex);
        messages.push_back(message);
    }
    std::vector<FrameMessage> Messages()
    {
        const std::lock_guard lock(mutex);
        return messages;
    }
    std::mutex mutex;
    std::vector<FrameMessage> messages;
};

struct WatcherRun {
    bool lastFileExists;
    int autoDelFinish;
    int passes; // sleeps before AppStopping is set
};

std::vector<FrameMessage> RunWatcher(const WatcherRun& run)
{
    TempDir exe;
    CSettings settings;
    settings.LastTaskPath = exe.File("lastv901.ctask");
    AppOptions options;
    options.AutoDelFinish = run.autoDelFinish;
    settings.SetOptions(options);
    if (run.lastFileExists)
        WriteFile(settings.LastTaskPath, std::string(2, '\0'));
    RecordingBridge bridge;
    std::atomic<int> sleeps{0};
    FileWatcherThread watcher(settings, bridge, [&](std::chrono::milliseconds span) {
        EXPECT_EQ(span, FileWatcherThread::kTick);
        if (++sleeps == run.passes)
            settings.AppStopping = 1;
    });
    watcher.Start();
    EXPECT_TRUE(Eventually([&] { return !watcher.Running(); }));
    return bridge.Messages();
}

TEST(FileWatcherThread, ReloadsFirstThenPollsAndRemovesDonePagesEveryFourthPass)
{
    const auto poll = FM::WM_POLL_DATA_DIR, remove = FM::WM_REMOVE_DONE_PAGES;
    EXPECT_EQ(RunWatcher({true, 1, 9}), (std::vector<FM>{FM::WM_RELOAD_LAST_TASKS, poll, poll, poll, poll, remove, poll,
                                                         poll, poll, poll, remove, poll}));
    EXPECT_EQ(RunWatcher({false, 1, 4}), (std::vector<FM>{poll, poll, poll, poll, remove}))
        << "no reload without the file";
    EXPECT_EQ(RunWatcher({false, 0, 5}), (std::vector<FM>{poll, poll, poll, poll, poll})) << "AutoDelFinish off";
}

TEST(TickThread, AsksForADispatchOnlyWhileNoJobRunsAndTheProgramGoesOn)
{
    CSettings settings;
    LinkState link;
    RecordingBridge bridge;
    std::atomic<int> ticks{0};
    // Tick 1: idle; tick 2: a job runs; tick 3: idle; tick 4: stopping.
    TickThread tick(settings, link, bridge, [&](std::chrono::milliseconds) {
        const int n = ++ticks;
        link.jobThreadExists = n == 2;
        settings.AppStopping = n >= 4 ? 1 : 0;
        if (n > 5)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    tick.Start();
    ASSERT_TRUE(Eventually([&] { return ticks >= 6; }));
    tick.Stop();
    EXPECT_EQ(bridge.Messages(), (std::vector<FM>{FM::WM_DISPATCH_JOB, FM::WM_DISPATCH_JOB}));
}

TEST(FrameMessageLoop, SendsFromOtherThreadsAreHandledOnTheOwnerOneAtATime)
{
    std::thread::id owner;
    std::vector<std::thread::id> handledOn;
    int inside = 0, most = 0;
    FrameMessageLoop loop;
    loop.SetFrameHandler([&](FrameMessage, intptr_t, intptr_t) -> intptr_t {
        most = std::max(most, ++inside);
        handledOn.push_back(std::this_thread::get_id());
        --inside;
        return 0;
    });
    std::thread ownerThread([&] {
        owner = std::this_thread::get_id();
        loop.Run();
    });
    std::vector<std::thread> senders;
    for (int i = 0; i < 4; ++i) {
        senders.emplace_back([&] {
            for (int k = 0; k < 50; ++k)
                loop.SendToFrame(FM::WM_DISPATCH_JOB, 0, 0);
        });
    }
    for (auto& t : senders)
        t.join();
    // A send from the owner itself is handled at once, without waiting for itself.
    ASSERT_TRUE(loop.Call([&] { loop.SendToFrame(FM::WM_POLL_DATA_DIR, 0, 0); }));
    loop.Quit();
    ownerThread.join();
    EXPECT_EQ(handledOn.size(), 201u);
    EXPECT_EQ(most, 1);
    for (const auto& id : handledOn)
        EXPECT_EQ(id, owner);
}

TEST(FrameMessageLoop, QuitLetsWaitingSendersGoAndRefusesLaterWork)
{
    FrameMessageLoop loop;
    std::atomic<bool> returned{false};
    // Nobody runs the loop: the sender waits until the quit.
    std::thread sender([&] {
        loop.SendToFrame(FM::WM_JOB_FINISHED, 1, 0);
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned);
    loop.Quit();
    sender.join();
    EXPECT_TRUE(returned);
    bool ran = false;
    EXPECT_FALSE(loop.Call([&] { ran = true; }));
    EXPECT_FALSE(ran);
}

TEST(FrameMessageLoop, CloseAndWaitReturnsOnlyOnceTheWorkInHandHasEnded)
{
    FrameMessageLoop loop;
    std::thread ownerThread([&] { loop.Run(); });
    std::promise<void> started;
    std::atomic<bool> release{false}, ended{false}, closed{false};
    std::thread sender([&] {
        loop.Call([&] {
            started.set_value();
            while (!release)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ended = true;
        });
    });
    started.get_future().wait();
    std::thread closer([&] {
        loop.CloseAndWait();
        closed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(closed);
    release = true;
    closer.join();
    EXPECT_TRUE(ended);
    sender.join();
    loop.Quit();
    ownerThread.join();
}

} // namespace
} // namespace qv::test
