#include "basic/ChildProcess.hpp"

#include <windows.h>

namespace test
{

ChildProcess::ChildProcess(const std::vector<std::string>& command)
{
    // Arguments go in quotes; the tests pass none with quotes of their own.
    std::string line;
    for (const std::string& argument : command)
    {
        line += (line.empty() ? "\"" : " \"") + argument + "\"";
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info))
    {
        ::CloseHandle(info.hThread);
        process = reinterpret_cast<std::intptr_t>(info.hProcess);
    }
}

bool ChildProcess::is_running()
{
    if (process != -1 &&
        ::WaitForSingleObject(reinterpret_cast<HANDLE>(process), 0) == WAIT_TIMEOUT)
    {
        return true;
    }
    wait();
    return false;
}

int ChildProcess::wait()
{
    if (process != -1)
    {
        const HANDLE handle = reinterpret_cast<HANDLE>(process);
        DWORD code = 0;
        if (::WaitForSingleObject(handle, INFINITE) == WAIT_OBJECT_0 &&
            ::GetExitCodeProcess(handle, &code))
        {
            exit_code = static_cast<int>(code);
        }
        ::CloseHandle(handle);
        process = -1;
    }
    return exit_code;
}

} // namespace test
