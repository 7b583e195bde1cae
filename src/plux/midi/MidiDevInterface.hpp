#pragma once

#include "basic/SettingClientInterface.hpp"

namespace plux
{

// A MIDI device: the host's MIDI or a system port, in or out. Devices are opened and closed on
// the editor's thread while they are not in use; begin_block() and end_block() run on the audio
// thread at the start and at the end of every block.
class MidiDevInterface : public basic::SettingClientInterface
{
public:
    ~MidiDevInterface() override = default;

    // The devices of this effect keep no settings of their own.
    int save_settings(basic::ConfKeyMulti& /*root*/) override { return 0; }
    int load_settings(const basic::ConfKeyMulti& /*root*/) override { return 0; }

    // 0, or a negative code.
    virtual int open() = 0;
    virtual int close() = 0;
    virtual void begin_block() noexcept {}
    virtual void end_block() noexcept {}
};

} // namespace plux
