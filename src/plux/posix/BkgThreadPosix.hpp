#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "plux/BkgThread.hpp"

namespace plux
{

// The background thread on POSIX systems: a std::thread at the highest nice value.
class BkgThreadPosix final : public BkgThread
{
public:
    ~BkgThreadPosix() override;

    int start() override;
    void stop() override;
    bool is_running() const override { return thread_.joinable(); }

private:
    void loop();

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool running_ = false;
};

} // namespace plux
