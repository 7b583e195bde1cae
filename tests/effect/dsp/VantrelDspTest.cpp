#include <algorithm>
#include <cmath>
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "effect/EngineRig.hpp"
#include "effect/dsp/Biquad.hpp"
#include "effect/dsp/DistortionTable.hpp"

namespace
{

constexpr double rate = 44100.0;

// The main band alone as the engine runs it: the guarded low-pass at the cutoff with Q = reso.
std::vector<float> main_band(const std::vector<float>& x, double cutoff, double reso)
{
    Biquad f = make_biquad(Biquad::type_low_pass, cutoff, reso, 1.0, rate);
    std::vector<float> y(x.size());
    for (std::size_t pos = 0; pos < x.size(); pos += 64)
    {
        const int n = static_cast<int>(std::min<std::size_t>(64, x.size() - pos));
        f.process_block_guarded(y.data() + pos, x.data() + pos, n);
    }
    return y;
}

float exact(float u)
{
    return static_cast<float>(2.0 / std::numbers::pi * std::atan(u * std::numbers::pi / 2.0));
}

// Post or Pre, the right input connected or not, the right output connected or not, replacing or
// adding.
class RoutingPath : public testing::TestWithParam<std::tuple<bool, bool, bool, bool>>
{
};

std::vector<float> noise(std::size_t n, unsigned seed)
{
    std::vector<float> v(n);
    for (std::size_t i = 0; i < n; ++i)
    {
        seed = seed * 1664525u + 1013904223u;
        v[i] = static_cast<float>(static_cast<int>(seed >> 8) % 2001 - 1000) * 0.0008f;
    }
    return v;
}

} // namespace

// Beyond its parameters, which the module's own test reads as a host would: a stereo effect that
// takes a mono input, and the folder of its settings.
TEST(VantrelDsp, DescribesItselfToTheFrame)
{
    EngineRig rig;
    const VantrelDsp& d = *rig.dsp;
    EXPECT_EQ(d.use_in_bus(0).get_name(), "Input");
    EXPECT_EQ(d.use_in_bus(0).get_chn_name(1), "Right input");
    EXPECT_EQ(d.use_out_bus(0).get_chn_name(1), "Right output");
    EXPECT_THROW(d.use_in_bus(1), std::out_of_range);
    EXPECT_EQ(d.get_info_num("can_mono"), 1.0);
    EXPECT_EQ(d.get_info_str("plugin_category"), "effect");
    EXPECT_EQ(d.get_info_str("plugin_name_display"), "") << "no name of its own for display";
    EXPECT_EQ(d.get_settings_name(), "Tarvex/Morvane");
}

TEST(VantrelDsp, ProgramsLoadAndSaveNormalisedValues)
{
    EngineRig rig;
    std::vector<float> values;
    rig.dsp->save_prog(values);
    const auto defaults = testing::Pointwise(
        testing::FloatNear(1e-7f),
        std::vector<float>{0.5804820f, 0.0f, 0.0f, 0.0f, 1.0f, 0.25f, 0.5f, 0.5f});
    EXPECT_THAT(values, defaults);
    const std::vector<float> prog = {0.1f, 0.2f, 0.3f, 0.4f, 0.0f, 0.6f, 0.7f, 0.8f};
    rig.dsp->load_prog(prog);
    rig.dsp->save_prog(values);
    EXPECT_EQ(values, prog);
    EXPECT_NEAR(rig.dsp->use_param(EngineRig::reso).get_val(), std::pow(10.0, 0.4), 1e-6);

    rig.dsp->load_prog({std::nanf(""), 7.0f});
    rig.dsp->save_prog(values);
    EXPECT_EQ(values[0], 0.1f) << "NaN is ignored";
    EXPECT_EQ(values[1], 1.0f) << "out-of-range values are clamped";

    rig.dsp->start();
    rig.dsp->save_prog(values);
    EXPECT_THAT(values, defaults) << "start restores the defaults";
}

// Steps counted by how far a cutoff glide has moved, 64 samples each.
TEST(VantrelDsp, ControlStepRunsBeforeEachChunkThatBringsTheCounterTo64)
{
    EngineRig rig;
    rig.set(EngineRig::cutoff, 2000.0);
    const double per_step = 64.0 * 1000.0 / (0.1 * rate);
    auto steps = [&]
    { return std::lround((rig.dsp->use_cutoff_glide().get_value() - 1000.0) / per_step); };
    std::vector<float> x(100, 0.0f);
    rig.render(x, x, 100);
    EXPECT_EQ(steps(), 1) << "chunks 64 and 36";
    rig.render(x, x, 100);
    EXPECT_EQ(steps(), 3) << "counter 100 then 72";
    x.resize(55);
    rig.render(x, x, 55);
    EXPECT_EQ(steps(), 3) << "counter 8 + 55";
    x.resize(1);
    rig.render(x, x, 1);
    EXPECT_EQ(steps(), 4);

    std::vector<float> sentinel(4, 9.0f);
    float* outs[2] = {sentinel.data(), sentinel.data() + 2};
    float* ins[2] = {x.data(), x.data()};
    rig.dsp->process(outs, ins, 0, 0);
    EXPECT_EQ(steps(), 4) << "a block of 0 runs nothing";
    EXPECT_EQ(sentinel, std::vector<float>(4, 9.0f)) << "and writes nothing";
}

// The harmonic bands follow a cutoff or spacing glide from the step after the one that started it.
TEST(VantrelDsp, ChangesWaitForTheNextControlStepThenGlide69Steps)
{
    EngineRig rig;
    rig.set_settled(EngineRig::nbr_bands, 2.0);
    const auto band_freq = [&]
    { return rig.dsp->use_filter_stage().get_band_filter(0).get_freq(); };
    rig.set(EngineRig::cutoff, 2000.0);
    std::vector<float> x(64, 0.0f);
    rig.render(x, x, 64);
    EXPECT_GT(rig.dsp->get_main_filter(0).get_freq(), 1000.0f);
    EXPECT_EQ(band_freq(), 2000.0f) << "cutoff 1000 times spacing 2";
    int steps = 1;
    while (rig.dsp->use_cutoff_glide().get_value() != 2000.0 && steps < 200)
    {
        rig.render(x, x, 64);
        EXPECT_EQ(band_freq(), static_cast<float>(rig.dsp->use_cutoff_glide().get_value() * 2.0))
            << "step " << steps;
        // Designed with the bands while it glides, the main band is what it would design alone.
        const Biquad main = rig.dsp->get_main_filter(0);
        Biquad own = main;
        own.update();
        EXPECT_EQ(std::memcmp(&main.get_coefs(), &own.get_coefs(), sizeof(BiquadCoefs)), 0)
            << "step " << steps;
        ++steps;
    }
    EXPECT_EQ(steps, 69) << "0.1 s at 44100 Hz in steps of 64";
    EXPECT_EQ(rig.dsp->get_main_filter(0).get_freq(), 2000.0f);
    EXPECT_EQ(rig.dsp->get_main_filter(1).get_freq(), 2000.0f);

    rig.set(EngineRig::spacing, 3.0);
    rig.render(x, x, 64);
    EXPECT_EQ(band_freq(), 4000.0f) << "spacing retargeted, bands not yet moving";
    rig.render(x, x, 64);
    EXPECT_GT(band_freq(), 4000.0f);
}

TEST(VantrelDsp, ChangesBetweenTwoStepsAreReadOnceWithTheLatestValues)
{
    EngineRig rig;
    std::vector<float> x(64, 0.0f);
    rig.set(EngineRig::cutoff, 2000.0);
    rig.set(EngineRig::dist_gain, 5.0);
    rig.set(EngineRig::cutoff, 3000.0);
    rig.render(x, x, 64);
    EXPECT_EQ(rig.dsp->use_cutoff_glide().get_target(), 3000.0f);
    EXPECT_EQ(rig.dsp->use_gain_glide().get_target(), 5.0f);

    // A value stored without notification is read when another parameter raises the flag.
    rig.dsp->use_param(EngineRig::reso).set_val(7.0, 0);
    rig.render(x, x, 64);
    EXPECT_EQ(rig.dsp->use_reso_glide().get_target(), 1.0f);
    rig.set(EngineRig::spacing, 3.0);
    rig.render(x, x, 64);
    EXPECT_EQ(rig.dsp->use_reso_glide().get_target(), 7.0f);
}

TEST(VantrelDsp, HarmonicBandsStayBelowTheBoundOfTheRate)
{
    EngineRig rig;
    rig.set(EngineRig::nbr_bands, 16.0);
    rig.set_settled(EngineRig::spacing, 5.0);
    EXPECT_EQ(rig.dsp->use_filter_stage().get_nbr_proc_bands(), 4) << "0.475 * 44100 / 5000";
    rig.set_settled(EngineRig::spacing, 1.0);
    EXPECT_EQ(rig.dsp->use_filter_stage().get_nbr_proc_bands(), 15);
    EXPECT_EQ(rig.dsp->use_filter_stage().get_band_filter(14).get_freq(), 15000.0f);
    EXPECT_EQ(rig.dsp->use_filter_stage().get_band_filter(14).get_q(), 15.0f);
    rig.set_settled(EngineRig::nbr_bands, 1.0);
    EXPECT_EQ(rig.dsp->use_filter_stage().get_nbr_proc_bands(), 0) << "only the main band";
}

TEST_P(RoutingPath, MainBandThroughTheCurve)
{
    const auto [post, right_in, right_out, adding] = GetParam();
    EngineRig rig;
    rig.host.right_in = right_in;
    rig.host.right_out = right_out;
    rig.set(EngineRig::routing, post ? 1.0 : 0.0);
    rig.set(EngineRig::dist_gain, 3.0);
    rig.set(EngineRig::reso, 4.0);
    rig.set_settled(EngineRig::tone, 0.0);

    const std::size_t n = 2000;
    const std::vector<float> left = noise(n, 1);
    const std::vector<float> right = noise(n, 2);
    const float prior = adding ? EngineRig::added_to : 0.0f;
    const auto out =
        rig.render(left, right, 100, adding ? EngineRig::Io::add : EngineRig::Io::replace);

    // Reference: the main band at the cutoff, level 1/sqrt(2), through the curve.
    const bool stereo = right_in && right_out;
    std::vector<float> mono(n);
    for (std::size_t i = 0; i < n; ++i)
    {
        mono[i] = right_in ? (left[i] + right[i]) * 0.5f : left[i];
    }
    const std::vector<float> lp[2] = {main_band(stereo ? left : mono, 1000.0, 4.0),
                                      main_band(right, 1000.0, 4.0)};
    const DistortionTable& table = DistortionTable::get();
    const bool by_table = !stereo && !(adding && post);
    const float half = static_cast<float>(std::sqrt(0.5));
    for (int c = 0; c < (stereo ? 2 : 1); ++c)
    {
        for (std::size_t i = 0; i < n; ++i)
        {
            const float m = lp[c][i];
            const float shaped =
                post ? (by_table ? table.shape(3.0f * half * m) : exact(3.0f * half * m))
                     : half * (by_table ? table.shape(3.0f * m) : exact(3.0f * m));
            const float expected = shaped + prior;
            ASSERT_NEAR(out[c][i], expected, 1e-4) << "channel " << c << ", sample " << i;
        }
    }
    for (std::size_t i = 0; i < n; ++i)
    {
        if (!right_out)
        {
            ASSERT_EQ(out[1][i], prior) << "right output untouched, sample " << i;
        }
        else if (!right_in)
        {
            ASSERT_EQ(out[1][i], out[0][i]) << "right output follows the left, sample " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EightPathsTwoWays, RoutingPath,
                         testing::Combine(testing::Bool(), testing::Bool(), testing::Bool(),
                                          testing::Bool()),
                         [](const auto& info)
                         {
                             return std::string(std::get<0>(info.param) ? "Post" : "Pre") +
                                    (std::get<1>(info.param) ? "" : "_NoRightIn") +
                                    (std::get<2>(info.param) ? "" : "_NoRightOut") +
                                    (std::get<3>(info.param) ? "_Adding" : "");
                         });

TEST(VantrelDsp, StereoBankKeepsTheChannelsApart)
{
    EngineRig rig;
    rig.set(EngineRig::nbr_bands, 8.0);
    rig.set(EngineRig::evolution, 10.0);
    rig.set_settled(EngineRig::tone, 1.0);
    for (bool post : {true, false})
    {
        rig.set_settled(EngineRig::routing, post ? 1.0 : 0.0);
        const std::vector<float> left = sine(3000.0, rate, 8192, 0.5);
        const std::vector<float> silent(8192, 0.0f);
        const auto out = rig.render(left, silent);
        EXPECT_GT(amplitude(out[0], 4096), 0.01) << (post ? "Post" : "Pre");
        EXPECT_LT(amplitude(out[1], 4096), 1e-6) << (post ? "Post" : "Pre");
    }
}

// Non-finite input is taken as silence; finite input that drives the filters beyond the float
// range clears them. Either way the sound comes back.
TEST(VantrelDsp, BrokenInputIsSilencedAndTheSoundComesBack)
{
    const float inf = std::numeric_limits<float>::infinity();
    for (bool post : {true, false})
    {
        EngineRig rig;
        rig.set(EngineRig::nbr_bands, 16.0);
        rig.set(EngineRig::reso, 100.0);
        rig.set(EngineRig::evolution, 5.0);
        rig.set_settled(EngineRig::routing, post ? 1.0 : 0.0);
        std::vector<float> x = sine(1000.0, rate, 9000, 0.5);
        std::fill(x.begin() + 1000, x.begin() + 1300, std::nanf(""));
        x[3000] = inf;
        x[3001] = -inf;
        for (std::size_t i = 5000; i < 5200; ++i)
        {
            // Beyond the float range at the resonance, then in every band.
            x[i] = i < 5100 ? static_cast<float>(x[i] * 6e38) : (i % 2 ? 3e38f : -3e38f);
        }
        const auto out = rig.render(x, x, 100);
        EXPECT_TRUE(all_finite(out[0]) && all_finite(out[1])) << (post ? "Post" : "Pre");
        const std::vector<float> after(out[0].begin() + 1300,
                                       out[0].begin() + 1300 + VantrelDsp::control_interval);
        EXPECT_GT(amplitude(after, 0), 0.05) << "sound within one control step";
        for (std::size_t from : {3100, 8000})
        {
            const std::vector<float> later(out[0].begin() + from, out[0].begin() + from + 1000);
            EXPECT_GT(amplitude(later, 0), 0.05) << (post ? "Post" : "Pre") << ", from " << from;
        }
        EXPECT_TRUE(rig.dsp->get_main_filter(0).is_state_finite() &&
                    rig.dsp->get_main_filter(1).is_state_finite());
    }
}

// Hosts at 705.6 or 768 kHz, or a test rig at 2 kHz: the filters are designed at the host's rate,
// or every frequency would be off by the ratio.
TEST(VantrelDsp, RunsAtTheHostsRateBeyondTheSupportedRange)
{
    for (float host_rate : {2000.0f, 768000.0f})
    {
        EngineRig rig(host_rate);
        EXPECT_EQ(rig.dsp->get_sample_rate(), host_rate);
        EXPECT_EQ(rig.dsp->get_main_filter(0).get_sample_rate(), host_rate);
        const std::vector<float> x = sine(440.0, host_rate, 8192, 0.5);
        const auto out = rig.render(x, x);
        EXPECT_GT(amplitude(out[0], 4096), 0.01) << host_rate << " Hz";
        EXPECT_TRUE(all_finite(out[1])) << host_rate << " Hz";
    }
}

// The frame counts eight parameters before init creates them; reaching one then, or one beyond
// the list, is refused rather than read from an empty list.
TEST(VantrelDsp, DrivenOutOfOrderItStaysSound)
{
    VantrelDsp dsp;
    EXPECT_EQ(dsp.get_nbr_param(), 8);
    EXPECT_THROW(dsp.use_param(0), std::out_of_range);
    std::vector<float> x = sine(440.0, rate, 300);
    std::vector<float> y(600, 1.0f);
    float* ins[2] = {x.data(), x.data()};
    float* outs[2] = {y.data(), y.data() + 300};
    dsp.process(outs, ins, 300, 0);
    EXPECT_TRUE(all_finite(y)) << "before init";
    dsp.clear_buffers();
    dsp.set_sample_rate(1e9f);
    EXPECT_EQ(dsp.get_sample_rate(), VantrelDsp::highest_sample_rate);
    dsp.set_sample_rate(std::nanf(""));
    EXPECT_EQ(dsp.get_sample_rate(), VantrelDsp::highest_sample_rate);
    dsp.init();
    dsp.start();
    EXPECT_NO_THROW(dsp.use_param(7));
    EXPECT_THROW(dsp.use_param(8), std::out_of_range);
    dsp.process(outs, ins, 300, 0);
    dsp.stop();
    EXPECT_EQ(dsp.PluginInternal::get_nbr_param(), 0) << "stop empties the parameter list";
    dsp.process(outs, ins, 300, 0);
    EXPECT_TRUE(all_finite(y)) << "after stop";
}

TEST(VantrelDsp, AbsurdParameterValuesAreKeptInRange)
{
    EngineRig rig;
    rig.set(EngineRig::nbr_bands, 1e9);
    rig.set(EngineRig::evolution, -1e9);
    rig.set(EngineRig::spacing, 0.0);
    rig.dsp->use_param(EngineRig::reso).set_nrm_and_notify(std::nanf(""));
    rig.dsp->use_param(EngineRig::cutoff).set_nrm_and_notify(5.0f);
    const auto out = rig.render(noise(8192, 5), noise(8192, 6));
    EXPECT_TRUE(all_finite(out[0]));
    EXPECT_EQ(rig.dsp->use_filter_stage().get_delay(0),
              static_cast<int>(std::floor(0.75 * rate + 0.5)));
    EXPECT_EQ(rig.dsp->use_reso_glide().get_target(), 1.0f);
}

// Bands join after the bank ran with fewer, then leave; Post, then Pre. The baseline renders
// into separate buffers, then in place; then every wide version.
TEST(VantrelDsp, InPlaceBuffersAndTheWideKernelsRenderTheSameBits)
{
    const std::vector<const DspKernels*> versions = kernel_versions();
    const std::vector<float> left = noise(20000, 7);
    const std::vector<float> right = noise(20000, 8);
    std::vector<std::vector<float>> out[2];
    for (std::size_t i = 0; i <= versions.size(); ++i)
    {
        EngineRig r;
        r.dsp->set_kernels(i < 2 ? *versions[0] : *versions[i - 1]);
        r.set(EngineRig::evolution, 30.0);
        r.set(EngineRig::reso, 4.0);
        for (int c = 0; c < 2; ++c)
        {
            out[c].emplace_back();
        }
        for (const double bands : {4.0, 13.0, 2.0})
        {
            r.set(EngineRig::nbr_bands, bands);
            if (bands == 13.0)
            {
                r.set(EngineRig::routing, 0.0);
                r.set(EngineRig::tone, 0.8);
            }
            const auto part = r.render(left, right, 77,
                                       i == 1 ? EngineRig::Io::in_place : EngineRig::Io::replace);
            for (int c = 0; c < 2; ++c)
            {
                out[c][i].insert(out[c][i].end(), part[c].begin(), part[c].end());
            }
        }
    }
    for (int c = 0; c < 2; ++c)
    {
        EXPECT_EQ(out[c][1], out[c][0]) << "in place, channel " << c;
        for (std::size_t i = 2; i <= versions.size(); ++i)
        {
            EXPECT_EQ(out[c][i], out[c][0]) << versions[i - 1]->name << ", channel " << c;
        }
    }
    if (versions.size() == 1)
    {
        GTEST_SKIP() << "no AVX2 on this processor: the wide kernels were not compared";
    }
}
