#include "ravik/x11/TickerX11.hpp"

#include <algorithm>

namespace ravik
{

bool TickerX11::start(Window destination, Window window, Atom type)
{
    stop();
    if (!connection_.open(false))
    {
        return false;
    }
    destination_ = destination;
    window_ = window;
    type_ = type;
    stopping_ = false;
    in_flight_.store(false);
    last_idle_.store(0);
    thread_ = std::thread([this] { run(); });
    return true;
}

void TickerX11::stop()
{
    if (thread_.joinable())
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    connection_.close();
}

void TickerX11::on_idle()
{
    last_idle_.store(Clock::now().time_since_epoch().count());
}

void TickerX11::run()
{
    Display* display = connection_.get_display();
    Clock::time_point sent_at;
    Clock::duration wait = period;
    for (;;)
    {
        {
            std::unique_lock lock(mutex_);
            if (wake_.wait_for(lock, wait, [this] { return stopping_; }))
            {
                return;
            }
        }
        const Clock::time_point now = Clock::now();
        const Clock::duration since_idle =
            now - Clock::time_point(Clock::duration(last_idle_.load()));
        // While the host calls idle nothing is sent: waking every few milliseconds to find that
        // out would cost an idle editor more than everything else it does.
        wait = since_idle < idle_gap ? std::max<Clock::duration>(idle_gap - since_idle, period)
                                     : period;
        if (since_idle < idle_gap || (in_flight_.load() && now - sent_at < resend_after))
        {
            continue;
        }
        XEvent message{};
        message.xclient.type = ClientMessage;
        message.xclient.window = window_;
        message.xclient.message_type = type_;
        message.xclient.format = 32;
        // Without an event mask the message goes to the client that made the destination.
        XSendEvent(display, destination_, False, NoEventMask, &message);
        XFlush(display);
        // Nothing is expected here but errors (the host's window gone), which the handler counts.
        while (XPending(display) > 0)
        {
            XEvent ignored;
            XNextEvent(display, &ignored);
        }
        in_flight_.store(true);
        sent_at = now;
    }
}

} // namespace ravik
