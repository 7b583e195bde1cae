#pragma once

#include <vector>

#include "ravik/ControlInterface.hpp"
#include "ravik/widget/HighlightMixin.hpp"
#include "ravik/widget/OptionalPictures.hpp"

namespace ravik
{

// Steps a value with two arrows: one step at the press, then, while held, slow repeats after a
// delay and fast repeats later; or slides it by dragging its handle. With a value list the steps
// go from entry to entry. Wheel and keys do nothing.
class Spin : public ControlInterface, public HighlightMixin
{
public:
    static constexpr unsigned pic_up = 4;
    static constexpr unsigned pic_down = 32;
    static constexpr unsigned pic_handle = 64;
    enum Part
    {
        none = 0,
        up = 1,
        down = 2,
        handle = 4,
    };

    using ControlInterface::ControlInterface;

    // The arrow and handle pictures, placed by their origins at the spin's position, and the
    // pictures shown while they are pressed.
    void set_part_picture(unsigned bit, const Picture& picture) { optional_.set(bit, picture); }
    void set_part_picture(unsigned bit, const Picture& picture, const Picture& pressed)
    {
        optional_.set(bit, picture);
        pressed_pictures_.set(bit, pressed);
    }
    void set_handle_drag(bool flag) { handle_drag_ = flag; }
    // Not owned; sorted.
    void set_value_list(const std::vector<double>* list) { list_ = list; }
    void set_repeat(double first_delay, double time_to_fast, float slow_period, float fast_period);
    void set_steps(double slow, double fast, double per_pixel);

    int get_pressed_part() const { return pressed_; }
    int get_phase() const { return phase_; }

    void cancel_interaction() override;
    std::int32_t handle_mouse_click(MouseClick& message) override;
    std::int32_t handle_mouse_move(MouseMove& message) override;
    std::int32_t handle_notify(Notify& message) override;
    std::int32_t handle_redraw(Redraw& message) override;

private:
    // The value moved by step, or by that share of the list's entries.
    double stepped(double step) const;
    void apply(double step);
    bool start_timer(float period);
    void stop_timer();

    OptionalPictures optional_;
    OptionalPictures pressed_pictures_;
    int pressed_ = none;
    int phase_ = 0;
    double first_delay_ = 0.5;
    double time_to_fast_ = 2.0;
    float slow_period_ = 0.1f;
    float fast_period_ = 0.03f;
    double per_pixel_ = 1.0 / 180.0;
    double slow_step_ = 0.001;
    double fast_step_ = 0.005;
    double press_time_ = 0.0;
    int timer_id_ = -1;
    bool handle_drag_ = false;
    bool capture_held_ = false;
    bool first_move_ = true;
    int last_y_ = 0;
    const std::vector<double>* list_ = nullptr;
};

} // namespace ravik
