// Silence after loud input: the filters ring out into digital silence without leaving denormal
// numbers in the output, and without non-finite samples, at the effect's most resonant settings.
// The time per block is for bench/robustness (SilenceBench); here only the numbers are checked.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "RobustnessRig.hpp"
#include "vst2host/Host.hpp"

using robustness::EffectSource;

namespace
{

class RobustnessSilence : public testing::TestWithParam<EffectSource>
{
};

float peak_of(const std::vector<float>& samples)
{
    float peak = 0.0f;
    for (const float s : samples)
    {
        peak = std::max(peak, std::fabs(s));
    }
    return peak;
}

// Normalised values by parameter name: full resonance, all bands, strong distortion.
float ringing_value(const std::string& name)
{
    if (name == "Resonance" || name == "Nbr Bands" || name == "Band Spacing")
    {
        return 1.0f;
    }
    if (name == "Cutoff Freq")
    {
        return 0.3f;
    }
    return 0.5f;
}

TEST_P(RobustnessSilence, LoudInputThenTenSecondsOfSilenceLeaveNoDenormals)
{
    constexpr float rate = 44100.0f;
    constexpr int block = 512;
    vst2host::Host host;
    ASSERT_TRUE(robustness::load(host, GetParam())) << host.get_error();
    ASSERT_TRUE(host.start(rate, block));
    for (int i = 0; i < host.use_effect()->numParams; ++i)
    {
        host.set_parameter(i, ringing_value(host.get_param_name(i)));
    }

    std::vector<float> left(block);
    std::vector<float> right(block);
    float* io[] = {left.data(), right.data()};
    std::minstd_rand rng(11);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    const int burst_blocks = static_cast<int>(rate) / block;
    for (int b = 0; b < burst_blocks; ++b)
    {
        std::generate(left.begin(), left.end(), [&] { return noise(rng); });
        std::generate(right.begin(), right.end(), [&] { return noise(rng); });
        ASSERT_TRUE(host.process(io, io, block));
    }

    int denormals = 0;
    int non_finite_blocks = 0;
    float first_peak = 0.0f;
    float last_peak = 0.0f;
    const int silence_blocks = 10 * static_cast<int>(rate) / block;
    for (int b = 0; b < silence_blocks; ++b)
    {
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
        ASSERT_TRUE(host.process(io, io, block));
        denormals += robustness::count_denormals(left) + robustness::count_denormals(right);
        non_finite_blocks += robustness::all_finite(left) && robustness::all_finite(right) ? 0 : 1;
        const float peak = std::max(peak_of(left), peak_of(right));
        if (b < 8)
        {
            first_peak = std::max(first_peak, peak);
        }
        if (b >= silence_blocks - burst_blocks)
        {
            last_peak = std::max(last_peak, peak);
        }
    }
    EXPECT_GT(first_peak, 1.0e-3f) << "the filters ring on after the input stops";
    EXPECT_EQ(denormals, 0) << "no denormal number leaves the effect";
    EXPECT_EQ(non_finite_blocks, 0);
    EXPECT_LT(last_peak, 1.0e-5f) << "the tail has died away below -100 dBFS in the last second";
}

INSTANTIATE_TEST_SUITE_P(Effects, RobustnessSilence, testing::ValuesIn(robustness::sound_sources()),
                         [](const auto& info) { return robustness::to_string(info.param); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RobustnessSilence);

} // namespace
