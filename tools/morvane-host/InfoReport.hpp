#pragma once

#include <ostream>
#include <string>

#include "vst2host/Host.hpp"

namespace morvane_host
{

// Everything a host can learn of an opened effect, as text: the effect record with its flags by
// name, the texts and numbers the dispatcher answers, the answers to the usual capability texts,
// every parameter with its label, display, properties and whether it can be automated, and every
// program name. Runs on the host's user-interface thread.
void print_info(vst2host::Host& host, const std::string& path, std::ostream& out);

// A program's name: effGetProgramNameIndexed, or for plug-ins that do not answer it, the name of
// the program selected for the question (the current program is selected again afterwards).
// Empty when the plug-in names none.
std::string read_program_name(vst2host::Host& host, vst2::VstInt32 program);

} // namespace morvane_host
