#include "morvane-host/System.hpp"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>
#include <vector>

#include "morvane-host/ToolError.hpp"

namespace morvane_host
{

namespace
{

std::atomic<const char*> crash_activity{"starting"};

void write_text(const char* text) noexcept
{
    std::size_t left = std::strlen(text);
    while (left > 0)
    {
        const ssize_t written = ::write(STDERR_FILENO, text, left);
        if (written <= 0)
            return;
        text += written;
        left -= static_cast<std::size_t>(written);
    }
}

const char* signal_name(int signal) noexcept
{
    switch (signal)
    {
    case SIGSEGV:
        return "SIGSEGV, an invalid memory access";
    case SIGBUS:
        return "SIGBUS, an invalid memory access";
    case SIGFPE:
        return "SIGFPE, an arithmetic fault";
    case SIGILL:
        return "SIGILL, an illegal instruction";
    case SIGABRT:
        return "SIGABRT, an abort";
    default:
        return "a fatal signal";
    }
}

// Only async-signal-safe calls from here on.
void report_crash(int signal) noexcept
{
    write_text("\nmorvane-host: the plug-in crashed (");
    write_text(signal_name(signal));
    write_text(") while ");
    write_text(crash_activity.load());
    write_text("\n");
    ::_exit(static_cast<int>(ExitCode::plugin_failure));
}

} // namespace

bool is_error_terminal()
{
    return ::isatty(STDERR_FILENO) != 0;
}

std::string get_executable_path()
{
    std::vector<char> path(4096);
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0)
        return {};
    return std::string(path.data(), static_cast<std::size_t>(length));
}

void install_crash_guard()
{
    // Its own stack, so that a stack overflow in the plug-in is reported too.
    static std::vector<char> stack(1 << 16);
    stack_t alternate{};
    alternate.ss_sp = stack.data();
    alternate.ss_size = stack.size();
    ::sigaltstack(&alternate, nullptr);

    struct sigaction action
    {
    };
    action.sa_handler = &report_crash;
    action.sa_flags = SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        ::sigaction(signal, &action, nullptr);
}

void set_crash_activity(const char* activity) noexcept
{
    crash_activity.store(activity);
}

} // namespace morvane_host
