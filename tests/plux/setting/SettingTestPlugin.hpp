#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "effect/FakeHostDsp.hpp"
#include "plux/setting/SettingDspMixin.hpp"
#include "sys/RegistrySandbox.hpp"

namespace test
{

// The host adapter as the settings see it: it only hands out its parameter order.
using SettingTestHost = FakeHostDsp;

// A DSP side reduced to its information and its settings. Its maker is a key of the test's own
// in the registry sandbox, so the autoload values of the tests never meet the user's.
class SettingTestDsp : public plux::SettingDspMixin
{
public:
    int init() override
    {
        return setup_settings({host != nullptr ? &host->use_param_reorder() : nullptr});
    }
    void start() override {}
    void stop() override {}
    plux::HostDspInterface* get_host() const override { return host; }
    void set_host(plux::HostDspInterface* new_host) override { host = new_host; }
    plux::GuiInterface* get_gui() const override { return nullptr; }
    void set_gui(plux::GuiInterface*) override {}
    int get_nbr_in_buses() const override { return 0; }
    const plux::BusInfo& use_in_bus(int) const override { throw std::out_of_range("no bus"); }
    int get_nbr_out_buses() const override { return 0; }
    const plux::BusInfo& use_out_bus(int) const override { throw std::out_of_range("no bus"); }
    double get_min_sample_rate() const override { return 4000.0; }
    double get_max_sample_rate() const override { return 384000.0; }
    void set_sample_rate(float) override {}
    int get_nbr_param() const override { return 0; }
    plux::NormalizedParamInterface& use_param(int) override
    {
        throw std::out_of_range("no parameter");
    }
    void set_prog_name(const std::string&) override {}
    std::string get_prog_name() const override { return {}; }
    double get_info_num(const std::string& key) const override
    {
        return key == "plugin_version" ? version : 0.0;
    }
    std::string get_info_str(const std::string& key) const override
    {
        return key == "plugin_name" ? plugin_name : key == "manufacturer" ? manufacturer : "";
    }
    void clear_buffers() override {}
    void load_prog(const std::vector<float>&) override {}
    void save_prog(std::vector<float>&) const override {}
    int process(float**, float**, int, int flag) noexcept override { return flag; }
    int process_adding(float**, float**, int, int flag) noexcept override { return flag; }

    std::string plugin_name = "Morvane";
    std::string manufacturer = sandbox_key_path();
    double version = 1.6;
    plux::HostDspInterface* host = nullptr;
};

} // namespace test
