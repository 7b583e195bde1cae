#include "ToolRun.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace morvane_host_test
{

int run_to_end(const std::vector<std::string>& command, const Environment& environment,
               const std::string& out_file, const std::string& err_file)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    constexpr int write_flags = O_WRONLY | O_CREAT | O_TRUNC;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_file.c_str(), write_flags, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_file.c_str(), write_flags, 0644);

    std::vector<std::string> variables;
    for (char** each = environ; *each != nullptr; ++each)
    {
        const std::string variable = *each;
        bool replaced = false;
        for (const auto& [name, value] : environment)
            replaced = replaced || variable.starts_with(name + "=");
        if (!replaced)
            variables.push_back(variable);
    }
    for (const auto& [name, value] : environment)
        variables.push_back(name + "=" + value);
    std::vector<std::string> arguments = command;
    std::vector<char*> envp, argv;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    envp.push_back(nullptr);
    argv.push_back(nullptr);

    int code = -1;
    pid_t child = 0;
    int status = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0 &&
        ::waitpid(child, &status, 0) == child)
        code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    posix_spawn_file_actions_destroy(&actions);
    return code;
}

std::string native_path(const std::string& path)
{
    return path;
}

} // namespace morvane_host_test
