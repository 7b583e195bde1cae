#pragma once

#include <cstdint>
#include <string>

namespace plux
{

class MciMidiIn;

// The system's MIDI ports: on Windows the multimedia MIDI functions; elsewhere there are none.
// Ports are numbered from 0 below their count. Handles are opaque; null is "not open". Editor
// thread, except send_short(), which any thread may call on an open output.
class MciMidiPort
{
public:
    using Handle = void*;

    static int get_nbr_in();
    static int get_nbr_out();
    // The port's product name: 0, or -1 when its capabilities cannot be read.
    static int get_in_name(int index, std::string& name);
    static int get_out_name(int index, std::string& name);

    // Opens the input with a callback that hands every data message to dev.push_data(), and
    // starts it. 0, or -1 (handle stays null).
    static int open_in(int index, MciMidiIn& dev, Handle& handle);
    // Stops, resets and closes; the callback is not called afterwards. 0 with the handle
    // emptied, or -1.
    static int close_in(Handle& handle);
    static int open_out(int index, Handle& handle);
    static int close_out(Handle& handle);
    // msg: status + data 1 × 256 + data 2 × 65536 + data 3 × 16777216. 0, or -1.
    static int send_short(Handle handle, std::uint32_t msg) noexcept;
};

} // namespace plux
