#include "plux/prog/ReplaceFile.hpp"

#include <cstdio>

namespace plux
{

bool replace_file(const std::string& src, const std::string& dst)
{
    // Atomic on POSIX: readers see the old file or the new one, never a mix.
    return std::rename(src.c_str(), dst.c_str()) == 0;
}

} // namespace plux
