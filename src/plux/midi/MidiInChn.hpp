#pragma once

#include <array>

#include "plux/midi/MidiChannelState.hpp"
#include "plux/midi/MidiInInterface.hpp"

namespace plux
{

class MidiReceiverInterface;

// An input with the state of its 16 channels and the receiver of what it decodes (the MIDI
// control manager). The serialised state is the 16 channel states in channel order.
class MidiInChn : public MidiInInterface
{
public:
    static constexpr int nbr_chn = 16;

    // Editor thread, while the input is not in use: sets the receiver and resets the channels.
    void init(MidiReceiverInterface* receiver) noexcept;
    void reset() noexcept;

    int read(std::span<const std::uint8_t> src) override;
    int write(std::span<std::uint8_t> dst) const override;
    int get_size() const override;

    const MidiChannelState& use_chn(int chn) const { return chn_arr_[static_cast<unsigned>(chn)]; }

protected:
    MidiChannelState& edit_chn(int chn) { return chn_arr_[static_cast<unsigned>(chn)]; }
    MidiReceiverInterface* get_receiver() const noexcept { return receiver_; }

private:
    std::array<MidiChannelState, nbr_chn> chn_arr_;
    MidiReceiverInterface* receiver_ = nullptr;
};

} // namespace plux
