// When the X11 ticker sends its wake-ups, on times of the test's own.
#include "ravik/x11/WakeUpPacer.hpp"

#include <gtest/gtest.h>
#include <vector>

using namespace std::chrono_literals;
using ravik::WakeUpPacer;

namespace
{

class WakeUpPacerTest : public testing::Test
{
protected:
    // The ticker's turns every period from now on, until until: when it sent what, in ms from
    // start.
    std::vector<long> run_until(std::chrono::milliseconds until)
    {
        std::vector<long> sent;
        for (; now < start + until; now += WakeUpPacer::period)
        {
            if (std::uint32_t serial = 0; pacer.take_turn(now, serial))
            {
                last = serial;
                sent.push_back((now - start) / 1ms);
            }
        }
        return sent;
    }

    WakeUpPacer pacer;
    const WakeUpPacer::Clock::time_point start = WakeUpPacer::Clock::now();
    WakeUpPacer::Clock::time_point now = start;
    std::uint32_t last = 0;
};

} // namespace

TEST_F(WakeUpPacerTest, EachWakeUpGoesAtTheFirstTurnAfterTheLastWasDelivered)
{
    std::uint32_t first = 0;
    ASSERT_TRUE(pacer.take_turn(now, first));
    // The host's thread may deliver it before the ticker is done sending it.
    pacer.delivered(first);
    now += WakeUpPacer::period;
    std::uint32_t second = 0;
    ASSERT_TRUE(pacer.take_turn(now, second)) << "nothing is in flight";
    EXPECT_NE(second, first);
    EXPECT_FALSE(pacer.take_turn(now + WakeUpPacer::period, second)) << "one at a time";
}

TEST_F(WakeUpPacerTest, LostWakeUpsAreResentSoonThenLessAndLessOften)
{
    EXPECT_EQ(run_until(1000ms), (std::vector<long>{0, 16, 48, 112, 240, 496, 752}));
    pacer.delivered(last);
    EXPECT_EQ(run_until(1100ms), (std::vector<long>{1000, 1016, 1048}))
        << "a delivery starts the pacing over";
}

TEST_F(WakeUpPacerTest, OnlyTheLatestWakeUpEndsTheFlight)
{
    ASSERT_EQ(run_until(20ms), (std::vector<long>{0, 16}));
    pacer.delivered(last - 1);
    EXPECT_EQ(run_until(100ms), (std::vector<long>{48})) << "a late first one is no answer";
    pacer.delivered(last);
    EXPECT_EQ(run_until(104ms), (std::vector<long>{100}));
}

TEST_F(WakeUpPacerTest, NothingGoesWhileTheHostCallsIdle)
{
    pacer.idled(now);
    EXPECT_EQ(pacer.get_wait(now + 30ms), WakeUpPacer::idle_gap - 30ms) << "the ticker sleeps";
    EXPECT_EQ(run_until(WakeUpPacer::idle_gap), std::vector<long>{});
    EXPECT_EQ(pacer.get_wait(now), WakeUpPacer::period);
    EXPECT_EQ(run_until(WakeUpPacer::idle_gap + 1ms), (std::vector<long>{100}))
        << "a host that stopped calling idle is woken";
}
