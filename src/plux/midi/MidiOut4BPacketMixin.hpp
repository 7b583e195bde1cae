#pragma once

#include "plux/midi/MidiOutInterface.hpp"

namespace plux
{

class MidiRegSettings;

// Turns the receiver operations of an output into packets for send_packet(): channel messages
// as they are, RPN and NRPN as four control changes (number MSB, number LSB, data entry 6 and
// 38), a program change with its bank select, a 14-bit controller as its pair. Composites go out
// through send_packets(), whole or not at all. Any thread.
class MidiOut4BPacketMixin : public MidiOutInterface
{
public:
    // Where the NRPN compatibility setting is read; without it the standard layout is sent.
    void set_reg_settings(const MidiRegSettings* reg) noexcept { reg_ = reg; }

    int prog_change(int chn, int value) override;
    int rpn(int chn, int number, int value) override;
    int nrpn(int chn, int number, int value) override;
    int cc(int chn, int ctrl, int value) override;
    int chn_msg(int chn, int kind, int data_1, int data_2) override;
    int status_byte(int status) override;
    int raw_msg(int status, int data_1, int data_2) override;
    int cc_pair(int chn, int ctrl, int value) override;

private:
    // The four control changes that address number and set value; msb_ctrl and lsb_ctrl are
    // the number controllers of the standard layout.
    int send_param_number(int chn, int msb_ctrl, int lsb_ctrl, int number, int value) noexcept;

    const MidiRegSettings* reg_ = nullptr;
};

} // namespace plux
