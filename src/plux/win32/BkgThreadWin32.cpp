#include "plux/win32/BkgThreadWin32.hpp"

#include <windows.h>

namespace plux
{

std::unique_ptr<BkgThread> BkgThread::create()
{
    return std::make_unique<BkgThreadWin32>();
}

BkgThreadWin32::~BkgThreadWin32()
{
    stop();
}

DWORD WINAPI BkgThreadWin32::loop(LPVOID param)
{
    auto* self = static_cast<BkgThreadWin32*>(param);
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_LOWEST);
    while (self->running_.load())
    {
        self->run_task();
        if (self->running_.load())
        {
            ::WaitForSingleObject(self->wake_, period_ms);
        }
    }
    return 0;
}

int BkgThreadWin32::start()
{
    if (thread_ != nullptr)
    {
        return 0;
    }
    wake_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (wake_ == nullptr)
    {
        return -1;
    }
    running_.store(true);
    thread_ = ::CreateThread(nullptr, 0, &BkgThreadWin32::loop, this, 0, nullptr);
    if (thread_ == nullptr)
    {
        running_.store(false);
        ::CloseHandle(wake_);
        wake_ = nullptr;
        return -1;
    }
    return 0;
}

void BkgThreadWin32::stop()
{
    if (thread_ == nullptr)
    {
        return;
    }
    running_.store(false);
    ::SetEvent(wake_);
    // The tasks call the host, and hosts may answer such a call on their user-interface thread
    // (a message sent to one of their windows) - the thread that usually closes the plug-in. Take
    // sent messages while waiting, so neither thread waits for the other for ever. The wait has no
    // time limit: the task uses objects that are destroyed once stop returns.
    HANDLE thread = thread_;
    for (;;)
    {
        const DWORD woken =
            ::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0 + 1)
        {
            MSG msg;
            ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        if (woken != WAIT_OBJECT_0)
        {
            ::WaitForSingleObject(thread, INFINITE);
        }
        break;
    }
    ::CloseHandle(thread);
    ::CloseHandle(wake_);
    thread_ = nullptr;
    wake_ = nullptr;
}

} // namespace plux
