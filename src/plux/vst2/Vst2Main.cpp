// The exported entry points of a VST 2 plug-in module. Hosts look for "VSTPluginMain" first and
// "main" second; a C++ function cannot be called main, so that symbol gets its name from an
// assembler label. Compiled into each plug-in module, which defines use_effect_factory().
#include "plux/EffectFactoryInterface.hpp"
#include "plux/vst2/Vst2Entry.hpp"

#if defined(_WIN32)
#define MORVANE_VST2_EXPORT __declspec(dllexport)
#else
#define MORVANE_VST2_EXPORT __attribute__((visibility("default")))
#endif

extern "C"
{
    MORVANE_VST2_EXPORT vst2::AEffect* VSTPluginMain(vst2::HostCallback host);
    MORVANE_VST2_EXPORT vst2::AEffect* vst2_plugin_main(vst2::HostCallback host) __asm__("main");
}

vst2::AEffect* VSTPluginMain(vst2::HostCallback host)
{
    return plux::vst2_entry(host, plux::use_effect_factory());
}

vst2::AEffect* vst2_plugin_main(vst2::HostCallback host)
{
    return plux::vst2_entry(host, plux::use_effect_factory());
}
