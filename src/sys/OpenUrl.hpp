#pragma once

#include <string>

namespace sys
{

// Opens url in the user's web browser without waiting for it: the shell's "open" verb on
// Windows, the desktop's opener (xdg-open, found on PATH) elsewhere. 0 when the opener started;
// -1 when it could not, which only the debug output tells.
int open_url(const std::string& url);

} // namespace sys
