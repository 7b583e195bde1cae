#include "ravik/CtrlGroupNodes.hpp"

#include <algorithm>

#include "ravik/ControlInterface.hpp"
#include "ravik/MessageInterface.hpp"

namespace ravik
{

int CtrlGroupItem::add_control(ControlInterface& control)
{
    control.set_parent(this);
    controls_.push_back(&control);
    controls_changed_ = true;
    if (is_placed())
    {
        control.set_abs_position(pos_ + control.get_position());
    }
    ShowObject show(shown_);
    control.process_message(show);
    return get_nbr_controls();
}

int CtrlGroupItem::add_child(CtrlGroupNodeInterface& child)
{
    child.set_parent(this);
    children_.push_back(&child);
    children_changed_ = true;
    if (is_placed())
    {
        child.set_position(pos_);
    }
    ShowObject show(shown_);
    child.process_message(show);
    return get_nbr_children();
}

int CtrlGroupItem::remove_control(ControlInterface& control)
{
    const auto it = std::find(controls_.begin(), controls_.end(), &control);
    if (it == controls_.end())
    {
        return -1;
    }
    return remove_control(static_cast<int>(it - controls_.begin()));
}

int CtrlGroupItem::remove_control(int index)
{
    if (index < 0 || index >= get_nbr_controls())
    {
        return -1;
    }
    ControlInterface& control = *controls_[static_cast<std::size_t>(index)];
    ShowObject hide(false);
    control.process_message(hide);
    control.set_parent(nullptr);
    controls_.erase(controls_.begin() + index);
    controls_changed_ = true;
    return 0;
}

int CtrlGroupItem::remove_child(CtrlGroupNodeInterface& child)
{
    const auto it = std::find(children_.begin(), children_.end(), &child);
    if (it == children_.end())
    {
        return -1;
    }
    ShowObject hide(false);
    child.process_message(hide);
    child.set_parent(nullptr);
    children_.erase(it);
    children_changed_ = true;
    if (is_placed())
    {
        set_position(pos_);
    }
    return 0;
}

void CtrlGroupItem::invalidate_all()
{
    if (!shown_)
    {
        return;
    }
    controls_changed_ = false;
    for (std::size_t i = 0; i < controls_.size() && !controls_changed_; ++i)
    {
        controls_[i]->invalidate();
    }
    children_changed_ = false;
    for (std::size_t i = 0; i < children_.size() && !children_changed_; ++i)
    {
        if (auto* item = dynamic_cast<CtrlGroupItem*>(children_[i]))
        {
            item->invalidate_all();
        }
    }
}

void CtrlGroupItem::set_position(const Point& pos)
{
    pos_ = pos;
    for (CtrlGroupNodeInterface* child : children_)
    {
        child->set_position(pos);
    }
    for (ControlInterface* control : controls_)
    {
        control->set_abs_position(pos + control->get_position());
    }
}

bool CtrlGroupItem::concerns(const ControlInterface& control, const Rect& area) const
{
    if (area.x1 == area.x2 && area.y1 == area.y2)
    {
        return control.is_inside({area.x1, area.y1});
    }
    const Rect box = control.get_bounding_box().moved(control.get_abs_position());
    return box.x2 > area.x1 && box.x1 < area.x2 && box.y2 > area.y1 && box.y1 < area.y2;
}

std::int32_t CtrlGroupItem::send_to_controls(MessageInterface& message, const Rect& area,
                                             bool topmost_first)
{
    controls_changed_ = false;
    const std::size_t n = controls_.size();
    for (std::size_t k = 0; k < n && !controls_changed_; ++k)
    {
        ControlInterface& control = *controls_[topmost_first ? n - 1 - k : k];
        if (concerns(control, area))
        {
            if (const std::int32_t result = control.process_message(message); result != 0)
            {
                return result;
            }
        }
    }
    return 0;
}

std::int32_t CtrlGroupItem::send_to_children(MessageInterface& message, bool last_first)
{
    children_changed_ = false;
    const std::size_t n = children_.size();
    for (std::size_t k = 0; k < n && !children_changed_; ++k)
    {
        if (const std::int32_t result =
                children_[last_first ? n - 1 - k : k]->process_message(message);
            result != 0)
        {
            return result;
        }
    }
    return 0;
}

std::int32_t CtrlGroupItem::process_down(MessageInterface& message)
{
    const auto* down = dynamic_cast<MessageDown*>(&message);
    if (down == nullptr)
    {
        return 0;
    }
    if (dynamic_cast<MouseMessage*>(&message) != nullptr)
    {
        if (const std::int32_t result = send_to_controls(message, down->area, true); result != 0)
        {
            return result;
        }
        return send_to_children(message, true);
    }
    if (const std::int32_t result = send_to_children(message, false); result != 0)
    {
        return result;
    }
    return send_to_controls(message, down->area, false);
}

} // namespace ravik
