#pragma once

#include "ravik/widget/OptionalPictures.hpp"
#include "ravik/widget/PotBehaviour.hpp"
#include "ravik/widget/PotInterface.hpp"

namespace ravik
{

// A linear control: a handle picture slides along a travel, vertical (0 at the bottom) or
// horizontal (0 at the left). A drag on the handle moves it; a press beside it makes the handle
// run to the click; a double click resets it. After a drag the cursor lands on the handle.
class Fader : public PotInterface
{
public:
    static constexpr unsigned pic_background = 2;
    static constexpr unsigned pic_active = 4;
    static constexpr unsigned pic_drag = 8;
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

    void set_handle(const Picture& picture) { handle_ = picture; }
    void set_drag_overlay(const Picture& p) { optional_.set(pic_drag, p); }
    void set_length(int pixels) { length_ = pixels; }
    void set_vertical(bool vertical) { vertical_ = vertical; }
    void set_horizontal_factor(float factor) { h_factor_ = factor; }
    void set_jump_speed(float speed) { jump_speed_ = speed; }
    // -1: the travel length.
    void set_drag_range(int pixels) { drag_range_ = pixels; }
    void set_no_jump(bool flag) { no_jump_ = flag; }

    const PotBehaviour& use_pot() const { return pot_; }
    // The handle's origin relative to the fader, at the current value.
    Point get_handle_position() const;

    void cancel_interaction() override;
    std::int32_t handle_mouse_click(MouseClick& message) override;
    std::int32_t handle_mouse_move(MouseMove& message) override;
    std::int32_t handle_mouse_capture_lost(MouseCaptureLost& message) override;
    std::int32_t handle_notify(Notify& message) override;
    std::int32_t handle_redraw(Redraw& message) override;

private:
    // Motion along the travel (towards 1) and across it.
    int along(const Point& p) const { return vertical_ ? -p.y : p.x; }
    int across(const Point& p) const { return vertical_ ? p.x : -p.y; }
    // Where the cursor goes to land on the handle.
    Point handle_centre() const;
    std::int32_t press(const MouseClick& message);
    std::int32_t release();

    OptionalPictures optional_;
    Picture handle_;
    int length_ = 200;
    bool vertical_ = true;
    float h_factor_ = 0.0f;
    float jump_speed_ = 1.0f;
    int drag_range_ = -1;
    bool no_jump_ = false;
    float opacity_ = 1.0f;
    PotBehaviour pot_{*this};
    Point click_point_;
    float jump_velocity_ = 0.0f;
    bool released_ = false;
    bool pressed_ = false;
};

} // namespace ravik
