#include "plux/BkgThreadWin32.hpp"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

#include "plux/BkgInterface.hpp"

namespace plux
{

struct BkgThreadWin32::Impl
{
    BkgInterface* handler = nullptr;
    std::thread thread;
    std::mutex mutex;
    std::condition_variable wake;
    bool running = false;

    void loop()
    {
        // The lowest priority an unprivileged thread can take: the highest nice value.
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 19);
        std::unique_lock lock(mutex);
        while (running)
        {
            lock.unlock();
            if (handler != nullptr)
            {
                try
                {
                    handler->run();
                }
                catch (...)
                {
                }
            }
            lock.lock();
            if (running)
            {
                wake.wait_for(lock, std::chrono::milliseconds(period_ms));
            }
        }
    }
};

BkgThreadWin32::BkgThreadWin32()
    : impl_(std::make_unique<Impl>())
{
}

BkgThreadWin32::~BkgThreadWin32()
{
    stop();
}

void BkgThreadWin32::set_handler(BkgInterface* task)
{
    impl_->handler = task;
}

int BkgThreadWin32::start()
{
    if (impl_->thread.joinable())
    {
        return 0;
    }
    impl_->running = true;
    try
    {
        impl_->thread = std::thread([this] { impl_->loop(); });
    }
    catch (const std::system_error&)
    {
        impl_->running = false;
        return -1;
    }
    return 0;
}

void BkgThreadWin32::stop()
{
    if (!impl_->thread.joinable())
    {
        return;
    }
    {
        const std::lock_guard lock(impl_->mutex);
        impl_->running = false;
    }
    impl_->wake.notify_all();
    impl_->thread.join();
}

bool BkgThreadWin32::is_running() const
{
    return impl_->thread.joinable();
}

} // namespace plux
