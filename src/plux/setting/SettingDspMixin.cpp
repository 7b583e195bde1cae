#include "plux/setting/SettingDspMixin.hpp"

#include "basic/SettingClientInterface.hpp"
#include "plux/HostDspInterface.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/param/ParamReorder.hpp"

namespace plux
{

int SettingDspMixin::setup_settings()
{
    HostDspInterface* host = get_host();
    ParamReorder* param_reorder = host != nullptr ? &host->use_param_reorder() : nullptr;
    MidiMgr* midi_mgr = host != nullptr ? host->use_midi_mgr() : nullptr;

    int ret = setting_mgr.init(*this);
    if (ret != 0)
    {
        return ret;
    }

    // In the order their keys take in the files; the MIDI manager's client, when there is one,
    // comes before the parameter order. Absent clients are skipped, and registration stops at
    // the first failure.
    basic::SettingClientInterface* const clients[] = {midi_mgr, param_reorder};
    for (basic::SettingClientInterface* client : clients)
    {
        if (client != nullptr)
        {
            ret = setting_mgr.add_client(*client);
            if (ret != 0)
            {
                return ret;
            }
        }
    }
    return ret;
}

} // namespace plux
