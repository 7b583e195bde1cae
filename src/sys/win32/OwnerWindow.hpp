#pragma once

#include <windows.h>

namespace sys::win32
{

// The owner of the plug-in's dialogs and message boxes: the foreground window, which is the
// host's window the user just clicked in, but only when it belongs to this process. Owning a
// window of another program would join the input of both programs and can freeze them; without
// an owner the caller makes the box task-modal instead.
inline HWND find_owner_window()
{
    const HWND window = ::GetForegroundWindow();
    if (window == nullptr)
    {
        return nullptr;
    }
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process == ::GetCurrentProcessId() ? window : nullptr;
}

} // namespace sys::win32
