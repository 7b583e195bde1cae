#include "ravik/x11/ConnectionX11.hpp"

#include <X11/Xutil.h>
#include <algorithm>
#include <map>
#include <mutex>

namespace ravik
{

namespace
{

// The plug-in's connections with their error counts. Xlib has one error handler a process, so
// ours is put in place while a connection of ours is open and hands the host's errors on.
std::mutex errors_mutex;
std::map<Display*, unsigned long> errors;
XErrorHandler previous_handler = nullptr;

int on_error(Display* display, XErrorEvent* event)
{
    XErrorHandler pass_on = nullptr;
    {
        const std::lock_guard lock(errors_mutex);
        if (const auto it = errors.find(display); it != errors.end())
        {
            ++it->second;
            return 0;
        }
        pass_on = previous_handler;
    }
    return pass_on != nullptr ? pass_on(display, event) : 0;
}

void adopt(Display* display)
{
    const std::lock_guard lock(errors_mutex);
    if (errors.empty())
    {
        previous_handler = XSetErrorHandler(on_error);
    }
    errors[display] = 0;
}

void let_go(Display* display)
{
    const std::lock_guard lock(errors_mutex);
    errors.erase(display);
    if (errors.empty())
    {
        // A handler that the host put in place after ours stays.
        if (const XErrorHandler current = XSetErrorHandler(previous_handler); current != on_error)
        {
            XSetErrorHandler(current);
        }
        previous_handler = nullptr;
    }
}

} // namespace

bool ConnectionX11::open(bool with_surfaces)
{
    close();
    // A busy server's listening socket may turn a connection away for a moment: once more gets
    // through.
    for (int attempt = 0; attempt < 3 && display_ == nullptr; ++attempt)
    {
        display_ = XOpenDisplay(nullptr);
    }
    if (display_ == nullptr)
    {
        return false;
    }
    adopt(display_);
    if (with_surfaces && !open_surfaces())
    {
        close();
        return false;
    }
    return true;
}

bool ConnectionX11::open_surfaces()
{
    XVisualInfo info{};
    if (XMatchVisualInfo(display_, DefaultScreen(display_), 24, TrueColor, &info) == 0 ||
        info.red_mask != 0xFF0000u || info.green_mask != 0x00FF00u || info.blue_mask != 0x0000FFu)
    {
        return false;
    }
    // Four bytes a pixel, as the buffers hold them.
    int nbr_formats = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display_, &nbr_formats);
    bool four_bytes = false;
    for (int i = 0; i < nbr_formats; ++i)
    {
        four_bytes |= formats[i].depth == 24 && formats[i].bits_per_pixel == 32;
    }
    XFree(formats);
    if (!four_bytes)
    {
        return false;
    }
    visual_ = info.visual;
    colormap_ = XCreateColormap(display_, DefaultRootWindow(display_), visual_, AllocNone);
    return true;
}

void ConnectionX11::close()
{
    if (display_ == nullptr)
    {
        return;
    }
    if (gc_ != nullptr)
    {
        XFreeGC(display_, gc_);
    }
    if (colormap_ != 0)
    {
        XFreeColormap(display_, colormap_);
    }
    XCloseDisplay(display_);
    let_go(display_);
    display_ = nullptr;
    visual_ = nullptr;
    colormap_ = 0;
    gc_ = nullptr;
}

unsigned long ConnectionX11::get_nbr_errors() const
{
    const std::lock_guard lock(errors_mutex);
    const auto it = errors.find(display_);
    return it != errors.end() ? it->second : 0;
}

bool ConnectionX11::sync()
{
    const unsigned long before = get_nbr_errors();
    XSync(display_, False);
    return get_nbr_errors() == before;
}

Window ConnectionX11::create_window(Window parent, const Rect& rect, long event_mask,
                                    bool override_redirect)
{
    XSetWindowAttributes attributes{};
    attributes.colormap = colormap_;
    attributes.border_pixel = 0;
    // No background: the server leaves exposed parts alone until they are painted, which
    // happens at once, so nothing flickers.
    attributes.background_pixmap = None;
    attributes.event_mask = event_mask;
    attributes.override_redirect = override_redirect ? True : False;
    attributes.save_under = override_redirect ? True : False;
    const unsigned long fields = CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask |
                                 (override_redirect ? CWOverrideRedirect | CWSaveUnder : 0);
    const Window window = XCreateWindow(display_, parent, rect.x1, rect.y1,
                                        static_cast<unsigned>(std::max(rect.x2 - rect.x1, 1)),
                                        static_cast<unsigned>(std::max(rect.y2 - rect.y1, 1)), 0,
                                        24, InputOutput, visual_, fields, &attributes);
    if (gc_ == nullptr)
    {
        // Good for every drawable of the visual's depth.
        gc_ = XCreateGC(display_, window, 0, nullptr);
    }
    return window;
}

void ConnectionX11::put_pixels(Drawable drawable, RenderingBufferInterface& pixels, const Point& at)
{
    const int width = pixels.get_width();
    const int height = pixels.get_height();
    if (pixels.get_pixels() == nullptr || gc_ == nullptr)
    {
        return;
    }
    XImage* image = XCreateImage(
        display_, visual_, 24, ZPixmap, 0, reinterpret_cast<char*>(pixels.get_pixels()),
        static_cast<unsigned>(width), static_cast<unsigned>(height), 32, width * 4);
    if (image == nullptr)
    {
        return;
    }
    // The buffers' byte order; Xlib swaps for a server of the other one.
    image->byte_order = LSBFirst;
    XPutImage(display_, drawable, gc_, image, 0, 0, at.x, at.y, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
    image->data = nullptr;
    XDestroyImage(image);
}

void ConnectionX11::fill(Drawable drawable, const Rect& rect, Pixel pixel)
{
    if (gc_ == nullptr || rect.x2 <= rect.x1 || rect.y2 <= rect.y1)
    {
        return;
    }
    XSetForeground(display_, gc_, pixel & 0xFFFFFFu);
    XFillRectangle(display_, drawable, gc_, rect.x1, rect.y1,
                   static_cast<unsigned>(rect.x2 - rect.x1),
                   static_cast<unsigned>(rect.y2 - rect.y1));
}

Point ConnectionX11::query_pointer(Display* display)
{
    Window root = 0;
    Window child = 0;
    Point screen;
    Point in_window;
    unsigned state = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &screen.x, &screen.y,
                  &in_window.x, &in_window.y, &state);
    return screen;
}

Cursor ConnectionX11::create_invisible_cursor(Drawable drawable)
{
    const char blank_bits = 0;
    const Pixmap blank = XCreateBitmapFromData(display_, drawable, &blank_bits, 1, 1);
    XColor black{};
    const Cursor cursor = XCreatePixmapCursor(display_, blank, blank, &black, &black, 0, 0);
    XFreePixmap(display_, blank);
    return cursor;
}

} // namespace ravik
