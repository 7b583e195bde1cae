#include "ravik/ControlInterface.hpp"

#include <algorithm>
#include <stdexcept>

#include "ravik/EventListenerInterface.hpp"
#include "ravik/MessageInterface.hpp"

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

} // namespace ravik
