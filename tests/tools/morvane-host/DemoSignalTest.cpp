#include "morvane-host/DemoSignal.hpp"

#include <cmath>
#include <gtest/gtest.h>

using namespace morvane_host;

namespace
{

// RMS of a span of one channel, in dBFS.
double window_dbfs(const std::vector<float>& samples, std::size_t from, std::size_t count)
{
    double energy = 0.0;
    for (std::size_t i = from; i < from + count; ++i)
        energy += static_cast<double>(samples[i]) * samples[i];
    return 10.0 * std::log10(energy / static_cast<double>(count) + 1e-30);
}

// The level of the signal after a one-pole low-pass (lows) or its complement (highs) at 200 Hz
// and 3 kHz: where the demo's energy lies.
double band_dbfs(const AudioData& audio, double corner, bool highs)
{
    const double a = std::exp(-2.0 * 3.141592653589793 * corner / audio.rate);
    double state = 0.0, energy = 0.0;
    for (const float sample : audio.channels[0])
    {
        state = (1.0 - a) * sample + a * state;
        const double out = highs ? sample - state : state;
        energy += out * out;
    }
    return 10.0 * std::log10(energy / static_cast<double>(audio.get_frames()));
}

} // namespace

using DemoSignal = testing::TestWithParam<int>;

TEST_P(DemoSignal, IsEightSecondsOfStereoPeakingAtMinus12WithLowsAndHighsThroughout)
{
    const int rate = GetParam();
    const AudioData demo = make_demo_signal(rate);
    EXPECT_EQ(demo.rate, rate);
    ASSERT_EQ(demo.channels.size(), 2u);
    EXPECT_EQ(demo.get_frames(), static_cast<std::size_t>(8 * rate)) << "eight seconds";
    EXPECT_NEAR(get_peak_dbfs(demo), -12.0, 0.001);
    EXPECT_NE(demo.channels[0], demo.channels[1]) << "the two sides differ";
    const auto quarter = static_cast<std::size_t>(rate / 4);
    for (std::size_t from = 0; from + quarter <= demo.get_frames(); from += quarter)
        EXPECT_GT(window_dbfs(demo.channels[0], from, quarter), -40.0)
            << "the quarter second from frame " << from;
    EXPECT_GT(band_dbfs(demo, 200.0, false), -40.0) << "bass and kick";
    EXPECT_GT(band_dbfs(demo, 3000.0, true), -50.0) << "hats, snare and open filter";
    EXPECT_EQ(make_demo_signal(rate).channels, demo.channels) << "the same on every run";
}

INSTANTIATE_TEST_SUITE_P(Rates, DemoSignal, testing::Values(44100, 48000, 96000));
