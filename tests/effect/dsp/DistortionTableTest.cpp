#include "effect/dsp/DistortionTable.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>

#include "effect/dsp/DspKernels.hpp"

namespace
{

const float inf = std::numeric_limits<float>::infinity();

} // namespace

// The curve 2/pi atan(pi/2 u): slope 1 at 0, 0.63909 at 1, rising towards 1. The table ends where
// a unit segment would rise by less than it can show; the kernels' exact curve has no end.
TEST(DistortionTable, CurveValuesAndEnds)
{
    EXPECT_NEAR(DistortionTable::shape_ref(1.0), 0.63909, 5e-6);
    EXPECT_EQ(DistortionTable::shape_ref(0.0), 0.0);
    EXPECT_NEAR((DistortionTable::shape_ref(1e-6) - DistortionTable::shape_ref(-1e-6)) / 2e-6, 1.0,
                1e-9)
        << "slope 1 at 0";
    EXPECT_GT(DistortionTable::shape_ref(1000.0), 0.999) << "the exact curve keeps rising";

    const DistortionTable& table = DistortionTable::get();
    EXPECT_NEAR(table.get_high_end(), 0.98734f, 5e-6);
    EXPECT_EQ(table.get_low_end(), -table.get_high_end());
    EXPECT_EQ(table.shape(32.6f), table.get_high_end());
    EXPECT_EQ(table.shape(1e30f), table.get_high_end());
    EXPECT_EQ(table.shape(-40.0f), table.get_low_end());
    EXPECT_EQ(table.shape(-inf), table.get_low_end());
    EXPECT_TRUE(std::isnan(table.shape(std::nanf(""))));

    float x[5] = {1.0f, -1.0f, 0.0f, inf, std::nanf("")};
    float y[5];
    float* dst[2] = {y, nullptr};
    const float* src[2] = {x, nullptr};
    DspKernels::get().shape_exact(dst, src, 1, static_cast<float>(std::numbers::pi / 2.0), 5);
    EXPECT_NEAR(y[0], 0.63909f, 5e-6);
    EXPECT_EQ(y[1], -y[0]);
    EXPECT_EQ(y[2], 0.0f);
    EXPECT_NEAR(y[3], 1.0f, 1e-7);
    EXPECT_EQ(y[4], 0.0f) << "the kernels silence NaN";
}

TEST(DistortionTable, TableFollowsTheCurve)
{
    // Unit segments are coarse where the curve bends most: about 0.016 within |u| < 1, below
    // 1e-3 from |u| = 3 on.
    const DistortionTable& table = DistortionTable::get();
    double worst = 0.0;
    double worst_outer = 0.0;
    for (int i = -320000; i <= 320000; ++i)
    {
        const float u = i * 1e-4f;
        const double err = std::abs(table.shape(u) - DistortionTable::shape_ref(u));
        worst = std::max(worst, err);
        if (std::abs(u) >= 3.0f)
        {
            worst_outer = std::max(worst_outer, err);
        }
    }
    EXPECT_LT(worst, 0.017);
    EXPECT_LT(worst_outer, 1e-3);
    // Continuous where segments meet.
    for (int k = -31; k < 32; ++k)
    {
        const float below = std::nextafter(static_cast<float>(k), -100.0f);
        EXPECT_NEAR(table.shape(below), table.shape(static_cast<float>(k)), 2e-5) << k;
    }

    float x[4] = {0.5f, -0.25f, std::nanf(""), 100.0f};
    float y[4];
    table.shape_block(y, x, 2.0f, 4);
    EXPECT_EQ(y[0], table.shape(1.0f)) << "a block applies the gain";
    EXPECT_EQ(y[1], table.shape(-0.5f));
    EXPECT_EQ(y[2], 0.0f) << "and silences NaN";
    EXPECT_EQ(y[3], table.get_high_end());
}
