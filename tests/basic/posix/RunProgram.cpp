#include "basic/RunProgram.hpp"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test
{

int run_program(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& argument : command)
    {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0 ||
        ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
    {
        return -1;
    }
    return WEXITSTATUS(status);
}

} // namespace test
