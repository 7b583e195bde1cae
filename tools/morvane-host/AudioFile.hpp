#pragma once

#include <string>

#include "morvane-host/AudioData.hpp"

namespace morvane_host
{

// Audio files on disk. The native build reads and writes through libsndfile; the Windows build
// has its own WAV reader and writer. Both throw ToolError with ExitCode::file, naming the file
// and the cause.

// Any channel count; the caller decides what it accepts.
AudioData read_audio_file(const std::string& path);

// The format follows the file name's extension. Samples are written as 32-bit float where the
// format has them, so that nothing the plug-in computed is lost. A file that cannot be written
// completely is removed.
void write_audio_file(const std::string& path, const AudioData& audio);

// Throws as write_audio_file() would when the file name names no format it writes, so that a
// command can refuse before it does any work.
void check_audio_file_name(const std::string& path);

// The formats this build reads and writes, for the help texts.
std::string describe_audio_formats();

} // namespace morvane_host
