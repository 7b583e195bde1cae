#include "sys/DebugOutput.hpp"

#include <windows.h>

#include <string>

namespace sys
{

void debug_output(std::string_view text)
{
    const std::string terminated(text);
    ::OutputDebugStringA(terminated.c_str());
}

} // namespace sys
