#include "sys/ModulePath.hpp"

#include <dlfcn.h>

namespace sys
{

std::string get_module_path()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&get_module_path), &info) == 0 ||
        info.dli_fname == nullptr)
    {
        return {};
    }
    return info.dli_fname;
}

char get_path_separator()
{
    return '/';
}

} // namespace sys
