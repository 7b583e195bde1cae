#pragma once

#include <string>
#include <vector>

namespace test
{

// Runs a program of this build to its end: its file name, then its arguments. Answers its exit
// code, or -1 when it could not start or did not exit normally. POSIX and Windows realisations;
// Windows looks for the program in the test's own folder.
int run_program(const std::vector<std::string>& command);

} // namespace test
