#pragma once

#include <string>

namespace sys
{

// The full path of the library or program that holds this code; empty when unknown.
std::string get_module_path();

// The separator of path components on this system.
char get_path_separator();

} // namespace sys
