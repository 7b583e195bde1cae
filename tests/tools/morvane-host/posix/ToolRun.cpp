#include "ToolRun.hpp"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace morvane_host_test
{

namespace
{

std::string take_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::remove(path.c_str());
    return text.str();
}

} // namespace

ToolRun run_program(const std::vector<std::string>& command,
                    const std::vector<std::pair<std::string, std::string>>& environment)
{
    char out_name[] = "/tmp/morvane-host-test-out-XXXXXX";
    char err_name[] = "/tmp/morvane-host-test-err-XXXXXX";
    const int out_fd = ::mkstemp(out_name);
    const int err_fd = ::mkstemp(err_name);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out_fd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err_fd, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

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
    std::vector<char*> envp, argv;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments = command;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    ToolRun run;
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0)
    {
        int status = 0;
        ::waitpid(child, &status, 0);
        run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out_fd);
    ::close(err_fd);
    run.out = take_file(out_name);
    run.err = take_file(err_name);
    return run;
}

std::string native_path(const std::string& path)
{
    return path;
}

} // namespace morvane_host_test
