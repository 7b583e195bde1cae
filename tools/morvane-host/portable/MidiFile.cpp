// Standard MIDI files with the tool's own reader.
#include "morvane-host/MidiFile.hpp"

#include <stdexcept>

#include "morvane-host/FileBytes.hpp"
#include "morvane-host/SmfParser.hpp"
#include "morvane-host/ToolError.hpp"

namespace morvane_host
{

std::vector<ControllerEvent> read_midi_controllers(const std::string& path)
{
    const std::vector<unsigned char> bytes = read_file_bytes(path);
    try
    {
        return parse_smf_controllers(bytes);
    }
    catch (const std::runtime_error& error)
    {
        throw ToolError(ExitCode::file, path + ": cannot read as a MIDI file: " + error.what());
    }
}

std::string describe_midi_reader()
{
    return "Standard MIDI files of format 0 and 1 (the tool's own reader).";
}

} // namespace morvane_host
