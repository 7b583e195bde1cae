#include "ravik/win32/SystemWin32.hpp"

#include <string>

#include "sys/DebugOutput.hpp"

namespace ravik::win32
{

HINSTANCE get_module()
{
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&get_module), &module);
    return module;
}

void report_error(std::string_view where, DWORD code)
{
    char text[4096] = {};
    const DWORD len = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                       nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                       text, sizeof(text) - 1, nullptr);
    std::string line(where);
    line += " : ";
    line += len != 0 ? std::string(text, len) : "system error " + std::to_string(code) + "\n";
    sys::debug_output(line);
}

void report_exception(std::string_view where, std::string_view what)
{
    std::string line(where);
    line += " : ";
    line += what;
    line += "\n";
    sys::debug_output(line);
}

} // namespace ravik::win32
