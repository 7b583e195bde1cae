#include "sys/Clock.hpp"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>

namespace
{

// The parameter holds count whole milliseconds of this clock from whatever thread asks.
TEST(Clock, CountsWholeMillisecondsForward)
{
    double last = sys::get_time_s();
    for (int i = 0; i < 1000; ++i)
    {
        const double now = sys::get_time_s();
        ASSERT_GE(now, last) << "the clock never goes back";
        const double ms = now * 1000.0;
        ASSERT_NEAR(ms, std::round(ms), 1e-3) << "whole milliseconds";
        last = now;
    }
    const double before = sys::get_time_s();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const double slept = sys::get_time_s() - before;
    EXPECT_GE(slept, 0.025) << "it counts seconds, not another unit";
    EXPECT_LT(slept, 30.0);
}

} // namespace
