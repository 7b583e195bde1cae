#include "plux/vst2/Vst2Entry.hpp"

#include <exception>
#include <memory>

#include "plux/DspInterface.hpp"
#include "plux/EffectFactoryInterface.hpp"
#include "plux/GuiInterface.hpp"
#include "plux/PluginInfo.hpp"
#include "plux/prog/BankFile.hpp"
#include "plux/vst2/HostDspVst2Win.hpp"
#include "plux/vst2/HostGuiVst2Win.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"
#include "sys/DebugOutput.hpp"
#include "sys/Resource.hpp"

namespace plux
{

vst2::AEffect* vst2_entry(vst2::HostCallback host, const EffectFactoryInterface& factory)
{
    if (host == nullptr || host(nullptr, vst2::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
    {
        return nullptr;
    }
    try
    {
        Vst2PluginParts parts;
        parts.dsp = factory.create_dsp();
        auto host_dsp = std::make_unique<HostDspVst2Win>();
        parts.gui = factory.create_gui();
        auto host_gui = std::make_unique<HostGuiVst2Win>();

        BankManager bank;
        if (load_bank_mem(sys::get_resource("QBNK", "static_presets"), bank, nullptr, false) != 0)
        {
            sys::debug_output(
                "plux::vst2_entry(): Internal error: cannot load the built-in bank.\n");
            return nullptr;
        }

        DspInterface* dsp = parts.dsp.get();
        GuiInterface* gui = parts.gui.get();
        HostDspVst2Win* hd = host_dsp.get();
        HostGuiVst2Win* hg = host_gui.get();
        parts.host_dsp = std::move(host_dsp);
        parts.host_gui = std::move(host_gui);

        const PluginInfo& info = factory.use_info();
        const auto& id = info.unique_id;
        auto plugin = std::make_unique<Vst2WinPlugin>(host, std::move(parts), bank,
                                                      vst2::fourcc(id[0], id[1], id[2], id[3]));

        hd->set_plugin(plugin.get());
        dsp->set_host(hd);
        hg->set_plugin(plugin.get());
        if (gui != nullptr)
        {
            gui->set_host(hg);
            dsp->set_gui(gui);
            gui->set_dsp(dsp);
        }
        plugin->set_settings_sub_path(info.settings_sub_path + info.interface_suffix);

        plugin->init();
        plugin->start();
        plugin->setProgram(0);
        return plugin.release()->getAeffect();
    }
    catch (const std::exception& e)
    {
        sys::debug_output(std::string("plux::vst2_entry(): ") + e.what() + "\n");
    }
    catch (...)
    {
        sys::debug_output("plux::vst2_entry(): Unknown exception.\n");
    }
    return nullptr;
}

} // namespace plux
