#pragma once

#include <thread>

#include "ravik/TimerManager.hpp"
#include "ravik/WindowInterface.hpp"

namespace ravik
{

class MouseRelease;
class TextInputRequest;

// What every system's window shares: it turns the system's mouse, paint and timer events into
// toolkit messages and answers the controls' up messages. A system's window only opens and closes
// its native window, feeds the on_ events from the system's, and realises the native_ hooks, so
// that the toolkit behaves and draws the same in every window. Editor thread only.
class WindowHost : public WindowInterface
{
public:
    // In relative capture mode the cursor is put back at the hot spot no more often than this,
    // and not before the drag has lasted min_drag_ms, so that short clicks leave it alone.
    static constexpr double recentre_interval_ms = 100.0;
    static constexpr double min_drag_ms = 250.0;

    explicit WindowHost(const Point& size);

    // Answers the up messages while the native window exists; -1 otherwise.
    std::int32_t process_message(MessageInterface& message) override;

    // Events from the system, in window coordinates.
    void on_mouse_button(const Point& pos, int buttons, int modifiers, int double_click);
    void on_mouse_move(const Point& pos);
    void on_mouse_wheel(const Point& pos, float steps, int modifiers);
    // The system took the capture away (or confirmed its release).
    void on_capture_changed();
    // Paints update, limited to the content, and fills what lies outside the content.
    void on_paint(const Rect& update);
    void on_timer() { timers_.poll(); }
    // The native window is gone.
    void on_destroyed();

    TimerManager& use_timers() { return timers_; }
    bool is_cursor_hidden() const { return cursor_hidden_; }

protected:
    virtual bool is_open_native() const = 0;
    // Asks the system to paint rect (already limited to the content) soon.
    virtual void invalidate_native(const Rect& rect) = 0;
    // Both true when the window holds the capture afterwards / no longer holds it.
    virtual bool take_capture_native() = 0;
    virtual bool release_capture_native() = 0;
    virtual void show_cursor_native(bool shown) = 0;
    virtual Point get_cursor_native() const = 0;
    virtual void set_cursor_native(const Point& pos) = 0;
    // The parts of update outside the content.
    virtual void fill_outside_native(const Rect& /*update*/) {}
    // A press ends a text entry in progress the way leaving its field does.
    virtual void end_text_entry_native();

    // The whole window area, or the content when the window fits it.
    Point get_native_size() const;
    void show_cursor();

private:
    // Where a mouse event goes, with pos made relative in relative capture mode.
    MessageHandlerInterface* mouse_target(Point& pos);
    std::int32_t capture(MessageHandlerInterface* holder, int mode);
    std::int32_t release(const MouseRelease& message);
    std::int32_t start_text_entry(const TextInputRequest& message);

    TimerManager timers_;
    // The last position seen during a relative capture.
    Point cursor_;
    std::thread::id capture_thread_;
    double capture_start_ms_ = 0.0;
    double last_recentre_ms_ = 0.0;
    bool cursor_hidden_ = false;
};

} // namespace ravik
