#pragma once

#include <stdexcept>
#include <string>

namespace morvane_host
{

// The process exit codes, as the tool's help lists them.
enum class ExitCode : int
{
    success = 0,
    usage = 1,          // a bad option, parameter name, value text, program or automation list
    plugin_load = 2,    // the library is missing, is no VST 2 plug-in, or its entry refuses
    file = 3,           // an input or output file cannot be read, parsed or written
    plugin_failure = 4, // the plug-in crashed or returned audio that is not a number
};

// A failure reported as one line on standard error; the command ends with the code.
class ToolError : public std::runtime_error
{
public:
    ToolError(ExitCode code, const std::string& message)
        : std::runtime_error(message)
        , code(code)
    {
    }

    ExitCode get_code() const noexcept { return code; }

private:
    ExitCode code;
};

} // namespace morvane_host
