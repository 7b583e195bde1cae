#pragma once

#include <memory>

#include "plux/BkgThreadHandlerInterface.hpp"

namespace plux
{

// The background thread: at the lowest priority, runs its task, then sleeps 50 ms, until
// stopped. stop() wakes it and waits for it to end, so the task never runs past the life of the
// objects it uses.
class BkgThreadWin32 final : public BkgThreadHandlerInterface
{
public:
    static constexpr int period_ms = 50;

    BkgThreadWin32();
    ~BkgThreadWin32() override;
    BkgThreadWin32(const BkgThreadWin32&) = delete;
    BkgThreadWin32& operator=(const BkgThreadWin32&) = delete;

    void set_handler(BkgInterface* task) override;
    int start() override;
    void stop() override;
    bool is_running() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace plux
