#pragma once

#include "plux/midi/MciMidiPort.hpp"
#include "plux/midi/MidiOut4BPacketMixin.hpp"

namespace plux
{

class MidiMgr;

// A system MIDI output port: every packet goes out at once as a short message, from whichever
// thread sends it.
class MciMidiOut final : public MidiOut4BPacketMixin
{
public:
    // sys_index: the port's number among the system's outputs.
    explicit MciMidiOut(int sys_index);
    ~MciMidiOut() override;
    MciMidiOut(const MciMidiOut&) = delete;
    MciMidiOut& operator=(const MciMidiOut&) = delete;

    // Editor thread, while the output is not in use: takes the manager's NRPN compatibility.
    void attach(MidiMgr& mgr) noexcept;
    // Editor thread, while the output is not in use. 0, or -1.
    int open() override;
    int close() override;
    bool is_open() const noexcept { return handle_ != nullptr; }
    int get_sys_index() const noexcept { return sys_index_; }

    // 0 when sent, -1 when closed or refused by the system.
    int send_packet(int status, int data_1, int data_2, int data_3) noexcept override;

private:
    const int sys_index_;
    MciMidiPort::Handle handle_ = nullptr;
};

} // namespace plux
