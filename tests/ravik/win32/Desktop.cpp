#include "ravik/win32/Desktop.hpp"

#include <gtest/gtest.h>

namespace test
{

namespace
{

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

HWND host_window()
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

void park_mouse()
{
    input::move_to(parking);
    ASSERT_TRUE(
        pump_until([] { return get_cursor().x == parking.x && get_cursor().y == parking.y; }));
}

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

MenuScript::MenuScript(std::vector<std::function<bool()>> steps)
    : steps_(std::move(steps))
    , deadline_(::GetTickCount64() + 10000)
{
    current_ = this;
    hook_ = ::SetWindowsHookExA(WH_CALLWNDPROC, &on_message, nullptr, ::GetCurrentThreadId());
}

MenuScript::~MenuScript()
{
    ::UnhookWindowsHookEx(hook_);
    current_ = nullptr;
}

LRESULT CALLBACK MenuScript::on_message(int code, WPARAM wparam, LPARAM lparam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
    MenuScript* script = current_;
    if (code == HC_ACTION && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU &&
        script != nullptr && !script->is_done())
    {
        if (::GetTickCount64() > script->deadline_)
        {
            ::EndMenu();
        }
        else if (script->steps_[script->next_]())
        {
            ++script->next_;
        }
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

HMENU shown_menu()
{
    const HWND popup = ::FindWindowA("#32768", nullptr);
    return popup != nullptr ? reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0))
                            : nullptr;
}

std::vector<std::string> describe(HMENU menu)
{
    std::vector<std::string> lines;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
    {
        char text[256] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        std::string line = (info.fType & MFT_SEPARATOR) != 0 ? "(separator)" : text;
        line += (info.fState & MFS_GRAYED) != 0 ? " (greyed)" : "";
        line += (info.fState & MFS_CHECKED) != 0 ? " (checked)" : "";
        lines.push_back(line);
        if (info.hSubMenu != nullptr)
        {
            for (const std::string& sub : describe(info.hSubMenu))
            {
                lines.push_back("  " + sub);
            }
        }
    }
    return lines;
}

void click_item(HMENU menu, int index)
{
    RECT r = {};
    ::GetMenuItemRect(nullptr, menu, static_cast<UINT>(index), &r);
    input::move_to({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    input::mouse(MOUSEEVENTF_LEFTDOWN);
    input::mouse(MOUSEEVENTF_LEFTUP);
}

} // namespace test
