#include "ravik/win32/WindowWin32Fixture.hpp"

#include <algorithm>
#include <cfenv>
#include <xmmintrin.h>

namespace test
{

namespace
{

// One for all the tests, which the process leaves behind: without a window manager, wine waits
// two seconds for one whenever a top-level window goes.
HWND shared_host()
{
    static const HWND host = []
    {
        WNDCLASSA info = {};
        info.lpfnWndProc = ::DefWindowProcA;
        info.hInstance = ::GetModuleHandleA(nullptr);
        info.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        info.lpszClassName = "MorvaneTestHost";
        ::RegisterClassA(&info);
        return ::CreateWindowExA(0, info.lpszClassName, "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 100, 100, 400, 440, nullptr, nullptr, info.hInstance, nullptr);
    }();
    return host;
}

void send(INPUT event)
{
    ASSERT_EQ(::SendInput(1, &event, sizeof(event)), 1u) << "input refused";
}

// Where the mouse waits between tests: outside the host's window.
constexpr POINT parking = {5, 5};

} // namespace

bool pump_until(const std::function<bool()>& done, int limit_ms)
{
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(limit_ms);
    for (;;)
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (done())
        {
            return true;
        }
        if (::GetTickCount64() >= end)
        {
            return false;
        }
        // Until the next message, or a while when none comes.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

namespace input
{

void move_to(const POINT& screen)
{
    // Absolute positions are in 65536ths of the screen; round up so that the system's rounding
    // down lands on the pixel itself.
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT event = {};
    event.type = INPUT_MOUSE;
    event.mi.dx = (screen.x * 65536 + width - 1) / width;
    event.mi.dy = (screen.y * 65536 + height - 1) / height;
    event.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    send(event);
}

void mouse(DWORD flags, int wheel)
{
    INPUT event = {};
    event.type = INPUT_MOUSE;
    event.mi.dwFlags = flags;
    event.mi.mouseData = static_cast<DWORD>(wheel);
    send(event);
}

void key(WORD key, bool down)
{
    INPUT event = {};
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = key;
    event.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    send(event);
}

void press_key(WORD k)
{
    key(k, true);
    key(k, false);
}

void type(const std::string& text)
{
    for (const char c : text)
    {
        press_key(static_cast<WORD>(::VkKeyScanA(c) & 0xFF));
    }
}

} // namespace input

bool is_class_declared(const std::string& name)
{
    WNDCLASSEXA info = {};
    info.cbSize = sizeof(info);
    return ::GetClassInfoExA(::GetModuleHandleA(nullptr), name.c_str(), &info) != FALSE;
}

POINT get_cursor()
{
    POINT pos = {};
    ::GetCursorPos(&pos);
    return pos;
}

bool is_cursor_shown()
{
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetCursorInfo(&info);
    return (info.flags & CURSOR_SHOWING) != 0;
}

std::vector<std::uint32_t> read_pixels(HWND window, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC shown = ::GetDC(window);
    HDC memory = ::CreateCompatibleDC(shown);
    void* bits = nullptr;
    HBITMAP copy = ::CreateDIBSection(shown, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(memory, copy);
    ::BitBlt(memory, 0, 0, width, height, shown, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + static_cast<std::ptrdiff_t>(width) * height);
    // The screen has no fourth byte.
    for (std::uint32_t& p : pixels)
    {
        p &= 0x00FFFFFFu;
    }
    ::SelectObject(memory, previous);
    ::DeleteObject(copy);
    ::DeleteDC(memory);
    ::ReleaseDC(window, shown);
    return pixels;
}

bool RecordingHook::pre_translate(HWND__*, unsigned int message, std::uintptr_t, std::intptr_t)
{
    x87_rounding = std::fegetround();
    sse_rounding = _mm_getcsr() & 0x6000u;
    return message == swallow;
}

void WindowWin32Test::SetUp()
{
    host_ = shared_host();
    ASSERT_NE(host_, nullptr);
    // The focus where a host keeps it.
    ::SetFocus(host_);
    input::move_to(parking);
    ASSERT_TRUE(
        pump_until([] { return get_cursor().x == parking.x && get_cursor().y == parking.y; }));
    scene.attach(window);
    ASSERT_EQ(window.open(host_), 0);
    ::UpdateWindow(window.get_handle());
    // What opening the windows queued.
    pump_until([] { return true; });
    scene.use_log().clear();
    for (int i = 0; i < scene.get_nbr_controls(); ++i)
    {
        scene.control(i).log.clear();
    }
}

void WindowWin32Test::TearDown()
{
    window.close();
}

void WindowWin32Test::move_to(const ravik::Point& pos) const
{
    POINT p = {pos.x, pos.y};
    ::ClientToScreen(window.get_handle(), &p);
    input::move_to(p);
}

ravik::Point WindowWin32Test::cursor() const
{
    POINT p = get_cursor();
    ::ScreenToClient(window.get_handle(), &p);
    return {p.x, p.y};
}

void WindowWin32Test::press_knob()
{
    move_to(on_knob);
    wait_for(knob().log, "move 20,20");
    input::mouse(MOUSEEVENTF_LEFTDOWN);
    wait_for(knob().log, "click 20,20 b1 m0 d0");
}

bool WindowWin32Test::logged(const std::vector<std::string>& log, const std::string& line) const
{
    return std::find(log.begin(), log.end(), line) != log.end();
}

void WindowWin32Test::wait_for(const std::vector<std::string>& log, const std::string& line)
{
    ASSERT_TRUE(pump_until([&] { return logged(log, line); })) << "never came: " << line;
}

} // namespace test
