#pragma once

#include <string_view>

namespace sys
{

// Diagnostics for developers: the debugger output on Windows, the standard error stream
// elsewhere. Never shown to the user.
void debug_output(std::string_view text);

} // namespace sys
