#include "effect/dsp/DspKernels.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "effect/dsp/Biquad.hpp"

namespace
{

std::vector<const DspKernels*> versions()
{
    std::vector<const DspKernels*> v{&DspKernels::get_baseline()};
    if (DspKernels::find_avx2() != nullptr)
    {
        v.push_back(DspKernels::find_avx2());
    }
    return v;
}

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
    float y[11];
    k.sanitize(y, x, 11);
    const float expected[11] = {1.0f,  -2.0f,  0.0f, 0.0f, 0.0f, 3e38f,
                                -0.0f, 1e-40f, 5.0f, 0.0f, 7.0f};
    for (int i = 0; i < 11; ++i)
    {
        EXPECT_EQ(y[i], expected[i]) << i;
    }
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
            Biquad ref;
            ref.set_type(Biquad::type_low_pass);
            ref.set_freq(static_cast<float>(freq));
            ref.set_gain(static_cast<float>(q));
            ref.set_sample_rate(48000.0f);
            ref.update();
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
                MainBandJob job;
                job.coefs = &fast[0].get_coefs();
                job.block = &block;
                job.state[0] = &fast[0].use_state();
                job.state[1] = &fast[1].use_state();
                job.src[0] = x[0];
                job.src[1] = x[1];
                job.dst[0] = y[0];
                job.dst[1] = x[1];
                job.n = n;
                job.nbr_chn = 2;
                job.guarded = true;
                k.run_main_band(job);
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

TEST_P(Kernels, BatchedBandPassDesignsEqualTheFilterOwnDesign)
{
    const DspKernels& k = *GetParam();
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (float rate : {4000.0f, 44100.0f, 384000.0f})
    {
        BandPassDesignJob job;
        job.n = 15;
        job.rate = rate;
        for (int i = 0; i < job.n; ++i)
        {
            job.freq[i] = 20.0f + unit(rng) * rate * (i == 3 ? 2.0f : 0.5f);
            job.q[i] = 0.1f + 20.0f * unit(rng);
            job.gain[i] = i == 5 ? 0.0f : 3.0f * unit(rng);
        }
        k.design_band_pass(job);
        for (int i = 0; i < job.n; ++i)
        {
            Biquad b;
            b.set_type(Biquad::type_band_pass);
            b.set_sample_rate(rate);
            b.set_freq(job.freq[i]);
            b.set_q(job.q[i]);
            b.set_gain(job.gain[i]);
            b.update();
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

TEST_P(Kernels, NoiseFollowsTheGeneratorAcrossCalls)
{
    const DspKernels& k = *GetParam();
    std::uint32_t state = 0;
    std::uint32_t ref = 0;
    for (int n = 0; n <= 64; ++n)
    {
        float out[64];
        k.noise(out, state, n);
        for (int i = 0; i < n; ++i)
        {
            ref = (ref * 1103515245u + 12345u) % 2147483648u;
            ASSERT_EQ(out[i], (ref & 0x10000u) ? 1e-20f : -1e-20f)
                << "call " << n << ", sample " << i;
        }
        ASSERT_EQ(state, ref) << "call " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, Kernels, testing::ValuesIn(versions()),
                         [](const testing::TestParamInfo<const DspKernels*>& info)
                         { return std::string(info.param->name); });

TEST(Kernels, WideVersionComputesTheSameBitsAsTheBaseline)
{
    const DspKernels* wide = DspKernels::find_avx2();
    if (wide == nullptr)
    {
        GTEST_SKIP() << "no AVX2 on this processor";
    }
    const DspKernels& base = DspKernels::get_baseline();
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> noise(-3.0f, 3.0f);

    std::vector<float> x(1000);
    for (float& v : x)
    {
        v = noise(rng);
    }
    std::vector<float> a(x.size());
    std::vector<float> b(x.size());
    float* dst_a[2] = {a.data(), a.data() + 500};
    float* dst_b[2] = {b.data(), b.data() + 500};
    const float* src[2] = {x.data(), x.data() + 500};
    base.shape_exact(dst_a, src, 2, 2.5f, 499);
    wide->shape_exact(dst_b, src, 2, 2.5f, 499);
    EXPECT_EQ(a, b);

    // The bank with every band count, both channel counts, fading and not, spread and not.
    std::vector<float> line[2] = {std::vector<float>(4096), std::vector<float>(4096)};
    for (auto& l : line)
    {
        for (float& v : l)
        {
            v = noise(rng);
        }
    }
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
            float sum[2][2][64];
            for (int v = 0; v < 2; ++v)
            {
                BankJob job;
                job.lanes = &lanes[v];
                job.line[0] = line[0].data();
                job.line[1] = line[1].data();
                for (int i = 0; i < BandLanes::bands; ++i)
                {
                    job.read_pos[i] = (variant & 2) ? 100 : 100 + 37 * i;
                }
                job.n = 64 - variant;
                job.nbr_chn = (variant & 4) ? 2 : 1;
                job.nbr_bands = bands;
                job.fading = (variant & 1) != 0;
                job.same_delay = (variant & 2) != 0;
                job.sum[0] = sum[v][0];
                job.sum[1] = sum[v][1];
                job.work = work[v];
                (v == 0 ? base : *wide).run_bank(job);
            }
            for (int c = 0; c < ((variant & 4) ? 2 : 1); ++c)
            {
                for (int t = 0; t < 64 - variant; ++t)
                {
                    ASSERT_EQ(sum[0][c][t], sum[1][c][t])
                        << bands << " bands, variant " << variant << ", channel " << c;
                }
            }
            for (int i = 0; i < BandLanes::lanes; ++i)
            {
                ASSERT_EQ(lanes[0].y1[i], lanes[1].y1[i]) << "lane " << i;
                ASSERT_EQ(lanes[0].gain[i], lanes[1].gain[i]) << "lane " << i;
            }
        }
    }
}
