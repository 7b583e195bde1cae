#pragma once

#include <string>

namespace ravik
{

// The process-wide mouse mode of the maker's editors: compatible (the cursor stays visible and
// moves are absolute) or enhanced (the cursor hides and drags are relative, so they never stop at
// the screen's edge). Kept as "MouseCompatibility" (decimal, 1 compatible) under the maker's key
// of the user's registry; read once, and written back at every change. Editor thread.
class MouseMode
{
public:
    static constexpr const char* value_name = "MouseCompatibility";

    static bool is_compatible();
    // Stores the mode and writes it back; 0, or -1 when the registry refused it (the mode holds
    // for this process anyway).
    static int set_compatible(bool compatible);
    // Where the value lives below "Software" (default "Tarvex"); the next read goes there.
    static void set_key_path(const std::string& path);
};

} // namespace ravik
