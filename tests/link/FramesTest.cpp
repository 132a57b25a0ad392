#include "link/Frames.h"
#include "link/JobRecords.h"

#include "support/Bytes.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::vector<uint8_t> Vec(std::span<const uint8_t> s)
{
    return {s.begin(), s.end()};
}

TEST(Frames, HostFramesGoldenBytes)
{
    EXPECT_EQ(Vec(CommandFrame(58).View()), (test::Bytes{0x02, 58}).vec());
    EXPECT_EQ(Vec(ReadRequestFrame(34).View()), (test::Bytes{0x03, 34, 0x00}).vec());
    const uint8_t payload[] = {0xAA, 0xBB, 0xCC};
    EXPECT_EQ(Vec(WriteFrame(54, payload)->View()), (test::Bytes{0x05, 54, 0xAA, 0xBB, 0xCC}).vec());
    // A write without payload is the bare two-byte frame.
    EXPECT_EQ(Vec(WriteFrame(53, {})->View()), (test::Bytes{0x02, 53}).vec());
}

TEST(Frames, WritePayloadFitsTheSixtyFourByteArea)
{
    const std::vector<uint8_t> largest(62, 0x11);
    const auto frame = WriteFrame(51, largest);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->size, 64u);
    EXPECT_EQ(frame->bytes[0], 64);
    EXPECT_FALSE(WriteFrame(51, std::vector<uint8_t>(63, 0)));
}

TEST(Frames, AcknowledgementChecks)
{
    struct Row {
        const char* name;
        std::vector<uint8_t> reply;
        int received;
        AckFault fault;
    };
    const Row rows[] = {
        {"valid", {0x03, 12, 18}, 3, AckFault::None},       {"first byte 0x02", {0x02, 4, 0}, 3, AckFault::WrongMark},
        {"two bytes", {0x03, 4}, 2, AckFault::WrongLength}, {"four bytes", {0x03, 4, 0, 0}, 4, AckFault::WrongLength},
        {"transfer error", {}, -7, AckFault::WrongLength},
    };
    for (const Row& row : rows) {
        std::array<uint8_t, kReplyArea> area{};
        std::copy(row.reply.begin(), row.reply.end(), area.begin());
        const Ack ack = ParseAck(area, row.received);
        EXPECT_EQ(ack.fault, row.fault) << row.name;
        if (row.fault == AckFault::None) {
            EXPECT_EQ(ack.status, (MachineStatus{12, 18})) << row.name;
        }
    }
}

TEST(JobRecords, GoldenBytes)
{
    EXPECT_EQ(Vec(JobStartRecord{-2, 1500, 3}.Encode()), test::Bytes{}.I32(-2).I32(1500).U16(3).vec());
    EXPECT_EQ(Vec(SegmentRecord{1, 0x01020304, kSegmentKnife}.Encode()),
              (test::Bytes{0x01, 0x00, 0x04, 0x03, 0x02, 0x01, 'C'}).vec());
    EXPECT_EQ(Vec(JobHeader{2, 513}.Encode()), (test::Bytes{0, 0, 2, 0, 0x01, 0x02}).vec());

    const uint8_t progress[] = {0x2C, 0x01, 12, 18};
    const ProgressReply p = ProgressReply::Decode(progress);
    EXPECT_EQ(p.segmentsDone, 300);
    EXPECT_EQ(p.status, (MachineStatus{12, 18}));

    const auto position = test::Bytes{}.I32(-5).I32(70000).vec();
    EXPECT_EQ(DecodePosition(std::span<const uint8_t, 8>(position.data(), 8)), (MachinePoint{-5, 70000}));
    const uint8_t version[] = {0x00, 0x19, 0xAA, 0x00};
    EXPECT_EQ(DecodeVersion(version), 0x00AA1900u);
}

} // namespace
} // namespace qv
