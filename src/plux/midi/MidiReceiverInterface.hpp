#pragma once

namespace plux
{

// What takes MIDI messages apart from the bytes: the MIDI control manager (which passes them on
// to the output as a MIDI thru) and the outputs (which turn them back into bytes).
//
// Every operation answers 0 when the message was sent or when there was nothing to do, and a
// negative code when it could not be sent (an output buffer full, a system port failure). A
// composite message (RPN, NRPN, program change with bank, a 14-bit controller pair) succeeds
// only as a whole. Channels are 0 to 15; data are 7-bit, RPN and NRPN numbers and values 14-bit.
// Note and pressure messages are not used by this effect: every receiver ignores them.
class MidiReceiverInterface
{
public:
    virtual ~MidiReceiverInterface() = default;

    // The sample offset, within the block, of the messages that follow.
    virtual int set_time_offset(int /*offset*/) { return 0; }
    virtual int note_on(int /*chn*/, int /*note*/, int /*velo*/) { return 0; }
    virtual int note_off(int /*chn*/, int /*note*/, int /*velo*/) { return 0; }
    virtual int poly_pressure(int /*chn*/, int /*note*/, int /*pressure*/) { return 0; }
    virtual int chn_pressure(int /*chn*/, int /*pressure*/) { return 0; }
    // value = program + 128 × bank select MSB + 16384 × bank select LSB.
    virtual int prog_change(int /*chn*/, int /*value*/) { return 0; }
    virtual int rpn(int /*chn*/, int /*number*/, int /*value*/) { return 0; }
    virtual int nrpn(int /*chn*/, int /*number*/, int /*value*/) { return 0; }
    virtual int cc(int /*chn*/, int /*ctrl*/, int /*value*/) { return 0; }
    // Any channel message: kind is the status byte's upper nibble (8 to 14).
    virtual int chn_msg(int /*chn*/, int /*kind*/, int /*data_1*/, int /*data_2*/) { return 0; }
    virtual int status_byte(int /*status*/) { return 0; }
    virtual int raw_msg(int /*status*/, int /*data_1*/, int /*data_2*/) { return 0; }
    // A 14-bit value on controller ctrl (below 32, the MSB) and ctrl + 32 (the LSB). The LSB
    // follows only when the MSB went out; outputs that can send both at once do.
    virtual int cc_pair(int chn, int ctrl, int value)
    {
        const int ret = cc(chn, ctrl, (value >> 7) & 0x7F);
        return ret != 0 ? ret : cc(chn, ctrl + 32, value & 0x7F);
    }
};

} // namespace plux
