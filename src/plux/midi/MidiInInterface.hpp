#pragma once

#include "basic/SerializableInterface.hpp"
#include "plux/midi/MidiDevInterface.hpp"

namespace plux
{

// A MIDI input. Its serialised form is the state of its channels.
class MidiInInterface : public MidiDevInterface, public basic::SerializableInterface
{
public:
    ~MidiInInterface() override = default;
};

} // namespace plux
