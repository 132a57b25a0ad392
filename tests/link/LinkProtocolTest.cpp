#include "support/MachineRig.h"

#include "support/Bytes.h"
#include "support/TempDir.h"

#include "app/AtomicFile.h"
#include "link/CommandCodes.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::Bytes;
using test::MachineRig;

constexpr const char* kIncompatible = "输出中心版本与主板软件不兼容，请升级输出中心";

// The machine's parameter file: its records differ from the start-up values and carry bytes of their own in
// the tails the host does not use.
std::string MachineRecords()
{
    MachineParams p;
    p.advanced.xPulsesPerMm = 80.5;
    p.advanced.inkjetIntervalPulses = 20;
    p.settings.cartridgeType = Cartridge::IUT308;
    p.settings.fullCutOffsetX = -33;
    auto a = p.advanced.Encode();
    auto s = p.settings.Encode();
    a[39] = 0xA7;
    s[59] = 0x5E;
    return std::string(a.begin(), a.end()) + std::string(s.begin(), s.end());
}

sim::SimOptions WithParamFile(const std::string& path)
{
    sim::SimOptions o = MachineRig::Defaults();
    o.paramFile = path;
    return o;
}

TEST(LinkProtocol, HandshakeTakesTheMachinesRecords)
{
    test::TempDir dir;
    const std::string file = dir.File("machine.bin");
    ASSERT_TRUE(WriteFileAtomically(file, MachineRecords()));
    MachineRig rig(true, WithParamFile(file));
    ASSERT_EQ(rig.protocol.Handshake(), 0);
    EXPECT_EQ(rig.state.firmwareVersion, 0x00AA1900u);
    const MachineParams p = rig.params.Get();
    EXPECT_EQ(p.advanced.xPulsesPerMm, 80.5);
    EXPECT_EQ(p.advanced.inkjetIntervalPulses, 20);
    EXPECT_EQ(p.settings.cartridgeType, Cartridge::IUT308);
    EXPECT_EQ(p.settings.fullCutOffsetX, -33);
    EXPECT_EQ(p.settings.machineIp, rig.address);
    EXPECT_EQ(rig.HostFrames(), (std::vector<std::vector<uint8_t>>{Bytes{3, 32, 0}, Bytes{3, 33, 0}, Bytes{3, 34, 0}}));
    EXPECT_FALSE(rig.state.Connected) << "the caller sets Connected";
}

TEST(LinkProtocol, FirmwareVersionCheck)
{
    struct Row {
        const char* name;
        uint32_t firmware;
        int result;
        std::vector<std::string> messages;
    };
    const Row rows[] = {
        {"the compatible version", 0x00AA1900, 0, {}},
        {"one above: incompatible, told", 0x00AA1901, -1, {kIncompatible}},
        {"family bits missing: silent", 0x00A81900, -1, {}},
    };
    for (const Row& row : rows) {
        sim::SimOptions o = MachineRig::Defaults();
        o.firmware = row.firmware;
        MachineRig rig(false, o);
        EXPECT_EQ(rig.protocol.Handshake(), row.result) << row.name;
        EXPECT_EQ(rig.protocol.Handshake(), row.result) << row.name;
        EXPECT_EQ(rig.notifier.Texts(), row.messages) << row.name << ": told once, not at every retry";
        EXPECT_EQ(rig.HostFrames().size(), row.result == 0 ? 6u : 2u) << row.name;
    }
}

TEST(LinkProtocol, ShortRecordFailsTheHandshakeAndKeepsTheHostCopy)
{
    MachineRig rig(false);
    rig.Fault("short-reply@33");
    rig.EditParams([](MachineParams& p) { p.advanced.curveSpeed = 44; });
    const MachineParams before = rig.params.Get();
    EXPECT_EQ(rig.protocol.Handshake(), -1);
    EXPECT_EQ(rig.params.Get().advanced, before.advanced);
    EXPECT_EQ(rig.params.Get().settings, before.settings);
    EXPECT_TRUE(rig.notifier.Texts().empty());
}

TEST(LinkProtocol, SaveSendsTheRecordsAndKeepsTheMachinesTailBytes)
{
    test::TempDir dir;
    const std::string file = dir.File("machine.bin");
    ASSERT_TRUE(WriteFileAtomically(file, MachineRecords()));
    MachineRig rig(false, WithParamFile(file));
    ASSERT_EQ(rig.protocol.Handshake(), 0);
    rig.EditParams([](MachineParams& p) {
        p.advanced.curveSpeed = 9;
        p.settings.plotLineWidth = 4;
    });
    EXPECT_EQ(rig.protocol.SaveRecord(cmd::kSaveAdvanced), 0);
    EXPECT_EQ(rig.protocol.SaveRecord(cmd::kSaveSettings), 0);
    const auto frames = rig.HostFrames();
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[3].size(), 42u);
    EXPECT_EQ(frames[4].size(), 62u);

    std::string stored;
    ASSERT_TRUE(ReadWholeFile(file, stored));
    ASSERT_EQ(stored.size(), 100u);
    EXPECT_EQ(static_cast<uint8_t>(stored[30]), 9);
    EXPECT_EQ(static_cast<uint8_t>(stored[39]), 0xA7);
    EXPECT_EQ(static_cast<uint8_t>(stored[40 + 38]), 4);
    EXPECT_EQ(static_cast<uint8_t>(stored[40 + 59]), 0x5E);
    EXPECT_TRUE(rig.notifier.Texts().empty());
}

TEST(LinkProtocol, FailedSaveIsTold)
{
    MachineRig rig(false);
    rig.EditOptions([](AppOptions& o) { o.Language = 1; });
    rig.Fault("short-reply@51");
    EXPECT_EQ(rig.protocol.SaveRecord(cmd::kSaveSettings), -1);
    EXPECT_EQ(rig.notifier.Texts(), std::vector<std::string>{"Failed To Save Parameter!"});
}

TEST(LinkProtocol, SetStartPointGoesTwiceWithOneMessage)
{
    MachineRig rig(true);
    rig.protocol.Dispatch(cmd::kSetStartPoint, CommandSender::LinkMonitor);
    EXPECT_EQ(rig.HostFrames(), (std::vector<std::vector<uint8_t>>{Bytes{2, 11}, Bytes{2, 11}}));
    EXPECT_EQ(rig.notifier.Texts(), std::vector<std::string>{"设置起点成功"});
}

TEST(LinkProtocol, DispatchRulesOfMonitorAndJobThread)
{
    struct Row {
        const char* name;
        CommandSender sender;
        uint8_t code;
        std::vector<uint8_t> firstFrameStart; // empty: nothing on the wire
    };
    const Row rows[] = {
        {"monitor: jog", CommandSender::LinkMonitor, 3, Bytes{2, 3}},
        {"monitor: any code up to 31", CommandSender::LinkMonitor, 31, Bytes{2, 31}},
        {"monitor: 50 saves AdvancedParams", CommandSender::LinkMonitor, 50, Bytes{42, 50}},
        {"monitor: 51 saves MachineSettings", CommandSender::LinkMonitor, 51, Bytes{62, 51}},
        {"monitor: 40 dropped", CommandSender::LinkMonitor, 40, {}},
        {"job: pause", CommandSender::JobThread, 18, Bytes{2, 18}},
        {"job: 19 dropped", CommandSender::JobThread, 19, {}},
        {"job: 50 dropped", CommandSender::JobThread, 50, {}},
        {"job: 51 saves MachineSettings", CommandSender::JobThread, 51, Bytes{62, 51}},
    };
    for (const Row& row : rows) {
        MachineRig rig(false);
        rig.protocol.Dispatch(row.code, row.sender);
        const auto frames = rig.HostFrames();
        if (row.firstFrameStart.empty()) {
            EXPECT_TRUE(frames.empty()) << row.name;
            continue;
        }
        ASSERT_EQ(frames.size(), 1u) << row.name;
        EXPECT_EQ(std::vector<uint8_t>(frames[0].begin(), frames[0].begin() + 2), row.firstFrameStart) << row.name;
    }
}

TEST(LinkProtocol, JobThreadSetsTheStartPointOnceWithoutMessage)
{
    MachineRig rig(false);
    rig.protocol.Dispatch(cmd::kSetStartPoint, CommandSender::JobThread);
    EXPECT_EQ(rig.HostFrames().size(), 1u);
    EXPECT_TRUE(rig.notifier.Texts().empty());
}

TEST(LinkProtocol, UsbPollToleratesThreeFailures)
{
    MachineRig rig(false);
    rig.state.Connected = true;
    rig.state.status = MachineStatus{4, 0};
    rig.Fault("no-ack@58x4");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rig.protocol.StatusPoll(), -1);
        EXPECT_TRUE(rig.state.Connected) << "failure " << i + 1;
    }
    EXPECT_EQ(rig.protocol.StatusPoll(), -1);
    EXPECT_FALSE(rig.state.Connected);
    EXPECT_EQ(rig.state.status.load().type, 0);
}

TEST(LinkProtocol, UsbFailureCountRestartsAfterASuccess)
{
    MachineRig rig(false);
    rig.state.Connected = true;
    rig.Fault("no-ack@58x3");
    rig.Fault("no-ack@58+1x3");
    for (int i = 0; i < 3; ++i)
        rig.protocol.StatusPoll();
    EXPECT_EQ(rig.protocol.StatusPoll(), 0);
    for (int i = 0; i < 3; ++i)
        rig.protocol.StatusPoll();
    EXPECT_TRUE(rig.state.Connected);
}

TEST(LinkProtocol, EthernetPollFailureDisconnectsAtOnce)
{
    MachineRig rig(true);
    rig.state.Connected = true;
    rig.state.status = MachineStatus{4, 0};
    rig.Fault("bad-first-byte@58x1");
    EXPECT_EQ(rig.protocol.StatusPoll(), -1);
    EXPECT_FALSE(rig.state.Connected);
    EXPECT_EQ(rig.state.status.load().type, 0);
}

TEST(LinkProtocol, PollReadsTheHeadPositionOnlyWhenReady)
{
    MachineRig rig(false);
    rig.state.Connected = true;
    ASSERT_EQ(rig.commu.SendCmd(cmd::kJogRight), 0);
    rig.clock.Advance(100); // 20 mm/s for 0.1 s
    ASSERT_EQ(rig.commu.SendCmd(cmd::kStopJog), 0);
    rig.machine.ClearTranscript();
    EXPECT_EQ(rig.protocol.StatusPoll(), 0);
    EXPECT_EQ(rig.HostFrames(), (std::vector<std::vector<uint8_t>>{Bytes{2, 58}, Bytes{3, 35, 0}}));
    EXPECT_EQ(rig.state.headPosition.load(), (MachinePoint{208, 0})); // trunc(2 mm x 104.25)

    ASSERT_EQ(rig.commu.SendCmd(cmd::kCleanHeads), 0);
    rig.machine.ClearTranscript();
    EXPECT_EQ(rig.protocol.StatusPoll(), 0);
    EXPECT_EQ(rig.state.status.load(), (MachineStatus{10, 0}));
    EXPECT_EQ(rig.HostFrames().size(), 1u);
}

TEST(LinkProtocol, StartPointReadRetries)
{
    MachineRig rig(false);
    ASSERT_EQ(rig.commu.SendCmd(cmd::kJogUp), 0);
    rig.clock.Advance(50);
    ASSERT_EQ(rig.commu.SendCmd(cmd::kStopJog), 0);
    ASSERT_EQ(rig.commu.SendCmd(cmd::kSetStartPoint), 0);
    rig.machine.ClearTranscript();
    rig.Fault("no-ack@36x2");
    const auto reading = rig.protocol.ReadStartPoint();
    ASSERT_TRUE(reading);
    EXPECT_EQ(*reading, (MachinePoint{0, 104}));
    EXPECT_EQ(rig.state.startPoint.load(), *reading);
    EXPECT_EQ(rig.HostFrames().size(), 3u);
    EXPECT_TRUE(rig.notifier.Texts().empty());
}

TEST(LinkProtocol, StartPointUnreadableAfterThreeAttempts)
{
    MachineRig rig(false);
    rig.EditOptions([](AppOptions& o) { o.Language = 1; });
    rig.Fault("short-reply@36x3");
    EXPECT_FALSE(rig.protocol.ReadStartPoint());
    EXPECT_EQ(rig.HostFrames().size(), 3u);
    EXPECT_EQ(rig.notifier.Texts(), std::vector<std::string>{"Commu Error"});
}

TEST(LinkProtocol, ProgressReadStoresCountAndStatus)
{
    MachineRig rig(false);
    rig.state.status = MachineStatus{4, 0};
    const auto progress = rig.protocol.ReadProgress();
    ASSERT_TRUE(progress);
    EXPECT_EQ(progress->segmentsDone, 0);
    EXPECT_EQ(rig.state.status.load(), (MachineStatus{4, 0}));
    rig.Fault("short-reply@40x1");
    rig.state.progressCount = 9;
    EXPECT_FALSE(rig.protocol.ReadProgress());
    EXPECT_EQ(rig.state.progressCount, 9);
}

} // namespace
} // namespace qv
