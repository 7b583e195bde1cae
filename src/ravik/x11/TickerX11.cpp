#include "ravik/x11/TickerX11.hpp"

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
    pacer_.reset();
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

std::uint32_t TickerX11::get_serial(const XClientMessageEvent& message)
{
    return static_cast<std::uint32_t>(message.data.l[0]);
}

void TickerX11::run()
{
    Display* display = connection_.get_display();
    for (;;)
    {
        {
            std::unique_lock lock(mutex_);
            if (wake_.wait_for(lock, pacer_.get_wait(WakeUpPacer::Clock::now()),
                               [this] { return stopping_; }))
            {
                return;
            }
        }
        std::uint32_t serial = 0;
        if (!pacer_.take_turn(WakeUpPacer::Clock::now(), serial))
        {
            continue;
        }
        XEvent message{};
        message.xclient.type = ClientMessage;
        message.xclient.window = window_;
        message.xclient.message_type = type_;
        message.xclient.format = 32;
        message.xclient.data.l[0] = static_cast<long>(serial);
        // Without an event mask the message goes to the client that made the destination.
        XSendEvent(display, destination_, False, NoEventMask, &message);
        XFlush(display);
        // Nothing is expected here but errors (the host's window gone), which the handler counts.
        while (XPending(display) > 0)
        {
            XEvent ignored;
            XNextEvent(display, &ignored);
        }
    }
}

} // namespace ravik
