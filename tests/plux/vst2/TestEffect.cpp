#include "TestEffect.hpp"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "plux/HostDspInterface.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/param/ParamReorder.hpp"

namespace plux_test
{

TestParam::TestParam(std::string name, std::string unit, double min, double max, bool discrete)
    : name_(std::move(name))
    , unit_(std::move(unit))
    , min_(min)
    , max_(max)
    , discrete_(discrete)
{
}

double TestParam::conv_nrm_to_val(float nrm) const
{
    const double v = min_ + static_cast<double>(nrm) * (max_ - min_);
    return discrete_ ? std::floor(v + 0.5) : v;
}

void TestParam::conv_val_to_str(char* buffer, int capacity, double val) const
{
    char text[64];
    std::snprintf(text, sizeof(text), "%g", val);
    copy_text(buffer, capacity, text);
}

double TestParam::conv_str_to_val(const char* text, bool& ok) const
{
    double v = 0.0;
    if (std::sscanf(text, "%lf", &v) != 1)
    {
        return 0.0;
    }
    ok = true;
    return std::clamp(v, std::min(min_, max_), std::max(min_, max_));
}

TestDsp::TestDsp(TestConfig config)
    : config_(std::move(config))
    , in_bus_("Input", {"Left input", "Right input"})
    , out_bus_("Output", {"Left output", "Right output"})
{
}

int TestDsp::init()
{
    const struct
    {
        const char* name;
        const char* unit;
        double min;
        double max;
        bool discrete;
        double def;
    } table[nbr_param] = {
        {"Cutoff", "Hz", 40.0, 10240.0, false, 1000.0},
        {"Bands", "", 1.0, 16.0, true, 1.0},
        {"Routing", "", 0.0, 1.0, true, 1.0},
        {"Gain", "", 0.0, 2.0, false, 1.0},
        {"Spread", "", -1.0, 1.0, false, 0.0},
        {"Delay", "ms", -50.0, 50.0, false, 0.0},
        {"Mix", "%", 0.0, 100.0, false, 50.0},
        {"Very Long Parameter Name", "", 0.0, 1.0, false, 0.5},
    };
    for (const auto& row : table)
    {
        auto param =
            std::make_shared<TestParam>(row.name, row.unit, row.min, row.max, row.discrete);
        param->set_val(row.def, 2);
        param->target = this;
        add_param(param);
    }
    plux::MidiMgr* midi = host_ != nullptr ? host_->use_midi_mgr() : nullptr;
    if (midi != nullptr)
    {
        midi->set_plugin_name(get_info_str("plugin_name"));
        midi->set_default_map();
    }
    // The MIDI layout comes before the parameter order in the setting files.
    return setup_settings({midi, host_ != nullptr ? &host_->use_param_reorder() : nullptr});
}

void TestDsp::start()
{
    for (int i = 0; i < PluginInternal::get_nbr_param(); ++i)
    {
        use_param(i).set_val_and_notify(use_param(i).get_val());
    }
}

void TestDsp::set_prog_name(const std::string& name)
{
    const std::lock_guard lock(name_mutex_);
    prog_name_ = name;
}

std::string TestDsp::get_prog_name() const
{
    const std::lock_guard lock(name_mutex_);
    return prog_name_;
}

double TestDsp::get_info_num(const std::string& key) const
{
    return key == "hide_parameters"  ? (config_.hide_parameters ? 1.0 : 0.0)
           : key == "plugin_version" ? config_.version
           : key == "can_mono"       ? 1.0
                                     : 0.0;
}

std::string TestDsp::get_info_str(const std::string& key) const
{
    return key == "plugin_name"       ? config_.plugin_name
           : key == "manufacturer"    ? config_.manufacturer
           : key == "plugin_category" ? "effect"
                                      : "";
}

void TestDsp::load_prog(const std::vector<float>& values)
{
    const int n = std::min(static_cast<int>(values.size()), PluginInternal::get_nbr_param());
    for (int i = 0; i < n; ++i)
    {
        if (use_param(i).get_nrm() != values[static_cast<std::size_t>(i)])
        {
            use_param(i).set_nrm_and_notify(values[static_cast<std::size_t>(i)]);
        }
    }
}

void TestDsp::apply_gain(float** outputs, float** inputs, int nbr_spl, bool adding) noexcept
{
    rounding_in_process = std::fegetround();
    const auto gain = static_cast<float>(use_param(3).get_val());
    for (int chn = 0; chn < 2; ++chn)
    {
        for (int i = 0; i < nbr_spl; ++i)
        {
            outputs[chn][i] = (adding ? outputs[chn][i] : 0.0f) + inputs[chn][i] * gain;
        }
    }
}

void TestGui::init()
{
    if (fail_init)
    {
        throw std::runtime_error("plux_test::TestGui::init() : Cannot initialize GUI.");
    }
}

int TestGui::open(void*)
{
    if (throw_on_open)
    {
        throw std::runtime_error("plux_test::TestGui::open() : No window.");
    }
    open_ = true;
    return 0;
}

void TestGui::set_param_value(int index, float value, int origin)
{
    const std::lock_guard lock(mutex_);
    if (changes_.size() >= 256)
    {
        changes_.erase(changes_.begin(), changes_.begin() + 128);
    }
    changes_.push_back({index, value, origin});
}

std::vector<TestGui::Change> TestGui::changes() const
{
    const std::lock_guard lock(mutex_);
    return changes_;
}

TestFactory::TestFactory(TestConfig config)
    : config_(std::move(config))
{
    info_.unique_id = {'T', 'X', 'm', 'v'};
    info_.settings_sub_path = "Tarvex\\Morvane";
    info_.interface_suffix = " VST2";
    info_.product_name = "Morvane";
}

std::unique_ptr<plux::DspInterface> TestFactory::create_dsp() const
{
    return std::make_unique<TestDsp>(config_);
}

std::unique_ptr<plux::GuiInterface> TestFactory::create_gui() const
{
    if (!config_.with_gui)
    {
        return nullptr;
    }
    auto gui = std::make_unique<TestGui>();
    gui->fail_init = config_.gui_fails;
    return gui;
}

} // namespace plux_test
