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
    };
    const Row rows[] = {
        {"no-ack", true, FaultKind::NoAck, SimFault::kAnyTarget, 0, -1},
        {"silent", true, FaultKind::NoAck, SimFault::kAnyTarget, 0, -1},
        {"short-reply@54x2", true, FaultKind::ShortReply, 54, 0, 2},
        {"status4@bulk+1x1", true, FaultKind::Status4, SimFault::kBulkTarget, 1, 1},
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
    }
}

TEST(SimFaults, StrikesAfterSkippingAndUntilUsedUp)
{
    FaultPlan plan;
    plan.Add(*SimFault::Parse("short-reply@54+1x2"));
    plan.Add(*SimFault::Parse("no-ack@bulk"));
    EXPECT_FALSE(plan.Strike(54));
    EXPECT_EQ(plan.Strike(54), FaultKind::ShortReply);
    EXPECT_FALSE(plan.Strike(55));
    EXPECT_EQ(plan.Strike(54), FaultKind::ShortReply);
    EXPECT_FALSE(plan.Strike(54));
    EXPECT_EQ(plan.Strike(SimFault::kBulkTarget), FaultKind::NoAck);
    EXPECT_EQ(plan.Strike(SimFault::kBulkTarget), FaultKind::NoAck);
}

} // namespace
} // namespace qv::sim
