#include "effect/dsp/Biquad.hpp"

#include <algorithm>
#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "effect/EngineRig.hpp"

namespace
{

using cplx = std::complex<double>;

// The analogue prototype of each type, with G the gain field and Q the Q field, at the digital
// frequency f: the bilinear transform maps f to s = j tan(pi f / r) / tan(pi f0 / r).
double theory_db(int type, double f0, double g, double q, double rate, double f)
{
    const cplx s(0.0,
                 std::tan(std::numbers::pi * f / rate) / std::tan(std::numbers::pi * f0 / rate));
    cplx h;
    switch (type)
    {
    case Biquad::type_low_pass:
        h = 1.0 / (1.0 + s / g + s * s);
        break;
    case Biquad::type_high_pass:
        h = s * s / (1.0 + s / g + s * s);
        break;
    case Biquad::type_resonator:
        h = (1.0 + (g / q) * s + s * s) / (1.0 + s / q + s * s);
        break;
    default:
        h = ((g / q) * s) / (1.0 + s / q + s * s);
        break;
    }
    return 20.0 * std::log10(std::abs(h));
}

// Renders a unit sine for half a second, skips the first half as transient, measures the level.
double measured_db(Biquad b, double f)
{
    const double r = b.get_sample_rate();
    const int n = static_cast<int>(r);
    std::vector<float> x(n);
    for (int i = 0; i < n; ++i)
    {
        x[i] = static_cast<float>(std::sin(2.0 * std::numbers::pi * f * i / r));
    }
    std::vector<float> y(n);
    b.clear();
    b.process_block(y.data(), x.data(), n);
    double sum = 0.0;
    for (int i = n / 2; i < n; ++i)
    {
        sum += double(y[i]) * y[i];
    }
    return 10.0 * std::log10(2.0 * sum / (n - n / 2));
}

struct Design
{
    int type;
    double freq;
    double gain;
    double q;
    double rate;
};

class BiquadResponse : public testing::TestWithParam<Design>
{
};

} // namespace

TEST_P(BiquadResponse, LevelMatchesTheAnaloguePrototype)
{
    const Design d = GetParam();
    const Biquad b = make_biquad(d.type, d.freq, d.gain, d.q, d.rate);
    for (double ratio : {0.25, 0.5, 0.9, 1.0, 1.1, 2.0, 4.0})
    {
        const double f = d.freq * ratio;
        if (f >= 0.45 * d.rate)
        {
            continue;
        }
        const double expected = theory_db(d.type, d.freq, d.gain, d.q, d.rate, f);
        if (expected < -60.0)
        {
            continue;
        }
        EXPECT_NEAR(measured_db(b, f), expected, 0.05)
            << Biquad::get_type_name(d.type) << " at " << f << " Hz";
    }
}

INSTANTIATE_TEST_SUITE_P(Types, BiquadResponse,
                         testing::Values(Design{Biquad::type_low_pass, 1000, 1, 1, 44100},
                                         Design{Biquad::type_low_pass, 1000, 10, 10, 44100},
                                         Design{Biquad::type_low_pass, 200, 0.7071, 0.7071, 48000},
                                         Design{Biquad::type_low_pass, 1000, 10, 1, 44100},
                                         Design{Biquad::type_low_pass, 1000, 1, 10, 44100},
                                         Design{Biquad::type_high_pass, 2000, 2, 2, 44100},
                                         Design{Biquad::type_high_pass, 500, 0.5, 4, 48000},
                                         Design{Biquad::type_resonator, 1000, 4, 2, 44100},
                                         Design{Biquad::type_resonator, 3000, 0.25, 3, 96000},
                                         Design{Biquad::type_band_pass, 1000, 1, 1, 44100},
                                         Design{Biquad::type_band_pass, 5000, 1, 5, 44100},
                                         Design{Biquad::type_band_pass, 6000, 1, 15, 192000}));

TEST(Biquad, StableAtAndBeyondHalfTheRate)
{
    for (double rate : {4000.0, 44100.0, 384000.0})
    {
        for (double ratio : {0.49, 0.5, 0.51, 0.75, 2.56})
        {
            for (double q : {1.0, 100.0})
            {
                const Biquad b = make_biquad(Biquad::type_low_pass, rate * ratio, q, q, rate);
                const BiquadCoefs& k = b.get_coefs();
                EXPECT_LT(std::abs(k.a2), 1.0f) << rate << " " << ratio << " " << q;
                EXPECT_LT(std::abs(k.a1), 1.0f + k.a2) << rate << " " << ratio << " " << q;
            }
        }
        const Biquad low = make_biquad(Biquad::type_low_pass, 40, 100, 100, rate);
        EXPECT_LT(std::abs(low.get_coefs().a1), 1.0f + low.get_coefs().a2)
            << "40 Hz with Q 100 at " << rate;
    }
}

TEST(Biquad, InvalidSettingsKeepTheLastCoefficients)
{
    Biquad b = make_biquad(Biquad::type_low_pass, 1000, 2, 2, 44100);
    const BiquadCoefs before = b.get_coefs();
    for (float bad : {0.0f, -1.0f, std::nanf("")})
    {
        Biquad c = b;
        c.set_gain(bad);
        c.update();
        EXPECT_EQ(c.get_coefs().b0, before.b0) << "gain " << bad;
        c = b;
        c.set_freq(bad);
        c.update();
        EXPECT_EQ(c.get_coefs().a1, before.a1) << "freq " << bad;
    }
}

TEST(Biquad, AddAdds)
{
    const Biquad a = make_biquad(Biquad::type_band_pass, 1000, 1, 2, 44100);
    std::vector<float> x(16);
    std::vector<float> y(16);
    for (int i = 0; i < 16; ++i)
    {
        x[i] = (i % 3) - 1.0f;
    }
    Biquad plain = a;
    Biquad adding = a;
    std::vector<float> sum(16, 0.5f);
    plain.process_block(y.data(), x.data(), 16);
    adding.process_block_add(sum.data(), x.data(), 16);
    std::transform(y.begin(), y.end(), y.begin(), [](float v) { return v + 0.5f; });
    EXPECT_EQ(sum, y);
}

TEST(Biquad, GuardKeepsASilentRecursionOutOfDenormals)
{
    Biquad plain = make_biquad(Biquad::type_low_pass, 100, 0.7f, 0.7f, 44100);
    Biquad guarded = plain;
    std::vector<float> x(200000, 0.0f);
    x[0] = 1.0f;
    std::vector<float> y(x.size());
    plain.process_block(y.data(), x.data(), static_cast<int>(x.size()));
    EXPECT_TRUE(std::fpclassify(y.back()) == FP_ZERO || std::fpclassify(y.back()) == FP_SUBNORMAL)
        << "without the guard the tail decays into denormals";
    guarded.process_block_guarded(y.data(), x.data(), static_cast<int>(x.size()));
    for (std::size_t i = 1000; i < y.size(); ++i)
    {
        ASSERT_EQ(std::fpclassify(y[i]), FP_NORMAL) << "sample " << i;
    }
}
