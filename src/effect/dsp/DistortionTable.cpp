#include "effect/dsp/DistortionTable.hpp"

#include <cmath>
#include <numbers>

double DistortionTable::shape_ref(double u) noexcept
{
    return 2.0 / std::numbers::pi * std::atan(u * (std::numbers::pi / 2.0));
}

const DistortionTable& DistortionTable::get()
{
    static const DistortionTable table;
    return table;
}

DistortionTable::DistortionTable()
{
    // Values and slopes (central differences, step 1/2048) at the integers -32..32.
    double y[nbr_segments + 1];
    double d[nbr_segments + 1];
    for (int i = 0; i <= nbr_segments; ++i)
    {
        const double k = i - 32;
        y[i] = shape_ref(k);
        d[i] = (shape_ref(k + 1.0 / 2048.0) - shape_ref(k - 1.0 / 2048.0)) * 1024.0;
    }
    for (int j = 0; j < nbr_segments; ++j)
    {
        // Hermite cubic in s = u - k: a0 + a1 s + a2 s^2 + a3 s^3, then expanded in powers of u.
        const double k = j - 32;
        const double a0 = y[j];
        const double a1 = d[j];
        const double a2 = -3.0 * y[j] - 2.0 * d[j] + 3.0 * y[j + 1] - d[j + 1];
        const double a3 = 2.0 * y[j] + d[j] - 2.0 * y[j + 1] + d[j + 1];
        coefs_[j][0] = static_cast<float>(a0 - a1 * k + a2 * k * k - a3 * k * k * k);
        coefs_[j][1] = static_cast<float>(a1 - 2.0 * a2 * k + 3.0 * a3 * k * k);
        coefs_[j][2] = static_cast<float>(a2 - 3.0 * a3 * k);
        coefs_[j][3] = static_cast<float>(a3);
    }
    low_end_ = static_cast<float>(y[0]);
    high_end_ = static_cast<float>(y[nbr_segments]);
}

float DistortionTable::shape(float u) const noexcept
{
    // Nearest integer of u + 31.5, halves to even; at a half the two segments meet anyway.
    const float pos = std::nearbyint(u + 31.5f);
    if (!(pos >= 0.0f))
    {
        return pos < 0.0f ? low_end_ : u;
    }
    if (pos >= static_cast<float>(nbr_segments))
    {
        return high_end_;
    }
    const float* c = coefs_[static_cast<int>(pos)];
    return ((u * c[3] + c[2]) * u + c[1]) * u + c[0];
}

void DistortionTable::shape_block(float* dst, const float* src, float g, int n) const noexcept
{
    for (int t = 0; t < n; ++t)
    {
        const float y = shape(g * src[t]);
        dst[t] = y == y ? y : 0.0f;
    }
}
