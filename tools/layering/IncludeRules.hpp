#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace layering
{

// The layering of src/: which part of the tree may include which. A part is a top folder (kel,
// basic, sys, ravik, effect) or a folder of the plug-in framework (plux/param, plux/vst2, ...;
// "plux" alone is the framework's interfaces at its root). Platform twins (win32/, posix/, x11/)
// belong to the part around them, except plux's own, which form "plux/platform".
std::string part_of(const std::string& path_in_src);

// Every include in the tree under src_root that breaks the layering, one line each:
// "FILE: includes HEADER (what is wrong)". Empty when the tree is clean.
std::vector<std::string> check_layering(const std::filesystem::path& src_root);

} // namespace layering
