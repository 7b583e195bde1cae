#pragma once

#include <atomic>

#include "plux/midi/MidiDevSelCompInterface.hpp"
#include "plux/vst2/Vst2Abi.hpp"
#include "plux/vst2/Vst2MidiIn.hpp"
#include "plux/vst2/Vst2MidiOut.hpp"

namespace plux
{

class Vst2MidiHostInterface;

// The host's MIDI as devices: one input, "VST MIDI In interface", and one output, "VST MIDI Out
// interface". The two devices live as long as the component; selecting them opens them, and
// selecting them again closes and reopens them.
class Vst2MidiDevSelComp final : public MidiDevSelCompInterface
{
public:
    static constexpr const char* in_name = "VST MIDI In interface";
    static constexpr const char* out_name = "VST MIDI Out interface";

    explicit Vst2MidiDevSelComp(Vst2MidiHostInterface& host);

    int append_devices(std::vector<std::string>& in_names,
                       std::vector<std::string>& out_names) override;
    bool owns_in(int position) const override { return position >= 0 && position == first_in_; }
    bool owns_out(int position) const override { return position >= 0 && position == first_out_; }
    int create_in(int position, MidiMgr& mgr, MidiInInterface*& dev) override;
    int create_out(int position, MidiMgr& mgr, MidiOutInterface*& dev) override;
    void release_devices() override;

    // Audio thread, from effProcessEvents: the events go to the host input while it is the
    // selected and open input, and are ignored otherwise.
    void process_events(const vst2::VstEvents& events) noexcept;

    Vst2MidiIn& use_in() noexcept { return in_; }
    Vst2MidiOut& use_out() noexcept { return out_; }

private:
    Vst2MidiIn in_;
    Vst2MidiOut out_;
    // Set on the editor thread, read by process_events().
    std::atomic<MidiMgr*> mgr_{nullptr};
    int first_in_ = -1;
    int first_out_ = -1;
};

} // namespace plux
