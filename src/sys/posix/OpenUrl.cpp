#include "sys/OpenUrl.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "sys/DebugOutput.hpp"
#include "sys/posix/ProgramPath.hpp"

extern char** environ;

namespace sys
{

namespace
{

int failed()
{
    debug_output("sys::open_url: Error: couldn't open html browser.\n");
    return -1;
}

template <typename F>
auto retry_on_eintr(F&& f)
{
    auto result = f();
    while (result < 0 && errno == EINTR)
    {
        result = f();
    }
    return result;
}

} // namespace

int open_url(const std::string& url)
{
    const std::string opener = find_program("xdg-open");
    if (opener.empty())
    {
        return failed();
    }
    // The child reports a failed exec through this pipe; a successful one closes it.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
    {
        return failed();
    }
    const int null_fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    char* argv[] = {const_cast<char*>(opener.c_str()), const_cast<char*>(url.c_str()), nullptr};

    // The opener runs as a grandchild that nobody waits for, so neither the browser it may keep
    // running nor its exit leaves anything to reap in the host. Between fork and exec only
    // async-signal-safe calls: the host's other threads may hold any lock.
    const pid_t child = ::fork();
    if (child == 0)
    {
        const pid_t grandchild = ::fork();
        if (grandchild == 0)
        {
            ::setsid();
            if (null_fd >= 0)
            {
                ::dup2(null_fd, STDIN_FILENO);
                ::dup2(null_fd, STDOUT_FILENO);
                ::dup2(null_fd, STDERR_FILENO);
            }
            ::execve(argv[0], argv, environ);
            const int err = errno;
            [[maybe_unused]] const ssize_t ignored = ::write(fds[1], &err, sizeof(err));
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(fds[1]);
    if (null_fd >= 0)
    {
        ::close(null_fd);
    }
    if (child < 0)
    {
        ::close(fds[0]);
        return failed();
    }
    int status = 0;
    const pid_t waited = retry_on_eintr([&] { return ::waitpid(child, &status, 0); });
    // A host that reaps its children itself leaves nothing to wait for: the pipe still tells.
    const bool forked = waited != child || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
    int err = 0;
    const ssize_t reported = retry_on_eintr([&] { return ::read(fds[0], &err, sizeof(err)); });
    ::close(fds[0]);
    return forked && reported == 0 ? 0 : failed();
}

} // namespace sys
