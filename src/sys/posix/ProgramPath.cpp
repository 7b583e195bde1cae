#include "sys/posix/ProgramPath.hpp"

#include <cstdlib>
#include <unistd.h>

namespace sys
{

std::string find_program(const std::string& name)
{
    const char* path_var = std::getenv("PATH");
    if (path_var == nullptr)
    {
        return {};
    }
    const std::string path_list = path_var;
    std::string::size_type start = 0;
    while (start < path_list.size())
    {
        std::string::size_type end = path_list.find(':', start);
        if (end == std::string::npos)
        {
            end = path_list.size();
        }
        if (end > start)
        {
            const std::string candidate = path_list.substr(start, end - start) + "/" + name;
            if (::access(candidate.c_str(), X_OK) == 0)
            {
                return candidate;
            }
        }
        start = end + 1;
    }
    return {};
}

} // namespace sys
