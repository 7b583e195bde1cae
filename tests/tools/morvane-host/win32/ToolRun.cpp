#include "ToolRun.hpp"

#include <windows.h>

#include <fstream>
#include <sstream>

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
        if (c == '"')
            quoted.append(backslashes * 2 + 1, '\\');
        else
            quoted.append(backslashes, '\\');
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

std::string take_file(const std::string& path)
{
    std::string text;
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        text = content.str();
    }
    DeleteFileA(path.c_str());
    return text;
}

} // namespace

ToolRun run_program(const std::vector<std::string>& command,
                    const std::vector<std::pair<std::string, std::string>>& environment)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    char out_name[MAX_PATH] = {}, err_name[MAX_PATH] = {};
    GetTempFileNameA(folder, "mho", 0, out_name);
    GetTempFileNameA(folder, "mhe", 0, err_name);
    HANDLE out = open_capture(out_name);
    HANDLE err = open_capture(err_name);

    std::string line;
    for (const std::string& argument : command)
    {
        if (!line.empty())
            line += ' ';
        line += quote(argument);
    }
    for (const auto& [name, value] : environment)
        SetEnvironmentVariableA(name.c_str(), value.c_str());

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    ToolRun run;
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process))
    {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        run.exit_code = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (const auto& [name, value] : environment)
        SetEnvironmentVariableA(name.c_str(), nullptr);
    CloseHandle(out);
    CloseHandle(err);
    run.out = take_file(out_name);
    run.err = take_file(err_name);
    return run;
}

std::string native_path(const std::string& path)
{
    return vst2host::to_windows_path(path);
}

} // namespace morvane_host_test
