// Tests of a real thread: they wait for it, for real.
#include "plux/BkgThread.hpp"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

#include "plux/BkgContainer.hpp"

namespace
{

class Counter : public plux::BkgInterface
{
public:
    void run() override
    {
        ++runs;
        std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
        ++finished;
        if (throws)
        {
            throw std::runtime_error("Counter::run() : Failed.");
        }
    }
    void* get_context() const override { return nullptr; }
    void set_context(void*) override {}

    std::atomic<int> runs{0};
    std::atomic<int> finished{0};
    int delay_ms = 0;
    bool throws = false;
};

// Waits until the thread has completed at least count more runs than it had.
bool wait_for_runs(const plux::BkgThread& thread, int count)
{
    const int target = thread.get_nbr_runs() + count;
    for (int i = 0; i < 500 && thread.get_nbr_runs() < target; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return thread.get_nbr_runs() >= target;
}

} // namespace

TEST(BkgThread, RunsItsTasksPeriodicallyUntilStopped)
{
    Counter a;
    Counter b;
    b.throws = true;
    plux::BkgContainer container;
    container.add(a);
    container.add(b);
    auto thread = plux::BkgThread::create();
    thread->set_handler(&container);
    ASSERT_EQ(thread->start(), 0);
    EXPECT_EQ(thread->start(), 0) << "a second start keeps the running thread";
    ASSERT_TRUE(wait_for_runs(*thread, 3));
    EXPECT_GE(b.runs.load(), 3) << "a task that throws runs again";
    EXPECT_EQ(a.runs.load(), b.runs.load()) << "the container runs every task in every run";

    container.remove_last();
    const int b_runs = b.runs.load();
    ASSERT_TRUE(wait_for_runs(*thread, 2));
    EXPECT_LE(b.runs.load(), b_runs + 1) << "a removed task stops running";

    thread->stop();
    EXPECT_FALSE(thread->is_running());
    EXPECT_EQ(a.runs.load(), thread->get_nbr_runs()) << "every run ran the task and none is left";
    EXPECT_EQ(thread->start(), 0) << "it starts again after stop()";
    ASSERT_TRUE(wait_for_runs(*thread, 1));
    thread->stop();
    thread->stop(); // no thread: nothing happens
}

// stop() returns only once the task has finished, however slow it is: the objects it uses may be
// destroyed right after.
TEST(BkgThread, StopWaitsForATaskInProgress)
{
    Counter slow;
    slow.delay_ms = 300;
    auto thread = plux::BkgThread::create();
    thread->set_handler(&slow);
    ASSERT_EQ(thread->start(), 0);
    for (int i = 0; i < 500 && slow.runs.load() == 0; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(slow.runs.load(), 1);
    thread->stop();
    EXPECT_EQ(slow.runs.load(), slow.finished.load());
    EXPECT_FALSE(thread->is_running());
}
