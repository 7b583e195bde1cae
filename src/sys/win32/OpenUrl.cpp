#include "sys/OpenUrl.hpp"

#include <windows.h>

#include <shellapi.h>

#include "sys/DebugOutput.hpp"

namespace sys
{

int open_url(const std::string& url)
{
    const HINSTANCE result = ::ShellExecuteA(nullptr, "open", url.c_str(), nullptr, ".", 0);
    // Values above 32 mean success; smaller ones are error codes.
    if (reinterpret_cast<INT_PTR>(result) <= 32)
    {
        debug_output("sys::open_url: Error: couldn't open html browser.\n");
        return -1;
    }
    return 0;
}

} // namespace sys
