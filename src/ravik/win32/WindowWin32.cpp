#include "ravik/win32/WindowWin32.hpp"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <mutex>
#include <windowsx.h>

#include "ravik/MouseMessages.hpp"
#include "ravik/win32/SystemWin32.hpp"

namespace ravik
{

namespace
{

// What the windows of this module share, whichever thread each one lives on.
struct Shared
{
    std::mutex mutex;
    bool class_declared = false;
    int live_windows = 0;
    // The system timer of each open window, and the toolkit's timers that it polls.
    std::map<UINT_PTR, TimerManager*> timers;
};

Shared& shared()
{
    static Shared instance;
    return instance;
}

constexpr float steps_per_notch = 1.0f / WHEEL_DELTA;

LRESULT CALLBACK system_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* self = reinterpret_cast<WindowWin32*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    const bool handled =
        self != nullptr &&
        win32::enter_from_system(
            "ravik::WindowWin32::window_procedure()", true,
            [&] { return self->window_procedure(window, message, wparam, lparam); });
    return handled ? 0 : ::DefWindowProcA(window, message, wparam, lparam);
}

void CALLBACK timer_procedure(HWND, UINT, UINT_PTR id, DWORD)
{
    TimerManager* timers = nullptr;
    {
        std::lock_guard lock(shared().mutex);
        const auto found = shared().timers.find(id);
        timers = found != shared().timers.end() ? found->second : nullptr;
    }
    // Polled outside the lock: a tick may close the window, which stops its timer.
    if (timers != nullptr)
    {
        win32::enter_from_system("ravik::WindowWin32 timer", 0,
                                 [&]
                                 {
                                     timers->poll();
                                     return 0;
                                 });
    }
}

Point position_of(LPARAM lparam)
{
    return {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
}

int buttons_of(WPARAM keys)
{
    return static_cast<int>((keys & (MK_LBUTTON | MK_RBUTTON)) | (keys & MK_MBUTTON) >> 2);
}

int modifiers_of(WPARAM keys)
{
    return static_cast<int>((keys & MK_CONTROL) >> 3 | (keys & MK_SHIFT) >> 1);
}

static_assert(MK_LBUTTON == mouse::left && MK_RBUTTON == mouse::right &&
              MK_MBUTTON >> 2 == mouse::middle);
static_assert(MK_CONTROL >> 3 == mouse::control && MK_SHIFT >> 1 == mouse::shift);

// From BeginPaint to EndPaint, which must come even when a control throws, or the system would ask
// for the same paint for ever.
class PaintScope
{
public:
    PaintScope(HWND window, HDC& dc, RenderingBufferWin32& buffer)
        : window_(window)
        , dc_(dc)
        , buffer_(buffer)
    {
        dc_ = ::BeginPaint(window, &paint_);
        buffer_.set_target(dc_);
    }
    ~PaintScope()
    {
        buffer_.set_target(nullptr);
        dc_ = nullptr;
        ::EndPaint(window_, &paint_);
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    Rect get_area() const
    {
        return {paint_.rcPaint.left, paint_.rcPaint.top, paint_.rcPaint.right,
                paint_.rcPaint.bottom};
    }

private:
    HWND window_;
    HDC& dc_;
    RenderingBufferWin32& buffer_;
    PAINTSTRUCT paint_ = {};
};

} // namespace

WindowWin32::WindowWin32(const Point& size, MessageHookInterface* hook)
    : WindowHost(size)
    , hook_(hook)
{
    set_rendering_buffer(&buffer_);
    set_text_editor(&editor_);
    set_menu(&menu_);
}

WindowWin32::~WindowWin32()
{
    if (window_ != nullptr)
    {
        close_native();
    }
    std::lock_guard lock(shared().mutex);
    if (shared().class_declared && shared().live_windows == 0)
    {
        if (::UnregisterClassA(get_class_name().c_str(), win32::get_module()))
        {
            shared().class_declared = false;
        }
        else
        {
            win32::report_error("ravik::WindowWin32::~WindowWin32()", ::GetLastError());
        }
    }
}

const std::string& WindowWin32::get_class_name()
{
    static const std::string name = []
    {
        char digits[2 * sizeof(std::uintptr_t)] = {};
        const auto address = reinterpret_cast<std::uintptr_t>(&system_procedure);
        const char* end = std::to_chars(std::begin(digits), std::end(digits), address, 16).ptr;
        std::string hex(static_cast<const char*>(digits), end);
        std::transform(hex.begin(), hex.end(), hex.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        // At least eight digits, as "%08X" writes them, and all of a 64-bit address.
        return "TarvexAudioPlugin" + std::string(hex.size() < 8 ? 8 - hex.size() : 0, '0') + hex;
    }();
    return name;
}

int WindowWin32::open_native(void* parent)
{
    if (window_ != nullptr)
    {
        return 0;
    }
    HINSTANCE module = win32::get_module();
    {
        std::lock_guard lock(shared().mutex);
        if (!shared().class_declared)
        {
            WNDCLASSEXA info = {};
            info.cbSize = sizeof(info);
            info.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
            info.lpfnWndProc = &system_procedure;
            info.hInstance = module;
            info.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
            info.lpszClassName = get_class_name().c_str();
            if (::RegisterClassExA(&info) == 0)
            {
                win32::report_error("ravik::WindowWin32::open_native()", ::GetLastError());
                return -1;
            }
            shared().class_declared = true;
        }
    }
    const Point size = get_native_size();
    window_ =
        ::CreateWindowExA(0, get_class_name().c_str(), title, WS_CHILD | WS_VISIBLE, 0, 0, size.x,
                          size.y, static_cast<HWND>(parent), nullptr, module, nullptr);
    if (window_ == nullptr)
    {
        return -1;
    }
    {
        std::lock_guard lock(shared().mutex);
        ++shared().live_windows;
    }
    parent_ = static_cast<HWND>(parent);
    buffer_.attach(window_);
    editor_.set_parent(window_);
    menu_.set_parent(window_);
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    timer_id_ = ::SetTimer(nullptr, 0, timer_period_ms, &timer_procedure);
    if (timer_id_ != 0)
    {
        std::lock_guard lock(shared().mutex);
        shared().timers[timer_id_] = &use_timers();
    }
    return 0;
}

void WindowWin32::close_native()
{
    // As leaving its field would: what was typed is not lost.
    end_text_entry_native();
    stop_timer();
    if (window_ != nullptr)
    {
        ::DestroyWindow(window_);
    }
    use_timers().clear_all();
}

void WindowWin32::stop_timer()
{
    if (timer_id_ != 0)
    {
        ::KillTimer(nullptr, timer_id_);
        std::lock_guard lock(shared().mutex);
        shared().timers.erase(timer_id_);
        timer_id_ = 0;
    }
}

void WindowWin32::on_window_destroyed()
{
    on_destroyed();
    // Also when the host destroyed its window first: nothing is left to tick for.
    stop_timer();
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
    parent_ = nullptr;
    std::lock_guard lock(shared().mutex);
    --shared().live_windows;
}

void WindowWin32::on_content_resized()
{
    if (window_ == nullptr)
    {
        return;
    }
    if (get_fit())
    {
        const Point size = get_content_size();
        ::SetWindowPos(window_, nullptr, 0, 0, size.x, size.y, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(window_, nullptr, FALSE);
}

bool WindowWin32::window_procedure(HWND window, unsigned int message, std::uintptr_t wparam,
                                   std::intptr_t lparam)
{
    if (hook_ != nullptr && hook_->pre_translate(window, message, wparam, lparam))
    {
        return true;
    }
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        on_mouse_button(position_of(lparam), buttons_of(wparam), modifiers_of(wparam), 0);
        return true;
    case WM_LBUTTONDBLCLK:
        on_mouse_button(position_of(lparam), buttons_of(wparam), modifiers_of(wparam), mouse::left);
        return true;
    case WM_RBUTTONDBLCLK:
        on_mouse_button(position_of(lparam), buttons_of(wparam), modifiers_of(wparam),
                        mouse::right);
        return true;
    case WM_MBUTTONDBLCLK:
        on_mouse_button(position_of(lparam), buttons_of(wparam), modifiers_of(wparam),
                        mouse::middle);
        return true;
    case WM_MOUSEWHEEL:
    {
        // In screen coordinates.
        POINT pos = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        ::ScreenToClient(window, &pos);
        on_mouse_wheel({pos.x, pos.y}, GET_WHEEL_DELTA_WPARAM(wparam) * steps_per_notch,
                       modifiers_of(GET_KEYSTATE_WPARAM(wparam)));
        return true;
    }
    case WM_CAPTURECHANGED:
        on_capture_changed();
        return true;
    case WM_MOUSEMOVE:
        on_mouse_move(position_of(lparam));
        return true;
    case WM_DESTROY:
        on_window_destroyed();
        return true;
    case WM_PAINT:
        paint();
        return true;
    default:
        return false;
    }
}

void WindowWin32::paint()
{
    // Ticks that ask for a repaint join this one.
    use_timers().poll();
    PaintScope scope(window_, paint_dc_, buffer_);
    if (paint_dc_ != nullptr)
    {
        on_paint(scope.get_area());
    }
}

void WindowWin32::fill_outside_native(const Rect& /*update*/)
{
    if (paint_dc_ == nullptr)
    {
        return;
    }
    // The paint clips to the update region.
    RECT client = {};
    ::GetClientRect(window_, &client);
    const Point content = get_content_size();
    const RECT right = {content.x, 0, client.right, client.bottom};
    const RECT below = {0, content.y, std::min<LONG>(content.x, client.right), client.bottom};
    HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
    ::FillRect(paint_dc_, &right, face);
    ::FillRect(paint_dc_, &below, face);
}

void WindowWin32::invalidate_native(const Rect& rect)
{
    const RECT area = {rect.x1, rect.y1, rect.x2, rect.y2};
    ::InvalidateRect(window_, &area, FALSE);
}

bool WindowWin32::take_capture_native()
{
    // Taking it again would tell this window it lost it.
    if (::GetCapture() != window_)
    {
        ::SetCapture(window_);
    }
    return ::GetCapture() == window_;
}

bool WindowWin32::release_capture_native()
{
    return ::ReleaseCapture() && ::GetCapture() != window_;
}

void WindowWin32::show_cursor_native(bool shown)
{
    ::ShowCursor(shown ? TRUE : FALSE);
}

Point WindowWin32::get_cursor_native() const
{
    POINT pos = {};
    ::GetCursorPos(&pos);
    ::ScreenToClient(window_, &pos);
    return {pos.x, pos.y};
}

void WindowWin32::set_cursor_native(const Point& pos)
{
    POINT screen = {pos.x, pos.y};
    ::ClientToScreen(window_, &screen);
    ::SetCursorPos(screen.x, screen.y);
}

void WindowWin32::end_text_entry_native()
{
    editor_.give_focus_back();
    // Ends the entry still in progress, when the focus could not move.
    WindowHost::end_text_entry_native();
}

} // namespace ravik
