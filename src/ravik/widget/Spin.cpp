#include "ravik/widget/Spin.hpp"

#include <algorithm>
#include <cmath>

#include "ravik/GraphicMessages.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/TimerMessages.hpp"
#include "ravik/widget/Layers.hpp"
#include "ravik/widget/MouseMode.hpp"
#include "sys/Clock.hpp"

namespace ravik
{

void Spin::set_repeat(double first_delay, double time_to_fast, float slow_period, float fast_period)
{
    first_delay_ = first_delay;
    time_to_fast_ = time_to_fast;
    slow_period_ = slow_period;
    fast_period_ = fast_period;
}

void Spin::set_steps(double slow, double fast, double per_pixel)
{
    slow_step_ = slow;
    fast_step_ = fast;
    per_pixel_ = per_pixel;
}

double Spin::stepped(double step) const
{
    if (list_ == nullptr || list_->empty())
    {
        return std::clamp(get_value() + step, 0.0, 1.0);
    }
    const auto& list = *list_;
    const auto first = std::lower_bound(list.begin(), list.end(), get_value());
    long long index = first - list.begin();
    long long move = std::llround(static_cast<double>(list.size()) * step);
    // A step always moves at least one entry, whatever the list's length.
    if (move == 0 && step != 0.0)
    {
        move = step > 0.0 ? 1 : -1;
    }
    index = std::clamp<long long>(index + move, 0, static_cast<long long>(list.size()) - 1);
    return std::clamp(list[static_cast<std::size_t>(index)], 0.0, 1.0);
}

void Spin::apply(double step)
{
    if (!set_value(stepped(step), 200))
    {
        cancel_interaction();
    }
}

bool Spin::start_timer(float period)
{
    int id = -1;
    SetTimer timer(this, period, id);
    if (process_message(timer) != 0)
    {
        return false;
    }
    timer_id_ = id;
    return true;
}

void Spin::stop_timer()
{
    if (timer_id_ != -1)
    {
        ClearTimer clear(timer_id_);
        timer_id_ = -1;
        process_message(clear);
    }
}

void Spin::cancel_interaction()
{
    stop_timer();
    if (capture_held_)
    {
        capture_held_ = false;
        MouseRelease let_go(this);
        process_message(let_go);
    }
    if (pressed_ != none)
    {
        invalidate_area();
    }
    pressed_ = none;
    phase_ = 0;
}

std::int32_t Spin::handle_mouse_click(MouseClick& message)
{
    if (message.buttons == 0)
    {
        cancel_interaction();
        return 1;
    }
    if (!is_enabled())
    {
        return 0;
    }
    cancel_interaction();
    const Point rel = message.pos - get_abs_position();
    auto hit = [&](unsigned bit)
    { return optional_.has(bit) && optional_.get(bit).is_inside(rel); };
    if (handle_drag_ && hit(pic_handle))
    {
        MouseCapture take(this, MouseMode::is_compatible() ? capture::visible : capture::relative);
        if (process_message(take) == 0)
        {
            capture_held_ = true;
            pressed_ = handle;
            first_move_ = true;
        }
        return 1;
    }
    const int part = hit(pic_up) ? up : hit(pic_down) ? down : none;
    if (part == none)
    {
        return 0;
    }
    MouseCapture take(this, capture::visible);
    if (process_message(take) != 0)
    {
        return 1;
    }
    capture_held_ = true;
    if (!start_timer(slow_period_))
    {
        cancel_interaction();
        return 1;
    }
    press_time_ = sys::get_time_s();
    pressed_ = part;
    invalidate_area();
    apply(part == up ? slow_step_ : -slow_step_);
    return 1;
}

std::int32_t Spin::handle_mouse_move(MouseMove& message)
{
    if (pressed_ != handle)
    {
        return 0;
    }
    int upward = -message.pos.y;
    if (MouseMode::is_compatible())
    {
        if (first_move_)
        {
            last_y_ = message.pos.y;
        }
        upward = last_y_ - message.pos.y;
        last_y_ = message.pos.y;
    }
    first_move_ = false;
    if (upward != 0)
    {
        apply(upward * per_pixel_);
    }
    return 1;
}

std::int32_t Spin::handle_notify(Notify& message)
{
    if (message.id != timer_id_ || timer_id_ == -1)
    {
        return 0;
    }
    const double elapsed = message.value - press_time_;
    const double sign = pressed_ == up ? 1.0 : -1.0;
    if (phase_ == 0)
    {
        if (elapsed < first_delay_ - 0.0005)
        {
            return 0;
        }
        phase_ = 1;
    }
    if (phase_ == 1)
    {
        if (elapsed < time_to_fast_ - 0.0005)
        {
            apply(sign * slow_step_);
            return 0;
        }
        // The fast timer's first tick, at once, takes the first fast step.
        phase_ = 2;
        stop_timer();
        if (!start_timer(fast_period_))
        {
            cancel_interaction();
        }
        return 0;
    }
    apply(sign * fast_step_);
    return 0;
}

std::int32_t Spin::handle_redraw(Redraw& message)
{
    const double x = get_abs_position().x;
    const double y = get_abs_position().y;
    const auto part_of = [](unsigned bit) {
        return bit == pic_up ? up : bit == pic_down ? down : handle;
    };
    for (const unsigned bit : {pic_up, pic_down, pic_handle})
    {
        const bool pressed = pressed_ == part_of(bit) && pressed_pictures_.has(bit);
        if (pressed || optional_.has(bit))
        {
            draw_layer(pressed ? pressed_pictures_.get(bit) : optional_.get(bit), message, x, y);
        }
    }
    draw_highlights(*this, message, x, y);
    return draw_picture(message);
}

} // namespace ravik
