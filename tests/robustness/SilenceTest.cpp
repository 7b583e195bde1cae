// Silence after loud input: the filters ring out into digital silence without leaving denormal
// numbers in the output, and without non-finite samples, at the effect's most resonant settings.
// The time per block is for bench/robustness (SilenceBench); here only the numbers are checked.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

#include "plux/vst2/EffectRig.hpp"

namespace
{

class RobustnessSilence : public plux_test::EffectSourceTest
{
};

// Normalised values by parameter name: full resonance, all bands, strong distortion.
float ringing_value(const std::string& name)
{
    if (name == "Resonance" || name == "Nbr Bands" || name == "Band Spacing")
    {
        return 1.0f;
    }
    return name == "Cutoff Freq" ? 0.3f : 0.5f;
}

TEST_P(RobustnessSilence, LoudInputThenTenSecondsOfSilenceLeaveNoDenormals)
{
    constexpr int rate = 44100;
    constexpr int block = 512;
    ASSERT_TRUE(plux_test::load(host, GetParam())) << host.get_error();
    ASSERT_TRUE(host.start(rate, block));
    for (int i = 0; i < host.use_effect()->numParams; ++i)
    {
        host.set_parameter(i, ringing_value(host.get_param_name(i)));
    }
    plux_test::NoiseRunner runner(11, block);
    const int burst_blocks = rate / block;
    for (int b = 0; b < burst_blocks; ++b)
    {
        ASSERT_TRUE(runner.process_in_place(host, block));
    }

    int denormals = 0;
    int non_finite_blocks = 0;
    float first_peak = 0.0f;
    float last_peak = 0.0f;
    const int silence_blocks = 10 * rate / block;
    for (int b = 0; b < silence_blocks; ++b)
    {
        non_finite_blocks += runner.process_in_place(host, block, true) ? 0 : 1;
        float peak = 0.0f;
        for (const int chn : {0, 1})
        {
            for (const float s : runner.out(chn))
            {
                peak = std::max(peak, std::fabs(s));
                denormals += s != 0.0f && std::fabs(s) < std::numeric_limits<float>::min();
            }
        }
        first_peak = b < 8 ? std::max(first_peak, peak) : first_peak;
        last_peak = b >= silence_blocks - burst_blocks ? std::max(last_peak, peak) : last_peak;
    }
    EXPECT_GT(first_peak, 1.0e-3f) << "the filters ring on after the input stops";
    EXPECT_EQ(denormals, 0) << "no denormal number leaves the effect";
    EXPECT_EQ(non_finite_blocks, 0);
    EXPECT_LT(last_peak, 1.0e-5f) << "the tail has died away below -100 dBFS in the last second";
}

INSTANTIATE_TEST_SUITE_P(Effects, RobustnessSilence, testing::ValuesIn(plux_test::sound_sources()),
                         [](const auto& info) { return plux_test::to_string(info.param); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RobustnessSilence);

} // namespace
