#include "morvane-host/System.hpp"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <io.h>
#include <stdio.h>

#include "morvane-host/ToolError.hpp"

namespace morvane_host
{

namespace
{

std::atomic<const char*> crash_activity{"starting"};

void write_text(const char* text) noexcept
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(std::strlen(text)), &written,
              nullptr);
}

const char* exception_name(DWORD code) noexcept
{
    switch (code)
    {
    case EXCEPTION_ACCESS_VIOLATION:
        return "an access violation";
    case EXCEPTION_STACK_OVERFLOW:
        return "a stack overflow";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
        return "an illegal instruction";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
        return "an integer division by zero";
    default:
        return "an exception";
    }
}

// Writes without allocating and ends the process at once: the plug-in's state is not to be trusted
// with a normal exit.
LONG WINAPI report_crash(EXCEPTION_POINTERS* pointers)
{
    const DWORD code = pointers->ExceptionRecord->ExceptionCode;
    char hex[16] = "0x00000000";
    for (int i = 0; i < 8; ++i)
        hex[9 - i] = "0123456789ABCDEF"[(code >> (4 * i)) & 15];
    write_text("\r\nmorvane-host: the plug-in crashed (");
    write_text(exception_name(code));
    write_text(", ");
    write_text(hex);
    write_text(") while ");
    write_text(crash_activity.load());
    write_text("\r\n");
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(ExitCode::plugin_failure));
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

bool is_error_terminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

std::string get_executable_path()
{
    char path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return {};
    return std::string(path, length);
}

void install_crash_guard()
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(&report_crash);
}

void set_crash_activity(const char* activity) noexcept
{
    crash_activity.store(activity);
}

} // namespace morvane_host
