#pragma once

#include <string>
#include <utility>
#include <vector>

namespace morvane_host_test
{

using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs a program to its end with nothing on its standard input, its output and error written to
// the files named, and the given variables added to this process's environment. Answers the exit
// code: 128 + the signal for a program a signal ended, -1 for one that did not start. POSIX and
// Windows realisations.
int run_to_end(const std::vector<std::string>& command, const Environment& environment,
               const std::string& out_file, const std::string& err_file);

// A path as the programs of this build take it: under wine, Unix absolute paths become drive Z:.
std::string native_path(const std::string& path);

} // namespace morvane_host_test
