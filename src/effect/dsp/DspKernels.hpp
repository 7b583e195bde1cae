#pragma once

// The data-parallel inner loops of the effect, in one version per instruction-set level: a
// baseline that every x86-64 processor runs (SSE2) and a wider one (AVX2) picked at run time.
// Every version performs the same arithmetic in the same order lane by lane, so the results do
// not depend on the processor. This header holds plain data only: it is also compiled into the
// AVX2 unit, which must not emit code that the rest of the program could pick up.

#include <cstdint>

// Coefficients of one second-order section in direct form I: y = b0 x + b1 x1 + b2 x2 -
// (a1 y1 + a2 y2).
struct BiquadCoefs
{
    float b0 = 1.0f;
    float b1 = 0.0f;
    float b2 = 0.0f;
    float a1 = 0.0f;
    float a2 = 0.0f;
};

// The last two inputs and outputs of a section: x1, y1 the most recent.
struct BiquadState
{
    float x1 = 0.0f;
    float x2 = 0.0f;
    float y1 = 0.0f;
    float y2 = 0.0f;
};

// The recursion of a section unrolled over 8 samples, so that 8 outputs follow from 8
// feed-forward values and the two previous outputs with independent products:
// y[j] = sum over k of col(k)[j] v[k], plus p[j] y1 + q[j] (y1 - y2). Column k is the impulse
// response h of the recursion shifted down by k samples, read from a run of zeros followed by h.
struct BiquadBlock
{
    static constexpr int length = 8;
    // Zeros, then h[0] to h[7]; within one cache line, so that no column read crosses one.
    alignas(64) float zeros_then_h[2 * length] = {};
    alignas(32) float p[length] = {};
    alignas(32) float q[length] = {};

    const float* col(int k) const noexcept { return zeros_then_h + length - k; }
};

// The harmonic band-pass filters of both channels as lanes: lane = channel * 16 + band. A
// band-pass section has b1 = 0 and b2 = -b0, so b0, a1 and a2 describe it. Lanes of bands that
// are not processed have zero coefficients and zero gain, so they output exact zeros.
struct BandLanes
{
    static constexpr int bands = 16;
    static constexpr int lanes = 2 * bands;
    alignas(32) float b0[lanes] = {};
    alignas(32) float a1[lanes] = {};
    alignas(32) float a2[lanes] = {};
    alignas(32) float x1[lanes] = {};
    alignas(32) float x2[lanes] = {};
    alignas(32) float y1[lanes] = {};
    alignas(32) float y2[lanes] = {};
    // Fade gain per lane and its change per sample; the gain stays within 0..1.
    alignas(32) float gain[lanes] = {};
    alignas(32) float gain_step[lanes] = {};
};

// One chunk of the harmonic bank.
struct BankJob
{
    static constexpr int max_chunk = 64;
    // Rows of the input area per channel: two rows of history, a chunk, and the overhang of a
    // transpose.
    static constexpr int work_rows = 2 + max_chunk + 8;

    BandLanes* lanes = nullptr;
    // Delay lines of both channels; a band reads frames read_pos[band] to read_pos[band] + n + 6
    // without wrapping (the lines carry a copy of their start behind their end).
    const float* line[2] = {nullptr, nullptr};
    int read_pos[BandLanes::bands] = {};
    int n = 0;
    int nbr_chn = 1;
    int nbr_bands = 0;
    // Some lane has a non-zero gain step.
    bool fading = false;
    // Every processed band reads the same frames: no transpose, one broadcast per sample.
    bool same_delay = false;
    // Sum of all bands per channel and sample, times the bank level: level_ramp[t] per sample,
    // or level throughout when there is no ramp.
    float* sum[2] = {nullptr, nullptr};
    float level = 1.0f;
    const float* level_ramp = nullptr;
    // Input area, 32-byte aligned: 2 * work_rows * 16 floats.
    float* work = nullptr;
};

// The main band of one or two channels: the same coefficients, a history per channel.
struct MainBandJob
{
    const BiquadCoefs* coefs = nullptr;
    const BiquadBlock* block = nullptr;
    BiquadState* state[2] = {nullptr, nullptr};
    // dst may be src.
    const float* src[2] = {nullptr, nullptr};
    float* dst[2] = {nullptr, nullptr};
    int n = 0;
    int nbr_chn = 1;
    // Adds 1e-20 into every other output (samples 0, 2, 4...) to keep the recursion away from
    // denormal numbers when the input falls silent.
    bool guarded = false;
    // Optionally the distortion curve right behind the filter, in the same call while the chunk
    // is still in the cache: shaped[c][t] = (2/pi) atan(shape_k u) with u = mix[c][t] + gain[t]
    // y[t], NaN giving 0. Without mix u is gain[t] y[t]; without gain as well, y[t]. The same bits
    // as DspKernels::shape_exact on u.
    float* shaped[2] = {nullptr, nullptr};
    const float* mix[2] = {nullptr, nullptr};
    const float* gain = nullptr;
    float shape_k = 0.0f;
};

// Band-pass and low-pass sections designed together, with the same arithmetic as Biquad::update.
// A band-pass has s0 = 0; a low-pass has s0 = 1, gain 0, and its resonance as Q. The settings
// must be valid: finite, frequency and Q above 0, gain not below 0.
struct SectionDesignJob
{
    static constexpr int sections = BandLanes::bands;
    int n = 0;
    float rate = 44100.0f;
    alignas(32) float freq[sections] = {};
    alignas(32) float gain[sections] = {};
    alignas(32) float q[sections] = {};
    alignas(32) float s0[sections] = {};
    // Results: the analogue s1 = G/Q and d1 = 1/Q, and the sampled coefficients.
    alignas(32) float s1[sections] = {};
    alignas(32) float d1[sections] = {};
    alignas(32) float b0[sections] = {};
    alignas(32) float b1[sections] = {};
    alignas(32) float b2[sections] = {};
    alignas(32) float a1[sections] = {};
    alignas(32) float a2[sections] = {};
};

struct DspKernels
{
    // Runs the processed bands of a chunk of at most 64 samples.
    void (*run_bank)(const BankJob& job) noexcept;
    // Runs the main band over a chunk of at most 64 samples.
    void (*run_main_band)(const MainBandJob& job) noexcept;
    // dst = atan(src), within 2 ulp of the 64-bit arctangent narrowed to float. dst may be src.
    void (*atan)(float* dst, const float* src, int n) noexcept;
    // dst = (2/pi) atan(k src) for one or two channels, the exact distortion curve; NaN gives 0.
    // dst may be src.
    void (*shape_exact)(float* const dst[2], const float* const src[2], int nbr_chn, float k,
                        int n) noexcept;
    // dst = src with every NaN or infinite sample replaced by 0. dst may be src.
    void (*sanitize)(float* dst, const float* src, int n) noexcept;
    // dst = bank + gain main, or gain main without a bank, sample by sample, with every NaN or
    // infinite result replaced by 0: the main band mixed into the bank. dst may be bank or main.
    void (*mix_clean)(float* dst, const float* bank, const float* main, const float* gain,
                      int n) noexcept;
    // dst = a + b. dst may be a or b.
    void (*add)(float* dst, const float* a, const float* b, int n) noexcept;
    // The delay-line noise for n samples: per sample the state becomes
    // (state * 1103515245 + 12345) mod 2^31, and the value is +1e-20 when bit 16 of the new
    // state is set, -1e-20 otherwise.
    void (*noise)(float* dst, std::uint32_t& state, int n) noexcept;
    // Designs job.n sections.
    void (*design_sections)(SectionDesignJob& job) noexcept;
    const char* name;

    // The widest version this processor and operating system run.
    static const DspKernels& get() noexcept;
    static const DspKernels& get_baseline() noexcept { return sse2; }
    // Null when the processor lacks AVX2.
    static const DspKernels* find_avx2() noexcept;
    // The AVX2 arithmetic with the 32 registers of AVX-512VL; null without AVX-512F and VL.
    static const DspKernels* find_avx512() noexcept;

private:
    static const DspKernels sse2;
    static const DspKernels avx2;
    static const DspKernels avx512;
};
