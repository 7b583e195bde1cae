#pragma once

#include <array>
#include <vector>

#include "ravik/BoundingBoxDefaultChecker.hpp"
#include "ravik/Geometry.hpp"
#include "ravik/MessageHandlerInterface.hpp"
#include "ravik/Picture.hpp"

namespace ravik
{

class ClearTimer;
class Disconnecting;
class EventListenerInterface;
class Invalidate;
class KeyPressed;
class MouseCapture;
class MouseCaptureLost;
class MouseClick;
class MouseDirectCapture;
class MouseDirectMove;
class MouseDirectRelease;
class MouseMove;
class MouseRelease;
class MouseWheelMove;
class Notify;
class Redraw;
class RedrawBegin;
class RedrawEnd;
class SetTimer;
class ShowObject;
class TextInputFinished;

// The base of every widget: a value between 0 and 1 that listeners watch, filter and may refuse,
// a bounding box for hit tests, state marks and enabled/active flags. Runs on the editor's thread.
// Listeners and the parent are not owned.
class ControlInterface : public BoundingBoxDefaultChecker, public MessageHandlerInterface
{
public:
    static constexpr int nbr_marks = 4;

    ControlInterface() = default;
    ControlInterface(const Point& rel_pos, EventListenerInterface* listener, double value,
                     const Rect& bounding_box);
    ~ControlInterface() override = default;

    // The point is in window coordinates.
    virtual bool is_inside(const Point& p) const;
    virtual void invalidate();
    // The control is hidden or disabled while the user interacts with it.
    virtual void cancel_interaction() {}
    virtual void on_active_changed(bool /*active*/) {}
    virtual void on_enabled_changed(bool /*enabled*/) {}
    virtual void on_mark_changed() {}

    // What the control does with each message it receives. Up messages go to the parent (-1
    // without one); down messages are ignored (0) until a widget gives them a meaning.
    virtual std::int32_t handle_invalidate(Invalidate& message);
    virtual std::int32_t handle_redraw_begin(RedrawBegin& /*message*/) { return 0; }
    virtual std::int32_t handle_redraw(Redraw& /*message*/) { return 0; }
    virtual std::int32_t handle_redraw_end(RedrawEnd& /*message*/) { return 0; }
    virtual std::int32_t handle_mouse_capture(MouseCapture& message);
    virtual std::int32_t handle_mouse_release(MouseRelease& message);
    virtual std::int32_t handle_mouse_capture_lost(MouseCaptureLost& /*message*/) { return 0; }
    virtual std::int32_t handle_mouse_move(MouseMove& /*message*/) { return 0; }
    virtual std::int32_t handle_mouse_click(MouseClick& /*message*/) { return 0; }
    virtual std::int32_t handle_set_timer(SetTimer& message);
    virtual std::int32_t handle_clear_timer(ClearTimer& message);
    virtual std::int32_t handle_notify(Notify& /*message*/) { return 0; }
    virtual std::int32_t handle_key_pressed(KeyPressed& /*message*/) { return 0; }
    virtual std::int32_t handle_text_input_finished(TextInputFinished& /*message*/) { return 0; }
    virtual std::int32_t handle_show_object(ShowObject& /*message*/) { return 0; }
    virtual std::int32_t handle_disconnecting(Disconnecting& /*message*/) { return 0; }
    virtual std::int32_t handle_mouse_direct_capture(MouseDirectCapture& message);
    virtual std::int32_t handle_mouse_direct_release(MouseDirectRelease& message);
    virtual std::int32_t handle_mouse_direct_move(MouseDirectMove& /*message*/) { return 0; }
    virtual std::int32_t handle_mouse_wheel_move(MouseWheelMove& /*message*/) { return 0; }

    // Asks the window to repaint the control's bounding box; nothing while hidden.
    virtual void invalidate_area();

    // Tells the listeners, then hands the message to its handler above.
    std::int32_t process_message(MessageInterface& message) override;
    // Passes a message on to the parent: its answer, or -1 without one.
    std::int32_t pass_to_parent(MessageInterface& message);

    // The position within the containing group; the group's layout sets the absolute one.
    void set_position(const Point& rel_pos);
    const Point& get_position() const { return rel_pos_; }
    const Point& get_abs_position() const { return abs_pos_; }
    void set_abs_position(const Point& abs_pos) { abs_pos_ = abs_pos; }
    MessageHandlerInterface* get_parent() const { return parent_; }
    void set_parent(MessageHandlerInterface* parent) { parent_ = parent; }
    bool is_shown() const { return shown_; }
    void set_shown(bool shown) { shown_ = shown; }
    void set_redraw_on_change(bool flag) { redraw_on_change_ = flag; }

    double get_value() const { return value_; }
    void set_default_value(double value) { default_value_ = value; }
    double get_default_value() const { return default_value_; }
    // A change that listeners may refuse and filter; false when one refused it.
    bool set_value(double value, int origin);
    // A change imposed from outside the control (a parameter shown, a preset recalled).
    void force_value(double value, int origin);
    bool reset_to_default(int origin) { return set_value(default_value_, origin); }

    void enable();
    void disable();
    bool is_enabled() const { return enabled_; }
    bool is_active() const { return active_; }
    void set_mark(int index, bool flag);
    bool get_mark(int index) const;

    void begin_gesture();
    // The user let go (the widgets' release), or the control was hidden or disabled: clears the
    // active flag and tells the listeners. Nothing when not active.
    void end_gesture();
    void trigger(int origin);
    void signal(int origin);
    void notify_listeners(int code, void* data);

    // These throw std::runtime_error when called from inside a notification of this control.
    void set_listener(EventListenerInterface* listener);
    void push_back_listener(EventListenerInterface* listener);
    void remove_listener(EventListenerInterface* listener);
    EventListenerInterface* get_listener(int index) const;
    int get_nbr_listeners() const { return static_cast<int>(listeners_.size()); }

    // Pictures: the control draws the selected one, if set, at its position plus the offset.
    void set_nbr_pictures(int n);
    int get_nbr_pictures() const { return static_cast<int>(pictures_.size()); }
    void set_picture(int index, const Picture& picture);
    const Picture* get_picture(int index) const;
    void select_picture(int index);
    int get_selected_picture() const { return picture_index_; }
    void set_picture_offset(const Point& offset) { picture_offset_ = offset; }
    void use_pictures(bool flag) { pictures_on_ = flag; }
    // Draws the selected picture moved by (dx, dy), clipped to the tile. Returns 0.
    int draw_picture(Redraw& redraw, int dx = 0, int dy = 0) const;
    // Flips the outline flag and frames the bounding box, red when it became set, else green.
    void toggle_outline(Redraw& redraw);

protected:
    // Set while listeners are being told something; restores the previous state on leaving.
    class NotificationGuard
    {
    public:
        explicit NotificationGuard(ControlInterface& control)
            : control_(control)
            , saved_(control.in_notification_)
        {
            control.in_notification_ = true;
        }
        ~NotificationGuard() { control_.in_notification_ = saved_; }
        NotificationGuard(const NotificationGuard&) = delete;
        NotificationGuard& operator=(const NotificationGuard&) = delete;

    private:
        ControlInterface& control_;
        bool saved_;
    };

private:
    double value_ = 0.0;
    double default_value_ = 0.5;
    Point abs_pos_;
    Point rel_pos_;
    bool enabled_ = true;
    bool active_ = false;
    std::array<bool, nbr_marks> marks_{};
    MessageHandlerInterface* parent_ = nullptr;
    std::vector<EventListenerInterface*> listeners_;
    bool shown_ = false;
    bool redraw_on_change_ = true;
    bool in_notification_ = false;
    bool pictures_on_ = false;
    struct PictureSlot
    {
        Picture picture;
        bool unset = true;
    };
    std::vector<PictureSlot> pictures_;
    int picture_index_ = -1;
    Point picture_offset_;
    bool outline_ = true;
};

} // namespace ravik
