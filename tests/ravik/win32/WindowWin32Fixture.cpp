#include "ravik/win32/WindowWin32Fixture.hpp"

#include <algorithm>
#include <cfenv>
#include <xmmintrin.h>

namespace test
{

bool RecordingHook::pre_translate(HWND__*, unsigned int message, std::uintptr_t, std::intptr_t)
{
    x87_rounding = std::fegetround();
    sse_rounding = _mm_getcsr() & 0x6000u;
    return message == swallow;
}

void WindowWin32Test::SetUp()
{
    host_ = host_window();
    ASSERT_NE(host_, nullptr);
    // The focus where a host keeps it.
    ::SetFocus(host_);
    ASSERT_NO_FATAL_FAILURE(park_mouse());
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
