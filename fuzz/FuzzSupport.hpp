#pragma once

// What every fuzz target shares: a private configuration folder for the files and registry
// values the plug-in writes, and the way to report a broken invariant.
#include <string>

namespace fuzz
{

// Points the user's configuration folder (where the registry values live on this system) at a
// fresh temporary folder, so that fuzzing never touches the real user's settings. Call before
// the effect is built.
void use_private_config_home();
// A path in that folder for files the targets write.
std::string temp_file_path(const std::string& name);

// Ends the process with a message: libFuzzer records the input as a crash.
[[noreturn]] void fail(const char* what);

} // namespace fuzz
