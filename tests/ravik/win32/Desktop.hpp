#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The desktop as a user works it, for the test programs that drive real windows: the message
// loop, real input through the system's input queue, the cursor, pop-up menus and what the screen
// shows.
namespace test
{

// Runs the thread's message loop, as a host does, until done() holds after the messages waiting
// have been handled: false when it still does not after limit_ms of real time.
bool pump_until(const std::function<bool()>& done, int limit_ms = 10000);

// Real input through the system's input queue, as a user gives it.
namespace input
{
void move_to(const POINT& screen);
// MOUSEEVENTF_LEFTDOWN and the other button flags at the cursor; MOUSEEVENTF_WHEEL with wheel.
void mouse(DWORD flags, int wheel = 0);
void key(WORD key, bool down);
void press_key(WORD key);
// Characters typed on the keyboard.
void type(const std::string& text);
} // namespace input

// A host's window for all the tests of a program: a top-level window at a fixed place on the
// screen, which the process leaves behind (without a window manager, wine waits two seconds for
// one whenever a top-level window goes).
HWND host_window();
// Moves the mouse out of the host's window and waits until it is there.
void park_mouse();

// Whether this program has declared a window class of that name.
bool is_class_declared(const std::string& name);
POINT get_cursor();
bool is_cursor_shown();

// The client area's pixels as the screen shows them, 0x00RRGGBB.
std::vector<std::uint32_t> read_pixels(HWND window, int width, int height);

// Acts while the system's pop-up menu waits for the user: whenever its loop falls idle, the next
// step runs; a step that answers false runs again at the next idle (a 2 ms timer of the window
// keeps them coming). Past the time limit the menu is ended and the script is not done.
class MenuScript
{
public:
    explicit MenuScript(std::vector<std::function<bool()>> steps);
    ~MenuScript();
    MenuScript(const MenuScript&) = delete;
    MenuScript& operator=(const MenuScript&) = delete;

    bool is_done() const { return next_ == steps_.size(); }

private:
    static LRESULT CALLBACK on_message(int code, WPARAM wparam, LPARAM lparam);

    static inline MenuScript* current_ = nullptr;
    std::vector<std::function<bool()>> steps_;
    std::size_t next_ = 0;
    ULONGLONG deadline_;
    HHOOK hook_ = nullptr;
};

// The pop-up menu the system shows, whoever made it; null when none is shown.
HMENU shown_menu();
// A line a pop-up item: its text, then " (greyed)" and " (checked)" as they apply; submenus
// indented below their item.
std::vector<std::string> describe(HMENU menu);
// Clicks the item at that position with the mouse.
void click_item(HMENU menu, int index);

} // namespace test
