#pragma once

#include <string>

namespace sys
{

// The executable file named name in a folder of PATH, or empty.
std::string find_program(const std::string& name);

} // namespace sys
