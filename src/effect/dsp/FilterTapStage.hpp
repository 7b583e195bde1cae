#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "effect/dsp/Biquad.hpp"
#include "effect/dsp/DspKernels.hpp"
#include "effect/dsp/Glide.hpp"
#include "effect/dsp/LinearRamp.hpp"
#include "plux/param/NotifiedInterface.hpp"
#include "plux/param/NotifierInterface.hpp"

namespace plux
{
class PluginInternal;
} // namespace plux

class ParamBandDelay;
class ParamHarmBalance;

// The bank of up to 15 harmonic band-pass bands beside the main band. Each band reads the input
// through a delay line at its own delay (Evolution spreads the bands in time), bands fade in and
// out over 640 samples when their number changes, and the bank's level follows Tone in an
// equal-power crossfade with the engine's main band. Owns the Evolution and Tone parameters.
//
// Band counts: bands below the faded-in count are fully in, from there to the target count they
// fade in, from there to the processed count they fade out; only processed bands are computed.
//
// init() and set_sample_rate() run on the host's or editor's thread (they may allocate); notify()
// on any thread; everything else on the audio thread, without allocating or locking.
class FilterTapStage : public plux::NotifiedInterface, public plux::NotifierInterface
{
public:
    static constexpr int max_bands = 15;
    // The lane of the design table past the bands.
    static constexpr int main_lane = BandLanes::bands - 1;
    static constexpr int max_chunk = BankJob::max_chunk;
    // A fade moves the gain of a band by this much per sample: 640 samples end to end.
    static constexpr float fade_step = 0.0015625f;
    // Tone crossfades cover this fraction of their distance per sample.
    static constexpr double tone_fade_fraction = 0.0015625;
    // The longest band delay is 15 steps of at most 50 ms.
    static constexpr double max_delay_steps = 15.0;
    static constexpr double max_step_ms = 50.0;

    FilterTapStage();
    ~FilterTapStage() override;
    FilterTapStage(const FilterTapStage&) = delete;
    FilterTapStage& operator=(const FilterTapStage&) = delete;

    // Evolution or Tone changed: read at the next control step.
    void notify(plux::NotifierInterface& source) override;
    // Evolution 0 and Tone 0.5, with notification.
    virtual void set_default_values();

    // Creates Evolution and Tone with their defaults, appends them to param_list and listens
    // to them. The main gain of the engine follows Tone from then on.
    void init(plux::PluginInternal& param_list, LinearRamp<double>& main_gain);
    // Forgets the parameters (the list that owned them was emptied); the last values stay.
    void detach_params() noexcept;

    // Rates outside 4000..384000 Hz are not supported by the engine, which clamps them.
    void set_sample_rate(float rate);
    // Whether the right output is connected, so that the bank runs two channels.
    void set_stereo(bool stereo) noexcept { stereo_ = stereo; }
    // Every 64 samples (n = 64): parameters, coefficients, delays, fades and level.
    void control_step(int n) noexcept;
    // Writes n samples per channel into the delay lines and renders the bank into dst (one
    // channel, or two when stereo). src[1] is used only when stereo; dst may be src.
    void process(float* const dst[2], const float* const src[2], int n) noexcept;
    // Back to a silent, settled state at the current parameter values and band counts.
    void reset() noexcept;

    void set_nbr_proc_bands(int nbr) noexcept;
    void set_nbr_full_bands(int nbr) noexcept;
    void set_nbr_target_bands(int nbr) noexcept;
    // Frequency and Q of one band.
    void set_band_freq(float freq, int band) noexcept
    {
        if (band >= 0 && band < max_bands)
        {
            bands_.freq[band] = freq;
            bands_changed_ = true;
        }
    }
    void set_band_q(float q, int band) noexcept
    {
        if (band >= 0 && band < max_bands)
        {
            bands_.q[band] = q;
            bands_changed_ = true;
        }
    }
    // Band i at i + 1 times cutoff times spacing, with a Q of i + 1: every band, processed or
    // not, as one table at every gliding step (a band that joins is laid out again anyway).
    void lay_out_harmonics(double cutoff, double spacing) noexcept
    {
        for (int i = 0; i < max_bands; ++i)
        {
            bands_.freq[i] = static_cast<float>((i + 1) * cutoff * spacing);
            bands_.q[i] = static_cast<float>(i + 1);
        }
        bands_changed_ = true;
    }
    // The table's spare lane designs the engine's main band, a low-pass, along with the bands
    // at the next control step, where a design of its own would wait on its long chain of
    // dependent steps. The settings must be valid (finite, above 0).
    void set_main_band(float freq, float reso) noexcept
    {
        bands_.freq[main_lane] = freq;
        bands_.q[main_lane] = reso;
        bands_.gain[main_lane] = 0.0f;
        bands_.s0[main_lane] = 1.0f;
        bands_changed_ = true;
    }
    // The main band's last design: its sampled coefficients, and its analogue d1.
    BiquadCoefs get_main_band_coefs() const noexcept
    {
        return {bands_.b0[main_lane], bands_.b1[main_lane], bands_.b2[main_lane],
                bands_.a1[main_lane], bands_.a2[main_lane]};
    }
    float get_main_band_d1() const noexcept { return bands_.d1[main_lane]; }

    int get_nbr_proc_bands() const noexcept { return nbr_proc_; }
    int get_nbr_full_bands() const noexcept { return nbr_full_; }
    int get_nbr_target_bands() const noexcept { return nbr_target_; }

    bool is_stereo() const noexcept { return stereo_; }
    // Delay of a band in samples.
    int get_delay(int band) const noexcept { return delays_[band]; }
    // Length of each delay line in samples (a power of two).
    int get_line_size() const noexcept { return size_; }
    float get_fade_gain(int band) const noexcept { return lanes_.gain[band]; }
    float get_level() const noexcept { return level_.get_current(); }
    const LinearRamp<float>& get_level_ramp() const noexcept { return level_; }
    // A band's settings and its last design as a filter of its own (without history).
    Biquad get_band_filter(int band) const noexcept;
    const Glide& use_evolution_glide() const noexcept { return evolution_glide_; }
    // The kernels in use; tests compare the instruction-set versions.
    void set_kernels(const DspKernels& kernels) noexcept { kernels_ = &kernels; }

    // Delay-line length for a rate: room for the longest delay plus a chunk and the overhang of
    // a transposed read.
    static int line_size_for(float rate) noexcept;

private:
    void size_lines(float rate);
    void write_lines(const float* const src[2], int n) noexcept;
    void compute_delays() noexcept;
    // Designs every band from its settings.
    void design_bands() noexcept;
    // Designs every band and brings the lanes' coefficients up to date.
    void update_designs() noexcept;
    void read_params() noexcept;
    void sync_lane_coefs() noexcept;
    void sync_lane_fades() noexcept;
    void clear_lanes(int band) noexcept;

    bool stereo_ = false;
    float rate_ = 44100.0f;
    // Raised at construction too, so that a stage driven before reset() still reads its values.
    std::atomic<bool> params_changed_{true};
    bool bands_changed_ = false;
    bool fades_changed_ = true;
    bool fading_ = false;
    Glide evolution_glide_{Glide::param_time, rate_};
    ParamBandDelay* evolution_param_ = nullptr;
    ParamHarmBalance* tone_param_ = nullptr;
    double evolution_val_ = 0.0;
    double tone_val_ = 0.5;
    double prev_tone_ = -1.0;
    double tone_ = -1.0;
    LinearRamp<float> level_;
    int nbr_proc_ = 1;
    int nbr_full_ = 1;
    int nbr_target_ = 1;
    // Delay lines with a copy of their first frames behind the end, so reads never wrap. Both
    // channels share one allocation, the right one half a page off the left one's alignment:
    // loads of one channel then never wait on stores to the other that merely share their
    // address bits below 4 KiB, whichever way the allocator placed the memory; the left line
    // keeps a fixed distance modulo 4 KiB from work_ for the same reason.
    std::vector<float> line_store_;
    float* lines_[2] = {nullptr, nullptr};
    int write_pos_ = 0;
    int size_ = 0;
    int mask_ = 0;
    alignas(16) int delays_[BandLanes::bands] = {};
    // Settings of every band (band-pass, gain 1, at the stage's rate; the spare lane past them
    // designs the main band) and their last designs. Both channels run the same coefficients.
    SectionDesignJob bands_;
    BandLanes lanes_;
    alignas(32) float work_[2 * BankJob::work_rows * BandLanes::bands] = {};
    alignas(32) float noise_[max_chunk] = {};
    alignas(32) float gains_[max_chunk] = {};
    std::uint32_t noise_state_ = 0;
    LinearRamp<double>* main_gain_ = nullptr;
    const DspKernels* kernels_ = &DspKernels::get();
};
