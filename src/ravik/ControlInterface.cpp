#include "ravik/ControlInterface.hpp"

#include <algorithm>
#include <stdexcept>

#include "ravik/EventListenerInterface.hpp"
#include "ravik/GraphicMessages.hpp"
#include "ravik/MouseMessages.hpp"
#include "ravik/OutlineRect.hpp"
#include "ravik/SPTreeNodeInterface.hpp"
#include "ravik/TextMessages.hpp"
#include "ravik/TimerMessages.hpp"

namespace ravik
{

ControlInterface::ControlInterface(const Point& rel_pos, EventListenerInterface* listener,
                                   double value, const Rect& bounding_box)
    : BoundingBoxDefaultChecker(bounding_box)
    , value_(value)
    , rel_pos_(rel_pos)
{
    set_listener(listener);
}

bool ControlInterface::is_inside(const Point& p) const
{
    return is_inside_box(p - abs_pos_);
}

void ControlInterface::invalidate()
{
    invalidate_area();
}

void ControlInterface::set_position(const Point& rel_pos)
{
    rel_pos_ = rel_pos;
    if (const auto* group = dynamic_cast<SPTreeNodeInterface*>(parent_);
        group != nullptr && shown_ && group->is_placed())
    {
        abs_pos_ = group->get_position() + rel_pos;
    }
}

std::int32_t ControlInterface::pass_to_parent(MessageInterface& message)
{
    return parent_ != nullptr ? parent_->process_message(message) : -1;
}

std::int32_t ControlInterface::handle_invalidate(Invalidate& message)
{
    return pass_to_parent(message);
}

std::int32_t ControlInterface::handle_mouse_capture(MouseCapture& message)
{
    return pass_to_parent(message);
}

std::int32_t ControlInterface::handle_mouse_release(MouseRelease& message)
{
    return pass_to_parent(message);
}

std::int32_t ControlInterface::handle_set_timer(SetTimer& message)
{
    return pass_to_parent(message);
}

std::int32_t ControlInterface::handle_clear_timer(ClearTimer& message)
{
    return pass_to_parent(message);
}

std::int32_t ControlInterface::handle_mouse_direct_capture(MouseDirectCapture& message)
{
    return pass_to_parent(message);
}

std::int32_t ControlInterface::handle_mouse_direct_release(MouseDirectRelease& message)
{
    return pass_to_parent(message);
}

namespace
{

// Hands the message to handle when it is an M (a run-time type test); false otherwise.
template <class M, class F>
bool route(MessageInterface& message, std::int32_t& result, F&& handle)
{
    if (auto* m = dynamic_cast<M*>(&message))
    {
        result = handle(*m);
        return true;
    }
    return false;
}

} // namespace

std::int32_t ControlInterface::process_message(MessageInterface& message)
{
    NotificationGuard guard(*this);
    for (auto* l : listeners_)
    {
        l->before_message(message);
    }
    std::int32_t r = 0;
    // Drawing messages reach only shown controls.
    const auto if_shown = [this](auto&& handle)
    { return [this, handle](auto& m) { return shown_ ? handle(m) : 0; }; };
    const bool routed =
        route<Invalidate>(message, r, [this](auto& m) { return handle_invalidate(m); }) ||
        route<Redraw>(message, r, if_shown([this](auto& m) { return handle_redraw(m); })) ||
        route<RedrawBegin>(message, r,
                           if_shown([this](auto& m) { return handle_redraw_begin(m); })) ||
        route<RedrawEnd>(message, r, if_shown([this](auto& m) { return handle_redraw_end(m); })) ||
        route<MouseCapture>(message, r, [this](auto& m) { return handle_mouse_capture(m); }) ||
        route<MouseRelease>(message, r, [this](auto& m) { return handle_mouse_release(m); }) ||
        route<MouseCaptureLost>(message, r,
                                [this](auto& m) { return handle_mouse_capture_lost(m); }) ||
        route<MouseMove>(message, r, [this](auto& m) { return handle_mouse_move(m); }) ||
        route<MouseClick>(message, r,
                          [this](MouseClick& m)
                          {
                              if (m.buttons != 0 && enabled_)
                              {
                                  begin_gesture();
                              }
                              return handle_mouse_click(m);
                          }) ||
        route<SetTimer>(message, r, [this](auto& m) { return handle_set_timer(m); }) ||
        route<ClearTimer>(message, r, [this](auto& m) { return handle_clear_timer(m); }) ||
        route<Notify>(message, r, [this](auto& m) { return handle_notify(m); }) ||
        route<KeyPressed>(message, r, [this](auto& m) { return handle_key_pressed(m); }) ||
        route<TextInputFinished>(message, r,
                                 [this](auto& m) { return handle_text_input_finished(m); }) ||
        route<ShowObject>(message, r,
                          [this](ShowObject& m)
                          {
                              shown_ = m.shown;
                              const std::int32_t result = handle_show_object(m);
                              if (!shown_)
                              {
                                  cancel_interaction();
                                  end_gesture();
                              }
                              return result;
                          }) ||
        route<Disconnecting>(message, r, [this](auto& m) { return handle_disconnecting(m); }) ||
        route<MouseDirectCapture>(message, r,
                                  [this](auto& m) { return handle_mouse_direct_capture(m); }) ||
        route<MouseDirectRelease>(message, r,
                                  [this](auto& m) { return handle_mouse_direct_release(m); }) ||
        route<MouseDirectMove>(message, r,
                               [this](auto& m) { return handle_mouse_direct_move(m); }) ||
        route<MouseWheelMove>(message, r, [this](auto& m) { return handle_mouse_wheel_move(m); });
    if (!routed)
    {
        r = dynamic_cast<MessageUp*>(&message) != nullptr ? pass_to_parent(message) : -1;
    }
    for (auto* l : listeners_)
    {
        l->after_message(message);
    }
    return r;
}

void ControlInterface::invalidate_area()
{
    if (shown_)
    {
        Invalidate message(get_bounding_box().moved(abs_pos_));
        process_message(message);
    }
}

bool ControlInterface::set_value(double value, int origin)
{
    NotificationGuard guard(*this);
    for (auto* l : listeners_)
    {
        if (!l->accept(origin))
        {
            return false;
        }
    }
    for (auto* l : listeners_)
    {
        value = l->filter_user_value(value, origin);
    }
    for (auto* l : listeners_)
    {
        value = l->filter_value(value, origin);
    }
    value_ = value;
    if (redraw_on_change_)
    {
        invalidate();
    }
    return true;
}

void ControlInterface::force_value(double value, int origin)
{
    NotificationGuard guard(*this);
    for (auto* l : listeners_)
    {
        value = l->filter_set_value(value, origin);
    }
    for (auto* l : listeners_)
    {
        value = l->filter_value(value, origin);
    }
    value_ = value;
    invalidate();
}

void ControlInterface::enable()
{
    on_enabled_changed(true);
    enabled_ = true;
}

void ControlInterface::disable()
{
    on_enabled_changed(false);
    cancel_interaction();
    end_gesture();
    enabled_ = false;
}

void ControlInterface::set_mark(int index, bool flag)
{
    if (index < 0 || index >= nbr_marks)
    {
        throw std::out_of_range("ravik::ControlInterface::set_mark() : Index out of range.");
    }
    marks_[static_cast<std::size_t>(index)] = flag;
    on_mark_changed();
}

bool ControlInterface::get_mark(int index) const
{
    return index >= 0 && index < nbr_marks && marks_[static_cast<std::size_t>(index)];
}

void ControlInterface::begin_gesture()
{
    NotificationGuard guard(*this);
    active_ = true;
    for (auto* l : listeners_)
    {
        l->begin_gesture();
    }
    on_active_changed(true);
}

void ControlInterface::end_gesture()
{
    if (!active_)
    {
        return;
    }
    NotificationGuard guard(*this);
    active_ = false;
    for (auto* l : listeners_)
    {
        l->end_gesture();
    }
    on_active_changed(false);
}

void ControlInterface::trigger(int origin)
{
    NotificationGuard guard(*this);
    for (auto* l : listeners_)
    {
        if (!l->accept(origin))
        {
            return;
        }
    }
    for (auto* l : listeners_)
    {
        l->trigger(origin);
    }
}

void ControlInterface::signal(int origin)
{
    NotificationGuard guard(*this);
    for (auto* l : listeners_)
    {
        l->signal(origin);
    }
}

void ControlInterface::notify_listeners(int code, void* data)
{
    NotificationGuard guard(*this);
    for (auto* l : listeners_)
    {
        l->notify(code, data);
    }
}

void ControlInterface::set_listener(EventListenerInterface* listener)
{
    if (in_notification_)
    {
        throw std::runtime_error("ravik::ControlInterface::set_listener() : Recursive call.");
    }
    listeners_.clear();
    if (listener != nullptr)
    {
        listeners_.push_back(listener);
        listener->set_control(this);
    }
}

void ControlInterface::push_back_listener(EventListenerInterface* listener)
{
    if (in_notification_)
    {
        throw std::runtime_error("ravik::ControlInterface::push_back_listener() : Recursive call.");
    }
    if (listener != nullptr)
    {
        listeners_.push_back(listener);
        listener->set_control(this);
    }
}

void ControlInterface::remove_listener(EventListenerInterface* listener)
{
    if (in_notification_)
    {
        throw std::runtime_error("ravik::ControlInterface::remove_listener() : Recursive call.");
    }
    std::erase(listeners_, listener);
}

EventListenerInterface* ControlInterface::get_listener(int index) const
{
    return listeners_.at(static_cast<std::size_t>(index));
}

void ControlInterface::set_nbr_pictures(int n)
{
    pictures_.assign(static_cast<std::size_t>(std::max(n, 0)), PictureSlot{});
    if (picture_index_ >= n)
    {
        picture_index_ = -1;
    }
}

void ControlInterface::set_picture(int index, const Picture& picture)
{
    PictureSlot& slot = pictures_.at(static_cast<std::size_t>(index));
    slot.picture = picture;
    slot.unset = false;
}

const Picture* ControlInterface::get_picture(int index) const
{
    if (index < 0 || index >= get_nbr_pictures() ||
        pictures_[static_cast<std::size_t>(index)].unset)
    {
        return nullptr;
    }
    return &pictures_[static_cast<std::size_t>(index)].picture;
}

void ControlInterface::select_picture(int index)
{
    picture_index_ = index;
    invalidate_area();
}

int ControlInterface::draw_picture(Redraw& redraw, int dx, int dy) const
{
    const Picture* picture = pictures_on_ ? get_picture(picture_index_) : nullptr;
    if (picture != nullptr)
    {
        const Point origin = abs_pos_ + picture_offset_ + Point{dx, dy};
        picture->draw(redraw.area.moved({-origin.x, -origin.y}), redraw.buffer);
    }
    return 0;
}

void ControlInterface::toggle_outline(Redraw& redraw)
{
    outline_ = !outline_;
    // Buffer byte order: blue, green, red, fourth byte.
    const OutlineRect frame(outline_ ? 0xFFFF0000u : 0xFF00FF00u);
    const Point origin = abs_pos_ - Point{redraw.area.x1, redraw.area.y1};
    frame.draw(redraw.buffer, get_bounding_box().moved(origin));
}

} // namespace ravik
