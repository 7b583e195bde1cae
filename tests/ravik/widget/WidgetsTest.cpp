// Fader, spin, switches and text box as a hand drives them, under the test clock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ravik/widget/Fader.hpp"
#include "ravik/widget/Spin.hpp"
#include "ravik/widget/StateButton.hpp"
#include "ravik/widget/TextBox.hpp"
#include "ravik/widget/WidgetRig.hpp"
#include "sys/Clock.hpp"

using testing::ElementsAre;

namespace
{

// Notes when each value arrived.
class TimedListener : public test::WidgetListener
{
public:
    double filter_value(double value, int origin) override
    {
        times.push_back(sys::get_time_s());
        return WidgetListener::filter_value(value, origin);
    }
    std::vector<double> times;
};

} // namespace

TEST(Fader, ADragOnTheHandleMovesItAndTheCursorLandsOnTheHandle)
{
    test::WidgetListener listener;
    ravik::Fader fader({100, 50}, &listener, 0.0, {0, 0, 11, 127});
    test::WidgetRig rig;
    fader.set_handle(rig.picture("fd_03"));
    fader.set_length(100);
    rig.root.add_control(fader);

    rig.window.press({105, 160});
    EXPECT_TRUE(rig.window.is_cursor_hidden());
    for (int i = 0; i < 10; ++i)
    {
        rig.move_by(0, -5);
    }
    rig.wait(0.5);
    EXPECT_DOUBLE_EQ(fader.get_value(), 0.5);
    rig.window.release(rig.window.get_cursor());
    EXPECT_EQ(rig.window.get_cursor(), (ravik::Point{105, 50 + 50 + 13}))
        << "on the middle of the handle, now halfway up";
    EXPECT_FALSE(rig.window.is_cursor_hidden());
}

TEST(Fader, APressBesideTheHandleRunsItToTheClick)
{
    test::WidgetListener listener;
    ravik::Fader fader({100, 50}, &listener, 0.0, {0, 0, 11, 127});
    test::WidgetRig rig;
    fader.set_handle(rig.picture("fd_03"));
    fader.set_length(100);
    fader.set_jump_speed(40.0f);
    rig.root.add_control(fader);

    rig.window.press({105, 80}); // 83 pixels above the handle's middle
    rig.wait(3.0);
    EXPECT_NEAR(fader.get_value(), 0.83, 1e-9) << "its middle stops at the click";
    rig.window.release({105, 80});
    EXPECT_FALSE(rig.window.has_capture());
}

TEST(Spin, AnArrowHeldStepsOnceThenSlowlyThenFast)
{
    TimedListener listener;
    ravik::Spin spin({40, 40}, &listener, 0.2, {0, 0, 19, 26});
    test::WidgetRig rig;
    ravik::Picture down = rig.picture("sp_03_dwn_0");
    down.set_origin({0, -14});
    spin.set_part_picture(ravik::Spin::pic_up, rig.picture("sp_03_up_0"));
    spin.set_part_picture(ravik::Spin::pic_down, down);
    rig.root.add_control(spin);

    const double start = sys::get_time_s();
    rig.window.press({45, 45});
    rig.wait(3.0);
    rig.window.release({45, 45});
    rig.wait(0.5);

    int slow = 0;
    int fast = 0;
    ASSERT_FALSE(listener.values.empty());
    EXPECT_NEAR(listener.values[0], 0.201, 1e-12) << "one step at once";
    EXPECT_NEAR(listener.times[0], start, 1e-9);
    for (std::size_t i = 1; i < listener.values.size(); ++i)
    {
        const double t = listener.times[i] - start;
        const double step = listener.values[i] - listener.values[i - 1];
        const double interval = listener.times[i] - listener.times[i - 1];
        if (t < 2.0 - 0.004)
        {
            ++slow;
            EXPECT_GE(t, 0.5 - 0.004) << "nothing before the first delay";
            EXPECT_NEAR(step, 0.001, 1e-12);
            if (slow > 1)
            {
                EXPECT_NEAR(interval, 0.1, 0.0061);
            }
        }
        else
        {
            ++fast;
            EXPECT_NEAR(step, 0.005, 1e-12);
            if (fast > 1)
            {
                EXPECT_NEAR(interval, 0.03, 0.0031);
            }
        }
    }
    EXPECT_NEAR(slow, 15, 1);
    EXPECT_NEAR(fast, 33, 1);
    EXPECT_EQ(rig.window.use_timers().get_nbr_timers(), 0) << "the release stops it";
    EXPECT_FALSE(rig.window.has_capture());
}

TEST(Spin, StepsGoFromEntryToEntryOfAValueList)
{
    test::WidgetListener listener;
    ravik::Spin spin({40, 40}, &listener, 0.3, {0, 0, 19, 26});
    test::WidgetRig rig;
    ravik::Picture down = rig.picture("sp_03_dwn_0");
    down.set_origin({0, -14});
    spin.set_part_picture(ravik::Spin::pic_up, rig.picture("sp_03_up_0"));
    spin.set_part_picture(ravik::Spin::pic_down, down);
    const std::vector<double> list = {0.0, 0.25, 0.5, 0.75, 1.0};
    spin.set_value_list(&list);
    rig.root.add_control(spin);
    rig.window.press({45, 45});
    rig.window.release({45, 45});
    rig.window.press({45, 58});
    rig.window.release({45, 58});
    rig.window.press({45, 58});
    rig.window.release({45, 58});
    EXPECT_THAT(listener.values, ElementsAre(0.75, 0.5, 0.25))
        << "from the first entry not below the value, one entry per step";
}

TEST(FlipFlop, APressFlipsItAndItShowsTheOtherStatePicture)
{
    test::WidgetListener listener;
    ravik::FlipFlop flip({60, 60}, &listener, 0.0, {0, 0, 24, 18});
    test::WidgetRig rig;
    const ravik::Picture off = rig.picture("ff_10_0");
    const ravik::Picture on = rig.picture("ff_10_1");
    flip.set_state_picture(0, off);
    flip.set_state_picture(1, on);
    rig.root.add_control(flip);
    rig.window.press({65, 65});
    rig.window.release({65, 65});
    rig.window.paint();
    EXPECT_DOUBLE_EQ(flip.get_value(), 1.0);
    EXPECT_EQ(listener.origins, std::vector<int>{200});

    ravik::RenderingBufferMemory expected(300, 335);
    rig.background().draw({0, 0, 300, 335}, expected);
    on.draw({-60, -60, 240, 275}, expected);
    int differences = 0;
    for (int y = 55; y < 85; ++y)
    {
        for (int x = 55; x < 90; ++x)
        {
            differences += rig.window.get_pixel(x, y) != expected.get_pixel(x, y);
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST(PushButton, APressNotifiesAndAnimatesUpAndBackDown)
{
    test::WidgetListener listener;
    ravik::PushButton button({60, 60}, &listener, 0.0, {0, 0, 16, 16});
    test::WidgetRig rig;
    button.set_state_picture(0, rig.picture("pb_31_0"));
    button.set_state_picture(1, rig.picture("pb_31_1"));
    rig.root.add_control(button);
    rig.window.press({65, 65});
    EXPECT_THAT(listener.notes, ElementsAre(0));
    std::vector<double> shown;
    for (int i = 0; i < 12; ++i)
    {
        rig.wait(0.01);
        shown.push_back(button.get_shown_position());
    }
    EXPECT_GT(*std::max_element(shown.begin(), shown.end()), 0.5) << "up to the pressed picture";
    EXPECT_DOUBLE_EQ(shown.back(), 0.0) << "and back after 0.1 s";
    EXPECT_FALSE(button.is_fading());
}

TEST(TextBox, AnEditableBoxAsksForAnEntryOverItsTextAndTakesAValidatedOne)
{
    test::WidgetListener listener;
    ravik::TextBox box({30, 200}, &listener, 0.0, {0, 0, 60, 16});
    test::WidgetRig rig;
    box.set_text_box(50, 12, ravik::Text::centre, 0xFFFFFF);
    box.set_text_offset({-5, -2});
    box.set_text("1000.0");
    box.set_second("Cutoff");
    box.set_editable(true);
    rig.root.add_control(box);

    rig.window.press({40, 205});
    ASSERT_TRUE(box.is_editing());
    EXPECT_EQ(rig.window.use_text_editor().get_rect(), (ravik::Rect{35, 202, 85, 214}));
    EXPECT_EQ(rig.window.use_text_editor().get_text(), "1000.0");
    rig.window.use_text_editor().type("440");
    rig.window.use_text_editor().press_escape();
    EXPECT_EQ(box.get_text(), "1000.0");
    EXPECT_TRUE(listener.notes.empty());

    rig.window.press({40, 205});
    rig.window.use_text_editor().type("440");
    rig.window.use_text_editor().press_enter();
    EXPECT_EQ(box.get_text(), "440");
    EXPECT_THAT(listener.notes, ElementsAre(2));
    EXPECT_FALSE(box.is_editing());

    box.set_editable(false);
    rig.window.press({40, 205});
    EXPECT_THAT(listener.notes, ElementsAre(2, 1)) << "a box that is not editable is clicked";
}
