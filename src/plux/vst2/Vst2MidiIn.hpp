#pragma once

#include <atomic>

#include "plux/midi/MidiInCcMixin.hpp"
#include "plux/vst2/Vst2Abi.hpp"

namespace plux
{

// The MIDI that the host sends with effProcessEvents. Opened, it decodes every MIDI event in
// list order and moves the bound parameters; closed, it ignores the events.
class Vst2MidiIn final : public MidiInCcMixin
{
public:
    int open() override;
    int close() override;
    bool is_enabled() const noexcept { return enabled_.load(); }

    // Audio thread: the host's events for the next block. Events of other types than MIDI are
    // skipped; each MIDI event announces its offset in the block to the receiver first.
    void process_events(const vst2::VstEvents& events) noexcept;

protected:
    void process_ctrl(int chn, int ctrl_id, int value) noexcept override;

private:
    std::atomic<bool> enabled_{false};
};

} // namespace plux
