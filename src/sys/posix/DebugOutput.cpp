#include "sys/DebugOutput.hpp"

#include <cstdio>

namespace sys
{

void debug_output(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

} // namespace sys
