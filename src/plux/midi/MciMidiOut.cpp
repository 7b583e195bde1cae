#include "plux/midi/MciMidiOut.hpp"

#include "plux/midi/MidiMgr.hpp"

namespace plux
{

MciMidiOut::MciMidiOut(int sys_index)
    : sys_index_(sys_index)
{
}

MciMidiOut::~MciMidiOut()
{
    close();
}

void MciMidiOut::attach(MidiMgr& mgr) noexcept
{
    set_reg_settings(&mgr.use_reg_settings());
}

int MciMidiOut::open()
{
    if (handle_ != nullptr)
    {
        return 0;
    }
    return MciMidiPort::open_out(sys_index_, handle_) != 0 ? -1 : 0;
}

int MciMidiOut::close()
{
    return MciMidiPort::close_out(handle_) != 0 ? -1 : 0;
}

int MciMidiOut::send_packet(int status, int data_1, int data_2, int data_3) noexcept
{
    return MciMidiPort::send_short(handle_, pack(status, data_1, data_2, data_3));
}

} // namespace plux
