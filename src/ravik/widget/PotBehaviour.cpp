#include "ravik/widget/PotBehaviour.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ravik/MouseMessages.hpp"
#include "ravik/TimerMessages.hpp"
#include "ravik/widget/MouseMode.hpp"
#include "ravik/widget/PotInterface.hpp"
#include "sys/Clock.hpp"

namespace ravik
{

namespace
{

constexpr double angle_to_vertical = 1.1780972450961724;    // 67.5 degrees
constexpr double angle_to_horizontal = 0.39269908169872414; // 22.5 degrees
constexpr double far_away = 999999.0;

} // namespace

PotBehaviour::PotBehaviour(PotInterface& control)
    : control_(control)
{
}

double PotBehaviour::get_target() const
{
    return std::clamp(target_, 0.0, 1.0);
}

int PotBehaviour::start_timer()
{
    capture_held_ = true;
    last_tick_ = sys::get_time_s();
    int id = -1;
    SetTimer timer(&control_, tick_period, id);
    if (const int ret = control_.process_message(timer); ret != 0)
    {
        reset();
        return ret;
    }
    timer_id_ = id;
    axis_ = 0;
    smooth_v_ = 1.0f;
    smooth_h_ = 0.0f;
    h_travel_ = 0;
    velocity_ = 0.0;
    return 0;
}

int PotBehaviour::begin_drag(double value)
{
    reset();
    mode_ = drag;
    first_move_ = true;
    MouseCapture capture(&control_,
                         MouseMode::is_compatible() ? capture::visible : capture::relative);
    if (const int ret = control_.process_message(capture); ret != 0)
    {
        reset();
        return ret;
    }
    if (const int ret = start_timer(); ret != 0)
    {
        return ret;
    }
    raw_ = value;
    target_ = value;
    return 0;
}

int PotBehaviour::begin_velocity()
{
    range_on_ = false;
    reset();
    mode_ = velocity;
    MouseCapture capture(&control_, capture::visible);
    if (const int ret = control_.process_message(capture); ret != 0)
    {
        reset();
        return ret;
    }
    return start_timer();
}

int PotBehaviour::begin_velocity_to(double value, double limit)
{
    const int ret = begin_velocity();
    range_on_ = true;
    range_min_ = limit > value ? 0.0 : limit < value ? limit : 0.0;
    range_max_ = limit > value ? limit : 1.0;
    return ret;
}

void PotBehaviour::set_press_position(int along, int across)
{
    if (MouseMode::is_compatible())
    {
        last_mouse_ = {across, along};
        first_move_ = false;
    }
}

void PotBehaviour::drag_move(int along, int across, int range, float h_factor)
{
    if (first_move_)
    {
        last_mouse_ = {across, along};
        first_move_ = false;
        if (across == 0 && along == 0)
        {
            return;
        }
    }
    if (MouseMode::is_compatible())
    {
        const Point now{across, along};
        across -= last_mouse_.x;
        along -= last_mouse_.y;
        last_mouse_ = now;
    }

    smooth_h_ += (static_cast<float>(std::abs(across)) - smooth_h_) * 0.9f;
    smooth_v_ += (static_cast<float>(std::abs(along)) - smooth_v_) * 0.9f;
    const double angle =
        std::abs(smooth_h_) < 1e-9f ? std::numbers::pi : std::atan(smooth_v_ / smooth_h_);
    if (axis_ == 1 && angle >= angle_to_vertical)
    {
        axis_ = 0;
        h_travel_ = 0;
    }
    else if (axis_ == 0 && angle <= angle_to_horizontal)
    {
        axis_ = 1;
    }

    double delta = along;
    if (axis_ == 1)
    {
        delta = across * static_cast<double>(h_factor);
        const int before = h_travel_;
        h_travel_ += std::abs(across);
        if (before < snap_travel && h_travel_ >= snap_travel)
        {
            raw_ = target_;
        }
    }
    delta /= range != 0 ? range : 1;

    // Reversing at an end acts at once.
    if (raw_ > 1.0 && delta < 0.0)
    {
        raw_ = 1.0 + delta;
    }
    else if (raw_ < 0.0 && delta > 0.0)
    {
        raw_ = delta;
    }
    else
    {
        raw_ += delta;
    }
    target_ = h_travel_ < snap_travel ? snap(raw_, target_) : raw_;
}

double PotBehaviour::snap(double raw, double previous) const
{
    if (snap_list_ == nullptr)
    {
        return raw;
    }
    const double c = std::clamp(raw, 0.0, 1.0);
    const bool previous_in = previous >= 0.0 && previous <= 1.0;
    const double hint = previous_in ? std::abs(c - previous) : far_away;
    double best_distance = far_away;
    const double* best = nullptr;
    for (const double& s : *snap_list_)
    {
        const double d = std::abs(c - s);
        if (d < best_distance && 3.0 * d < hint)
        {
            best_distance = d;
            best = &s;
        }
    }
    if (best != nullptr)
    {
        return *best;
    }
    return previous_in ? previous : -1.0;
}

void PotBehaviour::approach(double& value, double now)
{
    const double before = value;
    const double d = target_ - value;
    const double dt = now - last_tick_;
    if (std::abs(d) > 1e-6)
    {
        double rate = speed_;
        if (std::abs(d) >= 1e-9 && last_distance_ > 1.5 * std::abs(d))
        {
            rate *= last_distance_ / std::abs(d);
        }
        value += (1.0 - std::exp(-2.0 * std::numbers::pi * rate * dt)) * d;
    }
    else
    {
        value = target_;
    }
    value = std::clamp(value, 0.0, 1.0);
    last_distance_ = std::abs(d);
    last_tick_ = now;
    changed_ = value != before;
}

void PotBehaviour::move_by_velocity(double& value, double now, double wanted)
{
    const double before = value;
    const double dt = now - last_tick_;
    if (std::abs(velocity_) < 1e-6 && std::abs(8.0 * wanted) < 1e-9)
    {
        velocity_ = 0.0;
    }
    if (!velocity_direct_)
    {
        const double old = velocity_;
        velocity_ += (8.0 * wanted - 8.0 * velocity_) * dt / (std::abs(wanted) < 1e-9 ? 1.0 : 64.0);
        velocity_ = std::clamp(velocity_, std::min(old, wanted), std::max(old, wanted));
    }
    else if (std::abs(wanted) >= 1e-9)
    {
        velocity_ = wanted;
    }
    const double lo = range_on_ ? range_min_ : 0.0;
    const double hi = range_on_ ? range_max_ : 1.0;
    value += velocity_ * dt;
    if (value < lo || value > hi)
    {
        value = std::clamp(value, lo, hi);
        velocity_ = 0.0;
    }
    last_tick_ = now;
    changed_ = value != before;
}

void PotBehaviour::set_return_point(const Point& point)
{
    return_point_ = point;
    has_return_point_ = true;
}

void PotBehaviour::release()
{
    if (!capture_held_)
    {
        return;
    }
    capture_held_ = false;
    if (has_return_point_)
    {
        MouseRelease let_go(&control_, control_.get_abs_position() + return_point_);
        control_.process_message(let_go);
    }
    else
    {
        MouseRelease let_go(&control_);
        control_.process_message(let_go);
    }
}

void PotBehaviour::hold_glide(double value)
{
    if (mode_ == drag && value != get_target())
    {
        control_.trigger(50);
    }
}

void PotBehaviour::reset()
{
    if (timer_id_ != -1)
    {
        ClearTimer clear(timer_id_);
        timer_id_ = -1;
        control_.process_message(clear);
    }
    release();
    mode_ = idle;
    velocity_direct_ = false;
}

} // namespace ravik
