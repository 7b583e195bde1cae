// MIDI from a system port: the port callback's messages queued by MciMidiIn::on_port_message
// and decoded at the start of the next block into the plug-in's MIDI manager.
//
// Input: records of 9 bytes. Byte 0 below 0xF0 queues a data message, 0xF0 to 0xFE a message of
// another code, 0xFF ends a block (the queue is decoded, then an audio block runs); bytes 1 to 4
// are the message (status in the low byte), bytes 5 to 8 its time. The queue holds 16 messages,
// so overflow is part of the game.
#include <cstddef>
#include <cstdint>

#include "FuzzEffect.hpp"
#include "plux/midi/MciMidiIn.hpp"
#include "plux/midi/MidiMgr.hpp"
#include "plux/vst2/Vst2WinPlugin.hpp"

namespace
{

std::uint32_t load_u32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

struct Rig
{
    Rig() { in.attach(*effect.use_plugin().use_midi_mgr()); }

    fuzz::FuzzEffect effect;
    plux::MciMidiIn in{0, 16};
};

void end_block(Rig& rig)
{
    rig.in.begin_block();
    rig.effect.process(64);
    rig.effect.check_params();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Rig rig;
    rig.effect.reset();
    for (std::size_t pos = 0; pos + 9 <= size; pos += 9)
    {
        const std::uint8_t kind = data[pos];
        if (kind == 0xFF)
        {
            end_block(rig);
            continue;
        }
        const unsigned int code =
            kind < 0xF0 ? plux::MciMidiIn::port_msg_data : 0x3C0u + (kind & 0x0F);
        plux::MciMidiIn::on_port_message(&rig.in, code, load_u32(data + pos + 1),
                                         load_u32(data + pos + 5));
    }
    end_block(rig);
    rig.effect.use_plugin().use_midi_mgr()->set_default_map();
    return 0;
}
