#include "sys/FileSelector.hpp"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "sys/posix/ProgramPath.hpp"

extern char** environ;

namespace sys
{

namespace
{

// A path longer than this is no answer of a file chooser.
constexpr std::size_t max_output_len = 65536;

// Patterns separated by ',' or ';' become separated by spaces, as the choosers take them.
std::string spaced_patterns(std::string patterns)
{
    for (char& c : patterns)
    {
        if (c == ',' || c == ';')
        {
            c = ' ';
        }
    }
    return patterns;
}

std::vector<std::string> make_zenity_args(const std::string& program,
                                          const FileSelectorInterface& sel, bool save)
{
    std::vector<std::string> args{program, "--file-selection", "--title=" + sel.get_title()};
    if (save)
    {
        args.emplace_back("--save");
    }
    if (!sel.get_path().empty())
    {
        args.push_back("--filename=" + sel.get_path());
    }
    for (int index = 0; index < sel.get_nbr_filters(); ++index)
    {
        const FileSelectorInterface::Filter& filter = sel.use_filter(index);
        args.push_back("--file-filter=" + filter.first + " | " + spaced_patterns(filter.second));
    }
    return args;
}

std::vector<std::string> make_kdialog_args(const std::string& program,
                                           const FileSelectorInterface& sel, bool save)
{
    std::string start = sel.get_path();
    if (start.empty())
    {
        const char* home = std::getenv("HOME");
        start = home != nullptr && home[0] != '\0' ? home : "/";
    }
    std::string filter_text;
    for (int index = 0; index < sel.get_nbr_filters(); ++index)
    {
        const FileSelectorInterface::Filter& filter = sel.use_filter(index);
        if (!filter_text.empty())
        {
            filter_text += '\n';
        }
        filter_text += spaced_patterns(filter.second) + "|" + filter.first;
    }
    std::vector<std::string> args{program, "--title", sel.get_title(),
                                  save ? "--getsavefilename" : "--getopenfilename", start};
    if (!filter_text.empty())
    {
        args.push_back(filter_text);
    }
    return args;
}

// Runs the chooser and collects its standard output. The exit status is -1 when the program
// could not be started; when the host reaps its children itself, it is taken from the output.
struct RunResult
{
    int status = -1;
    std::string output;
};

RunResult run(const std::vector<std::string>& args)
{
    RunResult result;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
    {
        return result;
    }

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    // The choosers' toolkit warnings are no business of the host's log.
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<char*> argv;
    for (const std::string& arg : args)
    {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0)
    {
        ::close(fds[0]);
        return result;
    }

    char buffer[4096];
    for (;;)
    {
        const ssize_t len = ::read(fds[0], buffer, sizeof(buffer));
        if (len > 0)
        {
            if (result.output.size() < max_output_len)
            {
                result.output.append(buffer, static_cast<std::size_t>(len));
            }
        }
        else if (len == 0 || errno != EINTR)
        {
            break;
        }
    }
    ::close(fds[0]);

    int status = 0;
    pid_t waited = 0;
    do
    {
        waited = ::waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited == pid)
    {
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    else
    {
        result.status = result.output.empty() ? 1 : 0;
    }
    return result;
}

int run_chooser(FileSelectorInterface& sel, bool save)
{
    std::vector<std::string> args;
    if (const std::string zenity = find_program("zenity"); !zenity.empty())
    {
        args = make_zenity_args(zenity, sel, save);
    }
    else if (const std::string kdialog = find_program("kdialog"); !kdialog.empty())
    {
        args = make_kdialog_args(kdialog, sel, save);
    }
    else
    {
        return FileSelectorInterface::res_failed;
    }

    RunResult result = run(args);
    if (result.status == 1)
    {
        return FileSelectorInterface::res_cancelled;
    }
    if (!result.output.empty() && result.output.back() == '\n')
    {
        result.output.pop_back();
    }
    if (result.status != 0 || result.output.empty() || result.output.size() >= max_output_len)
    {
        return FileSelectorInterface::res_failed;
    }
    sel.set_path(result.output);
    return FileSelectorInterface::res_chosen;
}

} // namespace

int FileSelector::select_load()
{
    return run_chooser(*this, false);
}

int FileSelector::select_save()
{
    return run_chooser(*this, true);
}

} // namespace sys
