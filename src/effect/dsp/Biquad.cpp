#include "effect/dsp/Biquad.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{

constexpr const char* type_names[Biquad::nbr_types] = {"Low-pass", "High-pass", "Resonator",
                                                       "Band-pass"};

// sin(v) and cos(v) for 0 <= v <= pi/4 by their Taylor series, whose first omitted terms stay
// below 1e-19 there.
void sin_cos_quarter(double v, double& sin_v, double& cos_v) noexcept
{
    const double z = v * v;
    double s = 1.0 / 355687428096000.0;
    s = s * z - 1.0 / 1307674368000.0;
    s = s * z + 1.0 / 6227020800.0;
    s = s * z - 1.0 / 39916800.0;
    s = s * z + 1.0 / 362880.0;
    s = s * z - 1.0 / 5040.0;
    s = s * z + 1.0 / 120.0;
    s = s * z - 1.0 / 6.0;
    sin_v = v + v * (z * s);
    double c = 1.0 / 6402373705728000.0;
    c = c * z - 1.0 / 20922789888000.0;
    c = c * z + 1.0 / 87178291200.0;
    c = c * z - 1.0 / 479001600.0;
    c = c * z + 1.0 / 3628800.0;
    c = c * z - 1.0 / 40320.0;
    c = c * z + 1.0 / 720.0;
    c = c * z - 1.0 / 24.0;
    c = c * z + 0.5;
    cos_v = 1.0 - z * c;
}

} // namespace

double Biquad::cot_pi(double x) noexcept
{
    double sin_v;
    double cos_v;
    if (x <= 0.25)
    {
        sin_cos_quarter(std::numbers::pi * x, sin_v, cos_v);
        return cos_v / sin_v;
    }
    sin_cos_quarter(std::numbers::pi * (0.5 - x), sin_v, cos_v);
    return sin_v / cos_v;
}

const char* Biquad::get_type_name(int type) noexcept
{
    return (type >= 0 && type < nbr_types) ? type_names[type] : nullptr;
}

Biquad::Biquad() noexcept
{
    update();
}

bool Biquad::is_designable() const noexcept
{
    const bool q_like_gain = type_ == type_low_pass || type_ == type_high_pass;
    return std::isfinite(rate_) && rate_ > 0.0f && std::isfinite(freq_) && freq_ > 0.0f &&
           std::isfinite(gain_) && std::isfinite(q_) && q_ > 0.0f &&
           (q_like_gain ? gain_ > 0.0f : gain_ >= 0.0f) && type_ >= 0 && type_ < nbr_types;
}

void Biquad::update() noexcept
{
    if (!is_designable())
    {
        return;
    }

    d0_ = 1.0f;
    d2_ = 1.0f;
    switch (type_)
    {
    case type_low_pass:
        s0_ = 1.0f;
        s1_ = 0.0f;
        s2_ = 0.0f;
        d1_ = 1.0f / gain_;
        break;
    case type_high_pass:
        s0_ = 0.0f;
        s1_ = 0.0f;
        s2_ = 1.0f;
        d1_ = 1.0f / gain_;
        break;
    case type_resonator:
        s0_ = 1.0f;
        s1_ = gain_ / q_;
        s2_ = 1.0f;
        d1_ = 1.0f / q_;
        break;
    default:
        s0_ = 0.0f;
        s1_ = gain_ / q_;
        s2_ = 0.0f;
        d1_ = 1.0f / q_;
        break;
    }

    const double rate = rate_;
    const double freq = std::min(static_cast<double>(freq_), max_design_ratio * rate);
    const double k = cot_pi(freq / rate);
    const double kk = k * k;
    const double s0 = s0_;
    const double s1 = s1_;
    const double s2 = s2_;
    const double d0 = d0_;
    const double d1 = d1_;
    const double d2 = d2_;
    const double e = d0 + d2 * kk;
    const double m = 1.0 / (e + d1 * k);
    coefs_.b0 = static_cast<float>((s0 + s2 * kk + s1 * k) * m);
    coefs_.b1 = static_cast<float>(2.0 * (s0 - s2 * kk) * m);
    coefs_.b2 = static_cast<float>((s0 + s2 * kk - s1 * k) * m);
    coefs_.a1 = static_cast<float>(2.0 * (d0 - d2 * kk) * m);
    coefs_.a2 = static_cast<float>((e - d1 * k) * m);
}

template <bool Add, bool Guard>
void Biquad::run(float* dst, const float* src, int n) noexcept
{
    const BiquadCoefs k = coefs_;
    float x1 = state_.x1;
    float x2 = state_.x2;
    float y1 = state_.y1;
    float y2 = state_.y2;
    for (int t = 0; t < n; ++t)
    {
        const float x = src[t];
        float ff = k.b0 * x + k.b1 * x1 + k.b2 * x2;
        if (Guard && (t & 1) == 0)
        {
            ff += 1e-20f;
        }
        const float y = ff - (k.a1 * y1 + k.a2 * y2);
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        if (Add)
        {
            dst[t] += y;
        }
        else
        {
            dst[t] = y;
        }
    }
    state_ = {x1, x2, y1, y2};
}

void Biquad::process_block(float* dst, const float* src, int n) noexcept
{
    run<false, false>(dst, src, n);
}

void Biquad::process_block_add(float* dst, const float* src, int n) noexcept
{
    run<true, false>(dst, src, n);
}

void Biquad::process_block_guarded(float* dst, const float* src, int n) noexcept
{
    run<false, true>(dst, src, n);
}

bool is_finite(const BiquadState& s) noexcept
{
    return std::isfinite(s.x1) && std::isfinite(s.x2) && std::isfinite(s.y1) && std::isfinite(s.y2);
}

bool Biquad::is_state_finite() const noexcept
{
    return is_finite(state_);
}

void Biquad::get_analogue(float (&num)[3], float (&den)[3]) const noexcept
{
    num[0] = s0_;
    num[1] = s1_;
    num[2] = s2_;
    den[0] = d0_;
    den[1] = d1_;
    den[2] = d2_;
}

void Biquad::compute_block(BiquadBlock& block) const noexcept
{
    constexpr int len = BiquadBlock::length;
    // Impulse response of 1 / (1 + a1 z^-1 + a2 z^-2), one sample longer than the block.
    double h[len + 1];
    const double a1 = coefs_.a1;
    const double a2 = coefs_.a2;
    h[0] = 1.0;
    h[1] = -a1;
    for (int i = 2; i <= len; ++i)
    {
        h[i] = -a1 * h[i - 1] - a2 * h[i - 2];
    }
    for (int i = 0; i < len; ++i)
    {
        block.zeros_then_h[len + i] = static_cast<float>(h[i]);
    }
    // The previous outputs reach sample j as y1 h[j + 1] - y2 a2 h[j]. Written in y1 and the
    // difference y1 - y2, the two products no longer cancel for poles near z = 1 (low, sharp
    // resonances), which keeps the rounding of these coefficients from detuning the filter.
    for (int j = 0; j < len; ++j)
    {
        block.p[j] = static_cast<float>(h[j + 1] - a2 * h[j]);
        block.q[j] = static_cast<float>(a2 * h[j]);
    }
}
