#include "ravik/DoubleClickDetector.hpp"

#include <gtest/gtest.h>

#include "ravik/MouseMessages.hpp"

TEST(DoubleClickDetector, TheSameButtonSoonAndCloseMakesADoubleClickOnce)
{
    using ravik::mouse::left;
    using ravik::mouse::right;
    struct Press
    {
        int button;
        ravik::Point pos;
        double time_s;
        int expected;
        const char* why;
    };
    const Press presses[] = {
        {left, {10, 10}, 100.0, 0, "a first press"},
        {left, {12, 8}, 100.5, left, "within 500 ms and 2 pixels"},
        {left, {12, 8}, 100.6, 0, "a third press starts again"},
        {left, {12, 8}, 101.101, 0, "501 ms later"},
        {left, {15, 8}, 101.2, 0, "3 pixels away"},
        {right, {15, 8}, 101.3, 0, "another button"},
        {right, {15, 8}, 101.4, right, "the right button twice"},
    };
    ravik::DoubleClickDetector detector;
    for (const Press& p : presses)
    {
        EXPECT_EQ(detector.press(p.button, p.pos, p.time_s), p.expected) << p.why;
    }
}
