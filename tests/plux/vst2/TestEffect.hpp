#pragma once

// The one effect of the tests of the plug-in frame: eight parameters of every kind the frame
// treats differently (continuous, stepped with a range, a two-state switch), a stereo gain, and
// an editor side that records what the frame tells it. Built into the test plug-in module, into
// in-process tests, and into the fuzz targets when Morvane's engine is not built.
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "plux/EffectFactoryInterface.hpp"
#include "plux/GuiInterface.hpp"
#include "plux/PluginInfo.hpp"
#include "plux/param/NormalizedParamInterface.hpp"
#include "plux/param/NotifiedInterface.hpp"
#include "plux/param/PluginInternal.hpp"
#include "plux/setting/SettingDspMixin.hpp"

namespace plux_test
{

// Internal value = min + n × (max − min), rounded for stepped parameters; text "%g".
class TestParam : public plux::NormalizedParamInterface
{
public:
    TestParam(std::string name, std::string unit, double min, double max, bool discrete);

    void get_name(char* buf, int n) const override { copy_text(buf, n, name_.c_str()); }
    void get_unit(char* buf, int n) const override { copy_text(buf, n, unit_.c_str()); }
    bool is_discrete() const override { return discrete_; }
    double conv_nrm_to_val(float nrm) const override;
    float conv_val_to_nrm(double val) const override
    {
        return static_cast<float>((val - min_) / (max_ - min_));
    }
    void conv_val_to_str(char* buffer, int capacity, double val) const override;
    double conv_str_to_val(const char* text, bool& ok) const override;

private:
    std::string name_;
    std::string unit_;
    double min_;
    double max_;
    bool discrete_;
};

struct TestConfig
{
    bool hide_parameters = false;
    bool with_gui = true;
    bool gui_fails = false;
    // The product as the settings name it; tests of registry values use a maker key of the
    // registry sandbox.
    std::string plugin_name = "Morvane";
    std::string manufacturer = "Tarvex";
    double version = 1.6;
};

class TestDsp final : public plux::PluginInternal,
                      public plux::SettingDspMixin,
                      public plux::NotifiedInterface
{
public:
    static constexpr int nbr_param = 8;

    explicit TestDsp(TestConfig config = {});

    int init() override;
    void start() override;
    void stop() override { clear_params(); }
    plux::HostDspInterface* get_host() const override { return host_; }
    void set_host(plux::HostDspInterface* host) override { host_ = host; }
    plux::GuiInterface* get_gui() const override { return gui_; }
    void set_gui(plux::GuiInterface* gui) override { gui_ = gui; }
    int get_nbr_in_buses() const override { return 1; }
    const plux::BusInfo& use_in_bus(int) const override { return in_bus_; }
    int get_nbr_out_buses() const override { return 1; }
    const plux::BusInfo& use_out_bus(int) const override { return out_bus_; }
    double get_min_sample_rate() const override { return 4000.0; }
    double get_max_sample_rate() const override { return 384000.0; }
    void set_sample_rate(float rate) override { rate_ = rate; }
    // Fixed before init() creates the parameters: the frame counts them at construction.
    int get_nbr_param() const override { return nbr_param; }
    void set_prog_name(const std::string& name) override;
    std::string get_prog_name() const override;
    void bank_changed(basic::LockFreeBuffer<plux::BankManager>&) noexcept override
    {
        ++bank_changed_calls;
    }
    double get_info_num(const std::string& key) const override;
    std::string get_info_str(const std::string& key) const override;
    void clear_buffers() override {}
    void set_tempo(float bpm) noexcept override
    {
        ++tempo_calls;
        last_tempo = bpm;
    }
    void load_prog(const std::vector<float>& values) override;
    void save_prog(std::vector<float>& values) const override { copy_values(values); }
    int process(float** outputs, float** inputs, int nbr_spl, int flag) noexcept override
    {
        apply_gain(outputs, inputs, nbr_spl, false);
        return flag;
    }
    int process_adding(float** outputs, float** inputs, int nbr_spl, int flag) noexcept override
    {
        apply_gain(outputs, inputs, nbr_spl, true);
        return flag;
    }
    void notify(plux::NotifierInterface&) override {}

    std::atomic<int> bank_changed_calls{0};
    std::atomic<int> tempo_calls{0};
    std::atomic<float> last_tempo{0.0f};
    std::atomic<int> rounding_in_process{-1};
    float rate_ = 0.0f;

private:
    // Parameter 3 is the gain.
    void apply_gain(float** outputs, float** inputs, int nbr_spl, bool adding) noexcept;

    TestConfig config_;
    plux::HostDspInterface* host_ = nullptr;
    plux::GuiInterface* gui_ = nullptr;
    plux::BusInfo in_bus_;
    plux::BusInfo out_bus_;
    mutable std::mutex name_mutex_;
    std::string prog_name_ = "Test default";
};

class TestGui final : public plux::GuiInterface
{
public:
    struct Change
    {
        int index;
        float value;
        int origin;
    };

    void init() override;
    void set_default_state() override {}
    plux::HostGuiInterface* get_host() const override { return host_; }
    void set_host(plux::HostGuiInterface* host) override { host_ = host; }
    plux::DspInterface* get_dsp() const override { return dsp_; }
    void set_dsp(plux::DspInterface* dsp) override { dsp_ = dsp; }
    void set_window(ravik::WindowInterface* window) override { window_ = window; }
    ravik::WindowInterface* get_window() const override { return window_; }
    void get_size(int& width, int& height) const override
    {
        width = 300;
        height = 335;
    }
    void get_resizable_size(int& width, int& height) const override { get_size(width, height); }
    int open(void* parent) override;
    void close() override { open_ = false; }
    // Keeps the latest changes only: a host may run the effect for as long as it likes.
    void set_param_value(int index, float value, int origin) override;
    void set_param_mark(int, int) override {}

    std::vector<Change> changes() const;

    bool fail_init = false;
    bool throw_on_open = false;
    bool open_ = false;

private:
    plux::HostGuiInterface* host_ = nullptr;
    plux::DspInterface* dsp_ = nullptr;
    ravik::WindowInterface* window_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<Change> changes_;
};

class TestFactory final : public plux::EffectFactoryInterface
{
public:
    explicit TestFactory(TestConfig config = {});

    const plux::PluginInfo& use_info() const override { return info_; }
    std::unique_ptr<plux::DspInterface> create_dsp() const override;
    std::unique_ptr<plux::GuiInterface> create_gui() const override;

private:
    TestConfig config_;
    plux::PluginInfo info_;
};

} // namespace plux_test
