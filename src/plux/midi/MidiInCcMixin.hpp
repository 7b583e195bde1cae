#pragma once

#include "plux/midi/MidiInChn.hpp"

namespace plux
{

class MidiMgr;
class MidiRegSettings;

// Decodes the channel messages of an input. Control changes become control identifiers with
// 14-bit values: controller c gives c × 65536 with the value × 128, data entry (6 and 38) gives
// the RPN (101 × 65536 + number) or NRPN (99 × 65536 + number) that the channel addresses, with
// its value. Everything decoded also goes to the receiver. Runs on the thread that delivers the
// input's MIDI (the audio thread), one message at a time; never waits or allocates.
class MidiInCcMixin : public MidiInChn
{
public:
    // Editor thread, while the input is not in use: delivers to the MIDI control manager (the
    // receiver, and the NRPN compatibility setting) and resets the channels.
    void attach(MidiMgr& mgr) noexcept;
    // Where the NRPN compatibility setting is read; without it the standard layout is used.
    void set_reg_settings(const MidiRegSettings* reg) noexcept { reg_ = reg; }
    MidiMgr* get_mgr() const noexcept { return mgr_; }

    // One message as it came: status bytes F0 and above, and data bytes where a status is
    // expected, are ignored; data bytes are taken as 7-bit.
    void process_msg(int status, int data_1, int data_2) noexcept;
    void process_cc(int chn, int ctrl, int value) noexcept;

protected:
    // A control moved: identifier and 14-bit value, with the channel it came on.
    virtual void process_ctrl(int chn, int ctrl_id, int value) noexcept = 0;

private:
    // Data entry: stores the value addressed by the channel and passes the control on.
    void process_data_entry(int chn, bool msb, int value) noexcept;

    MidiMgr* mgr_ = nullptr;
    const MidiRegSettings* reg_ = nullptr;
};

} // namespace plux
