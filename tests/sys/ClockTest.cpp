#include "sys/Clock.hpp"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>

#include "sys/ManualClock.hpp"

// The system's clock, which the parameter holds count in whole milliseconds from any thread, read
// against the standard library's steady clock while it counts 30 of them: only real time can show
// its unit.
TEST(Clock, TheSystemsCountsWholeMillisecondsForward)
{
    const sys::ClockInterface& clock = sys::use_system_clock();
    const auto start = std::chrono::steady_clock::now();
    const double first = clock.get_time_s();
    double now = first;
    while (now < first + 0.03 && std::chrono::steady_clock::now() - start < std::chrono::seconds(1))
    {
        const double last = now;
        now = clock.get_time_s();
        ASSERT_GE(now, last) << "the clock never goes back";
        ASSERT_NEAR(now * 1000.0, std::round(now * 1000.0), 1e-3) << "whole milliseconds";
        // Read between two precise readings: never ahead of the clock, at most a tick behind.
        const double coarse = clock.get_coarse_time_s();
        ASSERT_LE(coarse, clock.get_time_s());
        ASSERT_GE(coarse, now - 0.0105);
        ASSERT_NEAR(coarse * 1000.0, std::round(coarse * 1000.0), 1e-3);
    }
    const std::chrono::duration<double> counted = std::chrono::steady_clock::now() - start;
    EXPECT_GE(counted.count(), 0.029) << "it counts seconds, not another unit";
    EXPECT_LT(counted.count(), 0.5) << "it counts seconds, not another unit";
}

TEST(Clock, ATestClockTakesItsPlaceForItsLifetime)
{
    EXPECT_EQ(&sys::use_clock(), &sys::use_system_clock());
    {
        test::ManualClock outer(5.0);
        {
            test::ManualClock inner;
            EXPECT_EQ(&sys::use_clock(), &inner);
        }
        EXPECT_EQ(&sys::use_clock(), &outer) << "the clock it replaced comes back";
        EXPECT_DOUBLE_EQ(sys::get_time_s(), 5.0);
        EXPECT_DOUBLE_EQ(sys::get_coarse_time_s(), 5.0) << "the cheap reading follows it too";
    }
    EXPECT_EQ(&sys::use_clock(), &sys::use_system_clock());
}
