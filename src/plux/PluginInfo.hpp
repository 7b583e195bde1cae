#pragma once

#include <array>
#include <string>

namespace plux
{

// The static description of a plug-in module, free of any plug-in interface's types.
struct PluginInfo
{
    // The four characters that identify the effect to hosts, most significant first.
    std::array<char, 4> unique_id = {};
    // Where the settings live below the maker's folder, e.g. "Tarvex\Morvane".
    std::string settings_sub_path;
    // Appended to the settings sub-path by each plug-in interface, e.g. " VST2".
    std::string interface_suffix;
    std::string product_name;
};

} // namespace plux
