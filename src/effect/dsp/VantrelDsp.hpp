#pragma once

#include <atomic>
#include <numbers>
#include <string>
#include <vector>

#include "effect/dsp/Biquad.hpp"
#include "effect/dsp/DistortionTable.hpp"
#include "effect/dsp/DspKernels.hpp"
#include "effect/dsp/FilterTapStage.hpp"
#include "effect/dsp/Glide.hpp"
#include "effect/dsp/LinearRamp.hpp"
#include "plux/BusInfo.hpp"
#include "plux/param/NotifiedInterface.hpp"
#include "plux/param/NotifierInterface.hpp"
#include "plux/param/PluginInternal.hpp"
#include "plux/setting/SettingDspMixin.hpp"

class ParamBandDelay;
class ParamCutFreq;
class ParamDistoGain;
class ParamDistoRouting;
class ParamHarmFactor;
class ParamNbrBand;
class ParamReso;

// The effect's signal processor: a resonant low-pass main band per channel and the harmonic
// band bank, mixed with an equal-power balance, through an arctangent shaper placed before or
// after the mix. Processes one stereo bus in 32-bit float and adapts to mono when the host leaves
// the right input or output unconnected.
//
// Threads: init, start, stop, set_sample_rate, clear_buffers, load_prog and the program name run
// on the host's user-interface thread while no audio runs; notify on any thread; process,
// process_adding and the control step on the audio thread, without allocating, locking or
// waiting. Parameter changes reach the sound at the next 64-sample control step and glide over
// 0.1 s (Glide::param_time) from there.
class VantrelDsp : public plux::NotifiedInterface,
                   public plux::NotifierInterface,
                   public plux::PluginInternal,
                   public plux::SettingDspMixin
{
public:
    static constexpr int control_interval = 64;
    static constexpr double min_sample_rate = 4000.0;
    static constexpr double max_sample_rate = 384000.0;
    // Beyond the supported range the engine still runs at the host's rate; only a rate no audio
    // interface has (which would ask for gigabytes of delay line) is held to this.
    static constexpr float highest_sample_rate = 1536000.0f;
    // Harmonic bands stay below this fraction of the rate.
    static constexpr double band_limit_ratio = 0.475;
    static constexpr int nbr_params = 8;

    VantrelDsp();
    ~VantrelDsp() override;
    VantrelDsp(const VantrelDsp&) = delete;
    VantrelDsp& operator=(const VantrelDsp&) = delete;

    int init() override;
    void start() override;
    void stop() override;

    plux::HostDspInterface* get_host() const override { return host_; }
    void set_host(plux::HostDspInterface* host) override { host_ = host; }
    plux::GuiInterface* get_gui() const override { return gui_; }
    void set_gui(plux::GuiInterface* gui) override { gui_ = gui; }

    int get_nbr_in_buses() const override { return 1; }
    const plux::BusInfo& use_in_bus(int index) const override;
    int get_nbr_out_buses() const override { return 1; }
    const plux::BusInfo& use_out_bus(int index) const override;
    double get_min_sample_rate() const override { return min_sample_rate; }
    double get_max_sample_rate() const override { return max_sample_rate; }
    // Any positive rate up to highest_sample_rate is taken as it is; 0 and NaN are ignored.
    void set_sample_rate(float rate) override;

    // Eight from construction on: the frame counts the parameters before init() creates them.
    int get_nbr_param() const override { return nbr_params; }

    void set_prog_name(const std::string& name) override { prog_name_ = name; }
    std::string get_prog_name() const override { return prog_name_; }

    double get_info_num(const std::string& key) const override;
    std::string get_info_str(const std::string& key) const override;

    void clear_buffers() override;

    void load_prog(const std::vector<float>& values) override;
    void save_prog(std::vector<float>& values) const override;

    int process(float** outputs, float** inputs, int nbr_spl, int flag) noexcept override;
    int process_adding(float** outputs, float** inputs, int nbr_spl, int flag) noexcept override;

    // One of the engine's parameters changed: read at the next control step.
    void notify(plux::NotifierInterface& source) override;

    // Inspection, for tests and diagnostics.
    FilterTapStage& use_filter_stage() noexcept { return stage_; }
    // The main band of a channel: the design both channels share, with that channel's history.
    Biquad get_main_filter(int chn) const noexcept;
    const Glide& use_cutoff_glide() const noexcept { return cutoff_glide_; }
    const Glide& use_reso_glide() const noexcept { return reso_glide_; }
    const Glide& use_spacing_glide() const noexcept { return spacing_glide_; }
    const Glide& use_gain_glide() const noexcept { return gain_glide_; }
    const LinearRamp<double>& get_main_gain() const noexcept { return main_gain_; }
    float get_sample_rate() const noexcept { return rate_; }
    // The kernels in use; tests compare the instruction-set versions.
    void set_kernels(const DspKernels& kernels) noexcept;

private:
    void refresh_connections() noexcept;
    void read_params() noexcept;
    void set_glide_targets() noexcept;
    // The main band's settings from its glides.
    void set_main_settings() noexcept;
    // Settings, design and block form of the main band at once.
    void update_main_filter() noexcept;
    void lay_out_bands(bool settle) noexcept;
    void control_step() noexcept;

    // How one chunk runs, from the connections, Dist Routing and the kind of call: which source
    // feeds the bank and the main band, where the curve goes and how it is computed, where the
    // result goes. Post or Pre times the three connection cases make six paths; process_adding
    // takes the same six.
    struct Route
    {
        // Two channels with both right pins connected; otherwise one, fed by the left input, or
        // by the downmix of both inputs when only the right output is missing.
        int nbr_chn;
        bool downmix;
        bool right_in;
        // The curve on the whole mix (Post), or on the main band before the mix (Pre).
        bool post;
        // Computed exactly, or by table.
        bool exact_curve;
        // process_adding: rendered aside, then added to the outputs.
        bool adding;
        bool right_out;
        // One channel and the right output connected: it receives the left result.
        bool copy_left;
    };

    void process_block(float** outputs, float** inputs, int nbr_spl, bool adding) noexcept;
    void make_route(Route& route, float** outputs, float** inputs, bool adding) noexcept;
    void run_chunk(const Route& route, float** outputs, float** inputs, int offset, int n) noexcept;
    void run_post(const Route& route, const float* const src[2], float* const res[2],
                  int n) noexcept;
    void run_pre(const Route& route, const float* const src[2], float* const res[2],
                 int n) noexcept;
    MainBandJob main_band_job(const float* const src[2], int nbr_chn, int n) noexcept;
    void mix(float* const dst[2], int nbr_chn, int n) noexcept;
    // With no processed band the bank's output is silence, and the main band is written over it
    // rather than added to it.
    bool has_bank() const noexcept { return stage_.get_nbr_proc_bands() != 0; }
    float curve_gain() const noexcept { return static_cast<float>(gain_glide_.get_value()); }
    // The exact curve takes u = x (g pi/2), with g narrowed to float first.
    float exact_curve_k() const noexcept
    {
        return static_cast<float>(static_cast<double>(curve_gain()) * (std::numbers::pi / 2.0));
    }

    plux::HostDspInterface* host_ = nullptr;
    plux::GuiInterface* gui_ = nullptr;
    FilterTapStage stage_;
    plux::BusInfo in_bus_;
    plux::BusInfo out_bus_;
    int control_counter_ = 0;
    bool right_in_connected_ = false;
    bool right_out_connected_ = false;
    // 44100 Hz until the host tells the rate, like the filters.
    float rate_ = 44100.0f;
    std::atomic<bool> params_changed_{true};
    std::string prog_name_ = "Morvane default";
    Glide cutoff_glide_{Glide::param_time, rate_};
    Glide reso_glide_{Glide::param_time, rate_};
    Glide spacing_glide_{Glide::param_time, rate_};
    Glide gain_glide_{Glide::param_time, rate_};

    ParamCutFreq* cutoff_ = nullptr;
    ParamReso* reso_ = nullptr;
    ParamNbrBand* nbr_bands_ = nullptr;
    ParamDistoGain* dist_gain_ = nullptr;
    ParamDistoRouting* routing_ = nullptr;
    ParamHarmFactor* spacing_ = nullptr;
    // The last valid values read from the parameters; the defaults before init().
    double cutoff_val_;
    double reso_val_;
    double nbr_bands_val_;
    double dist_gain_val_;
    double routing_val_;
    double spacing_val_;

    int prev_band_count_ = 1;
    int cur_band_count_ = 1;
    LinearRamp<double> main_gain_{0.5};
    // The host's channel pointers for the block being processed.
    float* host_in_[2] = {nullptr, nullptr};
    float* host_out_[2] = {nullptr, nullptr};
    // The main band's design, with the left history; the right history beside it.
    Biquad main_filter_;
    BiquadState main_right_state_;
    BiquadBlock main_block_;
    const DspKernels* kernels_ = &DspKernels::get();
    // Built here, off the audio thread.
    const DistortionTable& table_ = DistortionTable::get();

    // Per chunk: sanitised inputs, downmix, bank and main band outputs, results for
    // process_adding, main gain per sample.
    alignas(32) float in_buf_[2][control_interval] = {};
    alignas(32) float downmix_[control_interval] = {};
    alignas(32) float bank_buf_[2][control_interval] = {};
    alignas(32) float main_buf_[2][control_interval] = {};
    alignas(32) float result_buf_[2][control_interval] = {};
    alignas(32) float gains_[control_interval] = {};
};
