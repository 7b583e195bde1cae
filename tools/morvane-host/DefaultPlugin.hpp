#pragma once

#include <string>

namespace morvane_host
{

// The plug-in a command runs when none is named: the Morvane library of the same build, next to
// the executable, else where the build put it. Throws ToolError when there is none.
std::string find_default_plugin();

} // namespace morvane_host
