#include "plux/midi/MidiOut4BPacketMixin.hpp"

#include <array>

#include "plux/midi/MidiRegSettings.hpp"

namespace plux
{

namespace
{

constexpr int status_cc = 0xB0;
constexpr int status_prog = 0xC0;
constexpr int ctrl_bank_msb = 0;
constexpr int ctrl_bank_lsb = 32;
constexpr int ctrl_data_msb = 6;
constexpr int ctrl_data_lsb = 38;

std::uint32_t cc_packet(int chn, int ctrl, int value) noexcept
{
    return MidiOutInterface::pack(status_cc | (chn & 0x0F), ctrl & 0x7F, value & 0x7F, 0);
}

} // namespace

int MidiOut4BPacketMixin::prog_change(int chn, int value)
{
    const std::array<std::uint32_t, 3> packets{
        cc_packet(chn, ctrl_bank_msb, (value >> 7) & 0x7F),
        cc_packet(chn, ctrl_bank_lsb, (value >> 14) & 0x7F),
        pack(status_prog | (chn & 0x0F), value & 0x7F, 0, 0),
    };
    return send_packets(packets);
}

int MidiOut4BPacketMixin::rpn(int chn, int number, int value)
{
    return send_param_number(chn, 101, 100, number, value);
}

int MidiOut4BPacketMixin::nrpn(int chn, int number, int value)
{
    return send_param_number(chn, 99, 98, number, value);
}

int MidiOut4BPacketMixin::send_param_number(int chn, int msb_ctrl, int lsb_ctrl, int number,
                                            int value) noexcept
{
    // The old layout of the compatibility setting sends the LSB on the MSB's controller.
    const bool standard = reg_ == nullptr || reg_->get_nrpn_compat() != 0;
    const std::array<std::uint32_t, 4> packets{
        cc_packet(chn, standard ? msb_ctrl : lsb_ctrl, number >> 7),
        cc_packet(chn, standard ? lsb_ctrl : msb_ctrl, number),
        cc_packet(chn, ctrl_data_msb, value >> 7),
        cc_packet(chn, ctrl_data_lsb, value),
    };
    return send_packets(packets);
}

int MidiOut4BPacketMixin::cc(int chn, int ctrl, int value)
{
    const std::uint32_t packet = cc_packet(chn, ctrl, value);
    return send_packets({&packet, 1});
}

int MidiOut4BPacketMixin::cc_pair(int chn, int ctrl, int value)
{
    const std::array<std::uint32_t, 2> packets{
        cc_packet(chn, ctrl, value >> 7),
        cc_packet(chn, ctrl + 32, value),
    };
    return send_packets(packets);
}

int MidiOut4BPacketMixin::chn_msg(int chn, int kind, int data_1, int data_2)
{
    if (kind < 0x8 || kind > 0xE)
    {
        return -1;
    }
    return send_packet(((kind & 0x0F) << 4) | (chn & 0x0F), data_1 & 0x7F, data_2 & 0x7F, 0);
}

int MidiOut4BPacketMixin::status_byte(int status)
{
    return send_packet(status & 0xFF, 0, 0, 0);
}

int MidiOut4BPacketMixin::raw_msg(int status, int data_1, int data_2)
{
    return send_packet(status & 0xFF, data_1 & 0x7F, data_2 & 0x7F, 0);
}

} // namespace plux
