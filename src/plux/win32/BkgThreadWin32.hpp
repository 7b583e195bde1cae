#pragma once

#include <atomic>

#include "plux/BkgThread.hpp"

namespace plux
{

// The background thread on Windows: a system thread at THREAD_PRIORITY_LOWEST that waits on an
// event, so that stop() can wake it at once.
class BkgThreadWin32 final : public BkgThread
{
public:
    ~BkgThreadWin32() override;

    int start() override;
    void stop() override;
    bool is_running() const override { return thread_ != nullptr; }

private:
    static unsigned long __stdcall loop(void* param);

    // HANDLEs, kept without the system's header.
    void* thread_ = nullptr;
    void* wake_ = nullptr;
    std::atomic<bool> running_{false};
};

} // namespace plux
