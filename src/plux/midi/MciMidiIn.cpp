#include "plux/midi/MciMidiIn.hpp"

#include "plux/midi/MidiMgr.hpp"
#include "plux/midi/MidiReceiverInterface.hpp"

namespace plux
{

MciMidiIn::MciMidiIn(int sys_index, int fifo_slots)
    : sys_index_(sys_index)
    , fifo_(fifo_slots)
{
}

MciMidiIn::~MciMidiIn()
{
    close();
}

int MciMidiIn::open()
{
    if (handle_ != nullptr && MciMidiPort::close_in(handle_) != 0)
    {
        return -1;
    }
    fifo_.discard();
    return MciMidiPort::open_in(sys_index_, *this, handle_) != 0 ? -1 : 0;
}

int MciMidiIn::close()
{
    return MciMidiPort::close_in(handle_) != 0 ? -1 : 0;
}

void MciMidiIn::begin_block() noexcept
{
    MidiReceiverInterface* const receiver = get_receiver();
    Event event{};
    while (fifo_.read(event))
    {
        if (receiver != nullptr)
        {
            receiver->set_time_offset(0);
        }
        process_msg(event.status, event.data_1, event.data_2);
    }
}

void MciMidiIn::push_data(std::uint32_t msg, std::uint32_t time) noexcept
{
    fifo_.write(
        Event{static_cast<std::int32_t>(msg & 0xFF), static_cast<std::int32_t>((msg >> 8) & 0xFF),
              static_cast<std::int32_t>((msg >> 16) & 0xFF), static_cast<std::int32_t>(time)});
}

void MciMidiIn::on_port_message(void* instance, unsigned int msg, std::uintptr_t param_1,
                                std::uintptr_t param_2) noexcept
{
    if (msg == port_msg_data && instance != nullptr)
    {
        static_cast<MciMidiIn*>(instance)->push_data(static_cast<std::uint32_t>(param_1),
                                                     static_cast<std::uint32_t>(param_2));
    }
}

void MciMidiIn::process_ctrl(int chn, int ctrl_id, int value) noexcept
{
    if (MidiMgr* const mgr = get_mgr(); mgr != nullptr)
    {
        mgr->receive_ctrl(chn, ctrl_id, value);
    }
}

} // namespace plux
