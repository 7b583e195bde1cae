#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace test
{

// Plays the user of a modal dialog: a thread that waits for the top-level window with the given
// title to appear (the code under test shows it on the test's own thread), lets the test read
// and fill it, and then presses one of its buttons. found() tells whether the window appeared;
// when it does not, every window of the test's thread is cancelled so that the test fails
// instead of waiting forever.
class DialogAnswerer
{
public:
    // inspect runs on the answering thread with the dialog's window; button is the identifier
    // of the button to press (IDOK, IDCANCEL, IDYES, IDNO).
    DialogAnswerer(const std::string& title, std::function<void(HWND)> inspect, int button)
        : owner_thread(::GetCurrentThreadId())
        , thread(
              [this, title, inspect = std::move(inspect), button]
              {
                  // Up to 20 s: the first dialog of a wine prefix can take a while to come up.
                  for (int attempt = 0; attempt < 400 && window == nullptr; ++attempt)
                  {
                      window = ::FindWindowA(nullptr, title.c_str());
                      if (window == nullptr)
                      {
                          ::Sleep(50);
                      }
                  }
                  if (window == nullptr)
                  {
                      cancel_all();
                      return;
                  }
                  // Let the dialog finish its set-up before it is read.
                  ::Sleep(300);
                  inspect(window);
                  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
              })
    {
    }

    ~DialogAnswerer() { join(); }

    void join()
    {
        if (thread.joinable())
        {
            thread.join();
        }
    }

    bool found() const { return window != nullptr; }

private:
    void cancel_all() const
    {
        ::EnumThreadWindows(
            owner_thread,
            [](HWND other, LPARAM) -> BOOL
            {
                ::PostMessageA(other, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                return TRUE;
            },
            0);
    }

    DWORD owner_thread;
    HWND window = nullptr;
    std::thread thread;
};

inline std::string get_item_text(HWND dialog, int id)
{
    char text[2048] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

} // namespace test
