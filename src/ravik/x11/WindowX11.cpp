#include "ravik/x11/WindowX11.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>

#include "ravik/MouseMessages.hpp"
#include "ravik/x11/ConnectionX11.hpp"
#include "ravik/x11/MenuX11.hpp"
#include "ravik/x11/RenderingBufferX11.hpp"
#include "ravik/x11/TextLineEditorX11.hpp"
#include "ravik/x11/TickerX11.hpp"
#include "sys/Clock.hpp"

namespace ravik
{

namespace
{

constexpr long window_events = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                               PointerMotionMask | EnterWindowMask | LeaveWindowMask |
                               StructureNotifyMask;
constexpr unsigned grab_events = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
// More dirty rectangles than this are painted as the one that holds them all.
constexpr std::size_t max_dirty = 8;

// The open windows by X window id, for event_proc, which the host calls without any context.
std::mutex windows_mutex;
std::map<Window, WindowX11*> windows;

WindowX11* find_window(Window id)
{
    const std::lock_guard lock(windows_mutex);
    const auto it = windows.find(id);
    return it != windows.end() ? it->second : nullptr;
}

int button_bit(unsigned button)
{
    switch (button)
    {
    case Button1:
        return mouse::left;
    case Button2:
        return mouse::middle;
    case Button3:
        return mouse::right;
    default:
        return 0;
    }
}

int buttons_of(unsigned state)
{
    return ((state & Button1Mask) != 0 ? mouse::left : 0) |
           ((state & Button2Mask) != 0 ? mouse::middle : 0) |
           ((state & Button3Mask) != 0 ? mouse::right : 0);
}

int modifiers_of(unsigned state)
{
    return ((state & ControlMask) != 0 ? mouse::control : 0) |
           ((state & ShiftMask) != 0 ? mouse::shift : 0);
}

bool touch(const Rect& a, const Rect& b)
{
    return a.x1 <= b.x2 && b.x1 <= a.x2 && a.y1 <= b.y2 && b.y1 <= a.y2;
}

Rect bounds(const Rect& a, const Rect& b)
{
    return {std::min(a.x1, b.x1), std::min(a.y1, b.y1), std::max(a.x2, b.x2), std::max(a.y2, b.y2)};
}

} // namespace

WindowX11::WindowX11(const Point& size)
    : WindowHost(size)
    , connection_(std::make_unique<ConnectionX11>())
    , buffer_(std::make_unique<RenderingBufferX11>(tile_size, tile_size))
    , editor_(std::make_unique<TextLineEditorX11>(*connection_))
    , menu_(std::make_unique<MenuX11>(*connection_))
    , ticker_(std::make_unique<TickerX11>())
{
    set_rendering_buffer(buffer_.get());
    set_text_editor(editor_.get());
    set_menu(menu_.get());
}

WindowX11::~WindowX11()
{
    close_native();
}

_XDisplay* WindowX11::get_display() const
{
    return connection_->get_display();
}

bool WindowX11::uses_shared_memory() const
{
    return buffer_->is_shared();
}

void WindowX11::set_font(const FontInterface* font)
{
    editor_->set_font(font);
    menu_->set_font(font);
}

int WindowX11::open_native(void* parent)
{
    if (window_ != 0)
    {
        return 0;
    }
    const auto host = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent));
    if (host == 0 || !connection_->open(true))
    {
        return -1;
    }
    Display* display = connection_->get_display();
    XWindowAttributes host_attributes;
    if (XGetWindowAttributes(display, host, &host_attributes) == 0)
    {
        connection_->close();
        return -1;
    }
    const Point size = get_native_size();
    window_ = connection_->create_window(host, {0, 0, size.x, size.y}, window_events, false);
    invisible_cursor_ = connection_->create_invisible_cursor(window_);

    // The pointer in two 32-bit halves, low first: format-32 properties carry 32 bits an item.
    const Atom proc_atom = XInternAtom(display, "_XEventProc", False);
    const auto proc = reinterpret_cast<std::uintptr_t>(&WindowX11::event_proc);
    long halves[2] = {static_cast<long>(proc & 0xFFFFFFFFu), static_cast<long>(proc >> 32)};
    XChangeProperty(display, window_, proc_atom, proc_atom, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(halves), 2);
    XMapWindow(display, window_);
    // The host must find the window and its property as soon as effEditOpen returns.
    if (!connection_->sync())
    {
        forget_window(true);
        connection_->close();
        return -1;
    }
    buffer_->attach(*connection_, window_, shared_allowed_);
    editor_->set_parent(window_);
    {
        const std::lock_guard lock(windows_mutex);
        windows[window_] = this;
    }
    wake_up_atom_ = XInternAtom(display, "_RAVIK_WAKE_UP", False);
    ticker_->start(host, window_, wake_up_atom_);
    return 0;
}

void WindowX11::close_native()
{
    if (connection_->get_display() == nullptr)
    {
        return;
    }
    forget_window(true);
    connection_->close();
    use_timers().clear_all();
}

void WindowX11::forget_window(bool exists)
{
    if (window_ == 0)
    {
        return;
    }
    Display* display = connection_->get_display();
    ticker_->stop();
    {
        const std::lock_guard lock(windows_mutex);
        windows.erase(window_);
    }
    // As the system's field would, on its window's destruction.
    editor_->leave();
    editor_->set_parent(0);
    menu_->stop();
    if (grabbed_)
    {
        XUngrabPointer(display, CurrentTime);
        lose_capture();
    }
    buffer_->detach();
    if (exists)
    {
        XDestroyWindow(display, window_);
    }
    XFreeCursor(display, invisible_cursor_);
    XFlush(display);
    window_ = 0;
    invisible_cursor_ = 0;
    dirty_.clear();
    pressed_ = 0;
    clicks_.reset();
    on_destroyed();
}

void WindowX11::on_content_resized()
{
    const Point size = get_native_size();
    if (window_ != 0 && get_fit())
    {
        XResizeWindow(connection_->get_display(), window_, static_cast<unsigned>(size.x),
                      static_cast<unsigned>(size.y));
    }
    invalidate_native({0, 0, size.x, size.y});
}

void WindowX11::idle()
{
    ticker_->on_idle();
    process_events();
}

void WindowX11::event_proc(_XEvent* event)
{
    WindowX11* window = event != nullptr ? find_window(event->xany.window) : nullptr;
    if (window == nullptr)
    {
        return;
    }
    if (event->type == ClientMessage && event->xclient.message_type == window->wake_up_atom_)
    {
        window->ticker_->on_delivered(TickerX11::get_serial(event->xclient));
    }
    window->process_events();
}

void WindowX11::process_events()
{
    // Handling an event may close the window, and the connection with it.
    while (connection_->get_display() != nullptr && XPending(connection_->get_display()) > 0)
    {
        XEvent event;
        XNextEvent(connection_->get_display(), &event);
        dispatch(event);
    }
    if (connection_->get_display() == nullptr)
    {
        return;
    }
    on_timer();
    paint_dirty();
    XFlush(connection_->get_display());
}

void WindowX11::dispatch(_XEvent& event)
{
    const Window target = event.xany.window;
    if (editor_->handles(target))
    {
        editor_->handle(event);
        return;
    }
    if (menu_->handles(target))
    {
        menu_->handle(event);
        return;
    }
    if (target != window_ || window_ == 0)
    {
        return;
    }
    switch (event.type)
    {
    case Expose:
        invalidate_native({event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                           event.xexpose.y + event.xexpose.height});
        break;
    case ButtonPress:
    case ButtonRelease:
        on_button(event, event.type == ButtonPress);
        break;
    case MotionNotify:
    {
        const bool warp_done = warping_ && event.xany.serial >= warp_serial_;
        const Point pos = pointer_at(event);
        if (warp_done && real_pointer_ == warp_target_)
        {
            break;
        }
        pointer_ = pos;
        on_mouse_move(pos);
        break;
    }
    case EnterNotify:
    case LeaveNotify:
        if (grabbed_ && event.xany.serial >= grab_serial_ && is_grab_lost(event))
        {
            lose_capture();
        }
        break;
    case UnmapNotify:
        if (grabbed_)
        {
            lose_capture();
        }
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == window_)
        {
            forget_window(false);
        }
        break;
    default:
        break;
    }
}

Point WindowX11::pointer_at(const _XEvent& event)
{
    const Point real = event.type == MotionNotify ? Point{event.xmotion.x, event.xmotion.y}
                                                  : Point{event.xbutton.x, event.xbutton.y};
    Point offset = offset_;
    if (warping_)
    {
        // Events carry the serial of the last request that the server had carried out.
        if (event.xany.serial < warp_serial_)
        {
            offset = warp_target_ - warp_from_;
            after_warp_offset_ = real - warp_from_;
        }
        else
        {
            warping_ = false;
            offset = offset_ = after_warp_offset_;
        }
    }
    real_pointer_ = real;
    return real + offset;
}

void WindowX11::on_button(const _XEvent& event, bool pressed)
{
    const XButtonEvent& b = event.xbutton;
    pointer_ = pointer_at(event);
    const int modifiers = modifiers_of(b.state);
    if (b.button == Button4 || b.button == Button5)
    {
        if (pressed)
        {
            on_mouse_wheel(pointer_, b.button == Button4 ? 1.0f : -1.0f, modifiers);
        }
        return;
    }
    const int bit = button_bit(b.button);
    if (bit == 0 || (!pressed && (pressed_ & bit) == 0))
    {
        return;
    }
    // The state holds the buttons down before the event.
    if (pressed)
    {
        pressed_ |= bit;
        const int double_click = clicks_.press(bit, pointer_, sys::get_time_s());
        on_mouse_button(pointer_, buttons_of(b.state) | bit, modifiers, double_click);
    }
    else
    {
        pressed_ &= ~bit;
        on_mouse_button(pointer_, buttons_of(b.state) & ~bit, modifiers, 0);
    }
}

bool WindowX11::is_grab_lost(const _XEvent& crossing) const
{
    // The grab ended, or another one (the menu's) took its place.
    if (crossing.xcrossing.mode == NotifyUngrab ||
        (crossing.type == LeaveNotify && crossing.xcrossing.mode == NotifyGrab))
    {
        return true;
    }
    // The server drops the grab of a window that a host's unmapping made unviewable, and tells
    // nothing but that the pointer left it.
    XWindowAttributes attributes;
    return crossing.type == LeaveNotify &&
           XGetWindowAttributes(connection_->get_display(), window_, &attributes) != 0 &&
           attributes.map_state != IsViewable;
}

void WindowX11::lose_capture()
{
    grabbed_ = false;
    warping_ = false;
    offset_ = {};
    on_capture_changed();
}

void WindowX11::invalidate_native(const Rect& rect)
{
    if (rect.x2 <= rect.x1 || rect.y2 <= rect.y1)
    {
        return;
    }
    Rect merged = rect;
    for (bool grew = true; grew;)
    {
        grew = false;
        for (auto it = dirty_.begin(); it != dirty_.end();)
        {
            if (touch(*it, merged))
            {
                merged = bounds(*it, merged);
                it = dirty_.erase(it);
                grew = true;
            }
            else
            {
                ++it;
            }
        }
    }
    dirty_.push_back(merged);
    if (dirty_.size() > max_dirty)
    {
        Rect all = dirty_.front();
        for (const Rect& r : dirty_)
        {
            all = bounds(all, r);
        }
        dirty_.assign(1, all);
    }
}

void WindowX11::paint_dirty()
{
    if (window_ == 0 || dirty_.empty())
    {
        return;
    }
    const std::vector<Rect> rects = std::move(dirty_);
    dirty_.clear();
    for (const Rect& rect : rects)
    {
        on_paint(rect);
    }
    ++nbr_paints_;
}

void WindowX11::fill_outside_native(const Rect& update)
{
    const Point content = get_content_size();
    const Rect right{std::max(update.x1, content.x), update.y1, update.x2, update.y2};
    const Rect below{update.x1, std::max(update.y1, content.y), std::min(update.x2, content.x),
                     update.y2};
    connection_->fill(window_, right, outside_fill);
    connection_->fill(window_, below, outside_fill);
}

bool WindowX11::take_capture_native()
{
    if (window_ == 0)
    {
        return false;
    }
    if (!grabbed_)
    {
        Display* display = connection_->get_display();
        grab_serial_ = NextRequest(display);
        grabbed_ = XGrabPointer(display, window_, False, grab_events, GrabModeAsync, GrabModeAsync,
                                None, None, CurrentTime) == GrabSuccess;
    }
    return grabbed_;
}

bool WindowX11::release_capture_native()
{
    if (!grabbed_)
    {
        return false;
    }
    XUngrabPointer(connection_->get_display(), CurrentTime);
    lose_capture();
    return true;
}

void WindowX11::show_cursor_native(bool shown)
{
    if (window_ == 0)
    {
        return;
    }
    Display* display = connection_->get_display();
    if (shown)
    {
        XUndefineCursor(display, window_);
    }
    else
    {
        XDefineCursor(display, window_, invisible_cursor_);
    }
    // A grab shows its own cursor wherever the pointer goes.
    if (grabbed_)
    {
        XChangeActivePointerGrab(display, grab_events, shown ? None : invisible_cursor_,
                                 CurrentTime);
    }
}

void WindowX11::set_cursor_native(const Point& pos)
{
    if (window_ == 0)
    {
        return;
    }
    Display* display = connection_->get_display();
    warping_ = true;
    warp_serial_ = NextRequest(display);
    warp_from_ = real_pointer_;
    warp_target_ = pos;
    after_warp_offset_ = {};
    XWarpPointer(display, None, window_, 0, 0, 0, 0, pos.x, pos.y);
    pointer_ = pos;
}

} // namespace ravik
