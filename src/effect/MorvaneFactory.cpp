// Morvane as a plug-in module: what the VST 2 entry builds.
#include <memory>

#include "effect/dsp/VantrelDsp.hpp"
#include "effect/gui/VantrelGui.hpp"
#include "plux/EffectFactoryInterface.hpp"
#include "plux/GuiInterface.hpp"
#include "plux/PluginInfo.hpp"

namespace
{

class MorvaneFactory final : public plux::EffectFactoryInterface
{
public:
    MorvaneFactory()
    {
        info_.unique_id = {'T', 'X', 'm', 'v'};
        info_.settings_sub_path = "Tarvex\\Morvane";
        info_.interface_suffix = " VST2";
        info_.product_name = "Morvane";
    }

    const plux::PluginInfo& use_info() const override { return info_; }
    std::unique_ptr<plux::DspInterface> create_dsp() const override
    {
        return std::make_unique<VantrelDsp>();
    }
    std::unique_ptr<plux::GuiInterface> create_gui() const override
    {
        return std::make_unique<VantrelGui>();
    }

private:
    plux::PluginInfo info_;
};

} // namespace

const plux::EffectFactoryInterface& plux::use_effect_factory()
{
    static const MorvaneFactory factory;
    return factory;
}
