#include "ravik/widget/Knob.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ravik/GraphicMessages.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/TimerMessages.hpp"
#include "ravik/widget/Layers.hpp"
#include "sys/Clock.hpp"

namespace ravik
{

void Knob::set_opacity(float opacity)
{
    if (std::abs(opacity - opacity_) > 1e-9 * std::max(std::abs(opacity_), 1e-30f))
    {
        opacity_ = opacity;
        invalidate_area();
    }
}

void Knob::set_nbr_frames(int n)
{
    frames_.assign(static_cast<std::size_t>(std::max(n, 0)), Picture());
    frame_set_.assign(frames_.size(), false);
}

void Knob::set_frame(int index, const Picture& picture)
{
    frames_.at(static_cast<std::size_t>(index)) = picture;
    frame_set_[static_cast<std::size_t>(index)] = true;
}

void Knob::set_pointer_dots(const Picture& a, const Picture& b)
{
    optional_.set(pic_dot_a, a);
    optional_.set(pic_dot_b, b);
}

void Knob::set_angle(float offset, float span)
{
    angle_offset_ = offset;
    angle_span_ = span;
}

void Knob::set_frame_phase(float start, float period)
{
    phase_start_ = start;
    phase_period_ = period;
}

void Knob::set_pointer_dot_offset(float x, float y)
{
    dot_offset_x_ = x;
    dot_offset_y_ = y;
}

double Knob::pointer_turns() const
{
    return angle_offset_ + angle_span_ * get_value();
}

int Knob::get_frame_index(double* remainder) const
{
    const int n = static_cast<int>(frames_.size());
    if (n == 0)
    {
        return -1;
    }
    const double u = (pointer_turns() - phase_start_) / phase_period_ + 0.5 / n;
    const double pos = (u - std::floor(u)) * n;
    const int index = std::min(static_cast<int>(std::floor(pos)), n - 1);
    if (remainder != nullptr)
    {
        *remainder = (pos - index - 0.5) * (phase_period_ / n) * 2.0 * std::numbers::pi;
    }
    return index;
}

void Knob::cancel_interaction()
{
    pot_.reset();
    pressed_ = false;
    released_ = false;
}

std::int32_t Knob::press(const MouseClick& message)
{
    if ((pot_.get_mode() != PotBehaviour::idle && !released_) || !is_enabled())
    {
        return 0;
    }
    cancel_interaction();
    // The corners are judged on the first frame, which is what the user sees.
    Rect box = get_bounding_box();
    if (!frames_.empty() && frame_set_[0])
    {
        box = frames_[0].get_bounding_box();
    }
    const long long x = message.pos.x - get_abs_position().x - box.x1;
    const long long y = message.pos.y - get_abs_position().y - box.y1;
    const long long w = box.x2 - box.x1;
    const long long h = box.y2 - box.y1;
    const bool left = 3 * y * w > (3 * x + 2 * w) * h;
    const bool right = 3 * y * w > (5 * w - 3 * x) * h;
    pressed_ = true;
    released_ = false;
    if ((!left && !right) || angle_span_ == 0.0f)
    {
        pot_.begin_drag(get_value());
        pot_.set_press_position(-message.pos.y, message.pos.x);
    }
    else
    {
        const float sign = angle_span_ > 0.0f ? 1.0f : -1.0f;
        click_point_ = message.pos;
        spin_velocity_ = (left ? sign : -sign) * corner_speed_;
        pot_.begin_velocity();
    }
    return 1;
}

std::int32_t Knob::release()
{
    signal(200);
    const bool dragging = pot_.get_mode() == PotBehaviour::drag && !released_;
    if (dragging)
    {
        pot_.hold_glide(get_value());
    }
    pot_.release();
    released_ = true;
    pressed_ = false;
    end_gesture();
    if (dragging)
    {
        invalidate_area();
    }
    return 1;
}

std::int32_t Knob::handle_mouse_click(MouseClick& message)
{
    if (message.double_click != 0)
    {
        reset_to_default(1);
        return 1;
    }
    return message.buttons != 0 ? press(message) : release();
}

std::int32_t Knob::handle_mouse_move(MouseMove& message)
{
    if (released_)
    {
        return 0;
    }
    if (pot_.get_mode() == PotBehaviour::drag)
    {
        pot_.drag_move(-message.pos.y, message.pos.x, drag_range_, h_factor_);
        double value = get_value();
        pot_.approach(value, sys::get_time_s());
        if (pot_.has_changed() && !set_value(value, 200))
        {
            cancel_interaction();
        }
        return 1;
    }
    if (pot_.get_mode() == PotBehaviour::velocity)
    {
        const int dx = message.pos.x - click_point_.x;
        if (std::abs(dx) > 4)
        {
            spin_velocity_ =
                static_cast<float>(std::abs(dx) * dx) * corner_speed_ * 1.52587890625e-05f;
            pot_.set_velocity_direct(true);
        }
        return 1;
    }
    return 0;
}

std::int32_t Knob::handle_mouse_capture_lost(MouseCaptureLost&)
{
    pot_.capture_lost();
    return 0;
}

std::int32_t Knob::handle_notify(Notify& message)
{
    if (message.id != pot_.get_timer_id() || pot_.get_timer_id() == -1)
    {
        return 0;
    }
    if (pressed_)
    {
        trigger(200);
    }
    double value = get_value();
    if (pot_.get_mode() == PotBehaviour::drag)
    {
        pot_.approach(value, message.value);
    }
    else
    {
        pot_.move_by_velocity(value, message.value, released_ ? 0.0 : spin_velocity_);
    }
    if (!pot_.has_changed())
    {
        if (released_)
        {
            cancel_interaction();
        }
        return 0;
    }
    const int origin = !pressed_ && !pot_.is_velocity_direct() ? 50 : 200;
    if (!set_value(value, origin))
    {
        cancel_interaction();
    }
    return 0;
}

std::int32_t Knob::handle_redraw(Redraw& message)
{
    const double x = get_abs_position().x;
    const double y = get_abs_position().y;
    if (optional_.has(pic_background))
    {
        draw_layer(optional_.get(pic_background), message, x, y, opacity_);
    }
    double turn = 0.0;
    const int index = get_frame_index(&turn);
    if (index >= 0 && frame_set_[static_cast<std::size_t>(index)])
    {
        const Picture& frame = frames_[static_cast<std::size_t>(index)];
        if (rotate_frames_)
        {
            draw_layer_rotated(frame, message, x, y, turn, opacity_);
        }
        else
        {
            draw_layer(frame, message, x, y, opacity_);
        }
    }
    if (draw_dots_)
    {
        const double a = 2.0 * std::numbers::pi * pointer_turns();
        const double px = x + pointer_radius_ * std::cos(a) + dot_offset_x_;
        const double py = y - pointer_radius_ * std::sin(a) + dot_offset_y_;
        for (const unsigned bit : {pic_dot_b, pic_dot_a})
        {
            if (optional_.has(bit))
            {
                draw_layer(optional_.get(bit), message, px, py, opacity_);
            }
        }
    }
    if (optional_.has(pic_top))
    {
        draw_layer(optional_.get(pic_top), message, x, y, opacity_);
    }
    draw_highlights(*this, message, x, y, opacity_);
    if (is_active() && optional_.has(pic_active))
    {
        draw_layer(optional_.get(pic_active), message, x, y, opacity_);
    }
    if (pot_.get_mode() == PotBehaviour::drag && !released_ && optional_.has(pic_drag))
    {
        draw_layer(optional_.get(pic_drag), message, x, y, opacity_);
    }
    return draw_picture(message);
}

} // namespace ravik
