#pragma once

#include "effect/dsp/DspKernels.hpp"

// One second-order filter section for one channel: designed as an analogue prototype
// H(s) = (s0 + s1 s + s2 s^2) / (d0 + d1 s + d2 s^2), with s normalised to the centre frequency,
// and mapped to the sampled domain by the bilinear transform. Coefficients and history are
// 32-bit floats. Settings take effect at update(); processing is for the audio thread.
class Biquad
{
public:
    enum Type : int
    {
        // 1 / (1 + s/G + s^2): the gain field acts as Q.
        type_low_pass = 0,
        // s^2 / (1 + s/G + s^2): the gain field acts as Q.
        type_high_pass = 1,
        // (1 + (G/Q) s + s^2) / (1 + s/Q + s^2): peak gain G at the centre.
        type_resonator = 2,
        // ((G/Q) s) / (1 + s/Q + s^2): peak gain G at the centre.
        type_band_pass = 3,
        nbr_types = 4
    };

    // The design frequency never goes beyond this fraction of the rate, where the bilinear
    // transform would fold the filter over (tan(pi f / r) changes sign at half the rate).
    static constexpr double max_design_ratio = 0.49;

    // "Low-pass", "High-pass", "Resonator", "Band-pass"; null for an unknown type.
    static const char* get_type_name(int type) noexcept;
    // 1 / tan(pi x) for 0 < x <= 0.49, to about a unit of the last place, without a library
    // call: the same on every platform, and quick enough for the control step.
    static double cot_pi(double x) noexcept;

    // A flat resonator (gain 1, Q 1) at 1000 Hz and 44100 Hz.
    Biquad() noexcept;

    void set_type(int type) noexcept { type_ = type; }
    void set_gain(float gain) noexcept { gain_ = gain; }
    void set_q(float q) noexcept { q_ = q; }
    void set_freq(float freq) noexcept { freq_ = freq; }
    void set_sample_rate(float rate) noexcept { rate_ = rate; }
    int get_type() const noexcept { return type_; }
    float get_gain() const noexcept { return gain_; }
    float get_q() const noexcept { return q_; }
    float get_freq() const noexcept { return freq_; }
    float get_sample_rate() const noexcept { return rate_; }

    // Whether the settings describe a filter that update() can design.
    bool is_designable() const noexcept;
    // Recomputes the analogue and the sampled coefficients from the settings. Settings that
    // cannot describe a filter (NaN, a rate or frequency of 0, a Q of 0) leave the coefficients
    // as they were.
    void update() noexcept;
    // Takes the result of a batched band-pass design of this filter's settings (the same values
    // update() computes for them).
    void apply_band_pass_design(float s1, float d1, const BiquadCoefs& coefs) noexcept
    {
        s0_ = 0.0f;
        s1_ = s1;
        s2_ = 0.0f;
        d0_ = 1.0f;
        d1_ = d1;
        d2_ = 1.0f;
        coefs_ = coefs;
    }
    // Takes the result of a batched low-pass design of this filter's settings.
    void apply_low_pass_design(float d1, const BiquadCoefs& coefs) noexcept
    {
        s0_ = 1.0f;
        s1_ = 0.0f;
        s2_ = 0.0f;
        d0_ = 1.0f;
        d1_ = d1;
        d2_ = 1.0f;
        coefs_ = coefs;
    }
    // Zeroes the history.
    void clear() noexcept { state_ = BiquadState(); }

    // dst = filtered src; dst may be src.
    void process_block(float* dst, const float* src, int n) noexcept;
    // dst += filtered src.
    void process_block_add(float* dst, const float* src, int n) noexcept;
    // As process_block, adding 1e-20 into the output of samples 0, 2, 4... of the block.
    void process_block_guarded(float* dst, const float* src, int n) noexcept;

    const BiquadCoefs& get_coefs() const noexcept { return coefs_; }
    BiquadState& use_state() noexcept { return state_; }
    const BiquadState& get_state() const noexcept { return state_; }
    bool is_state_finite() const noexcept;
    // The analogue prototype: numerator s0, s1, s2 and denominator d0, d1, d2.
    void get_analogue(float (&num)[3], float (&den)[3]) const noexcept;
    // The recursion unrolled over 8 samples, for the block kernels.
    void compute_block(BiquadBlock& block) const noexcept;

private:
    template <bool Add, bool Guard>
    void run(float* dst, const float* src, int n) noexcept;

    BiquadCoefs coefs_;
    BiquadState state_;
    float s0_ = 1.0f;
    float s1_ = 1.0f;
    float s2_ = 1.0f;
    float d0_ = 1.0f;
    float d1_ = 1.0f;
    float d2_ = 1.0f;
    float rate_ = 44100.0f;
    float freq_ = 1000.0f;
    int type_ = type_resonator;
    float gain_ = 1.0f;
    float q_ = 1.0f;
};

// Whether every value of a history is finite.
bool is_finite(const BiquadState& s) noexcept;
