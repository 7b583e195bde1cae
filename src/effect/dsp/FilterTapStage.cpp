#include "effect/dsp/FilterTapStage.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <emmintrin.h>
#include <limits>
#include <memory>
#include <numbers>
#include <utility>

#include "effect/param/ParamBandDelay.hpp"
#include "effect/param/ParamHarmBalance.hpp"
#include "kel/Rounding.hpp"
#include "plux/param/PluginInternal.hpp"

namespace
{

// Frames copied behind the end of each delay line: a chunk read starting at the last frame
// plus the overhang of a transposed read.
constexpr int mirror_frames = BankJob::max_chunk + 8;
// The right line starts this many bytes past a multiple of 4 KiB from the left one.
constexpr int channel_skew_bytes = 2048;
constexpr int page_bytes = 4096;
constexpr int page_floats = page_bytes / static_cast<int>(sizeof(float));
// Where the left line starts past a multiple of 4 KiB from the bank's input area. The bank's
// reads of the lines and its stores into the area then meet the same false 4 KiB dependencies in
// every process, whether the allocator mapped the lines page-aligned or placed them anywhere in
// its heap; left to the allocator, 16 bands ran up to 5% apart between the two. This distance was
// among the best measured.
constexpr std::uintptr_t line_from_work_bytes = 1024;

constexpr double sqrt_half = 0.7071067811865476;

// Delay steps of each band, for a positive and a negative Evolution (the last entry pads the
// pairs).
alignas(16) constexpr double rising_steps[BandLanes::bands] = {0, 1, 2,  3,  4,  5,  6,  7,
                                                               8, 9, 10, 11, 12, 13, 14, 15};
alignas(16) constexpr double falling_steps[BandLanes::bands] = {15, 14, 13, 12, 11, 10, 9, 8,
                                                                7,  6,  5,  4,  3,  2,  1, 0};
constexpr double seconds_per_ms = 0.001;

// Zeroes a chunk with vector stores: memset's start-up costs more than these few stores.
void clear_chunk(float* dst, int n) noexcept
{
    int t = 0;
    for (; t + 4 <= n; t += 4)
    {
        _mm_storeu_ps(dst + t, _mm_setzero_ps());
    }
    for (; t < n; ++t)
    {
        _mm_store_ss(dst + t, _mm_setzero_ps());
    }
}

// The first n settings of the job that cannot be designed, bit b for band b: not finite,
// frequency or Q not above 0, gain below 0 (NaN fails every comparison).
int undesignable(const SectionDesignJob& job, int n) noexcept
{
    const __m128 zero = _mm_setzero_ps();
    const __m128 most = _mm_set1_ps(std::numeric_limits<float>::max());
    int bad = 0;
    for (int b = 0; b < n; b += 4)
    {
        const __m128 freq = _mm_load_ps(job.freq + b);
        const __m128 q = _mm_load_ps(job.q + b);
        const __m128 gain = _mm_load_ps(job.gain + b);
        __m128 ok = _mm_and_ps(_mm_cmpgt_ps(freq, zero), _mm_cmple_ps(freq, most));
        ok = _mm_and_ps(ok, _mm_and_ps(_mm_cmpgt_ps(q, zero), _mm_cmple_ps(q, most)));
        ok = _mm_and_ps(ok, _mm_and_ps(_mm_cmpge_ps(gain, zero), _mm_cmple_ps(gain, most)));
        bad |= (~_mm_movemask_ps(ok) & 0xF) << b;
    }
    return bad & ((1 << n) - 1);
}

// All ones in the lanes of bands b to b + 3 that lie below count, zero in the others.
__m128i bands_below(int b, int count) noexcept
{
    return _mm_cmplt_epi32(_mm_setr_epi32(b, b + 1, b + 2, b + 3), _mm_set1_epi32(count));
}

double sanitized(double val, double lo, double hi, double fallback) noexcept
{
    return std::isfinite(val) ? std::clamp(val, lo, hi) : fallback;
}

} // namespace

FilterTapStage::FilterTapStage()
{
    size_lines(rate_);
    // Every band starts as a default filter made a band-pass of gain 1.
    const Biquad flat;
    for (int b = 0; b < BandLanes::bands; ++b)
    {
        bands_.freq[b] = flat.get_freq();
        bands_.q[b] = flat.get_q();
        bands_.gain[b] = 1.0f;
    }
    bands_.n = BandLanes::bands;
    bands_.rate = rate_;
    design_bands();
    compute_delays();
}

FilterTapStage::~FilterTapStage() = default;

void FilterTapStage::notify(plux::NotifierInterface& /*source*/)
{
    params_changed_.store(true, std::memory_order_release);
}

void FilterTapStage::set_default_values()
{
    if (evolution_param_ != nullptr)
    {
        evolution_param_->set_val_and_notify(ParamBandDelay::default_val);
    }
    if (tone_param_ != nullptr)
    {
        tone_param_->set_val_and_notify(ParamHarmBalance::default_val);
    }
}

void FilterTapStage::init(plux::PluginInternal& param_list, LinearRamp<double>& main_gain)
{
    main_gain_ = &main_gain;
    size_lines(rate_);

    auto evolution = std::make_shared<ParamBandDelay>();
    auto tone = std::make_shared<ParamHarmBalance>();
    evolution->set_val(ParamBandDelay::default_val, 2);
    tone->set_val(ParamHarmBalance::default_val, 2);
    param_list.add_param(evolution);
    param_list.add_param(tone);
    evolution->target = this;
    tone->target = this;
    evolution_param_ = evolution.get();
    tone_param_ = tone.get();

    compute_delays();
    design_bands();
    bands_changed_ = true;
}

void FilterTapStage::detach_params() noexcept
{
    evolution_param_ = nullptr;
    tone_param_ = nullptr;
}

int FilterTapStage::line_size_for(float rate) noexcept
{
    const double longest =
        max_delay_steps * max_step_ms * seconds_per_ms * static_cast<double>(rate);
    const int wanted = floor_int(longest) + 1 + max_chunk + 8;
    int size = 1;
    while (size < wanted)
    {
        size *= 2;
    }
    return size;
}

void FilterTapStage::size_lines(float rate)
{
    const int wanted = line_size_for(rate);
    if (wanted > size_)
    {
        const int used = wanted + mirror_frames;
        const int skew = channel_skew_bytes / static_cast<int>(sizeof(float));
        const int stride = (used + page_floats - skew - 1) / page_floats * page_floats + skew;
        // The old copy of the first frames now lies inside the line: start from silence.
        line_store_.assign(static_cast<std::size_t>(stride + used + page_floats), 0.0f);
        const std::uintptr_t gap = (reinterpret_cast<std::uintptr_t>(line_store_.data()) -
                                    reinterpret_cast<std::uintptr_t>(work_)) &
                                   (page_bytes - 1);
        const std::size_t shift = ((line_from_work_bytes - gap) & (page_bytes - 1)) / sizeof(float);
        lines_[0] = line_store_.data() + shift;
        lines_[1] = lines_[0] + stride;
        size_ = wanted;
        mask_ = wanted - 1;
        if (write_pos_ >= size_)
        {
            write_pos_ = 0;
        }
    }
}

void FilterTapStage::set_sample_rate(float rate)
{
    if (!(rate > 0.0f) || !std::isfinite(rate))
    {
        return;
    }
    rate_ = rate;
    evolution_glide_.set_sample_rate(rate);
    bands_.rate = rate;
    design_bands();
    bands_changed_ = true;
    size_lines(rate);
    compute_delays();
}

void FilterTapStage::set_nbr_proc_bands(int nbr) noexcept
{
    const int proc = std::clamp(nbr, 0, max_bands);
    // A band that joins starts from silence, like one never computed: the kernels run whole
    // vectors of lanes and leave history in the lanes of bands not processed, which would
    // otherwise depend on the vector width. A band that leaves is cleared too, so that the lanes
    // of bands not processed always hold a finite history.
    for (int b = std::min(proc, nbr_proc_); b < std::max(proc, nbr_proc_); ++b)
    {
        clear_lanes(b);
    }
    // The fades depend on the counts only; the layout sets them at every gliding step.
    fades_changed_ = fades_changed_ || proc != nbr_proc_;
    nbr_proc_ = proc;
    bands_changed_ = true;
}

void FilterTapStage::set_nbr_full_bands(int nbr) noexcept
{
    const int full = std::clamp(nbr, 0, max_bands);
    fades_changed_ = fades_changed_ || full != nbr_full_;
    nbr_full_ = full;
    bands_changed_ = true;
}

void FilterTapStage::set_nbr_target_bands(int nbr) noexcept
{
    const int target = std::clamp(nbr, 0, max_bands);
    fades_changed_ = fades_changed_ || target != nbr_target_;
    nbr_target_ = target;
    bands_changed_ = true;
}

void FilterTapStage::read_params() noexcept
{
    if (evolution_param_ != nullptr)
    {
        evolution_val_ = sanitized(evolution_param_->get_val(), ParamBandDelay::min_val,
                                   ParamBandDelay::max_val, evolution_val_);
    }
    if (tone_param_ != nullptr)
    {
        tone_val_ = sanitized(tone_param_->get_val(), ParamHarmBalance::min_val,
                              ParamHarmBalance::max_val, tone_val_);
    }
}

void FilterTapStage::compute_delays() noexcept
{
    const double t = evolution_glide_.get_value() * seconds_per_ms;
    const double r = rate_;
    const double span = std::abs(t);
    // Never more than the line holds with a chunk in flight.
    const int longest = size_ - max_chunk - 8;
    // Every delay is at least 0 and within the line, or NaN (taken as 0), so rounding half up
    // is the whole part plus one when the fraction reaches one half: the result of round_int,
    // two bands at a time, at every control step while Evolution glides.
    const double* steps = t >= 0.0 ? rising_steps : falling_steps;
    const __m128d zero = _mm_setzero_pd();
    const __m128d most = _mm_set1_pd(static_cast<double>(longest));
    const __m128d half = _mm_set1_pd(0.5);
    const __m128d scale = _mm_set1_pd(span);
    const __m128d rate = _mm_set1_pd(r);
    for (int band = 0; band < BandLanes::bands; band += 2)
    {
        const __m128d d = _mm_mul_pd(_mm_mul_pd(_mm_load_pd(steps + band), scale), rate);
        // min returns its second operand for a NaN, which the mask then turns into 0.
        const __m128d x = _mm_and_pd(_mm_cmpgt_pd(d, zero), _mm_min_pd(d, most));
        const __m128i whole = _mm_cvttpd_epi32(x);
        const __m128d up = _mm_cmpge_pd(_mm_sub_pd(x, _mm_cvtepi32_pd(whole)), half);
        const __m128i up32 = _mm_shuffle_epi32(_mm_castpd_si128(up), _MM_SHUFFLE(3, 3, 2, 0));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(delays_ + band), _mm_sub_epi32(whole, up32));
    }
}

Biquad FilterTapStage::get_band_filter(int band) const noexcept
{
    Biquad f;
    f.set_type(Biquad::type_band_pass);
    f.set_sample_rate(rate_);
    f.set_freq(bands_.freq[band]);
    f.set_gain(bands_.gain[band]);
    f.set_q(bands_.q[band]);
    f.apply_band_pass_design(
        bands_.s1[band], bands_.d1[band],
        {bands_.b0[band], bands_.b1[band], bands_.b2[band], bands_.a1[band], bands_.a2[band]});
    return f;
}

void FilterTapStage::design_bands() noexcept
{
    // Every lane at once, bands not processed and the main band's lane too: four registers side
    // by side cost no more than fewer. A section whose settings cannot be designed keeps its last
    // design, as Biquad::update() would. The settings are designable but for values no host can
    // give, so they are checked four at a time and copied only when one fails.
    const int refused = undesignable(bands_, BandLanes::bands);
    if (refused == 0)
    {
        kernels_->design_sections(bands_);
        return;
    }
    const SectionDesignJob last = bands_;
    kernels_->design_sections(bands_);
    for (int b = 0; b < BandLanes::bands; ++b)
    {
        if ((refused >> b) & 1)
        {
            for (const auto& [to, from] :
                 {std::pair{bands_.s1, last.s1}, std::pair{bands_.d1, last.d1},
                  std::pair{bands_.b0, last.b0}, std::pair{bands_.b1, last.b1},
                  std::pair{bands_.b2, last.b2}, std::pair{bands_.a1, last.a1},
                  std::pair{bands_.a2, last.a2}})
            {
                to[b] = from[b];
            }
        }
    }
}

void FilterTapStage::update_designs() noexcept
{
    design_bands();
    sync_lane_coefs();
}

void FilterTapStage::sync_lane_coefs() noexcept
{
    // Four bands at a time, zero past the last processed band.
    constexpr int right = BandLanes::bands;
    for (int b = 0; b < BandLanes::bands; b += 4)
    {
        const __m128 on = _mm_castsi128_ps(bands_below(b, nbr_proc_));
        for (const auto& [lane, row] :
             {std::pair{lanes_.b0, bands_.b0}, std::pair{lanes_.a1, bands_.a1},
              std::pair{lanes_.a2, bands_.a2}})
        {
            const __m128 v = _mm_and_ps(on, _mm_load_ps(row + b));
            _mm_store_ps(lane + b, v);
            _mm_store_ps(lane + right + b, v);
        }
    }
}

void FilterTapStage::sync_lane_fades() noexcept
{
    fading_ = false;
    for (int b = 0; b < BandLanes::bands; ++b)
    {
        float step = 0.0f;
        if (b >= nbr_proc_)
        {
            lanes_.gain[b] = 0.0f;
        }
        else if (b < nbr_full_)
        {
            lanes_.gain[b] = 1.0f;
        }
        else
        {
            step = b < nbr_target_ ? fade_step : -fade_step;
            fading_ = true;
        }
        for (int c = 0; c < 2; ++c)
        {
            const int lane = c * BandLanes::bands + b;
            lanes_.gain[lane] = lanes_.gain[b];
            lanes_.gain_step[lane] = step;
        }
    }
    fades_changed_ = false;
}

void FilterTapStage::clear_lanes(int band) noexcept
{
    for (int c = 0; c < 2; ++c)
    {
        const int lane = c * BandLanes::bands + band;
        lanes_.x1[lane] = 0.0f;
        lanes_.x2[lane] = 0.0f;
        lanes_.y1[lane] = 0.0f;
        lanes_.y2[lane] = 0.0f;
    }
}

void FilterTapStage::control_step(int n) noexcept
{
    prev_tone_ = tone_;
    // Looked at before it is taken: the exchange is a locked instruction, and most steps find
    // nothing new.
    if (params_changed_.load(std::memory_order_relaxed) &&
        params_changed_.exchange(false, std::memory_order_acq_rel))
    {
        read_params();
        evolution_glide_.set_target(static_cast<float>(evolution_val_));
        tone_ = tone_val_;
        if (tone_ != prev_tone_)
        {
            const double angle = tone_ * std::numbers::pi / 2.0;
            level_.move_to(static_cast<float>(std::sin(angle) * sqrt_half),
                           static_cast<float>(tone_fade_fraction));
            if (main_gain_ != nullptr)
            {
                main_gain_->move_to(std::cos(angle) * sqrt_half, tone_fade_fraction);
            }
        }
    }

    if (bands_changed_)
    {
        update_designs();
        bands_changed_ = false;
    }

    if (evolution_glide_.is_moving())
    {
        evolution_glide_.advance(n);
        compute_delays();
    }

    if (fades_changed_)
    {
        sync_lane_fades();
    }
    bool counts_changed = false;
    while (nbr_full_ < nbr_target_ && lanes_.gain[nbr_full_] > 0.999f)
    {
        ++nbr_full_;
        counts_changed = true;
    }
    while (nbr_proc_ > nbr_target_ && lanes_.gain[nbr_proc_ - 1] < 0.001f)
    {
        --nbr_proc_;
        clear_lanes(nbr_proc_);
        counts_changed = true;
    }
    if (counts_changed)
    {
        sync_lane_coefs();
        sync_lane_fades();
    }

    // A filter pushed beyond the float range by an absurd input starts again from silence. Lanes
    // of bands not processed hold a finite history (they are cleared when their band leaves), so
    // all of them can be looked at four at a time.
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    const __m128 most = _mm_set1_ps(std::numeric_limits<float>::max());
    __m128 finite = _mm_castsi128_ps(_mm_set1_epi32(-1));
    for (int lane = 0; lane < BandLanes::lanes; lane += 4)
    {
        for (const float* y : {lanes_.y1, lanes_.y2})
        {
            finite = _mm_and_ps(finite,
                                _mm_cmple_ps(_mm_and_ps(_mm_load_ps(y + lane), magnitude), most));
        }
    }
    if (_mm_movemask_ps(finite) != 0xF)
    {
        for (int b = 0; b < BandLanes::bands; ++b)
        {
            clear_lanes(b);
        }
    }

    level_.land_if_passed();
}

void FilterTapStage::reset() noexcept
{
    read_params();
    evolution_glide_.set_target(static_cast<float>(evolution_val_));
    evolution_glide_.snap();
    compute_delays();

    prev_tone_ = tone_val_;
    tone_ = tone_val_;
    const double angle = tone_ * std::numbers::pi / 2.0;
    level_.set(static_cast<float>(std::sin(angle) * sqrt_half));
    if (main_gain_ != nullptr)
    {
        main_gain_->set(std::cos(angle) * sqrt_half);
    }

    nbr_full_ = nbr_proc_;
    nbr_target_ = nbr_proc_;
    design_bands();
    for (int b = 0; b < BandLanes::bands; ++b)
    {
        clear_lanes(b);
    }
    sync_lane_coefs();
    sync_lane_fades();
    bands_changed_ = false;

    std::fill(line_store_.begin(), line_store_.end(), 0.0f);
}

void FilterTapStage::write_lines(const float* const src[2], int n) noexcept
{
    kernels_->noise(noise_, noise_state_, n);
    const int first = std::min(n, size_ - write_pos_);
    for (int ch = 0; ch < 2; ++ch)
    {
        const float* in = src[(ch == 1 && stereo_) ? 1 : 0];
        float* line = lines_[ch];
        kernels_->add(line + write_pos_, in, noise_, first);
        kernels_->add(line, in + first, noise_ + first, n - first);
        if (write_pos_ < mirror_frames || first < n)
        {
            std::memcpy(line + size_, line, mirror_frames * sizeof(float));
        }
    }
    write_pos_ = (write_pos_ + n) & mask_;
}

void FilterTapStage::process(float* const dst[2], const float* const src[2], int n) noexcept
{
    for (int done = 0; done < n;)
    {
        const int len = std::min(n - done, static_cast<int>(max_chunk));
        const float* const s[2] = {src[0] + done, src[1] + done};
        float* const d[2] = {dst[0] + done, dst[1] + done};
        const int nbr_chn = stereo_ ? 2 : 1;

        write_lines(s, len);
        if ((nbr_proc_ == 0 || std::abs(level_.get_current()) < 1e-9f) && !level_.is_moving())
        {
            for (int c = 0; c < nbr_chn; ++c)
            {
                clear_chunk(d[c], len);
            }
            done += len;
            continue;
        }
        if (fades_changed_)
        {
            sync_lane_fades();
        }

        BankJob job;
        job.lanes = &lanes_;
        job.line[0] = lines_[0];
        job.line[1] = lines_[1];
        job.n = len;
        job.nbr_chn = nbr_chn;
        job.nbr_bands = nbr_proc_;
        job.fading = fading_;
        // Lanes past the processed bands read where band 0 reads; four lanes at a time.
        const __m128i end = _mm_set1_epi32(write_pos_ - len);
        const __m128i mask = _mm_set1_epi32(mask_);
        const __m128i first = _mm_set1_epi32(delays_[0]);
        const __m128i first_pos = _mm_and_si128(_mm_sub_epi32(end, first), mask);
        __m128i same = _mm_set1_epi32(-1);
        for (int b = 0; b < BandLanes::bands; b += 4)
        {
            const __m128i on = bands_below(b, nbr_proc_);
            const __m128i own = _mm_load_si128(reinterpret_cast<const __m128i*>(delays_ + b));
            const __m128i delay = _mm_or_si128(_mm_and_si128(on, own), _mm_andnot_si128(on, first));
            const __m128i pos = _mm_and_si128(_mm_sub_epi32(end, delay), mask);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(job.read_pos + b), pos);
            same = _mm_and_si128(same, _mm_cmpeq_epi32(pos, first_pos));
        }
        job.same_delay = _mm_movemask_epi8(same) == 0xFFFF;
        job.sum[0] = d[0];
        job.sum[1] = d[1];
        if (level_.is_moving())
        {
            level_.fill(gains_, len);
            job.level_ramp = gains_;
        }
        else
        {
            job.level = level_.get_current();
        }
        job.work = work_;
        kernels_->run_bank(job);

        if (!stereo_)
        {
            // The right lanes keep the fade of the left, for a later switch to stereo.
            std::memcpy(lanes_.gain + BandLanes::bands, lanes_.gain,
                        BandLanes::bands * sizeof(float));
        }
        done += len;
    }
}
