#pragma once

#include <vector>

#include "ravik/Geometry.hpp"

namespace ravik
{

class PotInterface;

// The drag engine of knobs and faders. A drag moves a target with the mouse (vertical or
// horizontal, chosen from the motion's angle with hysteresis, snapping to a list while the drag
// stays vertical) and a one-pole follower carries the shown value to it on a 30 ms timer; a
// velocity run moves the value at a speed instead. Messages go up through the control: capture,
// timer, release. Times are seconds of the plug-in's clock. Editor thread.
class PotBehaviour
{
public:
    enum Mode
    {
        idle = 0,
        drag = 1,
        velocity = 2,
    };

    static constexpr float tick_period = 0.03f;
    // Horizontal pixels after which a horizontal drag stops snapping.
    static constexpr int snap_travel = 17;

    explicit PotBehaviour(PotInterface& control);
    virtual ~PotBehaviour() = default;
    PotBehaviour(const PotBehaviour&) = delete;
    PotBehaviour& operator=(const PotBehaviour&) = delete;

    // 0, or the window's refusal of the capture or the timer (nothing then runs).
    int begin_drag(double value);
    int begin_velocity();
    // A velocity run that stops at limit, on its side of value.
    int begin_velocity_to(double value, double limit);

    // In compatible mouse mode, where moves are absolute: the press position, which the first
    // move is measured from (it would otherwise only be remembered, and lost).
    void set_press_position(int along, int across);
    // along: upward motion, across: rightward motion (absolute positions in compatible mouse
    // mode), range: pixels for the whole range, h_factor: weight of horizontal drags.
    void drag_move(int along, int across, int range, float h_factor);
    // One step of the follower from value towards the target.
    void approach(double& value, double now);
    // One step of a velocity run; wanted is the speed asked for, in value per second.
    void move_by_velocity(double& value, double now, double wanted);
    // The target for raw given the previous target: the snap list's entry that raw comes
    // clearly closest to, else the previous target (or -1 when that was outside 0..1).
    double snap(double raw, double previous) const;

    // Relative to the control: where the cursor goes when the capture ends.
    void set_return_point(const Point& point);
    void clear_return_point() { has_return_point_ = false; }
    void release();
    // At the release of a drag: a glide from value still on its way to the target holds the
    // parameter from then on, at the priority of its coming steps (50); else the host's gesture
    // could end before the next step, which would open another one.
    void hold_glide(double value);
    void capture_lost() { capture_held_ = false; }
    void reset();

    // Not owned; sorted.
    void set_snap_list(const std::vector<double>* list) { snap_list_ = list; }
    void clear_snap_list() { snap_list_ = nullptr; }
    void set_speed(double hertz) { speed_ = hertz; }
    void set_velocity_direct(bool direct) { velocity_direct_ = direct; }

    Mode get_mode() const { return mode_; }
    double get_target() const;
    double get_raw() const { return raw_; }
    double get_velocity() const { return velocity_; }
    bool is_velocity_direct() const { return velocity_direct_; }
    bool has_changed() const { return changed_; }
    bool holds_capture() const { return capture_held_; }
    int get_timer_id() const { return timer_id_; }
    bool is_horizontal() const { return axis_ == 1; }

private:
    int start_timer();

    PotInterface& control_;
    double last_distance_ = 0.0;
    double last_tick_ = 0.0;
    double raw_ = 0.0;
    double target_ = 0.0;
    double speed_ = 3.0;
    int axis_ = 0;
    float smooth_v_ = 1.0f;
    float smooth_h_ = 0.0f;
    int h_travel_ = 0;
    bool first_move_ = false;
    Point last_mouse_;
    double velocity_ = 0.0;
    bool velocity_direct_ = false;
    const std::vector<double>* snap_list_ = nullptr;
    Point return_point_;
    bool has_return_point_ = false;
    int timer_id_ = -1;
    Mode mode_ = idle;
    bool capture_held_ = false;
    bool changed_ = false;
    bool range_on_ = false;
    double range_min_ = 0.0;
    double range_max_ = 1.0;
};

} // namespace ravik
