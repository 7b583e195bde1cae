#pragma once

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "ravik/Geometry.hpp"
#include "ravik/RenderingBufferMemory.hpp"

namespace ravik
{
class WindowX11;
}

namespace test
{

// What a Linux VST 2 host is to the plug-in's window: a top-level window on a connection of its
// own to open the editor in, and the user's real mouse and keyboard through XTest. It drives the
// window one of the two ways hosts do: calling idle, or calling the window's _XEventProc with the
// events it receives for the window. The window is this process's WindowX11, or one inside a
// plug-in module that only effEditIdle reaches. Needs an X server (DISPLAY) with XTest and
// XFixes: without one the constructor throws.
class X11Host
{
public:
    enum class Dispatch
    {
        idle,
        event_proc,
    };

    // Where the host's window sits on the screen.
    static constexpr ravik::Point origin{40, 30};
    static constexpr ravik::Point size{400, 420};

    X11Host(ravik::WindowX11& window, Dispatch dispatch);
    // A module's window: idle is what effEditIdle does, called every 10 ms.
    X11Host(std::function<void()> idle, Dispatch dispatch);
    ~X11Host();
    X11Host(const X11Host&) = delete;
    X11Host& operator=(const X11Host&) = delete;

    // What effEditOpen passes.
    void* get_parent() const;
    // After opening: finds the plug-in's window in the host's and its event function.
    void adopt();
    Window get_child() const { return child_; }
    Display* get_display() const { return display_; }
    using EventProc = void (*)(XEvent*);
    EventProc get_event_proc() const { return proc_; }

    // The user, in the plug-in window's coordinates.
    void move(const ravik::Point& pos);
    // Moves on the server all at once, before the plug-in can answer any of them.
    void move_at_once(std::initializer_list<ravik::Point> path);
    void button(unsigned button, bool down);
    void click(unsigned button);
    void key(KeySym sym, bool down);
    void tap(KeySym sym);
    // Taps the keys of plain letters and digits.
    void type(const std::string& text);
    // Waits for the server to have carried out what the plug-in asked for so far (the server
    // serves its connections in no set order), before the user acts on it.
    void settle();
    // Where the pointer is, in the plug-in window's coordinates.
    ravik::Point get_pointer() const;
    // Whether the cursor on screen has a visible pixel.
    bool is_cursor_visible() const;

    // Runs the host's side, waiting for real events, until done holds: false when it still does
    // not after a generous limit.
    bool pump(const std::function<bool()>& done);

private:
    void flush();

    // The connection that asks the server: the plug-in's own when the window is this process's
    // (it reads after everything the plug-in asked for), else the host's, whose callers wait for
    // the state they expect.
    Display* get_query_display() const;

    ravik::WindowX11* window_ = nullptr;
    std::function<void()> idle_;
    Dispatch dispatch_;
    Display* display_ = nullptr;
    Window parent_ = 0;
    Window child_ = 0;
    EventProc proc_ = nullptr;
};

// What the server shows of a window, read through display (the plug-in's own connection reads
// after everything it has drawn). The fourth byte, which the server does not keep, reads 0xFF.
std::unique_ptr<ravik::RenderingBufferMemory> read_window(Display* display, Window window);

// The number of pixels that differ, both buffers of the same size.
int count_differences(const ravik::RenderingBufferMemory& a, const ravik::RenderingBufferMemory& b);

} // namespace test
