#pragma once

#include <X11/Xlib.h>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "ravik/x11/ConnectionX11.hpp"
#include "ravik/x11/WakeUpPacer.hpp"

namespace ravik
{

// Keeps the toolkit's timers going in hosts that hand the window its X events themselves
// (through its _XEventProc) and never call the editor's idle: a thread sends a ClientMessage
// every few milliseconds, through a connection of its own, to the host's window, whose owner is
// the host, naming the plug-in's window; the host's event loop passes it on to the window on the
// host's thread, where the timers, the events and the paint run. The thread never touches the
// toolkit. WakeUpPacer decides when a message goes, so that hosts that drop them, or call idle,
// see only a few.
class TickerX11
{
public:
    TickerX11() = default;
    ~TickerX11() { stop(); }
    TickerX11(const TickerX11&) = delete;
    TickerX11& operator=(const TickerX11&) = delete;

    // destination: the host's window; window: the one the messages name; type: their atom.
    // false when no connection could be opened (the host must then call idle).
    bool start(Window destination, Window window, Atom type);
    void stop();

    // Host's thread. serial: what the delivered message carries (get_serial).
    void on_delivered(std::uint32_t serial) { pacer_.delivered(serial); }
    void on_idle() { pacer_.idled(WakeUpPacer::Clock::now()); }

    static std::uint32_t get_serial(const XClientMessageEvent& message);

private:
    void run();

    ConnectionX11 connection_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    WakeUpPacer pacer_;
    Window destination_ = 0;
    Window window_ = 0;
    Atom type_ = 0;
};

} // namespace ravik
