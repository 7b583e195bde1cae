#pragma once

#include "ravik/Geometry.hpp"
#include "ravik/MessageHandlerInterface.hpp"

namespace ravik
{

// A node of the window's two trees (the background pictures and the control groups). Up messages
// go to the parent; down messages go through process_down, after a ShowObject has set the shown
// flag. Parents are not owned.
class SPTreeNodeInterface : public MessageHandlerInterface
{
public:
    // The area of a node that nobody sized: about the whole coordinate range.
    static constexpr Rect unbounded{-536870912, -536870912, 536870911, 536870911};

    std::int32_t process_message(MessageInterface& message) override;
    // Places the node; nodes with children place them too.
    virtual void set_position(const Point& pos) { pos_ = pos; }
    virtual void on_placed() {}
    virtual std::int32_t process_down(MessageInterface& /*message*/) { return 0; }

    const Point& get_position() const { return pos_; }
    bool is_placed() const { return !(pos_ == not_placed); }
    MessageHandlerInterface* get_parent() const { return parent_; }
    void set_parent(MessageHandlerInterface* parent) { parent_ = parent; }
    bool is_shown() const { return shown_; }
    const Rect& get_area() const { return area_; }
    void set_area(const Rect& area) { area_ = area; }

protected:
    Point pos_ = not_placed;
    MessageHandlerInterface* parent_ = nullptr;
    bool shown_ = false;
    Rect area_ = unbounded;
};

} // namespace ravik
