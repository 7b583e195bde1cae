#pragma once

// The distortion curve shape(u) = (2/pi) atan(u pi/2) as 64 cubic segments over -32..32, shared by
// every instance and built once, on first use, outside the audio thread (the engine's
// constructor asks for it).
class DistortionTable
{
public:
    static constexpr int nbr_segments = 64;

    static const DistortionTable& get();

    // shape(u) by table; beyond +-32 the end values. NaN gives NaN.
    float shape(float u) const noexcept;
    // dst = shape(g src) by table, with NaN output replaced by 0. dst may be src.
    void shape_block(float* dst, const float* src, float g, int n) const noexcept;

    // Coefficients c0..c3 of segment j (inputs j - 32 to j - 31), in powers of the input.
    const float* get_segment(int j) const noexcept { return coefs_[j]; }
    float get_low_end() const noexcept { return low_end_; }
    float get_high_end() const noexcept { return high_end_; }

    // The curve in 64-bit float.
    static double shape_ref(double u) noexcept;

private:
    DistortionTable();

    float coefs_[nbr_segments][4];
    float low_end_;
    float high_end_;
};
