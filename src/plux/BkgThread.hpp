#pragma once

#include <atomic>
#include <memory>

#include "plux/BkgThreadHandlerInterface.hpp"

namespace plux
{

// The background thread: at the lowest priority, runs its task, then waits period_ms, until
// stopped. stop() wakes it and waits for it to end, so the task never runs past the life of the
// objects it uses. Each system starts, waits and stops its own way (BkgThreadWin32,
// BkgThreadPosix); what a run does is common.
class BkgThread : public BkgThreadHandlerInterface
{
public:
    static constexpr int period_ms = 50;

    // The realisation of the system the plug-in runs on.
    static std::unique_ptr<BkgThread> create();

    ~BkgThread() override = default;
    BkgThread(const BkgThread&) = delete;
    BkgThread& operator=(const BkgThread&) = delete;

    void set_handler(BkgInterface* task) override { handler_ = task; }
    virtual bool is_running() const = 0;
    // Runs completed since construction: what waits for the thread can count on.
    int get_nbr_runs() const noexcept { return nbr_runs_.load(std::memory_order_acquire); }

protected:
    BkgThread() = default;

    // One run of the task. A task that throws does not end the thread.
    void run_task() noexcept;

private:
    BkgInterface* handler_ = nullptr;
    std::atomic<int> nbr_runs_{0};
};

} // namespace plux
