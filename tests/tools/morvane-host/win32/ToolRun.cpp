#include "ToolRun.hpp"

#include <windows.h>

#include "vst2host/WindowsPath.hpp"

namespace morvane_host_test
{

namespace
{

// The quoting that the C runtime's command-line parser undoes.
std::string quote(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument)
    {
        if (c == '\\')
        {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

HANDLE open_capture(const std::string& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

int run_to_end(const std::vector<std::string>& command, const Environment& environment,
               const std::string& out_file, const std::string& err_file)
{
    std::string line;
    for (const std::string& argument : command)
        line += quote(argument) + ' ';
    for (const auto& [name, value] : environment)
        SetEnvironmentVariableA(name.c_str(), value.c_str());

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = open_capture(out_file);
    startup.hStdError = open_capture(err_file);
    PROCESS_INFORMATION process{};
    int code = -1;
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process))
    {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exit_code = 0;
        GetExitCodeProcess(process.hProcess, &exit_code);
        code = static_cast<int>(exit_code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (const auto& [name, value] : environment)
        SetEnvironmentVariableA(name.c_str(), nullptr);
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    return code;
}

std::string native_path(const std::string& path)
{
    return vst2host::to_windows_path(path);
}

} // namespace morvane_host_test
