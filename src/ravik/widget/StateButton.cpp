#include "ravik/widget/StateButton.hpp"

#include <algorithm>
#include <cmath>

#include "ravik/GraphicMessages.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/TimerMessages.hpp"
#include "ravik/widget/Layers.hpp"
#include "sys/Clock.hpp"

namespace ravik
{

void StateButton::set_nbr_states(int n)
{
    states_.assign(static_cast<std::size_t>(std::max(n, 0)), Picture());
}

void StateButton::set_state_picture(int index, const Picture& picture)
{
    states_.at(static_cast<std::size_t>(index)) = picture;
}

const Picture* StateButton::state_picture(double p) const
{
    if (states_.empty())
    {
        return nullptr;
    }
    const int n = static_cast<int>(states_.size());
    const int index = std::clamp(static_cast<int>(std::floor((n - 1) * p + 0.5)), 0, n - 1);
    return &states_[static_cast<std::size_t>(index)];
}

bool StateButton::start_fade()
{
    press_time_ = sys::get_time_s();
    int id = -1;
    SetTimer timer(this, tick_period, id);
    if (process_message(timer) != 0)
    {
        return false;
    }
    timer_id_ = id;
    return true;
}

bool StateButton::is_my_tick(const Notify& message) const
{
    return timer_id_ != -1 && message.id == timer_id_;
}

void StateButton::cancel_interaction()
{
    if (timer_id_ != -1)
    {
        ClearTimer clear(timer_id_);
        timer_id_ = -1;
        process_message(clear);
    }
}

FlipFlop::FlipFlop()
{
    fade_time_ = 0.0;
    set_nbr_states(2);
}

FlipFlop::FlipFlop(const Point& pos, EventListenerInterface* listener, double value,
                   const Rect& box)
    : StateButton(pos, listener, value, box)
{
    fade_time_ = 0.0;
    set_nbr_states(2);
}

void FlipFlop::set_opacity(float opacity, float over_factor)
{
    opacity_ = opacity;
    over_factor_ = over_factor;
    invalidate_area();
}

std::int32_t FlipFlop::handle_mouse_click(MouseClick& message)
{
    if (message.buttons == 0 || !is_enabled())
    {
        return 0;
    }
    cancel_interaction();
    const double rounded = std::floor(get_value() + 0.5);
    set_value(1.0 - rounded, 200);
    if (fade_time_ < 1e-9 || !start_fade())
    {
        shown_ = std::clamp(get_value(), 0.0, 1.0);
        invalidate_area();
    }
    return 1;
}

std::int32_t FlipFlop::handle_notify(Notify& message)
{
    if (!is_my_tick(message))
    {
        return 0;
    }
    const double e = message.value - press_time_;
    if (e < fade_time_)
    {
        shown_ = get_value() >= 0.5 ? e / fade_time_ : 1.0 - e / fade_time_;
    }
    else
    {
        shown_ = std::clamp(get_value(), 0.0, 1.0);
        cancel_interaction();
    }
    invalidate_area();
    return 0;
}

std::int32_t FlipFlop::handle_redraw(Redraw& message)
{
    const double x = get_abs_position().x;
    const double y = get_abs_position().y;
    if (optional_.has(pic_under))
    {
        draw_layer(optional_.get(pic_under), message, x, y, opacity_);
    }
    const double p = is_fading() ? shown_ : std::floor(get_value() + 0.5);
    if (const Picture* state = state_picture(p))
    {
        draw_layer(*state, message, x, y, opacity_);
    }
    if (optional_.has(pic_over))
    {
        draw_layer(optional_.get(pic_over), message, x, y, opacity_ * over_factor_);
    }
    draw_highlights(*this, message, x, y);
    if (optional_.has(pic_top))
    {
        draw_layer(optional_.get(pic_top), message, x, y, opacity_);
    }
    return draw_picture(message);
}

PushButton::PushButton()
{
    fade_time_ = 0.1;
    set_nbr_states(2);
}

PushButton::PushButton(const Point& pos, EventListenerInterface* listener, double value,
                       const Rect& box)
    : StateButton(pos, listener, value, box)
{
    fade_time_ = 0.1;
    set_nbr_states(2);
}

void PushButton::cancel_interaction()
{
    StateButton::cancel_interaction();
    // A press cut short (the editor closing during the fade) would otherwise leave the button
    // lit for good: no tick comes to bring it back.
    if (shown_ != 0.0)
    {
        shown_ = 0.0;
        invalidate_area();
    }
}

std::int32_t PushButton::handle_mouse_click(MouseClick& message)
{
    if (message.buttons == 0 || !is_enabled())
    {
        return 0;
    }
    cancel_interaction();
    if (fade_time_ >= 1e-9)
    {
        start_fade();
    }
    notify_listeners(0, &message);
    return 1;
}

std::int32_t PushButton::handle_notify(Notify& message)
{
    if (!is_my_tick(message))
    {
        return 0;
    }
    const double e = message.value - press_time_;
    const double t = fade_time_;
    const int n = static_cast<int>(states_.size());
    if (e >= t)
    {
        shown_ = 0.0;
        cancel_interaction();
    }
    else if (n < 2)
    {
        shown_ = 1.0;
    }
    else
    {
        const double k = (n - 1.5) / (n - 1);
        shown_ = e <= t / 2.0 ? (2.0 * e / t) * k + (1.0 - k) : (1.0 - e / t) * 2.0 * k;
    }
    invalidate_area();
    return 0;
}

std::int32_t PushButton::handle_redraw(Redraw& message)
{
    const double x = get_abs_position().x;
    const double y = get_abs_position().y;
    const float opacity = is_enabled() ? 1.0f : disabled_opacity_;
    if (optional_.has(pic_under))
    {
        draw_layer(optional_.get(pic_under), message, x, y);
    }
    if (const Picture* state = state_picture(shown_))
    {
        draw_layer(*state, message, x, y, opacity);
    }
    if (optional_.has(pic_over))
    {
        draw_layer(optional_.get(pic_over), message, x, y);
    }
    // The pressed picture while the press animates.
    if (optional_.has(pic_pressed) && is_fading())
    {
        draw_layer(optional_.get(pic_pressed), message, x, y);
    }
    return draw_picture(message);
}

} // namespace ravik
