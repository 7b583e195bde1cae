// The window as a user drives it, in memory: the events a system sends, the up messages the
// controls send, and the pixels of the paint cycle.
#include "ravik/WindowOffscreen.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ravik/FontFactory.hpp"
#include "ravik/GraphicMessages.hpp"
#include "ravik/MenuMessages.hpp"
#include "ravik/MenuNodes.hpp"
#include "ravik/PicDataFactory.hpp"
#include "ravik/TextMessages.hpp"
#include "ravik/TimerMessages.hpp"
#include "ravik/window/ToolkitScene.hpp"
#include "sys/ManualClock.hpp"

using testing::ElementsAre;

namespace
{

class WindowOffscreenTest : public testing::Test
{
protected:
    void SetUp() override
    {
        scene.attach(window);
        window.set_font(font.get());
        ASSERT_EQ(window.open(nullptr), 0);
        scene.use_log().clear();
        for (int i = 0; i < scene.get_nbr_controls(); ++i)
        {
            scene.control(i).log.clear();
        }
    }

    test::ManualClock clock;
    std::unique_ptr<ravik::FontInterface> font = ravik::FontFactory::create("font_02");
    ravik::WindowOffscreen window{{320, 360}};
    test::ToolkitScene scene{4};
    test::ProbeControl& knob() { return scene.control(0); }
    // The middle of the first knob.
    ravik::Point on_knob() const { return {20, 20}; }
};

} // namespace

TEST_F(WindowOffscreenTest, OpeningShowsBothTreesAndClosingLetsThemGoFirst)
{
    window.close();
    EXPECT_THAT(knob().log, ElementsAre("disconnecting", "hidden"));
    ravik::Invalidate late(ravik::Rect{0, 0, 5, 5});
    EXPECT_EQ(window.process_message(late), -1) << "a closed window answers nothing";
}

TEST_F(WindowOffscreenTest, ClicksWheelAndMovesReachTheControlUnderThePointer)
{
    window.press(on_knob(), ravik::mouse::right, ravik::mouse::shift);
    window.release(on_knob());
    window.double_click(on_knob(), ravik::mouse::right);
    window.wheel(on_knob(), 1.0f, ravik::mouse::control);
    window.move({5, 5});
    window.move(on_knob());
    EXPECT_THAT(knob().log,
                ElementsAre("click 20,20 b2 m2 d0", "click 20,20 b0 m0 d0", "click 20,20 b2 m0 d2",
                            "wheel 20,20 1.000000 m1", "move 20,20"));
}

TEST_F(WindowOffscreenTest, ARelativeDragHidesTheCursorSendsMotionAndPutsItBack)
{
    knob().capture_mode = ravik::capture::relative;
    window.press(on_knob());
    EXPECT_TRUE(window.has_capture());
    EXPECT_TRUE(window.is_cursor_hidden());
    window.move({20, 15});
    window.move({22, 10});
    EXPECT_EQ(window.get_nbr_cursor_moves(), 0) << "not put back before 250 ms";
    clock.advance(0.25);
    window.move({22, 5});
    EXPECT_EQ(window.get_cursor(), on_knob()) << "put back at the hot spot";
    window.move({21, 15});
    EXPECT_EQ(window.get_nbr_cursor_moves(), 1) << "at most every 100 ms";
    window.move({14, 3});
    window.release({14, 3});
    EXPECT_THAT(knob().log,
                ElementsAre("click 20,20 b1 m0 d0", "move 0,-5", "move 2,-5", "move 0,-5",
                            "move 1,-5", "move -7,-12", "click 0,0 b0 m0 d0", "lost"));
    EXPECT_FALSE(window.has_capture());
    EXPECT_FALSE(window.is_cursor_hidden()) << "shown again when the capture ends";
    EXPECT_EQ(window.get_cursor(), on_knob()) << "and left where the drag began";
}

TEST_F(WindowOffscreenTest, AShortRelativeClickLeavesTheCursorWhereItIs)
{
    knob().capture_mode = ravik::capture::relative;
    window.press(on_knob());
    window.move({30, 30});
    clock.advance(0.2);
    window.release({30, 30});
    EXPECT_EQ(window.get_cursor(), (ravik::Point{30, 30}));
    EXPECT_EQ(window.get_nbr_cursor_moves(), 0);
}

TEST_F(WindowOffscreenTest, AVisibleCaptureSendsEveryMouseEventToItsHolder)
{
    knob().capture_mode = ravik::capture::visible;
    window.press(on_knob());
    EXPECT_FALSE(window.is_cursor_hidden());
    window.move({200, 300});
    window.release({200, 300});
    EXPECT_THAT(knob().log, ElementsAre("click 20,20 b1 m0 d0", "move 200,300",
                                        "click 200,300 b0 m0 d0", "lost"));
}

TEST_F(WindowOffscreenTest, RepaintRequestsAreLimitedToTheContent)
{
    window.paint();
    ravik::Invalidate outside(-50, -50, 5000, 10);
    EXPECT_EQ(knob().send_up(outside), 0);
    ASSERT_TRUE(window.is_dirty());
    ravik::Invalidate nowhere(400, 400, 500, 500);
    window.paint();
    knob().send_up(nowhere);
    EXPECT_FALSE(window.is_dirty());
}

TEST_F(WindowOffscreenTest, TimersTickThroughTheWindowUntilCleared)
{
    int id = 0;
    ravik::SetTimer set(&knob(), 0.03f, id);
    ASSERT_EQ(knob().send_up(set), 0);
    EXPECT_EQ(window.find_timer_handler(id), &knob());
    for (int i = 0; i < 50; ++i)
    {
        clock.advance(0.002);
        window.tick();
    }
    ravik::ClearTimer clear(id);
    EXPECT_EQ(knob().send_up(clear), 0);
    clock.advance(0.1);
    window.tick();
    const auto ticks =
        std::count(knob().log.begin(), knob().log.end(), "tick " + std::to_string(id));
    EXPECT_EQ(ticks, 4) << "at 2, 32, 62 and 92 ms";
    EXPECT_EQ(knob().send_up(clear), -1);
}

TEST_F(WindowOffscreenTest, TextEntryEndsValidatedByEnterOrAClickAndCancelledByEscape)
{
    auto request = [this](const char* text)
    {
        ravik::TextInputRequest ask(&knob(), text, {10, 10, 60, 24});
        return knob().send_up(ask);
    };
    ASSERT_EQ(request("440"), 0);
    EXPECT_EQ(window.use_text_editor().get_rect(), (ravik::Rect{10, 10, 60, 24}));
    window.use_text_editor().type("880");
    window.use_text_editor().press_escape();
    request("440");
    window.use_text_editor().type("220");
    window.use_text_editor().press_enter();
    request("440");
    window.use_text_editor().type("110");
    window.press({200, 200});
    request("1");
    request("2");
    ravik::TextInputStop stop(false);
    EXPECT_EQ(knob().send_up(stop), 0);
    EXPECT_EQ(knob().send_up(stop), -1) << "no entry left";
    EXPECT_THAT(knob().log,
                ElementsAre("text 880 cancelled", "text 220 validated", "text 110 validated",
                            "text 1 validated", "text 2 cancelled"))
        << "a new entry validates the one in progress, as leaving its field does";
}

TEST_F(WindowOffscreenTest, AMenuPickReachesTheItemsListener)
{
    ravik::MenuList root;
    ravik::MenuList sub("More");
    ravik::MenuItem item("Load...");
    ravik::MenuItem greyed("Save...", true, true, false);
    struct Picked : ravik::MenuListenerInterface
    {
        int count = 0;
        void on_select() override { ++count; }
    } picked;
    item.set_listener(&picked);
    root.append(sub);
    sub.append(item);
    sub.append(greyed);
    window.move({40, 50});
    ravik::MenuRequest ask(root, {3, 4});
    ASSERT_EQ(knob().send_up(ask), 0);
    EXPECT_EQ(window.use_menu().get_position(), (ravik::Point{43, 54}));
    EXPECT_FALSE(window.use_menu().pick("Save...")) << "greyed";
    EXPECT_TRUE(window.use_menu().pick("Load..."));
    EXPECT_EQ(picked.count, 1);
    EXPECT_EQ(picked.get_item(), &item);
    EXPECT_FALSE(window.use_menu().is_shown());
}

// The paint cycle draws the background under the controls in every tile: the window shows the
// same pixels as the pictures drawn whole, one over the other.
TEST_F(WindowOffscreenTest, TheWindowShowsTheBackgroundWithTheControlsPicturesOverIt)
{
    window.paint();
    ravik::RenderingBufferMemory expected(320, 360, ravik::WindowOffscreen::outside_fill);
    {
        auto bkg = ravik::PicDataFactory::create("bkg_21_main");
        ravik::RenderingBufferMemory whole(300, 335);
        ravik::Picture(bkg.get()).draw({0, 0, 300, 335}, whole);
        for (int i = 0; i < scene.get_nbr_controls(); ++i)
        {
            const auto& c = scene.control(i);
            const ravik::Picture* pic = c.get_picture(c.get_selected_picture());
            const ravik::Point at = c.get_abs_position();
            pic->draw({-at.x, -at.y, 300 - at.x, 335 - at.y}, whole);
        }
        for (int y = 0; y < 335; ++y)
        {
            for (int x = 0; x < 300; ++x)
            {
                expected.set_pixel(x, y, whole.get_pixel(x, y));
            }
        }
    }
    int differences = 0;
    for (int y = 0; y < 360; ++y)
    {
        for (int x = 0; x < 320; ++x)
        {
            differences += window.get_pixel(x, y) != expected.get_pixel(x, y);
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_FALSE(window.is_dirty());
}
