// The toolkit's window on Windows, inside a host's window, driven with real input.
#include <algorithm>
#include <cctype>
#include <cfenv>
#include <gmock/gmock.h>

#include "ravik/GraphicMessages.hpp"
#include "ravik/TimerMessages.hpp"
#include "ravik/WindowOffscreen.hpp"
#include "ravik/win32/WindowWin32Fixture.hpp"

using testing::ElementsAre;

namespace
{

using test::input::mouse;

std::string class_of(HWND window)
{
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof(name));
    return name;
}

bool is_class_declared()
{
    return test::is_class_declared(ravik::WindowWin32::get_class_name());
}

ravik::Point client_size(HWND window)
{
    RECT r = {};
    ::GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// The lines of log up to the first that is last, without the moves of no distance that the system
// adds when the capture or the cursor changes.
std::vector<std::string> up_to(const std::vector<std::string>& log, const std::string& last)
{
    const auto end = std::find(log.begin(), log.end(), last);
    std::vector<std::string> lines;
    std::copy_if(log.begin(), end == log.end() ? end : end + 1, std::back_inserter(lines),
                 [](const std::string& line) { return line != "move 0,0"; });
    return lines;
}

using WindowWin32Test = test::WindowWin32Test;

} // namespace

TEST_F(WindowWin32Test, OpensOneChildWindowOfItsOwnClassInTheHostsWindow)
{
    const HWND child = window.get_handle();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(::GetParent(child), host_);
    const std::string name = class_of(child);
    EXPECT_EQ(name, ravik::WindowWin32::get_class_name());
    EXPECT_EQ(name.rfind("TarvexAudioPlugin", 0), 0u) << name;
    const std::string digits = name.substr(17);
    EXPECT_GE(digits.size(), 8u) << name;
    EXPECT_TRUE(std::all_of(digits.begin(), digits.end(),
                            [](unsigned char c)
                            { return std::isdigit(c) || (c >= 'A' && c <= 'F'); }))
        << name;
    char title[64] = {};
    ::GetWindowTextA(child, title, sizeof(title));
    EXPECT_STREQ(title, "Tarvex Audio Plug-in");
    EXPECT_NE(::GetClassLongPtrA(child, GCL_STYLE) & CS_DBLCLKS, 0u) << "double clicks";
    EXPECT_EQ(client_size(child), window_size);

    EXPECT_EQ(window.open_native(host_), 0);
    EXPECT_EQ(::FindWindowExA(host_, child, name.c_str(), nullptr), nullptr) << "a second window";

    window.set_fit(true);
    window.set_content_size({300, 335});
    EXPECT_EQ(client_size(child), (ravik::Point{300, 335})) << "fitted to the content";

    window.close();
    EXPECT_FALSE(::IsWindow(child));
    ravik::Invalidate late(ravik::Rect{0, 0, 5, 5});
    EXPECT_EQ(knob().send_up(late), -1) << "a closed window answers nothing";
}

TEST_F(WindowWin32Test, TheClassIsWithdrawnWithTheLastWindow)
{
    {
        ravik::WindowWin32 other;
        ASSERT_EQ(other.open_native(host_), 0);
        EXPECT_EQ(client_size(other.get_handle()), (ravik::Point{100, 100}));
    }
    EXPECT_TRUE(is_class_declared()) << "the test's window still lives";
    window.close();
    {
        HWND gone = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr);
        ::DestroyWindow(gone);
        ravik::WindowWin32 orphan;
        EXPECT_EQ(orphan.open_native(gone), -1) << "no parent to open in";
    }
    EXPECT_FALSE(is_class_declared()) << "a window that failed to open does not count";
    ASSERT_EQ(window.open(host_), 0);
    EXPECT_TRUE(is_class_declared()) << "declared again";
}

TEST_F(WindowWin32Test, ClicksOfEveryButtonWithModifiersAndTheWheelReachTheControl)
{
    move_to(on_knob);
    wait_for(knob().log, "move 20,20");
    test::input::key(VK_SHIFT, true);
    mouse(MOUSEEVENTF_LEFTDOWN);
    mouse(MOUSEEVENTF_LEFTUP);
    test::input::key(VK_SHIFT, false);
    test::input::key(VK_CONTROL, true);
    mouse(MOUSEEVENTF_MIDDLEDOWN);
    mouse(MOUSEEVENTF_MIDDLEUP);
    test::input::key(VK_CONTROL, false);
    for (int i = 0; i < 2; ++i)
    {
        mouse(MOUSEEVENTF_RIGHTDOWN);
        mouse(MOUSEEVENTF_RIGHTUP);
    }
    mouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA);
    test::input::key(VK_CONTROL, true);
    mouse(MOUSEEVENTF_WHEEL, -2 * WHEEL_DELTA);
    test::input::key(VK_CONTROL, false);
    wait_for(knob().log, "wheel 20,20 -2.000000 m1");
    std::vector<std::string> received;
    std::copy_if(knob().log.begin(), knob().log.end(), std::back_inserter(received),
                 [](const std::string& line) { return line.rfind("move", 0) != 0; });
    EXPECT_THAT(received,
                ElementsAre("click 20,20 b1 m2 d0", "click 20,20 b0 m2 d0", "click 20,20 b4 m1 d0",
                            "click 20,20 b0 m1 d0", "click 20,20 b2 m0 d0", "click 20,20 b0 m0 d0",
                            "click 20,20 b2 m0 d2", "click 20,20 b0 m0 d0",
                            "wheel 20,20 1.000000 m0", "wheel 20,20 -2.000000 m1"));
}

// The drag of a knob in relative mode: the cursor disappears, the knob hears how far the mouse
// went, and once the drag has lasted the cursor is kept at, and left at, where it began.
TEST_F(WindowWin32Test, ARelativeDragHidesTheCursorSendsMotionAndPutsItBack)
{
    knob().capture_mode = ravik::capture::relative;
    press_knob();
    EXPECT_FALSE(test::is_cursor_shown());
    move_to({20, 15});
    wait_for(knob().log, "move 0,-5");
    move_to({22, 10});
    wait_for(knob().log, "move 2,-5");
    EXPECT_EQ(cursor(), (ravik::Point{22, 10})) << "not put back before 250 ms";
    clock.advance(0.25);
    move_to({22, 5});
    ASSERT_TRUE(test::pump_until([&] { return cursor() == on_knob; }))
        << "put back at the hot spot";
    move_to({50, 50});
    wait_for(knob().log, "move 30,30");
    mouse(MOUSEEVENTF_LEFTUP);
    wait_for(knob().log, "lost");
    EXPECT_THAT(up_to(knob().log, "lost"),
                ElementsAre("move 20,20", "click 20,20 b1 m0 d0", "move 0,-5", "move 2,-5",
                            "move 0,-5", "move 30,30", "click 0,0 b0 m0 d0", "lost"));
    EXPECT_TRUE(test::is_cursor_shown()) << "shown again when the capture ends";
    EXPECT_EQ(cursor(), on_knob) << "left where the drag began";
}

TEST_F(WindowWin32Test, AShortRelativeDragLeavesTheCursorWhereItIs)
{
    knob().capture_mode = ravik::capture::relative;
    press_knob();
    move_to({30, 30});
    wait_for(knob().log, "move 10,10");
    clock.advance(0.2);
    mouse(MOUSEEVENTF_LEFTUP);
    wait_for(knob().log, "lost");
    EXPECT_TRUE(test::is_cursor_shown());
    EXPECT_EQ(cursor(), (ravik::Point{30, 30}));
}

TEST_F(WindowWin32Test, ACaptureTakenAwayShowsTheCursorAgain)
{
    knob().capture_mode = ravik::capture::hidden;
    press_knob();
    EXPECT_FALSE(test::is_cursor_shown());
    // As a host's dialog popping up would.
    ::SetCapture(host_);
    EXPECT_TRUE(test::is_cursor_shown());
    EXPECT_EQ(window.get_capture(), nullptr);
    EXPECT_EQ(knob().log.back(), "lost");
    mouse(MOUSEEVENTF_LEFTUP);
    ::ReleaseCapture();
}

TEST_F(WindowWin32Test, TheSystemTimerTicksTheToolkitsTimers)
{
    int id = 0;
    ravik::SetTimer set(&knob(), 0.03f, id);
    ASSERT_EQ(knob().send_up(set), 0);
    const std::string tick = "tick " + std::to_string(id);
    auto ticks = [&] { return std::count(knob().log.begin(), knob().log.end(), tick); };
    clock.advance(0.003);
    ASSERT_TRUE(test::pump_until([&] { return ticks() == 1; })) << "a new timer ticks at once";
    clock.advance(0.03);
    ASSERT_TRUE(test::pump_until([&] { return ticks() == 2; })) << "and after its period";
    ravik::ClearTimer clear(id);
    EXPECT_EQ(knob().send_up(clear), 0);
}

TEST_F(WindowWin32Test, TheHookSeesMessagesFirstInTheToolkitsFloatingPointModes)
{
    std::fesetround(FE_UPWARD);
    ::SendMessageA(window.get_handle(), WM_NULL, 0, 0);
    const int after = std::fegetround();
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(hook.x87_rounding, FE_TONEAREST);
    EXPECT_EQ(hook.sse_rounding, 0u) << "to nearest";
    EXPECT_EQ(after, FE_UPWARD) << "the caller's mode back";

    hook.swallow = WM_LBUTTONDOWN;
    move_to(on_knob);
    mouse(MOUSEEVENTF_LEFTDOWN);
    mouse(MOUSEEVENTF_LEFTUP);
    wait_for(knob().log, "click 20,20 b0 m0 d0");
    EXPECT_FALSE(logged(knob().log, "click 20,20 b1 m0 d0")) << "the hook took it";
}

// What the window shows is what the same scene draws in memory, and a repaint changes only what
// was asked for.
TEST_F(WindowWin32Test, TheWindowShowsWhatTheOffscreenWindowDraws)
{
    ravik::WindowOffscreen reference(window_size);
    test::ToolkitScene reference_scene(4);
    reference_scene.attach(reference);
    ASSERT_EQ(reference.open(nullptr), 0);
    const ravik::Point content = test::ToolkitScene::size;
    const std::uint32_t face = [c = ::GetSysColor(COLOR_BTNFACE)]
    { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }();
    const HWND shown = window.get_handle();
    // Each pixel of the content as expected(x, y) says, and the face colour outside it.
    auto differences = [&](const auto& expected)
    {
        const std::vector<std::uint32_t> pixels =
            test::read_pixels(shown, window_size.x, window_size.y);
        int count = 0;
        for (int y = 0; y < window_size.y; ++y)
        {
            for (int x = 0; x < window_size.x; ++x)
            {
                const std::uint32_t want = x < content.x && y < content.y ? expected(x, y) : face;
                count += pixels[static_cast<std::size_t>(y * window_size.x + x)] != want;
            }
        }
        return count;
    };
    auto drawn = [&](int x, int y) { return reference.get_pixel(x, y) & 0x00FFFFFFu; };

    ::RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    reference.paint();
    EXPECT_EQ(differences(drawn), 0);

    const std::uint32_t marker = 0x00FF00FFu;
    {
        HDC dc = ::GetDC(shown);
        HBRUSH brush = ::CreateSolidBrush(RGB(255, 0, 255));
        const RECT all = {0, 0, content.x, content.y};
        ::FillRect(dc, &all, brush);
        ::DeleteObject(brush);
        ::ReleaseDC(shown, dc);
    }
    scene.control(1).select_picture(7);
    reference_scene.control(1).select_picture(7);
    ::UpdateWindow(shown);
    reference.paint();
    const ravik::Rect box =
        scene.control(1).get_bounding_box().moved(scene.control(1).get_abs_position());
    EXPECT_EQ(differences(
                  [&](int x, int y)
                  {
                      const bool inside = x >= box.x1 && x < box.x2 && y >= box.y1 && y < box.y2;
                      return inside ? drawn(x, y) : marker;
                  }),
              0)
        << "the knob painted again, nothing else";
}
