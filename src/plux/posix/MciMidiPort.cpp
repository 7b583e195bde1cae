#include "plux/midi/MciMidiPort.hpp"

// This system offers no MIDI ports of its own to the plug-in: the host's MIDI is the only
// source and destination. Every list is empty and every port operation fails.

namespace plux
{

int MciMidiPort::get_nbr_in()
{
    return 0;
}

int MciMidiPort::get_nbr_out()
{
    return 0;
}

int MciMidiPort::get_in_name(int /*index*/, std::string& /*name*/)
{
    return -1;
}

int MciMidiPort::get_out_name(int /*index*/, std::string& /*name*/)
{
    return -1;
}

int MciMidiPort::open_in(int /*index*/, MciMidiIn& /*dev*/, Handle& handle)
{
    handle = nullptr;
    return -1;
}

int MciMidiPort::close_in(Handle& handle)
{
    return handle == nullptr ? 0 : -1;
}

int MciMidiPort::open_out(int /*index*/, Handle& handle)
{
    handle = nullptr;
    return -1;
}

int MciMidiPort::close_out(Handle& handle)
{
    return handle == nullptr ? 0 : -1;
}

int MciMidiPort::send_short(Handle /*handle*/, std::uint32_t /*msg*/) noexcept
{
    return -1;
}

} // namespace plux
