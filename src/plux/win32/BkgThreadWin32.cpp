#include "plux/BkgThreadWin32.hpp"

#include <windows.h>

#include <atomic>

#include "plux/BkgInterface.hpp"

namespace plux
{

struct BkgThreadWin32::Impl
{
    BkgInterface* handler = nullptr;
    HANDLE thread = nullptr;
    HANDLE wake = nullptr;
    std::atomic<bool> running{false};

    static DWORD WINAPI loop(LPVOID param)
    {
        auto* self = static_cast<Impl*>(param);
        ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_LOWEST);
        while (self->running.load())
        {
            if (self->handler != nullptr)
            {
                try
                {
                    self->handler->run();
                }
                catch (...)
                {
                }
            }
            if (self->running.load())
            {
                ::WaitForSingleObject(self->wake, period_ms);
            }
        }
        return 0;
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
    if (impl_->thread != nullptr)
    {
        return 0;
    }
    impl_->wake = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (impl_->wake == nullptr)
    {
        return -1;
    }
    impl_->running.store(true);
    impl_->thread = ::CreateThread(nullptr, 0, &Impl::loop, impl_.get(), 0, nullptr);
    if (impl_->thread == nullptr)
    {
        impl_->running.store(false);
        ::CloseHandle(impl_->wake);
        impl_->wake = nullptr;
        return -1;
    }
    return 0;
}

void BkgThreadWin32::stop()
{
    if (impl_->thread == nullptr)
    {
        return;
    }
    impl_->running.store(false);
    ::SetEvent(impl_->wake);
    // The tasks call the host, and hosts may answer such a call on their user-interface thread
    // (a message sent to one of their windows) - the thread that usually closes the plug-in. Take
    // sent messages while waiting, so neither thread waits for the other for ever. The wait has no
    // time limit: the task uses objects that are destroyed once stop returns.
    for (;;)
    {
        const DWORD woken =
            ::MsgWaitForMultipleObjects(1, &impl_->thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0 + 1)
        {
            MSG msg;
            ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        if (woken != WAIT_OBJECT_0)
        {
            ::WaitForSingleObject(impl_->thread, INFINITE);
        }
        break;
    }
    ::CloseHandle(impl_->thread);
    ::CloseHandle(impl_->wake);
    impl_->thread = nullptr;
    impl_->wake = nullptr;
}

bool BkgThreadWin32::is_running() const
{
    return impl_->thread != nullptr;
}

} // namespace plux
