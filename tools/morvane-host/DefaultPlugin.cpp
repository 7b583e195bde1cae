#include "morvane-host/DefaultPlugin.hpp"

#include <filesystem>

#include "morvane-host/System.hpp"
#include "morvane-host/ToolError.hpp"

namespace morvane_host
{

std::string find_default_plugin()
{
#if defined(MORVANE_HOST_DEFAULT_PLUGIN_NAME) && defined(MORVANE_HOST_DEFAULT_PLUGIN_PATH)
    // Installed or copied together, the tool finds the library beside it.
    const std::string executable = get_executable_path();
    std::error_code error;
    if (!executable.empty())
    {
        const std::filesystem::path beside =
            std::filesystem::path(executable).parent_path() / MORVANE_HOST_DEFAULT_PLUGIN_NAME;
        if (std::filesystem::exists(beside, error))
            return beside.string();
    }
    if (std::filesystem::exists(MORVANE_HOST_DEFAULT_PLUGIN_PATH, error))
        return MORVANE_HOST_DEFAULT_PLUGIN_PATH;
    throw ToolError(ExitCode::plugin_load,
                    std::string("the Morvane plug-in (") + MORVANE_HOST_DEFAULT_PLUGIN_NAME +
                        ") is neither next to morvane-host nor at " +
                        MORVANE_HOST_DEFAULT_PLUGIN_PATH + "; name a PLUGIN");
#else
    throw ToolError(ExitCode::usage,
                    "this build of morvane-host has no Morvane plug-in beside it: name a PLUGIN");
#endif
}

} // namespace morvane_host
