#include "ravik/x11/MenuX11.hpp"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <algorithm>

#include "ravik/RenderingBufferMemory.hpp"
#include "ravik/x11/ConnectionX11.hpp"

namespace ravik
{

namespace
{

constexpr long panel_events =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
constexpr unsigned pointer_events = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;

} // namespace

Window MenuX11::get_native_window(int level) const
{
    return panels_.at(static_cast<std::size_t>(level)).window;
}

bool MenuX11::handles(Window window) const
{
    return window != 0 && std::any_of(panels_.begin(), panels_.end(),
                                      [window](const Panel& p) { return p.window == window; });
}

Point MenuX11::get_cursor_native() const
{
    return connection_.get_pointer();
}

Rect MenuX11::get_screen_native() const
{
    Display* display = connection_.get_display();
    const int screen = DefaultScreen(display);
    return {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

int MenuX11::open_native()
{
    Display* display = connection_.get_display();
    if (display == nullptr)
    {
        return -1;
    }
    update_native();
    // Pointer events anywhere come to the root panel, in screen coordinates for the menu; the
    // panels are mapped before the grabs reach the server, as the grabs need. Without a grab (a
    // host holding one) the menu still works inside its panels.
    const Window root = panels_.front().window;
    XGrabPointer(display, root, False, pointer_events, GrabModeAsync, GrabModeAsync, None, None,
                 CurrentTime);
    XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    return 0;
}

void MenuX11::update_native()
{
    Display* display = connection_.get_display();
    const auto wanted = static_cast<std::size_t>(get_nbr_panels());
    while (panels_.size() > wanted)
    {
        XDestroyWindow(display, panels_.back().window);
        panels_.pop_back();
    }
    for (std::size_t level = 0; level < wanted; ++level)
    {
        const Rect rect = get_panel_rect(static_cast<int>(level));
        if (level == panels_.size())
        {
            panels_.push_back(
                {connection_.create_window(DefaultRootWindow(display), rect, panel_events, true),
                 rect});
            XMapRaised(display, panels_.back().window);
        }
        else if (panels_[level].rect != rect)
        {
            panels_[level].rect = rect;
            XMoveResizeWindow(display, panels_[level].window, rect.x1, rect.y1,
                              static_cast<unsigned>(rect.x2 - rect.x1),
                              static_cast<unsigned>(rect.y2 - rect.y1));
            XRaiseWindow(display, panels_[level].window);
        }
        paint(level);
    }
    XFlush(display);
}

void MenuX11::paint(std::size_t level)
{
    const Rect& rect = panels_[level].rect;
    RenderingBufferMemory pixels(rect.x2 - rect.x1, rect.y2 - rect.y1);
    draw_panel(static_cast<int>(level), pixels);
    connection_.put_pixels(panels_[level].window, pixels, {});
}

void MenuX11::close_native()
{
    Display* display = connection_.get_display();
    if (display == nullptr)
    {
        panels_.clear();
        return;
    }
    XUngrabPointer(display, CurrentTime);
    XUngrabKeyboard(display, CurrentTime);
    for (const Panel& panel : panels_)
    {
        XDestroyWindow(display, panel.window);
    }
    panels_.clear();
    XFlush(display);
}

void MenuX11::handle(XEvent& event)
{
    switch (event.type)
    {
    case Expose:
        for (std::size_t level = 0; level < panels_.size(); ++level)
        {
            if (panels_[level].window == event.xexpose.window && event.xexpose.count == 0)
            {
                paint(level);
            }
        }
        break;
    case MotionNotify:
        on_move({event.xmotion.x_root, event.xmotion.y_root});
        break;
    case ButtonPress:
    case ButtonRelease:
        // The wheel's buttons 4 and up are no clicks.
        if (event.xbutton.button <= Button3)
        {
            on_button({event.xbutton.x_root, event.xbutton.y_root}, event.type == ButtonPress);
        }
        break;
    case KeyPress:
    {
        KeySym sym = NoSymbol;
        char ignored[8];
        XLookupString(&event.xkey, ignored, sizeof ignored, &sym, nullptr);
        const std::pair<KeySym, Key> keys[] = {
            {XK_Up, Key::up},         {XK_Down, Key::down},    {XK_Left, Key::left},
            {XK_Right, Key::right},   {XK_Return, Key::enter}, {XK_KP_Enter, Key::enter},
            {XK_Escape, Key::escape},
        };
        for (const auto& [keysym, key] : keys)
        {
            if (sym == keysym)
            {
                on_key(key);
                break;
            }
        }
        break;
    }
    default:
        break;
    }
}

} // namespace ravik
