#pragma once

#include <vector>

#include "ravik/ControlInterface.hpp"
#include "ravik/widget/HighlightMixin.hpp"
#include "ravik/widget/OptionalPictures.hpp"

namespace ravik
{

// What FlipFlop and PushButton share: a sequence of state pictures of which the drawing shows
// one, chosen by a shown position from 0 to 1 that a fade timer moves.
class StateButton : public ControlInterface
{
public:
    static constexpr float tick_period = 0.03f;

    using ControlInterface::ControlInterface;

    void set_nbr_states(int n);
    void set_state_picture(int index, const Picture& picture);
    void set_extra_picture(unsigned bit, const Picture& picture) { optional_.set(bit, picture); }
    void set_fade_time(double seconds) { fade_time_ = seconds; }
    double get_shown_position() const { return shown_; }
    bool is_fading() const { return timer_id_ != -1; }

    void cancel_interaction() override;

protected:
    // The state picture for position p: pictures are stepped through, never mixed.
    const Picture* state_picture(double p) const;
    // 0 when the timer runs.
    bool start_fade();
    bool is_my_tick(const Notify& message) const;

    OptionalPictures optional_;
    std::vector<Picture> states_;
    double fade_time_ = 0.0;
    double press_time_ = 0.0;
    double shown_ = 0.0;
    int timer_id_ = -1;
};

// A two-state switch: a press flips it, showing the change at once or fading over the fade time.
class FlipFlop : public StateButton, public HighlightMixin
{
public:
    static constexpr unsigned pic_under = 1;
    static constexpr unsigned pic_over = 2;
    static constexpr unsigned pic_top = 4;

    FlipFlop();
    FlipFlop(const Point& pos, EventListenerInterface* listener, double value, const Rect& box);

    void set_opacity(float opacity, float over_factor = 1.0f);

    std::int32_t handle_mouse_click(MouseClick& message) override;
    std::int32_t handle_notify(Notify& message) override;
    std::int32_t handle_redraw(Redraw& message) override;

private:
    float opacity_ = 1.0f;
    float over_factor_ = 1.0f;
};

// A momentary button: a press tells the listeners (notify 0) and animates up to its last state
// picture and back over the fade time.
class PushButton : public StateButton
{
public:
    static constexpr unsigned pic_under = 1;
    static constexpr unsigned pic_over = 2;
    static constexpr unsigned pic_pressed = 4;

    PushButton();
    PushButton(const Point& pos, EventListenerInterface* listener, double value, const Rect& box);

    void set_disabled_opacity(float opacity) { disabled_opacity_ = opacity; }

    void cancel_interaction() override;
    std::int32_t handle_mouse_click(MouseClick& message) override;
    std::int32_t handle_notify(Notify& message) override;
    std::int32_t handle_redraw(Redraw& message) override;

private:
    float disabled_opacity_ = 0.5f;
};

} // namespace ravik
