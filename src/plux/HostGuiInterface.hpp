#pragma once

#include <string>

namespace plux
{

class BankManager;
class MidiDevSelectorInterface;
class MidiMgr;
class ProgramSlot;

// The host as the editor side reaches it. Parameter indices are the DSP side's.
class HostGuiInterface
{
public:
    virtual ~HostGuiInterface() = default;

    // "can_resize_window": whether the editor window may be resized (0 here). Other keys 0.
    virtual double get_info_num(const std::string& key) = 0;
    // "interface_standard", "interface_info"; other keys answer the empty text.
    virtual std::string get_info_str(const std::string& key) = 0;

    virtual bool can_take(int index, int priority) = 0;
    virtual bool take(int index, int priority) = 0;
    virtual void release(int index, int priority) = 0;
    virtual bool set_param_and_notify(int index, float value, int priority) = 0;
    virtual int apply_prog(const ProgramSlot& prog, int priority) = 0;
    // Hands the editor's bank to the audio thread.
    virtual void write_bank(const BankManager& bank) = 0;
    // 0, or -1 when the host refuses the new size.
    virtual int resize_window(int width, int height) = 0;
    virtual std::string get_settings_folder() = 0;
    // The MIDI manager, or null.
    virtual MidiMgr* use_midi_mgr() = 0;
    // The choice of the MIDI input and output ports, or null.
    virtual MidiDevSelectorInterface* use_midi_dev_selector() = 0;
};

} // namespace plux
