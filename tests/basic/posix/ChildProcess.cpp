#include "basic/ChildProcess.hpp"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test
{

ChildProcess::ChildProcess(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& argument : command)
    {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0)
    {
        process = pid;
    }
}

bool ChildProcess::is_running()
{
    int status = 0;
    if (process < 0 || ::waitpid(static_cast<pid_t>(process), &status, WNOHANG) == 0)
    {
        return process >= 0;
    }
    exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    process = -1;
    return false;
}

int ChildProcess::wait()
{
    int status = 0;
    if (process >= 0 && ::waitpid(static_cast<pid_t>(process), &status, 0) > 0)
    {
        exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    process = -1;
    return exit_code;
}

} // namespace test
