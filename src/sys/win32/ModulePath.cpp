#include "sys/ModulePath.hpp"

#include <windows.h>

namespace sys
{

std::string get_module_path()
{
    HMODULE module = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(&get_module_path), &module))
    {
        return {};
    }
    char path[MAX_PATH + 1] = {};
    const DWORD len = ::GetModuleFileNameA(module, path, MAX_PATH);
    if (len == 0 || len >= MAX_PATH)
    {
        return {};
    }
    return std::string(path, len);
}

char get_path_separator()
{
    return '\\';
}

} // namespace sys
