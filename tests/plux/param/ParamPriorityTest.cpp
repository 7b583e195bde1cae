#include "plux/param/ParamPriority.hpp"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "plux/param/ParamPriorityList.hpp"

using plux::ParamPriority;

// Higher sources lock lower ones out for the hold time after their last change, and not a
// moment longer; equal or higher priorities are always accepted.
TEST(ParamPriority, AHigherSourceLocksLowerOnesOutForTheHoldTime)
{
    ParamPriority p;
    ASSERT_TRUE(p.take(10.0, 300));
    EXPECT_FALSE(p.can_take(10.2, 100)) << "100 within 0.5 s of a 300 change";
    EXPECT_FALSE(p.take(10.5, 100)) << "exactly at the end of the hold time it is still held";
    EXPECT_EQ(p.get_priority(), 300);
    EXPECT_TRUE(p.can_take(10.501, 100));
    EXPECT_TRUE(p.take(10.501, 100));
    EXPECT_EQ(p.get_priority(), 100);

    EXPECT_TRUE(p.take(11.1, 100));
    EXPECT_TRUE(p.can_take(11.2, 250)) << "can_take changes nothing";
    EXPECT_EQ(p.get_priority(), 100);
    EXPECT_DOUBLE_EQ(p.get_last_take_time(), 11.1);
    EXPECT_TRUE(p.take(11.2, 400));
    EXPECT_FALSE(p.take(11.3, 300)) << "400 now holds it";
    EXPECT_DOUBLE_EQ(p.get_last_take_time(), 11.2);

    p.set_hold_time(2.0);
    EXPECT_FALSE(p.can_take(13.1, 100));
    EXPECT_TRUE(p.can_take(13.201, 100)) << "a hold time of 2 s";
}

TEST(ParamPriority, ReleaseOnlyByTheHolder)
{
    ParamPriority p;
    ASSERT_TRUE(p.take(5.0, 200));
    p.release(100);
    EXPECT_EQ(p.get_priority(), 200) << "another priority leaves it held";
    EXPECT_FALSE(p.can_take(5.1, 100));
    p.release(200);
    EXPECT_EQ(p.get_priority(), 0);
    EXPECT_TRUE(p.can_take(5.1, 1)) << "a released parameter is free at once";

    ASSERT_TRUE(p.take(6.0, 125));
    p.reset();
    EXPECT_TRUE(p.can_take(6.0, 0));
}

TEST(ParamPriorityList, IndicesOutsideTheListAreNeverTaken)
{
    plux::ParamPriorityList list;
    list.resize(3);
    EXPECT_FALSE(list.take(-1, 0.0, 255));
    EXPECT_FALSE(list.take(3, 0.0, 255));
    EXPECT_FALSE(list.can_take(3, 0.0, 255));
    list.release(7, 1);
    EXPECT_TRUE(list.take(2, 0.0, 200));
    EXPECT_FALSE(list.take(2, 0.1, 100));
    EXPECT_TRUE(list.take(1, 0.1, 100)) << "parameters are held one by one";
    list.reset();
    EXPECT_TRUE(list.take(2, 0.1, 100));
}

// Many sources at once: every accepted change is one whose priority was allowed at that moment,
// and the final holder is one of the accepted ones.
TEST(ParamPriority, ConcurrentSourcesNeverLoseTheHolder)
{
    ParamPriority p;
    std::atomic<int> accepted_high{0};
    std::atomic<int> accepted_low_while_high{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
    {
        threads.emplace_back(
            [&, t]
            {
                for (int i = 0; i < 20000; ++i)
                {
                    // All changes happen within one hold time: once 200 held it, 100 is refused.
                    const int prio = (t % 2 == 0) ? 200 : 100;
                    if (p.take(1.0, prio) && prio == 200)
                    {
                        ++accepted_high;
                    }
                    else if (prio == 100 && accepted_high.load() > 0 && p.get_priority() == 100)
                    {
                        ++accepted_low_while_high;
                    }
                }
            });
    }
    for (auto& t : threads)
    {
        t.join();
    }
    EXPECT_GT(accepted_high.load(), 0);
    EXPECT_EQ(p.get_priority(), 200) << "100 can never displace 200 within the hold time";
    EXPECT_EQ(accepted_low_while_high.load(), 0);
}
