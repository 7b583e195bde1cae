#include "sys/Clock.hpp"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>

#include "sys/ManualClock.hpp"

namespace
{

// The system's clock, which the parameter holds count in whole milliseconds from any thread.
TEST(Clock, TheSystemsCountsWholeMillisecondsForward)
{
    const sys::ClockInterface& clock = sys::use_system_clock();
    double last = clock.get_time_s();
    for (int i = 0; i < 1000; ++i)
    {
        const double now = clock.get_time_s();
        ASSERT_GE(now, last) << "the clock never goes back";
        const double ms = now * 1000.0;
        ASSERT_NEAR(ms, std::round(ms), 1e-3) << "whole milliseconds";
        last = now;
    }
    // A test of the real clock: only real time can show its unit.
    const double before = clock.get_time_s();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const double slept = clock.get_time_s() - before;
    EXPECT_GE(slept, 0.025) << "it counts seconds, not another unit";
    EXPECT_LT(slept, 30.0);
}

TEST(Clock, ATestClockTakesItsPlaceForItsLifetime)
{
    EXPECT_EQ(&sys::use_clock(), &sys::use_system_clock());
    {
        test::ManualClock outer(5.0);
        EXPECT_DOUBLE_EQ(sys::get_time_s(), 5.0);
        {
            test::ManualClock inner;
            inner.advance(0.25);
            EXPECT_DOUBLE_EQ(sys::get_time_s(), 1000.25);
        }
        outer.advance(0.0004);
        EXPECT_DOUBLE_EQ(sys::get_time_s(), 5.0) << "whole milliseconds, and the outer clock again";
    }
    EXPECT_EQ(&sys::use_clock(), &sys::use_system_clock());
}

} // namespace
