#include "plux/midi/MciMidiPort.hpp"

#include <windows.h>

#include <cstring>
#include <mmsystem.h>

#include "plux/midi/MciMidiIn.hpp"

namespace plux
{

namespace
{

static_assert(MIM_DATA == MciMidiIn::port_msg_data);

// Runs on a thread of the system's MIDI service.
void CALLBACK midi_in_proc(HMIDIIN /*handle*/, UINT msg, DWORD_PTR instance, DWORD_PTR param_1,
                           DWORD_PTR param_2)
{
    MciMidiIn::on_port_message(reinterpret_cast<void*>(instance), msg, param_1, param_2);
}

template <std::size_t N>
std::string product_name(const char (&text)[N])
{
    return std::string(text, strnlen(text, N));
}

} // namespace

int MciMidiPort::get_nbr_in()
{
    return static_cast<int>(midiInGetNumDevs());
}

int MciMidiPort::get_nbr_out()
{
    return static_cast<int>(midiOutGetNumDevs());
}

int MciMidiPort::get_in_name(int index, std::string& name)
{
    MIDIINCAPSA caps{};
    if (index < 0 ||
        midiInGetDevCapsA(static_cast<UINT_PTR>(index), &caps, sizeof(caps)) != MMSYSERR_NOERROR)
    {
        return -1;
    }
    name = product_name(caps.szPname);
    return 0;
}

int MciMidiPort::get_out_name(int index, std::string& name)
{
    MIDIOUTCAPSA caps{};
    if (index < 0 ||
        midiOutGetDevCapsA(static_cast<UINT_PTR>(index), &caps, sizeof(caps)) != MMSYSERR_NOERROR)
    {
        return -1;
    }
    name = product_name(caps.szPname);
    return 0;
}

int MciMidiPort::open_in(int index, MciMidiIn& dev, Handle& handle)
{
    handle = nullptr;
    HMIDIIN in = nullptr;
    if (index < 0 ||
        midiInOpen(&in, static_cast<UINT>(index), reinterpret_cast<DWORD_PTR>(&midi_in_proc),
                   reinterpret_cast<DWORD_PTR>(&dev), CALLBACK_FUNCTION) != MMSYSERR_NOERROR)
    {
        return -1;
    }
    if (midiInStart(in) != MMSYSERR_NOERROR)
    {
        midiInClose(in);
        return -1;
    }
    handle = in;
    return 0;
}

int MciMidiPort::close_in(Handle& handle)
{
    if (handle == nullptr)
    {
        return 0;
    }
    const auto in = static_cast<HMIDIIN>(handle);
    midiInStop(in);
    midiInReset(in);
    if (midiInClose(in) != MMSYSERR_NOERROR)
    {
        return -1;
    }
    handle = nullptr;
    return 0;
}

int MciMidiPort::open_out(int index, Handle& handle)
{
    handle = nullptr;
    HMIDIOUT out = nullptr;
    if (index < 0 ||
        midiOutOpen(&out, static_cast<UINT>(index), 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
    {
        return -1;
    }
    handle = out;
    return 0;
}

int MciMidiPort::close_out(Handle& handle)
{
    if (handle == nullptr)
    {
        return 0;
    }
    if (midiOutClose(static_cast<HMIDIOUT>(handle)) != MMSYSERR_NOERROR)
    {
        return -1;
    }
    handle = nullptr;
    return 0;
}

int MciMidiPort::send_short(Handle handle, std::uint32_t msg) noexcept
{
    if (handle == nullptr)
    {
        return -1;
    }
    return midiOutShortMsg(static_cast<HMIDIOUT>(handle), msg) == MMSYSERR_NOERROR ? 0 : -1;
}

} // namespace plux
