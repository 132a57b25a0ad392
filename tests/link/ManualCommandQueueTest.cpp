#include "link/ManualCommandQueue.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace qv {
namespace {

TEST(ManualCommandQueue, FirstInFirstOutAcrossTheRingEnd)
{
    ManualCommandQueue q;
    for (uint8_t round = 0; round < 3; ++round) {
        EXPECT_EQ(q.Append(static_cast<uint8_t>(10 + round)), 0);
        EXPECT_EQ(q.Append(static_cast<uint8_t>(20 + round)), 0);
        EXPECT_EQ(q.Append(static_cast<uint8_t>(30 + round)), 0);
        EXPECT_EQ(q.Take(), 10 + round);
        EXPECT_EQ(q.Take(), 20 + round);
        EXPECT_EQ(q.Take(), 30 + round);
    }
    EXPECT_FALSE(q.Take());
}

TEST(ManualCommandQueue, SixthCodeIsRefusedAndLost)
{
    ManualCommandQueue q;
    for (uint8_t code = 1; code <= 5; ++code)
        EXPECT_EQ(q.Append(code), 0);
    EXPECT_EQ(q.Append(6), -1);
    EXPECT_EQ(q.Count(), 5);
    for (uint8_t code = 1; code <= 5; ++code)
        EXPECT_EQ(q.Take(), code);
    EXPECT_FALSE(q.Take());
    EXPECT_EQ(q.Append(7), 0);
    EXPECT_EQ(q.Take(), 7);
}

TEST(ManualCommandQueue, ClearEmptiesIt)
{
    ManualCommandQueue q;
    q.Append(1);
    q.Append(2);
    q.Clear();
    EXPECT_EQ(q.Count(), 0);
    EXPECT_FALSE(q.Take());
}

TEST(ManualCommandQueue, OneProducerOneConsumerKeepOrder)
{
    ManualCommandQueue q;
    constexpr int kCodes = 20000;
    std::vector<uint8_t> taken;
    std::thread consumer([&] {
        while (static_cast<int>(taken.size()) < kCodes) {
            if (const auto code = q.Take())
                taken.push_back(*code);
            else
                std::this_thread::yield();
        }
    });
    for (int i = 0; i < kCodes;) {
        if (q.Append(static_cast<uint8_t>(i % 251)) == 0)
            ++i;
        else
            std::this_thread::yield();
    }
    consumer.join();
    for (int i = 0; i < kCodes; ++i)
        ASSERT_EQ(taken[static_cast<std::size_t>(i)], i % 251) << "at " << i;
}

} // namespace
} // namespace qv
