#include "ravik/widget/Fader.hpp"

#include <algorithm>
#include <cmath>

#include "ravik/GraphicMessages.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/TimerMessages.hpp"
#include "ravik/widget/Layers.hpp"
#include "sys/Clock.hpp"

namespace ravik
{

void Fader::set_opacity(float opacity)
{
    if (std::abs(opacity - opacity_) > 1e-9 * std::max(std::abs(opacity_), 1e-30f))
    {
        opacity_ = opacity;
        invalidate_area();
    }
}

Point Fader::get_handle_position() const
{
    const int pos = static_cast<int>(std::lround(get_value() * length_));
    return vertical_ ? Point{0, length_ - pos} : Point{pos, 0};
}

Point Fader::handle_centre() const
{
    const Rect& box = handle_.get_bounding_box();
    return get_handle_position() + Point{(box.x1 + box.x2) / 2, (box.y1 + box.y2) / 2};
}

void Fader::cancel_interaction()
{
    pot_.reset();
    pressed_ = false;
    released_ = false;
}

std::int32_t Fader::press(const MouseClick& message)
{
    if ((pot_.get_mode() != PotBehaviour::idle && !released_) || !is_enabled())
    {
        return 0;
    }
    cancel_interaction();
    pressed_ = true;
    const Point rel = message.pos - get_abs_position();
    if (!no_jump_ && !handle_.is_inside(rel - get_handle_position()))
    {
        // The handle runs to the click and stops there.
        const int distance = along(rel - handle_centre());
        jump_velocity_ = static_cast<float>((distance + 0.5) * jump_speed_ / std::max(length_, 1));
        click_point_ = message.pos;
        const double limit = get_value() + static_cast<double>(distance) / std::max(length_, 1);
        pot_.begin_velocity_to(get_value(), std::clamp(limit, 0.0, 1.0));
        return 1;
    }
    pot_.set_return_point(rel);
    pot_.begin_drag(get_value());
    pot_.set_press_position(along(message.pos), across(message.pos));
    return 1;
}

std::int32_t Fader::release()
{
    signal(200);
    const bool dragging = pot_.get_mode() == PotBehaviour::drag && !released_;
    if (dragging)
    {
        pot_.hold_glide(get_value());
    }
    pot_.set_return_point(handle_centre());
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

std::int32_t Fader::handle_mouse_click(MouseClick& message)
{
    if (message.double_click != 0)
    {
        reset_to_default(1);
        return 1;
    }
    return message.buttons != 0 ? press(message) : release();
}

std::int32_t Fader::handle_mouse_move(MouseMove& message)
{
    if (released_)
    {
        return 0;
    }
    if (pot_.get_mode() == PotBehaviour::drag)
    {
        const int range = drag_range_ != -1 ? drag_range_ : length_;
        pot_.drag_move(along(message.pos), across(message.pos), range, h_factor_);
        double value = get_value();
        pot_.approach(value, sys::get_time_s());
        if (pot_.has_changed() && !set_value(value, 200))
        {
            cancel_interaction();
            return 1;
        }
        pot_.set_return_point(handle_centre());
        return 1;
    }
    if (pot_.get_mode() == PotBehaviour::velocity)
    {
        const int d = along(message.pos - click_point_);
        if (std::abs(d) >= 5)
        {
            jump_velocity_ = static_cast<float>(std::abs(d) * d) * jump_speed_ / 65536.0f;
            pot_.set_velocity_direct(true);
        }
        return 1;
    }
    return 0;
}

std::int32_t Fader::handle_mouse_capture_lost(MouseCaptureLost&)
{
    pot_.capture_lost();
    return 0;
}

std::int32_t Fader::handle_notify(Notify& message)
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
        pot_.move_by_velocity(value, message.value, released_ ? 0.0 : jump_velocity_);
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

std::int32_t Fader::handle_redraw(Redraw& message)
{
    const double x = get_abs_position().x;
    const double y = get_abs_position().y;
    if (optional_.has(pic_background))
    {
        draw_layer(optional_.get(pic_background), message, x, y, opacity_);
    }
    const Point handle = get_handle_position();
    draw_layer(handle_, message, x + handle.x, y + handle.y, opacity_);
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
