#pragma once

#include <string>

namespace plux
{

class BankManager;
struct HostTimeInfo;
class MidiMgr;
class ParamReorder;
class ProgramSlot;

// The host as the DSP side reaches it. Parameter indices are the DSP side's.
class HostDspInterface
{
public:
    virtual ~HostDspInterface() = default;

    // "can_tempo": 1 once the host has reported a valid tempo; "param_quantization": the host's
    // parameter step (0 when it has none). Any other key answers 0.
    virtual double get_info_num(const std::string& key) = 0;
    virtual void get_time_info(HostTimeInfo& info) noexcept = 0;
    // Whether the host connected the pin of that bus and channel.
    virtual bool is_in_connected(int bus, int chn) noexcept = 0;
    virtual bool is_out_connected(int bus, int chn) noexcept = 0;
    // The MIDI manager, or null.
    virtual MidiMgr* use_midi_mgr() = 0;

    virtual bool can_take(int index, int priority) = 0;
    virtual bool take(int index, int priority) = 0;
    virtual void release(int index, int priority) = 0;
    virtual bool set_param_and_notify(int index, float value, int priority) = 0;
    virtual bool notify_host(int index, float value) = 0;
    virtual bool set_param(int index, float value, int priority) = 0;
    virtual int apply_prog(const ProgramSlot& prog, int priority) = 0;
    virtual ParamReorder& use_param_reorder() = 0;
    // Hands a bank to the audio thread (the editor side hears of it first).
    virtual void write_bank(const BankManager& bank) = 0;
    // Attach and detach the DSP side's own background task: 0, or -1 when there is none or it
    // is already attached.
    virtual int start_dsp_task() = 0;
    virtual void stop_dsp_task() = 0;
    virtual std::string get_settings_folder() = 0;
};

} // namespace plux
