#include "plux/vst2/HostDspVst2Win.hpp"

#include "plux/GuiInterface.hpp"
#include "plux/HostTimeInfo.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"

namespace plux
{

double HostDspVst2Win::get_info_num(const std::string& key)
{
    if (key == "can_tempo")
    {
        if (!tempo_valid_)
        {
            const vst2::VstTimeInfo* info = plugin_->get_host_time_info(vst2::kVstTempoValid);
            tempo_valid_ = info != nullptr && (info->flags & vst2::kVstTempoValid) != 0;
        }
        return tempo_valid_ ? 1.0 : 0.0;
    }
    if (key == "param_quantization")
    {
        const auto steps = plugin_->call_host(vst2::audioMasterGetParameterQuantization);
        return steps < 2 ? 0.0 : 1.0 / static_cast<double>(steps);
    }
    return 0.0;
}

void HostDspVst2Win::get_time_info(HostTimeInfo& info) noexcept
{
    const vst2::VstTimeInfo* time =
        plugin_->get_host_time_info(info.want_tempo ? vst2::kVstTempoValid : 0);
    if (time == nullptr)
    {
        info.failed = true;
        return;
    }
    if (info.want_tempo)
    {
        if ((time->flags & vst2::kVstTempoValid) != 0)
        {
            info.tempo = time->tempo;
        }
        else
        {
            info.want_tempo = false;
        }
    }
}

bool HostDspVst2Win::is_in_connected(int bus, int chn) noexcept
{
    const int pin = plugin_->get_in_pin(bus, chn);
    return pin >= 0 && plugin_->is_in_pin_connected(pin);
}

bool HostDspVst2Win::is_out_connected(int bus, int chn) noexcept
{
    const int pin = plugin_->get_out_pin(bus, chn);
    return pin >= 0 && plugin_->is_out_pin_connected(pin);
}

bool HostDspVst2Win::can_take(int index, int priority)
{
    return plugin_->can_take(index, priority);
}

bool HostDspVst2Win::take(int index, int priority)
{
    return plugin_->take(index, priority);
}

void HostDspVst2Win::release(int index, int priority)
{
    plugin_->release(index, priority);
}

bool HostDspVst2Win::set_param_and_notify(int index, float value, int priority)
{
    return plugin_->set_param_and_notify(index, value, priority);
}

bool HostDspVst2Win::notify_host(int index, float value)
{
    return plugin_->notify_host(index, value);
}

bool HostDspVst2Win::set_param(int index, float value, int priority)
{
    return plugin_->set_param(index, value, priority);
}

int HostDspVst2Win::apply_prog(const ProgramSlot& prog, int priority)
{
    return plugin_->apply_prog(prog, priority, false, true);
}

ParamReorder& HostDspVst2Win::use_param_reorder()
{
    return plugin_->use_param_reorder();
}

void HostDspVst2Win::write_bank(const BankManager& bank)
{
    if (GuiInterface* gui = plugin_->use_gui())
    {
        gui->bank_written(bank);
    }
    plugin_->use_bank_buffer().write(bank);
}

int HostDspVst2Win::start_dsp_task()
{
    return plugin_->start_dsp_task();
}

void HostDspVst2Win::stop_dsp_task()
{
    plugin_->stop_dsp_task();
}

std::string HostDspVst2Win::get_settings_folder()
{
    return plugin_->get_settings_folder();
}

MidiMgr* HostDspVst2Win::use_midi_mgr()
{
    return plugin_->use_midi_mgr();
}

} // namespace plux
