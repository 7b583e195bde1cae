#pragma once

#include <string>

#include "plux/vst2/Vst2Abi.hpp"

namespace plux
{

// The static description of a plug-in module.
struct PluginInfo
{
    vst2::VstInt32 unique_id = 0;
    // Where the settings live below the maker's folder, e.g. "Tarvex\Morvane".
    std::string settings_sub_path;
    // Appended to the settings sub-path by each plug-in interface, e.g. " VST2".
    std::string interface_suffix;
    std::string product_name;
};

} // namespace plux
