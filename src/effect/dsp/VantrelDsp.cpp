#include "effect/dsp/VantrelDsp.hpp"

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "effect/param/ParamCutFreq.hpp"
#include "effect/param/ParamDistoGain.hpp"
#include "effect/param/ParamDistoRouting.hpp"
#include "effect/param/ParamHarmFactor.hpp"
#include "effect/param/ParamNbrBand.hpp"
#include "effect/param/ParamReso.hpp"
#include "kel/Rounding.hpp"
#include "plux/HostDspInterface.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/param/ParamReorder.hpp"

namespace
{

double sanitized(double val, double lo, double hi, double fallback) noexcept
{
    return std::isfinite(val) ? std::clamp(val, lo, hi) : fallback;
}

template <class P>
double read_param(const P* param, double fallback) noexcept
{
    return param != nullptr ? sanitized(param->get_val(), P::min_val, P::max_val, fallback)
                            : fallback;
}

} // namespace

VantrelDsp::VantrelDsp()
    : in_bus_("Input", {"Left input", "Right input"})
    , out_bus_("Output", {"Left output", "Right output"})
    , cutoff_val_(ParamCutFreq::default_val)
    , reso_val_(ParamReso::default_val)
    , nbr_bands_val_(ParamNbrBand::default_val)
    , dist_gain_val_(ParamDistoGain::default_val)
    , routing_val_(ParamDistoRouting::default_val)
    , spacing_val_(ParamHarmFactor::default_val)
{
    main_filter_.compute_block(main_block_);
}

VantrelDsp::~VantrelDsp() = default;

Biquad VantrelDsp::get_main_filter(int chn) const noexcept
{
    Biquad f = main_filter_;
    if (chn == 1)
    {
        f.use_state() = main_right_state_;
    }
    return f;
}

int VantrelDsp::init()
{
    if (cutoff_ != nullptr)
    {
        return 0;
    }
    auto cutoff = std::make_shared<ParamCutFreq>();
    auto reso = std::make_shared<ParamReso>();
    auto nbr_bands = std::make_shared<ParamNbrBand>();
    auto dist_gain = std::make_shared<ParamDistoGain>();
    auto routing = std::make_shared<ParamDistoRouting>();
    auto spacing = std::make_shared<ParamHarmFactor>();
    cutoff->set_val(ParamCutFreq::default_val, 2);
    reso->set_val(ParamReso::default_val, 2);
    nbr_bands->set_val(ParamNbrBand::default_val, 2);
    dist_gain->set_val(ParamDistoGain::default_val, 2);
    routing->set_val(ParamDistoRouting::default_val, 2);
    spacing->set_val(ParamHarmFactor::default_val, 2);

    const std::shared_ptr<plux::NormalizedParamInterface> in_host_order[] = {
        cutoff, reso, nbr_bands, dist_gain, routing, spacing};
    for (const auto& param : in_host_order)
    {
        add_param(param);
        param->target = this;
    }
    cutoff_ = cutoff.get();
    reso_ = reso.get();
    nbr_bands_ = nbr_bands.get();
    dist_gain_ = dist_gain.get();
    routing_ = routing.get();
    spacing_ = spacing.get();

    main_filter_.set_type(Biquad::type_low_pass);
    update_main_filter();

    stage_.init(*this, main_gain_);

    // MIDI control: every parameter i on NRPN i until the user binds otherwise.
    plux::MidiMgr* midi = host_ != nullptr ? host_->use_midi_mgr() : nullptr;
    if (midi != nullptr)
    {
        midi->set_plugin_name(get_info_str("plugin_name"));
        midi->set_default_map();
    }
    // The MIDI layout comes before the parameter order in the setting files.
    return setup_settings({midi, host_ != nullptr ? &host_->use_param_reorder() : nullptr});
}

void VantrelDsp::start()
{
    if (cutoff_ != nullptr)
    {
        cutoff_->set_val_and_notify(ParamCutFreq::default_val);
        reso_->set_val_and_notify(ParamReso::default_val);
        nbr_bands_->set_val_and_notify(ParamNbrBand::default_val);
        dist_gain_->set_val_and_notify(ParamDistoGain::default_val);
        routing_->set_val_and_notify(ParamDistoRouting::default_val);
        spacing_->set_val_and_notify(ParamHarmFactor::default_val);
    }
    params_changed_.store(true, std::memory_order_release);
    stage_.set_default_values();
    clear_buffers();
}

void VantrelDsp::stop()
{
    // The list owns the parameters: forget them before they go.
    cutoff_ = nullptr;
    reso_ = nullptr;
    nbr_bands_ = nullptr;
    dist_gain_ = nullptr;
    routing_ = nullptr;
    spacing_ = nullptr;
    stage_.detach_params();
    clear_params();
}

const plux::BusInfo& VantrelDsp::use_in_bus(int index) const
{
    if (index != 0)
    {
        throw std::out_of_range("VantrelDsp::use_in_bus() : Index out of range.");
    }
    return in_bus_;
}

const plux::BusInfo& VantrelDsp::use_out_bus(int index) const
{
    if (index != 0)
    {
        throw std::out_of_range("VantrelDsp::use_out_bus() : Index out of range.");
    }
    return out_bus_;
}

void VantrelDsp::set_sample_rate(float rate)
{
    if (!(rate > 0.0f) || !std::isfinite(rate))
    {
        return;
    }
    rate_ = std::min(rate, highest_sample_rate);
    stage_.set_sample_rate(rate_);
    main_filter_.set_sample_rate(rate_);
    main_filter_.update();
    main_filter_.compute_block(main_block_);
    cutoff_glide_.set_sample_rate(rate_);
    reso_glide_.set_sample_rate(rate_);
    spacing_glide_.set_sample_rate(rate_);
    gain_glide_.set_sample_rate(rate_);
}

double VantrelDsp::get_info_num(const std::string& key) const
{
    if (key == "can_mono")
    {
        return 1.0;
    }
    if (key == "plugin_version")
    {
        return 1.6;
    }
    return 0.0;
}

std::string VantrelDsp::get_info_str(const std::string& key) const
{
    if (key == "plugin_name")
    {
        return "Morvane";
    }
    if (key == "manufacturer")
    {
        return "Tarvex";
    }
    if (key == "plugin_category")
    {
        return "effect";
    }
    return std::string();
}

void VantrelDsp::notify(plux::NotifierInterface& /*source*/)
{
    params_changed_.store(true, std::memory_order_release);
}

void VantrelDsp::set_kernels(const DspKernels& kernels) noexcept
{
    kernels_ = &kernels;
    stage_.set_kernels(kernels);
}

void VantrelDsp::read_params() noexcept
{
    cutoff_val_ = read_param(cutoff_, cutoff_val_);
    reso_val_ = read_param(reso_, reso_val_);
    nbr_bands_val_ = read_param(nbr_bands_, nbr_bands_val_);
    dist_gain_val_ = read_param(dist_gain_, dist_gain_val_);
    routing_val_ = read_param(routing_, routing_val_);
    spacing_val_ = read_param(spacing_, spacing_val_);
}

void VantrelDsp::set_glide_targets() noexcept
{
    cutoff_glide_.set_target(static_cast<float>(cutoff_val_));
    reso_glide_.set_target(static_cast<float>(reso_val_));
    spacing_glide_.set_target(static_cast<float>(spacing_val_));
    gain_glide_.set_target(static_cast<float>(dist_gain_val_));
}

void VantrelDsp::set_main_settings() noexcept
{
    // In the low-pass type the gain field is the Q.
    main_filter_.set_freq(static_cast<float>(cutoff_glide_.get_value()));
    main_filter_.set_gain(static_cast<float>(reso_glide_.get_value()));
    main_filter_.set_q(static_cast<float>(reso_glide_.get_value()));
}

void VantrelDsp::update_main_filter() noexcept
{
    set_main_settings();
    main_filter_.update();
    main_filter_.compute_block(main_block_);
}

void VantrelDsp::lay_out_bands(bool settle) noexcept
{
    const double c = cutoff_glide_.get_value();
    const double s = spacing_glide_.get_value();
    const int wanted = std::clamp(round_int(nbr_bands_val_) - 1, 0, FilterTapStage::max_bands);
    const int limit =
        std::clamp(floor_int(band_limit_ratio * rate_ / (c * s)), 0, FilterTapStage::max_bands);
    const int target = std::min(wanted, limit);
    if (settle)
    {
        stage_.set_nbr_proc_bands(target);
        stage_.set_nbr_full_bands(target);
    }
    else
    {
        stage_.set_nbr_proc_bands(std::min(std::max(wanted, stage_.get_nbr_proc_bands()), limit));
        stage_.set_nbr_full_bands(std::min(std::min(stage_.get_nbr_full_bands(), wanted), limit));
    }
    stage_.set_nbr_target_bands(target);
    stage_.lay_out_harmonics(c, s);
}

void VantrelDsp::clear_buffers()
{
    params_changed_.store(false, std::memory_order_release);
    read_params();
    set_glide_targets();
    cutoff_glide_.snap();
    reso_glide_.snap();
    spacing_glide_.snap();
    gain_glide_.snap();

    update_main_filter();
    main_filter_.clear();
    main_right_state_ = BiquadState();

    lay_out_bands(false);
    prev_band_count_ = round_int(nbr_bands_val_);
    cur_band_count_ = prev_band_count_;
    lay_out_bands(true);

    stage_.reset();
}

void VantrelDsp::refresh_connections() noexcept
{
    if (host_ != nullptr)
    {
        right_in_connected_ = host_->is_in_connected(0, 1);
        right_out_connected_ = host_->is_out_connected(0, 1);
    }
    else
    {
        right_in_connected_ = true;
        right_out_connected_ = true;
    }
    stage_.set_stereo(right_out_connected_);
}

void VantrelDsp::control_step() noexcept
{
    // The band layout follows the glides under way when the step begins, so a new cutoff or
    // spacing reaches the harmonic bands one step after it reaches the main band.
    const bool layout_gliding = cutoff_glide_.is_moving() || spacing_glide_.is_moving();

    // Looked at before it is taken: the exchange is a locked instruction, and most steps find
    // nothing new.
    if (params_changed_.load(std::memory_order_relaxed) &&
        params_changed_.exchange(false, std::memory_order_acq_rel))
    {
        read_params();
        set_glide_targets();
    }
    gain_glide_.advance(control_interval);

    prev_band_count_ = cur_band_count_;
    nbr_bands_val_ = read_param(nbr_bands_, nbr_bands_val_);
    cur_band_count_ = round_int(nbr_bands_val_);

    // While it glides, the main band is designed with the bands.
    const bool main_gliding = cutoff_glide_.is_moving() || reso_glide_.is_moving();
    if (main_gliding)
    {
        cutoff_glide_.advance(control_interval);
        reso_glide_.advance(control_interval);
        set_main_settings();
        stage_.set_main_band(main_filter_.get_freq(), main_filter_.get_q());
    }
    if (layout_gliding || cur_band_count_ != prev_band_count_)
    {
        spacing_glide_.advance(control_interval);
        lay_out_bands(false);
    }

    stage_.control_step(control_interval);
    // Settings that update() would refuse leave the design as it was.
    if (main_gliding && main_filter_.is_designable())
    {
        main_filter_.apply_low_pass_design(stage_.get_main_band_d1(), stage_.get_main_band_coefs());
        main_filter_.compute_block(main_block_);
    }
    main_gain_.land_if_passed();

    // A main band pushed beyond the float range by an absurd input starts again from silence.
    if (!main_filter_.is_state_finite())
    {
        main_filter_.clear();
    }
    if (!is_finite(main_right_state_))
    {
        main_right_state_ = BiquadState();
    }
}

void VantrelDsp::load_prog(const std::vector<float>& values)
{
    const int nbr = std::min(PluginInternal::get_nbr_param(), static_cast<int>(values.size()));
    for (int i = 0; i < nbr; ++i)
    {
        // A damaged program must not carry a value outside 0..1 into the parameters.
        const float val = values[static_cast<std::size_t>(i)];
        if (std::isnan(val))
        {
            continue;
        }
        const float nrm = std::clamp(val, 0.0f, 1.0f);
        plux::NormalizedParamInterface& param = use_param(i);
        if (param.get_nrm() != nrm)
        {
            param.set_nrm_and_notify(nrm);
        }
    }
}

void VantrelDsp::save_prog(std::vector<float>& values) const
{
    copy_values(values);
    values.resize(nbr_params, 0.0f);
}

int VantrelDsp::process(float** outputs, float** inputs, int nbr_spl, int flag) noexcept
{
    process_block(outputs, inputs, nbr_spl, false);
    return flag;
}

int VantrelDsp::process_adding(float** outputs, float** inputs, int nbr_spl, int flag) noexcept
{
    process_block(outputs, inputs, nbr_spl, true);
    return flag;
}

void VantrelDsp::process_block(float** outputs, float** inputs, int nbr_spl, bool adding) noexcept
{
    if (outputs == nullptr || inputs == nullptr || outputs[0] == nullptr || inputs[0] == nullptr ||
        nbr_spl <= 0)
    {
        return;
    }
    // Once a block: a host changes its connections between calls, never within one.
    refresh_connections();
    // The host's channel pointers, read once into the engine: wherever the host keeps them (on
    // its stack, often), reading them there at every chunk made some processes 10% slower than
    // others, most likely from false 4 KiB dependencies on the chunks' own stores.
    float** const in = host_in_;
    float** const out = host_out_;
    in[0] = inputs[0];
    in[1] = right_in_connected_ ? inputs[1] : nullptr;
    out[0] = outputs[0];
    out[1] = right_out_connected_ ? outputs[1] : nullptr;
    for (int offset = 0; offset < nbr_spl;)
    {
        const int len = std::min(nbr_spl - offset, control_interval);
        control_counter_ += len;
        if (control_counter_ >= control_interval)
        {
            control_step();
            control_counter_ -= control_interval;
        }
        Route route;
        make_route(route, out, in, adding);
        run_chunk(route, out, in, offset, len);
        offset += len;
    }
}

// Filled in place: a Route returned by value is assembled from its bytes into a register through
// memory, and the wide load after the narrow stores stalls at every chunk.
void VantrelDsp::make_route(Route& r, float** outputs, float** inputs, bool adding) noexcept
{
    routing_val_ = read_param(routing_, routing_val_);
    // The pointers of unconnected pins are already null.
    r.right_in = inputs[1] != nullptr;
    r.right_out = outputs[1] != nullptr;
    const bool stereo = r.right_in && r.right_out;
    r.nbr_chn = stereo ? 2 : 1;
    r.downmix = r.right_in && !r.right_out;
    r.post = routing_val_ >= 0.5;
    // The mono paths save the arctangent with the table, except in a Post process_adding.
    r.exact_curve = stereo || (r.post && adding);
    r.adding = adding;
    r.copy_left = !stereo && r.right_out;
}

void VantrelDsp::run_chunk(const Route& route, float** outputs, float** inputs, int offset,
                           int n) noexcept
{
    // Non-finite input from a broken source upstream is taken as silence, so that it cannot
    // poison the filters and delay lines. Read before anything is written: the host may pass the
    // same buffers for inputs and outputs.
    kernels_->sanitize(in_buf_[0], inputs[0] + offset, n);
    if (route.right_in)
    {
        kernels_->sanitize(in_buf_[1], inputs[1] + offset, n);
    }
    if (route.downmix)
    {
        for (int t = 0; t < n; ++t)
        {
            downmix_[t] = (in_buf_[0][t] + in_buf_[1][t]) * 0.5f;
        }
    }
    const float* mono = route.downmix ? downmix_ : in_buf_[0];
    const float* const src[2] = {mono, route.nbr_chn == 2 ? in_buf_[1] : mono};

    float* const out[2] = {outputs[0] + offset, route.right_out ? outputs[1] + offset : nullptr};
    float* const res[2] = {route.adding ? result_buf_[0] : out[0],
                           route.adding || !route.right_out ? result_buf_[1] : out[1]};
    main_gain_.fill(gains_, n);
    if (route.post)
    {
        run_post(route, src, res, n);
    }
    else
    {
        run_pre(route, src, res, n);
    }

    if (route.copy_left)
    {
        std::copy(res[0], res[0] + n, res[1]);
    }
    if (route.adding)
    {
        for (int c = 0; c < (route.right_out ? 2 : 1); ++c)
        {
            for (int t = 0; t < n; ++t)
            {
                out[c][t] += res[c][t];
            }
        }
    }
}

// Bank and main band mixed, then the curve on the mix.
void VantrelDsp::run_post(const Route& route, const float* const src[2], float* const res[2],
                          int n) noexcept
{
    float* const bank[2] = {bank_buf_[0], bank_buf_[1]};
    stage_.process(bank, src, n);
    MainBandJob job = main_band_job(src, route.nbr_chn, n);
    if (route.exact_curve)
    {
        // shape(g (bank + gain main)) right behind the main band, in the same call.
        for (int c = 0; c < route.nbr_chn; ++c)
        {
            job.shaped[c] = res[c];
            job.mix[c] = has_bank() ? bank[c] : nullptr;
        }
        job.gain = gains_;
        job.shape_k = exact_curve_k();
        kernels_->run_main_band(job);
        return;
    }
    kernels_->run_main_band(job);
    mix(bank, route.nbr_chn, n);
    table_.shape_block(res[0], bank[0], curve_gain(), n);
}

// The curve on the main band alone, then the bank mixed in unbounded.
void VantrelDsp::run_pre(const Route& route, const float* const src[2], float* const res[2],
                         int n) noexcept
{
    MainBandJob job = main_band_job(src, route.nbr_chn, n);
    if (route.exact_curve)
    {
        for (int c = 0; c < route.nbr_chn; ++c)
        {
            job.shaped[c] = main_buf_[c];
        }
        job.shape_k = exact_curve_k();
        kernels_->run_main_band(job);
    }
    else
    {
        kernels_->run_main_band(job);
        table_.shape_block(main_buf_[0], main_buf_[0], curve_gain(), n);
    }
    stage_.process(res, src, n);
    for (int c = 0; c < route.nbr_chn; ++c)
    {
        kernels_->mix_clean(res[c], has_bank() ? res[c] : nullptr, main_buf_[c], gains_, n);
    }
}

MainBandJob VantrelDsp::main_band_job(const float* const src[2], int nbr_chn, int n) noexcept
{
    MainBandJob job;
    job.coefs = &main_filter_.get_coefs();
    job.block = &main_block_;
    for (int c = 0; c < 2; ++c)
    {
        job.state[c] = c == 0 ? &main_filter_.use_state() : &main_right_state_;
        job.src[c] = src[c];
        job.dst[c] = main_buf_[c];
    }
    job.n = n;
    job.nbr_chn = nbr_chn;
    job.guarded = true;
    return job;
}

void VantrelDsp::mix(float* const dst[2], int nbr_chn, int n) noexcept
{
    const bool add = has_bank();
    for (int c = 0; c < nbr_chn; ++c)
    {
        float* d = dst[c];
        const float* m = main_buf_[c];
        for (int t = 0; t < n; ++t)
        {
            const float v = gains_[t] * m[t];
            d[t] = add ? d[t] + v : v;
        }
    }
}
