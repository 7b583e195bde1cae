#include "effect/dsp/FilterTapStage.hpp"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <span>
#include <utility>
#include <vector>

#include "effect/EngineRig.hpp"

namespace
{

// Runs the stage alone on src in both channels, one control step per 64 samples, and appends
// what it renders to out.
void run_stage(FilterTapStage& stage, std::span<const float> src, std::vector<float> (&out)[2])
{
    for (std::size_t pos = 0; pos < src.size(); pos += 64)
    {
        const std::size_t n = std::min<std::size_t>(64, src.size() - pos);
        stage.control_step(64);
        float rendered[2][64];
        const float* s[2] = {src.data() + pos, src.data() + pos};
        float* d[2] = {rendered[0], rendered[1]};
        stage.process(d, s, static_cast<int>(n));
        for (int c = 0; c < 2; ++c)
        {
            out[c].insert(out[c].end(), rendered[c], rendered[c] + n);
        }
    }
}

void use_bands(FilterTapStage& stage, int nbr, float freq)
{
    stage.set_nbr_proc_bands(nbr);
    stage.set_nbr_full_bands(nbr);
    stage.set_nbr_target_bands(nbr);
    for (int i = 0; i < nbr; ++i)
    {
        stage.set_band_freq(freq * (i + 1), i);
        stage.set_band_q(static_cast<float>(i + 1), i);
    }
}

class StageAtRate : public testing::TestWithParam<float>
{
};

} // namespace

// Band i waits i times Evolution in ms; a negative Evolution counts from the last band, so that
// the first waits longest: 750 ms.
TEST_P(StageAtRate, BandDelaysFollowEvolutionAndTheLongestComesOutOnTime)
{
    const float rate = GetParam();
    EngineRig rig(rate);
    rig.set(EngineRig::tone, 1.0);
    FilterTapStage& stage = rig.dsp->use_filter_stage();
    for (const double evolution : {0.0, 50.0, -50.0})
    {
        rig.set_settled(EngineRig::evolution, evolution);
        for (int i = 0; i < FilterTapStage::max_bands; ++i)
        {
            const double ms = evolution >= 0.0 ? i * evolution : (15 - i) * -evolution;
            EXPECT_NEAR(stage.get_delay(i), ms / 1000.0 * rate, 0.5 + 1e-9)
                << "the nearest sample, Evolution " << evolution << ", band " << i;
        }
    }
    stage.set_stereo(false);
    use_bands(stage, 1, 1000.0f);
    stage.reset();
    const int delay = stage.get_delay(0);
    ASSERT_LE(delay + 64, stage.get_line_size());

    // Chunks of 64 that put the impulse anywhere in the line over the runs.
    const int start = 1 + static_cast<int>(rate) % 61;
    std::vector<float> src(static_cast<std::size_t>(start + delay + 256), 0.0f);
    src[static_cast<std::size_t>(start)] = 1.0f;
    std::vector<float> rendered[2];
    run_stage(stage, src, rendered);
    const std::vector<float>& out = rendered[0];
    const float level = stage.get_level();
    const float b0 = stage.get_band_filter(0).get_coefs().b0;
    for (int i = 0; i < start + delay; ++i)
    {
        ASSERT_LT(std::abs(out[static_cast<std::size_t>(i)]), 1e-12f) << "sample " << i;
    }
    EXPECT_NEAR(out[static_cast<std::size_t>(start + delay)], b0 * level, 1e-12f);
}

INSTANTIATE_TEST_SUITE_P(Rates, StageAtRate,
                         testing::Values(4000.0f, 11025.0f, 22050.0f, 43690.0f, 44100.0f, 48000.0f,
                                         87381.0f, 96000.0f, 174762.0f, 192000.0f, 349525.0f,
                                         384000.0f));

TEST(FilterTapStage, BandsFadeInAndOutOver640Samples)
{
    EngineRig rig(44100.0f);
    FilterTapStage& stage = rig.dsp->use_filter_stage();
    ASSERT_EQ(stage.get_nbr_proc_bands(), 0);
    rig.set(EngineRig::nbr_bands, 4.0);
    const std::vector<float> silence(64, 0.0f);
    auto block = [&] { rig.render(silence, silence, 64); };

    block();
    EXPECT_EQ(stage.get_nbr_proc_bands(), 3);
    EXPECT_EQ(stage.get_nbr_target_bands(), 3);
    EXPECT_EQ(stage.get_nbr_full_bands(), 0);
    EXPECT_NEAR(stage.get_fade_gain(0), 64 * FilterTapStage::fade_step, 1e-5);
    for (int i = 1; i < 10; ++i)
    {
        block();
    }
    EXPECT_NEAR(stage.get_fade_gain(2), 1.0f, 1e-5) << "640 samples";
    EXPECT_EQ(stage.get_nbr_full_bands(), 0) << "promoted at the next control step";
    block();
    EXPECT_EQ(stage.get_nbr_full_bands(), 3);

    rig.set(EngineRig::nbr_bands, 1.0);
    block();
    EXPECT_EQ(stage.get_nbr_target_bands(), 0);
    EXPECT_EQ(stage.get_nbr_proc_bands(), 3) << "still computed while fading out";
    EXPECT_NEAR(stage.get_fade_gain(1), 1.0f - 64 * FilterTapStage::fade_step, 1e-5);
    for (int i = 1; i < 11; ++i)
    {
        block();
    }
    EXPECT_EQ(stage.get_nbr_proc_bands(), 0);
    EXPECT_EQ(stage.get_fade_gain(0), 0.0f);
}

// Tone sets the levels of the bank and the main band at equal power: 0.5 each at its default,
// sqrt(0.5) and 0 at 1. Each level and each band fade stops on its target, however the blocks
// fall against the control steps that would otherwise land it late.
TEST(FilterTapStage, CrossfadesOver640SamplesNeverPassTheirTarget)
{
    for (const int block : {64, 49})
    {
        EngineRig rig;
        rig.set(EngineRig::tone, 1.0);
        rig.set(EngineRig::nbr_bands, 3.0);
        const std::vector<float> silence(static_cast<std::size_t>(block), 0.0f);
        const FilterTapStage& stage = rig.dsp->use_filter_stage();
        const LinearRamp<float>& bank = stage.get_level_ramp();
        const LinearRamp<double>& main = rig.dsp->get_main_gain();
        EXPECT_EQ(bank.get_current(), 0.5f);
        EXPECT_NEAR(main.get_current(), 0.5, 1e-15);
        for (int done = block; done <= 1280; done += block)
        {
            rig.render(silence, silence, block);
            ASSERT_LE(bank.get_current(), bank.get_target()) << block << " per block, " << done;
            ASSERT_GE(main.get_current(), main.get_target()) << block << " per block, " << done;
            ASSERT_LE(stage.get_fade_gain(1), 1.0f) << block << " per block, " << done;
            if (block == 64)
            {
                EXPECT_EQ(bank.is_moving(), done < 640) << done;
                EXPECT_EQ(main.is_moving(), done < 640) << done;
            }
        }
        EXPECT_EQ(bank.get_current(), static_cast<float>(std::sqrt(0.5)));
        EXPECT_NEAR(main.get_current(), 0.0, 1e-16);
    }
}

// A band that joins starts as a freshly cleared filter, whatever the kernels left in its lanes
// while it was out.
TEST(FilterTapStage, EachBandIsItsFilterOnTheDelayedInputFromWhenItJoins)
{
    for (const DspKernels* kernels : kernel_versions())
    {
        EngineRig rig;
        rig.set(EngineRig::tone, 1.0);
        rig.set_settled(EngineRig::evolution, 2.0);
        FilterTapStage& stage = rig.dsp->use_filter_stage();
        stage.set_kernels(*kernels);
        stage.set_stereo(true);
        use_bands(stage, 1, 700.0f);
        stage.reset();
        const std::vector<float> src = sine(1500.0, 44100.0, 4096);
        const std::size_t join = 1024;
        std::vector<float> out[2];
        run_stage(stage, std::span(src).first(join), out);
        use_bands(stage, 3, 700.0f);
        run_stage(stage, std::span(src).subspan(join), out);

        std::vector<float> expected(src.size(), 0.0f);
        for (int b = 0; b < 3; ++b)
        {
            Biquad f = stage.get_band_filter(b);
            f.clear();
            const std::size_t d = static_cast<std::size_t>(stage.get_delay(b));
            for (std::size_t i = b == 0 ? 0 : join; i < src.size(); ++i)
            {
                const float x = i >= d ? src[i - d] : 0.0f;
                float y;
                f.process_block(&y, &x, 1);
                expected[i] += y;
            }
        }
        for (std::size_t i = 0; i < src.size(); ++i)
        {
            ASSERT_NEAR(out[0][i], expected[i] * stage.get_level(), 5e-6)
                << kernels->name << ", float rounding, sample " << i;
            ASSERT_EQ(out[0][i], out[1][i]) << "both channels run the same bands, sample " << i;
        }
    }
}

// A band whose settings cannot describe a filter keeps the coefficients it had, and the others
// are still designed as their own filters design them.
TEST(FilterTapStage, ABandThatCannotBeDesignedKeepsItsCoefficients)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const auto& [freq, q] : {std::pair{nan, 3.0f}, std::pair{0.0f, 3.0f}, std::pair{inf, 3.0f},
                                  std::pair{900.0f, 0.0f}})
    {
        EngineRig rig;
        FilterTapStage& stage = rig.dsp->use_filter_stage();
        use_bands(stage, 6, 300.0f);
        stage.control_step(64);
        const BiquadCoefs kept = stage.get_band_filter(2).get_coefs();
        stage.set_band_freq(700.0f, 1);
        stage.set_band_freq(freq, 2);
        stage.set_band_q(q, 2);
        stage.control_step(64);
        SCOPED_TRACE(testing::Message() << "frequency " << freq << ", Q " << q);
        EXPECT_EQ(std::memcmp(&stage.get_band_filter(2).get_coefs(), &kept, sizeof kept), 0);
        for (const int b : {1, 5})
        {
            Biquad own = stage.get_band_filter(b);
            own.update();
            EXPECT_EQ(std::memcmp(&stage.get_band_filter(b).get_coefs(), &own.get_coefs(),
                                  sizeof(BiquadCoefs)),
                      0)
                << "band " << b;
        }
        EXPECT_EQ(stage.get_band_filter(1).get_freq(), 700.0f);
    }
}
