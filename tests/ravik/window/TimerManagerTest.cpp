#include "ravik/TimerManager.hpp"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <vector>

#include "ravik/MessageHandlerInterface.hpp"
#include "ravik/TimerMessages.hpp"
#include "sys/ManualClock.hpp"

namespace
{

class Ticked : public ravik::MessageHandlerInterface
{
public:
    std::int32_t process_message(ravik::MessageInterface& message) override
    {
        if (auto* tick = dynamic_cast<ravik::Notify*>(&message))
        {
            ticks.push_back(tick->value);
            if (on_tick)
            {
                on_tick(*tick);
            }
        }
        return 0;
    }
    std::vector<double> ticks;
    std::function<void(ravik::Notify&)> on_tick;
};

// Polls every 2 ms of the test clock for the given time.
void run_for(ravik::TimerManager& timers, test::ManualClock& clock, double seconds)
{
    for (double t = 0.0; t < seconds - 1e-9; t += 0.002)
    {
        clock.advance(0.002);
        timers.poll();
    }
}

} // namespace

TEST(TimerManager, EveryTimerTakesItsOwnIdentifierAndTicksFromTheFirstPoll)
{
    test::ManualClock clock;
    ravik::TimerManager timers;
    Ticked handler;
    int id1 = 0;
    int id2 = 0;
    const ravik::SetTimer first(&handler, 0.03f, id1);
    const ravik::SetTimer second(&handler, 0.03f, id2);
    EXPECT_NE(id1, id2) << "the same handler gets two timers";
    EXPECT_EQ(timers.set(first), 0);
    EXPECT_EQ(timers.set(first), -1) << "an identifier already in use";

    clock.advance(0.003);
    timers.poll();
    ASSERT_EQ(handler.ticks.size(), 1u) << "a new timer ticks at the first poll";
    EXPECT_DOUBLE_EQ(handler.ticks[0], clock.get_time_s()) << "with the time of the tick";
    clock.advance(0.001);
    timers.poll();
    clock.advance(0.001);
    timers.poll();
    EXPECT_EQ(handler.ticks.size(), 1u);

    // Polls exactly 2 ms apart are not above the interval: every other one does nothing.
    run_for(timers, clock, 0.3);
    EXPECT_EQ(handler.ticks.size(), 10u) << "then about every 30 ms";
    for (std::size_t i = 1; i < handler.ticks.size(); ++i)
    {
        EXPECT_NEAR(handler.ticks[i] - handler.ticks[i - 1], 0.03, 0.0041);
    }
}

TEST(TimerManager, PollsCloserThanTwoMillisecondsDoNothing)
{
    test::ManualClock clock;
    ravik::TimerManager timers;
    Ticked handler;
    int id = 0;
    timers.set(ravik::SetTimer(&handler, 0.0f, id));
    clock.advance(0.003);
    timers.poll();
    clock.advance(0.002);
    timers.poll();
    clock.advance(0.001);
    timers.poll();
    EXPECT_EQ(handler.ticks.size(), 2u) << "2 ms is not above the interval; 3 ms is";
}

TEST(TimerManager, AHandlerMayClearItsOwnTimerOrSetAnotherDuringItsTick)
{
    test::ManualClock clock;
    ravik::TimerManager timers;
    Ticked self_clearing;
    Ticked other;
    int id = 0;
    int other_id = 0;
    timers.set(ravik::SetTimer(&self_clearing, 0.01f, id));
    self_clearing.on_tick = [&](ravik::Notify& tick)
    {
        EXPECT_EQ(timers.clear(ravik::ClearTimer(tick.id)), 0);
        EXPECT_EQ(timers.clear(ravik::ClearTimer(tick.id)), -1) << "once only";
        timers.set(ravik::SetTimer(&other, 0.01f, other_id));
    };
    run_for(timers, clock, 0.1);
    EXPECT_EQ(self_clearing.ticks.size(), 1u);
    EXPECT_GE(other.ticks.size(), 9u) << "the timer set from the tick runs on";
    EXPECT_EQ(timers.get_nbr_timers(), 1) << "the cleared entry is erased";
    EXPECT_EQ(timers.clear(ravik::ClearTimer(12345)), -1);
}
