#include "link/SleepUnlessStopped.h"

#include <gtest/gtest.h>

#include <thread>

namespace qv {
namespace {

using namespace std::chrono_literals;

TEST(SleepUnlessStopped, SleepsOutItsSpanWithoutAStop)
{
    std::stop_source source;
    EXPECT_TRUE(SleepUnlessStopped(source.get_token(), 1ms));
}

TEST(SleepUnlessStopped, AStopEndsItAtOnce)
{
    std::stop_source before;
    before.request_stop();
    EXPECT_FALSE(SleepUnlessStopped(before.get_token(), 1h)) << "a stop that came first";

    // A stop from another thread; were the pause not cut short, the test would wait an hour.
    bool slept = true;
    std::jthread sleeper([&](std::stop_token stop) { slept = SleepUnlessStopped(stop, 1h); });
    sleeper.request_stop();
    sleeper.join();
    EXPECT_FALSE(slept);
}

} // namespace
} // namespace qv
