#include "SimFaults.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

TEST(SimFaults, Parse)
{
    struct Row {
        const char* text;
        bool valid;
        FaultKind kind;
        int target;
        int skip;
        int count;
        uint8_t status = 4;
    };
    const Row rows[] = {
        {"no-ack", true, FaultKind::NoAck, SimFault::kAnyTarget, 0, -1},
        {"silent", true, FaultKind::NoAck, SimFault::kAnyTarget, 0, -1},
        {"short-reply@54x2", true, FaultKind::ShortReply, 54, 0, 2},
        {"status4@bulk+1x1", true, FaultKind::Status, SimFault::kBulkTarget, 1, 1},
        {"status17@40+2x1", true, FaultKind::Status, 40, 2, 1, 17},
        {"status0@40", true, FaultKind::Status, 40, 0, -1, 0},
        {"status256@40", false, {}, 0, 0, 0},
        {"status@40", false, {}, 0, 0, 0},
        {"bad-first-byte@58+3", true, FaultKind::BadFirstByte, 58, 3, -1},
        {"close@53", true, FaultKind::Close, 53, 0, -1},
        {"close@256", false, {}, 0, 0, 0},
        {"silent@58x1", false, {}, 0, 0, 0},
        {"no-ack@58x", false, {}, 0, 0, 0},
        {"explode", false, {}, 0, 0, 0},
    };
    for (const Row& row : rows) {
        const auto f = SimFault::Parse(row.text);
        ASSERT_EQ(f.has_value(), row.valid) << row.text;
        if (!f)
            continue;
        EXPECT_EQ(f->kind, row.kind) << row.text;
        EXPECT_EQ(f->target, row.target) << row.text;
        EXPECT_EQ(f->skip, row.skip) << row.text;
        EXPECT_EQ(f->count, row.count) << row.text;
        EXPECT_EQ(f->status, row.status) << row.text;
    }
}

TEST(SimFaults, StrikesAfterSkippingAndUntilUsedUp)
{
    FaultPlan plan;
    plan.Add(*SimFault::Parse("short-reply@54+1x2"));
    plan.Add(*SimFault::Parse("no-ack@bulk"));
    EXPECT_FALSE(plan.Strike(54));
    const auto kind = [&](int target) { return plan.Strike(target).value_or(SimFault{FaultKind::Close}).kind; };
    EXPECT_EQ(kind(54), FaultKind::ShortReply);
    EXPECT_FALSE(plan.Strike(55));
    EXPECT_EQ(kind(54), FaultKind::ShortReply);
    EXPECT_FALSE(plan.Strike(54));
    EXPECT_EQ(kind(SimFault::kBulkTarget), FaultKind::NoAck);
    EXPECT_EQ(kind(SimFault::kBulkTarget), FaultKind::NoAck);
}

} // namespace
} // namespace qv::sim
