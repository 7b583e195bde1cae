#pragma once

#include "ravik/widget/OptionalPictures.hpp"
#include "ravik/widget/PotBehaviour.hpp"
#include "ravik/widget/PotInterface.hpp"

namespace ravik
{

// A rotary control drawn from a sequence of frames (turned smoothly between them on request)
// with optional background, pointer dots and overlays. A drag on its body turns it; a press on
// its lower left or right corner spins it towards that end, faster as the mouse moves sideways;
// a double click resets it. Editor thread.
class Knob : public PotInterface
{
public:
    // Present bits of the optional pictures.
    static constexpr unsigned pic_dot_a = 1;
    static constexpr unsigned pic_background = 2;
    static constexpr unsigned pic_active = 4;
    static constexpr unsigned pic_drag = 8;
    static constexpr unsigned pic_dot_b = 16;
    static constexpr unsigned pic_top = 32;

    using PotInterface::PotInterface;

    void set_background(const Picture& p) override { optional_.set(pic_background, p); }
    void clear_background() override { optional_.clear(pic_background); }
    void set_top_overlay(const Picture& p) override { optional_.set(pic_top, p); }
    void clear_top_overlay() override { optional_.clear(pic_top); }
    void set_active_overlay(const Picture& p) override { optional_.set(pic_active, p); }
    void clear_active_overlay() override { optional_.clear(pic_active); }
    void set_snap_list(const std::vector<double>* list) override { pot_.set_snap_list(list); }
    void clear_snap_list() override { pot_.clear_snap_list(); }
    void set_speed(double hertz) override { pot_.set_speed(hertz); }
    void set_opacity(float opacity) override;

    void set_nbr_frames(int n);
    void set_frame(int index, const Picture& picture);
    void set_pointer_dots(const Picture& a, const Picture& b);
    void set_drag_overlay(const Picture& p) { optional_.set(pic_drag, p); }
    // Turns: the pointer is at angle_offset + angle_span x value.
    void set_angle(float offset, float span);
    void set_frame_phase(float start, float period);
    void set_pointer_radius(float radius) { pointer_radius_ = radius; }
    void set_pointer_dot_offset(float x, float y);
    void set_drag_range(int pixels) { drag_range_ = pixels; }
    void set_horizontal_factor(float factor) { h_factor_ = factor; }
    void set_corner_spin_speed(float speed) { corner_speed_ = speed; }
    void set_draw_pointer_dots(bool flag) { draw_dots_ = flag; }
    void set_rotate_frames(bool flag) { rotate_frames_ = flag; }

    const PotBehaviour& use_pot() const { return pot_; }
    // The frame the knob shows at its value, and the turn left to apply to it (radians).
    int get_frame_index(double* remainder = nullptr) const;

    void cancel_interaction() override;
    std::int32_t handle_mouse_click(MouseClick& message) override;
    std::int32_t handle_mouse_move(MouseMove& message) override;
    std::int32_t handle_mouse_capture_lost(MouseCaptureLost& message) override;
    std::int32_t handle_notify(Notify& message) override;
    std::int32_t handle_redraw(Redraw& message) override;

private:
    std::int32_t press(const MouseClick& message);
    std::int32_t release();
    double pointer_turns() const;

    OptionalPictures optional_;
    std::vector<Picture> frames_;
    std::vector<bool> frame_set_;
    float phase_start_ = 0.0f;
    float phase_period_ = 1.0f;
    float h_factor_ = 0.0f;
    float angle_offset_ = 0.625f;
    float angle_span_ = -0.75f;
    float pointer_radius_ = 0.0f;
    float corner_speed_ = 1.0f;
    float dot_offset_x_ = 0.0f;
    float dot_offset_y_ = 0.0f;
    int drag_range_ = 200;
    bool draw_dots_ = false;
    bool rotate_frames_ = false;
    float opacity_ = 1.0f;
    PotBehaviour pot_{*this};
    Point click_point_;
    float spin_velocity_ = 0.0f;
    bool released_ = false;
    bool pressed_ = false;
};

} // namespace ravik
