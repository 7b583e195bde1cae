#include "ravik/x11/X11Host.hpp"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <chrono>
#include <poll.h>
#include <stdexcept>
#include <utility>

#include "ravik/x11/ConnectionX11.hpp"
#include "ravik/x11/WindowX11.hpp"

namespace test
{

namespace
{

// Waits for something to read on a connection, or a while: never longer than needed.
void wait_for_input(Display* display, int ms = 50)
{
    if (XEventsQueued(display, QueuedAlready) > 0)
    {
        return;
    }
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, ms);
}

void drop_events(Display* display)
{
    while (XPending(display) > 0)
    {
        XEvent event;
        XNextEvent(display, &event);
    }
}

} // namespace

X11Host::X11Host(ravik::WindowX11& window, Dispatch dispatch)
    : X11Host([&window] { window.idle(); }, dispatch)
{
    window_ = &window;
}

X11Host::X11Host(std::function<void()> idle, Dispatch dispatch)
    : idle_(std::move(idle))
    , dispatch_(dispatch)
{
    // As the window does: a busy server may turn a connection away for a moment.
    for (int attempt = 0; attempt < 3 && display_ == nullptr; ++attempt)
    {
        display_ = XOpenDisplay(nullptr);
    }
    if (display_ == nullptr)
    {
        throw std::runtime_error("test::X11Host : no X display; run the X11 tests under xvfb-run");
    }
    int event_base = 0;
    int error_base = 0;
    int major = 0;
    int minor = 0;
    if (XTestQueryExtension(display_, &event_base, &error_base, &major, &minor) == False ||
        XFixesQueryExtension(display_, &event_base, &error_base) == False)
    {
        XCloseDisplay(display_);
        throw std::runtime_error("test::X11Host : the X server lacks XTest or XFixes");
    }
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display_, DefaultScreen(display_));
    attributes.event_mask = StructureNotifyMask;
    parent_ = XCreateWindow(display_, DefaultRootWindow(display_), origin.x, origin.y,
                            static_cast<unsigned>(size.x), static_cast<unsigned>(size.y), 0,
                            CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask,
                            &attributes);
    XMapWindow(display_, parent_);
    XEvent event;
    do
    {
        XNextEvent(display_, &event);
    } while (event.type != MapNotify);
    // The pointer starts away from everything.
    XTestFakeMotionEvent(display_, -1, 1, 1, CurrentTime);
    XSync(display_, False);
}

X11Host::~X11Host()
{
    XDestroyWindow(display_, parent_);
    XCloseDisplay(display_);
}

void* X11Host::get_parent() const
{
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent_));
}

void X11Host::adopt()
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned nbr_children = 0;
    XQueryTree(display_, parent_, &root, &parent, &children, &nbr_children);
    child_ = nbr_children == 1 ? children[0] : 0;
    XFree(children);
    Atom type = 0;
    int format = 0;
    unsigned long nbr_items = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    const Atom atom = XInternAtom(display_, "_XEventProc", False);
    proc_ = nullptr;
    if (child_ != 0 &&
        XGetWindowProperty(display_, child_, atom, 0, 2, False, AnyPropertyType, &type, &format,
                           &nbr_items, &left, &data) == Success &&
        format == 32 && nbr_items == 2)
    {
        // Two 32-bit halves, low first, each in a long as Xlib hands format-32 items out.
        const auto* halves = reinterpret_cast<const unsigned long*>(data);
        proc_ = reinterpret_cast<EventProc>((halves[0] & 0xFFFFFFFFu) | (halves[1] << 32));
    }
    XFree(data);
}

void X11Host::flush()
{
    XSync(display_, False);
}

void X11Host::move(const ravik::Point& pos)
{
    XTestFakeMotionEvent(display_, -1, origin.x + pos.x, origin.y + pos.y, CurrentTime);
    flush();
}

void X11Host::move_at_once(std::initializer_list<ravik::Point> path)
{
    for (const ravik::Point& pos : path)
    {
        XTestFakeMotionEvent(display_, -1, origin.x + pos.x, origin.y + pos.y, CurrentTime);
    }
    flush();
}

void X11Host::button(unsigned button, bool down)
{
    XTestFakeButtonEvent(display_, button, down ? True : False, CurrentTime);
    flush();
}

void X11Host::click(unsigned button)
{
    this->button(button, true);
    this->button(button, false);
}

void X11Host::key(KeySym sym, bool down)
{
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, sym), down ? True : False, CurrentTime);
    flush();
}

void X11Host::tap(KeySym sym)
{
    key(sym, true);
    key(sym, false);
}

void X11Host::type(const std::string& text)
{
    for (const char c : text)
    {
        tap(XStringToKeysym(std::string(1, c).c_str()));
    }
}

Display* X11Host::get_query_display() const
{
    return window_ != nullptr ? window_->get_display() : display_;
}

void X11Host::settle()
{
    XSync(get_query_display(), False);
}

ravik::Point X11Host::get_pointer() const
{
    return ravik::ConnectionX11::query_pointer(get_query_display()) - origin;
}

bool X11Host::is_cursor_visible() const
{
    XFixesCursorImage* image = XFixesGetCursorImage(get_query_display());
    bool visible = false;
    for (int i = 0; image != nullptr && i < image->width * image->height; ++i)
    {
        visible |= (image->pixels[i] >> 24) != 0;
    }
    XFree(image);
    return visible;
}

bool X11Host::pump(const std::function<bool()>& done)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done())
    {
        if (std::chrono::steady_clock::now() > limit)
        {
            return false;
        }
        if (dispatch_ == Dispatch::idle)
        {
            idle_();
            if (done())
            {
                continue;
            }
            if (window_ == nullptr)
            {
                // A host's idle timer; what its own window receives is not the plug-in's.
                wait_for_input(display_, 10);
                drop_events(display_);
            }
            else if (window_->get_display() != nullptr)
            {
                wait_for_input(window_->get_display());
            }
            continue;
        }
        wait_for_input(display_);
        while (XPending(display_) > 0)
        {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.xany.window == child_ && proc_ != nullptr)
            {
                proc_(&event);
            }
        }
    }
    return true;
}

std::unique_ptr<ravik::RenderingBufferMemory> read_window(Display* display, Window window)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    auto shown =
        std::make_unique<ravik::RenderingBufferMemory>(attributes.width, attributes.height);
    for (int y = 0; image != nullptr && y < attributes.height; ++y)
    {
        for (int x = 0; x < attributes.width; ++x)
        {
            shown->set_pixel(x, y, static_cast<ravik::Pixel>(XGetPixel(image, x, y)) | 0xFF000000u);
        }
    }
    if (image != nullptr)
    {
        XDestroyImage(image);
    }
    return shown;
}

int count_differences(const ravik::RenderingBufferMemory& a, const ravik::RenderingBufferMemory& b)
{
    int differences = 0;
    for (int y = 0; y < a.get_height(); ++y)
    {
        for (int x = 0; x < a.get_width(); ++x)
        {
            differences += (a.get_pixel(x, y) | 0xFF000000u) != (b.get_pixel(x, y) | 0xFF000000u);
        }
    }
    return differences + (a.get_width() != b.get_width() || a.get_height() != b.get_height());
}

} // namespace test
