#include "kel/Rounding.hpp"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(Rounding, HalvesGoUp)
{
    EXPECT_EQ(round_int(2.5), 3);
    EXPECT_EQ(round_int(3.5), 4);
    EXPECT_EQ(round_int(-2.5), -2);
    EXPECT_EQ(round_int(-0.5), 0);
    EXPECT_EQ(round_int(2.49), 2);
    EXPECT_EQ(round_int(-2.51), -3);
    EXPECT_EQ(round_int(0.49999999999999994), 0) << "x + 0.5 would round up to 1 in double";
    EXPECT_EQ(floor_int(2.99), 2);
    EXPECT_EQ(floor_int(-0.01), -1);
    EXPECT_EQ(floor_int(4.19), 4);
}

TEST(Rounding, NonFiniteAndHugeValuesAreSafe)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(round_int(nan), 0);
    EXPECT_EQ(floor_int(nan), 0);
    EXPECT_EQ(round_int(inf), INT_MAX);
    EXPECT_EQ(round_int(-inf), INT_MIN);
    EXPECT_EQ(floor_int(1e300), INT_MAX);
    EXPECT_EQ(floor_int(-1e300), INT_MIN);
}
