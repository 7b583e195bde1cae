#pragma once

#include <cstdint>
#include <string>

#include "ravik/WindowHost.hpp"
#include "ravik/win32/MenuWin32.hpp"
#include "ravik/win32/RenderingBufferWin32.hpp"
#include "ravik/win32/TextLineEditorWin32.hpp"

struct HDC__;
struct HWND__;

namespace ravik
{

// Sees the messages of the toolkit's window before the toolkit does.
class MessageHookInterface
{
public:
    virtual ~MessageHookInterface() = default;

    // True when it handled the message, which then goes no further.
    virtual bool pre_translate(HWND__* window, unsigned int message, std::uintptr_t wparam,
                               std::intptr_t lparam) = 0;
};

// The toolkit's window on Windows: a child window in the host's editor window, painted through a
// 128 x 128 bitmap, with a 2 ms system timer that polls the toolkit's timers. Its window, system
// timer, hidden cursor and capture belong to the thread that opened it.
class WindowWin32 final : public WindowHost
{
public:
    static constexpr int tile_size = 128;
    static constexpr unsigned int timer_period_ms = 2;
    static constexpr const char* title = "Tarvex Audio Plug-in";

    // size: of the content and of the window. The hook is not owned.
    explicit WindowWin32(const Point& size = {100, 100}, MessageHookInterface* hook = nullptr);
    ~WindowWin32() override;

    // parent: the host's window (HWND). 0, also when already open; -1 when the window could not be
    // made.
    int open_native(void* parent) override;
    void close_native() override;
    void on_content_resized() override;

    // The window's messages, from the system's procedure: true when handled.
    bool window_procedure(HWND__* window, unsigned int message, std::uintptr_t wparam,
                          std::intptr_t lparam);

    // "TarvexAudioPlugin" and the address of the system procedure, so that two loaded copies of
    // the plug-in never share a class.
    static const std::string& get_class_name();
    HWND__* get_handle() const { return window_; }
    TextLineEditorWin32& use_text_editor() { return editor_; }
    MenuWin32& use_menu() { return menu_; }

protected:
    bool is_open_native() const override { return window_ != nullptr; }
    void invalidate_native(const Rect& rect) override;
    bool take_capture_native() override;
    bool release_capture_native() override;
    void show_cursor_native(bool shown) override;
    Point get_cursor_native() const override;
    void set_cursor_native(const Point& pos) override;
    void fill_outside_native(const Rect& update) override;
    void end_text_entry_native() override;

private:
    void paint();
    void stop_timer();
    void on_window_destroyed();

    HWND__* window_ = nullptr;
    HWND__* parent_ = nullptr;
    // The system timer; 0 for none.
    std::uintptr_t timer_id_ = 0;
    MessageHookInterface* hook_;
    // The device context of the paint in progress.
    HDC__* paint_dc_ = nullptr;
    RenderingBufferWin32 buffer_{tile_size, tile_size};
    TextLineEditorWin32 editor_;
    MenuWin32 menu_;
};

} // namespace ravik
