#include "basic/RunProgram.hpp"

#include <windows.h>

namespace test
{

int run_program(const std::vector<std::string>& command)
{
    // Arguments go in quotes; the tests pass none with quotes of their own.
    std::string line;
    for (const std::string& argument : command)
    {
        line += (line.empty() ? "\"" : " \"") + argument + "\"";
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
    {
        return -1;
    }
    DWORD code = 0;
    const bool exited = ::WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                        ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return exited ? static_cast<int>(code) : -1;
}

} // namespace test
