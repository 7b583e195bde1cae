#include "effect/dsp/DspKernels.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "effect/EngineRig.hpp"
#include "effect/dsp/Biquad.hpp"

namespace
{

// Distance in units in the last place between two finite floats of the same sign.
std::int64_t ulps(float a, float b)
{
    std::int32_t ia;
    std::int32_t ib;
    std::memcpy(&ia, &a, 4);
    std::memcpy(&ib, &b, 4);
    return std::abs(static_cast<std::int64_t>(ia) - ib);
}

class Kernels : public testing::TestWithParam<const DspKernels*>
{
};

std::vector<const DspKernels*> wide_versions()
{
    std::vector<const DspKernels*> v = kernel_versions();
    v.erase(v.begin());
    return v;
}

} // namespace

TEST_P(Kernels, AtanWithinTwoUlpOfDoubleNarrowedToFloat)
{
    const DspKernels& k = *GetParam();
    // Every 61st positive float from 1e-30 to the largest, and their negatives.
    std::vector<float> x;
    for (std::uint32_t bits = 0x0DA24260u; bits < 0x7F800000u; bits += 61u * 97u)
    {
        float f;
        std::memcpy(&f, &bits, 4);
        x.push_back(f);
        x.push_back(-f);
    }
    std::vector<float> y(x.size());
    k.atan(y.data(), x.data(), static_cast<int>(x.size()));
    std::int64_t worst = 0;
    float worst_x = 0.0f;
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        const float ref = static_cast<float>(std::atan(static_cast<double>(x[i])));
        const std::int64_t d = ulps(y[i], ref);
        if (d > worst)
        {
            worst = d;
            worst_x = x[i];
        }
    }
    EXPECT_LE(worst, 2) << "worst at " << worst_x << " in " << k.name;
}

TEST_P(Kernels, SanitizeReplacesOnlyNonFiniteSamples)
{
    const DspKernels& k = *GetParam();
    const float inf = std::numeric_limits<float>::infinity();
    float x[11] = {1.0f, -2.0f, inf, -inf, std::nanf(""), 3e38f, -0.0f, 1e-40f, 5.0f, inf, 7.0f};
    std::vector<float> y(11);
    k.sanitize(y.data(), x, 11);
    EXPECT_EQ(y, (std::vector<float>{1.0f, -2.0f, 0.0f, 0.0f, 0.0f, 3e38f, -0.0f, 1e-40f, 5.0f,
                                     0.0f, 7.0f}));

    // The main band mixed into the bank, sums beyond the float range and NaN taken as 0, with
    // and without a bank, over whole vectors and a remainder.
    float bank[11] = {1.0f, 2.0f, 3e38f, 0.5f, std::nanf(""), -1.0f, 0.0f, 4.0f, 2.0f, 1.0f, -3.0f};
    const float main[11] = {2.0f, -1.0f, 3e38f, inf, 1.0f, 1.0f, -2.0f, 0.5f, 1.0f, 3.0f, 1.0f};
    const float gain[11] = {0.5f, 0.5f, 1.0f, 1.0f, 1.0f, 0.0f, 2.0f, 2.0f, 0.25f, 0.5f, 1.0f};
    k.mix_clean(y.data(), nullptr, main, gain, 11);
    EXPECT_EQ(y, (std::vector<float>{1.0f, -0.5f, 3e38f, 0.0f, 1.0f, 0.0f, -4.0f, 1.0f, 0.25f, 1.5f,
                                     1.0f}));
    k.mix_clean(bank, bank, main, gain, 11);
    EXPECT_EQ(
        std::vector<float>(bank, bank + 11),
        (std::vector<float>{2.0f, 1.5f, 0.0f, 0.0f, 0.0f, -1.0f, -4.0f, 5.0f, 2.25f, 2.5f, -2.0f}));
}

TEST_P(Kernels, MainBandInBlocksIsAsAccurateAsTheSampleBySampleFilter)
{
    // Both against the same float coefficients run in double: the block form may round
    // differently, but must not detune low, sharp resonances where float rounding matters most.
    const DspKernels& k = *GetParam();
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (double freq : {40.0, 1000.0, 10240.0})
    {
        for (double q : {0.7, 10.0, 100.0})
        {
            Biquad ref = make_biquad(Biquad::type_low_pass, freq, q, 1.0, 48000.0);
            const BiquadCoefs c = ref.get_coefs();
            Biquad fast[2] = {ref, ref};
            BiquadBlock block;
            ref.compute_block(block);

            double exact[4] = {};
            double err_plain = 0.0;
            double err_block = 0.0;
            double level = 0.0;
            for (int chunk = 0; chunk < 1000; ++chunk)
            {
                const int n = 1 + chunk % 64;
                float x[2][64];
                float y[2][64];
                float plain[64];
                for (int i = 0; i < n; ++i)
                {
                    x[0][i] = noise(rng);
                    x[1][i] = x[0][i];
                }
                ref.process_block_guarded(plain, x[0], n);
                k.run_main_band({.coefs = &fast[0].get_coefs(),
                                 .block = &block,
                                 .state = {&fast[0].use_state(), &fast[1].use_state()},
                                 .src = {x[0], x[1]},
                                 .dst = {y[0], x[1]},
                                 .n = n,
                                 .nbr_chn = 2,
                                 .guarded = true});
                for (int i = 0; i < n; ++i)
                {
                    const double e = c.b0 * double(x[0][i]) + c.b1 * exact[0] + c.b2 * exact[1] -
                                     (c.a1 * exact[2] + c.a2 * exact[3]);
                    exact[1] = exact[0];
                    exact[0] = x[0][i];
                    exact[3] = exact[2];
                    exact[2] = e;
                    err_plain = std::max(err_plain, std::abs(plain[i] - e));
                    err_block = std::max(err_block, std::abs(y[0][i] - e));
                    level = std::max(level, std::abs(e));
                    ASSERT_EQ(x[1][i], y[0][i]) << "in place, and the same for both channels";
                }
            }
            EXPECT_LT(err_block, 2.5 * err_plain + 1e-7 * level)
                << freq << " Hz, Q " << q << " in " << k.name;
        }
    }
}

// Band-pass sections, and low-pass ones in every third lane (s0 1, gain 0, the resonance as Q).
TEST_P(Kernels, BatchedDesignsEqualTheFilterOwnDesign)
{
    const DspKernels& k = *GetParam();
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (float rate : {4000.0f, 44100.0f, 384000.0f})
    {
        SectionDesignJob job;
        job.n = 15;
        job.rate = rate;
        for (int i = 0; i < job.n; ++i)
        {
            const bool low_pass = i % 3 == 2;
            job.freq[i] = 20.0f + unit(rng) * rate * (i == 3 ? 2.0f : 0.5f);
            job.q[i] = 0.1f + 20.0f * unit(rng);
            job.gain[i] = i == 5 || low_pass ? 0.0f : 3.0f * unit(rng);
            job.s0[i] = low_pass ? 1.0f : 0.0f;
        }
        k.design_sections(job);
        for (int i = 0; i < job.n; ++i)
        {
            const bool low_pass = job.s0[i] != 0.0f;
            const Biquad b =
                low_pass
                    ? make_biquad(Biquad::type_low_pass, job.freq[i], job.q[i], job.q[i], rate)
                    : make_biquad(Biquad::type_band_pass, job.freq[i], job.gain[i], job.q[i], rate);
            const BiquadCoefs& c = b.get_coefs();
            float num[3];
            float den[3];
            b.get_analogue(num, den);
            EXPECT_EQ(job.s1[i], num[1]) << i;
            EXPECT_EQ(job.d1[i], den[1]) << i;
            EXPECT_EQ(job.b0[i], c.b0) << i << " at " << rate;
            EXPECT_EQ(job.b1[i], c.b1) << i;
            EXPECT_EQ(job.b2[i], c.b2) << i;
            EXPECT_EQ(job.a1[i], c.a1) << i << " at " << rate;
            EXPECT_EQ(job.a2[i], c.a2) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, Kernels, testing::ValuesIn(kernel_versions()),
                         [](const testing::TestParamInfo<const DspKernels*>& info)
                         { return std::string(info.param->name); });

class WideKernels : public Kernels
{
};

// Instantiated for the wide versions only: each against the baseline.
INSTANTIATE_TEST_SUITE_P(Versions, WideKernels, testing::ValuesIn(wide_versions()),
                         [](const testing::TestParamInfo<const DspKernels*>& info)
                         { return std::string(info.param->name); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(WideKernels);

TEST_P(WideKernels, ComputeTheSameBitsAsTheBaseline)
{
    const DspKernels* wide = GetParam();
    const DspKernels& base = DspKernels::get_baseline();
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> noise(-3.0f, 3.0f);
    std::vector<float> x(4096 * 2);
    std::generate(x.begin(), x.end(), [&] { return noise(rng); });

    std::vector<float> shaped[2] = {std::vector<float>(1000), std::vector<float>(1000)};
    for (int v = 0; v < 2; ++v)
    {
        float* dst[2] = {shaped[v].data(), shaped[v].data() + 500};
        const float* src[2] = {x.data(), x.data() + 500};
        (v == 0 ? base : *wide).shape_exact(dst, src, 2, 2.5f, 499);
    }
    EXPECT_EQ(shaped[0], shaped[1]);

    // The bank with every band count, both channel counts, fading and not, spread and not.
    for (int bands = 1; bands <= 15; ++bands)
    {
        for (int variant = 0; variant < 8; ++variant)
        {
            BandLanes lanes[2];
            std::uniform_real_distribution<float> coef(-0.5f, 0.5f);
            for (int i = 0; i < BandLanes::lanes; ++i)
            {
                const bool on = i % BandLanes::bands < bands;
                lanes[0].b0[i] = on ? coef(rng) : 0.0f;
                lanes[0].a1[i] = on ? coef(rng) : 0.0f;
                lanes[0].a2[i] = on ? coef(rng) * 0.5f : 0.0f;
                lanes[0].gain[i] = on ? 0.5f : 0.0f;
                lanes[0].gain_step[i] = on && (variant & 1) ? 0.01f : 0.0f;
            }
            lanes[1] = lanes[0];
            alignas(32) float work[2][2 * BankJob::work_rows * BandLanes::bands];
            std::vector<float> sum[2] = {std::vector<float>(128), std::vector<float>(128)};
            // Two chunks, the second starting from the history the first left.
            for (int v = 0; v < 2; ++v)
            {
                for (int chunk = 0; chunk < 2; ++chunk)
                {
                    BankJob job{.lanes = &lanes[v],
                                .line = {x.data(), x.data() + 4096},
                                .n = chunk == 0 ? 64 - variant : 64 - 2 * variant,
                                .nbr_chn = (variant & 4) ? 2 : 1,
                                .nbr_bands = bands,
                                .fading = (variant & 1) != 0,
                                .same_delay = (variant & 2) != 0,
                                .sum = {sum[v].data(), sum[v].data() + 64},
                                .work = work[v]};
                    for (int i = 0; i < BandLanes::bands; ++i)
                    {
                        job.read_pos[i] = 100 + 64 * chunk + ((variant & 2) ? 0 : 37 * i);
                    }
                    (v == 0 ? base : *wide).run_bank(job);
                }
            }
            SCOPED_TRACE(std::to_string(bands) + " bands, variant " + std::to_string(variant));
            ASSERT_EQ(sum[0], sum[1]);
            // The lanes of processed bands; the others hold whatever their vector left.
            const auto same_bands = [&](const float* a, const float* b)
            {
                return std::equal(a, a + bands, b) &&
                       std::equal(a + BandLanes::bands, a + BandLanes::bands + bands,
                                  b + BandLanes::bands);
            };
            ASSERT_TRUE(
                same_bands(lanes[0].y1, lanes[1].y1) && same_bands(lanes[0].y2, lanes[1].y2) &&
                same_bands(lanes[0].x1, lanes[1].x1) && same_bands(lanes[0].x2, lanes[1].x2) &&
                same_bands(lanes[0].gain, lanes[1].gain));
        }
    }
}
