// Morvane as a DAW sees it: the plug-in library loaded through its entry, its parameters as
// texts, and the eight built-in programs rendered through the real module.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "vst2host/Host.hpp"

namespace
{

class MorvaneModule : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.load(MORVANE_MODULE_PATH)) << host.get_error();
        ASSERT_TRUE(host.start(48000.0f, 256));
    }

    struct Level
    {
        double peak = 0.0;
        double rms = 0.0;
        bool finite = true;
    };

    // Runs blocks of 256 samples of input(n), the same on both channels, in place through the
    // current program; answers the level of the left output from block `from` on.
    Level render(int blocks, int from, const std::function<float(int)>& input)
    {
        std::vector<float> left(256);
        std::vector<float> right(256);
        float* io[] = {left.data(), right.data()};
        Level level;
        double sum = 0.0;
        for (int block = 0; block < blocks; ++block)
        {
            for (int i = 0; i < 256; ++i)
            {
                left[static_cast<std::size_t>(i)] = input(block * 256 + i);
                right[static_cast<std::size_t>(i)] = left[static_cast<std::size_t>(i)];
            }
            EXPECT_TRUE(host.process(io, io, 256));
            if (block < from)
            {
                continue;
            }
            for (const float v : left)
            {
                level.finite = level.finite && std::isfinite(v);
                level.peak = std::max(level.peak, static_cast<double>(std::fabs(v)));
                sum += static_cast<double>(v) * v;
            }
        }
        level.rms = std::sqrt(sum / ((blocks - from) * 256.0));
        return level;
    }

    vst2host::Host host;
};

} // namespace

TEST_F(MorvaneModule, ShowsItsEightParametersWithTheirTexts)
{
    const char* names[] = {"Cutoff Freq",  "Resonance",    "Nbr Bands", "Dist Gain",
                           "Dist Routing", "Band Spacing", "Evolution", "Tone"};
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ(host.get_param_name(i), names[i]);
    }
    EXPECT_EQ(host.get_param_label(0), "Hz");
    EXPECT_EQ(host.get_param_label(6), "ms");
    EXPECT_EQ(host.get_param_display(0), "1000") << "program Base: cutoff 1000 Hz";
    EXPECT_EQ(host.get_param_display(4), "Post");
    EXPECT_EQ(host.get_param_display(5), "2.000");

    ASSERT_TRUE(host.string_to_parameter(0, "440"));
    EXPECT_EQ(host.get_param_display(0), "440.0");
    ASSERT_TRUE(host.string_to_parameter(4, "Pre-dist"));
    EXPECT_EQ(host.get_param_display(4), "Pre");
    EXPECT_FALSE(host.string_to_parameter(4, "x"));

    char text[256] = "post";
    EXPECT_EQ(host.vendor_specific(27, 4, text, 0.0f), 0xBEEF);
    EXPECT_STREQ(text, "1.0000000");
    EXPECT_EQ(host.vendor_specific(7, 2, text, 0.5f), 0xBEEF);
    EXPECT_STREQ(text, "9") << "Nbr Bands at one half";

    const auto bands = host.get_parameter_properties(2);
    ASSERT_TRUE(bands.has_value());
    EXPECT_EQ(bands->flags, vst2::kVstParameterUsesIntegerMinMax);
    EXPECT_EQ(bands->minInteger, 1);
    EXPECT_EQ(bands->maxInteger, 16);
    const auto routing = host.get_parameter_properties(4);
    ASSERT_TRUE(routing.has_value());
    EXPECT_EQ(routing->flags, vst2::kVstParameterIsSwitch);
}

// Every built-in program is heard: finite, clearly audible, and not clipping wildly. One second
// of a chord after one second of settling.
TEST_F(MorvaneModule, EveryBuiltInProgramSounds)
{
    const auto chord = [](int n)
    {
        const double t = n / 48000.0;
        return static_cast<float>(0.2 * (std::sin(2 * std::numbers::pi * 110.0 * t) +
                                         std::sin(2 * std::numbers::pi * 164.8 * t) +
                                         std::sin(2 * std::numbers::pi * 220.0 * t)));
    };
    for (int program = 0; program < 8; ++program)
    {
        host.set_program(program);
        const Level level = render(2 * 48000 / 256, 48000 / 256, chord);
        const std::string name = host.get_program_name_indexed(program).value_or("?");
        EXPECT_TRUE(level.finite) << name;
        EXPECT_GT(20.0 * std::log10(level.rms), -50.0) << name << " is nearly silent";
        EXPECT_LT(level.peak, 2.0) << name;
    }
}

// With the right input unconnected, the right output repeats the left one.
TEST_F(MorvaneModule, MonoInputGivesTheSameSoundOnBothSides)
{
    host.stop();
    vst2host::Host mono;
    mono.set_input_connected(1, false);
    ASSERT_TRUE(mono.load(MORVANE_MODULE_PATH)) << mono.get_error();
    ASSERT_TRUE(mono.start(48000.0f, 128));
    mono.set_program(3);
    std::vector<float> in(128);
    std::vector<float> out_l(128);
    std::vector<float> out_r(128);
    float* ins[] = {in.data(), nullptr};
    float* outs[] = {out_l.data(), out_r.data()};
    for (int block = 0; block < 100; ++block)
    {
        for (int i = 0; i < 128; ++i)
        {
            in[static_cast<std::size_t>(i)] =
                0.5f * static_cast<float>(std::sin(0.05 * (block * 128 + i)));
        }
        ASSERT_TRUE(mono.process(ins, outs, 128));
        ASSERT_EQ(0, std::memcmp(out_l.data(), out_r.data(), 128 * sizeof(float)))
            << "block " << block;
    }
}
