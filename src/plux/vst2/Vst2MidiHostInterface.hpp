#pragma once

#include "plux/vst2/Vst2Abi.hpp"

namespace plux
{

// What the host's MIDI output needs from the plug-in: handing a list of events to the host
// (audioMasterProcessEvents). Called on the audio thread at the start of a block; the list stays
// valid and unchanged until the next call.
class Vst2MidiHostInterface
{
public:
    virtual ~Vst2MidiHostInterface() = default;

    virtual void send_events_to_host(vst2::VstEvents& events) = 0;
};

} // namespace plux
