#pragma once

#include <string>

#include "plux/HostDspInterface.hpp"
#include "plux/param/ParamReorder.hpp"

// A host adapter whose only answers that matter are the connection of the right pins.
class FakeHostDsp : public plux::HostDspInterface
{
public:
    bool right_in = true;
    bool right_out = true;
    plux::ParamReorder reorder;

    double get_info_num(const std::string&) override { return 0.0; }
    void get_time_info(plux::HostTimeInfo&) noexcept override {}
    bool is_in_connected(int bus, int chn) noexcept override
    {
        return bus == 0 && (chn == 0 || right_in);
    }
    bool is_out_connected(int bus, int chn) noexcept override
    {
        return bus == 0 && (chn == 0 || right_out);
    }
    plux::MidiMgr* use_midi_mgr() override { return nullptr; }
    bool can_take(int, int) override { return true; }
    bool take(int, int) override { return true; }
    void release(int, int) override {}
    bool set_param_and_notify(int, float, int) override { return true; }
    bool notify_host(int, float) override { return true; }
    bool set_param(int, float, int) override { return true; }
    int apply_prog(const plux::ProgramSlot&, int) override { return 0; }
    plux::ParamReorder& use_param_reorder() override { return reorder; }
    void write_bank(const plux::BankManager&) override {}
    int start_dsp_task() override { return -1; }
    void stop_dsp_task() override {}
    std::string get_settings_folder() override { return std::string(); }
};
