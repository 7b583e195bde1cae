#pragma once

#include <span>
#include <string>
#include <vector>

namespace morvane_host
{

// Whole files as bytes, for inputs the tool parses in memory (chunks, WAV and MIDI files) and
// outputs it writes in one go. Throw ToolError with ExitCode::file naming the file and the cause.
std::vector<unsigned char> read_file_bytes(const std::string& path);
// A failed or short write removes what was written.
void write_file_bytes(const std::string& path, std::span<const unsigned char> bytes);

} // namespace morvane_host
