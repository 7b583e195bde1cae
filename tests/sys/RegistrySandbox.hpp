#pragma once

#include <string>

namespace test
{

// Registry values written by the tests never meet the user's. On Windows every test process
// keeps its keys below Software\<sandbox root>, a key of its own that is deleted at the end; on
// other systems the store lives in a temporary configuration folder (XDG_CONFIG_HOME) that is
// deleted at the end. Set up before the first test of the executable.

// The key below "Software" that holds this process's test keys.
const std::string& sandbox_root();

// A key path of the running test, below the sandbox root: "<root>/<suite>_<test>[/suffix]".
std::string sandbox_key_path(const std::string& suffix = "");

} // namespace test
