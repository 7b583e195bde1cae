#pragma once

#include <string>

namespace plux
{

// Moves the file src over dst, replacing dst when it exists. Paths are in the system's narrow
// encoding. False when the move failed; src is then left where it was.
bool replace_file(const std::string& src, const std::string& dst);

} // namespace plux
