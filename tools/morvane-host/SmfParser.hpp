#pragma once

#include <span>
#include <vector>

#include "morvane-host/MidiFile.hpp"

namespace morvane_host
{

// Reads the control changes of a standard MIDI file held in memory: formats 0 and 1, running
// status, sysex and meta events skipped, tempo changes from any track applied to every track,
// metrical or SMPTE time division. Throws std::runtime_error naming the problem and where it is.
std::vector<ControllerEvent> parse_smf_controllers(std::span<const unsigned char> bytes);

} // namespace morvane_host
