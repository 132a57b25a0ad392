#include "support/MachineRig.h"

#include "support/Bytes.h"

#include "link/JobRecords.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::Bytes;
using test::MachineRig;

struct Turn {
    std::vector<uint8_t> host;
    std::vector<uint8_t> reply;
};

// The exchanges the machine saw must be exactly these, in this order.
void ExpectChat(const MachineRig& rig, const std::vector<Turn>& script)
{
    const auto seen = rig.machine.Transcript();
    ASSERT_EQ(seen.size(), script.size());
    for (std::size_t i = 0; i < script.size(); ++i) {
        EXPECT_EQ(seen[i].host, script[i].host) << "host bytes of turn " << i;
        EXPECT_EQ(seen[i].reply, script[i].reply) << "machine reply of turn " << i;
    }
}

class OnBothChannels : public ::testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(Transport, OnBothChannels, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Ethernet" : "Usb"; });

TEST_P(OnBothChannels, PrimitivesFollowTheScript)
{
    MachineRig rig(GetParam());
    std::array<uint8_t, kReplyArea> buffer{};
    EXPECT_EQ(rig.commu.SendCmd(9), 0);
    EXPECT_EQ(rig.commu.ReadCmd(32, 4, buffer), 0);
    EXPECT_EQ(rig.commu.WriteCmd(16, {}), 0);
    ExpectChat(rig, {
                        {Bytes{0x02, 9}, Bytes{0x03, 4, 0}},
                        {Bytes{0x03, 32, 0x00}, Bytes{0x00, 0x19, 0xAA, 0x00}},
                        {Bytes{0x02, 16}, Bytes{0x03, 4, 0}}, // WriteCmd with n = 0: the bare command frame
                    });
    EXPECT_EQ(rig.state.status.load(), (MachineStatus{4, 0}));
    EXPECT_TRUE(rig.machine.Switches()[2]);
}

TEST_P(OnBothChannels, ReplyOfSevenBytesWhenEightAreAskedFails)
{
    MachineRig rig(GetParam());
    rig.Fault("short-reply@35x1");
    std::array<uint8_t, kReplyArea> buffer{};
    EXPECT_EQ(rig.commu.ReadCmd(35, 8, buffer), -1);
    EXPECT_EQ(rig.commu.ReadCmd(35, 8, buffer), 0);
}

TEST_P(OnBothChannels, BadAcknowledgementsAndTheirResults)
{
    struct Row {
        const char* name;
        const char* fault;
        bool write;
        int expected;
    };
    const Row rows[] = {
        {"SendCmd, first byte 0x02", "bad-first-byte@9x1", false, -2},
        {"WriteCmd, first byte 0x02", "bad-first-byte@9x1", true, -2},
        {"SendCmd, two-byte acknowledgement", "short-reply@9x1", false, -2},
        {"WriteCmd, two-byte acknowledgement", "short-reply@9x1", true, -1},
    };
    for (const Row& row : rows) {
        MachineRig rig(GetParam());
        rig.state.status = MachineStatus{99, 98};
        rig.Fault(row.fault);
        const uint8_t payload[] = {1};
        const int r = row.write ? rig.commu.WriteCmd(9, payload) : rig.commu.SendCmd(9);
        EXPECT_EQ(r, row.expected) << row.name;
        EXPECT_EQ(rig.state.status.load(), (MachineStatus{99, 98})) << row.name << ": status must stay";
    }
}

// Job data follows a job start on the same connection, as during a job.
void StartJob(MachineRig& rig)
{
    rig.state.jobThreadExists = true;
    ASSERT_EQ(rig.commu.WriteCmd(53, JobStartRecord{0, 0, 1}.Encode()), 0);
    rig.machine.ClearTranscript();
}

TEST(Transport, EthernetBulkGoesInAcknowledgedChunksOf400)
{
    struct Row {
        std::size_t length;
        std::size_t chunks;
    };
    // 3 bytes: a short job is sent whole, never taken for an abandoned stream.
    for (const Row row : {Row{401, 2}, Row{400, 1}, Row{3, 1}, Row{0, 0}}) {
        MachineRig rig(true);
        StartJob(rig);
        std::vector<uint8_t> data(row.length);
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<uint8_t>(i * 7 + 1);
        EXPECT_EQ(rig.commu.SendBulk(data), BulkResult::Sent) << row.length;
        const auto seen = rig.machine.Transcript();
        ASSERT_EQ(seen.size(), row.chunks) << row.length;
        for (std::size_t c = 0; c < seen.size(); ++c) {
            ASSERT_EQ(seen[c].kind, sim::SimExchange::Kind::BulkChunk);
            ASSERT_EQ(seen[c].host.size(), 400u);
            EXPECT_EQ(seen[c].reply, (Bytes{0x03, 12, 0}).vec());
            for (std::size_t i = 0; i < 400; ++i) {
                const std::size_t at = c * 400 + i;
                // The last chunk is padded with zeros past the data.
                ASSERT_EQ(seen[c].host[i], at < data.size() ? data[at] : 0) << "chunk " << c << " byte " << i;
            }
        }
        EXPECT_EQ(rig.server.ConnectionsAccepted(), 1);
    }
}

TEST(Transport, EthernetBulkStopsWhenAChunkSaysReady)
{
    MachineRig rig(true);
    StartJob(rig);
    rig.Fault("status4@bulk+1x1");
    const std::vector<uint8_t> data(1200, 0x5A);
    EXPECT_EQ(rig.commu.SendBulk(data), BulkResult::Abandoned);
    EXPECT_EQ(rig.machine.Transcript().size(), 2u);
    EXPECT_EQ(rig.state.status.load(), (MachineStatus{4, 0}));
}

TEST(Transport, UsbBulkIsOneTransferWithoutAcknowledgement)
{
    MachineRig rig(false);
    const std::vector<uint8_t> data(401, 0x33);
    EXPECT_EQ(rig.commu.SendBulk(data), BulkResult::Sent);
    const auto seen = rig.machine.Transcript();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, sim::SimExchange::Kind::Bulk);
    EXPECT_EQ(seen[0].host, data);
    EXPECT_TRUE(seen[0].reply.empty());
}

TEST(Transport, UsbOpensClaimsReleasesAndClosesAroundEveryTransfer)
{
    MachineRig rig(false);
    ASSERT_EQ(rig.commu.SendCmd(58), 0); // frame out, acknowledgement in: two cycles
    EXPECT_EQ(rig.device.opens, 2);
    EXPECT_EQ(rig.device.claims, 2);
    EXPECT_EQ(rig.device.releases, 2);
    EXPECT_EQ(rig.device.closes, 2);
    ASSERT_EQ(rig.commu.SendBulk(std::vector<uint8_t>(10, 1)), BulkResult::Sent);
    EXPECT_EQ(rig.device.opens, 3);
    EXPECT_EQ(rig.device.closes, 3);
}

TEST(Transport, UsbWithoutMachineFailsEveryPrimitive)
{
    MachineRig rig(false);
    rig.device.SetPlugged(false);
    std::array<uint8_t, kReplyArea> buffer{};
    EXPECT_EQ(rig.commu.SendCmd(58), -1);
    EXPECT_EQ(rig.commu.ReadCmd(32, 4, buffer), -1);
    EXPECT_EQ(rig.commu.WriteCmd(51, std::vector<uint8_t>(60)), -1);
    EXPECT_EQ(rig.commu.SendBulk(std::vector<uint8_t>(10)), BulkResult::Failed);
    EXPECT_EQ(rig.device.opens, 0);
    // Plugged in again, the machine is found without a restart.
    rig.device.SetPlugged(true);
    EXPECT_EQ(rig.commu.SendCmd(58), 0);
}

TEST(Transport, EthernetConnectionPerExchangeUnlessAJobRuns)
{
    MachineRig rig(true);
    ASSERT_EQ(rig.commu.SendCmd(58), 0);
    ASSERT_EQ(rig.commu.SendCmd(58), 0);
    EXPECT_EQ(rig.server.ConnectionsAccepted(), 2);
    EXPECT_FALSE(rig.commu.Eth().IsConnected());

    rig.state.jobThreadExists = true;
    ASSERT_EQ(rig.commu.SendCmd(58), 0);
    ASSERT_EQ(rig.commu.SendCmd(58), 0);
    std::array<uint8_t, kReplyArea> buffer{};
    ASSERT_EQ(rig.commu.ReadCmd(40, 4, buffer), 0);
    EXPECT_EQ(rig.server.ConnectionsAccepted(), 3);
    EXPECT_TRUE(rig.commu.Eth().IsConnected());
}

TEST(Transport, JobConnectionOutlivesARefusedRecordButNotASilentMachine)
{
    MachineRig rig(true);
    StartJob(rig);
    rig.Fault("short-reply@54x1");
    const auto segment = SegmentRecord{0, 0, kSegmentRaster}.Encode();
    EXPECT_EQ(rig.commu.WriteCmd(54, segment), -1);
    EXPECT_EQ(rig.commu.WriteCmd(54, segment), 0);
    EXPECT_EQ(rig.server.ConnectionsAccepted(), 1);

    // No answer within the bounded wait: a late one must not be taken for the next reply, so the
    // connection goes and the next exchange opens a fresh one.
    rig.Fault("no-ack@58x1");
    EXPECT_EQ(rig.commu.SendCmd(58), -1);
    EXPECT_FALSE(rig.commu.Eth().IsConnected());
    EXPECT_EQ(rig.commu.SendCmd(58), 0);
    EXPECT_EQ(rig.server.ConnectionsAccepted(), 2);
}

TEST(Transport, ChannelFollowsConnectViaNetAtEveryCall)
{
    MachineRig rig(true);
    ASSERT_EQ(rig.commu.SendCmd(58), 0);
    rig.EditOptions([](AppOptions& o) { o.ConnectViaNet = 0; });
    ASSERT_EQ(rig.commu.SendCmd(58), 0);
    rig.EditOptions([](AppOptions& o) { o.ConnectViaNet = 1; });
    ASSERT_EQ(rig.commu.SendCmd(58), 0);
    EXPECT_EQ(rig.server.ConnectionsAccepted(), 2);
    EXPECT_EQ(rig.device.opens, 2);
    EXPECT_EQ(rig.HostFrames().size(), 3u);
}

TEST(Transport, SilentMachineFailsTheExchangeInsteadOfHanging)
{
    MachineRig rig(true);
    rig.Fault("silent");
    EXPECT_EQ(rig.commu.SendCmd(58), -1);
    EXPECT_FALSE(rig.commu.Eth().IsConnected());
}

TEST(Transport, NoMachineAtTheAddressFails)
{
    MachineRig rig(true);
    rig.server.Stop();
    EXPECT_EQ(rig.commu.SendCmd(58), -1);
    EXPECT_EQ(rig.commu.SendBulk(std::vector<uint8_t>(10)), BulkResult::Failed);
    EXPECT_TRUE(rig.notifier.Texts().empty());
}

} // namespace
} // namespace qv
