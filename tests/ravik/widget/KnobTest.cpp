// A knob as a hand drives it: drags, corner spins, double clicks, under the test clock.
#include "ravik/widget/Knob.hpp"

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <numbers>

#include "ravik/RenderingBufferMemory.hpp"
#include "ravik/widget/WidgetRig.hpp"

namespace
{

class KnobTest : public testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        knob.set_nbr_frames(8);
        for (int i = 0; i < 8; ++i)
        {
            const std::string name = "kn_12_" + std::to_string(i);
            knob.set_frame(i, rig.picture(name.c_str()));
        }
        knob.set_bounding_box(rig.picture("kn_12_0").get_bounding_box());
        rig.root.add_control(knob);
        rig.window.paint();
    }

    // The middle of the knob's body, and its lower corners.
    ravik::Point centre() const { return {70, 60}; }
    ravik::Point lower_left() const { return {52, 78}; }
    ravik::Point lower_right() const { return {88, 78}; }

    test::WidgetListener listener;
    ravik::Knob knob{{50, 40}, &listener, 0.0, {}};
    // Last: its window closes while the knob still lives.
    test::WidgetRig rig{GetParam()};
};

} // namespace

TEST_P(KnobTest, ADragOf200PixelsUpMovesTheTargetFrom0To1AndTheValueFollows)
{
    rig.window.press(centre());
    EXPECT_EQ(rig.window.is_cursor_hidden(), !GetParam()) << "hidden in enhanced mode only";
    for (int i = 0; i < 20; ++i)
    {
        rig.move_by(0, -10);
    }
    EXPECT_DOUBLE_EQ(knob.use_pot().get_target(), 1.0);
    EXPECT_LT(knob.get_value(), 0.99) << "the follower takes its time";
    rig.wait(0.5);
    EXPECT_DOUBLE_EQ(knob.get_value(), 1.0);
    EXPECT_THAT(listener.origins, testing::Each(200));
    EXPECT_FALSE(listener.triggers.empty()) << "the listeners hear the knob held";

    rig.window.release(rig.window.get_cursor());
    EXPECT_THAT(listener.signals, testing::ElementsAre(200));
    EXPECT_FALSE(rig.window.is_cursor_hidden());
    if (!GetParam())
    {
        EXPECT_EQ(rig.window.get_cursor(), centre()) << "the cursor is back where the drag began";
    }
    rig.wait(0.2);
    EXPECT_EQ(rig.window.use_timers().get_nbr_timers(), 0) << "nothing left running";
}

// The glide holds the parameter from the release on, so that the host's gesture cannot end
// before its next step.
TEST_P(KnobTest, LetGoWhileGlidingTheKnobTakesTheParameterAtTheGlidesPriority)
{
    rig.window.press(centre());
    rig.move_by(0, -100);
    const std::size_t held = listener.triggers.size();
    const std::size_t changes = listener.origins.size();
    rig.window.release(rig.window.get_cursor());
    EXPECT_THAT(std::vector<int>(listener.triggers.begin() + held, listener.triggers.end()),
                testing::ElementsAre(50));
    rig.wait(1.0);
    EXPECT_DOUBLE_EQ(knob.get_value(), 0.5);
    EXPECT_THAT(std::vector<int>(listener.origins.begin() + changes, listener.origins.end()),
                testing::Each(50));
}

TEST_P(KnobTest, ReversingPastTheTopMovesDownAtOnce)
{
    rig.window.press(centre());
    for (int i = 0; i < 30; ++i)
    {
        rig.move_by(0, -10);
    }
    EXPECT_GT(knob.use_pot().get_raw(), 1.4);
    rig.move_by(0, 10);
    EXPECT_DOUBLE_EQ(knob.use_pot().get_target(), 0.95);
}

TEST_P(KnobTest, AHorizontalDragWithoutAFactorLeavesTheValue)
{
    knob.force_value(0.5, 255);
    rig.window.press(centre());
    for (int i = 0; i < 30; ++i)
    {
        rig.move_by(6, (i % 3) - 1);
    }
    rig.wait(0.3);
    EXPECT_TRUE(knob.use_pot().is_horizontal());
    EXPECT_DOUBLE_EQ(knob.get_value(), 0.5);
}

TEST_P(KnobTest, ACornerSpinsTheKnobTowardsThatEndOfItsSweep)
{
    knob.force_value(0.5, 255);
    rig.window.press(lower_left());
    rig.wait(1.0);
    const double after_left = knob.get_value();
    rig.window.release(lower_left());
    EXPECT_LT(after_left, 0.5) << "lower left turns towards the start";
    rig.wait(1.0);
    rig.window.press(lower_right());
    rig.move_by(40, 0, 0.5);
    rig.window.release(rig.window.get_cursor());
    EXPECT_GT(knob.get_value(), after_left) << "lower right turns towards the end";
}

TEST_P(KnobTest, ADoubleClickResetsAndTheWheelChangesNothing)
{
    knob.set_default_value(0.25);
    knob.force_value(0.8, 255);
    rig.window.wheel(centre(), 3.0f);
    EXPECT_DOUBLE_EQ(knob.get_value(), 0.8);
    rig.window.double_click(centre());
    EXPECT_DOUBLE_EQ(knob.get_value(), 0.25);
    EXPECT_EQ(listener.origins.back(), 1);
}

TEST_P(KnobTest, ARefusedChangeEndsTheDrag)
{
    rig.window.press(centre());
    listener.refuse = true;
    rig.move_by(0, -10);
    EXPECT_EQ(knob.use_pot().get_mode(), ravik::PotBehaviour::idle);
    EXPECT_FALSE(rig.window.has_capture());
    EXPECT_DOUBLE_EQ(knob.get_value(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(MouseModes, KnobTest, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Compatible" : "Enhanced"; });

TEST(PotBehaviour, SnapsOnlyToAnEntryClearlyCloserThanThePreviousTarget)
{
    ravik::Knob knob;
    const std::vector<double> list = {0.0, 0.5, 1.0};
    knob.set_snap_list(&list);
    EXPECT_DOUBLE_EQ(knob.use_pot().snap(0.45, 0.0), 0.5);
    EXPECT_DOUBLE_EQ(knob.use_pot().snap(0.3, 0.0), 0.0) << "3 x 0.2 is not below 0.3";
    EXPECT_DOUBLE_EQ(knob.use_pot().snap(0.3, -1.0), 0.5) << "no previous target: the closest";
    EXPECT_DOUBLE_EQ(knob.use_pot().snap(1.3, 2.0), 1.0) << "raw is taken within 0..1";
}

// The frame shown at a value, turned by what is left between frames: 8 frames over a turn, the
// pointer at 0.625 - 0.75 value turns.
TEST(KnobDrawing, ShowsTheFrameOfItsValueTurnedSmoothlyBetweenFrames)
{
    ravik::Knob knob({20, 30}, nullptr, 0.0, {});
    test::WidgetRig rig;
    knob.set_nbr_frames(8);
    std::vector<ravik::Picture> frames;
    for (int i = 0; i < 8; ++i)
    {
        const std::string name = "kn_12_" + std::to_string(i);
        frames.push_back(rig.picture(name.c_str()));
        knob.set_frame(i, frames.back());
    }
    knob.set_bounding_box(frames[0].get_bounding_box());
    knob.set_rotate_frames(true);
    rig.root.add_control(knob);

    struct Case
    {
        double value;
        int frame;
        double turn; // radians, counter-clockwise
    };
    for (const Case c : {Case{0.0, 5, 0.0}, Case{0.5, 2, 0.0}, Case{1.0, 7, 0.0},
                         Case{0.1, 4, 0.1 * std::numbers::pi}})
    {
        SCOPED_TRACE(c.value);
        knob.force_value(c.value, 255);
        rig.window.paint_all();
        ravik::RenderingBufferMemory expected(300, 335);
        rig.background().draw({0, 0, 300, 335}, expected);
        frames[static_cast<std::size_t>(c.frame)].draw_rotated(-20.0, -30.0, {0, 0, 300, 335},
                                                               c.turn, expected);
        int differences = 0;
        for (int y = 0; y < 335; ++y)
        {
            for (int x = 0; x < 300; ++x)
            {
                differences += rig.window.get_pixel(x, y) != expected.get_pixel(x, y);
            }
        }
        EXPECT_EQ(differences, 0);
    }
}
