#pragma once

#include <X11/Xlib.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "ravik/x11/ConnectionX11.hpp"

namespace ravik
{

// Keeps the toolkit's timers going in hosts that hand the window its X events themselves
// (through its _XEventProc) and never call the editor's idle: a thread sends a ClientMessage
// every few milliseconds, through a connection of its own, to the host's window, whose owner is
// the host, naming the plug-in's window; the host's event loop passes it on to the window on the
// host's thread, where the timers, the events and the paint run. The thread never touches the
// toolkit. One wake-up at a time is on its way (another goes only when the host delivered it, or
// when it seems lost), and none while the host calls idle, so that hosts that drop the messages
// see only a few of them.
class TickerX11
{
public:
    static constexpr std::chrono::milliseconds period{4};
    // Without idle for this long, the host is taken not to call it.
    static constexpr std::chrono::milliseconds idle_gap{100};
    // A wake-up not delivered after this long is taken to be lost.
    static constexpr std::chrono::milliseconds resend_after{250};

    TickerX11() = default;
    ~TickerX11() { stop(); }
    TickerX11(const TickerX11&) = delete;
    TickerX11& operator=(const TickerX11&) = delete;

    // destination: the host's window; window: the one the messages name; type: their atom.
    // false when no connection could be opened (the host must then call idle).
    bool start(Window destination, Window window, Atom type);
    void stop();

    // Host's thread.
    void on_delivered() { in_flight_.store(false); }
    void on_idle();

private:
    using Clock = std::chrono::steady_clock;

    void run();

    ConnectionX11 connection_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::atomic<bool> in_flight_{false};
    std::atomic<Clock::rep> last_idle_{0};
    Window destination_ = 0;
    Window window_ = 0;
    Atom type_ = 0;
};

} // namespace ravik
