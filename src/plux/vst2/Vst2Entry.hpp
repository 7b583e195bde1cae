#pragma once

#include "plux/vst2/Vst2Abi.hpp"

namespace plux
{

class EffectFactoryInterface;

// Builds an effect for a VST 2 host: the sides from the factory, the host adapters, the built-in
// bank "static_presets" from the module's resources, and the plug-in object, wired, initialised,
// started and set to program 0. Null when the host gives no version, the bank cannot be loaded or
// anything fails; nothing is left behind then.
vst2::AEffect* vst2_entry(vst2::HostCallback host, const EffectFactoryInterface& factory);

} // namespace plux
