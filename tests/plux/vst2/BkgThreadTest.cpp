#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "plux/BkgContainer.hpp"
#include "plux/BkgThreadWin32.hpp"

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
    }
    void* get_context() const override { return nullptr; }
    void set_context(void*) override {}

    std::atomic<int> runs{0};
    std::atomic<int> finished{0};
    int delay_ms = 0;
};

bool wait_until(const std::atomic<int>& value, int at_least)
{
    for (int i = 0; i < 400 && value.load() < at_least; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return value.load() >= at_least;
}

} // namespace

TEST(BkgThread, RunsItsTasksPeriodicallyUntilStopped)
{
    Counter a;
    Counter b;
    plux::BkgContainer container;
    container.add(a);
    container.add(b);
    plux::BkgThreadWin32 thread;
    thread.set_handler(&container);
    ASSERT_EQ(thread.start(), 0);
    EXPECT_EQ(thread.start(), 0) << "a second start keeps the running thread";
    ASSERT_TRUE(wait_until(b.runs, 3)) << "the container runs every task, again and again";
    container.remove_last();
    const int b_runs = b.runs.load();
    ASSERT_TRUE(wait_until(a.runs, a.runs.load() + 2));
    EXPECT_LE(b.runs.load(), b_runs + 1) << "a removed task stops running";
    thread.stop();
    const int a_runs = a.runs.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_EQ(a.runs.load(), a_runs) << "nothing runs after stop()";
    thread.stop(); // no thread: nothing happens
}

// stop() returns only once the task has finished, however slow it is: the objects it uses may be
// destroyed right after.
TEST(BkgThread, StopWaitsForATaskInProgress)
{
    Counter slow;
    slow.delay_ms = 300;
    plux::BkgThreadWin32 thread;
    thread.set_handler(&slow);
    ASSERT_EQ(thread.start(), 0);
    ASSERT_TRUE(wait_until(slow.runs, 1));
    thread.stop();
    EXPECT_EQ(slow.runs.load(), slow.finished.load());
    EXPECT_FALSE(thread.is_running());
}
