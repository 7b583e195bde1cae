#pragma once

#include <cstdint>
#include <span>

#include "plux/midi/MidiDevInterface.hpp"
#include "plux/midi/MidiReceiverInterface.hpp"

namespace plux
{

// A MIDI output: receiver operations become packets of four bytes (status, data 1, data 2,
// data 3), packed as status + data 1 × 256 + data 2 × 65536 + data 3 × 16777216, the layout of a
// Windows short message.
//
// Success convention of every output: 0 when sent, a negative code when not. Senders may be on
// any thread, the audio thread included, so sending never waits.
class MidiOutInterface : public MidiDevInterface, public MidiReceiverInterface
{
public:
    ~MidiOutInterface() override = default;

    static constexpr std::uint32_t pack(int status, int data_1, int data_2, int data_3) noexcept
    {
        return (static_cast<std::uint32_t>(status) & 0xFF) |
               ((static_cast<std::uint32_t>(data_1) & 0xFF) << 8) |
               ((static_cast<std::uint32_t>(data_2) & 0xFF) << 16) |
               ((static_cast<std::uint32_t>(data_3) & 0xFF) << 24);
    }

    virtual int send_packet(int status, int data_1, int data_2, int data_3) noexcept = 0;
    // All the packets, in order, as one message: an output that can refuse a whole message
    // (a full buffer) sends none of it rather than a part. By default one packet after the
    // other, stopping at the first failure.
    virtual int send_packets(std::span<const std::uint32_t> packets) noexcept;
};

} // namespace plux
