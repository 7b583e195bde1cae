#include "plux/posix/BkgThreadPosix.hpp"

#include <chrono>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <system_error>
#include <unistd.h>

namespace plux
{

std::unique_ptr<BkgThread> BkgThread::create()
{
    return std::make_unique<BkgThreadPosix>();
}

BkgThreadPosix::~BkgThreadPosix()
{
    stop();
}

void BkgThreadPosix::loop()
{
    // The lowest priority an unprivileged thread can take: the highest nice value.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 19);
    std::unique_lock lock(mutex_);
    while (running_)
    {
        lock.unlock();
        run_task();
        lock.lock();
        if (running_)
        {
            wake_.wait_for(lock, std::chrono::milliseconds(period_ms));
        }
    }
}

int BkgThreadPosix::start()
{
    if (thread_.joinable())
    {
        return 0;
    }
    running_ = true;
    try
    {
        thread_ = std::thread([this] { loop(); });
    }
    catch (const std::system_error&)
    {
        running_ = false;
        return -1;
    }
    return 0;
}

void BkgThreadPosix::stop()
{
    if (!thread_.joinable())
    {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        running_ = false;
    }
    wake_.notify_all();
    thread_.join();
}

} // namespace plux
