// A host that answers the plug-in's calls on its user-interface thread, by a message sent to one
// of its windows, while that same thread closes the plug-in: stop() must keep taking the sent
// messages, or the background task and the closing thread would wait for each other for ever.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "plux/BkgInterface.hpp"
#include "plux/win32/BkgThreadWin32.hpp"

namespace
{

constexpr UINT end_edit_message = WM_APP + 7;

LRESULT CALLBACK host_window_proc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == end_edit_message)
    {
        return 42;
    }
    return ::DefWindowProcA(window, message, w, l);
}

// The gesture task as such a host sees it: every run sends a message to the host's window.
class SendingTask : public plux::BkgInterface
{
public:
    explicit SendingTask(HWND window)
        : window_(window)
    {
    }
    void run() override
    {
        ++started;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        if (::SendMessageA(window_, end_edit_message, 0, 0) == 42)
        {
            ++answered;
        }
    }
    void* get_context() const override { return nullptr; }
    void set_context(void*) override {}

    std::atomic<int> started{0};
    std::atomic<int> answered{0};

private:
    HWND window_;
};

TEST(BkgThreadWin32, StopAnswersTheHostsSentMessagesWhileWaiting)
{
    WNDCLASSA cls{};
    cls.lpfnWndProc = &host_window_proc;
    cls.hInstance = ::GetModuleHandleA(nullptr);
    cls.lpszClassName = "MorvaneTestHostWindow";
    ::RegisterClassA(&cls);
    HWND window = ::CreateWindowExA(0, cls.lpszClassName, "host", 0, 0, 0, 10, 10, HWND_MESSAGE,
                                    nullptr, cls.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    SendingTask task(window);
    plux::BkgThreadWin32 thread;
    thread.set_handler(&task);
    ASSERT_EQ(thread.start(), 0);
    // Stop while a run is about to send: without taking sent messages this never returns.
    for (int i = 0; i < 400 && task.started.load() == 0; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_GT(task.started.load(), 0);
    thread.stop();
    EXPECT_FALSE(thread.is_running());
    EXPECT_EQ(task.answered.load(), task.started.load()) << "the run in progress got its answer";
    ::DestroyWindow(window);
}

} // namespace
