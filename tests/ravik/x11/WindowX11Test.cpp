// The X11 window in a host's window under a real X server, driven with real input through XTest
// in both ways hosts drive plug-in windows: what reaches the controls, the capture with its
// hidden cursor and pointer warps, the timers, and the pixels on screen.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ravik/GraphicMessages.hpp"
#include "ravik/TimerMessages.hpp"
#include "ravik/WindowOffscreen.hpp"
#include "ravik/x11/X11Fixture.hpp"

using test::X11Host;
using testing::ElementsAre;

namespace
{

class WindowX11Test : public test::X11Fixture
{
};

INSTANTIATE_TEST_SUITE_P(BothHostStyles, WindowX11Test,
                         testing::Values(X11Host::Dispatch::idle, X11Host::Dispatch::event_proc),
                         test::dispatch_name);

} // namespace

TEST_P(WindowX11Test, OpensOnceAsAChildOfTheHostsWindowWithItsEventFunction)
{
    ASSERT_NE(host->get_child(), 0u);
    EXPECT_EQ(host->get_child(), window.get_native_window());
    EXPECT_EQ(host->get_event_proc(), &ravik::WindowX11::event_proc);
    XWindowAttributes attributes;
    XGetWindowAttributes(window.get_display(), host->get_child(), &attributes);
    EXPECT_EQ(attributes.width, 320);
    EXPECT_EQ(attributes.height, 360);
    EXPECT_EQ(window.open_native(host->get_parent()), 0);
    host->adopt();
    EXPECT_EQ(host->get_child(), window.get_native_window()) << "still the only child";
    window.close();
    host->adopt();
    EXPECT_EQ(host->get_child(), 0u) << "gone when closed";
    ravik::Invalidate late(ravik::Rect{0, 0, 5, 5});
    EXPECT_EQ(window.process_message(late), -1);
}

TEST_P(WindowX11Test, ClicksDoubleClicksAndTheWheelReachTheControlUnderThePointer)
{
    host->move(on_knob);
    host->key(XK_Shift_L, true);
    host->click(Button3);
    host->key(XK_Shift_L, false);
    host->click(Button2);
    host->click(Button1);
    host->click(Button1);
    host->click(Button1);
    host->key(XK_Control_L, true);
    host->click(Button4);
    host->key(XK_Control_L, false);
    host->click(Button5);
    ASSERT_TRUE(wait_for_log(13));
    clock.advance(0.6);
    host->click(Button1);
    host->move({22, 20});
    host->click(Button1);
    host->click(Button1);
    host->move({25, 20});
    host->click(Button1);
    ASSERT_TRUE(wait_for_log(23));
    EXPECT_THAT(knob().log,
                ElementsAre("move 20,20", "click 20,20 b2 m2 d0", "click 20,20 b0 m2 d0",
                            "click 20,20 b4 m0 d0", "click 20,20 b0 m0 d0", "click 20,20 b1 m0 d0",
                            "click 20,20 b0 m0 d0", "click 20,20 b1 m0 d1", "click 20,20 b0 m0 d0",
                            "click 20,20 b1 m0 d0", "click 20,20 b0 m0 d0",
                            "wheel 20,20 1.000000 m1", "wheel 20,20 -1.000000 m0",
                            "click 20,20 b1 m0 d0", "click 20,20 b0 m0 d0", "move 22,20",
                            "click 22,20 b1 m0 d1", "click 22,20 b0 m0 d0", "click 22,20 b1 m0 d0",
                            "click 22,20 b0 m0 d0", "move 25,20", "click 25,20 b1 m0 d0",
                            "click 25,20 b0 m0 d0"))
        << "a third press is a press again; 600 ms or 3 pixels apart are no double click";
}

TEST_P(WindowX11Test, ARelativeDragHidesTheCursorSendsMotionAndPutsThePointerBack)
{
    knob().capture_mode = ravik::capture::relative;
    host->move(on_knob);
    host->button(Button1, true);
    ASSERT_TRUE(wait_for_log(2));
    EXPECT_FALSE(host->is_cursor_visible());
    const ravik::Point path[] = {{20, 15}, {22, 10}, {22, 5}, {21, 15}, {14, 3}};
    for (std::size_t i = 0; i < std::size(path); ++i)
    {
        if (i == 2)
        {
            clock.advance(0.25);
        }
        host->move(path[i]);
        ASSERT_TRUE(wait_for_log(3 + i));
        if (i == 2)
        {
            EXPECT_EQ(host->get_pointer(), on_knob) << "put back at the hot spot after 250 ms";
        }
    }
    host->button(Button1, false);
    ASSERT_TRUE(wait_for_log(10));
    EXPECT_THAT(knob().log, ElementsAre("move 20,20", "click 20,20 b1 m0 d0", "move 0,-5",
                                        "move 2,-5", "move 0,-5", "move 1,-5", "move -7,-12",
                                        "click 0,0 b0 m0 d0", "lost", "move 20,20"))
        << "a re-centring is no move of the user's; the pointer put back after the drag is";
    EXPECT_TRUE(host->is_cursor_visible()) << "shown again when the capture ends";
    EXPECT_EQ(host->get_pointer(), on_knob) << "and left where the drag began";
}

TEST_P(WindowX11Test, MotionQueuedBeforeAWarpStaysRelativeToWhereThePointerWas)
{
    knob().capture_mode = ravik::capture::relative;
    host->move(on_knob);
    host->button(Button1, true);
    ASSERT_TRUE(wait_for_log(2));
    clock.advance(0.25);
    // Both moves reach the server before the window sees the first, whose answer is the warp.
    host->move_at_once({{20, 10}, {20, 4}});
    ASSERT_TRUE(wait_for_log(4));
    ASSERT_TRUE(host->pump([this] { return host->get_pointer() == on_knob; }))
        << "the warp is carried out before the user moves on";
    host->move({20, 17});
    ASSERT_TRUE(wait_for_log(5));
    EXPECT_THAT(knob().log, ElementsAre("move 20,20", "click 20,20 b1 m0 d0", "move 0,-10",
                                        "move 0,-6", "move 0,-3"))
        << "the last move starts where the warp put the pointer";
    host->button(Button1, false);
    ASSERT_TRUE(wait_for_log(7));
}

TEST_P(WindowX11Test, ACaptureTheSystemTakesAwayIsLostAndTheCursorShownAgain)
{
    knob().capture_mode = ravik::capture::relative;
    host->move(on_knob);
    host->button(Button1, true);
    ASSERT_TRUE(wait_for_log(2));
    ASSERT_TRUE(window.is_cursor_hidden());
    // The host hides its window, and the plug-in's with it, in the middle of the drag.
    XUnmapWindow(host->get_display(), reinterpret_cast<std::uintptr_t>(host->get_parent()));
    XSync(host->get_display(), False);
    ASSERT_TRUE(host->pump([this] { return !window.is_cursor_hidden(); }));
    EXPECT_THAT(knob().log, ElementsAre("move 20,20", "click 20,20 b1 m0 d0", "lost"));
    EXPECT_EQ(window.get_capture(), nullptr);
    host->button(Button1, false);
}

TEST_P(WindowX11Test, TimersTickWithoutAnyEventFromTheUser)
{
    int id = 0;
    ravik::SetTimer set(&knob(), 0.03f, id);
    ASSERT_EQ(knob().send_up(set), 0);
    const std::string tick = "tick " + std::to_string(id);
    for (std::size_t n = 1; n <= 3; ++n)
    {
        clock.advance(0.03);
        ASSERT_TRUE(wait_for_log(n)) << "tick " << n;
        EXPECT_EQ(knob().log.back(), tick);
    }
    ravik::ClearTimer clear(id);
    EXPECT_EQ(knob().send_up(clear), 0);
}

// The window on screen shows what the offscreen window draws from the same scene, pixel for
// pixel, strips outside the content included, whether tiles go through shared memory or not.
class WindowX11PixelTest : public test::X11Fixture
{
};

class WindowX11PixelPlainTest : public test::X11Fixture
{
protected:
    WindowX11PixelPlainTest() { shared_memory = false; }
};

void expect_same_pixels(ravik::WindowX11& window, test::ToolkitScene& scene, test::X11Host& host)
{
    test::ToolkitScene twin{4};
    ravik::WindowOffscreen offscreen{{320, 360}};
    twin.attach(offscreen);
    ASSERT_EQ(offscreen.open(nullptr), 0);
    auto check = [&](const char* when)
    {
        offscreen.paint_all();
        const auto shown = test::read_window(window.get_display(), window.get_native_window());
        EXPECT_EQ(test::count_differences(*shown, offscreen.use_screen()), 0) << when;
    };
    check("after the first paint");
    const long paints = window.get_nbr_paints();
    scene.control(1).select_picture(5);
    twin.control(1).select_picture(5);
    ASSERT_TRUE(host.pump([&] { return window.get_nbr_paints() > paints; }));
    check("after a control asked for a repaint");
}

TEST_P(WindowX11PixelTest, TheWindowShowsWhatTheOffscreenWindowDraws)
{
    EXPECT_TRUE(window.uses_shared_memory()) << "the X server offers MIT-SHM";
    expect_same_pixels(window, scene, *host);
}

TEST_P(WindowX11PixelPlainTest, TheWindowShowsWhatTheOffscreenWindowDraws)
{
    EXPECT_FALSE(window.uses_shared_memory());
    expect_same_pixels(window, scene, *host);
}

INSTANTIATE_TEST_SUITE_P(Idle, WindowX11PixelTest, testing::Values(X11Host::Dispatch::idle),
                         test::dispatch_name);
INSTANTIATE_TEST_SUITE_P(Idle, WindowX11PixelPlainTest, testing::Values(X11Host::Dispatch::idle),
                         test::dispatch_name);
