#pragma once

#include <memory>
#include <vector>

#include "ravik/DoubleClickDetector.hpp"
#include "ravik/RenderingBufferInterface.hpp"
#include "ravik/WindowHost.hpp"

// Xlib's Display and XEvent, without Xlib's macros in the files that include this one.
struct _XDisplay;
union _XEvent;

namespace ravik
{

class ConnectionX11;
class FontInterface;
class MenuX11;
class RenderingBufferX11;
class TextLineEditorX11;
class TickerX11;

// The toolkit's window in the X11 window that a Linux VST 2 host passes to effEditOpen: a child
// window on a connection of the plug-in's own, painted tile by tile from a 128 x 128 buffer
// (shared memory when the server offers it), with the same mouse, capture, timer, menu and text
// entry behaviour as on Windows. Its pop-up menus and text field are drawn by the toolkit with
// the window's font.
//
// Nothing here waits for an event: the only waits are round trips to the server (a grab, a
// shared-memory tile), so the host's thread never blocks on the plug-in. Hosts drive plug-in
// windows in one of two ways, and both work:
// - they call effEditIdle regularly, which calls idle();
// - they read the window's _XEventProc property (a pointer to event_proc, in two 32-bit items,
//   low half first) and call it for the window's events, as Ardour does; a thread then keeps the
//   timers going by having the host call it every few milliseconds (TickerX11).
// Either way the window handles what its connection received, ticks the timers and paints what
// was exposed or invalidated, on the host's user-interface thread.
class WindowX11 final : public WindowHost
{
public:
    static constexpr int tile_size = 128;
    // The strips of the window outside the content (buffer byte order).
    static constexpr Pixel outside_fill = 0xFFF0F0F0u;

    explicit WindowX11(const Point& size);
    ~WindowX11() override;

    // parent: the host's X window id, as effEditOpen passes it.
    int open_native(void* parent) override;
    void close_native() override;
    void on_content_resized() override;

    // effEditIdle: handles the events the server has sent, polls the timers and paints.
    void idle() override;
    // The function that a host calls for each X event of the window, found through the window's
    // _XEventProc property. The event only wakes the window: the window's own connection has
    // received the same events.
    static void event_proc(_XEvent* event);

    // The font of the window's menus and text fields; not owned.
    void set_font(const FontInterface* font) override;
    // Before opening: whether painting may use shared memory (the default).
    void set_shared_memory(bool allowed) { shared_allowed_ = allowed; }
    bool uses_shared_memory() const;

    // The window's own connection and window: null and 0 while closed.
    _XDisplay* get_display() const;
    unsigned long get_native_window() const { return window_; }
    // How many times the window has painted.
    long get_nbr_paints() const { return nbr_paints_; }
    TextLineEditorX11& use_text_editor() { return *editor_; }
    MenuX11& use_menu() { return *menu_; }

protected:
    bool is_open_native() const override { return window_ != 0; }
    void invalidate_native(const Rect& rect) override;
    bool take_capture_native() override;
    bool release_capture_native() override;
    void show_cursor_native(bool shown) override;
    Point get_cursor_native() const override { return pointer_; }
    void set_cursor_native(const Point& pos) override;
    void fill_outside_native(const Rect& update) override;

private:
    void process_events();
    void dispatch(_XEvent& event);
    void on_button(const _XEvent& event, bool pressed);
    // The position of a pointer event as the toolkit sees it.
    Point pointer_at(const _XEvent& event);
    // A crossing event while the window holds the grab.
    bool is_grab_lost(const _XEvent& crossing) const;
    void lose_capture();
    // The X window goes, or went with the host's window (exists false).
    void forget_window(bool exists);
    void paint_dirty();

    std::unique_ptr<ConnectionX11> connection_;
    std::unique_ptr<RenderingBufferX11> buffer_;
    std::unique_ptr<TextLineEditorX11> editor_;
    std::unique_ptr<MenuX11> menu_;
    std::unique_ptr<TickerX11> ticker_;
    unsigned long window_ = 0;
    unsigned long invisible_cursor_ = 0;
    unsigned long wake_up_atom_ = 0;
    bool shared_allowed_ = true;
    // Exposed or invalidated, not painted yet; rectangles that touch are merged.
    std::vector<Rect> dirty_;
    long nbr_paints_ = 0;
    // Where the pointer was at the event being handled, as the toolkit sees it (window
    // coordinates), and as the server reported it.
    Point pointer_;
    Point real_pointer_;
    // Buttons whose press the window saw; a release of another is not passed on.
    int pressed_ = 0;
    DoubleClickDetector clicks_;
    bool grabbed_ = false;
    unsigned long grab_serial_ = 0;
    // During a relative capture the toolkit goes on from where the motion left the pointer
    // while warps put the real pointer back: positions handed on are the server's plus offset_.
    // Events that the server made before it carried a warp out are seen from where the warp
    // put the pointer, and the motion that the warp itself makes is dropped.
    Point offset_;
    bool warping_ = false;
    unsigned long warp_serial_ = 0;
    Point warp_from_;
    Point warp_target_;
    // What offset_ becomes once the warp is carried out: the motion made before it.
    Point after_warp_offset_;
};

} // namespace ravik
