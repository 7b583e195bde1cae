#pragma once

#include <memory>

namespace plux
{

class DspInterface;
class GuiInterface;
struct PluginInfo;

// What a plug-in module gives the VST 2 entry: its description and its two sides.
class EffectFactoryInterface
{
public:
    virtual ~EffectFactoryInterface() = default;

    virtual const PluginInfo& use_info() const = 0;
    virtual std::unique_ptr<DspInterface> create_dsp() const = 0;
    // Null for an effect without an editor.
    virtual std::unique_ptr<GuiInterface> create_gui() const = 0;
};

// Defined once by each plug-in module.
const EffectFactoryInterface& use_effect_factory();

} // namespace plux
