#pragma once

#include "plux/HostDspInterface.hpp"

namespace plux
{

class Vst2WinPlugin;

// The host as the DSP side reaches it, through the plug-in object.
class HostDspVst2Win final : public HostDspInterface
{
public:
    void set_plugin(Vst2WinPlugin* plugin) { plugin_ = plugin; }

    double get_info_num(const std::string& key) override;
    void get_time_info(HostTimeInfo& info) noexcept override;
    bool is_in_connected(int bus, int chn) noexcept override;
    bool is_out_connected(int bus, int chn) noexcept override;
    MidiMgr* use_midi_mgr() override;

    bool can_take(int index, int priority) override;
    bool take(int index, int priority) override;
    void release(int index, int priority) override;
    bool set_param_and_notify(int index, float value, int priority) override;
    bool notify_host(int index, float value) override;
    bool set_param(int index, float value, int priority) override;
    int apply_prog(const ProgramSlot& prog, int priority) override;
    ParamReorder& use_param_reorder() override;
    void write_bank(const BankManager& bank) override;
    int start_dsp_task() override;
    void stop_dsp_task() override;
    std::string get_settings_folder() override;

private:
    Vst2WinPlugin* plugin_ = nullptr;
    // Once the host has shown a valid tempo it is not asked again.
    bool tempo_valid_ = false;
};

} // namespace plux
