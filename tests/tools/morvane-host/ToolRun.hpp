#pragma once

#include <string>
#include <utility>
#include <vector>

namespace morvane_host_test
{

struct ToolRun
{
    int exit_code = -1;
    std::string out;
    std::string err;
};

// Runs a program to its end with its standard output and error captured, and with the given
// variables added to this process's environment. POSIX and Windows realisations.
ToolRun run_program(const std::vector<std::string>& command,
                    const std::vector<std::pair<std::string, std::string>>& environment = {});

// A path as the programs of this build take it: under wine, Unix absolute paths become drive Z:.
std::string native_path(const std::string& path);

} // namespace morvane_host_test
