#pragma once

#include <string>

namespace morvane_host
{

// The few things the tool asks of the operating system, realised once for POSIX systems and once
// for Windows.

// Whether standard error goes to a terminal (where a progress bar belongs) rather than a file or
// a pipe.
bool is_error_terminal();

// The full path of the running executable; empty when the system does not tell.
std::string get_executable_path();

// From now on a crash of the process (in practice: inside the plug-in) is reported as one line on
// standard error, "morvane-host: the plug-in crashed (CAUSE) while ACTIVITY", and the process
// ends with ExitCode::plugin_failure instead of the system's crash handling.
void install_crash_guard();

// What the tool is doing, for the crash report; a literal, since the report may come at any time
// and must not allocate.
void set_crash_activity(const char* activity) noexcept;

} // namespace morvane_host
