#pragma once

#include <string>
#include <vector>

namespace morvane_host
{

// A control change of a standard MIDI file at its time from the start of the file.
struct ControllerEvent
{
    double seconds = 0.0;
    unsigned char status = 0xB0; // 0xB0 to 0xBF: the channel in the low nibble
    unsigned char controller = 0;
    unsigned char value = 0;

    bool operator==(const ControllerEvent&) const = default;
};

// The control changes of a standard MIDI file of format 0 or 1, in time order (the file's order
// for equal times), with the tempo map applied. The native build reads through libsmf, the
// Windows build with the tool's own reader. Throws ToolError with ExitCode::file naming the file
// and the problem.
std::vector<ControllerEvent> read_midi_controllers(const std::string& path);

// What this build's reader takes, for the help texts.
std::string describe_midi_reader();

} // namespace morvane_host
