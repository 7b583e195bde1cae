#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace morvane_host
{

struct SnapshotOptions
{
    std::string out = "editor.png";
    std::optional<int> program;
    std::vector<std::string> sets;
};

// Builds Morvane in this process, restores the program and the parameter texts, opens its real
// editor in a window in memory and writes what it shows as a PNG file.
void run_snapshot(const SnapshotOptions& options, std::ostream& out);

} // namespace morvane_host
