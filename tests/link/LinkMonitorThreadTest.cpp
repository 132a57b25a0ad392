#include "support/MachineRig.h"

#include "support/Bytes.h"

#include "link/CommandCodes.h"
#include "link/LinkMonitorThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace qv {
namespace {

using test::Bytes;
using test::MachineRig;

// Waits for a condition with a generous bound; the bound only stops a broken test, it is never a speed target.
bool WaitUntil(const std::function<bool()>& condition)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Times (machine clock, ms) at which frames starting with `start` arrived.
std::vector<int64_t> ArrivalsOf(const MachineRig& rig, const std::vector<uint8_t>& start)
{
    std::vector<int64_t> times;
    for (const sim::SimExchange& e : rig.machine.Transcript()) {
        if (e.kind == sim::SimExchange::Kind::Frame && e.host.size() >= start.size() &&
            std::equal(start.begin(), start.end(), e.host.begin()))
            times.push_back(e.timeMs);
    }
    return times;
}

struct MonitorRig : MachineRig {
    MonitorRig() : MachineRig(false, Defaults(), true) {}
    LinkMonitorThread monitor{protocol, state, queue, settings};
};

TEST(LinkMonitorThread, HandshakesThenPollsAfterEveryHundredAndTwoPasses)
{
    MonitorRig rig;
    rig.monitor.Start();
    ASSERT_TRUE(WaitUntil([&] { return rig.state.Connected.load(); }));
    ASSERT_TRUE(WaitUntil([&] { return ArrivalsOf(rig, Bytes{2, 58}).size() >= 3; }));
    rig.monitor.Stop();

    const auto frames = rig.HostFrames();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[0], (Bytes{3, 32, 0}).vec());
    EXPECT_EQ(frames[1], (Bytes{3, 33, 0}).vec());
    EXPECT_EQ(frames[2], (Bytes{3, 34, 0}).vec());
    const auto polls = ArrivalsOf(rig, Bytes{2, 58});
    // 102 passes of at least 2 ms each lie between two polls; the machine is ready, so each poll reads 35.
    for (std::size_t i = 1; i < polls.size(); ++i)
        EXPECT_GE(polls[i] - polls[i - 1], 200) << "between polls " << i - 1 << " and " << i;
    EXPECT_GE(ArrivalsOf(rig, Bytes{3, 35, 0}).size(), polls.size() - 1);
}

TEST(LinkMonitorThread, FailedHandshakeIsRetriedAfterAbout310Ms)
{
    MonitorRig rig;
    rig.Fault("no-ack@32");
    rig.monitor.Start();
    ASSERT_TRUE(WaitUntil([&] { return ArrivalsOf(rig, Bytes{3, 32, 0}).size() >= 3; }));
    EXPECT_FALSE(rig.state.Connected);
    const auto attempts = ArrivalsOf(rig, Bytes{3, 32, 0});
    for (std::size_t i = 1; i < attempts.size(); ++i)
        EXPECT_GE(attempts[i] - attempts[i - 1], 305) << "between attempts " << i - 1 << " and " << i;

    rig.machine.ClearFaults();
    EXPECT_TRUE(WaitUntil([&] { return rig.state.Connected.load(); }));
}

TEST(LinkMonitorThread, SendsQueuedCodesButNothingWhileAJobRuns)
{
    MonitorRig rig;
    rig.monitor.Start();
    ASSERT_TRUE(WaitUntil([&] { return rig.state.Connected.load(); }));

    // The flag is set while the monitor is stopped, so no pass begun before it can still reach the wire.
    rig.monitor.Stop();
    rig.state.jobThreadExists = true;
    const std::size_t before = rig.machine.Transcript().size();
    rig.monitor.Start();
    ASSERT_EQ(rig.queue.Append(cmd::kAirPumpOn), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(rig.machine.Transcript().size(), before);
    EXPECT_EQ(rig.queue.Count(), 1);

    rig.state.jobThreadExists = false;
    EXPECT_TRUE(WaitUntil([&] { return rig.machine.Switches()[2]; }));
    EXPECT_EQ(rig.queue.Count(), 0);
}

TEST(LinkMonitorThread, NoHandshakeWhileAJobRuns)
{
    // A poll that failed just as a job started leaves the link down while the job owns it.
    MonitorRig rig;
    rig.state.jobThreadExists = true;
    rig.monitor.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_TRUE(rig.HostFrames().empty());

    rig.state.jobThreadExists = false;
    EXPECT_TRUE(WaitUntil([&] { return rig.state.Connected.load(); }));
}

// A job whose cancel could not reach the machine (the cable pulled mid-transfer) leaves it waiting for data;
// the cancel goes first once the link is back, and only once.
TEST(LinkMonitorThread, AnOwedCancelGoesFirstOnceTheLinkIsBack)
{
    MonitorRig rig;
    rig.state.cancelOwed = true;
    rig.monitor.Start();
    ASSERT_TRUE(WaitUntil([&] { return ArrivalsOf(rig, Bytes{2, 58}).size() >= 2; }));
    rig.monitor.Stop();
    const auto frames = rig.HostFrames();
    ASSERT_GE(frames.size(), 4u);
    EXPECT_EQ(frames[3], (Bytes{2, 17}).vec()) << "after 32, 33, 34";
    EXPECT_EQ(ArrivalsOf(rig, Bytes{2, 17}).size(), 1u);
    EXPECT_FALSE(rig.state.cancelOwed);
}

TEST(LinkMonitorThread, FirstStartEmptiesTheQueue)
{
    MonitorRig rig;
    rig.queue.Append(cmd::kAirPumpOn);
    rig.monitor.Start();
    EXPECT_EQ(rig.queue.Count(), 0);
    rig.queue.Append(cmd::kFullCutKnifeOn);
    EXPECT_TRUE(WaitUntil([&] { return rig.machine.Switches()[0]; }));
    EXPECT_FALSE(rig.machine.Switches()[2]);
}

TEST(LinkMonitorThread, EndsOnAppStoppingAndOnStop)
{
    MonitorRig rig;
    rig.Fault("no-ack@32"); // keeps it in its 300 ms handshake pause
    rig.monitor.Start();
    EXPECT_TRUE(rig.monitor.Running());
    rig.settings.AppStopping = 1;
    EXPECT_TRUE(WaitUntil([&] { return !rig.monitor.Running(); }));

    rig.settings.AppStopping = 0;
    rig.monitor.Start();
    EXPECT_TRUE(rig.monitor.Running());
    rig.monitor.Stop();
    EXPECT_FALSE(rig.monitor.Running());
}

} // namespace
} // namespace qv
