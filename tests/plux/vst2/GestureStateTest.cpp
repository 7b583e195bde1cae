#include "plux/vst2/GestureState.hpp"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

// One begin-edit and one end-edit per gesture; open gestures are listed oldest first.
TEST(GestureState, OneBeginAndOneEndPerGesture)
{
    plux::GestureState g;
    g.resize(5);
    EXPECT_TRUE(g.is_armed(2));
    ASSERT_TRUE(g.begin_opening(2));
    EXPECT_FALSE(g.begin_opening(2)) << "an opening gesture is not opened twice";
    EXPECT_FALSE(g.begin_closing(2)) << "no end-edit before the begin-edit went out";
    g.finish_opening(2);
    EXPECT_FALSE(g.begin_opening(2));
    for (const int i : {0, 4})
    {
        ASSERT_TRUE(g.begin_opening(i));
        g.finish_opening(i);
    }
    ASSERT_TRUE(g.begin_opening(1)); // still opening: not waiting for its end-edit yet
    EXPECT_EQ(g.list_open(), (std::vector<int>{2, 0, 4}));
    ASSERT_TRUE(g.begin_closing(2));
    EXPECT_FALSE(g.begin_closing(2));
    g.finish_closing(2);
    EXPECT_TRUE(g.is_armed(2));
    EXPECT_FALSE(g.begin_opening(5)) << "outside the parameters nothing opens";
}

// Several threads report changes while another closes gestures: every begin has its end and no
// end comes without a begin.
TEST(GestureState, BeginsAndEndsStayPairedUnderContention)
{
    plux::GestureState g;
    g.resize(3);
    std::atomic<int> begins{0};
    std::atomic<int> ends{0};
    std::atomic<bool> done{false};
    std::vector<std::thread> openers;
    for (int t = 0; t < 3; ++t)
    {
        openers.emplace_back(
            [&]
            {
                for (int i = 0; i < 30000; ++i)
                {
                    const int index = i % 3;
                    if (g.begin_opening(index))
                    {
                        ++begins;
                        g.finish_opening(index);
                    }
                }
            });
    }
    const auto close_open = [&]
    {
        for (const int index : g.list_open())
        {
            if (g.begin_closing(index))
            {
                ++ends;
                g.finish_closing(index);
            }
        }
    };
    std::thread closer(
        [&]
        {
            while (!done.load())
            {
                close_open();
            }
        });
    for (auto& t : openers)
    {
        t.join();
    }
    done = true;
    closer.join();
    close_open();
    EXPECT_EQ(begins.load(), ends.load()) << "every begin-edit has exactly one end-edit";
    EXPECT_TRUE(g.list_open().empty());
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_TRUE(g.is_armed(i));
    }
}
