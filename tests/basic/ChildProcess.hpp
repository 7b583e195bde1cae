#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test
{

// A program of this build running beside the test, started from its file name and arguments.
// POSIX and Windows realisations; Windows looks for the program in the test's own folder.
class ChildProcess
{
public:
    explicit ChildProcess(const std::vector<std::string>& command);
    // Waits for the end of the program.
    ~ChildProcess() { wait(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool is_running();
    // The exit code; -1 when the program could not start or did not exit normally.
    int wait();

private:
    // A process id, or a process HANDLE on Windows; -1 when none.
    std::intptr_t process = -1;
    int exit_code = -1;
};

} // namespace test
