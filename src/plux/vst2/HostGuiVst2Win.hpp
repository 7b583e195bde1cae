#pragma once

#include "plux/HostGuiInterface.hpp"

namespace plux
{

class Vst2WinPlugin;

// The host as the editor side reaches it, through the plug-in object.
class HostGuiVst2Win final : public HostGuiInterface
{
public:
    void set_plugin(Vst2WinPlugin* plugin) { plugin_ = plugin; }

    double get_info_num(const std::string& key) override;
    std::string get_info_str(const std::string& key) override;
    bool can_take(int index, int priority) override;
    bool take(int index, int priority) override;
    void release(int index, int priority) override;
    bool set_param_and_notify(int index, float value, int priority) override;
    int apply_prog(const ProgramSlot& prog, int priority) override;
    void write_bank(const BankManager& bank) override;
    int resize_window(int width, int height) override;
    std::string get_settings_folder() override;
    MidiMgr* use_midi_mgr() override;
    MidiDevSelectorInterface* use_midi_dev_selector() override;

private:
    Vst2WinPlugin* plugin_ = nullptr;
};

} // namespace plux
