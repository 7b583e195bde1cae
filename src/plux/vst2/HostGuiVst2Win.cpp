#include "plux/vst2/HostGuiVst2Win.hpp"

#include "plux/vst2/Vst2WinPlugin.hpp"

namespace plux
{

double HostGuiVst2Win::get_info_num(const std::string& key)
{
    if (key == "can_resize_window")
    {
        // The host is asked, but the editor keeps its size whatever the answer: hosts that claim
        // "sizeWindow" do not all honour it.
        plugin_->call_host(vst2::audioMasterCanDo, 0, 0, const_cast<char*>("sizeWindow"));
    }
    return 0.0;
}

std::string HostGuiVst2Win::get_info_str(const std::string& key)
{
    if (key == "interface_standard")
    {
        return "VST 2.0";
    }
    if (key == "interface_info")
    {
        return "VST is a trademark of Steinberg Media AG.\nhttps://www.steinberg.net/";
    }
    return {};
}

bool HostGuiVst2Win::can_take(int index, int priority)
{
    return plugin_->can_take(index, priority);
}

bool HostGuiVst2Win::take(int index, int priority)
{
    return plugin_->take(index, priority);
}

void HostGuiVst2Win::release(int index, int priority)
{
    plugin_->release(index, priority);
}

bool HostGuiVst2Win::set_param_and_notify(int index, float value, int priority)
{
    return plugin_->set_param_and_notify(index, value, priority);
}

int HostGuiVst2Win::apply_prog(const ProgramSlot& prog, int priority)
{
    return plugin_->apply_prog(prog, priority, false, true);
}

void HostGuiVst2Win::write_bank(const BankManager& bank)
{
    plugin_->use_bank_buffer().write(bank);
}

int HostGuiVst2Win::resize_window(int width, int height)
{
    if (get_info_num("can_resize_window") != 0 &&
        plugin_->call_host(vst2::audioMasterSizeWindow, width, height) == 0)
    {
        return -1;
    }
    return 0;
}

std::string HostGuiVst2Win::get_settings_folder()
{
    return plugin_->get_settings_folder();
}

MidiMgr* HostGuiVst2Win::use_midi_mgr()
{
    return plugin_->use_midi_mgr();
}

MidiDevSelectorInterface* HostGuiVst2Win::use_midi_dev_selector()
{
    return plugin_->use_midi_dispatcher();
}

} // namespace plux
